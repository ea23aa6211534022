// Answering in the main window on a real book file, headless: recording clicks in the Test phase (choices,
// true/false, matching through the selector list, the Flashcard styles), the Flash hints and click
// feedback on the manual clock, storing what the user typed and the question style switch.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Scalefrm.h"
#include "mainwindow/dialogs/Scoredlg.h"
#include "mainwindow/dialogs/Selectorlistfrm.h"
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/PlainText.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace lf::display;
using lf::test::MultipleChoice;

namespace
{

using ItemList = std::vector<std::unique_ptr<CBaseItem>>;

template <class... T> ItemList MakeItems(std::unique_ptr<T>... items)
{
    ItemList list;
    (list.push_back(std::move(items)), ...);
    return list;
}

// Stands in for the editing windows: records the links followed and hands out a frame when given one.
class RecordingEditing final : public CNullEditingServices
{
public:
    std::vector<std::string>* events = nullptr;
    IEditFrame* frame = nullptr;

    IEditFrame* EditFrame() override { return frame; }
    void OnURLJump(const std::string& target) override
    {
        if (events)
            events->push_back("jump " + target);
    }
    bool HasEditFrame() const override { return frame != nullptr; }
};

// A Moodle header frame with fixed edits.
class HeaderFrame final : public IEditFrame
{
public:
    SQuestionHeader header;
    bool GetQuestionHeader(SQuestionHeader& out) const override
    {
        out = header;
        return true;
    }
    bool StoreAnswers(CBaseItem&, EQuestionStyle, bool&) override { return true; }
    bool StoreFeedbacks(CBaseItem&, bool&) override { return true; }
};

class Answering : public testing::Test, public lf::test::MainWindowHarness
{
protected:
    Answering() : MainWindowHarness(EClock::Fake)
    {
        Start();
        Prefs().m_ViewMode = ToNumber(EQuestionStyle::Moodle);
        Prefs().m_QAX_TYPE_LEARN = 1; // the answers have a pane of their own
        Prefs().m_AuthorId = "tester";
        Main().resize(1100, 800);
    }
    // The window goes before the editing services and the frame a case handed it.
    ~Answering() override { windows.reset(); }

    using MainWindowHarness::Click;
    CItemsArray2& Book() { return Items(); }
    CBaseItem* Current() { return Book().GetCurrentItem(); }
    lf::qt::RichView& View() { return *Probe().QuestionView(); }

    // Writes the questions as a book, opens it in the phase and starts a session on the first question.
    void Open(ItemList items, EPhase phase)
    {
        auto shared = std::make_shared<ItemList>(std::move(items));
        OpenBook(
            [shared](lf::test::BookBuilder& book)
            {
                for (auto& item : *shared)
                    book.add(std::move(item));
            },
            phase);
        StartSession();
        ASSERT_NE(Current(), nullptr);
    }
    // Opens a book of the books folder in the phase and starts a session on its first question.
    void OpenFile(const std::string& name, EPhase phase)
    {
        OpenBookFile(name, phase);
        StartSession();
        ASSERT_NE(Current(), nullptr);
    }
    void ShowAnswers() { Click("m_AnswerBtn"); }

