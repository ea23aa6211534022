// The save road a book takes when it is left, saved or saved under another name, and loading a listed
// book; the backup timer of the Edit phase.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Booksfilterfrm.h"
#include "mainwindow/dialogs/Restorefrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "model/items/Datatypes.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"
#include "ui_Mainfrm.h"

#include <QAction>

#include <array>
#include <filesystem>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

constexpr const char* kSaveQuestion = "Do you want to save the changes?";
constexpr const char* kSaveError =
    "File save error. \r\nYou do not have write permission or enough free space. "
    "\r\nPlease try a different location.";
constexpr const char* kOldFormatQuestion =
    "Would you like to save data in the old format, \r\nwhich is compatible with Lernfold 2.0 for handheld "
    "devices? \r\n\r\nImages and font styles will not be saved in this file format. \r\n\r\nAfter you save "
    "the file in the old .PDB format, \r\nLernfold will continue to work with the file in the current .LNF "
    "format, which includes your images and font styles.";
constexpr const char* kBookFilter = "Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb";

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// The extension of the name part, trimmed and lower-cased (".pdb"); empty when there is none.
std::string NameExtension(const std::string& fileName)
{
    return lf::sys::LowerCase(lf::sys::Trim(lf::sys::ExtensionOf(fileName)));
}

} // namespace

// --- The save question and the save ---

bool Tm_MainFrm::OnSave(bool toIntro, bool ask)
{
    if (!m_DataStorage.IsBookLoaded())
        return true;
    if (!OnStorageData())
        WriteLog("Tm_MainFrm::OnSave() WARNING - OnStorageData() == false", 1, 1);

    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    CBookList& books = *m_DataStorage.GetBookList();
    const std::int32_t index = m_DataStorage.GetCurrentBookIndex();
    if (!items.IsModified())
    {
        std::string path;
        if (index < 0 || (books.GetFullPath(index, &path) && FileExists(path)))
        {
            SetStatusText({});
            return true;
        }
    }

    // Leaving without saving: the changes go with the closed book, on the user's word only.
    const auto leaveWithoutSaving = [this, toIntro]
    {
        StopBackupTimer();
        m_DataStorage.CloseBook();
        if (toIntro)
            CloseToIntro(false);
        return true;
    };

    const bool edit = m_DataStorage.GetPhase() == EPhase::Edit;
    bool saved = false;
    if (edit)
    {
        const int answer =
            ask ? MessageDlg(kSaveQuestion, MsgKind::Confirmation, MsgButtons::YesNoCancel) : lf::qt::mrYes;
        if (answer == lf::qt::mrNo)
            return leaveWithoutSaving();
        if (answer != lf::qt::mrYes)
            return false;
        saved = index >= 0 && m_DataStorage.SaveBook();
        if (!saved)
        {
            if (index >= 0)
                MessageDlg(kSaveError, MsgKind::Error, MsgButtons::Ok);
            saved = RunSaveDialog(m_Prefs.GetBooksDirectory(), {});
        }
    }
    else
    {
        saved = m_DataStorage.SaveBook();
        if (!saved)
        {
            // A book that cannot be written where it is (a read-only folder, a full disk) must not keep the
            // user from leaving, and its answers must not vanish unasked: say so, then let the user save
            // it elsewhere, leave without it, or stay.
            MessageDlg(kSaveError, MsgKind::Error, MsgButtons::Ok);
            const int answer = MessageDlg(kSaveQuestion, MsgKind::Confirmation, MsgButtons::YesNoCancel);
            if (answer == lf::qt::mrNo)
                return leaveWithoutSaving();
            if (answer == lf::qt::mrYes)
                saved = RunSaveDialog(m_Prefs.GetBooksDirectory(), {});
        }
    }
    if (!saved)
        return false;
    ShowSavedStatus();
    return true;
}

bool Tm_MainFrm::RunSaveDialog(const std::string& initialFolder, const std::string& proposedName)
{
    lf::qt::SFileDialog dialog;
    dialog.owner = this;
    dialog.initialFolder = initialFolder;
    dialog.filter = kBookFilter;
    dialog.defaultExt = ".lnf";
    dialog.fileName = proposedName;
    const auto chosen = lf::qt::CurrentDialogs().SaveFile(dialog);
    if (!chosen)
        return false;
    const bool palm = NameExtension(*chosen) == ".pdb";
    if (palm && MessageDlg(kOldFormatQuestion, MsgKind::Confirmation, MsgButtons::YesNo) != lf::qt::mrYes)
        return false;
    // The question names the file that is really written: the book writers append ".lnf" to other names.
    // When that name differs from the chosen one, the storage asks about it itself.
    const std::string written = BookFileNameToWrite(*chosen, false);
    if (written == *chosen && FileExists(written) &&
        MessageDlg("File \"" + written + "\" exists. Overwrite the file?", MsgKind::Confirmation,
                   MsgButtons::YesNo) != lf::qt::mrYes)
        return false;
    if (!m_DataStorage.SaveBookAs(*chosen, !palm))
    {
        if (!m_DataStorage.IsSaveDeclined())
            MessageDlg(kSaveError, MsgKind::Error, MsgButtons::Ok);
        return false;
    }
    return true;
}

