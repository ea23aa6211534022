// The study loop of the main window: the views, Start Session, the moves through the sequence, the end of
// a chapter with the score dialog and the phase cycle Test -> Review -> Flash -> Test, the chapter
// choices made while a session runs, and the clock of a timed Test.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Categoryeditfrm.h"
#include "mainwindow/dialogs/Scoredlg.h"
#include "mainwindow/dialogs/Timerfrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "mainwindow/rules/SessionStart.h"
#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/EventRules.h"
#include "platform/qt/QtText.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"
#include "ui_Mainfrm.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

using lf::display::kSearchTooStrict;

namespace
{

constexpr const char* kTooStrictClear = "Your search was too strict. \n\n Clear your answer choices?";
constexpr const char* kMustNotHappen = "It must not happen! Please send LogFile to software developers.";

constexpr std::int32_t kEditChaptersEntry = -3;
// The interval of the Test clock's redraw.
constexpr int kTestClockInterval = 200;

// Test gives Review, Review gives Flash, any other phase gives Test.
EPhase NextPhaseOfCycle(EPhase phase)
{
    return phase == EPhase::Test ? EPhase::Review : phase == EPhase::Review ? EPhase::Flash : EPhase::Test;
}

bool HasSearchOrProblem(const SFilterOptions& options)
{
    return options.markedOnly || options.searchInQuestion || options.searchInAnswers ||
           options.searchInFeedback || options.searchInKeywords || options.problemKind;
}

void ClearSearchAndProblem(CItemsArray2& items)
{
    items.ClearSearchOptions();
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.searchText.clear();
    options.problemKind = 0;
    options.problemNumber = 0;
    items.SetFilterOptions(options);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Views

void Tm_MainFrm::SetActiveView(EView view, std::uint8_t flags, std::uint8_t redraw)
{
    const EPhase phase = m_DataStorage.GetPhase();
    if (view == EView::Explanation && phase == EPhase::None)
        return;
    if (IsQuestionView(view))
    {
        m_pEditing->DestroyEditFrame();
        if (phase == EPhase::Edit)
            m_pEditing->CreateEditFrame(view);
        ui->m_FilterView->show();
        ui->m_MainView->show();
        ui->m_SessionView->hide();
        ui->m_IntroView->hide();
        ui->m_pNoticeLabel->hide();
    }
    else
    {
        ui->m_IntroView->setVisible(view == EView::Intro);
        ui->m_pNoticeLabel->setVisible(view == EView::Intro);
        ui->m_MainView->hide();
        ui->m_SessionView->hide();
        ui->m_FilterView->hide();
        ui->m_pBookSelectorViewViewPanel->hide();
        m_pEditing->DestroyEditFrame();
        HideListWindow(0, 0);
        UpdateToolbars(0);
    }
    m_ActiveView = view;
    if (view == EView::Question)
        m_pActiveRichEdit = m_DescriptionStr;
    if (IsQuestionView(view))
    {
        ApplyPaneVisibility();
        OnUpdateForm(flags, redraw);
        UpdateToolbars(0);
    }
    UpdateWindowTitle();
}

void Tm_MainFrm::CloseToIntro(bool blank)
{
    m_DataStorage.SetCurrentMode(EPhase::None);
    SetActiveView(blank ? EView::Blank : EView::Intro, /*flags=*/1, /*redraw=*/1);
    for (QAction* button : {ui->m_TestBtn, ui->m_RewieBtn, ui->m_LearnMaterialBtn, ui->m_EditBtn})
        button->setChecked(false);
    if (m_pListWindow)
        m_pListWindow->ResetSearch(false);
}

void Tm_MainFrm::CloseBook1Click()
{
    CloseToIntro(false);
    if (m_DataStorage.IsBookLoaded())
    {
        StopBackupTimer();
        m_DataStorage.CloseBook();
    }
    UpdateToolbars(0);
}

void Tm_MainFrm::m_BackBtnClick()
{
    SetActiveView(EView::Intro, /*flags=*/1, /*redraw=*/1);
}

void Tm_MainFrm::HideBookSelectorPanel()
{
    ui->m_pBookSelectorViewViewPanel->hide();
}

void Tm_MainFrm::m_QAXBtnsClick(QObject* sender)
{
    OnStorageData();
    EView view = EView::Question;
    if (sender == ui->m_QuestionBtn)
        view = EView::Question;
    else if (sender == ui->m_AnswerBtn)
    {
        view = EView::Answers;
        m_CalculatedPage = 1;
    }
    else if (sender == ui->m_ExplainBtn)
        view = EView::Explanation;
    else
    {
        WriteLog("Tm_MainFrm::m_QADBtnClick - ERROR: Wrong sender pointer!", 1, 1);
        return;
    }
    if (m_ActiveView == view)
        return;
    if (m_DataStorage.GetPhase() == EPhase::Flash && m_Prefs.m_HintDelayForLearnMode > 0)
        StartCorrectAnswerHint(view, /*flags=*/1, /*focus=*/1);
    else
        SetActiveView(view, /*flags=*/1, /*redraw=*/1);
    SyncListView(EFormEvent::ShowQuestion, 1);
}

// ---------------------------------------------------------------------------------------------------------
// Session start

void Tm_MainFrm::LoadOnDemand()
{
    if (!m_DataStorage.IsCategoriesOnlyLoaded() || m_DataStorage.IsBookLoaded())
        return;
    const bool panel = ui->m_SessionView->isVisibleTo(this);
    if (panel)
        ui->m_StartSessionBtn->setEnabled(false);
    {
        lf::qt::BusyCursor busy;
        if (m_DataStorage.GetCurrentBookIndex() >= 0)
            LoadBook(m_DataStorage.GetCurrentBookIndex(), false);
    }
    ui->m_StartSessionBtn->setEnabled(true);
}

void Tm_MainFrm::m_StartSessionBtnClick()
{
    const EPhase phase = m_DataStorage.GetPhase();
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    // Only Yes to the too-strict question of the Cycle mode starts again from the top.
    for (bool again = true; again;)
    {
        again = false;
        if (phase == EPhase::Edit)
            m_pEditing->RegisterHotKeys(true);
        else
            m_pEditing->UnregisterHotKeys();
        LoadOnDemand();
        QWidget* panel = ui->m_SessionView;
        SSessionStartInputs inputs;
        inputs.phase = phase;
        inputs.bookLoaded = m_DataStorage.IsBookLoaded();
        inputs.panelShown = panel->isVisibleTo(this);
        inputs.bookNameEmpty = m_pBookComboBox->currentText().isEmpty();
        inputs.chapterChosen = ui->m_TestList->currentIndex() >= 0;
        inputs.chapterID = ui->m_TestList->currentData().toInt();
        inputs.modePosition = ui->m_ModeList->isVisibleTo(panel) ? ui->m_ModeList->currentIndex() : 0;
        inputs.hintTime = ui->m_HintTimeTrBar->isVisibleTo(panel) ? ui->m_HintTimeTrBar->value() : 0;
        inputs.delayBeforeHint =
            ui->m_pDelayBeforeHintTrackBar->isVisibleTo(panel) ? ui->m_pDelayBeforeHintTrackBar->value() : 0;
        ESessionStart outcome = ESessionStart::NoBook;
        {
            // A question the start adds to an empty book in Edit phase is no edit of the user's.
            const lf::qt::ScopedFlag updating(m_bUpdating);
            outcome = StartSession(inputs, items, m_Prefs);
        }
        switch (outcome)
        {
        case ESessionStart::NoBook:
            MessageDlg("Please select a book.", MsgKind::Information, MsgButtons::Ok);
            return;
        case ESessionStart::NoChapter:
            MessageDlg("Please select a chapter.", MsgKind::Information, MsgButtons::Ok);
            return;
        case ESessionStart::Started:
            StopHintTimers();
            if (IsHintPath())
                StartCorrectAnswerHint(EView::Question, /*flags=*/255, /*focus=*/1);
            else
                SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/1);
            if (phase == EPhase::Test)
                ResumeTestClock();
            else if ((phase == EPhase::Review && m_Prefs.m_ShowListForReviewMode) ||
                     (phase == EPhase::Flash && m_Prefs.m_ShowListForLearnMode) ||
                     (phase == EPhase::Edit && m_Prefs.m_ShowListForEditMode))
                ShowListWindow(0);
            StartBackupTimer();
            break;
        case ESessionStart::TooStrict:
            MessageDlg(kSearchTooStrict, MsgKind::Warning, MsgButtons::Ok);
            break;
        case ESessionStart::AskToClear:
        {
            const bool clear =
                MessageDlg(kTooStrictClear, MsgKind::Confirmation, MsgButtons::YesNo) == lf::qt::mrYes;
            if (AnswerClearQuestion(inputs, clear, m_DataStorage.IsBookLoaded(), items))
            {
                again = true;
                continue;
            }
            break;
        }
        }
        StartTestClockIfLimited();
    }
}

bool Tm_MainFrm::IsHintPath() const
{
    const EQuestionStyle style = m_Prefs.GetQuestionStyle();
    return m_DataStorage.GetPhase() == EPhase::Flash && m_Prefs.m_QAX_TYPE_LEARN == 0 &&
           (style == EQuestionStyle::MultipleChoice || style == EQuestionStyle::Moodle);
}

// ---------------------------------------------------------------------------------------------------------
// Moves

void Tm_MainFrm::ShowQuestionAfterMove(EMoveKind kind)
{
    StopHintTimers();
    bool hint = IsHintPath();
    if (kind == EMoveKind::Forward)
        hint = hint && m_Prefs.m_HintDelayForLearnMode != 0;
    else if (kind == EMoveKind::Back)
        hint = hint && m_Prefs.m_HintDelayForLearnMode >= 1;
    if (hint)
        StartCorrectAnswerHint(EView::Question, /*flags=*/1, /*focus=*/1);
    else
        SetActiveView(EView::Question, /*flags=*/1, /*redraw=*/1);
    SyncListView(EFormEvent::ShowQuestion, 1);
}

void Tm_MainFrm::m_NextBtnClick()
{
    OnStorageData();
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (items.IsTimeUp())
    {
        items.StopTimer();
    }
    else if (items.Next())
    {
        ShowQuestionAfterMove(EMoveKind::Forward);
        return;
    }
    if (m_DataStorage.GetPhase() == EPhase::Edit || m_ActiveView == EView::Intro ||
        m_ActiveView == EView::Blank)
        return;
    EndOfChapter(EHomeLimit::Off);
}

void Tm_MainFrm::m_PrevBtnClick()
{
    OnStorageData();
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (items.IsTimeUp() && m_ActiveView != EView::Intro && m_ActiveView != EView::Blank)
    {
        EndOfChapter(EHomeLimit::Off);
        return;
    }
    if (items.Prev())
        ShowQuestionAfterMove(EMoveKind::Back);
}

void Tm_MainFrm::AdvanceAfterAnswer()
{
    if (!m_DataStorage.GetItemsPtr2()->IsTimeUp())
    {
        ShowQuestionAfterMove(EMoveKind::Forward);
        return;
    }
    if (m_DataStorage.GetPhase() != EPhase::Edit && m_ActiveView != EView::Intro &&
        m_ActiveView != EView::Blank)
        EndOfChapter(EHomeLimit::OffWhenTimeUp);
}

void Tm_MainFrm::m_QuestionScrollScroll(EScrollCode code, int position)
{
    OnStorageData();
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (items.IsTimeUp())
    {
        // Only Continue goes on with the scroll step; any other answer closed the book or changed the phase.
        const int result = EndOfChapter(EHomeLimit::Off);
        if (result != Tm_ScoreDlg::kContinue && result != 0)
            return;
    }
    WriteLog("Tm_MainFrm::m_QuestionScrollScroll  " + lf::sys::NumberText(position), 6, 1);
    switch (code)
    {
    case EScrollCode::LineUp:
    case EScrollCode::PageUp:
        m_PrevBtnClick();
        break;
    case EScrollCode::LineDown:
    case EScrollCode::PageDown:
        m_NextBtnClick();
        break;
    case EScrollCode::Track:
    {
        std::int32_t number = items.GetCurrentNumber();
        if (number <= 0 || number == position)
            break;
        const bool forward = position > number;
        // A Cycle pass starts again at 1, so a position beyond the sequence would never be reached.
        for (std::int32_t steps = items.GetSequenceCount(); steps > 0 && number != position; --steps)
        {
            if (!(forward ? items.Next() : items.Prev()))
                break;
            const std::int32_t now = items.GetCurrentNumber();
            if (now == number)
                break;
            number = now;
        }
        ShowQuestionAfterMove(EMoveKind::Scroll);
        OnUpdateForm(255, 1);
        break;
    }
    case EScrollCode::Other:
        break;
    }
    const std::int32_t current = items.GetCurrentNumber();
    if (ui->m_QuestionScroll->sliderPosition() != current)
        ui->m_QuestionScroll->setSliderPosition(current);
}

// ---------------------------------------------------------------------------------------------------------
// End of chapter

int Tm_MainFrm::RunScoreDialog()
{
    OnStorageData();
    Tm_ScoreDlg dialog(m_DataStorage, this);
    return lf::qt::CurrentDialogs().RunModal(dialog);
}

int Tm_MainFrm::EndOfChapter(EHomeLimit home)
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    const int result = RunScoreDialog();
    switch (result)
    {
    case Tm_ScoreDlg::kHome:
        if (home == EHomeLimit::Off || (home == EHomeLimit::OffWhenTimeUp && items.IsTimeUp()))
            items.StopTimer();
        // The answers of the session are saved as a phase change saves them before the book closes.
        if (OnSave(true, true))
            CloseBook1Click();
        break;
    case Tm_ScoreDlg::kAll:
    {
        const std::uint8_t filterRestart = m_bFilterRestart;
        // Changing the box from here runs its click handler, which refills the session panel.
        ui->m_pFilterCheckBox->setChecked(false);
        m_pSessionViewCheckBoxClick();
        items.StopTimer();
        items.SetCurrentView(EViewFilter::All, /*refilter=*/false);
        RestartInNextPhase(filterRestart);
        break;
    }
    case Tm_ScoreDlg::kIncorrect:
    {
        const std::uint8_t filterRestart = m_bFilterRestart;
        items.StopTimer();
        items.SetCurrentView(EViewFilter::UnansweredOrIncorrect, /*refilter=*/false);
        ui->m_pFilterCheckBox->setChecked(true);
        m_pSessionViewCheckBoxClick();
        RestartInNextPhase(filterRestart);
        break;
    }
    default:
        break;
    }
    return result;
}

