// The main window's rich-text ground, headless: stored texts in the default style show in the field font
// of the options (at start and after the options change), HTML pictures come through the program's
// loader, the hidden scratch views keep sheets of their own, and the font action sets one property on
// the active editor's selection.
#include "platform/qt/RichActions.h"
#include "platform/qt/RichTextHostQt.h"
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "tests/mainwindow/MainWindowTestSupport.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace
{

class MainfrmRichText : public testing::Test, public lf::test::MainWindowHarness
{
protected:
    MainfrmRichText() : m_SavedHost(lf::RichTextHost()) {}
    ~MainfrmRichText() override
    {
        windows.reset();
        lf::RichTextHost() = m_SavedHost;
    }

    // The font Qt lays out the first character of a view's text in.
    static QFont FirstFont(const lf::qt::RichView* view)
    {
        const QTextBlock block = view->document()->begin();
        return block.begin().atEnd() ? QFont() : block.begin().fragment().charFormat().font();
    }
    static std::string Family(const QFont& font) { return font.families().value(0).toStdString(); }

    // Opens a book of one question with that text and starts a session on it.
    void ShowQuestion(const std::string& text, EPhase phase)
    {
        OpenBook(lf::test::OneQuestion(text), phase);
        StartSession();
        ASSERT_EQ(Probe().ActiveView(), EView::Question);
    }

private:
    lf::SRichTextHost m_SavedHost;
};

} // namespace

TEST_F(MainfrmRichText, QuestionInTheDefaultStyleShowsInTheFieldFontOfTheOptions)
{
    // The options of the start are those of the store.
    WriteValueToRegistry2("FieldFontName", "Courier New");
    WriteValueToRegistry("FieldFontSize", 18);
    Start();
    // A text written in another font keeps it; a plain text is in the default style.
    lf::RichDocument own;
    own.styles.textStyles[0].fontName = "Times New Roman";
    own.styles.textStyles[0].size = 9;
    own.content.AddText("Own font?", 0, 0);
    OpenBook(
        [&](lf::test::BookBuilder& book)
        {
            book.multipleChoice("Plain?", {"a", "b"}, 0);
            book.multipleChoice(lf::WriteRichXml(own), {"a", "b"}, 0);
        },
        EPhase::Flash);
    StartSession();
    const lf::qt::RichView* view = Probe().QuestionView();
    ASSERT_EQ(view->toPlainText().toStdString().substr(0, 6), "Plain?");
    EXPECT_EQ(Family(FirstFont(view)), "Courier New");
    EXPECT_EQ(FirstFont(view).pointSize(), 18);

    // The options change: the question on show is drawn again in the new font.
    Prefs().m_FieldFontName = "DejaVu Serif";
    Prefs().m_FieldFontSize = 26;
    Prefs().m_FieldFontStyleBold = true;
    Main().ApplyFieldFont();
    EXPECT_EQ(Family(FirstFont(view)), "DejaVu Serif");
    EXPECT_EQ(FirstFont(view).pointSize(), 26);
    EXPECT_TRUE(FirstFont(view).bold());
    EXPECT_EQ(lf::RichTextHost().fieldFont.name, "DejaVu Serif");

    Click("m_NextBtn");
    ASSERT_EQ(view->toPlainText().toStdString().substr(0, 9), "Own font?");
    EXPECT_EQ(Family(FirstFont(view)), "Times New Roman");
    EXPECT_EQ(FirstFont(view).pointSize(), 9);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainfrmRichText, ChangingTheFontInEditPhaseRedrawsTheEditorAndKeepsWhatWasTyped)
{
    ShowQuestion("First?", EPhase::Edit);
    lf::qt::RichViewEdit* editor = Probe().DescriptionEditor();
    Prefs().m_FieldFontSize = 20;
    Main().ApplyFieldFont();
    EXPECT_EQ(FirstFont(editor).pointSize(), 20);

    // Typed text is stored first (with the look it was typed in), so the redraw does not lose it.
    editor->SetCaret({0, 7});
    editor->InsertText(" Yes.");
    Prefs().m_FieldFontSize = 14;
    Main().ApplyFieldFont();
    EXPECT_EQ(lf::RichPlainText(editor->Document().content), "First? Yes.");
    EXPECT_NE(Items().GetCurrentItem()->GetQuestionText().find("First? Yes."), std::string::npos);
}

