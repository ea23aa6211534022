#include "platform/richtext/SimpleHtml.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace lf;

namespace
{

const std::string kStart = "<html><head><title>Moodle question</title></head> <body> ";
const std::string kEnd = " </body></html>";

// The first difference between two trees, described; empty when they are the same.
std::string Difference(const GumboNode* a, const GumboNode* b, const std::string& path)
{
    if (a->type != b->type)
        return path + ": node type " + std::to_string(a->type) + " against " + std::to_string(b->type);
    if (a->type != GUMBO_NODE_ELEMENT)
    {
        const std::string ta = a->v.text.text;
        const std::string tb = b->v.text.text;
        return ta == tb ? std::string() : path + ": text \"" + ta + "\" against \"" + tb + "\"";
    }
    const GumboElement& ea = a->v.element;
    const GumboElement& eb = b->v.element;
    if (ea.tag != eb.tag)
        return path + ": tag " + gumbo_normalized_tagname(ea.tag) + " against " +
               gumbo_normalized_tagname(eb.tag);
    if (ea.attributes.length != eb.attributes.length)
        return path + ": attribute count";
    for (unsigned i = 0; i < ea.attributes.length; ++i)
    {
        const auto* x = static_cast<const GumboAttribute*>(ea.attributes.data[i]);
        const auto* y = static_cast<const GumboAttribute*>(eb.attributes.data[i]);
        if (std::string(x->name) != y->name || std::string(x->value) != y->value)
            return path + ": attribute " + x->name + "=\"" + x->value + "\" against " + y->name + "=\"" +
                   y->value + "\"";
    }
    if (ea.children.length != eb.children.length)
        return path + "/" + gumbo_normalized_tagname(ea.tag) + ": " + std::to_string(ea.children.length) +
               " children against " + std::to_string(eb.children.length);
    for (unsigned i = 0; i < ea.children.length; ++i)
    {
        const std::string inner =
            Difference(static_cast<const GumboNode*>(ea.children.data[i]),
                       static_cast<const GumboNode*>(eb.children.data[i]),
                       path + "/" + gumbo_normalized_tagname(ea.tag) + "[" + std::to_string(i) + "]");
        if (!inner.empty())
            return inner;
    }
    return {};
}

// How the page fares: refused by the simple reader, or the difference between its tree and the HTML
// library's (empty when they agree).
struct SOutcome
{
    bool taken = false;
    std::string difference;
};

SOutcome Compare(const std::string& page)
{
    SOutcome outcome;
    SimpleHtmlTree simple;
    const GumboNode* mine = simple.Parse(page);
    if (!mine)
        return outcome;
    outcome.taken = true;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
    outcome.difference = Difference(mine, output->root, "");
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return outcome;
}

TEST(SimpleHtml, PagesOfThePlainShapeGiveTheLibrarysTree)
{
    const std::vector<std::string> bodies = {
        "",
        "Plain words",
        "<p style=\"margin:0\"><span style=\"font-family:'Arial';font-size:10pt\">Question 1 about cells: "
        "which statement is </span><span "
        "style=\"font-family:'Arial';font-size:10pt;font-weight:bold\">correct"
        "</span><span style=\"font-family:'Arial';font-size:10pt\">?</span></p>\n<p style=\"margin:0\"><span>"
        "Think about NADH.</span></p>\n",
        "a<br>b<br/>c<br />d",
        "<b>bold <i>both</i></b> <u>under</u> <strong>s</strong><em>e</em>x<sub>2</sub>y<sup>3</sup>",
        "Fish &amp; chips &lt;3 &gt; &quot;q&quot; a&nbsp;b",
        "<span title='single &amp; quoted' class=\"x\">t</span>",
        "<font color=\"red\" size=\"+1\" face=\"Courier New\">f</font>",
        "  \n\t  ",
        "<p>one</p><p>two</p>   <p>three</p>\n",
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC \xF0\x9F\x98\x80",
        "<b><b><b><b>deep</b></b></b></b> after",
        "<p></p><span></span><b></b>",
    };
    for (const std::string& body : bodies)
    {
        const SOutcome outcome = Compare(kStart + body + kEnd);
        EXPECT_TRUE(outcome.taken) << body;
        EXPECT_EQ(outcome.difference, "") << body;
    }
}

TEST(SimpleHtml, PagesTheLibraryMendsAreRefused)
{
    const std::vector<std::string> bodies = {
        "<p>one<p>two",                   // a paragraph closes the one before
        "<b>open",                        // left open
        "<b><i>crossed</b></i>",          // the library's adoption of formatting elements
        "</p>",                           // an end tag without its element
        "<div>block</div>",               // a tag outside the plain set
        "<P>upper</P>",                   // upper-case names
        "<span/>x",                       // a self-closing tag that is not void
        "a&copy;b",                       // a named character other than the common ones
        "a&#65;b",                        // numeric references
        "a & b",                          // a bare ampersand
        "line\r\nbreak",                  // carriage returns
        "bad \xC3( byte",                 // malformed UTF-8
        "control \x01 character",         // control characters
        "c1 \xC2\x85 control",            // C1 controls
        "<span style=x>t</span>",         // unquoted attribute values
        "<span hidden>t</span>",          // attributes without a value
        "<span a=\"1\" a=\"2\">t</span>", // the library keeps the first of two
        "<img src=\"a.png\">",            // pictures
        "<table><tr><td>x</td></tr></table>",
        "</body></html><p>after</p>", // text after the end of the body
    };
    for (const std::string& body : bodies)
        EXPECT_FALSE(Compare(kStart + body + kEnd).taken) << body;
    EXPECT_FALSE(Compare("<html><body>no head</body></html>").taken);
    EXPECT_FALSE(Compare("just text").taken);
    EXPECT_FALSE(Compare(kStart + "no end").taken);
    EXPECT_FALSE(Compare(kStart + kEnd + " ").taken);
}

// Pages put together at random from pieces of the plain shape and pieces just outside it: every page the
// simple reader takes gives the library's tree.
TEST(SimpleHtml, RandomPagesTakenGiveTheLibrarysTree)
{
    const std::vector<std::string> pieces = {
        "<p>",
        "</p>",
        "<span>",
        "</span>",
        "<b>",
        "</b>",
        "<i>",
        "</i>",
        "<u>",
        "</u>",
        "<em>",
        "</em>",
        "<strong>",
        "</strong>",
        "<sub>",
        "</sub>",
        "<sup>",
        "</sup>",
        "<font size=\"2\">",
        "</font>",
        "<br>",
        "<br/>",
        "<p style=\"margin:0\">",
        "<span style=\"font-weight:bold\">",
        "word",
        " ",
        "\n",
        "\t",
        "&amp;",
        "&nbsp;",
        "&lt;",
        "x y",
        "\xC3\xA9",
        "<div>",
        "</div>",
        "&",
        "\r",
        "<",
        ">",
        "\"",
        "'",
    };
    std::mt19937 random(20261211);
    int taken = 0;
    for (int n = 0; n < 20000; ++n)
    {
        std::string body;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i)
            body += pieces[random() % pieces.size()];
        const SOutcome outcome = Compare(kStart + body + kEnd);
        if (outcome.taken)
            ++taken;
        ASSERT_EQ(outcome.difference, "") << body;
    }
    // The pieces make plenty of well-formed pages: the comparison has met many.
    EXPECT_GT(taken, 1000);
}

} // namespace
