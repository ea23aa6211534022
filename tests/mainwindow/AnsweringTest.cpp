// Answering in the main window on a real book file, headless: recording clicks in the Test phase (choices,
// true/false, matching through the selector list, the Flashcard styles), the Flash hints and click
// feedback on the manual clock, storing what the user typed and the question style switch.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Scalefrm.h"
#include "mainwindow/dialogs/Scoredlg.h"
#include "mainwindow/dialogs/Selectorlistfrm.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/PlainText.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"
#include "tests/support/qt/ScriptedDialogs.h"
#include "ui_Mainfrm.h"

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

using Items = std::vector<std::unique_ptr<CBaseItem>>;

template <class... T> Items MakeItems(std::unique_ptr<T>... items)
{
    Items list;
    (list.push_back(std::move(items)), ...);
    return list;
}

// Stands in for the editing windows: records the links followed and hands out a frame when given one.
class RecordingEditing final : public IEditingServices
{
public:
    std::vector<std::string>* events = nullptr;
    IEditFrame* frame = nullptr;

    void CreateEditFrame(EView) override {}
    void DestroyEditFrame() override {}
    IEditFrame* EditFrame() override { return frame; }
    void ForgetPagedQuestion() override {}
    void NewQuestionOfKind(int, int) override {}
    void NewQuestionOfCurrentKind(int) override {}
    void DeleteCurrentQuestion() override {}
    void QuickEdit(int) override {}
    void OnURLJump(const std::string& target) override
    {
        if (events)
            events->push_back("jump " + target);
    }
    void OnClipboardChange() override {}
    void RegisterHotKeys(bool) override {}
    void UnregisterHotKeys() override {}
    void ClearImportedImageCache() override {}
    void UpdateEditButtons() override {}
    bool HasEditFrame() const override { return frame != nullptr; }
    bool HandleShortcutKey(SShortcutKey) override { return false; }
    void DuplicateCurrentQuestion() override {}
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

class Answering : public testing::Test
{
protected:
    Answering() : clock(&system)
    {
        frm = std::make_unique<Tm_MainFrm>();
        frm->Prefs().SetBooksDirectory(books.folder());
        frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Moodle);
        frm->DataStorage().ApplyOptions();
        frm->Prefs().m_QAX_TYPE_LEARN = 1; // the answers have a pane of their own
        frm->Prefs().m_AuthorId = "tester";
        frm->resize(1100, 800);
        frm->show();
    }

    CItemsArray2& Book() { return *frm->DataStorage().GetItemsPtr2(); }
    CBaseItem* Current() { return Book().GetCurrentItem(); }
    Ui::Tm_MainFrm& Form() { return frm->Form(); }
    lf::qt::RichView& View() { return *frm->QuestionView(); }

    // Writes the questions as a book, opens it in the phase and starts a session on the first question.
    void Open(Items items, EPhase phase)
    {
        CItemsArray2 book;
        for (auto& item : items)
            book.InsertItem(std::move(item), false, -1);
        ASSERT_TRUE(frm->DataStorage().SaveXML(books.file("Quiz.lnf"), &book, true));
        OpenFile("Quiz.lnf", phase);
    }
    // Opens a book of the books folder in the phase and starts a session on its first question.
    void OpenFile(const std::string& name, EPhase phase)
    {
        ASSERT_TRUE(frm->DataStorage().ReloadBookList());
        const std::int32_t index = frm->DataStorage().GetBookList()->IndexOfBook(name, books.folder());
        ASSERT_GE(index, 0);
        ASSERT_TRUE(frm->SetPhase(phase, 0));
        frm->LoadBook(index, false);
        frm->OnUpdateSeesionView();
        auto* chapters = Form().m_TestList;
        chapters->setCurrentIndex(chapters->findData(kAllCategoriesID));
        frm->m_StartSessionBtnClick();
        ASSERT_NE(Current(), nullptr);
    }
    void ShowAnswers() { frm->m_QAXBtnsClick(Form().m_AnswerBtn); }

