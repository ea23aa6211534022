// The save road a book takes when it is left, saved or saved under another name, and loading a listed
// book; the backup timer of the Edit phase.
#include "mainwindow/Mainfrm.h"
#include "mainwindow/SessionPanelRules.h"
#include "mainwindow/TreeViewPopup.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"
#include "ui_Mainfrm.h"

#include <charconv>
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
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return lf::sys::LowerCase(lf::sys::Trim(fileName.substr(dot)));
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

    const bool edit = m_DataStorage.GetCurrentMode() == 3;
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
    if (FileExists(*chosen) && MessageDlg("File \"" + *chosen + "\" exists. Overwrite the file?",
                                          MsgKind::Confirmation, MsgButtons::YesNo) != lf::qt::mrYes)
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
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, error ? 0 : size / 1024).ptr;
    SetStatusText("Information saved to " + path + ", " + std::string(digits, end) + "kb.");
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
        SaveBookAs({}, false);
    else
    {
        const std::string fileName = m_DataStorage.GetBookList()->GetFileName(index);
        if (NameExtension(fileName) == ".pdb")
            SaveBookAs(fileName.substr(0, fileName.size() - 4), false);
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
    if (SaveBookAs({}, false))
        OnUpdateForm(1, 0);
}

void Tm_MainFrm::Saveindefault1Click()
{
    if (SaveBookAs({}, true))
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
            for (const auto& [text, id] : FillCategoryList(items, true, false, false))
                ui->m_TestList->addItem(lf::qt::ToQString(text), id);
            ui->m_TestList->setCurrentIndex(ui->m_TestList->findData(items.GetActiveCategory()));
        }
        if (!categoriesOnly && m_DataStorage.GetCurrentMode() == 3)
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
    if (m_DataStorage.GetCurrentMode() != 3 || !m_Prefs.m_BackupAllow || m_pBackupTimer.Enabled())
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
