// The main window: the hub of every command. The program hands it the options, the book storage and the
// form manager (CApplicationWindows in Application.h owns them); its surface is what the other windows and
// the program call, and the handlers are private. Its implementation is split by concern:
//   Mainfrm.cpp          lifetime, first showing, closing, placements, private messages, clipboard notice
//   Mainfrm_Phases.cpp   phase, window title, toolbars and menus by phase, session panel, book tree
//   Mainfrm_ListView.cpp the list window's coupling and the receivers of its notifications
//   Mainfrm_Files.cpp    the save road, loading, new/open/append/delete/restore, backups, the book chooser
//   Mainfrm_Session.cpp  views, session start, moves, end of a chapter, chapter choices, Test clock, zoom
//   Mainfrm_Display.cpp  the question display: pane content, filter bar, counter, captions
//   Mainfrm_Answers.cpp  answer tables, recording a choice in Test phase, Flash hints, the style menu
//   Mainfrm_Store.cpp    storing the editors into the question, the question style
//   Mainfrm_Keys.cpp     the keyboard and wheel hook, the navigation buttons' keys
//   Mainfrm_Help.cpp     help pages, tutorial and the about box
//   Mainfrm_Print.cpp    printing the questions through the settings dialog and the preview
//   Mainfrm_Commands.cpp the main menu's forwards, zoom, Contact Us, the commands still to come
//   Mainfrm_Exchange.cpp the import and export dialog
//   Mainfrm_RichText.cpp the field font of the options, the hidden scratch views, the font action
// Tests read its state and reach its few internal steps through Tm_MainFrmProbe (MainfrmProbe.h).
#pragma once

#include "mainwindow/Managerfrm.h"
#include "mainwindow/frame/StorageSinks.h"
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/KeyRules.h"
#include "mainwindow/rules/PaneHandles.h"
#include "model/formulas/Formulamanager.h"
#include "model/storage/Datastorage.h"
#include "model/support/Prefs.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/RichView.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/qt/Timer.h"
#include "platform/richtext/RichDocument.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Ui
{
class Tm_MainFrm;
}
class IEditingServices;
namespace lf::qt
{
class RichView;
class TrvActionsResource;
} // namespace lf::qt
class CKeyHook;
class CNavigationKeys;
class Tm_MainFrmProbe;
class QComboBox;
class QTextEdit;
class QMenu;
class Tm_pHelpFrm;
class Tm_pScaleFrm;
class Tm_CategoryEditFrm;
class Tm_TimerFrm;
class QAction;
class QStatusBar;
class TMyComboBox;
class TTreeViewPopupForm;
class Tm_BooksFilterFrm;
class Tm_pRestoreFrm;
class Tm_NewVersionNotification;
namespace lf::qt
{
class HttpClient;
struct SHttpReply;
} // namespace lf::qt

// The private messages of the main window, delivered as queued calls.
inline constexpr int kMsgBookTreeClosed = 10225;
inline constexpr int kMsgShowSessionPanel = 10325;

class Tm_MainFrm final : public QMainWindow, public IMainWindowReceiver
{
    Q_OBJECT

public:
    // Reads the options and makes the window on the program's options, book storage and form manager,
    // which outlive it. FormCreate runs at the end of the constructor.
    Tm_MainFrm(CPrefs& prefs, CDataStorage& storage, FormManager& formManager, QWidget* parent = nullptr);
    ~Tm_MainFrm() override;

    // The windows created after the main window that it talks to (not owned; null until set).
    void SetListWindow(IListWindow* list);
    void SetEditingServices(IEditingServices* services);
    // The rich-text actions module of the program (not owned; null until set).
    void SetActionsResource(lf::qt::TrvActionsResource* actions);
    // Installs the rich-text host with the field font of the options (FieldFont*) and shows the pane on
    // show again in it: at start, and whenever those options have changed.
    void ApplyFieldFont();
    // The first showing: version labels, toolbars, placement, the book named by the first argument,
    // the Open Book menu and the title. bookArgument may be empty.
    void FormShow(const std::string& bookArgument);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    // The clipboard changed (the window-system notice).
    void OnClipboardChainMessage();