    lf::RichTable& Table()
    {
        lf::RichTable* table = frm->AnswerTable();
        EXPECT_NE(table, nullptr);
        static lf::RichTable none;
        return table ? *table : none;
    }
    int TableItem() const
    {
        const lf::RichDocument& doc = frm->QuestionView()->Document();
        for (int i = 0; i < doc.ItemCount(); ++i)
            if (doc.content.items[static_cast<std::size_t>(i)].IsTable())
                return i;
        return -1;
    }
    // A mouse press at a point of the document.
    void PressAt(QPoint documentPoint)
    {
        const QPoint scroll(View().horizontalScrollBar()->value(), View().verticalScrollBar()->value());
        frm->m_DescriptionViewStrRVMouseDown(Qt::LeftButton, {}, documentPoint - scroll);
    }
    void Click(int row, int col = 1) { PressAt(View().CellRect(TableItem(), row, col).center()); }
    int Picture(int row) { return Table().Cell(row, 0).content.items.at(0).imageIndex; }
    lf::RichColor Colour(int row) { return Table().Cell(row, 1).color; }
    std::string Partner(int row) { return lf::RichPlainText(Table().Cell(row, 1).content); }
    std::string Label() { return Form().m_TimeStr->text().toStdString(); }
    // A key pressed in the active main window, where the focus is, as the user presses it.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        frm->activateWindow();
        QApplication::setActiveWindow(frm.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frm.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    QColor LabelColour() { return Form().m_TimeStr->palette().color(QPalette::WindowText); }
    // Rows of the table whose first cell names an answer with this grade.
    int RowOfAnswer(int answerIndex)
    {
        for (int r = 0; r < Table().RowCount(); ++r)
            if (Table().Cell(r, 0).hint == std::to_string(answerIndex))
                return r;
        return -1;
    }

    lf::test::FakeSystem system;
    lf::test::ManualClock clock;
    lf::test::ScriptedDialogs dialogs;
    lf::test::TempDir books;
    // Editing services and a frame a case hands the window; they outlive it.
    RecordingEditing editing;
    HeaderFrame frame;
    std::unique_ptr<Tm_MainFrm> frm;
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
    EXPECT_EQ(frm->HighlightedRow(), 2);
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
    frm->SetEditingServices(&editing);
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
    frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    frm->DataStorage().ApplyOptions();
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
    frm->Prefs().m_QAX_TYPE_LEARN = 0; // the answers under the question
    Open(MakeItems(Choices(0)), EPhase::Test);
    ASSERT_GT(TableItem(), 0);
    PressAt(View().ItemRect(0).center());
    EXPECT_EQ(lf::test::UserAnswers(*Current()), ",,");
    EXPECT_FALSE(Book().IsModified());
    EXPECT_EQ(frm->HighlightedRow(), 0);
    EXPECT_EQ(Colour(0), kHighlightColor);
}

TEST_F(Answering, ScrollingKeepsTheHighlightedRowInSight)
{
    frm->resize(700, 300);
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
    frm->HighlightAnswerRow({0, TableItem(), 8, 1, {}, false});
    EXPECT_GT(View().VScrollPos(), 0);
    EXPECT_TRUE(inSight(8));
    frm->HighlightAnswerRow({0, TableItem(), 0, 1, {}, false});
    EXPECT_TRUE(inSight(0));

    frm->ScrollViewToTop(&View());
    EXPECT_EQ(View().VScrollPos(), 0);
    frm->ScrollViewUp(&View()); // at the top already
    EXPECT_EQ(View().VScrollPos(), 0);
    frm->ScrollViewDown(&View());
    EXPECT_EQ(View().VScrollPos(), frm->WheelScrollLines());
}

// ---------------------------------------------------------------------------------------------------------
// Flash hints and feedback

class FlashHints : public Answering
{
protected:
    void StartFlash(int delay, int hintTenths, Items items)
    {
        frm->Prefs().m_QAX_TYPE_LEARN = 0;
        frm->Prefs().m_DelayBeforeHintDelayForLearnMode = delay;
        frm->Prefs().m_HintDelayForLearnMode = hintTenths;
        Open(std::move(items), EPhase::Flash);
        // The session panel's bars carry the values into the session; put them back as the test wants.
        frm->Prefs().m_DelayBeforeHintDelayForLearnMode = delay;
        frm->Prefs().m_HintDelayForLearnMode = hintTenths;
        frm->StopHintTimers();
        frm->StartCorrectAnswerHint(EView::Question, 1, 1);
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
    EXPECT_TRUE(frm->IsHintShown());
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
    EXPECT_FALSE(frm->IsHintShown());
}

TEST_F(FlashHints, WrongClickSaysNopeForHalfASecondAndTheHintStillComes)
{
    StartFlash(2, 15, MakeItems(Choices(0)));
    const int wrong = RowOfAnswer(1);
    Click(wrong);
    EXPECT_EQ(Label(), "Nope.");
    EXPECT_EQ(LabelColour(), lf::qt::ToQColor(0x0000FF));
    EXPECT_EQ(Colour(wrong), kWrongClickColor);
    EXPECT_EQ(frm->FlashAnswerRow(), wrong);
    clock.Advance(499);
    EXPECT_EQ(Label(), "Nope.");
    clock.Advance(1);
    EXPECT_EQ(Label(), "");
    EXPECT_EQ(Colour(wrong), lf::kNoColor);
    EXPECT_EQ(frm->FlashAnswerRow(), -1);
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
    EXPECT_FALSE(frm->DelayBeforeHintTimer().Running());
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
    EXPECT_EQ(frm->FlashAnswerRow(), -1);
    EXPECT_TRUE(frm->DelayBeforeHintTimer().Running());
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
    frm->Prefs().m_QAX_TYPE_LEARN = 1;
    frm->Prefs().m_DelayBeforeHintDelayForLearnMode = 0;
    frm->Prefs().m_HintDelayForLearnMode = 0;
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
    system.utcSeconds = 1'800'000'000;
    Form().m_MarkChek->setChecked(true);
    frm->m_NextBtnClick();
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
    QComboBox* setTo = Form().m_RecordCategoryList;
    ASSERT_GE(setTo->findData(-10), 0);
    setTo->setCurrentIndex(setTo->findData(-10));
    std::uint8_t changed = 0;
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(item->GetCategoryID(), -10);
    EXPECT_TRUE(item->TestStatus(qsInTrash));
    setTo->setCurrentIndex(setTo->findData(chapter));
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(item->GetCategoryID(), chapter);
    EXPECT_FALSE(item->TestStatus(qsInTrash));
    // Nothing differs any more: nothing is written.
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(changed, 0);
}

TEST_F(Answering, FlashcardAnswerTypedIntoAQuestionWithoutAnswers)
{
    frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    frm->DataStorage().ApplyOptions();
    Open(MakeItems(MultipleChoice().question("Capital of Germany?").build()), EPhase::Edit);
    ShowAnswers();
    frm->DescriptionEditor()->InsertText("Berlin");
    std::uint8_t changed = 0;
    ASSERT_TRUE(frm->OnStorageData(&changed));
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

// The answers pane edits the answer it shows: the first credited one, even without a text, and with none
// credited the first, which keeps its text and becomes credited.
TEST_F(Answering, FlashcardEditorStoresIntoTheAnswerItShowed)
{
    frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    frm->DataStorage().ApplyOptions();
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
    frm->DescriptionEditor()->InsertText("Berlin");
    std::uint8_t changed = 0;
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(answerText(0), (std::pair<std::string, std::string>{"Berlin", "1"}));
    EXPECT_EQ(answerText(1), (std::pair<std::string, std::string>{"Paris", "1"}));

    frm->m_NextBtnClick();
    ShowAnswers();
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(answerText(0), (std::pair<std::string, std::string>{"Rome", "1"}));
    EXPECT_EQ(answerText(1), (std::pair<std::string, std::string>{"Oslo", "0"}));
}

TEST_F(Answering, MoodleHeaderFillsAnEmptyGradeAndPenalty)
{
    editing.frame = &frame;
    frm->SetEditingServices(&editing);
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
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Current()->GetDefaultQuestionGrade(), "1");
    EXPECT_EQ(Current()->GetPenaltyFactor(), "0.1");
    EXPECT_EQ(Current()->GetName(), "Unnamed");
    frame.header.name = "Q7";
    frame.header.image = "map.png";
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(Current()->GetName(), "Q7");
    EXPECT_EQ(Current()->GetImageToDisplay(), "map.png");
}

TEST_F(Answering, TypedLineBreaksAreStoredAsLineFeeds)
{
    Open(MakeItems(lf::test::ShortAnswer().question("Two lines?").answer("a", "1").build(), Choices(0)),
         EPhase::Test);
    ShowAnswers();
    ASSERT_TRUE(frm->DescriptionEditor()->isVisibleTo(frm.get()));
    frm->DescriptionEditor()->InsertText("first\nsecond");
    CBaseItem* typed = Current();
    frm->m_NextBtnClick();
    EXPECT_EQ(typed->GetCommonUserAnswerInfo().UserAnswer, "first\n\nsecond");
    EXPECT_TRUE(Book().IsModified());
}

TEST_F(Answering, NothingIsStoredWhileTheWindowUpdates)
{
    Open(MakeItems(Choices(0)), EPhase::Test);
    std::vector<std::pair<bool, int>> during;
    QObject::connect(frm->QuestionView(), &QTextEdit::textChanged, frm.get(),
                     [&]
                     {
                         std::uint8_t changed = 7;
                         during.emplace_back(frm->OnStorageData(&changed), changed);
                     });
    Form().m_MarkChek->setChecked(true);
    frm->OnUpdateForm(1, 0);
    ASSERT_FALSE(during.empty());
    for (const auto& [result, changed] : during)
    {
        EXPECT_FALSE(result);
        EXPECT_EQ(changed, 7);
    }
}

TEST_F(Answering, QuestionPaneStoreNamesOnlyAnUnnamedQuestion)
{
    frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    frm->DataStorage().ApplyOptions();
    Open(MakeItems(MultipleChoice().name("Capital").build(), MultipleChoice().build()), EPhase::Edit);
    std::uint8_t changed = 1;
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(Current()->GetName(), "Capital");
    EXPECT_EQ(changed, 0);
    frm->m_NextBtnClick();
    ASSERT_TRUE(frm->OnStorageData(&changed));
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
    ASSERT_TRUE(frm->OnStorageData(&changed));
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(Current()->GetQuestionText(), stored);
    EXPECT_FALSE(Book().IsModified());
    frm->DescriptionEditor()->InsertText(" More.");
    ASSERT_TRUE(frm->OnStorageData(&changed));
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
    frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    frm->DataStorage().ApplyOptions();
    frm->m_pViewModeBtnClick();
    EXPECT_EQ(frm->Prefs().GetQuestionStyle(), EQuestionStyle::MultipleChoice);
    frm->m_MoodleModeBtnClick();
    EXPECT_EQ(frm->Prefs().GetQuestionStyle(), EQuestionStyle::MultipleChoice);
    const struct
    {
        const char* name;
        EQuestionStyle style;
    } entries[] = {{"FlashcardMenuItem", EQuestionStyle::Flashcard},
                   {"FlashcardPlusMenuItem", EQuestionStyle::FlashcardPlus},
                   {"MoodleMenuItem", EQuestionStyle::Moodle},
                   {"MultipleChoiceMenuItem", EQuestionStyle::MultipleChoice},
                   {"Flashcard1MenuItem", EQuestionStyle::Flashcard},
                   {"Flashcard1PlusMenuItem", EQuestionStyle::FlashcardPlus},
                   {"Moodle1MenuItem", EQuestionStyle::Moodle},
                   {"MultipleChoice1MenuItem", EQuestionStyle::MultipleChoice}};
    for (const auto& entry : entries)
    {
        QAction* action = frm->findChild<QAction*>(entry.name);
        ASSERT_NE(action, nullptr) << entry.name;
        action->trigger();
        EXPECT_EQ(frm->Prefs().GetQuestionStyle(), entry.style) << entry.name;
    }
    // The style button of the main toolbar drops the menu down.
    bool dropsDown = false;
    for (QToolBar* bar : frm->findChildren<QToolBar*>())
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(Form().m_pViewModeBtn)))
            dropsDown = button->menu() == frm->ViewModePopupMenu();
    EXPECT_TRUE(dropsDown);
}