    lf::RichTable& Table()
    {
        lf::RichTable* table = Probe().AnswerTable();
        EXPECT_NE(table, nullptr);
        static lf::RichTable none;
        return table ? *table : none;
    }
    int TableItem()
    {
        const lf::RichDocument& doc = Probe().QuestionView()->Document();
        for (int i = 0; i < doc.ItemCount(); ++i)
            if (doc.content.items[static_cast<std::size_t>(i)].IsTable())
                return i;
        return -1;
    }
    // A mouse press at a point of the document.
    void PressAt(QPoint documentPoint)
    {
        const QPoint scroll(View().horizontalScrollBar()->value(), View().verticalScrollBar()->value());
        QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, documentPoint - scroll);
    }
    void Click(int row, int col = 1) { PressAt(View().CellRect(TableItem(), row, col).center()); }
    int Picture(int row) { return Table().Cell(row, 0).content.items.at(0).imageIndex; }
    lf::RichColor Colour(int row) { return Table().Cell(row, 1).color; }
    std::string Partner(int row) { return lf::RichPlainText(Table().Cell(row, 1).content); }
    std::string Label() { return Child<QLabel>("m_TimeStr")->text().toStdString(); }
    // A key pressed in the active main window, where the focus is, as the user presses it.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Main().activateWindow();
        QApplication::setActiveWindow(&Main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Main();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    QColor LabelColour() { return Child<QLabel>("m_TimeStr")->palette().color(QPalette::WindowText); }
    // Rows of the table whose first cell names an answer with this grade.
    int RowOfAnswer(int answerIndex)
    {
        for (int r = 0; r < Table().RowCount(); ++r)
            if (Table().Cell(r, 0).hint == std::to_string(answerIndex))
                return r;
        return -1;
    }

    // Editing services and a frame a case hands the window.
    RecordingEditing editing;
    HeaderFrame frame;
};

std::unique_ptr<CMultipleChoiceItem> Choices(int letMultiple, int count = 3)
{
    lf::test::ItemBuilder<CMultipleChoiceItem> builder;
    builder.question("Pick.");
    for (int i = 0; i < count; ++i)
        builder.answer("choice " + std::to_string(i), i == 0 ? "1" : "0");
    auto item = builder.build();
    item->SetLetMultipleAnswers(letMultiple);
    return item;
}

// ---------------------------------------------------------------------------------------------------------
// Recording in Test phase

TEST_F(Answering, OneAnswerQuestionKeepsOnlyTheLastChoiceAndTogglesIt)
{
    Open(MakeItems(Choices(0)), EPhase::Test);
    ShowAnswers();
    ASSERT_EQ(Table().RowCount(), 3);
    EXPECT_FALSE(Book().IsModified());
    Click(0);
    Click(2);
    EXPECT_EQ(lf::test::UserAnswers(*Current()), "0,0,1");
    EXPECT_EQ(Picture(0), 21);
    EXPECT_EQ(Picture(2), 33);
    // The highlight moved with the click.
    EXPECT_EQ(Probe().HighlightedRow(), 2);
    EXPECT_EQ(Colour(2), kHighlightColor);
    EXPECT_EQ(Colour(0), lf::kNoColor);
    EXPECT_TRUE(Book().IsModified());
    Click(2);
    EXPECT_EQ(Picture(2), 23);
    EXPECT_EQ(lf::test::UserAnswers(*Current()), "0,0,0");
}

TEST_F(Answering, SeveralAnswersStayTickedTogether)
{
    Open(MakeItems(Choices(1)), EPhase::Test);
    ShowAnswers();
    Click(0);
    Click(1);
    EXPECT_EQ(Picture(0), 11);
    EXPECT_EQ(Picture(1), 12);
    EXPECT_EQ(Picture(2), 3);
    EXPECT_EQ(lf::test::UserAnswers(*Current()), "1,1,");
}

TEST_F(Answering, TrueFalseFalseRowSetsTheChoiceAndBothPictures)
{
    Open(MakeItems(lf::test::TrueFalse("1")), EPhase::Test);
    ShowAnswers();
    Click(1);
    EXPECT_EQ(Picture(0), 21);
    EXPECT_EQ(Picture(1), 32);
    SAnswerItem* answer = nullptr;
    ASSERT_TRUE(Current()->GetAnswer(0, answer));
    EXPECT_EQ(answer->UserAnswer, "0");
    EXPECT_TRUE(Book().IsModified());
}

TEST_F(Answering, MatchingPartnerComesFromTheSelectorListOrStaysOnCancel)
{
    Open(MakeItems(lf::test::Matching()
                       .question("Capitals.")
                       .answer("France", "Paris")
                       .answer("Italy", "Rome")
                       .build()),
         EPhase::Test);
    ShowAnswers();
    const int franceRow = RowOfAnswer(0);
    ASSERT_GE(franceRow, 0);
    EXPECT_EQ(Partner(franceRow), kNotSetTest);

    std::vector<std::string> offered;
    dialogs.AnswerModal(
        [&](QDialog& window)
        {
            auto& selector = dynamic_cast<Tm_pSelectorListFrm&>(window);
            selector.FormShow();
            auto* list = selector.findChild<QListWidget*>("m_pListBox");
            for (int i = 0; i < list->count(); ++i)
                offered.push_back(list->item(i)->text().toStdString());
            list->setCurrentItem(list->findItems("Paris", Qt::MatchExactly).at(0));
            selector.HandleKey(Qt::Key_Return);
            return selector.result();
        });
    Click(franceRow);
    std::sort(offered.begin(), offered.end());
    EXPECT_EQ(offered, (std::vector<std::string>{"Paris", "Rome"}));
    SAnswerItem* pair = nullptr;
    ASSERT_TRUE(Current()->GetAnswer(0, pair));
    EXPECT_EQ(pair->UserAnswer, "Paris");
    EXPECT_EQ(Partner(franceRow), "Paris");
    EXPECT_TRUE(Book().IsModified());

    Book().SetModified(false);
    dialogs.AnswerModal(
        [](QDialog& window)
        {
            auto& selector = dynamic_cast<Tm_pSelectorListFrm&>(window);
            selector.FormShow();
            selector.HandleKey(Qt::Key_Escape);
            EXPECT_EQ(selector.GetChoice(), "");
            return selector.result();
        });
    Click(franceRow);
    EXPECT_EQ(pair->UserAnswer, "Paris");
    EXPECT_FALSE(Book().IsModified());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(Answering, MatchingWithoutPartnersSaysSoAndChangesNothing)
{
    Open(MakeItems(lf::test::Matching().answer("France", "").answer("Italy", "").build()), EPhase::Test);
    ShowAnswers();
    dialogs.AnswerMessage(lf::qt::mrOk);
    Click(0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "There is no matching answer.");
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Warning);
    EXPECT_FALSE(Book().IsModified());
}

TEST_F(Answering, LinkInAMatchingSubQuestionIsFollowedBeforeTheListOpens)
{
    std::vector<std::string> events;
    editing.events = &events;
    Main().SetEditingServices(&editing);
    Open(MakeItems(lf::test::Matching()
                       .answer("<a href=\"bell.wav\">Hear it</a>", "bell")
                       .answer("Quiet", "none")
                       .build()),
         EPhase::Test);
    ShowAnswers();
    const int row = RowOfAnswer(0);
    dialogs.AnswerModal(
        [&](QDialog&)
        {
            events.push_back("selector");
            return lf::qt::mrCancel;
        });
    const QRect cell = View().CellRect(TableItem(), row, 0);
    PressAt(QPoint(cell.left() + 12, cell.center().y()));
    EXPECT_EQ(events, (std::vector<std::string>{"jump bell.wav", "selector"}));
}

TEST_F(Answering, FlashcardStyleTogglesTheShownAnswerWithoutChangingTheBook)
{
    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    Open(MakeItems(Choices(1)), EPhase::Test);
    ShowAnswers();
    ASSERT_EQ(Table().RowCount(), 1);
    Click(0);
    EXPECT_EQ(Picture(0), 10);
    EXPECT_EQ(lf::test::UserAnswers(*Current()), "1,0,0");
    Click(0);
    EXPECT_EQ(Picture(0), 0);
    EXPECT_EQ(lf::test::UserAnswers(*Current()), "0,0,0");
    EXPECT_FALSE(Book().IsModified());
}

TEST_F(Answering, ClickOnTheQuestionTextChangesNothing)
{
    Prefs().m_QAX_TYPE_LEARN = 0; // the answers under the question
    Open(MakeItems(Choices(0)), EPhase::Test);
    ASSERT_GT(TableItem(), 0);
    PressAt(View().ItemRect(0).center());
    EXPECT_EQ(lf::test::UserAnswers(*Current()), ",,");
    EXPECT_FALSE(Book().IsModified());
    EXPECT_EQ(Probe().HighlightedRow(), 0);
    EXPECT_EQ(Colour(0), kHighlightColor);
}

TEST_F(Answering, ScrollingKeepsTheHighlightedRowInSight)
{
    Main().resize(700, 300);
    Open(MakeItems(Choices(0, 9)), EPhase::Test);
    ShowAnswers();
    ASSERT_TRUE(View().IsVScrollBarVisible());
    const auto inSight = [&](int row)
    {
        const QRect cell = View().CellRect(TableItem(), row, 0);
        const int top = View().VScrollPos() * View().VSmallStep();
        return cell.top() >= top - View().VSmallStep() && cell.top() < top + View().ClientHeight();
    };
    EXPECT_FALSE(inSight(8));
    Probe().HighlightAnswerRow({0, TableItem(), 8, 1, {}, false});
    EXPECT_GT(View().VScrollPos(), 0);
    EXPECT_TRUE(inSight(8));
    Probe().HighlightAnswerRow({0, TableItem(), 0, 1, {}, false});
    EXPECT_TRUE(inSight(0));

    Probe().ScrollViewToTop(&View());
    EXPECT_EQ(View().VScrollPos(), 0);
    Probe().ScrollViewUp(&View()); // at the top already
    EXPECT_EQ(View().VScrollPos(), 0);
    Probe().ScrollViewDown(&View());
    EXPECT_EQ(View().VScrollPos(), Probe().WheelScrollLines());
}

// ---------------------------------------------------------------------------------------------------------
// Flash hints and feedback

class FlashHints : public Answering
{
protected:
    void StartFlash(int delay, int hintTenths, ItemList items)
    {
        Prefs().m_QAX_TYPE_LEARN = 0;
        Prefs().m_DelayBeforeHintDelayForLearnMode = delay;
        Prefs().m_HintDelayForLearnMode = hintTenths;
        Open(std::move(items), EPhase::Flash);
        // The session panel's bars carry the values into the session; put them back as the test wants.
        Prefs().m_DelayBeforeHintDelayForLearnMode = delay;
        Prefs().m_HintDelayForLearnMode = hintTenths;
        Probe().StopHintTimers();
        Probe().StartCorrectAnswerHint(EView::Question, 1, 1);
    }
    lf::RichColor RightRowColour() { return Colour(RowOfAnswer(0)); }
};

TEST_F(FlashHints, NoDelayAndNoHintTimeKeepTheHintUntilTheNextQuestion)
{
    StartFlash(0, 0, MakeItems(Choices(0)));
    EXPECT_EQ(RightRowColour(), kCorrectColor);
    EXPECT_EQ(Colour(RowOfAnswer(1)), lf::kNoColor);
    clock.Advance(60000);
    EXPECT_EQ(RightRowColour(), kCorrectColor);
    EXPECT_TRUE(Probe().IsHintShown());
}

TEST_F(FlashHints, DelayThenHintForItsTimeThenPlainAgain)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    const struct
    {
        int at;
        lf::RichColor colour;
    } steps[] = {{1999, lf::kNoColor}, {2000, kCorrectColor}, {3499, kCorrectColor}, {3500, lf::kNoColor}};
    std::int64_t now = 0;
    for (const auto& step : steps)
    {
        clock.Advance(step.at - now);
        now = step.at;
        EXPECT_EQ(RightRowColour(), step.colour) << step.at << " ms";
    }
    EXPECT_FALSE(Probe().IsHintShown());
}