void Tm_MainFrm::RestartInNextPhase(std::uint8_t filterRestart)
{
    m_bFilterRestart = 1;
    HideBookSelectorPanel();
    ui->m_MainView->hide();
    m_bAutoPhaseChange = 1;
    SetPhase(NextPhaseOfCycle(m_DataStorage.GetPhase()), 0);
    m_bFilterRestart = filterRestart;
}

void Tm_MainFrm::m_ScoreBtnClick()
{
    EndOfChapter(EHomeLimit::Keep);
}

void Tm_MainFrm::m_EndSessionBtnClick()
{
    OnStorageData();
    if (MessageDlg("Do you want to end the chapter?", MsgKind::Confirmation, MsgButtons::YesNo) ==
        lf::qt::mrYes)
        EndOfChapter(EHomeLimit::Off);
}

// ---------------------------------------------------------------------------------------------------------
// Chapters

void Tm_MainFrm::ClearFilterAndRefresh()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    SFilterOptions options;
    items.GetFilterOptions(options);
    if (HasSearchOrProblem(options))
    {
        ClearSearchAndProblem(items);
        items.Refilter(false);
    }
    if (items.GetSequenceCount() <= 0)
    {
        items.SetActiveCategory(kAllCategoriesID, true);
        if (items.GetSequenceCount() <= 0)
            items.AddNewItem(qtMultipleChoice, /*source=*/nullptr, /*position=*/-1, /*category=*/-1);
        else if (!items.RestoreCurrentItem())
            items.First();
    }
    OnUpdateForm(255, 1);
}