TEST_F(Answering, StyleChangeStoresTheTypedAnswerAndShowsOnlyChoicesInChoiceStyles)
{
    Open(MakeItems(lf::test::ShortAnswer().question("Capital?").answer("Paris", "1").build(), Choices(0)),
         EPhase::Test);
    ShowAnswers();
    frm->DescriptionEditor()->InsertText("Paris");
    frm->SetQuestionStyle(EQuestionStyle::MultipleChoice);
    CBaseItem* typed = nullptr;
    for (int i = 0; i < Book().GetCount(); ++i)
        if (Book().GetItem(i)->GetQuestionType() == qtShortAnswer)
            typed = Book().GetItem(i);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->GetCommonUserAnswerInfo().UserAnswer, "Paris");
    EXPECT_EQ(Book().GetSequenceCount(), 1);
    EXPECT_EQ(Current()->GetQuestionType(), qtMultipleChoice);
    EXPECT_EQ(frm->m_ActiveView, EView::Question);
}

TEST_F(Answering, StyleChangeOnTheSessionPanelRefreshesItWithoutOpeningAQuestion)
{
    Open(MakeItems(Choices(0)), EPhase::Test);
    frm->CloseBook1Click();
    frm->SetPhase(EPhase::Test, 0);
    ASSERT_TRUE(Form().m_SessionView->isVisibleTo(frm.get()));
    frm->SetQuestionStyle(EQuestionStyle::Flashcard);
    EXPECT_EQ(frm->Prefs().GetQuestionStyle(), EQuestionStyle::Flashcard);
    EXPECT_TRUE(Form().m_SessionView->isVisibleTo(frm.get()));
    EXPECT_FALSE(Form().m_MainView->isVisibleTo(frm.get()));
}

