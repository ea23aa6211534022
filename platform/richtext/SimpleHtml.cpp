#include "platform/richtext/SimpleHtml.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lf
{

namespace
{

constexpr std::size_t kMaxOpen = 32; // deeper pages go to the library

// The tags taken; br is the only one without content.
struct STagName
{
    std::string_view name;
    GumboTag tag;
};

constexpr std::array<STagName, 11> kTags{{
    {"p", GUMBO_TAG_P},
    {"span", GUMBO_TAG_SPAN},
    {"b", GUMBO_TAG_B},
    {"i", GUMBO_TAG_I},
    {"u", GUMBO_TAG_U},
    {"strong", GUMBO_TAG_STRONG},
    {"em", GUMBO_TAG_EM},
    {"sub", GUMBO_TAG_SUB},
    {"sup", GUMBO_TAG_SUP},
    {"br", GUMBO_TAG_BR},
    {"font", GUMBO_TAG_FONT},
}};

struct SEntity
{
    std::string_view name; // with the closing ";"
    std::string_view text;
};

constexpr std::array<SEntity, 5> kEntities{{
    {"amp;", "&"},
    {"lt;", "<"},
    {"gt;", ">"},
    {"quot;", "\""},
    {"nbsp;", "\xC2\xA0"},
}};

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n';
}

// The length of a character that may stand as it is in text or an attribute value: printable ASCII,
// tab, line feed, or a well-formed UTF-8 sequence of a character the library keeps without remark (no
// control character, no noncharacter). 0 for anything else, which the library handles in ways of its
// own.
std::size_t PlainCharacter(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return (lead >= 0x20 && lead < 0x7F) || lead == '\t' || lead == '\n' ? 1 : 0;
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
        cp = lead & 0x1Fu;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        cp = lead & 0x0Fu;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        cp = lead & 0x07u;
    }
    else
        return 0;
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
    {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3Fu);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    if (cp < 0xA0 || (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE)
        return 0;
    return length;
}

// Reads an entity after "&" into out; false for any other than the common ones.
bool ReadEntity(std::string_view page, std::size_t& at, std::string& out)
{
    for (const SEntity& entity : kEntities)
        if (page.substr(at, entity.name.size()) == entity.name)
        {
            out += entity.text;
            at += entity.name.size();
            return true;
        }
    return false;
}

bool Take(std::string_view page, std::size_t& at, std::string_view expected)
{
    if (page.substr(at, expected.size()) != expected)
        return false;
    at += expected.size();
    return true;
}

} // namespace

SimpleHtmlTree::SNode& SimpleHtmlTree::NewNode(GumboNodeType type)
{
    SNode& node = m_nodes.emplace_back();
    std::memset(&node.node, 0, sizeof node.node);
    node.node.type = type;
    return node;
}

SimpleHtmlTree::SNode& SimpleHtmlTree::NewElement(GumboTag tag)
{
    SNode& node = NewNode(GUMBO_NODE_ELEMENT);
    node.node.v.element.tag = tag;
    node.node.v.element.tag_namespace = GUMBO_NAMESPACE_HTML;
    return node;
}

void SimpleHtmlTree::Append(SNode& parent, SNode& child)
{
    m_appends.emplace_back(&parent, &child);
    ++parent.node.v.element.children.length;
}

const char* SimpleHtmlTree::Keep(std::string_view text)
{
    if (m_chars.size() + text.size() + 1 > m_chars.capacity())
    {
        m_full = true;
        return "";
    }
    const std::size_t at = m_chars.size();
    m_chars.append(text);
    m_chars += '\0';
    return m_chars.data() + at;
}

void SimpleHtmlTree::LinkChildren()
{
    // Each element's list starts where the lists of the elements before it end.
    std::size_t next = 0;
    for (SNode& node : m_nodes)
        if (node.node.type == GUMBO_NODE_ELEMENT)
        {
            GumboVector& children = node.node.v.element.children;
            children.data = m_childList.data() + next;
            children.capacity = children.length;
            next += children.length;
            children.length = 0;
        }
    for (const auto& [parent, child] : m_appends)
    {
        GumboVector& children = parent->node.v.element.children;
        child->node.parent = &parent->node;
        child->node.index_within_parent = children.length;
        children.data[children.length++] = &child->node;
    }
}