void Tm_MainFrm::ShowSavedStatus()
{
    std::string path;
    const std::int32_t index = m_DataStorage.GetCurrentBookIndex();
    if (index < 0 || !m_DataStorage.GetBookList()->GetFullPath(index, &path) || !FileExists(path))
        return;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    SetStatusText("Information saved to " + path + ", " + lf::sys::NumberText(error ? 0 : size / 1024) +
                  "kb.");
}

bool Tm_MainFrm::SaveBookAs(const std::string& proposedName, bool useBooksFolder)
{
    if (!m_DataStorage.IsBookLoaded())
        return true;
    if (!OnStorageData())
        WriteLog("Tm_MainFrm::OnSave() WARNING - OnStorageData() == false", 1, 1);
    std::string folder;
    if (useBooksFolder)
        folder = m_Prefs.GetBooksDirectory();
    else if (m_DataStorage.IsBookLoaded() || m_DataStorage.IsCategoriesOnlyLoaded())
        folder = GetBookFolder(m_DataStorage.GetFileName());
    // A book never saved has no folder of its own: it starts among the books.
    if (folder.empty())
        folder = m_Prefs.GetBooksDirectory();
    if (!RunSaveDialog(folder, proposedName))
        return false;
    UpdateWindowTitle();
    ShowSavedStatus();
    return true;
}

void Tm_MainFrm::SaveBook(bool toIntro, bool ask)
{
    m_DataStorage.SetStatusBar(m_pStatusSink.get());
    const std::int32_t index = m_DataStorage.GetCurrentBookIndex();
    if (index < 0)
        SaveBookAs({}, /*useBooksFolder=*/false);
    else
    {
        const std::string fileName = m_DataStorage.GetBookList()->GetFileName(index);
        if (NameExtension(fileName) == ".pdb")
            SaveBookAs(fileName.substr(0, fileName.size() - 4), /*useBooksFolder=*/false);
        else
            OnSave(toIntro, ask);
    }
    OnUpdateForm(1, 0);
}

void Tm_MainFrm::m_SaveBtnClick()
{
    SaveBook(false, false);
}

void Tm_MainFrm::m_SaveAsBtnClick()
{
    if (SaveBookAs({}, /*useBooksFolder=*/false))
        OnUpdateForm(1, 0);
}

void Tm_MainFrm::Saveindefault1Click()
{
    if (SaveBookAs({}, /*useBooksFolder=*/true))
        OnUpdateForm(1, 0);
}

// --- Loading a listed book ---

bool Tm_MainFrm::LoadBook(std::int32_t index, bool categoriesOnly)
{
    StopBackupTimer();
    m_DataStorage.SetStatusBar(m_pStatusSink.get());
    std::string path;
    m_DataStorage.GetBookList()->GetFullPath(index, &path);
    if (!path.empty() && m_DataStorage.OpenBook(path, categoriesOnly))
    {
        if (m_pListWindow)
            m_pListWindow->ResetSearch(false);
        m_DataStorage.SetCurrentBookIndex(index);
        CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
        {
            const QSignalBlocker block(ui->m_TestList);
            ui->m_TestList->clear();
            for (const auto& [text, id] :
                 FillCategoryList(items, /*withAll=*/true, /*withTrash=*/false, /*withEdit=*/false))
                ui->m_TestList->addItem(lf::qt::ToQString(text), id);
            ui->m_TestList->setCurrentIndex(ui->m_TestList->findData(items.GetActiveCategory()));
        }
        if (!categoriesOnly && m_DataStorage.GetPhase() == EPhase::Edit)
            m_DataStorage.PrepareContent();
        StartBackupTimer();
    }
    else
    {
        MessageDlg("Error. Can't load the book.", MsgKind::Error, MsgButtons::Ok);
        m_pBookComboBox->setEditText(QString());
        m_DataStorage.SetCurrentBookIndex(-1);
    }
    return true;
}

// --- Backups while editing ---