TEST_F(Answering, HelpAndScaleWindowsAreMadeOnceAndKeepTheirState)
{
    Tm_pHelpFrm& help = frm->HelpFrm();
    EXPECT_EQ(help.windowTitle().toStdString(), "Help");
    help.RichView().Document().content.AddText("Test Phase", 0, 0, true);
    frm->HelpFrm().m_pCloseBtnClick();
    EXPECT_EQ(&frm->HelpFrm(), &help);
    EXPECT_EQ(lf::RichPlainText(frm->HelpFrm().RichView().Document().content), "Test Phase");
    frm->ScaleFrm().SetScale(150, false, false, {});
    int percent = 0;
    bool checked = false;
    frm->ScaleFrm().GetScale(percent, checked);
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
    std::filesystem::copy_file(sample, books.file("Sample.lnf"));
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
            frm->DescriptionEditor()->InsertText(typed[name]);
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
            frm->DescriptionEditor()->InsertText("Because of the tilt of its axis.");
            break;
        default:
            break;
        }
        if (wrong && item.GetQuestionType() != qtEssay)
            answeredWrong.insert(name);
        if (q == 4)
        {
            Form().m_MarkChek->setChecked(true);
            markedName = name;
        }
        if (Book().GetCurrentNumber() == count)
            break;
        frm->m_NextBtnClick();
    }
    EXPECT_TRUE(dialogs.AllAnswersUsed());

    // Past the last question the score dialog offers the incorrect ones for Review.
    dialogs.AnswerModal(Tm_ScoreDlg::kIncorrect);
    frm->m_NextBtnClick();
    ASSERT_EQ(frm->DataStorage().GetPhase(), EPhase::Review);
    if (Form().m_SessionView->isVisibleTo(frm.get()))
        frm->m_StartSessionBtnClick();
    std::set<std::string> reviewed;
    for (int q = 0;; ++q)
    {
        ASSERT_LT(q, count) << "Next did not reach the last question";
        reviewed.insert(Current()->GetName());
        EXPECT_EQ(Label(), "Incorrect") << Current()->GetName();
        if (Book().GetCurrentNumber() == Book().GetSequenceCount())
            break;
        frm->m_NextBtnClick();
    }
    EXPECT_EQ(reviewed, answeredWrong);

    // Review's end goes on to Flash with every question; the first card shows its answer as the hint.
    Form().m_pDelayBeforeHintTrackBar->setValue(0);
    Form().m_HintTimeTrBar->setValue(10);
    dialogs.AnswerModal(Tm_ScoreDlg::kAll);
    frm->m_NextBtnClick();
    ASSERT_EQ(frm->DataStorage().GetPhase(), EPhase::Flash);
    if (Form().m_SessionView->isVisibleTo(frm.get()))
    {
        Form().m_pDelayBeforeHintTrackBar->setValue(0);
        Form().m_HintTimeTrBar->setValue(10);
        frm->m_StartSessionBtnClick();
    }
    ShowAnswers();
    ASSERT_EQ(Current()->GetQuestionType(), qtMultipleChoice);
    EXPECT_EQ(Colour(RowOfAnswer(FirstAnswer(*Current(), true))), kCorrectColor);

    // Saved and read again, the answers and the mark are in the file.
    frm->SaveBook(false, false);
    EXPECT_FALSE(Book().IsModified());
    CItemsArray2 reread;
    ASSERT_TRUE(frm->DataStorage().LoadXML(books.file("Sample.lnf"), &reread, 0, true, false));
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
    EXPECT_EQ(frm->HighlightedRow(), 2);
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
        EXPECT_EQ(frm->HighlightedRow(), press.row) << press.answers;
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
