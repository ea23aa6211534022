// The tree of a plain HTML page without the HTML library: for pages in the narrow shape that the
// program's own HTML export and the quiz files give (a head with a title; paragraphs, spans, the inline
// formatting tags and line breaks, properly nested; quoted attributes; the common entities). For these
// the tree is the one the library builds, node for node, at a small part of the cost; any other page is
// refused and goes to the library.
#pragma once

#include <gumbo.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lf
{

class SimpleHtmlTree
{
public:
    // The html element of the page, or nullptr when the page is not of the shape. The tree lives as long
    // as this object and the next Parse.
    const GumboNode* Parse(std::string_view page);

private:
    struct SNode
    {
        GumboNode node;
    };
    struct SAttribute
    {
        GumboAttribute attribute;
    };

    SNode& NewNode(GumboNodeType type);
    SNode& NewElement(GumboTag tag);
    void Append(SNode& parent, SNode& child);
    // The text kept for the tree, ended by a NUL.
    const char* Keep(std::string_view text);
    void FlushText(SNode& parent);
    bool ReadText(std::string_view page, std::size_t& at);
    bool ReadStartTag(std::string_view page, std::size_t& at, std::vector<SNode*>& open);
    bool ReadEndTag(std::string_view page, std::size_t& at, std::vector<SNode*>& open);
    // Lays the children lists out once the page is read.
    void LinkChildren();

    // Reserved up front for the most the page can hold, so that nothing moves while the tree is built.
    std::vector<SNode> m_nodes;
    std::vector<SAttribute> m_attributes;
    std::vector<void*> m_attributeList;               // the attributes of each element one after another
    std::vector<std::pair<SNode*, SNode*>> m_appends; // parent and child, in the order of appending
    std::vector<void*> m_childList;                   // the children of each element one after another
    std::string m_chars;                              // every text, name and value, each ended by a NUL
    bool m_full = false;     // m_chars had no room left (never for a page of the shape)
    std::string m_text;      // text read since the last tag
    bool m_textBlank = true; // the text is whitespace only
};

} // namespace lf
