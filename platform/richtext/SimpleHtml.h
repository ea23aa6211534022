// The tree of a plain HTML page without the HTML library: for pages in the narrow shape that the
// program's own HTML export and the quiz files give (a head with a title; paragraphs, spans, the inline
// formatting tags and line breaks, properly nested; quoted attributes; the common entities). For these
// the tree is the one the library builds, node for node, at a small part of the cost; any other page is
// refused and goes to the library.
#pragma once

#include <gumbo.h>

#include <string>
#include <string_view>
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
    // A node with the lists its children and attributes point into, and its text.
    struct SNode
    {
        GumboNode node;
        std::vector<void*> children;
        std::vector<void*> attributes;
        std::string text;
    };
    struct SAttribute
    {
        GumboAttribute attribute;
        std::string name;
        std::string value;
    };

    SNode& NewNode(GumboNodeType type);
    SNode& NewElement(GumboTag tag);
    static void Append(SNode& parent, SNode& child);
    void FlushText(SNode& parent);
    bool ReadText(std::string_view page, std::size_t& at);
    bool ReadStartTag(std::string_view page, std::size_t& at, std::vector<SNode*>& open);
    bool ReadEndTag(std::string_view page, std::size_t& at, std::vector<SNode*>& open);

    // Reserved up front for the most the page can hold, so that nodes never move.
    std::vector<SNode> m_nodes;
    std::vector<SAttribute> m_attributes;
    std::string m_text;      // text read since the last tag
    bool m_textBlank = true; // the text is whitespace only
};

} // namespace lf
