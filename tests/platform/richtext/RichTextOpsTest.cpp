#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichXml.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lf;

namespace
{

using lf::test::PrintTo;

// Installs a known field font and picture loader for a test and puts the old ones back.
class RichTextOps : public testing::Test
{
protected:
    RichTextOps() : m_saved(RichTextHost())
    {
        RichTextHost().fieldFont = SRichFieldFont{"Verdana", 14, 1, 0x123456, false, true, false, false};
        RichTextHost().requestPicture = nullptr;
    }
    ~RichTextOps() override { RichTextHost() = m_saved; }

    static std::string Stored(const std::function<void(RichDocument&)>& build)
    {
        RichDocument doc;
        build(doc);
        return WriteRichXml(doc);
    }

private:
    SRichTextHost m_saved;
};

std::string PlainOf(const RichDocument& doc)
{
    return RichPlainText(doc.content);
}

} // namespace

// --- emptiness and writing ---

struct SEmptyCase
{
    const char* name;
    std::function<void(RichContent&)> build;
    bool empty;
};

class RichViewEmptiness : public testing::TestWithParam<SEmptyCase>
{
};

TEST_P(RichViewEmptiness, FollowsTheBlankAndContentRule)
{
    RichDocument doc;
    GetParam().build(doc.content);
    EXPECT_EQ(IsRichViewEmpty(doc), GetParam().empty);
    std::string text = "old";
    EXPECT_TRUE(GetXMLFormRE(text, doc));
    EXPECT_EQ(text.empty(), GetParam().empty);
    if (!GetParam().empty)
    {
        EXPECT_TRUE(XMLTextHasRoot(text, "LFDRoot"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, RichViewEmptiness,
    testing::Values(
        SEmptyCase{"NoItems", [](RichContent&) {}, true},
        SEmptyCase{"BlanksAndALineBreak",
                   [](RichContent& c)
                   {
                       c.AddText("  ", 0, 0);
                       c.AddText(" ", 0, 0, false).lineBreak = true;
                   },
                   true},
        SEmptyCase{"EmptyParagraphs", [](RichContent& c) { c.AddTextLines("\r\n\r\n", 0, 0); }, true},
        SEmptyCase{"PictureAlone",
                   [](RichContent& c) {
                       c.AddPicture({"PNG", "png"}, 0, 0, 0, true);
                   },
                   false},
        SEmptyCase{"HotPictureAlone",
                   [](RichContent& c) {
                       c.AddPicture({"PNG", "png"}, 0, 0, 0, true, true);
                   },
                   false},
        SEmptyCase{"EmptyTable", [](RichContent& c) { c.AddTable(RichTable(1, 1), "1", 0); }, false},
        SEmptyCase{"NineLetters", [](RichContent& c) { c.AddText("abcdefghi", 0, 0); }, false},
        SEmptyCase{"OneLetterAmongBlanks", [](RichContent& c) { c.AddTextLines(" \r\nx ", 0, 0); }, false},
        SEmptyCase{"TenBlanks", [](RichContent& c) { c.AddText("          ", 0, 0); }, false}),
    [](const testing::TestParamInfo<SEmptyCase>& info) { return info.param.name; });

// --- reading stored texts ---

TEST_F(RichTextOps, PlainWordsLoadAsOneRunInStyleZero)
{
    RichDocument view;
    view.content.AddText("old content", 1, 0);
    SetXMLToRE("A few plain words", view, true, true, true);
    ASSERT_EQ(view.ItemCount(), 1);
    EXPECT_EQ(view.content.items[0].text, "A few plain words");
    EXPECT_EQ(view.content.items[0].styleNo, 0);
    EXPECT_EQ(view.styles.textStyles[0].fontName, "Verdana"); // the view was cleared with the field font
}

TEST_F(RichTextOps, WordsWithABoldTagLoadThroughTheHtmlImporter)
{
    RichDocument view;
    SetXMLToRE("A few <b>bold</b> words", view, true, true, true);
    EXPECT_EQ(PlainOf(view), "A few bold words");
    ASSERT_EQ(view.ItemCount(), 3);
    EXPECT_TRUE(view.styles.textStyles[view.content.items[1].styleNo].bold);
}

TEST_F(RichTextOps, PlainTextKeepsItsLineBreaks)
{
    RichDocument view;
    SetXMLToRE("first line\r\nsecond line\nthird", view, true, true, true);
    EXPECT_EQ(PlainOf(view), "first line\r\nsecond line\r\nthird");
}

TEST_F(RichTextOps, PlainTextWithAnAmpersandOrLessThanKeepsItsLinesAndTabs)
{
    // HTML would fold these line breaks and tabs into blanks; without markup the text stays plain.
    RichDocument view;
    SetXMLToRE("Tom & Jerry\r\nsecond line", view, true, true, true);
    EXPECT_EQ(PlainOf(view), "Tom & Jerry\r\nsecond line");
    SetXMLToRE("a < b\tc  d\n", view, true, true, true);
    EXPECT_EQ(PlainOf(view), "a < b\tc  d\r\n");
}

TEST_F(RichTextOps, MalformedTextThatStartsLikeStoredXmlGoesThroughTheHtmlTest)
{
    const std::string broken = "<LFDRoot><document><text textstyleno=\"0\">kept words</document></LFDRoot>";
    EXPECT_FALSE(XMLTextHasRoot(broken, "LFDRoot"));
    EXPECT_TRUE(IsHtmlText(broken));
    RichDocument view;
    SetXMLToRE(broken, view, true, true, true);
    EXPECT_EQ(PlainOf(view), "kept words");
}

TEST_F(RichTextOps, TextThatIsNeitherXmlNorHtmlReplacesTheViewAsPlainText)
{
    // Such a text fails to parse as XML; the view must show it, not what it showed before.
    RichDocument view;
    view.content.AddText("previous question", 0, 0);
    SetXMLToRE("Tom & Jerry: a < b", view, true, true, true);
    EXPECT_EQ(PlainOf(view), "Tom & Jerry: a < b");
}

TEST_F(RichTextOps, StoredXmlLoadsItsOwnStylesAndReplaces)
{
    const std::string stored = Stored(
        [](RichDocument& d)
        {
            SRichTextStyle red = d.styles.textStyles[0];
            red.color = 0x0000FF;
            d.content.AddText("red", d.styles.FindOrAddTextStyle(red), 0);
        });
    RichDocument view;
    view.content.AddText("old", 0, 0);
    SetXMLToRE(stored, view, true, true, true);
    ASSERT_EQ(view.ItemCount(), 1);
    EXPECT_EQ(view.styles.textStyles[view.content.items[0].styleNo].color, 0x0000FFu);
    std::string again;
    GetXMLFormRE(again, view);
    EXPECT_EQ(again, stored);
}

TEST_F(RichTextOps, DirectXmlLoadOfABrokenTextLeavesTheViewAsItWas)
{
    RichDocument view;
    view.content.AddText("kept", 0, 0);
    const RichDocument before = view;
    LoadXMLToRE("<LFDRoot><document>", view, true, true);
    EXPECT_TRUE(view == before);
    LoadXMLToRE("<other>well formed</other>", view, true, true);
    EXPECT_EQ(PlainOf(view), "<other>well formed</other>");
}

struct SAppendCase
{
    const char* name;
    const char* text;
    const char* plainAfter;
};

class RichTextAppend : public testing::TestWithParam<SAppendCase>
{
};

TEST_P(RichTextAppend, AddsAtTheEndAsANewParagraph)
{
    RichDocument view;
    view.content.AddText("Question", 0, 0);
    SetXMLToRE(GetParam().text, view, false, false, false);
    EXPECT_EQ(PlainOf(view), GetParam().plainAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RichTextAppend,
    testing::Values(SAppendCase{"EmptyText", "", "Question"},
                    SAppendCase{"EmptyHtml", "<p> </p>", "Question"},
                    SAppendCase{"EmptyStoredXml", "<LFDRoot><document/></LFDRoot>", "Question"},
                    SAppendCase{"PlainText", "answer", "Question\r\nanswer"},
                    SAppendCase{"Html", "<i>answer</i>", "Question\r\nanswer"},
                    SAppendCase{
                        "StoredXml",
                        "<LFDRoot><document><text textstyleno=\"0\">answer</text></document></LFDRoot>",
                        "Question\r\nanswer"}),
    [](const testing::TestParamInfo<SAppendCase>& info) { return info.param.name; });

struct SHtmlCase
{
    const char* name;
    const char* text;
    bool html;
};

class HtmlTest : public testing::TestWithParam<SHtmlCase>
{
};

TEST_P(HtmlTest, DecidesByTheImportedPlainText)
{
    EXPECT_EQ(IsHtmlText(GetParam().text), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(Texts, HtmlTest,
                         testing::Values(SHtmlCase{"Empty", "", false}, SHtmlCase{"Blank", "  \r\n ", false},
                                         SHtmlCase{"Words", "plain words", false},
                                         SHtmlCase{"WordsOnLines", "line one\r\n  line two", false},
                                         SHtmlCase{"BoldTag", "a <b>b</b>", true},
                                         SHtmlCase{"Entity", "x &amp; y", true},
                                         SHtmlCase{"Paragraph", "<p>x</p>", true},
                                         SHtmlCase{"LessThan", "a < b", false},
                                         SHtmlCase{"Ampersand", "Tom & Jerry", false},
                                         SHtmlCase{"AmpersandOnTwoLines", "Tom & Jerry\r\nsecond", false},
                                         SHtmlCase{"LessThanWithTabAndBlanks", " a  <\tb ", false},
                                         SHtmlCase{"BoldTagOnTwoLines", "a <b>b</b>\r\nc", true},
                                         SHtmlCase{"LineBreakTag", "a<br>b", true}),
                         [](const testing::TestParamInfo<SHtmlCase>& info) { return info.param.name; });

// --- plain text ---

TEST_F(RichTextOps, PlainTextOfAStoredTextWithAndWithoutCrToLf)
{
    const std::string stored = Stored(
        [](RichDocument& d)
        {
            d.content.AddText("one", 1, 0);
            d.content.AddText("two", 0, 0);
        });
    RichDocument view;
    std::string plain;
    GetPlainTextFromXML(stored, view, plain, false);
    EXPECT_EQ(plain, "one\r\ntwo");
    GetPlainTextFromXML(stored, view, plain, true);
    EXPECT_EQ(plain, "one\n\ntwo");
    GetPlainTextFromXML("", view, plain, false);
    EXPECT_EQ(plain, "");
}

TEST_F(RichTextOps, ControlTextFlattensTabsAndLineBreaks)
{
    RichDocument view;
    view.content.AddText("a\tb", 0, 0);
    view.content.AddText("c", 0, 0);
    std::string text;
    GetControlText(view, text, false, true);
    EXPECT_EQ(text, "a    b  c");
}

struct SSpecialCase
{
    const char* name;
    const char* text;
    bool special;
};

class SpecialRendering : public testing::TestWithParam<SSpecialCase>
{
};

TEST_P(SpecialRendering, LooksAtTheFontsTheRunsUse)
{
    EXPECT_EQ(XMLTextNeedsSpecialRendering(GetParam().text), GetParam().special);
}

#define LF_FONTS(second) "<LFDRoot><style><font fontname=\"Arial\"/>" second "</style>"

INSTANTIATE_TEST_SUITE_P(
    Texts, SpecialRendering,
    testing::Values(
        SSpecialCase{
            "SystemFontRun",
            LF_FONTS("<font fontname=\" SYSTEM \"/>") "<document><text "
                                                      "textstyleno=\"1\">x</text></document></LFDRoot>",
            true},
        SSpecialCase{
            "SuperscriptRun",
            LF_FONTS(
                "<font subsuperscripttype=\"Super\"/>") "<document><text textstyleno=\"0\">x</text>"
                                                        "<text "
                                                        "textstyleno=\"1\">2</text></document></LFDRoot>",
            true},
        SSpecialCase{
            "SubscriptRun",
            LF_FONTS("<font subsuperscripttype=\"sub\"/>") "<document><text "
                                                           "textstyleno=\"1\">i</text></document></LFDRoot>",
            true},
        SSpecialCase{
            "SymbolFontIsNotSpecial",
            LF_FONTS("<font fontname=\"Symbol\"/>") "<document><text "
                                                    "textstyleno=\"1\">p</text></document></LFDRoot>",
            false},
        SSpecialCase{
            "SpecialFontUnused",
            LF_FONTS("<font fontname=\"system\"/>") "<document><text "
                                                    "textstyleno=\"0\">x</text></document></LFDRoot>",
            false},
        SSpecialCase{"StyleNumberNotANumberCountsAsZero",
                     "<LFDRoot><style><font subsuperscripttype=\"sub\"/></style><document><text "
                     "textstyleno=\"a\">x</text>"
                     "</document></LFDRoot>",
                     true},
        SSpecialCase{
            "Malformed",
            LF_FONTS(
                "<font fontname=\"system\"/>") "<document><text textstyleno=\"1\">x</document></LFDRoot>",
            false},
        SSpecialCase{"OtherRoot", "<Other><style><font fontname=\"system\"/></style></Other>", false},
        SSpecialCase{"PlainText", "x^2", false}),
    [](const testing::TestParamInfo<SSpecialCase>& info) { return info.param.name; });

#undef LF_FONTS

TEST_F(RichTextOps, WrittenSuperscriptIsFoundAgain)
{
    const std::string stored = Stored(
        [](RichDocument& d)
        {
            SRichTextStyle super = d.styles.textStyles[0];
            super.subSuper = RichSubSuper::Super;
            d.content.AddText("x", 0, 0);
            d.content.AddText("2", d.styles.FindOrAddTextStyle(super), 0, false);
        });
    EXPECT_TRUE(XMLTextNeedsSpecialRendering(stored));
}

// --- normalising and re-encoding ---

TEST_F(RichTextOps, NormaliseTurnsAnyTextIntoStoredXmlAndLeavesStoredXmlAlone)
{
    std::string text = "Plain & simple";
    ASSERT_TRUE(NormalizeTextToXML(text));
    ASSERT_TRUE(XMLTextHasRoot(text, "LFDRoot"));
    const std::string once = text;
    RichDocument view;
    std::string plain;
    GetPlainTextFromXML(text, view, plain, false);
    EXPECT_EQ(plain, "Plain & simple");
    ASSERT_TRUE(NormalizeTextToXML(text));
    EXPECT_EQ(text, once);

    std::string blank = "   ";
    ASSERT_TRUE(NormalizeTextToXML(blank));
    EXPECT_EQ(blank, "");
}

TEST_F(RichTextOps, DisplayStreamCarriesTheDisplaySheetsNumbers)
{
    const std::string stored = Stored(
        [](RichDocument& d)
        {
            SRichTextStyle big = d.styles.textStyles[3];
            big.size = 24;
            d.content.AddText("keyword", 3, 1);
            d.content.AddText("big", d.styles.FindOrAddTextStyle(big), 1, false);
        });
    RichStyleSheet display = RichStyleSheet::Display();
    std::string stream;
    ASSERT_TRUE(XMLToDisplayRVFStream(stored, stream, display));
    EXPECT_EQ(stream.find("<style"), std::string::npos);
    ASSERT_EQ(display.TextStyleCount(), 7); // the big keyword style was added

    RichDocument cellView(display);
    ASSERT_TRUE(InsertRichStream(cellView, stream));
    ASSERT_EQ(cellView.ItemCount(), 2);
    EXPECT_EQ(cellView.content.items[0].styleNo, 3);
    EXPECT_EQ(cellView.content.items[0].paraNo, 1);
    EXPECT_EQ(cellView.styles.textStyles[cellView.content.items[1].styleNo].size, 24);

    stream = "stale";
    EXPECT_FALSE(XMLToDisplayRVFStream(" \r\n", stream, display));
    EXPECT_TRUE(stream.empty());
    EXPECT_FALSE(XMLToRVFStream("", stream, &display, true));
    EXPECT_TRUE(XMLToRVFStream("", stream, &display, false));
    EXPECT_TRUE(XMLTextHasRoot(stream, "LFDRoot"));
}

TEST_F(RichTextOps, StreamWithoutASheetCarriesItsStylesIntoAnyEditor)
{
    const std::string stored = Stored(
        [](RichDocument& d)
        {
            SRichTextStyle big = d.styles.textStyles[1];
            big.size = 30;
            d.content.AddText("Heading", 1, 0);
            d.content.AddText("big", d.styles.FindOrAddTextStyle(big), 1);
        });
    std::string stream;
    ASSERT_TRUE(XMLToRVFStream(stored, stream));
    EXPECT_NE(stream.find("<style"), std::string::npos);

    // An editor whose sheet differs: the runs keep their look through the editor's own numbers.
    RichDocument editor;
    editor.styles.textStyles.erase(editor.styles.textStyles.begin() + 1);
    editor.content.AddText("typed", 0, 0);
    ASSERT_TRUE(InsertRichStream(editor, stream));
    ASSERT_EQ(editor.ItemCount(), 3);
    EXPECT_EQ(PlainOf(editor), "typed\r\nHeading\r\nbig");
    const SRichTextStyle& heading = editor.styles.textStyles[editor.content.items[1].styleNo];
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(heading.color, RichStyleSheet::Default().textStyles[1].color);
    EXPECT_EQ(editor.styles.textStyles[editor.content.items[2].styleNo].size, 30);
    EXPECT_EQ(editor.content.items[2].paraNo, 1);

    // An empty text: a stream that inserts nothing, unless content is required.
    ASSERT_TRUE(XMLToRVFStream(" \r\n", stream));
    const RichDocument before = editor;
    ASSERT_TRUE(InsertRichStream(editor, stream));
    EXPECT_TRUE(editor == before);
    stream = "stale";
    EXPECT_FALSE(XMLToRVFStream("", stream, nullptr, true));
    EXPECT_TRUE(stream.empty());
}

struct SAppendXmlCase
{
    const char* name;
    std::function<std::string()> text;
    const char* plainAfter;
};

class AppendXmlToView : public RichTextOps, public testing::WithParamInterface<SAppendXmlCase>
{
};

TEST_P(AppendXmlToView, AddsAtTheEndStartingInParagraphStyleZero)
{
    RichDocument view(RichStyleSheet::Display());
    view.content.AddText("Question", 0, 2);
    AppendXMLToRichView(GetParam().text(), view);
    EXPECT_EQ(PlainOf(view), GetParam().plainAfter);
    if (view.ItemCount() > 1)
    {
        EXPECT_TRUE(view.content.items[1].newParagraph);
        EXPECT_EQ(view.content.items[1].paraNo, 0);
    }
    EXPECT_EQ(view.content.items[0].paraNo, 2); // what was there stays as it was
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AppendXmlToView,
    testing::Values(SAppendXmlCase{"EmptyText", [] { return std::string(); }, "Question"},
                    SAppendXmlCase{"BlankText", [] { return std::string(" \r\n "); }, "Question"},
                    SAppendXmlCase{"EmptyStoredXml",
                                   [] { return std::string("<LFDRoot><document/></LFDRoot>"); }, "Question"},
                    SAppendXmlCase{"PlainText", [] { return std::string("answer"); }, "Question\r\nanswer"},
                    SAppendXmlCase{"Html", [] { return std::string("<i>answer</i>"); }, "Question\r\nanswer"},
                    SAppendXmlCase{"CentredStoredText",
                                   []
                                   {
                                       RichDocument d;
                                       d.content.AddText("centred", 0, 1);
                                       d.content.AddText("second", 0, 1);
                                       return WriteRichXml(d);
                                   },
                                   "Question\r\ncentred\r\nsecond"}),
    [](const testing::TestParamInfo<SAppendXmlCase>& info) { return info.param.name; });

// The paragraphs of a stored text as lines, each with its paragraph style's alignment.
std::vector<std::string> AlignedLines(const std::string& stored)
{
    RichDocument doc;
    EXPECT_EQ(ReadRichXml(stored, doc), RichXmlResult::Loaded);
    std::vector<std::string> lines;
    for (const SRichItem& item : doc.content.items)
    {
        if (item.newParagraph || lines.empty())
        {
            const bool centred =
                doc.styles.paraStyles.at(static_cast<std::size_t>(item.paraNo)).align == RichAlign::Center;
            lines.push_back(centred ? "(c)" : "");
        }
        lines.back() += item.text;
    }
    return lines;
}

TEST_F(RichTextOps, JoiningPutsTheSeparatorCentredBetweenEmptyLines)
{
    const std::string second = Stored([](RichDocument& d) { d.content.AddText("Answer text", 1, 0); });
    const std::string joined = JoinXMLTexts("Question text", second, "OR");
    EXPECT_EQ(AlignedLines(joined),
              (std::vector<std::string>{"Question text", "", "(c)OR", "", "Answer text"}));
    RichDocument doc;
    ASSERT_EQ(ReadRichXml(joined, doc), RichXmlResult::Loaded);
    EXPECT_TRUE(doc.styles.textStyles[doc.content.items.back().styleNo].bold); // the heading stays a heading

    EXPECT_EQ(AlignedLines(JoinXMLTexts("Question text", "Answer text", "")),
              (std::vector<std::string>{"Question text", "Answer text"}));
    EXPECT_EQ(AlignedLines(JoinXMLTexts("", "Answer text", "OR")),
              (std::vector<std::string>{"", "(c)OR", "", "Answer text"}));
    EXPECT_EQ(AlignedLines(JoinXMLTexts("Question text", "", "")),
              (std::vector<std::string>{"Question text"}));
    EXPECT_EQ(JoinXMLTexts("", "", ""), "");
}

TEST_F(RichTextOps, JoiningInAScratchViewReplacesItsContentAndLeavesTheJoinedText)
{
    RichDocument scratch;
    scratch.content.AddText("left over from before", 0, 0);
    const std::string joined = JoinXMLTexts("one", "two", "", scratch);
    EXPECT_EQ(PlainOf(scratch), "one\r\ntwo");
    std::string again;
    GetXMLFormRE(again, scratch);
    EXPECT_EQ(again, joined);
}

TEST_F(RichTextOps, JoiningFindsACentredStyleInAForeignSheet)
{
    // A stored text whose sheet has a single paragraph style: the separator gets a centred one added.
    RichDocument bare;
    bare.styles.paraStyles.resize(1);
    bare.content.AddText("Question text", 0, 0);
    const std::string joined = JoinXMLTexts(WriteRichXml(bare), "Answer text", "OR");
    EXPECT_EQ(AlignedLines(joined),
              (std::vector<std::string>{"Question text", "", "(c)OR", "", "Answer text"}));
}

TEST_F(RichTextOps, SelectionToXmlTrimsTrailingBlanksAndRemovesBold)
{
    RichDocument view;
    view.content.AddText("Question ", 1, 0); // Heading: bold
    view.content.AddText("text", 0, 0, false);
    view.content.AddPicture({"PNG", "png"}, 0, 0, 0, false);
    view.content.AddText("  ", 0, 0);
    view.content.AddText("", 0, 0);

    std::string text = "old";
    EXPECT_FALSE(RichSelectionToXML(view, text, true, true));
    EXPECT_EQ(text, "");

    view.selection = SRichSelection{{0, 1}, {4, 1}};
    ASSERT_TRUE(RichSelectionToXML(view, text, true, true));
    RichDocument result;
    ASSERT_EQ(ReadRichXml(text, result), RichXmlResult::Loaded);
    ASSERT_EQ(result.ItemCount(), 3);
    EXPECT_EQ(PlainOf(result), "Question text");
    EXPECT_EQ(result.content.items[2].styleNo, kRichStylePicture);
    EXPECT_FALSE(result.styles.textStyles[1].bold);

    ASSERT_TRUE(RichSelectionToXML(view, text, false, false));
    ASSERT_EQ(ReadRichXml(text, result), RichXmlResult::Loaded);
    EXPECT_EQ(result.ItemCount(), 5);
    EXPECT_TRUE(result.styles.textStyles[1].bold);
}

TEST_F(RichTextOps, TrimmingABlankLineHandsItsLineStartToTheItemAfterIt)
{
    RichDocument view;
    view.content.AddText("Question", 0, 0);
    view.content.AddText("  ", 0, 0);
    view.content.AddPicture({"PNG", "png"}, 0, 0, 0, false); // on the blank line, not on the question's
    view.selection = SRichSelection{{0, 1}, {2, 1}};
    std::string text;
    ASSERT_TRUE(RichSelectionToXML(view, text, false, true));
    RichDocument result;
    ASSERT_EQ(ReadRichXml(text, result), RichXmlResult::Loaded);
    ASSERT_EQ(result.ItemCount(), 2);
    EXPECT_EQ(result.content.items[1].styleNo, kRichStylePicture);
    EXPECT_TRUE(result.content.items[1].newParagraph);
}

TEST_F(RichTextOps, ClearingResetsTheViewAndAppliesTheFieldFont)
{
    RichDocument view;
    view.view.leftMargin = 40;
    view.view.background = RichBackground::Color;
    SRichTextStyle added = view.styles.textStyles[0];
    added.size = 33;
    view.content.AddText("x", view.styles.FindOrAddTextStyle(added), 0);
    view.selection = SRichSelection{{0, 1}, {0, 2}};

    ClearRichView(view, false);
    EXPECT_TRUE(view.Empty());
    EXPECT_FALSE(view.selection.has_value());
    EXPECT_EQ(view.view, SRichViewSettings{});
    EXPECT_EQ(view.styles.TextStyleCount(), 7);
    ClearRichView(view, true);
    EXPECT_EQ(view.styles.TextStyleCount(), 6);

    const SRichTextStyle& normal = view.styles.textStyles[0];
    EXPECT_EQ(normal.fontName, "Verdana");
    EXPECT_EQ(normal.size, 14);
    EXPECT_EQ(normal.color, 0x123456u);
    EXPECT_TRUE(normal.italic);
    EXPECT_FALSE(normal.bold);
    EXPECT_EQ(view.styles.textStyles[1].fontName, "Arial"); // other styles stay
}

// The HTML import asks the loader its caller gives, with the caller's fetch flag; the program's views go
// through the host's loader; the probe for HTML needs no pictures and asks no loader.
TEST_F(RichTextOps, HtmlImportAsksTheCallersLoaderWithTheCallersFetchFlag)
{
    std::vector<std::string> asked;
    const auto loader = [&asked](const char* who)
    {
        return [&asked, who](const std::string&, int, int, bool fetch)
        {
            asked.push_back(std::string(who) + (fetch ? " fetch" : " no fetch"));
            return SRichPicture{"GIF", "gif"};
        };
    };
    RichTextHost().requestPicture = loader("host");
    RichDocument view;
    LoadHtmlToRE("<img src=\"a.gif\">", view, true, true, loader("given"));
    LoadHtmlToRE("<img src=\"a.gif\">", view, false, false, loader("given"));
    EXPECT_EQ(asked, (std::vector<std::string>{"given fetch", "given no fetch"}));
    EXPECT_EQ(view.ItemCount(), 2);

    asked.clear();
    SetXMLToRE("<img src=\"a.gif\">", view, true, true, true);
    SetXMLToRE("<img src=\"a.gif\">", view, true, true, false, loader("given"));
    std::string text = "<img src=\"b.gif\">";
    ASSERT_TRUE(NormalizeTextToXML(text));
    EXPECT_EQ(asked, (std::vector<std::string>{"host fetch", "given no fetch", "host fetch"}));

    asked.clear();
    EXPECT_TRUE(IsHtmlText("<img src=\"a.gif\">"));
    EXPECT_TRUE(asked.empty());
}