TEST_F(FlashHints, WrongClickSaysNopeForHalfASecondAndTheHintStillComes)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    const int wrong = RowOfAnswer(1);
    Click(wrong);
    EXPECT_EQ(Label(), "Nope.");
    EXPECT_EQ(LabelColour(), lf::qt::ToQColor(0x0000FF));
    EXPECT_EQ(Colour(wrong), kWrongClickColor);
    EXPECT_EQ(Probe().FlashAnswerRow(), wrong);
    clock.Advance(499);
    EXPECT_EQ(Label(), "Nope.");
    clock.Advance(1);
    EXPECT_EQ(Label(), "");
    EXPECT_EQ(Colour(wrong), lf::kNoColor);
    EXPECT_EQ(Probe().FlashAnswerRow(), -1);
    // The delay before the hint kept running.
    clock.Advance(1500);
    EXPECT_EQ(RightRowColour(), kCorrectColor);
}

TEST_F(FlashHints, RightClickSaysCorrectForASecondAndStopsTheHint)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    const int right = RowOfAnswer(0);
    Click(right);
    EXPECT_EQ(Label(), "Correct!");
    EXPECT_EQ(LabelColour(), lf::qt::ToQColor(0xFF0000));
    EXPECT_EQ(Colour(right), kCorrectColor);
    EXPECT_FALSE(Probe().DelayBeforeHintTimer().Running());
    clock.Advance(999);
    EXPECT_EQ(Label(), "Correct!");
    clock.Advance(1);
    EXPECT_EQ(Label(), "");
    clock.Advance(10000);
    EXPECT_EQ(RightRowColour(), lf::kNoColor);
    EXPECT_EQ(clock.ArmedCount(), 0);
}

