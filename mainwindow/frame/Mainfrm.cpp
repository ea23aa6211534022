// The main window's lifetime: construction, creation, first showing, closing and destruction, the window
// placements, the private messages and the clipboard notice.
#include "mainwindow/frame/Mainfrm.h"

#include "editing/WindowPlacement.h"
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Booksfilterfrm.h"
#include "mainwindow/dialogs/Categoryeditfrm.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/NewVersionNotification.h"
#include "mainwindow/dialogs/Restorefrm.h"
#include "mainwindow/dialogs/Scalefrm.h"
#include "mainwindow/dialogs/Skins.h"
#include "mainwindow/dialogs/Timerfrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/rules/WindowMetrics.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/EventRules.h"
#include "platform/qt/HttpClient.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichView.h"
#include "platform/sys/SystemServices.h"
#include "ui_Mainfrm.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

using lf::qt::ToQString;
using lf::qt::ToStdString;

namespace
{

SWorkArea ScreenWorkArea()
{
    SWorkArea area;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        const QRect rect = screen->availableGeometry();
        area = {rect.x(), rect.y(), rect.width(), rect.height()};
    }
    return area;
}

} // namespace

// --- Construction ---

Tm_MainFrm::Tm_MainFrm(CPrefs& prefs, CDataStorage& storage, FormManager& formManager, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Tm_MainFrm>()), m_Prefs(prefs), m_DataStorage(storage),
      m_FormManager(formManager), m_pPendingEditing(std::make_unique<CPendingEditingServices>())
{
    m_pEditing = m_pPendingEditing.get();
    ui->setupUi(this);
    setObjectName("m_MainFrm");

    lf::sys::SeedRandom(static_cast<std::uint32_t>(lf::sys::Services().UtcSeconds()));
    m_Prefs.SetWorkArea(ScreenWorkArea());
    m_Prefs.Load();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        SetLogScreenInfo(screen->geometry().width(), screen->geometry().height(),
                         static_cast<int>(screen->logicalDotsPerInch()));
    WriteLog("", 1, 0);

    // Pictures of every format Qt reads are available to the views without registration.
    ApplySkin(m_Prefs);

    m_FontSizeStep = m_Prefs.GetMainFormFontSize();
    ui->SelectedRange75MenuItem->setVisible(false);
    ui->SelectedRange50MenuItem->setVisible(false);
    ui->SelectedRange25MenuItem->setVisible(false);

    if (!m_DataStorage.ReloadBookList())
        WriteLog(
            "Books are not found. You may need to adjust your preferences to point to the right directory.",
            1, 1);

    m_WheelScrollLines = ClampWheelScrollLines(QApplication::wheelScrollLines());

    FormCreate();
}

void Tm_MainFrm::FormCreate()
{
    WriteLog("Tm_MainFrm::FormCreate 1", 6, 1);
    WriteLog("Tm_MainFrm::FormCreate 2", 6, 1);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &Tm_MainFrm::OnClipboardChainMessage);
    WriteLog("Tm_MainFrm::FormCreate 3", 6, 1);

    RegisterFileType("lnf", lf::sys::Services().ProgramPath());
    ResetBookPackLabels();

    m_pStatusSink = std::make_unique<CStatusBarSink>(ui->StatusLine);
    m_pEventPump = std::make_unique<CDesktopEventPump>();
    m_pMessageSink = std::make_unique<CDialogMessageSink>();
    CreateScratchViews();
    m_DataStorage.SetRichViews(&m_RichViewTMP, &m_pRichViewEditTMP->Document());
    m_DataStorage.SetStatusBar(m_pStatusSink.get());
    m_DataStorage.SetEventPump(m_pEventPump.get());
    m_DataStorage.SetMessageSink(m_pMessageSink.get());

    m_pTreeViewPopupForm = std::make_unique<TTreeViewPopupForm>(this);
    m_pTreeViewPopupForm->OnClose = [this] { PostMessage(kMsgBookTreeClosed); };

    m_pBookComboBox = std::make_unique<TMyComboBox>(ui->m_SessionView);
    m_pBookComboBox->m_pTreeForm = m_pTreeViewPopupForm.get();
    m_pBookComboBox->setMinimumWidth(ui->m_TestList->minimumWidth());
    m_pBookComboBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ui->m_pBookComboLayout->insertWidget(0, m_pBookComboBox.get(), 1);

    m_pBackupTimer.OnTimer = [this] { m_pBackupTimerTimer(); };
    m_pRestoreFrm = std::make_unique<Tm_pRestoreFrm>(m_DataStorage, m_Prefs, this);
    m_BooksFilterFrm = std::make_unique<Tm_BooksFilterFrm>(*m_DataStorage.GetBookList(), this);

    // The editor and the read-only view of the question pane, above the frame panel.
    CreateQuestionPaneViews();
    CreateAnswerTimers();
    // Stored texts in the default style show in the field font of the options.
    ApplyFieldFont();

    // The keyboard hook sees every key from now on.
    InstallKeyHook();

    // The screens: the intro shows until a phase is chosen.
    ui->m_SessionView->hide();
    ui->m_pBookSelectorViewViewPanel->hide();
    ui->m_MainView->hide();

    // The two Flash dials end at the same place whatever their end labels say.
    const int dialEnd =
        std::max(ui->m_pDelayMaxLabel->sizeHint().width(), ui->m_pHintMaxLabel->sizeHint().width());
    for (QLabel* label : {ui->m_pDelayMaxLabel, ui->m_pHintMaxLabel})
        label->setMinimumWidth(dialEnd);

    ConnectCommands();
    CreateSessionWindows();
    CreateUpdateCheck();
    m_FormManager.SetMainWindow(this);
}