    // Phase buttons and the session panel (Mainfrm_Phases.cpp).
    void m_TestBtnClick();
    void m_RewieBtnClick();
    void m_LearnMaterialBtnClick();
    void m_EditBtnClick();
    void m_FilterListSessionChange(int position);
    void m_ModeListChange(int position);
    void m_pSessionViewCheckBoxClick();

    // The List View button (Mainfrm_ListView.cpp).
    void m_ListBtnClick();

    // Book commands and the book chooser (Mainfrm_Files.cpp).
    void m_SaveBtnClick();
    void m_SaveAsBtnClick();
    void Saveindefault1Click();
    void m_NewBtnClick();
    void m_OpenBookBtnClick();
    void AppendBook1Click();
    void m_DeleteBookBtnClick();
    void m_RestoreBookBtnClick();
    void m_pBrowseBtnClick();
    void m_pFilterBtnClick();
    void OpenBooksClick();
    void OpenDefBookMenuItemClick();

    // The session's commands (Mainfrm_Session.cpp).
    void CloseBook1Click();
    void m_StartSessionBtnClick();
    void m_BackBtnClick();
    void m_FilterListChange(int position);
    void m_NextBtnClick();
    void m_PrevBtnClick();
    void m_ScoreBtnClick();
    void m_EndSessionBtnClick();
    void m_RecordCategoryListChange(int position);
    void m_ClearAnswersBtnClick();
    void m_ClearMarksBtnClick();
    void m_TimerBtnClick();
    void m_BackToolBarBtnClick();
    void m_PauseBtnClick() { m_BackToolBarBtnClick(); }
    void m_IncreaseBtnClick();
    void m_DecreaseBtnClick();
    void m_FontNormalBtnClick();

    // Printing: the settings, the document, the preview and the printer (Mainfrm_Print.cpp).
    void m_PrintBtnClick();

    // The import and export dialog (Mainfrm_Exchange.cpp).
    void m_ImportExportBtnClick();

    // Help pages and the about box (Mainfrm_Help.cpp).
    void m_pTutorialBtnClick();
    void m_HelpBtnClick();
    void AboutLernfold1Click();

    // Preferences (Mainfrm_Options.cpp).
    void m_PrefsBtnClick();

    // A mouse button went down in the read-only view (position in viewport coordinates)
    // (Mainfrm_Answers.cpp).
    void m_DescriptionViewStrRVMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void m_DescriptionViewStrRVMouseUp() {}

    // The question style buttons and menus (Mainfrm_Store.cpp).
    void m_pViewModeBtnClick() { SetQuestionStyle(EQuestionStyle::MultipleChoice); }
    void m_MoodleModeBtnClick() { SetQuestionStyle(EQuestionStyle::MultipleChoice); }
    void FlashcardMenuItemClick() { SetQuestionStyle(EQuestionStyle::Flashcard); }
    void FlashcardPlusMenuItemClick() { SetQuestionStyle(EQuestionStyle::FlashcardPlus); }
    void MultipleChoiceMenuItemClick() { SetQuestionStyle(EQuestionStyle::MultipleChoice); }
    void MoodleMenuItemClick() { SetQuestionStyle(EQuestionStyle::Moodle); }

private:
    // Tests read the window's state and reach its internal steps through the probe; the key hook and
    // the navigation buttons' key filter are parts of the window that live in their own objects.
    friend class Tm_MainFrmProbe;
    friend class CKeyHook;
    friend class CNavigationKeys;

    // How the Home answer of the score dialog treats the clock's limit.
    enum class EHomeLimit
    {
        Off,
        OffWhenTimeUp,
        Keep,
    };
    // The steps of the question-number scroll bar.
    enum class EScrollCode
    {
        LineUp,
        LineDown,
        PageUp,
        PageDown,
        Track,
        Other,
    };
    // What moved, for the Flash hint path.
    enum class EMoveKind
    {
        Forward,
        Back,
        Scroll,
    };

    // --- The list window's notifications (IMainWindowReceiver, Mainfrm_ListView.cpp) ---

    void SelectChapterFromList(std::int32_t chapterID) override;
    void OnItemFieldChanged(CBaseItem* item) override;
    void OnShowFieldRequest(EFormEvent show) override;
    void NewQuestionOfCurrentKind(int flag) override;
    void NewQuestionOfKind(int kind, int flag) override;
    void OnRefilterRequest() override;
    void DeleteCurrentQuestion() override;
    void OnItemsChanged() override;
    void OnSortRequest() override;
    void OnListWindowClosed() override;