void Tm_MainFrm::m_CategoryListChange(QComboBox* sender)
{
    if (m_DataStorage.IsCategoriesOnlyLoaded() && sender != nullptr)
    {
        const int position = sender->currentIndex();
        LoadOnDemand();
        const QSignalBlocker block(sender);
        sender->setCurrentIndex(position);
    }
    ApplyChapterChoice(sender, 1);
}

void Tm_MainFrm::SelectChapter(std::int32_t chapterID)
{
    {
        const QSignalBlocker block(ui->m_CategoryList);
        ui->m_CategoryList->setCurrentIndex(ui->m_CategoryList->findData(chapterID));
    }
    ApplyChapterChoice(ui->m_CategoryList, 0);
}

void Tm_MainFrm::ShowChapterEditor()
{
    lf::qt::CurrentDialogs().RunModal(*m_CategoryEditFrm);
}

void Tm_MainFrm::ApplyChapterChoice(QComboBox* combo, std::uint8_t focus)
{
    if (combo != ui->m_TestList && combo != ui->m_CategoryList)
    {
        WriteLog("Tm_MainFrm::m_CategoryListChange - Unknown Sender", 1, 1);
        return;
    }
    if (combo->currentIndex() < 0)
        return;
    const std::int32_t id = combo->currentData().toInt();
    OnStorageData();
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    const bool edit = m_DataStorage.GetPhase() == EPhase::Edit;

    if (id == kEditChaptersEntry && edit)
    {
        {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(combo->findData(items.GetActiveCategory()));
        }
        ShowChapterEditor();
        items.SortItems();
        m_FormManager.OnUpdateDate(EFormTarget::MainWindow, EFormEvent::Sort);
        return;
    }
    if (!(id >= 0 || id == kAllCategoriesID || (id == kTrashCategoryID && edit)))
        return;

    items.SaveFilter();
    items.SetActiveCategory(id, true);
    SFilterOptions options;
    items.GetFilterOptions(options);
    if (items.GetSequenceCount() <= 0 && HasSearchOrProblem(options))
    {
        ClearSearchAndProblem(items);
        items.SetActiveCategory(id, true);
    }
    if (items.GetSequenceCount() > 0)
    {
        if (!items.First())
        {
            MessageDlg(kMustNotHappen, MsgKind::Warning, MsgButtons::Ok);
            WriteLog("CItemsArray::RestoreFilter() - It must not happen!", 1, 1);
        }
        OnUpdateForm(1, focus);
    }
    else
    {
        if (edit && id != kTrashCategoryID)
        {
            if (MessageDlg("There are no questions in this chapter. Do you want create a new question?",
                           MsgKind::Confirmation, MsgButtons::YesNo) == lf::qt::mrYes)
            {
                items.AddNewItem(qtMultipleChoice, /*source=*/nullptr, /*position=*/-1, id);
                OnUpdateForm(255, focus);
                m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::Reload);
                return;
            }
        }
        else if (!edit)
        {
            MessageDlg(
                "There are currently no questions in this chapter.\nYou can go to Edit phase to create one.",
                MsgKind::Warning, MsgButtons::Ok);
        }
        if (combo == ui->m_TestList)
        {
            const QSignalBlocker block(combo);
            if (items.RestoreFilter(true))
                combo->setCurrentIndex(combo->findData(items.GetActiveCategory()));
            else
                combo->setCurrentIndex(-1);
        }
        else
        {
            if (edit && id == kTrashCategoryID)
                MessageDlg("Trash is empty", MsgKind::Information, MsgButtons::Ok);
            if (items.RestoreFilter(true))
            {
                const QSignalBlocker block(combo);
                combo->setCurrentIndex(combo->findData(items.GetActiveCategory()));
                OnUpdateForm(2, focus);
            }
            else
            {
                OnUpdateForm(255, 1);
            }
        }
    }
    m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::Reload);
}