// The text read since the last tag becomes one node, as the library joins the characters that come
// together: whitespace when it holds nothing else.
void SimpleHtmlTree::FlushText(SNode& parent)
{
    if (m_text.empty())
        return;
    SNode& node = NewNode(m_textBlank ? GUMBO_NODE_WHITESPACE : GUMBO_NODE_TEXT);
    node.node.v.text.text = Keep(m_text);
    Append(parent, node);
    m_text.clear();
    m_textBlank = true;
}

bool SimpleHtmlTree::ReadText(std::string_view page, std::size_t& at)
{
    while (at < page.size() && page[at] != '<')
    {
        if (page[at] == '&')
        {
            ++at;
            if (!ReadEntity(page, at, m_text))
                return false;
            m_textBlank = false;
            continue;
        }
        const std::size_t length = PlainCharacter(page, at);
        if (length == 0)
            return false;
        if (!IsBlank(page[at]))
            m_textBlank = false;
        m_text.append(page, at, length);
        at += length;
    }
    return true;
}

bool SimpleHtmlTree::ReadStartTag(std::string_view page, std::size_t& at, std::vector<SNode*>& open)
{
    std::size_t end = at;
    while (end < page.size() && page[end] >= 'a' && page[end] <= 'z')
        ++end;
    const std::string_view name = page.substr(at, end - at);
    const auto known =
        std::find_if(kTags.begin(), kTags.end(), [name](const STagName& t) { return t.name == name; });
    if (known == kTags.end())
        return false;
    at = end;
    // A paragraph inside a paragraph closes the outer one; such pages go to the library.
    if (known->tag == GUMBO_TAG_P &&
        std::any_of(open.begin(), open.end(),
                    [](const SNode* n) { return n->node.v.element.tag == GUMBO_TAG_P; }))
        return false;
    SNode& parent = *open.back();
    FlushText(parent);
    SNode& element = NewElement(known->tag);
    const std::size_t firstAttribute = m_attributeList.size();
    for (;;)
    {
        const std::size_t blanks = at;
        while (at < page.size() && page[at] == ' ')
            ++at;
        if (at >= page.size())
            return false;
        if (page[at] == '>' || page[at] == '/')
            break;
        if (at == blanks)
            return false;
        std::size_t nameEnd = at;
        while (nameEnd < page.size() &&
               ((page[nameEnd] >= 'a' && page[nameEnd] <= 'z') || page[nameEnd] == '-'))
            ++nameEnd;
        if (nameEnd == at || nameEnd + 1 >= page.size() || page[nameEnd] != '=' ||
            (page[nameEnd + 1] != '"' && page[nameEnd + 1] != '\''))
            return false;
        const std::string_view attributeName = page.substr(at, nameEnd - at);
        const char quote = page[nameEnd + 1];
        at = nameEnd + 2;
        std::string value;
        while (at < page.size() && page[at] != quote)
        {
            if (page[at] == '&')
            {
                ++at;
                if (!ReadEntity(page, at, value))
                    return false;
                continue;
            }
            const std::size_t length = PlainCharacter(page, at);
            if (length == 0 || page[at] == '<')
                return false;
            value.append(page, at, length);
            at += length;
        }
        if (at >= page.size())
            return false;
        ++at;
        // The library keeps the first of two attributes of one name; such pages go to it.
        for (std::size_t i = firstAttribute; i < m_attributeList.size(); ++i)
            if (static_cast<const GumboAttribute*>(m_attributeList[i])->name == attributeName)
                return false;
        SAttribute& added = m_attributes.emplace_back();
        GumboAttribute& attribute = added.attribute;
        std::memset(&attribute, 0, sizeof attribute);
        attribute.attr_namespace = GUMBO_ATTR_NAMESPACE_NONE;
        attribute.name = Keep(attributeName);
        attribute.value = Keep(value);
        m_attributeList.push_back(&attribute);
    }
    GumboVector& list = element.node.v.element.attributes;
    list.length = static_cast<unsigned>(m_attributeList.size() - firstAttribute);
    list.capacity = list.length;
    list.data = list.length ? m_attributeList.data() + firstAttribute : nullptr;
    const bool selfClosing = page[at] == '/';
    if (selfClosing && !Take(page, at, "/"))
        return false;
    if (!Take(page, at, ">"))
        return false;
    Append(parent, element);
    if (known->tag == GUMBO_TAG_BR)
        return true;
    // "<span/>" is read as a start tag by the library; such pages go to it.
    if (selfClosing || open.size() >= kMaxOpen)
        return false;
    open.push_back(&element);
    return true;
}