    // --- Lifetime and routing (Mainfrm.cpp) ---

    // Step of construction after the form exists.
    void FormCreate();
    // Closing after the close was allowed: placements, options, the session-end log line.
    void FormClose();
    void ResetBookPackLabels();
    void ConnectCommands();
    // The main menu's items and the toolbar buttons of later windows (Mainfrm_Commands.cpp).
    void ConnectMenuCommands();
    void Zoom1Click();
    void ContactUs1Click();
    void EmptyTrash1Click();
    // The private messages (10225, 10325); Post delivers one after the current event.
    void Dispatch(int message);
    void PostMessage(int message);
    void SaveWindowPlacement();
    void ApplyWindowPlacement(std::uint8_t a, std::uint8_t b);
    bool IsCapturingScreen() const { return m_bCapturingScreen != 0; }
    void SetStatusText(const std::string& text);
    // The status bar's text.
    std::string StatusText() const;
    QAction* FindAction(const char* name) const;

    // --- Phases, toolbars, title and the session panel (Mainfrm_Phases.cpp) ---

    // Switches phase; false when the user cancelled the save question (the phase stays).
    bool SetPhase(EPhase phase, std::uint8_t noPanel);
    void UpdateWindowTitle();
    void UpdateToolbars(std::uint8_t keepButtons);
    void UpdatePrintCommands();
    void UpdateZoomButtons();
    // The smallest text size of the zoomed view as drawn with the zoom step; -1 without text styles.
    int SmallestZoomedTextSize() const;
    // Applies a toolbar state to the controls by name.
    void ApplyToolbarState(const struct SToolbarState& state);
    void OnUpdateSeesionView();
    void TreeViewPopupFormClose();

    // --- The list window's coupling (Mainfrm_ListView.cpp) ---

    void SyncListView(EFormEvent event, std::uint8_t focusBack);
    void ShowListWindow(std::uint8_t remember);
    void HideListWindow(std::uint8_t remember, std::uint8_t force);
    // The list window's hide and show, and whether it shows.
    bool IsListWindowVisible() const;
    // The list window shows and the main window stands beside it (its own placement for that).
    bool IsListBesideMain() const;
    void RememberListWindow(bool shown);

    // --- Saving and loading (Mainfrm_Files.cpp) ---

    bool OnSave(bool toIntro, bool ask);
    bool SaveBookAs(const std::string& proposedName, bool useBooksFolder);
    void SaveBook(bool toIntro, bool ask);
    bool LoadBook(std::int32_t index, bool categoriesOnly);
    void StartBackupTimer();
    void StopBackupTimer();
    void BackupNow(bool purge);
    void m_pBackupTimerTimer();
    // The Save As dialog and the write (steps 3 to 7 of Save As); true when written.
    bool RunSaveDialog(const std::string& initialFolder, const std::string& proposedName);
    // Before another book takes the open one's place: the save question for a changed book; false when
    // the user cancelled (the open book stays as it was).
    bool AskBeforeReplacingBook();
    // The open dialog for a book file; a name that is no book file is refused ("Incorrect file name.").
    std::optional<std::string> ChooseBookFile(const std::string& initialFolder, const char* defaultExt);
    // The book-list index of a chosen book file, entered in the list and always shown; -1 when it
    // cannot be listed.
    std::int32_t ListChosenBook(const std::string& path);
    // "Information saved to %s, %skb." for the open book's own file, when it exists.
    void ShowSavedStatus();

    // --- The book chooser and the Open Book menu (Mainfrm_Files.cpp) ---

    void OpenBrowsedBook(bool useBooksFolder);
    void UpdateOpenBookMenu();
    void UpdateQuickBookPanel();
    void FillBookTree();
    void FormDestroy();

    // --- Views and the session (Mainfrm_Session.cpp) ---

    void SetActiveView(EView view, std::uint8_t flags, std::uint8_t redraw);
    void CloseToIntro(bool blank);
    bool OnStorageData() { return OnStorageData(nullptr); }
    void SelectChapter(std::int32_t chapterID);
    void ClearFilterAndRefresh();
    void HideBookSelectorPanel();
    // The chapter editor, the study clock dialog and the Test clock, and the session's controls wired.
    void CreateSessionWindows();
    void LoadOnDemand();