TEST_F(FlashHints, MatchingClickRevealsThePartnerAndIsAlwaysRight)
{
    StartFlash(5, 0,
               MakeItems(lf::test::Matching().answer("France", "Paris").answer("Italy", "Rome").build()));
    const int italy = RowOfAnswer(1);
    EXPECT_EQ(Partner(italy), "");
    Click(italy, 0);
    EXPECT_EQ(Partner(italy), "Rome");
    EXPECT_EQ(Partner(RowOfAnswer(0)), "");
    EXPECT_EQ(Label(), "Correct!");
}

TEST_F(FlashHints, ClickOutsideTheTableChangesNothing)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    PressAt(View().ItemRect(0).center());
    EXPECT_EQ(Label(), "");
    EXPECT_EQ(Probe().FlashAnswerRow(), -1);
    EXPECT_TRUE(Probe().DelayBeforeHintTimer().Running());
}

TEST_F(FlashHints, AnIndexOutsideTheAnswersIsNotRight)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    Table().Cell(0, 0).hint = "7";
    Click(0);
    EXPECT_EQ(Label(), "Nope.");
}

TEST_F(FlashHints, ShortAnswerCardShowsItsAnswerWithoutEverBeingAnswered)
{
    Prefs().m_QAX_TYPE_LEARN = 1;
    Prefs().m_DelayBeforeHintDelayForLearnMode = 0;
    Prefs().m_HintDelayForLearnMode = 0;
    Open(MakeItems(lf::test::ShortAnswer().question("Capital of France?").answer("Paris", "1").build()),
         EPhase::Flash);
    ShowAnswers();
    PressAt(QPoint(20, 10));
    EXPECT_EQ(lf::RichPlainText(View().Document().content), "Paris");
    EXPECT_EQ(Label(), "Correct!");
    EXPECT_TRUE(Current()->GetCommonUserAnswerInfo().UserAnswer.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Storing what the user typed

TEST_F(Answering, MarkedThenNextStampsTheQuestion)
{
    Open(MakeItems(Choices(0), Choices(0)), EPhase::Test);
    CBaseItem* first = Current();
    System().utcSeconds = 1'800'000'000;
    Child<QCheckBox>("m_MarkChek")->setChecked(true);
    Click("m_NextBtn");
    EXPECT_TRUE(first->TestStatus(qsMarked));
    EXPECT_EQ(first->GetModifierStr(), "tester");
    EXPECT_EQ(first->GetLastModified(), 1'800'000'000);
    EXPECT_TRUE(Book().IsModified());
    EXPECT_NE(Current(), first);
}

TEST_F(Answering, SetToTrashAndBack)
{
    Open(MakeItems(Choices(0)), EPhase::Edit);
    CBaseItem* item = Current();
    const std::int32_t chapter = item->GetCategoryID();
    QComboBox* setTo = Child<QComboBox>("m_RecordCategoryList");
    ASSERT_GE(setTo->findData(-10), 0);
    setTo->setCurrentIndex(setTo->findData(-10));
    std::uint8_t changed = 0;
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(item->GetCategoryID(), -10);
    EXPECT_TRUE(item->TestStatus(qsInTrash));
    setTo->setCurrentIndex(setTo->findData(chapter));
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(item->GetCategoryID(), chapter);
    EXPECT_FALSE(item->TestStatus(qsInTrash));
    // Nothing differs any more: nothing is written.
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(changed, 0);
}

TEST_F(Answering, FlashcardAnswerTypedIntoAQuestionWithoutAnswers)
{
    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    Open(MakeItems(MultipleChoice().question("Capital of Germany?").build()), EPhase::Edit);
    ShowAnswers();
    Probe().DescriptionEditor()->InsertText("Berlin");
    std::uint8_t changed = 0;
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(changed, 1);
    ASSERT_EQ(Current()->GetAnswerCount(), 1);
    SAnswerItem* answer = nullptr;
    ASSERT_TRUE(Current()->GetAnswer(0, answer));
    EXPECT_EQ(answer->Correct, "1");
    lf::RichDocument scratch;
    std::string plain;
    GetPlainTextFromXML(answer->AnswerText, scratch, plain, true);
    EXPECT_EQ(plain, "Berlin");
}

// A penalty answer before the right one is never taken for it: both Flashcard styles show the right one in
// a study phase, and their editor loads and stores into it, the penalty answer keeping its text and grade.
TEST_F(Answering, FlashcardStylesShowAndStoreTheRightAnswerPastAPenaltyOne)
{
    auto plainOf = [](const std::string& stored)
    {
        lf::RichDocument scratch;
        std::string plain;
        GetPlainTextFromXML(stored, scratch, plain, true);
        return plain;
    };
    auto penaltyFirst = [] { return MultipleChoice().answer("Rome", "-0.5").answer("Paris", "1").build(); };
    for (const EQuestionStyle style : {EQuestionStyle::Flashcard, EQuestionStyle::FlashcardPlus})
    {
        SCOPED_TRACE(static_cast<int>(style));
        Prefs().m_ViewMode = ToNumber(style);
        Open(MakeItems(penaltyFirst()), EPhase::Flash);
        ShowAnswers();
        EXPECT_NE(View().toPlainText().toStdString().find("Paris"), std::string::npos);
        EXPECT_EQ(View().toPlainText().toStdString().find("Rome"), std::string::npos);

        Open(MakeItems(penaltyFirst()), EPhase::Edit);
        ShowAnswers();
        lf::qt::RichViewEdit* editor = Probe().DescriptionEditor();
        EXPECT_EQ(lf::RichPlainText(editor->Document().content), "Paris");
        editor->SetCaret({0, 6});
        editor->InsertText(", France");
        ASSERT_TRUE(Probe().OnStorageData(nullptr));
        SAnswerItem* penalty = nullptr;
        SAnswerItem* right = nullptr;
        ASSERT_TRUE(Current()->GetAnswer(0, penalty));
        ASSERT_TRUE(Current()->GetAnswer(1, right));
        EXPECT_EQ(plainOf(penalty->AnswerText), "Rome");
        EXPECT_EQ(penalty->Correct, "-0.5");
        EXPECT_EQ(plainOf(right->AnswerText), "Paris, France");
        EXPECT_EQ(right->Correct, "1");
    }
}

// The answers pane edits the answer it shows: the first credited one, even without a text, and with none
// credited the first, which keeps its text and becomes credited.
TEST_F(Answering, FlashcardEditorStoresIntoTheAnswerItShowed)
{
    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    Open(MakeItems(MultipleChoice().answer("", "1").answer("Paris", "1").build(),
                   MultipleChoice().answer("Rome", "0").answer("Oslo", "0").build()),
         EPhase::Edit);
    auto plainOf = [](const std::string& stored)
    {
        lf::RichDocument scratch;
        std::string plain;
        GetPlainTextFromXML(stored, scratch, plain, true);
        return plain;
    };
    auto answerText = [&](int i)
    {
        SAnswerItem* answer = nullptr;
        EXPECT_TRUE(Current()->GetAnswer(i, answer));
        return answer ? std::pair{plainOf(answer->AnswerText), answer->Correct}
                      : std::pair<std::string, std::string>{};
    };
    ShowAnswers();
    Probe().DescriptionEditor()->InsertText("Berlin");
    std::uint8_t changed = 0;
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(answerText(0), (std::pair<std::string, std::string>{"Berlin", "1"}));
    EXPECT_EQ(answerText(1), (std::pair<std::string, std::string>{"Paris", "1"}));

    Click("m_NextBtn");
    ShowAnswers();
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(answerText(0), (std::pair<std::string, std::string>{"Rome", "1"}));
    EXPECT_EQ(answerText(1), (std::pair<std::string, std::string>{"Oslo", "0"}));
}

TEST_F(Answering, MoodleHeaderFillsAnEmptyGradeAndPenalty)
{
    editing.frame = &frame;
    Main().SetEditingServices(&editing);
    Open(MakeItems(MultipleChoice()
                       .with(
                           [](CBaseItem& item)
                           {
                               item.SetDefaultQuestionGrade("2");
                               item.SetPenaltyFactor("0.5");
                           })
                       .build()),
         EPhase::Edit);
    std::uint8_t changed = 0;
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Current()->GetDefaultQuestionGrade(), "1");
    EXPECT_EQ(Current()->GetPenaltyFactor(), "0.1");
    EXPECT_EQ(Current()->GetName(), "Unnamed");
    frame.header.name = "Q7";
    frame.header.image = "map.png";
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(Current()->GetName(), "Q7");
    EXPECT_EQ(Current()->GetImageToDisplay(), "map.png");
}

TEST_F(Answering, TypedLineBreaksAreStoredAsLineFeeds)
{
    Open(MakeItems(lf::test::ShortAnswer().question("Two lines?").answer("a", "1").build(), Choices(0)),
         EPhase::Test);
    ShowAnswers();
    ASSERT_TRUE(Probe().DescriptionEditor()->isVisibleTo(&Main()));
    Probe().DescriptionEditor()->InsertText("first\nsecond");
    CBaseItem* typed = Current();
    Click("m_NextBtn");
    EXPECT_EQ(typed->GetCommonUserAnswerInfo().UserAnswer, "first\n\nsecond");
    EXPECT_TRUE(Book().IsModified());
}

TEST_F(Answering, NothingIsStoredWhileTheWindowUpdates)
{
    Open(MakeItems(Choices(0)), EPhase::Test);
    std::vector<std::pair<bool, int>> during;
    QObject::connect(Probe().QuestionView(), &QTextEdit::textChanged, &Main(),
                     [&]
                     {
                         std::uint8_t changed = 7;
                         during.emplace_back(Probe().OnStorageData(&changed), changed);
                     });
    Child<QCheckBox>("m_MarkChek")->setChecked(true);
    Probe().OnUpdateForm(1, 0);
    ASSERT_FALSE(during.empty());
    for (const auto& [result, changed] : during)
    {
        EXPECT_FALSE(result);
        EXPECT_EQ(changed, 7);
    }
}

TEST_F(Answering, QuestionPaneStoreNamesOnlyAnUnnamedQuestion)
{
    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    Open(MakeItems(MultipleChoice().name("Capital").build(), MultipleChoice().build()), EPhase::Edit);
    std::uint8_t changed = 1;
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(Current()->GetName(), "Capital");
    EXPECT_EQ(changed, 0);
    Click("m_NextBtn");
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(Current()->GetName(), "Unnamed");
    EXPECT_EQ(changed, 0);
    EXPECT_FALSE(Book().IsModified());
}

TEST_F(Answering, EditPaneRewritesOnlyAnEditedText)
{
    Open(MakeItems(MultipleChoice().question("Plain words, <b>one bold</b>.").name("Q").build()),
         EPhase::Edit);
    const std::string stored = Current()->GetQuestionText();
    std::uint8_t changed = 1;
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(Current()->GetQuestionText(), stored);
    EXPECT_FALSE(Book().IsModified());
    Probe().DescriptionEditor()->InsertText(" More.");
    ASSERT_TRUE(Probe().OnStorageData(&changed));
    EXPECT_EQ(changed, 1);
    lf::RichDocument scratch;
    std::string plain;
    GetPlainTextFromXML(Current()->GetQuestionText(), scratch, plain, true);
    EXPECT_NE(plain.find("More."), std::string::npos);
}

// ---------------------------------------------------------------------------------------------------------
// Question style

TEST_F(Answering, StyleFacesAndMenusSetTheStyle)
{
    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    Click("m_pViewModeBtn");
    EXPECT_EQ(Prefs().GetQuestionStyle(), EQuestionStyle::MultipleChoice);
    Click("m_MoodleModeBtn");
    EXPECT_EQ(Prefs().GetQuestionStyle(), EQuestionStyle::MultipleChoice);
    const struct
    {
        const char* name;
        int style;
    } entries[] = {{"FlashcardMenuItem", 0},  {"FlashcardPlusMenuItem", 1},
                   {"MoodleMenuItem", 3},     {"MultipleChoiceMenuItem", 2},
                   {"Flashcard1MenuItem", 0}, {"Flashcard1PlusMenuItem", 1},
                   {"Moodle1MenuItem", 3},    {"MultipleChoice1MenuItem", 2}};
    for (const auto& entry : entries)
    {
        QAction* action = Main().findChild<QAction*>(entry.name);
        ASSERT_NE(action, nullptr) << entry.name;
        action->trigger();
        EXPECT_EQ(Prefs().GetViewMode(), entry.style) << entry.name;
    }
    // The style button of the main toolbar drops the menu down.
    bool dropsDown = false;
    for (QToolBar* bar : Main().findChildren<QToolBar*>())
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(Child<QAction>("m_pViewModeBtn"))))
            dropsDown = button->menu() == Probe().ViewModePopupMenu();
    EXPECT_TRUE(dropsDown);
}