void Tm_MainFrm::m_FilterListChange(int position)
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    items.SetCurrentView(static_cast<std::uint8_t>(position), /*refilter=*/true);
    if (items.First())
        SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/0);
    else
    {
        MessageDlg(kSearchTooStrict, MsgKind::Warning, MsgButtons::Ok);
        items.SetCurrentView(EViewFilter::All, /*refilter=*/true);
        items.First();
        SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/0);
    }
}

void Tm_MainFrm::RefreshCategoryLists()
{
    if (m_DataStorage.GetPhase() != EPhase::Edit)
        return;
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    QComboBox* chapters = ui->m_CategoryList;
    {
        const QSignalBlocker block(chapters);
        chapters->clear();
        for (const auto& [text, id] :
             FillCategoryList(items, /*withAll=*/true, /*withTrash=*/true, /*withEdit=*/true))
            chapters->addItem(lf::qt::ToQString(text), id);
        chapters->setCurrentIndex(chapters->findData(items.GetActiveCategory()));
    }
    if (chapters->currentIndex() < 0)
    {
        {
            const QSignalBlocker block(chapters);
            chapters->setCurrentIndex(chapters->findData(kAllCategoriesID));
        }
        if (chapters->currentIndex() < 0)
        {
            MessageDlg("Unknown error.", MsgKind::Error, MsgButtons::Ok);
            WriteLog("Tm_MainFrm::RefreshCategoryLists() - Unknown ERROR! #1", 1, 1);
            return;
        }
        items.SetActiveCategory(kAllCategoriesID, true);
        if (items.GetSequenceCount() <= 0)
        {
            MessageDlg(kSearchTooStrict, MsgKind::Warning, MsgButtons::Ok);
            m_ActiveView = EView::Intro;
        }
        else if (!items.First())
        {
            MessageDlg(kMustNotHappen, MsgKind::Warning, MsgButtons::Ok);
            WriteLog("CItemsArray::RestoreFilter() - It must not happen!", 1, 1);
        }
        OnUpdateForm(255, 1);
        return;
    }

    QComboBox* setTo = ui->m_RecordCategoryList;
    const std::int32_t kept = setTo->currentIndex() >= 0 ? setTo->currentData().toInt() : kEditChaptersEntry;
    {
        const QSignalBlocker block(setTo);
        setTo->clear();
        for (const auto& [text, id] :
             FillCategoryList(items, /*withAll=*/false, /*withTrash=*/true, /*withEdit=*/true))
            setTo->addItem(lf::qt::ToQString(text), id);
        int index = kept != kEditChaptersEntry ? setTo->findData(kept) : -1;
        if (index < 0 && items.GetCurrentItem() != nullptr)
            index = setTo->findData(items.GetCurrentItem()->GetCategoryID());
        if (index < 0)
            index = setTo->findData(0);
        if (index < 0)
        {
            MessageDlg("Unknown error.", MsgKind::Error, MsgButtons::Ok);
            WriteLog("Tm_MainFrm::RefreshCategoryLists() - Unknown ERROR! #2", 1, 1);
            return;
        }
        setTo->setCurrentIndex(index);
        m_LastRecordCategoryIndex = index;
    }
    m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::Reload);
}

