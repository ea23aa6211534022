// The question display of the main window, headless: captions, counter and buttons by phase, the Review
// verdict, the question's picture, the data-set row of a calculated question, the empty sequence, the
// text zoom and the answer table's references.
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/items/Datatypes_Kinds.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/RichView.h"
#include "platform/richtext/PlainText.h"
#include "platform/sys/SystemServices.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/RecordingDesktop.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace lf::display;
using lf::test::MultipleChoice;

namespace
{

class MainfrmDisplay : public testing::Test, public lf::test::MainWindowHarness
{
protected:
    MainfrmDisplay()
    {
        Start();
        Prefs().m_ViewMode = ToNumber(EQuestionStyle::Moodle);
        Prefs().m_QAX_TYPE_LEARN = 0;
    }
    // The window goes before the desktop recorder it plays sounds through.
    ~MainfrmDisplay() override { windows.reset(); }

    CBaseItem* Add(std::unique_ptr<CBaseItem> item)
    {
        CBaseItem* raw = item.get();
        Items().InsertItem(std::move(item), false, -1);
        return raw;
    }
    // Five multiple-choice questions.
    void AddFive()
    {
        for (int i = 0; i < 5; ++i)
            Add(MultipleChoice()
                    .question("Q" + std::to_string(i + 1))
                    .answer("yes", "1")
                    .answer("no", "0")
                    .build());
    }
    // Shows the first question of the phase, the way the session start shows it.
    void ShowFirst(EPhase phase)
    {
        Storage().SetCurrentMode(phase);
        Items().SetActiveCategory(kAllCategoriesID, false);
        Items().Refilter(true);
        Items().First();
        Probe().SetActiveView(EView::Question, 255, 1);
    }
    void Next()
    {
        Items().Next();
        Probe().SetActiveView(EView::Question, 1, 1);
    }
    std::string ViewText() { return lf::RichPlainText(Probe().QuestionView()->Document().content); }
    std::string Caption() { return Child<QLabel>("m_ActiveViewModeCaption")->text().toStdString(); }
    bool Shown(QWidget* w) { return w->isVisibleTo(&Main()); }
    bool Shown(const char* name) { return Shows(name); }

    lf::test::RecordingDesktop desktop;
};

} // namespace

TEST_F(MainfrmDisplay, CaptionsCarryTheViewAndTheKind)
{
    Add(lf::test::TrueFalse("1"));
    ShowFirst(EPhase::Review);
    EXPECT_EQ(Caption(), "Question (True/False) : ");
    Probe().SetActiveView(EView::Answers, 1, 1);
    EXPECT_EQ(Caption(), "Answers (True/False) : ");
    Probe().SetActiveView(EView::Explanation, 1, 1);
    EXPECT_EQ(Caption(), "Explanation (True/False) : ");
}

TEST_F(MainfrmDisplay, CounterAndButtonsThroughFiveQuestionsByPhase)
{
    AddFive();
    for (const EPhase phase : {EPhase::Test, EPhase::Review, EPhase::Flash, EPhase::Edit})
    {
        ShowFirst(phase);
        for (int n = 1; n <= 5; ++n)
        {
            SCOPED_TRACE("phase " + std::to_string(ToNumber(phase)) + " question " + std::to_string(n));
            EXPECT_EQ(Child<QLabel>("m_CurrentNumStr")->text().toStdString(), std::to_string(n) + "/5");
            EXPECT_EQ(Shown("m_PrevBtn"), n > 1);
            EXPECT_EQ(Shown("m_NextBtn"), phase != EPhase::Edit || n < 5);
            EXPECT_EQ(Child<QScrollBar>("m_QuestionScroll")->value(), n);
            EXPECT_EQ(Child<QScrollBar>("m_QuestionScroll")->maximum(), 5);
            if (n < 5)
                Next();
        }
        // Multiple Choice and Moodle styles show the explanation outside Test.
        EXPECT_EQ(Shown("m_ExplainBtn"), phase != EPhase::Test);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainfrmDisplay, ReviewVerdictInTheStatusLabel)
{
    Add(lf::test::TrueFalse("1", "1"));
    Add(lf::test::TrueFalse("1", "0"));
    Add(lf::test::Matching().answer("cat", "meow", "meow").answer("dog", "woof", "meow").build());
    Add(MultipleChoice().answer("x", "1").build());
    Add(std::make_unique<CDescriptionItem>());
    ShowFirst(EPhase::Review);
    const struct
    {
        const char* text;
        lf::RichColor colour;
    } expected[] = {{"Correct", 0xFF0000},
                    {"Incorrect", 0x0000FF},
                    {"Partially correct", 0x0000FF},
                    {"", kWindowTextColour},
                    {"", kWindowTextColour}};
    for (const auto& e : expected)
    {
        EXPECT_EQ(Child<QLabel>("m_TimeStr")->text().toStdString(), e.text);
        EXPECT_EQ(Child<QLabel>("m_TimeStr")->palette().color(QPalette::WindowText),
                  lf::qt::ToQColor(e.colour))
            << e.text;
        Next();
    }
}

TEST_F(MainfrmDisplay, QuestionPictureFollowsTheTextCentredOrIsRefused)
{
    lf::test::TempDir dir;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file("pic.jpeg")), "JPEG"));
    lf::test::WriteFile(dir.file("scan.tif"), "II*");
    const auto pictured = [&](const std::string& file)
    {
        auto item = MultipleChoice().question("Look at it.").answer("ok", "1").build();
        item->SetImageToDisplay(" " + file + " ");
        return item;
    };
    Add(pictured(dir.file("pic.jpeg")));
    Add(pictured(dir.file("scan.tif")));
    Add(pictured(dir.file("gone.png")));
    ShowFirst(EPhase::Flash);

    const lf::RichDocument& doc = Probe().QuestionView()->Document();
    ASSERT_GE(doc.ItemCount(), 2);
    EXPECT_EQ(doc.content.items[0].text, "Look at it.");
    const lf::SRichItem& picture = doc.content.items[1];
    EXPECT_EQ(picture.styleNo, lf::kRichStylePicture);
    EXPECT_TRUE(picture.newParagraph);
    EXPECT_EQ(doc.styles.paraStyles.at(static_cast<std::size_t>(picture.paraNo)).name, "Centered");
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.AnswerMessage(1);
    dialogs.AnswerMessage(1);
    Next();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Format '.tif' is not supported!");
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Warning);
    Next();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "File '" + dir.file("gone.png") + "' is not exist!");
    // The text stays on show.
    EXPECT_EQ(Probe().QuestionView()->Document().content.items.at(0).text, "Look at it.");
}

