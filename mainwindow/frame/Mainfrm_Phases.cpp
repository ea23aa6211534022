// Phases, the window title, the toolbars and menus by phase, the session panel and the book tree.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/BookTree.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "mainwindow/rules/ToolbarState.h"
#include "mainwindow/rules/WindowTitle.h"
#include "mainwindow/rules/ZoomRules.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichView.h"
#include "platform/sys/PathText.h"
#include "ui_Mainfrm.h"

#include <QStatusBar>
#include <QToolBar>

using lf::qt::ToQString;

namespace
{

constexpr const char* kBooksNotFound =
    "Books are not found. You may need to adjust your preferences to point to the right directory.";

void FillCombo(QComboBox* combo, const std::vector<std::string>& entries)
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (const std::string& entry : entries)
        combo->addItem(ToQString(entry));
}

// "Short|Long" hints: the short part is the tool tip, the long one goes to the status bar.
void SetHint(QWidget* widget, const std::string& hint)
{
    const std::size_t bar = hint.find('|');
    widget->setToolTip(ToQString(hint.substr(0, bar)));
    widget->setStatusTip(ToQString(bar == std::string::npos ? hint : hint.substr(bar + 1)));
}

} // namespace

// --- Phase ---

bool Tm_MainFrm::SetPhase(EPhase phase, std::uint8_t noPanel)
{
    if (m_DataStorage.GetBookList()->GetCount() <= 0)
        lf::qt::MessageDlg(kBooksNotFound, lf::qt::MsgKind::Warning, lf::qt::MsgButtons::Ok);
    if (!OnSave(true, true))
        return false;
    ui->m_MainView->hide();
    m_bPhaseChosen = 1;
    HideListWindow(0, 0);
    m_DataStorage.SetCurrentMode(phase);
    // Backups are made while a book is edited only.
    if (phase != EPhase::Edit)
        StopBackupTimer();
    UpdateWindowTitle();
    m_pEditing->DestroyEditFrame();
    if (m_DataStorage.IsBookLoaded() || m_DataStorage.IsCategoriesOnlyLoaded())
        m_DataStorage.GetItemsPtr()->SetFilterKind(0, true);
    ui->m_IntroView->hide();
    ui->m_pNoticeLabel->hide();
    if (noPanel)
    {
        ui->m_SessionView->hide();
        ui->m_pBookSelectorViewViewPanel->hide();
    }
    else
    {
        OnUpdateSeesionView();
        ui->m_SessionView->show();
    }
    UpdateToolbars(1);
    return true;
}

void Tm_MainFrm::m_TestBtnClick()
{
    m_bAutoPhaseChange = 0;
    SetPhase(EPhase::Test, 0);
}

void Tm_MainFrm::m_RewieBtnClick()
{
    m_bAutoPhaseChange = 0;
    SetPhase(EPhase::Review, 0);
}

void Tm_MainFrm::m_LearnMaterialBtnClick()
{
    m_bAutoPhaseChange = 0;
    SetPhase(EPhase::Flash, 0);
}

void Tm_MainFrm::m_EditBtnClick()
{
    m_bAutoPhaseChange = 0;
    SetPhase(EPhase::Edit, 0);
}

// --- Title ---

void Tm_MainFrm::UpdateWindowTitle()
{
    STitleInput input;
    input.phase = m_DataStorage.GetPhase();
    input.wholeBookLoaded = m_DataStorage.IsBookLoaded();
    input.bookIndex = m_DataStorage.GetCurrentBookIndex();
    input.fileName = m_DataStorage.GetFileName();
    // The window's title is what the desktop's task bar shows for the program as well.
    setWindowTitle(ToQString(MakeWindowTitle(input)));
}

// --- Toolbars and menus ---

void Tm_MainFrm::UpdatePrintCommands()
{
    SToolbarState state;
    ComputePrintCommands(m_DataStorage.IsBookLoaded(), state);
    ApplyToolbarState(state);
}