void Tm_MainFrm::m_RecordCategoryListChange(int position)
{
    QComboBox* setTo = ui->m_RecordCategoryList;
    if (position >= 0 && setTo->itemData(position).toInt() == kEditChaptersEntry &&
        m_DataStorage.GetPhase() == EPhase::Edit)
    {
        {
            const QSignalBlocker block(setTo);
            setTo->setCurrentIndex(m_LastRecordCategoryIndex);
        }
        OnStorageData();
        ShowChapterEditor();
        RefreshCategoryLists();
        return;
    }
    m_LastRecordCategoryIndex = position;
    StoreEditsAndNotifyList(EFormEvent::ChapterChanged);
}

void Tm_MainFrm::StoreEditsAndNotifyList(EFormEvent field)
{
    const EPhase phase = m_DataStorage.GetPhase();
    if (phase != EPhase::Edit && phase != EPhase::Review)
        return;
    if (OnStorageData())
        m_FormManager.OnUpdateDate(EFormTarget::ListWindow, field,
                                   SFormRecord(m_DataStorage.GetItemsPtr2()->GetCurrentItem()));
    m_pEditing->UpdateEditButtons();
}

void Tm_MainFrm::m_ClearAnswersBtnClick()
{
    if (m_DataStorage.IsBookLoaded())
        m_DataStorage.GetItemsPtr2()->ResetAnswers(true);
}