void Tm_MainFrm::StartBackupTimer()
{
    if (m_DataStorage.GetPhase() != EPhase::Edit || !m_Prefs.m_BackupAllow || m_pBackupTimer.Enabled())
        return;
    m_pBackupTimer.SetInterval(m_Prefs.GetBackupIntervalMilliseconds());
    m_pBackupTimer.SetEnabled(true);
}

void Tm_MainFrm::StopBackupTimer()
{
    if (m_pBackupTimer.Enabled())
        m_pBackupTimer.SetEnabled(false);
}

void Tm_MainFrm::BackupNow(bool purge)
{
    OnStorageData();
    m_DataStorage.MakeBackup();
    if (purge)
        m_DataStorage.PurgeBackups();
}

void Tm_MainFrm::m_pBackupTimerTimer()
{
    // With only the chapters read nothing can have changed, and a copy of them alone would push good
    // copies out of the twelve kept.
    if (!m_DataStorage.IsBookLoaded())
        return;
    BackupNow(true);
}

// --- Book commands ---

bool Tm_MainFrm::AskBeforeReplacingBook()
{
    if (!m_DataStorage.IsBookLoaded() || !m_DataStorage.GetItemsPtr2()->IsModified())
        return true;
    return OnSave(false, true);
}

std::optional<std::string> Tm_MainFrm::ChooseBookFile(const std::string& initialFolder,
                                                      const char* defaultExt)
{
    lf::qt::SFileDialog dialog;
    dialog.owner = this;
    dialog.initialFolder = initialFolder;
    dialog.filter = kBookFilter;
    dialog.defaultExt = defaultExt;
    const auto chosen = lf::qt::CurrentDialogs().OpenFile(dialog);
    if (chosen && !IsBookFileName(*chosen))
    {
        MessageDlg("Incorrect file name.", MsgKind::Warning, MsgButtons::Ok);
        m_pBookComboBox->setEditText(QString());
        return std::nullopt;
    }
    return chosen;
}

std::int32_t Tm_MainFrm::ListChosenBook(const std::string& path)
{
    CBookList& books = *m_DataStorage.GetBookList();
    std::int32_t index = books.IndexOf(path);
    if (index >= 0)
    {
        books.SetAlwaysShown(index, true);
        books.ApplyFilter();
        return index;
    }
    books.Add(path, true);
    books.ApplyFilter();
    return books.IndexOf(path);
}

void Tm_MainFrm::m_NewBtnClick()
{
    HideBookSelectorPanel();
    if (m_DataStorage.IsBookLoaded())
    {
        if (!OnSave(false, true))
            return;
        StopBackupTimer();
        m_DataStorage.CloseBook();
    }
    if (m_pListWindow)
        m_pListWindow->ResetSearch(false);
    m_DataStorage.SetCurrentMode(EPhase::Edit);
    m_DataStorage.NewBook();
    SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/1);
    m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::Reload);
    StartBackupTimer();
}

void Tm_MainFrm::m_OpenBookBtnClick()
{
    if (!OnSave(true, true))
        return;
    if (const auto chosen = ChooseBookFile(m_Prefs.GetBooksDirectory(), ".lnf"))
    {
        const bool listedBefore = m_DataStorage.GetBookList()->Contains(*chosen);
        if (const std::int32_t index = ListChosenBook(*chosen); index < 0)
        {
            CloseToIntro(false);
            WriteLog("Tm_MainFrm::m_OpenBookBtnClick - ERROR: Can't open browsed book.!", 1, 1);
        }
        else if (SetPhase(EPhase::Edit, 1))
        {
            LoadBook(index, false);
            if (m_DataStorage.IsBookLoaded())
                m_StartSessionBtnClick();
            else
            {
                // A file that is no book is not listed as one, and the window is left as without a book.
                if (!listedBefore)
                    m_DataStorage.GetBookList()->Remove(index);
                CloseToIntro(false);
                UpdateOpenBookMenu();
                UpdateToolbars(0);
            }
        }
    }
    m_pEditing->UpdateEditButtons();
}

void Tm_MainFrm::AppendBook1Click()
{
    OnStorageData();
    if (const auto chosen = ChooseBookFile(m_Prefs.GetBooksDirectory(), ".lnf"))
    {
        if (SetPhase(EPhase::Edit, 1))
        {
            // A book that cannot be read is said so; the open book stays as it was.
            if (!m_DataStorage.AppendBook(*chosen))
                MessageDlg("Error. Can't load the book.", MsgKind::Error, MsgButtons::Ok);
            m_StartSessionBtnClick();
        }
    }
    m_pEditing->UpdateEditButtons();
}

