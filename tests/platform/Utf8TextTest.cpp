// Making outside text valid UTF-8: stray bytes as Windows-1252, impossible characters as U+FFFD.
#include "platform/sys/Utf8Text.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>

namespace
{

struct SMendCase
{
    const char* name;
    std::string input;
    std::string expected;
};

class MakeValidUtf8Cases : public ::testing::TestWithParam<SMendCase>
{
};

TEST_P(MakeValidUtf8Cases, GivesValidTextAndKeepsValidSequences)
{
    const SMendCase& c = GetParam();
    std::string text = c.input;
    EXPECT_EQ(lf::sys::MakeValidUtf8(text), c.input != c.expected);
    EXPECT_EQ(text, c.expected);
    EXPECT_TRUE(lf::sys::IsValidUtf8(text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MakeValidUtf8Cases,
    ::testing::Values(
        SMendCase{"AlreadyValid", "na\xC3\xAFve \xF0\x9F\x99\x82", "na\xC3\xAFve \xF0\x9F\x99\x82"},
        SMendCase{"StrayLatin1Byte", "caf\xE9", "caf\xC3\xA9"},
        SMendCase{"StrayWindows1252Quotes", "\x93hi\x94", "\xE2\x80\x9Chi\xE2\x80\x9D"},
        SMendCase{"UndefinedWindows1252Byte", "a\x81", "a\xC2\x81"}, SMendCase{"ByteFF", "\xFF", "\xC3\xBF"},
        // What "&#xD800;" and "&#x110000;" decode to: one replacement character each.
        SMendCase{"EncodedSurrogate", "Q2 \xED\xA0\x80", "Q2 \xEF\xBF\xBD"},
        SMendCase{"EncodedPastLastCharacter", "\xF4\x90\x80\x80!", "\xEF\xBF\xBD!"},
        SMendCase{"OverlongThreeBytes", "\xE0\x80\xAF", "\xEF\xBF\xBD"},
        // C0 and C1 lead no valid sequence: they are Windows-1252 characters, as is what follows.
        SMendCase{"OverlongTwoBytes", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        SMendCase{"CutSequenceAtEnd", "ab\xE2\x82", "ab\xC3\xA2\xE2\x80\x9A"},
        SMendCase{"LeadWithoutContinuation", "\xC3(", "\xC3\x83("}),
    [](const auto& info) { return info.param.name; });

// ASCII is passed over in wide steps: a bad or good sequence is found wherever it falls, at the edge of a
// step, just before the end or cut by it.
TEST(IsValidUtf8, FindsEverySequenceWhereverItFallsInALongAsciiText)
{
    for (std::size_t at = 0; at <= 72; ++at)
    {
        const std::string before(at, 'a');
        const std::string after(72 - at, 'b');
        EXPECT_TRUE(lf::sys::IsValidUtf8(before + "\xC3\xA9" + after)) << at;
        EXPECT_FALSE(lf::sys::IsValidUtf8(before + "\xE9" + after)) << at;
        EXPECT_FALSE(lf::sys::IsValidUtf8(before + "\xED\xA0\x80" + after)) << at;
        EXPECT_FALSE(lf::sys::IsValidUtf8(before + "\xE2\x82")) << at;
    }
}

TEST(MakeXmlTextsValidUtf8, MendsEveryNameAndValueOfADeepTree)
{
    pugi::xml_document doc;
    pugi::xml_node node = doc.append_child("root");
    // Deeper than any recursion could go on a thread's stack.
    for (int i = 0; i < 200000; ++i)
        node = node.append_child("k");
    node.append_attribute("v").set_value("\xE9");
    node.append_child(pugi::node_cdata).set_value("\xED\xA0\x80");
    doc.first_child().append_attribute("n\xE9").set_value("ok");

    EXPECT_TRUE(lf::sys::MakeXmlTextsValidUtf8(doc));
    EXPECT_STREQ(node.attribute("v").value(), "\xC3\xA9");
    EXPECT_STREQ(node.first_child().value(), "\xEF\xBF\xBD");
    EXPECT_STREQ(doc.first_child().first_attribute().name(), "n\xC3\xA9");
    EXPECT_FALSE(lf::sys::MakeXmlTextsValidUtf8(doc));
}

} // namespace

namespace
{

struct SReferenceCase
{
    const char* name;
    std::string xml;
    std::string expected; // empty: nothing to rewrite
};

class XmlReferencesToNoCharacter : public ::testing::TestWithParam<SReferenceCase>
{
};

// Only the references the XML library decodes are rewritten, and only where it decodes them.
TEST_P(XmlReferencesToNoCharacter, BecomeReferencesToTheReplacementCharacter)
{
    EXPECT_EQ(lf::sys::ReplaceXmlReferencesToNoCharacter(GetParam().xml), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, XmlReferencesToNoCharacter,
    ::testing::Values(SReferenceCase{"ZeroInAnAttribute", "<a n=\"a &#0;b\"/>", "<a n=\"a &#xFFFD;b\"/>"},
                      SReferenceCase{"ZeroAndHugeInText", "<a>&#x00;-&#xaaaaaaaaaa;-&#4294967361;</a>",
                                     "<a>&#xFFFD;-&#xFFFD;-&#xFFFD;</a>"},
                      SReferenceCase{"CharactersKept", "<a n=\"&#65;&#x10FFFF;&#xD800;\">&#9;</a>", ""},
                      SReferenceCase{"FormsTheLibraryKeepsAsText", "<a>&#X0; &#0 &#; &#x; &#0a;</a>", ""},
                      SReferenceCase{"CdataCommentAndInstructionKept",
                                     "<?pi &#0;?><!-- &#0; --><a><![CDATA[&#0;]]>&#0;</a><![CDATA[&#0;",
                                     "<?pi &#0;?><!-- &#0; --><a><![CDATA[&#0;]]>&#xFFFD;</a><![CDATA[&#0;"},
                      SReferenceCase{"AtTheVeryEnd", "&#0;", "&#xFFFD;"}),
    [](const auto& info) { return info.param.name; });

} // namespace