void Tm_MainFrm::m_ClearMarksBtnClick()
{
    if (m_DataStorage.IsBookLoaded())
        m_DataStorage.GetItemsPtr2()->ClearMarks(false);
}

// ---------------------------------------------------------------------------------------------------------
// The Test clock

void Tm_MainFrm::m_TestTimerTimer()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (items.IsTimerOn())
    {
        // Reading the clock also notes when the limit has run out; the next move acts on it.
        const std::string text = items.GetTimerText(false);
        if (ui->m_MainView->isVisibleTo(this))
            OnUpdateForm(8, 1);
        if (ui->m_SessionView->isVisibleTo(this))
            ui->m_TimerSeesoinBtn->setText(lf::qt::ToQString(text));
        return;
    }
    m_TestTimer.SetEnabled(false);
    if (ui->m_SessionView->isVisibleTo(this))
    {
        ui->m_TimerBtn->setText("Timer");
        ui->m_TimerSeesoinBtn->setText("Timer");
    }
}

void Tm_MainFrm::m_TimerBtnClick()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (items.IsTimeUp())
        items.StopTimer();
    if (m_bRestartClock)
        items.SetTimerStart(lf::sys::Services().TickCount());
    if (lf::qt::CurrentDialogs().RunModal(*m_TimerFrm) != Tm_TimerFrm::kOk)
        return;
    if (items.IsTimerOn())
        m_bRestartClock = 1;
    if (ui->m_MainView->isVisibleTo(this))
        OnUpdateForm(8, 1);
    if (ui->m_SessionView->isVisibleTo(this))
        OnUpdateSeesionView();
}