void Tm_MainFrm::UpdateToolbars(std::uint8_t keepButtons)
{
    SToolbarInput input;
    input.phase = m_DataStorage.GetPhase();
    input.viewMode = m_Prefs.GetQuestionStyle();
    input.wholeBookLoaded = m_DataStorage.IsBookLoaded();
    input.sessionPanelVisible = !ui->m_SessionView->isHidden();
    input.selectorVisible = !ui->m_pBookSelectorViewViewPanel->isHidden();
    input.mainViewVisible = !ui->m_MainView->isHidden();
    input.showStandardToolbar = m_Prefs.m_ShowStandartToolbar;
    input.showFormattingToolbar = m_Prefs.m_ShowFormatingToolbar;
    input.timerOn = m_DataStorage.GetItemsPtr2()->IsTimerOn();
    input.childToolBarVisible = true;
    input.listWindowVisible = IsListWindowVisible();
    input.keepButtons = keepButtons != 0;
    ApplyToolbarState(ComputeToolbarState(input));
    UpdateZoomButtons();
}

void Tm_MainFrm::ApplyToolbarState(const SToolbarState& state)
{
    for (const auto& [name, visible] : state.visible)
    {
        if (auto* toolbar = findChild<QToolBar*>(QString::fromStdString(name)))
            toolbar->setVisible(visible);
        else if (auto* menu = findChild<QMenu*>(QString::fromStdString(name)))
            menu->menuAction()->setVisible(visible);
        else if (QAction* action = FindAction(name.c_str()))
            action->setVisible(visible);
    }
    for (const auto& [name, enabled] : state.enabled)
        if (QAction* action = FindAction(name.c_str()))
            action->setEnabled(enabled);
    for (const auto& [name, checked] : state.checked)
        if (QAction* action = FindAction(name.c_str()))
            action->setChecked(checked);
    for (const auto& [name, pressed] : state.pressed)
        if (QAction* action = FindAction(name.c_str()))
            action->setChecked(pressed);
    for (const auto& [name, hint] : state.hints)
        if (auto* button = findChild<QWidget*>(QString::fromStdString(name)))
            SetHint(button, hint);
    // The style button names the question style.
    static const char* const styleNames[] = {"Flashcard", "Flashcard+", "Multiple Choice", "Moodle"};
    const int style = state.viewModeImage - 66;
    if (style >= 0 && style < 4)
        ui->m_pViewModeBtn->setText(styleNames[style]);
}

void Tm_MainFrm::UpdateZoomButtons()
{
    const bool hidden = m_DataStorage.GetPhase() == EPhase::Edit && m_DataStorage.IsBookLoaded();
    for (QWidget* button :
         {static_cast<QWidget*>(ui->m_DecreaseBtn), static_cast<QWidget*>(ui->m_IncreaseBtn),
          static_cast<QWidget*>(ui->m_FontNormalBtn)})
        button->setVisible(!hidden);
    ui->m_IncreaseBtn->setEnabled(lf::zoom::CanZoomIn(m_FontSizeStep));
    const bool paneShown =
        !ui->m_MainView->isHidden() && (!m_DescriptionStr->isHidden() || !m_DescriptionViewStr->isHidden());
    ui->m_DecreaseBtn->setEnabled(paneShown && lf::zoom::CanZoomOut(SmallestZoomedTextSize()));
}

int Tm_MainFrm::SmallestZoomedTextSize() const
{
    // The zoomed view: the editor when it shows, else the read-only view.
    lf::qt::RichView* zoomed = !m_DescriptionStr->isHidden() ? m_DescriptionStr : m_DescriptionViewStr;
    int smallest = -1;
    for (const auto& style : zoomed->Document().styles.textStyles)
    {
        const int size = lf::zoom::ZoomedTextSize(style.size, m_FontSizeStep);
        if (smallest < 0 || size < smallest)
            smallest = size;
    }
    return smallest;
}

// --- Session panel ---