TEST_F(Answering, StyleChangeStoresTheTypedAnswerAndShowsOnlyChoicesInChoiceStyles)
{
    Open(MakeItems(lf::test::ShortAnswer().question("Capital?").answer("Paris", "1").build(), Choices(0)),
         EPhase::Test);
    ShowAnswers();
    Probe().DescriptionEditor()->InsertText("Paris");
    Trigger("MultipleChoiceMenuItem");
    CBaseItem* typed = nullptr;
    for (int i = 0; i < Book().GetCount(); ++i)
        if (Book().GetItem(i)->GetQuestionType() == qtShortAnswer)
            typed = Book().GetItem(i);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->GetCommonUserAnswerInfo().UserAnswer, "Paris");
    EXPECT_EQ(Book().GetSequenceCount(), 1);
    EXPECT_EQ(Current()->GetQuestionType(), qtMultipleChoice);
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
}

TEST_F(Answering, StyleChangeOnTheSessionPanelRefreshesItWithoutOpeningAQuestion)
{
    Open(MakeItems(Choices(0)), EPhase::Test);
    Click("CloseBook1");
    ChoosePhase(EPhase::Test);
    ASSERT_TRUE(Child<QFrame>("m_SessionView")->isVisibleTo(&Main()));
    Trigger("FlashcardMenuItem");
    EXPECT_EQ(Prefs().GetQuestionStyle(), EQuestionStyle::Flashcard);
    EXPECT_TRUE(Child<QFrame>("m_SessionView")->isVisibleTo(&Main()));
    EXPECT_FALSE(Child<QFrame>("m_MainView")->isVisibleTo(&Main()));
}

