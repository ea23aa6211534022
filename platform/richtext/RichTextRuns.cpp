#include "platform/richtext/RichTextRuns.h"

#include "platform/richtext/RichXml.h"
#include "platform/sys/TextTrim.h"
#include "platform/sys/Utf8Text.h"

#include <pugixml.hpp>

#include <cstring>

namespace lf
{

struct RichTextRuns::SParser
{
    pugi::xml_document doc;
    // The stored text is parsed in place in this copy, which keeps its capacity from text to text.
    std::string buffer;
    // A run that was not valid UTF-8, mended the way the document reader mends it.
    std::string mended;
};

namespace
{

using Sink = std::function<void(std::string_view)>;

// The walk below visits exactly the runs the document reader (RichXml.cpp) turns into text items, in
// the same order; whatever that reader makes of the rest (styles, pictures, cell settings, line breaks)
// carries no words.
class CRunWalker
{
public:
    CRunWalker(std::string& mended, const Sink& sink) : m_Mended(mended), m_Sink(sink) {}

    void Content(const pugi::xml_node& parent, int depth)
    {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        {
            const pugi::xml_node_type type = child.type();
            if (type == pugi::node_element)
                Item(child, depth);
            else if ((type == pugi::node_pcdata || type == pugi::node_cdata) &&
                     !lf::sys::TrimView(child.value()).empty())
                Run(child.value());
        }
    }

private:
    void Item(const pugi::xml_node& node, int depth)
    {
        const char* name = node.name();
        if (std::strcmp(name, "text") == 0)
        {
            for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
                if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
                    Run(child.value());
            return;
        }
        if (std::strcmp(name, "picture") == 0 || std::strcmp(name, "hotpicture") == 0 ||
            std::strcmp(name, "hotspot") == 0)
            return;
        if (std::strcmp(name, "table") == 0)
        {
            if (depth >= kRichXmlMaxNesting)
                return;
            // A table too large to build keeps the words of its cells as paragraphs, in the same order.
            for (pugi::xml_node row = node.child("row"); row; row = row.next_sibling("row"))
                for (pugi::xml_node cell = row.child("cell"); cell; cell = cell.next_sibling("cell"))
                    Content(cell, depth + 1);
            return;
        }
        if (depth < kRichXmlMaxNesting)
            Content(node, depth + 1);
    }

    void Run(const char* value)
    {
        const std::string_view text(value);
        if (text.empty())
            return;
        if (lf::sys::IsValidUtf8(text))
        {
            m_Sink(text);
            return;
        }
        m_Mended.assign(text);
        lf::sys::MakeValidUtf8(m_Mended);
        m_Sink(m_Mended);
    }

    std::string& m_Mended;
    const Sink& m_Sink;
};

} // namespace

RichTextRuns::RichTextRuns() : m_Parser(std::make_unique<SParser>()) {}

RichTextRuns::~RichTextRuns() = default;

bool RichTextRuns::ForEachRun(std::string_view stored, const Sink& sink)
{
    // Only a text that can hold an element can be in the XML form.
    if (stored.find('<') == std::string_view::npos)
        return false;
    SParser& parser = *m_Parser;
    parser.buffer.assign(stored);
    if (!parser.doc.load_buffer_inplace(parser.buffer.data(), parser.buffer.size(), kRichXmlReadOptions,
                                        pugi::encoding_utf8))
        return false;
    pugi::xml_node root;
    for (pugi::xml_node n = parser.doc.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && std::strcmp(n.name(), kRichXmlRoot) == 0)
        {
            root = n;
            break;
        }
    if (!root)
        return false;
    if (const pugi::xml_node document = root.child("document"))
        CRunWalker(parser.mended, sink).Content(document, 0);
    return true;
}

} // namespace lf