void Tm_MainFrm::OnUpdateSeesionView()
{
    const std::string booksFolder = lf::sys::WithSlash(m_Prefs.GetBooksDirectory());
    const bool bookLoaded = m_DataStorage.IsBookLoaded() || m_DataStorage.IsCategoriesOnlyLoaded();
    const std::int32_t openIndex = bookLoaded ? m_DataStorage.GetCurrentBookIndex() : -1;
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    CBookList& books = *m_DataStorage.GetBookList();
    const EPhase phase = m_DataStorage.GetPhase();

    m_pTreeViewPopupForm->Clear();
    const bool chooser = !(m_bAutoPhaseChange == 1 && openIndex >= 0);
    m_pBookComboBox->setVisible(chooser);
    ui->m_BookListStr->setVisible(chooser);
    ui->m_pFilterBtn->setVisible(chooser);
    ui->m_pBrowseBtn->setVisible(chooser);
    ui->m_pBookNameSessionViewLabel->setVisible(!chooser);

    const SSessionPanelLists lists = SessionPanelLists(phase, m_Prefs.GetQuestionStyle());
    if (phase != EPhase::None)
    {
        FillCombo(ui->m_FilterListSession, lists.filters);
        ui->m_pPhaseLabel->setText(ToQString(lists.phaseLabel));
    }

    ui->m_ModeStr->setVisible(lists.modeShown);
    ui->m_pModeCheckBox->setVisible(lists.modeShown);
    ui->m_ModeList->setVisible(lists.modeShown && ui->m_pModeCheckBox->isChecked());
    if (!ui->m_pModeCheckBox->isChecked())
        ApplyModePosition(items, 0);

    ui->m_TestList->setVisible(lists.chaptersShown);
    ui->m_TestListStr->setVisible(lists.chaptersShown);
    {
        const QSignalBlocker block(ui->m_TestList);
        ui->m_TestList->clear();
    }
    ui->m_FilterSessionStr->setVisible(lists.filterShown);
    ui->m_pFilterCheckBox->setVisible(lists.filterShown);
    ui->m_FilterListSession->setVisible(lists.filterShown && ui->m_pFilterCheckBox->isChecked());
    if (!ui->m_pFilterCheckBox->isChecked())
        items.SetCurrentView(EViewFilter::All, /*refilter=*/false);

    FillCombo(ui->m_ModeList, SessionModeEntries());

    ui->m_pTimerLabel->setVisible(lists.timerShown);
    ui->m_pTimerCheckBox->setVisible(lists.timerShown);
    ui->m_pClearButtons->setVisible(lists.timerShown);
    ui->m_TimerSeesoinBtn->setVisible(lists.timerShown && ui->m_pTimerCheckBox->isChecked());

    for (QWidget* widget :
         {static_cast<QWidget*>(ui->m_FlashDelayStr), static_cast<QWidget*>(ui->m_pDelayBar),
          static_cast<QWidget*>(ui->m_FlashDisplayTimeStr), static_cast<QWidget*>(ui->m_pHintBar)})
        widget->setVisible(lists.hintBarsShown);

    if ((books.GetCount() > 0 || m_DataStorage.IsCategoriesOnlyLoaded()) && !booksFolder.empty() &&
        m_pBookComboBox->isVisibleTo(ui->m_SessionView))
    {
        m_pTreeViewPopupForm->Fill(BuildBookTree(books, booksFolder, phase == EPhase::Edit));
        m_pBookComboBox->setEditText(
            openIndex >= 0 && openIndex < books.GetCount() ? ToQString(books.GetName(openIndex)) : QString());
    }

    if (ui->m_FilterListSession->count() == 0)
    {
        lf::qt::MessageDlg(kBooksNotFound, lf::qt::MsgKind::Warning, lf::qt::MsgButtons::Ok);
        return;
    }

    const bool studyPhase = IsStudyPhase(phase);
    if (openIndex >= 0 && bookLoaded)
    {
        const QString name = openIndex < books.GetCount() ? ToQString(books.GetName(openIndex)) : QString();
        m_pBookComboBox->setEditText(name);
        if (ui->m_pBookNameSessionViewLabel->isVisibleTo(ui->m_SessionView))
            ui->m_pBookNameSessionViewLabel->setText(name);
        if (studyPhase)
        {
            const QSignalBlocker blockMode(ui->m_ModeList);
            ui->m_ModeList->setCurrentIndex(ModePositionOf(items));
            const QSignalBlocker blockChapters(ui->m_TestList);
            for (const auto& [text, id] :
                 FillCategoryList(items, /*withAll=*/true, /*withTrash=*/false, /*withEdit=*/false))
                ui->m_TestList->addItem(ToQString(text), id);
            ui->m_TestList->setCurrentIndex(ui->m_TestList->findData(items.GetActiveCategory()));
        }
    }
    else
    {
        m_pBookComboBox->setEditText(QString());
        m_DataStorage.SetCurrentBookIndex(-1);
        if (studyPhase)
        {
            const QSignalBlocker block(ui->m_ModeList);
            ui->m_ModeList->setCurrentIndex(0);
        }
    }

    if (phase == EPhase::Flash)
    {
        const QSignalBlocker blockHint(ui->m_HintTimeTrBar);
        const QSignalBlocker blockDelay(ui->m_pDelayBeforeHintTrackBar);
        ui->m_HintTimeTrBar->setValue(m_Prefs.m_HintDelayForLearnMode);
        ui->m_pDelayBeforeHintTrackBar->setValue(m_Prefs.m_DelayBeforeHintDelayForLearnMode);
    }
    ui->m_TimerBtn->setText("Timer");
    const QSignalBlocker block(ui->m_FilterListSession);
    ui->m_FilterListSession->setCurrentIndex(items.GetCurrentView());
}