TEST_F(Answering, HelpAndScaleWindowsAreMadeOnceAndKeepTheirState)
{
    Tm_pHelpFrm& help = Probe().HelpFrm();
    EXPECT_EQ(help.windowTitle().toStdString(), "Help");
    help.RichView().Document().content.AddText("Test Phase", 0, 0, true);
    lf::test::Named<QPushButton>(Probe().HelpFrm(), "m_pCloseBtn")->click();
    EXPECT_EQ(&Probe().HelpFrm(), &help);
    EXPECT_EQ(lf::RichPlainText(Probe().HelpFrm().RichView().Document().content), "Test Phase");
    Probe().ScaleFrm().SetScale(150, false, false, {});
    int percent = 0;
    bool checked = false;
    Probe().ScaleFrm().GetScale(percent, checked);
    EXPECT_EQ(percent, 150);
}

// ---------------------------------------------------------------------------------------------------------
// The whole loop on the sample book

// The first answer of the question whose grade is credited (or not).
int FirstAnswer(CBaseItem& item, bool credited)
{
    for (int i = 0; i < item.GetAnswerCount(); ++i)
    {
        SAnswerItem* a = nullptr;
        if (item.GetAnswer(i, a) && (!a->Correct.empty() && a->Correct != "0") == credited)
            return i;
    }
    return -1;
}

