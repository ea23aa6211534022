// The font action on an editor's selection: only the properties marked valid change, each run keeping the
// rest of its look; with the user interface on the font dialog decides.
#include "platform/qt/RichActions.h"
#include "platform/qt/RichViewEdit.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace lf;
using namespace lf::qt;

namespace
{

class RichFontAction : public ::testing::Test
{
protected:
    // "Hello " in Normal text (0), "world" in Keywords (3: navy, italic), "!" in Normal text.
    void SetUp() override
    {
        RichDocument& doc = editor.Document();
        doc.content.AddText("Hello ", 0, 0);
        doc.content.AddText("world", 3, 0, false);
        doc.content.AddText("!", 0, 0, false);
        editor.resize(400, 200);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
        editor.Format();
        original = doc;
    }

    // Selects "lo wor": the end of the Normal run and the start of the Keywords run.
    void SelectAcrossTwoStyles()
    {
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(3);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        ASSERT_TRUE(editor.HasSelection());
    }

    // The text run holding the text, and its style.
    const SRichTextStyle& StyleOf(const std::string& text)
    {
        const RichDocument& doc = editor.Document();
        for (const SRichItem& item : doc.content.items)
            if (item.text == text)
                return doc.styles.textStyles.at(static_cast<std::size_t>(item.styleNo));
        ADD_FAILURE() << "no run " << text;
        static const SRichTextStyle none;
        return none;
    }
    std::vector<std::string> RunTexts()
    {
        std::vector<std::string> texts;
        for (const SRichItem& item : editor.Document().content.items)
            texts.push_back(item.text);
        return texts;
    }
    // The font Qt lays the character at the position out in.
    QFont LaidOutFont(int position)
    {
        const QTextBlock block = editor.document()->findBlock(position);
        for (auto it = block.begin(); !it.atEnd(); ++it)
        {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() <= position && position < fragment.position() + fragment.length())
                return fragment.charFormat().font();
        }
        return {};
    }

    RichViewEdit editor;
    RichDocument original;
    TrvActionFontEx action;
};

} // namespace

TEST_F(RichFontAction, NameAloneChangesOnlyTheFaceOfTheSelectedRuns)
{
    SelectAcrossTwoStyles();
    SFontChoice font;
    font.name = "Courier New";
    font.size = 30; // not valid: stays out
    font.bold = true;
    EXPECT_TRUE(ApplyFontProperties(action, editor, kRichFontName, font));

    EXPECT_EQ(RunTexts(), (std::vector<std::string>{"Hel", "lo ", "wor", "ld", "!"}));
    const SRichTextStyle& normal = original.styles.textStyles[0];
    const SRichTextStyle& keywords = original.styles.textStyles[3];
    for (const auto& [text, before] : {std::pair{"lo ", normal}, std::pair{"wor", keywords}})
    {
        SRichTextStyle expected = before;
        expected.fontName = "Courier New";
        EXPECT_TRUE(StyleOf(text).SameFont(expected)) << text;
    }
    EXPECT_TRUE(StyleOf("Hel").SameFont(normal));
    EXPECT_TRUE(StyleOf("ld").SameFont(keywords));
    EXPECT_TRUE(StyleOf("!").SameFont(normal));
    EXPECT_EQ(LaidOutFont(4).families().value(0), "Courier New");
    EXPECT_EQ(LaidOutFont(4).pointSize(), normal.size);
    // The boxes' way leaves the dialog on and the one property valid.
    EXPECT_TRUE(action.UserInterface);
    EXPECT_EQ(action.ValidProperties, unsigned{kRichFontName});
}

TEST_F(RichFontAction, SizeAloneIsStoredUnzoomedAndKeepsEachRunsFace)
{
    editor.Document().styles.textStyles[3].fontName = "Courier New";
    editor.SetZoomStep(2);
    editor.Format();
    SelectAcrossTwoStyles();
    SFontChoice font;
    font.name = "Times New Roman"; // not valid: stays out
    font.size = 20;
    EXPECT_TRUE(ApplyFontProperties(action, editor, kRichFontSize, font));

    EXPECT_EQ(StyleOf("lo ").size, 20);
    EXPECT_EQ(StyleOf("lo ").fontName, original.styles.textStyles[0].fontName);
    EXPECT_EQ(StyleOf("wor").size, 20);
    EXPECT_EQ(StyleOf("wor").fontName, "Courier New");
    EXPECT_TRUE(StyleOf("wor").italic);
    EXPECT_EQ(StyleOf("Hel").size, original.styles.textStyles[0].size);
    // Drawn at the zoomed size.
    EXPECT_EQ(LaidOutFont(4).pointSize(), 22);
}

TEST_F(RichFontAction, NothingValidOrNothingToSetChangesNothing)
{
    SelectAcrossTwoStyles();
    SFontChoice font;
    font.name = "Courier New";
    font.size = 20;
    EXPECT_FALSE(ApplyFontProperties(action, editor, 0, font));
    font.name.clear();
    EXPECT_FALSE(ApplyFontProperties(action, editor, kRichFontName, font));
    font.size = 0;
    EXPECT_FALSE(ApplyFontProperties(action, editor, kRichFontSize, font));
    EXPECT_EQ(editor.Document().content, original.content);
    EXPECT_EQ(editor.Document().styles, original.styles);
}

TEST_F(RichFontAction, WithItsUserInterfaceTheFontDialogDecides)
{
    lf::test::ScriptedDialogs dialogs;
    SelectAcrossTwoStyles();
    action.Font.name = "Verdana";
    action.Font.size = 10;

    // Cancelled: nothing changes.
    dialogs.AnswerFont(std::nullopt);
    EXPECT_FALSE(action.Execute(editor));
    ASSERT_EQ(dialogs.fontRequests.size(), 1u);
    EXPECT_EQ(dialogs.fontRequests[0].name, "Verdana");
    EXPECT_EQ(editor.Document().content, original.content);

    // Confirmed: the chosen font in full.
    SFontChoice chosen;
    chosen.name = "Courier New";
    chosen.size = 16;
    chosen.color = 0x0000FF;
    chosen.bold = true;
    dialogs.AnswerFont(chosen);
    EXPECT_TRUE(action.Execute(editor));
    for (const char* text : {"lo ", "wor"})
    {
        const SRichTextStyle& style = StyleOf(text);
        EXPECT_EQ(style.fontName, "Courier New") << text;
        EXPECT_EQ(style.size, 16) << text;
        EXPECT_EQ(style.color, 0x0000FFu) << text;
        EXPECT_TRUE(style.bold) << text;
        EXPECT_FALSE(style.italic) << text;
    }
    EXPECT_EQ(action.Font, chosen);
}