void Tm_MainFrm::m_FilterListSessionChange(int position)
{
    if (m_DataStorage.IsCategoriesOnlyLoaded())
    {
        if (!ui->m_SessionView->isHidden())
            ui->m_StartSessionBtn->setEnabled(false);
        lf::qt::BusyCursor busy;
        if (m_DataStorage.GetCurrentBookIndex() >= 0)
            LoadBook(m_DataStorage.GetCurrentBookIndex(), false);
        ui->m_StartSessionBtn->setEnabled(true);
    }
    m_DataStorage.GetItemsPtr2()->SetCurrentView(static_cast<std::uint8_t>(position), /*refilter=*/false);
}

void Tm_MainFrm::m_ModeListChange(int position)
{
    ApplyModePosition(*m_DataStorage.GetItemsPtr2(), position);
}

void Tm_MainFrm::m_pSessionViewCheckBoxClick()
{
    OnUpdateSeesionView();
}

// --- Book tree ---

void Tm_MainFrm::TreeViewPopupFormClose()
{
    std::string text;
    std::int32_t data = 0;
    int image = 0;
    const bool selected = m_pTreeViewPopupForm->GetSelectedNode(text, data, image);

    // A changed book is not left unasked; Cancel keeps the open book as it is.
    if (selected && image <= kBrowseNodeImage && !AskBeforeReplacingBook())
    {
        UpdateToolbars(1);
        return;
    }

    const EPhase phase = m_DataStorage.GetPhase();
    CBookList& books = *m_DataStorage.GetBookList();
    if (selected && image > kBrowseNodeImage)
    {
        // Folders and "External" stand for no book: choosing one loads nothing.
    }
    else if (selected && data < books.GetCount() && !(phase == EPhase::Edit && data == kCreateBookNodeData))
    {
        m_pBookComboBox->setEditText(ToQString(text));
        ui->m_StartSessionBtn->setEnabled(false);
        {
            lf::qt::BusyCursor busy;
            LoadBook(data, true);
        }
        ui->m_StartSessionBtn->setEnabled(true);
    }
    else if (selected && phase == EPhase::Edit && data == kCreateBookNodeData)
    {
        m_pBookComboBox->setEditText(ToQString(text));
        if (m_pListWindow)
            m_pListWindow->ResetSearch(false);
        StopBackupTimer();
        m_DataStorage.NewBook();
        StartBackupTimer();
    }
    else if (selected && data == kBrowseNodeData)
    {
        if (const auto chosen = ChooseBookFile(m_Prefs.GetBooksDirectory(), ".lnf"))
        {
            const std::int32_t index = ListChosenBook(*chosen);
            if (index < 0)
                WriteLog("Tm_MainFrm::TreeViewPopupFormClose - ERROR: Can't open browsed book.!", 1, 1);
            else
            {
                ui->m_StartSessionBtn->setEnabled(false);
                LoadBook(index, true);
                ui->m_StartSessionBtn->setEnabled(true);
                OnUpdateSeesionView();
            }
        }
    }
    else if (selected)
        WriteLog("Tm_MainFrm::TreeViewPopupFormClose - ERROR: 2!", 1, 1);

    UpdatePrintCommands();
    UpdateWindowTitle();
    UpdateToolbars(1);
}