    // --- Moves, the end of a chapter, chapters and the Test clock (Mainfrm_Session.cpp) ---

    void m_QAXBtnsClick(QObject* sender);
    // After a keyboard jump of 1, 10 or 100: shows the question, or ends the chapter when time is up.
    void AdvanceAfterAnswer();
    void m_QuestionScrollScroll(EScrollCode code, int position);
    // Stores the editors and moves up to count questions (back when negative); true when it moved.
    bool MoveBy(int count);
    bool IsHintPath() const;
    void ShowQuestionAfterMove(EMoveKind kind);
    // The score dialog's modal result: 1 Home, 2 Continue, 8 All, 5 Incorrect.
    int RunScoreDialog();
    // Runs the score dialog and acts on its answer; returns the answer.
    int EndOfChapter(EHomeLimit home);
    void RestartInNextPhase(std::uint8_t filterRestart);
    void m_CategoryListChange(QComboBox* sender);
    void ApplyChapterChoice(QComboBox* combo, std::uint8_t focus);
    void RefreshCategoryLists();
    void ShowChapterEditor();
    void StoreEditsAndNotifyList(EFormEvent field);
    void StopHintTimers();
    void StartCorrectAnswerHint(EView view, std::uint8_t flags, std::uint8_t focus);
    void m_TestTimerTimer();
    void StartTestClockIfLimited();
    void PauseTestClock();
    void ResumeTestClock();

    // --- Keyboard and wheel (Mainfrm_Keys.cpp) ---

    // The hook's answer to a key or wheel event: true when it handled the event, which then goes no
    // further. With dryRun it only tells whether it would take the key (for shortcut overrides).
    bool ApplicationMessageHook(lf::keys::EInput input, int key, int notches, Qt::KeyboardModifiers modifiers,
                                bool dryRun);
    // The window as the key rules see it.
    lf::keys::SKeySnapshot KeySnapshot() const;
    // How many key and wheel events have reached the rules.
    std::uint64_t KeyHookDecisions() const;
    void InstallKeyHook();
    bool RunKeyAction(const lf::keys::SKeyAction& action, const lf::keys::SKeySnapshot& snapshot);
    // The navigation buttons' key handlers; true when the key is swallowed.
    bool m_QAXBtnKeyDown(int key);
    bool m_QAXBtnsKeyUp(QWidget* button, int key);
    bool m_NextBtnKeyUp(int key);
    bool m_PrevBtnKeyUp(int key);

    // --- Help pages (Mainfrm_Help.cpp) ---

    // Loads "<current folder>/Help/" + page into the help window and shows it; a missing page shows an
    // empty window.
    void OpenHelpPage(const std::string& page);

    // --- Preferences, the filter bar's fonts and the new-version check (Mainfrm_Options.cpp) ---

    void ApplyFilterBarFonts();
    // The notification window and the version page's address (construction).
    void CreateUpdateCheck();
    // Asks the version page whether a newer version exists; manual (Help > Check for Updates) also says
    // when none does. One check at a time: a second one while the page is on its way does nothing.
    void CheckForNewVersion(std::uint8_t manual);
    // The page came (or the request ended): judges the reply of the check that sender made.
    void OnVersionPageLoaded(const lf::qt::HttpClient* sender, const lf::qt::SHttpReply& reply);
    void OnVersionPageError();

    // --- Question display and the answer tables (Mainfrm_Display.cpp, Mainfrm_Answers.cpp) ---

