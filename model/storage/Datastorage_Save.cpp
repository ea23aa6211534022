// The book storage's saves: the open book to its own file, Save As in the format the extension names, the
// time-stamped backup copies with the purge that keeps the newest twelve, and the deleted-items file
// written beside every handheld database.
#include "model/storage/Datastorage.h"

#include "model/storage/Palmdatabase.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// How many copies of one book the purge keeps.
constexpr std::size_t kKeptBackups = 12;
// "yyyy_mm_dd_hh_mm_ss": where the stamp of a backup name has its separators.
constexpr std::string_view kStampShape = "????_??_??_??_??_??";
constexpr std::string_view kBackupExtension = ".bnf";

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

// The extension Save As chooses the format by: the last four characters, or the last five when the
// fourth from the end is no "." and the name is long enough (".lnf2", ".lnf3"); lower case.
std::string SaveAsExtension(const std::string& fileName)
{
    std::string_view extension = std::string_view(fileName).substr(fileName.size() - 4);
    if (extension.front() != '.' && fileName.size() > 5)
        extension = std::string_view(fileName).substr(fileName.size() - 5);
    return lf::sys::LowerCase(extension);
}

// True for a name made by MakeBackup for the book whose base name is given: the base compared literally
// (so "*" or "?" in a book name select nothing else), then "_(", a stamp of the backup shape and ").bnf".
bool IsBackupOf(std::string_view name, std::string_view base)
{
    const std::size_t size = base.size() + 2 + kStampShape.size() + 1 + kBackupExtension.size();
    if (name.size() != size || name.substr(0, base.size()) != base)
        return false;
    std::string_view rest = name.substr(base.size());
    if (rest.substr(0, 2) != "_(")
        return false;
    rest.remove_prefix(2);
    for (std::size_t i = 0; i < kStampShape.size(); ++i)
        if (kStampShape[i] != '?' && rest[i] != kStampShape[i])
            return false;
    rest.remove_prefix(kStampShape.size());
    return rest.substr(0, 1) == ")" && rest.substr(1) == kBackupExtension;
}

// Where the copies of a book go: its book-list folder + "Temp/", or the backup folder of the options for a
// book without an entry (an index the list no longer holds counts as none).
std::string BackupFolderOf(const CBookList& list, std::int32_t index, const std::string& backupFolder)
{
    if (index >= 0 && index < list.GetCount())
    {
        const std::string bookFolder = list.GetPathName(index);
        if (!bookFolder.empty())
            return lf::sys::WithSlash(bookFolder) + "Temp/";
    }
    return backupFolder;
}

struct SBackupFile
{
    std::string Name;
    fs::file_time_type Date;
};

} // namespace

void CDataStorage::ShowError(const std::string& text)
{
    if (m_pMessageSink)
        m_pMessageSink->ShowError(text);
    else
        WriteLog(text, 1, 1);
}

// --- Saving ---

bool CDataStorage::SaveBook()
{
    if (!m_FileName.empty() && FileExists(m_FileName) && !m_Items2.IsModified())
        return true;
    if (m_FileName.empty())
        return false;
    return SaveXML(m_FileName, &m_Items2, /*clearModified=*/true);
}

bool CDataStorage::SaveBookAs(const std::string& fileName, bool makeCurrent)
{
    m_bSaveDeclined = false;
    if (!m_FileName.empty() && m_FileName == fileName && FileExists(fileName) && !m_Items2.IsModified())
        return true;
    if (fileName.size() < 5)
        return false;

    const std::string extension = SaveAsExtension(fileName);
    const bool palm = extension == ".pdb" || extension == ".lnf3";
    const bool kindle = extension == ".lnf2";
    if (kindle)
        return SaveKindleXML(fileName, &m_Items2, /*flag1=*/false, /*flag2=*/false);

    // The native and the handheld writers share the extension rule: ".lnf" goes after a name that ends
    // neither in ".lnf" nor ".pdb". The caller asked about the name it chose; a different name that the
    // rule makes may belong to another existing file, and that one is not replaced unasked.
    const std::string written = BookFileNameToWrite(fileName, false);
    if (written != fileName && FileExists(written))
    {
        const bool overwrite = m_pMessageSink && m_pMessageSink->ConfirmOverwrite(
                                                     "File \"" + written + "\" exists. Overwrite the file?");
        if (!overwrite)
        {
            WriteLog("CDataStorage::SaveBookAs - the existing file " + written + " was not overwritten", 1,
                     1);
            m_bSaveDeclined = true;
            return false;
        }
    }

    if (palm)
        return SavePDB(fileName, &m_Items2, kPdbBookType, /*clearModified=*/true);
    if (!SaveXML(fileName, &m_Items2, /*clearModified=*/true))
        return false;

    // The book is known by the name it was written under, so that it can be opened and saved again.
    if (!m_BookList.Contains(written))
    {
        m_BookList.Add(written, true);
        m_BookList.ApplyFilter();
    }
    if (makeCurrent)
        m_FileName = written;
    m_BookIndex = m_BookList.IndexOf(m_FileName);
    return true;
}

// --- Backup copies ---

bool CDataStorage::GetBackupFolder(std::string& folder)
{
    folder = BackupFolderOf(m_BookList, m_BookIndex, StorageOptions().BackupDirectory);
    if (folder.empty())
        return true;
    std::error_code error;
    if (fs::is_directory(folder, error) || CreateFolder(folder) || CreateFolder(folder))
        return true;
    ShowError("Can't create the backup folder. Please try a different location.");
    return false;
}

bool CDataStorage::MakeBackup()
{
    std::string folder;
    if (!GetBackupFolder(folder) || folder.empty())
        return false;
    const std::string fileName = lf::sys::WithSlash(folder) + BackupBaseName(m_FileName) + "_(" +
                                 MakeBackupTimeStamp(TimeNow()) + ")" + std::string(kBackupExtension);
    return SaveXML(fileName, &m_Items2, /*clearModified=*/false, /*keepName=*/true);
}

void CDataStorage::PurgeBackups()
{
    // The folder MakeBackup writes into, neither created nor complained about here.
    const std::string folder = BackupFolderOf(m_BookList, m_BookIndex, StorageOptions().BackupDirectory);
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        return;

    const std::string base = BackupBaseName(m_FileName);
    std::vector<SBackupFile> copies;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        std::error_code entryError;
        if (it->is_directory(entryError))
            continue;
        const std::string name = it->path().filename().string();
        if (!IsBackupOf(name, base))
            continue;
        const fs::file_time_type date = it->last_write_time(entryError);
        if (!entryError)
            copies.push_back({name, date});
    }
    if (copies.size() <= kKeptBackups)
        return;
    // Newest first; copies of the same date by their stamps, the later one first.
    std::sort(copies.begin(), copies.end(),
              [](const SBackupFile& a, const SBackupFile& b)
              { return a.Date != b.Date ? a.Date > b.Date : a.Name > b.Name; });
    for (std::size_t i = kKeptBackups; i < copies.size(); ++i)
    {
        // A copy that vanished in between is simply gone already.
        std::error_code removeError;
        fs::remove(fs::path(folder) / copies[i].Name, removeError);
    }
}

// --- The deleted-items file ---

void CDataStorage::SaveDeletedIDs()
{
    WriteDeletedItemsFile(*m_pDelQuestionList, StorageOptions().BooksDirectory);
}