void Tm_MainFrm::StartTestClockIfLimited()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (m_DataStorage.GetPhase() != EPhase::Test || !items.IsTimerOn())
        return;
    if (m_bRestartClock)
    {
        items.SetTimerStart(lf::sys::Services().TickCount());
        m_bRestartClock = 0;
    }
    if (!m_TestTimer.Enabled())
        m_TestTimer.SetEnabled(true);
}

void Tm_MainFrm::PauseTestClock()
{
    if (m_DataStorage.GetPhase() != EPhase::Test || m_bClockPaused != 0)
        return;
    m_bClockPaused = 1;
    m_TestTimer.SetEnabled(false);
    m_ClockPauseTick = lf::sys::Services().TickCount();
}

void Tm_MainFrm::ResumeTestClock()
{
    if (m_DataStorage.GetPhase() != EPhase::Test || m_bClockPaused != 1)
        return;
    m_bClockPaused = 0;
    m_DataStorage.GetItemsPtr2()->ShiftTimerStart(lf::sys::Services().TickCount() - m_ClockPauseTick);
    m_TestTimer.SetEnabled(true);
}

void Tm_MainFrm::m_BackToolBarBtnClick()
{
    const std::uint8_t filterRestart = m_bFilterRestart;
    const EPhase phase = m_DataStorage.GetPhase();
    if (!OnSave(true, true))
        return;
    if (m_DataStorage.GetPhase() != phase)
        m_DataStorage.SetCurrentMode(phase);
    PauseTestClock();
    m_bFilterRestart = 1;
    HideBookSelectorPanel();
    m_bAutoPhaseChange = 1;
    SetPhase(phase, 0);
    m_bFilterRestart = filterRestart;
}