// The questions of a book without a file (as the fixture's are): a relative picture name has no media
// folder to be found in and is not looked for beside the program; the warning names it as stored.
TEST_F(MainfrmDisplay, RelativePictureOfABookWithoutAFileIsNamedInTheWarning)
{
    ASSERT_TRUE(Storage().GetFileName().empty());
    lf::test::TempDir dir;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    std::filesystem::create_directories(dir.file("Pics"));
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file("Pics/cell.png")), "PNG"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());

    for (const char* stored : {"Pics\\cell.png", " Pics/cell.png "})
    {
        auto item = MultipleChoice().question("Look at it.").answer("ok", "1").build();
        item->SetImageToDisplay(stored);
        Add(std::move(item));
    }
    // A blank name is no picture at all.
    auto blank = MultipleChoice().question("Nothing to see.").answer("ok", "1").build();
    blank->SetImageToDisplay("   ");
    Add(std::move(blank));

    dialogs.AnswerMessage(1);
    dialogs.AnswerMessage(1);
    ShowFirst(EPhase::Flash);
    Next();
    Next();
    std::filesystem::current_path(before);

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "File 'Pics\\cell.png' is not exist!");
    EXPECT_EQ(dialogs.messages[1].text, "File 'Pics/cell.png' is not exist!");
    EXPECT_EQ(dialogs.messages[1].kind, lf::qt::MsgKind::Warning);
    const lf::RichDocument& doc = Probe().QuestionView()->Document();
    EXPECT_EQ(doc.content.items.at(0).text, "Nothing to see.");
    EXPECT_TRUE(std::none_of(doc.content.items.begin(), doc.content.items.end(),
                             [](const lf::SRichItem& item) { return item.IsPicture(); }));
}

TEST_F(MainfrmDisplay, SoundPlaysWhenTheFileExistsAndNotOnAFlashReset)
{
    lf::test::TempDir dir;
    lf::test::WriteFile(dir.file("hello.wav"), "RIFF");
    CBaseItem* item = Add(MultipleChoice().question("Hear.").answer("ok", "1").build());
    item->SetAudioFileName(dir.file("hello.wav"));
    ShowFirst(EPhase::Flash);
    EXPECT_EQ(desktop.played, std::vector<std::string>{dir.file("hello.wav")});
    Probe().ShowQuestionView(item, false, true);
    EXPECT_EQ(desktop.played.size(), 1u);
    item->SetAudioFileName(dir.file("missing.wav"));
    Probe().OnUpdateForm(1, 0);
    EXPECT_EQ(desktop.played.size(), 1u);
}