void Tm_MainFrm::ConnectCommands()
{
    const auto bind = lf::qt::ActionBinder(this);
    bind(ui->m_TestBtn, &Tm_MainFrm::m_TestBtnClick);
    bind(ui->m_RewieBtn, &Tm_MainFrm::m_RewieBtnClick);
    bind(ui->m_LearnMaterialBtn, &Tm_MainFrm::m_LearnMaterialBtnClick);
    bind(ui->m_EditBtn, &Tm_MainFrm::m_EditBtnClick);
    bind(ui->Test1MenuItem, &Tm_MainFrm::m_TestBtnClick);
    bind(ui->Review1MenuItem, &Tm_MainFrm::m_RewieBtnClick);
    bind(ui->Flash1MenuItem, &Tm_MainFrm::m_LearnMaterialBtnClick);
    bind(ui->Edit2MenuItem, &Tm_MainFrm::m_EditBtnClick);
    bind(ui->m_ListBtn, &Tm_MainFrm::m_ListBtnClick);
    bind(ui->m_pListViewMenuItem, &Tm_MainFrm::m_ListBtnClick);
    bind(ui->m_SaveBtn, &Tm_MainFrm::m_SaveBtnClick);
    bind(ui->SaveBook1, &Tm_MainFrm::m_SaveBtnClick);
    bind(ui->m_SaveAsBtn, &Tm_MainFrm::m_SaveAsBtnClick);
    bind(ui->SaveBookas1, &Tm_MainFrm::m_SaveAsBtnClick);
    bind(ui->Saveindefault1, &Tm_MainFrm::Saveindefault1Click);
    bind(ui->m_NewBtn, &Tm_MainFrm::m_NewBtnClick);
    bind(ui->NewBook1, &Tm_MainFrm::m_NewBtnClick);
    bind(ui->m_OpenBookBtn, &Tm_MainFrm::m_OpenBookBtnClick);
    bind(ui->OtherBook1, &Tm_MainFrm::OpenBooksClick);
    bind(ui->OpenDefBookMenuItem, &Tm_MainFrm::OpenDefBookMenuItemClick);
    bind(ui->AppendBook1, &Tm_MainFrm::AppendBook1Click);
    bind(ui->CloseBook1, &Tm_MainFrm::CloseBook1Click);
    bind(ui->m_DeleteBookBtn, &Tm_MainFrm::m_DeleteBookBtnClick);
    bind(ui->DeleteBook1, &Tm_MainFrm::m_DeleteBookBtnClick);
    bind(ui->m_RestoreBookBtn, &Tm_MainFrm::m_RestoreBookBtnClick);
    bind(ui->RestoreBook1, &Tm_MainFrm::m_RestoreBookBtnClick);
    bind(ui->m_ScoreBtn, &Tm_MainFrm::m_ScoreBtnClick);
    bind(ui->m_EndSessionBtn, &Tm_MainFrm::m_EndSessionBtnClick);
    bind(ui->m_PauseBtn, &Tm_MainFrm::m_PauseBtnClick);
    bind(ui->m_BackToolBarBtn, &Tm_MainFrm::m_BackToolBarBtnClick);
    bind(ui->m_TimerBtn, &Tm_MainFrm::m_TimerBtnClick);
    bind(ui->m_PrintBtn, &Tm_MainFrm::m_PrintBtnClick);
    bind(ui->Print1, &Tm_MainFrm::m_PrintBtnClick);
    bind(ui->m_ImportExportBtn, &Tm_MainFrm::m_ImportExportBtnClick);
    bind(ui->ImportandExport1, &Tm_MainFrm::m_ImportExportBtnClick);
    connect(ui->Exit1, &QAction::triggered, this, &QWidget::close);
    connect(ui->Standard1, &QAction::triggered, this,
            [this]
            {
                m_Prefs.m_ShowStandartToolbar = !m_Prefs.m_ShowStandartToolbar;
                UpdateToolbars(0);
            });
    connect(ui->Formatting1, &QAction::triggered, this,
            [this]
            {
                m_Prefs.m_ShowFormatingToolbar = !m_Prefs.m_ShowFormatingToolbar;
                UpdateToolbars(0);
            });

    // Session panel: changes made by the program run no handler, so only the user's choices count.
    connect(ui->m_FilterListSession, &QComboBox::activated, this, &Tm_MainFrm::m_FilterListSessionChange);
    connect(ui->m_ModeList, &QComboBox::activated, this, &Tm_MainFrm::m_ModeListChange);
    for (QCheckBox* box : {ui->m_pFilterCheckBox, ui->m_pModeCheckBox, ui->m_pTimerCheckBox})
        connect(box, &QCheckBox::clicked, this, [this] { m_pSessionViewCheckBoxClick(); });
    connect(ui->m_StartSessionBtn, &QPushButton::clicked, this, [this] { m_StartSessionBtnClick(); });
    connect(ui->m_pTutorialBtn, &QPushButton::clicked, this, [this] { m_pTutorialBtnClick(); });
    connect(ui->m_HelpBtn, &QAction::triggered, this, [this] { m_HelpBtnClick(); });
    connect(ui->AboutLernfold1, &QAction::triggered, this, [this] { AboutLernfold1Click(); });
    connect(ui->m_BackBtn, &QPushButton::clicked, this, [this] { m_BackBtnClick(); });
    connect(ui->m_IncreaseBtn, &QToolButton::clicked, this, [this] { m_IncreaseBtnClick(); });
    connect(ui->m_DecreaseBtn, &QToolButton::clicked, this, [this] { m_DecreaseBtnClick(); });
    connect(ui->m_FontNormalBtn, &QToolButton::clicked, this, [this] { m_FontNormalBtnClick(); });
    connect(ui->m_QuickEditBtn, &QToolButton::clicked, this,
            [this]
            {
                OnStorageData();
                m_pEditing->QuickEdit(m_ActiveView == EView::Answers       ? 1000
                                      : m_ActiveView == EView::Explanation ? 3000
                                                                           : 0);
            });
    connect(ui->m_FilterList, &QComboBox::activated, this, &Tm_MainFrm::m_FilterListChange);
    connect(ui->m_pBrowseBtn, &QPushButton::clicked, this, [this] { m_pBrowseBtnClick(); });
    connect(ui->m_pFilterBtn, &QPushButton::clicked, this, [this] { m_pFilterBtnClick(); });
    bind(ui->m_PrefsBtn, &Tm_MainFrm::m_PrefsBtnClick);
    bind(ui->Preferences1, &Tm_MainFrm::m_PrefsBtnClick);
    bind(ui->Zoom1, &Tm_MainFrm::Zoom1Click);
    connect(ui->CheckforUpdates1, &QAction::triggered, this, [this] { CheckForNewVersion(1); });
    connect(ui->m_pDelayBeforeHintTrackBar, &QSlider::valueChanged, this,
            [this](int value) { m_Prefs.m_DelayBeforeHintDelayForLearnMode = value; });
    connect(ui->m_HintTimeTrBar, &QSlider::valueChanged, this,
            [this](int value) { m_Prefs.m_HintDelayForLearnMode = value; });
    ConnectMenuCommands();
}