TEST_F(Answering, SampleBookFromTestThroughReviewAndFlashToTheSavedFile)
{
    const std::filesystem::path sample =
        std::filesystem::path(lf::test::DataFile("x")).parent_path().parent_path().parent_path() / "samples" /
        "The Sample Book.lnf";
    ASSERT_TRUE(std::filesystem::exists(sample));
    std::filesystem::copy_file(sample, MainWindowHarness::books.file("Sample.lnf"));
    OpenFile("Sample.lnf", EPhase::Test);
    const int count = Book().GetSequenceCount();
    ASSERT_EQ(count, 20);

    std::set<std::string> answeredWrong;
    std::map<std::string, std::string> typed;
    std::string markedName;
    for (int q = 0;; ++q)
    {
        ASSERT_LT(q, count) << "Next did not reach the last question";
        CBaseItem& item = *Current();
        const std::string name = item.GetName();
        const bool wrong = q % 3 == 1;
        ShowAnswers();
        switch (item.GetQuestionType())
        {
        case qtMultipleChoice:
            if (wrong)
                Click(RowOfAnswer(FirstAnswer(item, false)));
            else if (static_cast<CMultipleChoiceItem&>(item).GetLetMultipleAnswers() != 0)
            {
                for (int i = 0; i < item.GetAnswerCount(); ++i)
                {
                    SAnswerItem* a = nullptr;
                    if (item.GetAnswer(i, a) && a->Correct != "0")
                        Click(RowOfAnswer(i));
                }
            }
            else
                Click(RowOfAnswer(FirstAnswer(item, true)));
            break;
        case qtTrueFalse:
        {
            SAnswerItem* a = nullptr;
            ASSERT_TRUE(item.GetAnswer(0, a));
            const bool statement = a->Correct == "1";
            Click(RowOfAnswer(statement != wrong ? 1 : 0));
            break;
        }
        case qtShortAnswer:
        case qtNumerical:
        {
            SAnswerItem* a = nullptr;
            ASSERT_TRUE(item.GetAnswer(FirstAnswer(item, true), a));
            typed[name] = wrong ? "nothing like it" : a->AnswerText;
            Probe().DescriptionEditor()->InsertText(typed[name]);
            break;
        }
        case qtMatching:
            for (int i = 0; i < item.GetAnswerCount(); ++i)
            {
                SAnswerItem* pair = nullptr;
                SAnswerItem* other = nullptr;
                ASSERT_TRUE(item.GetAnswer(i, pair));
                ASSERT_TRUE(item.GetAnswer((i + 1) % item.GetAnswerCount(), other));
                const std::string partner = wrong ? other->Correct : pair->Correct;
                dialogs.AnswerModal(
                    [partner](QDialog& window)
                    {
                        auto& selector = dynamic_cast<Tm_pSelectorListFrm&>(window);
                        selector.FormShow();
                        auto* list = selector.findChild<QListWidget*>("m_pListBox");
                        list->setCurrentItem(
                            list->findItems(QString::fromStdString(partner), Qt::MatchExactly).at(0));
                        selector.ChooseSelected();
                        return selector.result();
                    });
                Click(RowOfAnswer(i));
            }
            break;
        case qtEssay:
            Probe().DescriptionEditor()->InsertText("Because of the tilt of its axis.");
            break;
        default:
            break;
        }
        if (wrong && item.GetQuestionType() != qtEssay)
            answeredWrong.insert(name);
        if (q == 4)
        {
            Child<QCheckBox>("m_MarkChek")->setChecked(true);
            markedName = name;
        }
        if (Book().GetCurrentNumber() == count)
            break;
        Click("m_NextBtn");
    }
    EXPECT_TRUE(dialogs.AllAnswersUsed());

    // Past the last question the score dialog offers the incorrect ones for Review.
    dialogs.AnswerModal(Tm_ScoreDlg::kIncorrect);
    Click("m_NextBtn");
    ASSERT_EQ(Storage().GetPhase(), EPhase::Review);
    if (Child<QFrame>("m_SessionView")->isVisibleTo(&Main()))
        Click("m_StartSessionBtn");
    std::set<std::string> reviewed;
    for (int q = 0;; ++q)
    {
        ASSERT_LT(q, count) << "Next did not reach the last question";
        reviewed.insert(Current()->GetName());
        EXPECT_EQ(Label(), "Incorrect") << Current()->GetName();
        if (Book().GetCurrentNumber() == Book().GetSequenceCount())
            break;
        Click("m_NextBtn");
    }
    EXPECT_EQ(reviewed, answeredWrong);

    // Review's end goes on to Flash with every question; the first card shows its answer as the hint.
    Child<QSlider>("m_pDelayBeforeHintTrackBar")->setValue(0);
    Child<QSlider>("m_HintTimeTrBar")->setValue(10);
    dialogs.AnswerModal(Tm_ScoreDlg::kAll);
    Click("m_NextBtn");
    ASSERT_EQ(Storage().GetPhase(), EPhase::Flash);
    if (Child<QFrame>("m_SessionView")->isVisibleTo(&Main()))
    {
        Child<QSlider>("m_pDelayBeforeHintTrackBar")->setValue(0);
        Child<QSlider>("m_HintTimeTrBar")->setValue(10);
        Click("m_StartSessionBtn");
    }
    ShowAnswers();
    ASSERT_EQ(Current()->GetQuestionType(), qtMultipleChoice);
    EXPECT_EQ(Colour(RowOfAnswer(FirstAnswer(*Current(), true))), kCorrectColor);

    // Saved and read again, the answers and the mark are in the file.
    Probe().SaveBook(false, false);
    EXPECT_FALSE(Book().IsModified());
    CItemsArray2 reread;
    ASSERT_TRUE(Storage().LoadXML(MainWindowHarness::books.file("Sample.lnf"), &reread, 0, true, false));
    int wrongInFile = 0;
    for (int i = 0; i < reread.GetCount(); ++i)
    {
        CBaseItem& item = *reread.GetItem(i);
        SCOPED_TRACE(item.GetName());
        EXPECT_EQ(item.IsMarked(), item.GetName() == markedName);
        if (item.GetQuestionType() == qtEssay)
        {
            lf::RichDocument scratch;
            std::string plain;
            GetPlainTextFromXML(item.GetCommonUserAnswerInfo().UserAnswer, scratch, plain, true);
            EXPECT_EQ(plain, "Because of the tilt of its axis.");
            continue;
        }
        EXPECT_TRUE(item.IsAnswered());
        if (typed.count(item.GetName()))
        {
            EXPECT_EQ(item.GetCommonUserAnswerInfo().UserAnswer, typed[item.GetName()]);
        }
        wrongInFile += item.GetResult() != 1;
    }
    EXPECT_EQ(wrongInFile, static_cast<int>(answeredWrong.size()));
}