    // Brings the question view in line with the book; flags: 255 everything, 1 the pane, 2 the chapter
    // combo, 4 the filter combo, 8 the clock text alone. focus puts the keyboard focus on the pane.
    void OnUpdateForm(std::uint8_t flags, std::uint8_t focus);
    void ShowQuestionView(CBaseItem* item, bool resetDataset, bool noMedia);
    void ClearQuestionDisplay();
    void RenderAnswerBlock(CBaseItem* item, bool replace);
    // Which of the editor and the read-only view shows for the active view and the current question.
    void ApplyPaneVisibility();
    // The answer table on show and the first cell of its highlighted row; null once the pane's content
    // has been rebuilt.
    lf::RichTable* AnswerTable() const;
    lf::SRichCell* HighlightedCell() const;
    // Counts a rebuild of the pane's content: every reference into the old content goes stale.
    void PaneRebuilt() { ++m_PaneGeneration; }
    // Fills the pane of the active view (step 13 of OnUpdateForm) and applies the zoom.
    void UpdatePaneContent(CBaseItem* item, EPhase phase, std::uint8_t focus);
    void UpdateFilterBar(std::uint8_t flags, CBaseItem* item, EPhase phase);
    void ApplyZoom();
    void CreateQuestionPaneViews();
    // ShowQuestionView without laying the view out.
    void FillQuestionView(CBaseItem* item, bool resetDataset, bool noMedia);
    // The answer-block drawing state of the window.
    lf::display::SAnswerBlockState AnswerBlockState() const;
    lf::qt::SRichHit AnswerRowHit(int row) const;
    lf::qt::RichView* PaneView(const char* name) const;
    int AnswerTableRowCount() const;

    // --- Answer recording in Test phase and the Flash hints (Mainfrm_Answers.cpp) ---

    // The row of a cell of the answer table on show takes the highlight; other data changes nothing.
    void HighlightAnswerRow(const lf::qt::SRichHit& cell);
    // Records the choice of the cell's row in the current question.
    void RecordAnswerChoice(const lf::qt::SRichHit& cell);
    void ScrollViewDown(lf::qt::RichView* view);
    void ScrollViewUp(lf::qt::RichView* view);
    void ScrollViewToTop(lf::qt::RichView* view);
    void ScrollToHighlightedRow(lf::qt::RichView* view);
    // Flash phase: whether the clicked row is right, said at once.
    void ShowFlashFeedback(const lf::qt::SRichHit& cell);
    // Hides what a hint or a click revealed; repaint redraws the view.
    void ResetAnswerHighlights(bool repaint);
    void m_DelayBegoreShowHintTimerTimer();
    void m_CorrectAnswerListTimerTimer();
    void m_CorrectAnswerHintTimerTimer();
    // The cell a hit names when it lies in the answer table on show; null otherwise.
    lf::RichTable* HitAnswerTable(const lf::qt::SRichHit& cell) const;
    // Refreshes a row's picture and colours after a choice (Multiple Choice and Moodle styles).
    void RefreshChoiceRow(lf::RichTable& table, int row, int picture, bool chosen, bool correct);
    // Where the answer recording and the Flash feedback act: the read-only view, which the question's
    // whole block and the answer table belong to.
    void RepaintAnswerCell(int row, int col);
    void SetStatusLabel(const std::string& text, lf::RichColor colour);
    // The hint and feedback timers and the style menu wired, the help window and the scale dialog made
    // (construction).
    void CreateAnswerTimers();

    // --- Storing the editors into the question (Mainfrm_Store.cpp) ---

    // Stores what the user typed into the current question; changed (when given) tells whether anything
    // was written. False while the window is updating or without a current question.
    bool OnStorageData(std::uint8_t* changed);
    bool StoreQuestionPane(CBaseItem& item, bool& changed);
    bool OnStorageAnswersInEditMod(CBaseItem& item, bool& changed);
    bool StoreExplanationPane(CBaseItem& item, bool& changed);
    bool StoreUserAnswer(CBaseItem& item, bool& changed);
    bool IsUpdating() const { return m_bUpdating != 0; }

    // --- The hidden scratch views and the font action (Mainfrm_RichText.cpp) ---

    // Makes the hidden scratch views and editor, each with its own sheet (construction).
    void CreateScratchViews();
    // Sets only the given properties of the font (ERichFontProperty flags) on the selection of the
    // active editor; false without an active editor or actions module, or when nothing was set.
    bool ApplyFontToActiveEditor(unsigned properties, const lf::qt::SFontChoice& font);

    // --- Question style (Mainfrm_Store.cpp) ---

    void SetQuestionStyle(EQuestionStyle style);