Tm_MainFrm::~Tm_MainFrm()
{
    // Leave the clipboard notice before anything it reaches goes away.
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    m_pBackupTimer.OnTimer = nullptr;
    FormDestroy();
    m_pEditing->ClearImportedImageCache();
    m_FormManager.SetMainWindow(nullptr);
    // The storage outlives the window: it lets go of everything the window lends it.
    m_DataStorage.SetRichViews(nullptr, nullptr);
    m_DataStorage.SetStatusBar(nullptr);
    m_DataStorage.SetEventPump(nullptr);
    m_DataStorage.SetMessageSink(nullptr);
}

void Tm_MainFrm::SetListWindow(IListWindow* list)
{
    m_pListWindow = list;
    m_FormManager.SetListWindow(list);
}

void Tm_MainFrm::SetEditingServices(IEditingServices* services)
{
    m_pEditing = services ? services : m_pPendingEditing.get();
}

void Tm_MainFrm::ResetBookPackLabels()
{
    ui->m_pNoticeLabel->clear();
    ui->m_pBookPackInfoLabel->clear();
    ui->m_pBookPackInfoShadowLabel->clear();
}

// --- First showing ---

void Tm_MainFrm::FormShow(const std::string& bookArgument)
{
    if (m_bCapturingScreen)
        return;
    ui->m_VersiopnStr->setText("Version 4.9");
    ui->m_VersiopnStr2->setText("Version 4.9");
    ApplyFilterBarFonts();
    UpdateToolbars(0);
    if (m_Prefs.m_EnabledAutoUpdate)
        CheckForNewVersion(0);
    ResetBookPackLabels();
    ApplyWindowPlacement(0, 0);

    if (!bookArgument.empty() && IsBookFileName(bookArgument))
    {
        m_DataStorage.SetCurrentMode(EPhase::Flash);
        CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
        if (m_DataStorage.IsBookLoaded())
            items.SetCurrentView(EViewFilter::All, /*refilter=*/true);
        CBookList& books = *m_DataStorage.GetBookList();
        int index = books.IndexOf(bookArgument);
        if (index < 0)
            index = books.Add(bookArgument, false);
        if (index < 0)
            WriteLog("Tm_MainFrm::FormShow - ERROR: Can't open browsed book.!", 1, 1);
        else
        {
            LoadBook(index, false);
            if (m_DataStorage.IsBookLoaded())
            {
                items.Refilter(false);
                if (items.GetSequenceCount() <= 0)
                    lf::qt::MessageDlg(
                        "Your search was too strict. \n\n Set your filter to All, and then repeat "
                        "your request.",
                        lf::qt::MsgKind::Warning, lf::qt::MsgButtons::Ok);
                else
                {
                    items.First();
                    SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/1);
                }
                if (m_DataStorage.GetPhase() == EPhase::Test)
                    m_bClockPaused = 0;
                else
                    WriteLog("Tm_MainFrm::FormShow - Wrong active mode!", 1, 1);
            }
        }
    }

    UpdateOpenBookMenu();
    UpdateWindowTitle();
    m_bShown = true;
}