void Tm_MainFrm::m_DeleteBookBtnClick()
{
    if (m_DataStorage.IsBookLoaded())
    {
        if (MessageDlg("Do you want to move this book to the trash?", MsgKind::Confirmation,
                       MsgButtons::YesNo) == lf::qt::mrYes)
        {
            std::string path;
            const std::int32_t index = m_DataStorage.GetCurrentBookIndex();
            if (index >= 0)
                m_DataStorage.GetBookList()->GetFullPath(index, &path);
            StopBackupTimer();
            m_DataStorage.CloseBook();
            SetActiveView(EView::Intro, /*flags=*/1, /*redraw=*/1);
            // A book that never had a file is simply closed.
            if (path.empty())
                return;

            lf::qt::CurrentDesktop().Sleep(200);
            lf::qt::CurrentDesktop().ProcessEvents();
            const auto rescan = [this]
            {
                if (!m_DataStorage.ReloadBookList())
                {
                    constexpr const char* kBooksNotFound = "Books are not found. You may need to adjust your "
                                                           "preferences to point to the right directory.";
                    MessageDlg(kBooksNotFound, MsgKind::Warning, MsgButtons::Ok);
                    WriteLog(kBooksNotFound, 1, 1);
                }
            };
            if (DeleteFileToRecycleBin(path))
            {
                MessageDlg("Book successfully moved to the trash.", MsgKind::Information, MsgButtons::Ok);
                rescan();
            }
            else if (MessageDlg("Can't move this book to the trash! \r\n\r\nDo you want to delete this book?",
                                MsgKind::Confirmation, MsgButtons::YesNo) == lf::qt::mrYes)
            {
                std::error_code error;
                if (FileExists(path) && std::filesystem::remove(path, error))
                {
                    MessageDlg("Book successfully deleted.", MsgKind::Information, MsgButtons::Ok);
                    rescan();
                }
                else
                {
                    MessageDlg("Error. Can't delete the file.", MsgKind::Error, MsgButtons::Ok);
                    WriteLog("Tm_MainFrm::m_DeleteBookBtnClick - Can't delete file", 1, 1);
                }
            }
        }
    }
    m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::Reload);
}

void Tm_MainFrm::m_RestoreBookBtnClick()
{
    m_pRestoreFrm->FormShow();
    if (lf::qt::CurrentDialogs().RunModal(*m_pRestoreFrm) != lf::qt::mrOk)
        return;
    // The safety copy holds every question of the open book, also when only its chapters were read.
    LoadOnDemand();
    StopBackupTimer();
    BackupNow(false);
    m_DataStorage.CloseBook();

    const std::string chosen = m_pRestoreFrm->m_RestoreFileName;
    bool restored = false;
    if (FileExists(chosen))
    {
        if (m_pListWindow)
            m_pListWindow->ResetSearch(false);
        m_DataStorage.SetCurrentMode(EPhase::Edit);
        if (m_DataStorage.RestoreBook(chosen))
        {
            CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
            items.SetActiveCategory(kAllCategoriesID, true);
            if (items.GetSequenceCount() <= 0)
            {
                items.AddNewItem(qtMultipleChoice, /*source=*/nullptr, /*position=*/-1, /*category=*/-1);
                items.Refilter(false);
            }
            restored = items.First();
        }
    }
    if (!restored)
    {
        MessageDlg("ERROR. Can't restore information from file - " + chosen + "..", MsgKind::Error,
                   MsgButtons::Ok);
        m_DataStorage.CloseBook();
        CloseToIntro(false);
        return;
    }
    SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/1);
    m_FormManager.OnUpdateDate(EFormTarget::ListWindow, EFormEvent::Reload);
    StartBackupTimer();
}

// --- The book chooser and the Open Book menu ---

void Tm_MainFrm::OpenBrowsedBook(bool useBooksFolder)
{
    // Another book takes the open one's place only after the save question.
    if (!AskBeforeReplacingBook())
        return;
    std::string folder;
    if (useBooksFolder)
        folder = m_Prefs.GetBooksDirectory();
    else if (m_DataStorage.IsBookLoaded() || m_DataStorage.IsCategoriesOnlyLoaded())
        folder = GetBookFolder(m_DataStorage.GetFileName());
    const auto chosen = ChooseBookFile(folder, ".pdb");
    if (!chosen)
        return;
    const std::int32_t index = ListChosenBook(*chosen);
    if (index < 0)
    {
        WriteLog("Tm_MainFrm::m_pBrowseBtnClick - ERROR: Can't open browsed book.!", 1, 1);
        return;
    }
    ui->m_StartSessionBtn->setEnabled(false);
    {
        lf::qt::BusyCursor busy;
        LoadBook(index, true);
    }
    ui->m_StartSessionBtn->setEnabled(true);
    if (m_DataStorage.GetCurrentBookIndex() == index)
        m_pBookComboBox->setEditText(lf::qt::ToQString(m_DataStorage.GetBookList()->GetName(index)));
    OnUpdateSeesionView();
}