TEST_F(MainfrmDisplay, CalculatedRowIsDrawnAgainUntilAnsweredThenKept)
{
    auto item = std::make_unique<CCalculatedItem>();
    item->SetQuestionText("Double {a}.");
    SCalculatedAnswerItem answer;
    answer.AnswerFormula = "{a}*2";
    answer.Correct = "1";
    SCalculatedVariableItem a;
    a.Name = "a";
    for (const char* v : {"10", "11", "12", "13", "14"})
        a.Values.Add(v);
    answer.Variables.Add(a);
    item->AddCalculatedAnswer(answer);
    CCalculatedItem* calculated = static_cast<CCalculatedItem*>(Add(std::move(item)));

    // The rows the generator gives next: a seed whose first two draws differ.
    std::uint32_t seed = 1;
    std::vector<int> rows;
    for (;; ++seed)
    {
        lf::sys::SeedRandom(seed);
        rows = {lf::sys::Random(5), lf::sys::Random(5)};
        if (rows[0] != rows[1])
            break;
    }
    lf::sys::SeedRandom(seed);
    ShowFirst(EPhase::Test);
    EXPECT_EQ(ViewText(), "Double " + std::to_string(10 + rows[0]) + ".");
    Probe().OnUpdateForm(1, 0);
    EXPECT_EQ(ViewText(), "Double " + std::to_string(10 + rows[1]) + ".");
    SCommonUserAnswerInfo info = calculated->GetCommonUserAnswerInfo();
    info.UserAnswer = "24";
    calculated->SetCommonUserAnswerInfo(info);
    for (int i = 0; i < 3; ++i)
        Probe().OnUpdateForm(1, 0);
    EXPECT_EQ(ViewText(), "Double " + std::to_string(10 + rows[1]) + ".");
}

TEST_F(MainfrmDisplay, EmptySequenceSaysTheSearchWasTooStrict)
{
    AddFive();
    ShowFirst(EPhase::Test);
    Storage().GetItemsPtr2()->SetCurrentView(1, true); // marked only: none is marked
    dialogs.AnswerMessage(1);
    Probe().OnUpdateForm(255, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Your search was too strict. \n\n Set your filter to All, and then repeat your request.");
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Warning);
    EXPECT_EQ(Child<QLabel>("m_CurrentNumStr")->text().toStdString(), "0/0");
}

TEST_F(MainfrmDisplay, ZoomIsAppliedOnceHoweverOftenThePaneIsRedrawn)
{
    AddFive();
    for (int i = 0; i < 3; ++i)
        Click("m_IncreaseBtn");
    ShowFirst(EPhase::Review);
    lf::qt::RichView* view = Probe().QuestionView();
    const int stored = view->Document().styles.textStyles.at(0).size;
    for (int i = 0; i < 5; ++i)
    {
        Next();
        Probe().OnUpdateForm(2, 0); // the list window's selection and the chapter choice redraw the bar
    }
    EXPECT_EQ(view->ZoomStep(), 3);
    EXPECT_EQ(view->Document().styles.textStyles.at(0).size, stored);
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::NextCharacter);
    EXPECT_DOUBLE_EQ(cursor.charFormat().fontPointSize(), stored + 3.0);
}

TEST_F(MainfrmDisplay, AnswerTableReferencesGoStaleWhenThePaneIsRebuilt)
{
    Add(MultipleChoice().question("Pick.").answer("a", "1").answer("b", "0").build());
    ShowFirst(EPhase::Test);
    lf::RichTable* table = Probe().AnswerTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RowCount(), 2);
    ASSERT_NE(Probe().HighlightedCell(), nullptr);
    EXPECT_EQ(Probe().HighlightedCell(), &table->Cell(0, 0));
    EXPECT_EQ(Probe().HighlightedCell()->color, kHighlightColor);
    EXPECT_EQ(Probe().HighlightedRow(), 0);

    Probe().ClearQuestionDisplay();
    EXPECT_EQ(Probe().AnswerTable(), nullptr);
    EXPECT_EQ(Probe().HighlightedCell(), nullptr);
    Probe().OnUpdateForm(1, 0);
    EXPECT_NE(Probe().AnswerTable(), nullptr);
    Probe().SetActiveView(EView::Explanation, 1, 0); // the explanation replaces the content
    EXPECT_EQ(Probe().AnswerTable(), nullptr);
}

TEST_F(MainfrmDisplay, TypedAnswerInTestGoesToTheEditorOnTheAnswersView)
{
    Add(lf::test::ShortAnswer().question("Capital?").answer("Paris", "1").typed("Pari").build());
    ShowFirst(EPhase::Test);
    Probe().SetActiveView(EView::Answers, 1, 1);
    EXPECT_TRUE(Shown(Probe().DescriptionEditor()));
    EXPECT_FALSE(Shown(Probe().QuestionView()));
    const lf::RichDocument& editor = Probe().DescriptionEditor()->Document();
    ASSERT_EQ(editor.ItemCount(), 1);
    EXPECT_EQ(editor.content.items[0].text, "Pari");
    EXPECT_EQ(editor.content.items[0].tag, kAnswerTag);
    EXPECT_TRUE(Shown("m_AnswerBtn"));
}