// --- Closing ---

void Tm_MainFrm::closeEvent(QCloseEvent* event)
{
    // The close question: the save road decides, Cancel keeps the window open.
    if (!OnSave(true, true))
    {
        event->ignore();
        return;
    }
    FormClose();
    if (m_pListWindow)
        m_pListWindow->HideList();
    event->accept();
}

void Tm_MainFrm::FormClose()
{
    SaveWindowPlacement();
    WriteLog("SavePrefs", 3, 1);
    m_Prefs.SetMainFormFontSize(m_FontSizeStep);
    m_Prefs.SetWorkArea(ScreenWorkArea());
    m_Prefs.Save();
    WriteLog("", 1, 3);
}

void Tm_MainFrm::changeEvent(QEvent* event)
{
    // Activation installs the keyboard and wheel hook once it exists; until then keys reach the focused
    // control directly.
    QMainWindow::changeEvent(event);
}

// --- Placements ---

void Tm_MainFrm::SaveWindowPlacement()
{
    if (IsListBesideMain())
    {
        m_Prefs.m_MainFormExtPlacement = PlacementOf(*this, m_Prefs.m_MainFormExtPlacement);
        m_Prefs.m_ListFormPlacement = m_pListWindow->GetPlacement(m_Prefs.m_ListFormPlacement);
    }
    else
        m_Prefs.m_MainFormPlacement = PlacementOf(*this, m_Prefs.m_MainFormPlacement);
}

void Tm_MainFrm::ApplyWindowPlacement(std::uint8_t a, std::uint8_t b)
{
    const bool listShown = IsListBesideMain();
    if ((listShown && a == 0) || (a == 1 && b == 1))
    {
        ApplyPlacement(*this, m_Prefs.m_MainFormExtPlacement, CorrectMainWindowSize);
        if (m_pListWindow)
            m_pListWindow->SetPlacement(m_Prefs.m_ListFormPlacement);
    }
    else
        ApplyPlacement(*this, m_Prefs.m_MainFormPlacement, CorrectMainWindowSize);
}

// --- Messages ---

void Tm_MainFrm::PostMessage(int message)
{
    QMetaObject::invokeMethod(
        this, [this, message] { Dispatch(message); }, Qt::QueuedConnection);
}

void Tm_MainFrm::Dispatch(int message)
{
    switch (message)
    {
    case kMsgBookTreeClosed:
        TreeViewPopupFormClose();
        break;
    case kMsgShowSessionPanel:
        ui->m_SessionView->show();
        OnUpdateSeesionView();
        HideBookSelectorPanel();
        break;
    default:
        break;
    }
}

void Tm_MainFrm::OnClipboardChainMessage()
{
    m_pEditing->OnClipboardChange();
    if (m_bPhaseChosen)
        m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::ClipboardChanged);
}

// --- Small helpers ---

void Tm_MainFrm::SetStatusText(const std::string& text)
{
    if (text.empty())
        ui->StatusLine->clearMessage();
    else
        ui->StatusLine->showMessage(ToQString(text));
}

std::string Tm_MainFrm::StatusText() const
{
    return ToStdString(ui->StatusLine->currentMessage());
}

QAction* Tm_MainFrm::FindAction(const char* name) const
{
    return findChild<QAction*>(name);
}