void Tm_MainFrm::m_pBrowseBtnClick()
{
    OpenBrowsedBook(false);
}

void Tm_MainFrm::m_pFilterBtnClick()
{
    // The six filter and sort settings, put back when the dialog is cancelled.
    CBookList& books = *m_DataStorage.GetBookList();
    const std::array<std::uint8_t*, 6> settings = {&books.m_bFilterEnable, &books.m_bSortEnable,
                                                   &books.m_FilterField,   &books.m_FilterPeriod,
                                                   &books.m_SortField,     &books.m_SortUp};
    std::array<std::uint8_t, 6> kept{};
    for (std::size_t i = 0; i < settings.size(); ++i)
        kept[i] = *settings[i];
    m_BooksFilterFrm->FormShow();
    if (lf::qt::CurrentDialogs().RunModal(*m_BooksFilterFrm) != lf::qt::mrOk)
    {
        for (std::size_t i = 0; i < settings.size(); ++i)
            *settings[i] = kept[i];
        books.ApplyFilter();
        OnUpdateSeesionView();
        return;
    }
    if (m_DataStorage.IsBookLoaded())
    {
        if (m_DataStorage.GetItemsPtr2()->IsModified())
        {
            WriteLog("Tm_MainFrm::m_pManagerBtnClick - ERROR: GetItemsPtr2()->IsModified() == true", 1, 1);
            // The changes are not dropped unasked; Cancel keeps the open book.
            if (!OnSave(false, true))
            {
                OnUpdateSeesionView();
                return;
            }
        }
        if (m_DataStorage.IsBookLoaded())
        {
            const EPhase phase = m_DataStorage.GetPhase();
            m_DataStorage.CloseBook();
            UpdateWindowTitle();
            m_DataStorage.SetCurrentMode(phase);
        }
    }
    const int index = m_BooksFilterFrm->SelectedBookIndex();
    if (index >= 0)
    {
        ui->m_StartSessionBtn->setEnabled(false);
        {
            lf::qt::BusyCursor busy;
            LoadBook(index, true);
        }
        ui->m_StartSessionBtn->setEnabled(true);
        if (index < books.GetCount())
            m_pBookComboBox->setEditText(lf::qt::ToQString(books.GetName(index)));
        else
            m_pBookComboBox->setEditText(QString());
    }
    OnUpdateSeesionView();
}

void Tm_MainFrm::OpenBooksClick()
{
    const std::uint8_t filterRestart = m_bFilterRestart;
    m_bFilterRestart = 1;
    HideBookSelectorPanel();
    m_bAutoPhaseChange = 0;
    const EPhase phase = m_DataStorage.GetPhase();
    // A cancelled save question keeps the open book, and no other is opened.
    if (SetPhase(phase == EPhase::None ? EPhase::Flash : phase, 0))
    {
        lf::qt::CurrentDesktop().ProcessEvents();
        OpenBrowsedBook(m_bOpenInDefault);
    }
    m_bFilterRestart = filterRestart;
}

void Tm_MainFrm::OpenDefBookMenuItemClick()
{
    m_bOpenInDefault = true;
    OpenBooksClick();
    m_bOpenInDefault = false;
}

void Tm_MainFrm::UpdateOpenBookMenu()
{
    // This edition has no book pack: "Open" and "Open in Default" only.
    ui->OtherBook1->setText("Open");
    for (int i = 1; i <= 11; ++i)
        if (QAction* item = findChild<QAction*>(QString("OpenBookMenuItem%1").arg(i)))
            item->setVisible(false);
}

void Tm_MainFrm::UpdateQuickBookPanel()
{
    // The quick book panel serves editions with a book pack only.
    ui->m_pBookSelectorViewViewPanel->hide();
}

void Tm_MainFrm::FormDestroy()
{
    if (m_pBookComboBox)
        m_pBookComboBox->m_pTreeForm = nullptr;
    // A tree that closes while it goes has nothing left to tell.
    if (m_pTreeViewPopupForm)
        m_pTreeViewPopupForm->OnClose = nullptr;
    m_pTreeViewPopupForm.reset();
    m_pBookComboBox.reset();
    m_pEditing->UnregisterHotKeys();
}