TEST_F(MainfrmRichText, PicturesOfAnHtmlQuestionComeThroughTheProgramsLoader)
{
    lf::test::TempDir dir;
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file("map.png")), "PNG"));
    ShowQuestion("<p>Where is it? <img src=\"file://" + dir.file("map.png") + "\"></p>", EPhase::Flash);
    const lf::RichDocument& doc = Probe().QuestionView()->Document();
    const auto picture = std::find_if(doc.content.items.begin(), doc.content.items.end(),
                                      [](const lf::SRichItem& item) { return item.IsPicture(); });
    ASSERT_NE(picture, doc.content.items.end());
    EXPECT_EQ(picture->picture.data, lf::test::ReadFile(dir.file("map.png")));
}

TEST_F(MainfrmRichText, ScratchViewsKeepSheetsOfTheirOwn)
{
    WriteValueToRegistry2("FieldFontName", "Courier New");
    Start();
    EXPECT_EQ(Storage().GetHiddenView(), &Probe().RichViewTMP());
    lf::qt::RichViewEdit* scratch = Probe().RichViewEditTMP();
    ASSERT_NE(scratch, nullptr);
    EXPECT_FALSE(scratch->isVisibleTo(&Main()));
    // The scratch editor's sheet: the six standard text styles in Arial, whatever the field font.
    std::vector<std::string> names;
    for (const lf::SRichTextStyle& style : scratch->Document().styles.textStyles)
    {
        names.push_back(style.name);
        EXPECT_EQ(style.fontName, "Arial") << style.name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Normal text", "Heading", "Subheading", "Keywords", "Jump 1",
                                               "Jump 2"}));

    // Content pasted into it adds its styles there alone.
    const lf::RichStyleSheet viewSheet = Probe().QuestionView()->Document().styles;
    const lf::RichStyleSheet tmpSheet = Probe().RichViewTMP().styles;
    lf::RichDocument pasted;
    pasted.styles.textStyles[0].fontName = "Comic Sans MS";
    pasted.content.AddText("pasted", 0, 0);
    scratch->InsertDocument(pasted);
    EXPECT_EQ(scratch->Document().styles.TextStyleCount(), 7);
    EXPECT_EQ(Probe().QuestionView()->Document().styles, viewSheet);
    EXPECT_EQ(Probe().RichViewTMP().styles, tmpSheet);
    EXPECT_EQ(Probe().RichViewTMP2().styles.textStyles.at(0).fontName, "Courier New");
}

TEST_F(MainfrmRichText, FontActionSetsOneFontPropertyOnTheActiveEditorsSelection)
{
    Start();
    lf::qt::SFontChoice font;
    font.name = "Courier New";
    font.size = 30;
    // No editor has been active yet.
    EXPECT_EQ(Probe().ActiveRichEdit(), nullptr);
    EXPECT_FALSE(Probe().ApplyFontToActiveEditor(lf::qt::kRichFontSize, font));

    ShowQuestion("First?", EPhase::Edit);
    lf::qt::RichViewEdit* editor = Probe().DescriptionEditor();
    ASSERT_EQ(Probe().ActiveRichEdit(), editor);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);

    ASSERT_TRUE(Probe().ApplyFontToActiveEditor(lf::qt::kRichFontSize, font));
    const lf::RichDocument& doc = editor->Document();
    ASSERT_EQ(doc.ItemCount(), 2);
    EXPECT_EQ(doc.content.items[0].text, "First");
    EXPECT_EQ(doc.content.items[1].text, "?");
    const lf::SRichTextStyle& first = doc.styles.textStyles.at(doc.content.items[0].styleNo);
    const lf::SRichTextStyle& rest = doc.styles.textStyles.at(doc.content.items[1].styleNo);
    EXPECT_EQ(first.size, 30);
    EXPECT_EQ(first.fontName, rest.fontName);
    EXPECT_EQ(rest.size, lf::RichTextHost().fieldFont.size);

    ASSERT_TRUE(Probe().ApplyFontToActiveEditor(lf::qt::kRichFontName, font));
    const lf::RichDocument& after = editor->Document();
    const lf::SRichTextStyle& renamed = after.styles.textStyles.at(after.content.items[0].styleNo);
    EXPECT_EQ(renamed.fontName, "Courier New");
    EXPECT_EQ(renamed.size, 30);
}