bool SimpleHtmlTree::ReadEndTag(std::string_view page, std::size_t& at, std::vector<SNode*>& open)
{
    std::size_t end = at;
    while (end < page.size() && page[end] >= 'a' && page[end] <= 'z')
        ++end;
    const std::string_view name = page.substr(at, end - at);
    at = end;
    if (!Take(page, at, ">"))
        return false;
    // Only the end tag of the element last opened: anything else makes the library mend the page.
    if (open.size() < 2)
        return false;
    const GumboTag tag = open.back()->node.v.element.tag;
    const auto known =
        std::find_if(kTags.begin(), kTags.end(), [tag](const STagName& t) { return t.tag == tag; });
    if (known == kTags.end() || known->name != name)
        return false;
    FlushText(*open.back());
    open.pop_back();
    return true;
}

const GumboNode* SimpleHtmlTree::Parse(std::string_view page)
{
    m_nodes.clear();
    m_attributes.clear();
    m_attributeList.clear();
    m_appends.clear();
    m_childList.clear();
    m_chars.clear();
    m_full = false;
    // Every node but the four of the frame starts at a "<" or is the text before one; every attribute
    // has its "=".
    const auto tags = static_cast<std::size_t>(std::count(page.begin(), page.end(), '<'));
    m_nodes.reserve(2 * tags + 8);
    const auto attributes = static_cast<std::size_t>(std::count(page.begin(), page.end(), '='));
    m_attributes.reserve(attributes);
    m_attributeList.reserve(attributes);
    m_appends.reserve(m_nodes.capacity());
    // Texts, names and values are never longer than in the page; each takes a NUL more.
    m_chars.reserve(page.size() + m_nodes.capacity() + 2 * attributes + 16);
    m_text.clear();
    m_textBlank = true;

    // <html><head><title>title</title></head> <body>: the blanks between head and body are a text of
    // the html element.
    std::size_t at = 0;
    if (!Take(page, at, "<html><head><title>"))
        return nullptr;
    SNode& html = NewElement(GUMBO_TAG_HTML);
    SNode& head = NewElement(GUMBO_TAG_HEAD);
    SNode& title = NewElement(GUMBO_TAG_TITLE);
    Append(html, head);
    Append(head, title);
    while (at < page.size() && page[at] != '<')
    {
        const std::size_t length = PlainCharacter(page, at);
        if (length == 0 || page[at] == '&')
            return nullptr;
        if (!IsBlank(page[at]))
            m_textBlank = false;
        m_text.append(page, at, length);
        at += length;
    }
    FlushText(title);
    if (!Take(page, at, "</title></head>"))
        return nullptr;
    while (at < page.size() && page[at] == ' ')
        m_text += page[at++];
    FlushText(html);
    if (!Take(page, at, "<body>"))
        return nullptr;
    SNode& body = NewElement(GUMBO_TAG_BODY);
    Append(html, body);

    std::vector<SNode*> open{&body};
    constexpr std::string_view kEnd = "</body></html>";
    while (at < page.size())
    {
        if (!ReadText(page, at))
            return nullptr;
        if (at >= page.size())
            return nullptr;
        ++at; // "<"
        if (open.size() == 1 && page.substr(at - 1) == kEnd)
        {
            FlushText(body);
            if (m_full)
                return nullptr;
            m_childList.resize(m_appends.size());
            LinkChildren();
            return &html.node;
        }
        if (at < page.size() && page[at] == '/')
        {
            ++at;
            if (!ReadEndTag(page, at, open))
                return nullptr;
        }
        else if (!ReadStartTag(page, at, open))
            return nullptr;
    }
    return nullptr;
}

} // namespace lf