// ---------------------------------------------------------------------------------------------------------
// The answer keys through the window

TEST_F(Answering, AltDigitHighlightsARowAndCtrlDigitOrLetterChoosesIt)
{
    Open(MakeItems(Choices(0)), EPhase::Test);
    ShowAnswers();
    ASSERT_EQ(Table().RowCount(), 3);
    Press(Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(Probe().HighlightedRow(), 2);
    EXPECT_EQ(Colour(2), kHighlightColor);
    EXPECT_EQ(lf::test::UserAnswers(*Current()), ",,");
    EXPECT_FALSE(Book().IsModified());

    const struct
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        int row;
        const char* answers;
    } presses[] = {{Qt::Key_2, Qt::ControlModifier, 1, "0,1,0"},
                   {Qt::Key_C, Qt::NoModifier, 2, "0,0,1"},
                   {Qt::Key_3, Qt::ControlModifier, 2, "0,0,0"}}; // the same row again takes it back
    for (const auto& press : presses)
    {
        Press(press.key, press.modifiers);
        EXPECT_EQ(Probe().HighlightedRow(), press.row) << press.answers;
        EXPECT_EQ(lf::test::UserAnswers(*Current()), press.answers);
    }
    EXPECT_TRUE(Book().IsModified());
}

TEST_F(FlashHints, CtrlDigitOfTheRightRowSaysCorrectAndOfAWrongOneNope)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    Press(Qt::Key_1 + RowOfAnswer(1), Qt::ControlModifier);
    EXPECT_EQ(Label(), "Nope.");
    clock.Advance(500);
    Press(Qt::Key_1 + RowOfAnswer(0), Qt::ControlModifier);
    EXPECT_EQ(Label(), "Correct!");
    EXPECT_EQ(Colour(RowOfAnswer(0)), kCorrectColor);
    EXPECT_FALSE(Book().IsModified());
}

} // namespace