// ---------------------------------------------------------------------------------------------------------
// Wiring

void Tm_MainFrm::CreateSessionWindows()
{
    m_CategoryEditFrm = std::make_unique<Tm_CategoryEditFrm>(*m_DataStorage.GetItemsPtr2(), this);
    m_TimerFrm = std::make_unique<Tm_TimerFrm>(*m_DataStorage.GetItemsPtr2(), this);
    m_TestTimer.SetInterval(kTestClockInterval);
    m_TestTimer.OnTimer = [this] { m_TestTimerTimer(); };

    connect(ui->m_TimerSeesoinBtn, &QPushButton::clicked, this, [this] { m_TimerBtnClick(); });
    connect(ui->m_NextBtn, &QPushButton::clicked, this, [this] { m_NextBtnClick(); });
    connect(ui->m_PrevBtn, &QPushButton::clicked, this, [this] { m_PrevBtnClick(); });
    for (QPushButton* button : {ui->m_QuestionBtn, ui->m_AnswerBtn, ui->m_ExplainBtn})
        connect(button, &QPushButton::clicked, this, [this, button] { m_QAXBtnsClick(button); });
    connect(ui->m_ClearAnswersBtn, &QPushButton::clicked, this, [this] { m_ClearAnswersBtnClick(); });
    connect(ui->m_ClearMarksBtn, &QPushButton::clicked, this, [this] { m_ClearMarksBtnClick(); });
    // Only the user's choices run the chapter handlers; the program's own selections do not.
    for (QComboBox* combo : {ui->m_TestList, ui->m_CategoryList})
        connect(combo, &QComboBox::activated, this, [this, combo] { m_CategoryListChange(combo); });
    connect(ui->m_RecordCategoryList, &QComboBox::activated, this, &Tm_MainFrm::m_RecordCategoryListChange);
    connect(ui->m_QuestionScroll, &QScrollBar::actionTriggered, this,
            [this](int action)
            {
                EScrollCode code = EScrollCode::Other;
                switch (action)
                {
                case QAbstractSlider::SliderSingleStepSub:
                    code = EScrollCode::LineUp;
                    break;
                case QAbstractSlider::SliderSingleStepAdd:
                    code = EScrollCode::LineDown;
                    break;
                case QAbstractSlider::SliderPageStepSub:
                    code = EScrollCode::PageUp;
                    break;
                case QAbstractSlider::SliderPageStepAdd:
                    code = EScrollCode::PageDown;
                    break;
                case QAbstractSlider::SliderMove:
                    code = EScrollCode::Track;
                    break;
                default:
                    break;
                }
                m_QuestionScrollScroll(code, ui->m_QuestionScroll->sliderPosition());
            });
}

// The text zoom of the question view: the step is added to every text size when the view is drawn.
void Tm_MainFrm::m_IncreaseBtnClick()
{
    if (m_FontSizeStep >= 50)
        return;
    ++m_FontSizeStep;
    ApplyZoom();
}

void Tm_MainFrm::m_DecreaseBtnClick()
{
    if (!ui->m_DecreaseBtn->isEnabled())
        return;
    --m_FontSizeStep;
    ApplyZoom();
}

void Tm_MainFrm::m_FontNormalBtnClick()
{
    m_FontSizeStep = 0;
    ApplyZoom();
}