    std::unique_ptr<Ui::Tm_MainFrm> ui;
    CPrefs& m_Prefs;
    CDataStorage& m_DataStorage;
    FormManager& m_FormManager;
    std::int32_t m_LastRecordCategoryIndex = 0;
    std::uint8_t m_bUpdating = 0;
    std::uint32_t m_ClockPauseTick = 0;
    std::uint8_t m_bPhaseChosen = 0;
    std::uint8_t m_bClockPaused = 0;
    std::uint8_t m_bUpdateNavigationFailed = 0;
    std::uint8_t m_bUpdateCheckRunning = 0;
    std::int32_t m_FlashAnswerRow = -1;
    std::uint8_t m_bHintShown = 0;
    std::int32_t m_WheelScrollLines = 3;
    std::int32_t m_HighlightedRow = 0;
    std::int32_t m_FontSizeStep = 0;
    std::uint8_t m_bFetchPictures = 1;
    CFormulaManager m_FormulaManager;
    std::int32_t m_CalculatedPage = 0;
    std::unique_ptr<TTreeViewPopupForm> m_pTreeViewPopupForm;
    std::unique_ptr<TMyComboBox> m_pBookComboBox;
    std::unique_ptr<Tm_pRestoreFrm> m_pRestoreFrm;
    std::unique_ptr<Tm_BooksFilterFrm> m_BooksFilterFrm;
    // Set while File > Open Book > Open in Default runs the Open command.
    bool m_bOpenInDefault = false;
    std::uint8_t m_bCapturingScreen = 0;
    std::uint8_t m_bHotKeysRegistered = 0;
    EView m_ActiveView = EView::Intro;
    std::uint8_t m_bAutoPhaseChange = 0;
    std::uint8_t m_bFilterRestart = 0;
    std::uint8_t m_bRestartClock = 0;
    std::uint8_t m_bManualUpdateCheck = 0;
    lf::qt::Timer m_pBackupTimer;
    lf::qt::Timer m_TestTimer;
    // The Flash hint: the delay before it, how long it stays, how long a click's feedback stays.
    lf::qt::Timer m_DelayBegoreShowHintTimer;
    lf::qt::Timer m_CorrectAnswerListTimer;
    lf::qt::Timer m_CorrectAnswerHintTimer;
    QMenu* m_pViewModePopupMenu = nullptr; // owned by the window
    std::unique_ptr<Tm_pHelpFrm> m_pHelpFrm;
    std::unique_ptr<Tm_pScaleFrm> m_pScaleFrm;
    std::unique_ptr<Tm_CategoryEditFrm> m_CategoryEditFrm;
    std::unique_ptr<Tm_TimerFrm> m_TimerFrm;
    // The hidden scratch views, each with a style sheet of its own: the storage makes plain search texts
    // and exports in the first, texts are joined in the second.
    lf::RichDocument m_RichViewTMP;
    lf::RichDocument m_RichViewTMP2;
    // The hidden scratch editor, in its own sheet: the clipboard parsers paste into it and the book-wide
    // picture rework uses it. Owned by the window, never shown.
    lf::qt::RichViewEdit* m_pRichViewEditTMP = nullptr;
    // The rich-text editor that last got the focus, which the font, clipboard and link commands act on.
    lf::qt::RichViewEdit* m_pActiveRichEdit = nullptr;
    lf::qt::TrvActionsResource* m_pActionsResource = nullptr; // not owned
    std::unique_ptr<CStatusBarSink> m_pStatusSink;
    std::unique_ptr<CDesktopEventPump> m_pEventPump;
    std::unique_ptr<CDialogMessageSink> m_pMessageSink;
    std::unique_ptr<IEditingServices> m_pPendingEditing;
    IEditingServices* m_pEditing = nullptr; // not owned unless it is the placeholder
    IListWindow* m_pListWindow = nullptr;   // not owned
    // The read-only view and the editor of the question pane, owned by the form.
    lf::qt::RichView* m_DescriptionViewStr = nullptr;
    lf::qt::RichViewEdit* m_DescriptionStr = nullptr;
    std::uint64_t m_PaneGeneration = 1;
    lf::display::CPaneTableRef m_pAnswerTable;
    lf::display::CPaneCellRef m_pHighlightedCell;
    bool m_bShown = false;
    CKeyHook* m_pKeyHook = nullptr; // owned by the window as its child
    // The new-version check: the request of the last check, the notification kept for the run, and the
    // page and time limit (settings of the build; tests point them at a server of their own).
    std::unique_ptr<lf::qt::HttpClient> m_pUpdateBrowser;
    std::unique_ptr<Tm_NewVersionNotification> m_NewVersionNotification;
    std::string m_VersionPageUrl;
    int m_UpdateTimeoutMs = 0;
};
