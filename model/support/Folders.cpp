// Folders, book files and media paths.
#include "model/support/Folders.h"

#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/BigEndianIO.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

using lf::sys::IsWebAddress;
using lf::sys::WithSlash;

// Names here may be stored ones: the name part follows "/" or "\".
std::string NamePart(const std::string& path)
{
    return lf::sys::StoredNamePart(path);
}

// The extension of the name part, with its point; empty when there is none.
std::string ExtensionOf(const std::string& path)
{
    return lf::sys::ExtensionOf(NamePart(path));
}

// The path without the extension of its name part.
std::string WithoutExtension(const std::string& path)
{
    return path.substr(0, path.size() - ExtensionOf(path).size());
}

// The book's media folder as a path, without making it: the book's file name less its extension, plus "/";
// empty for a book without a file.
std::string MediaFolderOf(const std::string& bookFileName)
{
    return bookFileName.empty() ? std::string() : WithoutExtension(bookFileName) + "/";
}

// The rest of path after folder when folder (ending in "/") is its leading part; empty otherwise.
std::string BelowFolder(const std::string& path, const std::string& folder)
{
    if (folder.empty() || path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0)
        return {};
    return path.substr(folder.size());
}

bool PathExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool IsExistingFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool IsExistingFolder(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

TDateTime ToDateTime(const struct statx_timestamp& stamp)
{
    return FileTimeToLocalDateTime(stamp.tv_sec, static_cast<int>(stamp.tv_nsec / 1000000));
}

void ScanFolder(const fs::path& folder, const std::function<void(SBookInfo&&)>& addBook)
{
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b)
              { return a.path().filename().native() < b.path().filename().native(); });

    const std::string folderText = WithSlash(folder.string());
    for (const fs::directory_entry& entry : entries)
    {
        std::error_code entryError;
        const fs::file_status own = entry.symlink_status(entryError);
        if (entryError)
            continue;
        if (fs::is_directory(own))
        {
            ScanFolder(entry.path(), addBook);
            continue;
        }
        // A link to a folder is not followed: a link back up the tree would never end the scan.
        if (fs::is_symlink(own) && entry.is_directory(entryError))
            continue;
        const std::string name = entry.path().filename().string();
        if (name.empty() || !IsBookFileName(name))
            continue;
        SBookInfo book;
        book.FileName = name;
        book.Folder = folderText;
        SFileTimes times;
        if (GetFileTimes(entry.path().string(), times))
        {
            book.Created = times.Created;
            book.Accessed = times.Accessed;
            book.Modified = times.Modified;
        }
        book.AlwaysShown = 0;
        addBook(std::move(book));
    }
}

// --- The freedesktop trash ---

std::string TrashFolder()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/Trash";
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return {};
    return std::string(home) + "/.local/share/Trash";
}

// A path as the "Path=" line of a trash record wants it: bytes outside the unreserved set escaped.
std::string EscapeTrashPath(const std::string& path)
{
    std::string out;
    for (const char c : path)
    {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '/' || byte == '-' || byte == '_' ||
                           byte == '.' || byte == '~';
        if (plain)
        {
            out += c;
        }
        else
        {
            out += '%';
            lf::sys::AppendHexByte(out, byte);
        }
    }
    return out;
}

std::string DeletionDateText()
{
    const lf::sys::LocalDateTime now = lf::sys::Services().LocalNow();
    std::string text;
    auto append = [&text](int value, int digits) { text += lf::sys::NumberText(value, digits); };
    append(now.year, 4);
    text += '-';
    append(now.month, 2);
    text += '-';
    append(now.day, 2);
    text += 'T';
    append(now.hour, 2);
    text += ':';
    append(now.minute, 2);
    text += ':';
    append(now.second, 2);
    return text;
}

// Places the record under info/ with a name no other record has, and answers that name. The record is
// written completely to a temporary file first; link() then claims the final name atomically, so a
// concurrent trasher can never take the same name.
bool ClaimTrashRecord(const std::string& infoFolder, const std::string& fileName, const std::string& record,
                      std::string& claimedName)
{
    const std::string temporary =
        infoFolder + "/.lernfold-" + lf::sys::NumberText(::getpid()) + ".trashinfo.tmp";
    if (!lf::sys::WriteFileAtomically(temporary, record))
        return false;
    const std::string extension = ExtensionOf(fileName);
    const std::string stem = fileName.substr(0, fileName.size() - extension.size());
    bool claimed = false;
    for (int n = 1; n < 100000 && !claimed; ++n)
    {
        const std::string candidate = n == 1 ? fileName : stem + "." + lf::sys::NumberText(n) + extension;
        if (PathExists(TrashFolder() + "/files/" + candidate))
            continue;
        if (::link(temporary.c_str(), (infoFolder + "/" + candidate + ".trashinfo").c_str()) == 0)
        {
            claimedName = candidate;
            claimed = true;
        }
        else if (errno != EEXIST)
        {
            break;
        }
    }
    ::unlink(temporary.c_str());
    return claimed;
}

} // namespace

std::string BookFileNameToWrite(const std::string& fileName, bool keepName)
{
    if (keepName || fileName.size() <= 4)
        return keepName ? fileName : fileName + ".lnf";
    const std::string extension = lf::sys::LowerCase(std::string_view(fileName).substr(fileName.size() - 4));
    return extension == ".lnf" || extension == ".pdb" ? fileName : fileName + ".lnf";
}

bool IsBookFileName(const std::string& fileName)
{
    const std::string name = NamePart(fileName);
    if (name.size() < 5)
        return false;
    if (lf::sys::UpperCase(name) == "VAD-DIDU.PDB")
        return false;
    const std::string last4 = name.substr(name.size() - 4);
    return lf::sys::AsciiLower(last4) == ".lnf" || last4 == ".pdb";
}

TDateTime FileTimeToLocalDateTime(std::int64_t utcSeconds, int milliseconds)
{
    lf::sys::LocalDateTime local = lf::sys::Services().ToLocal(utcSeconds);
    local.millisecond = milliseconds;
    return EncodeDateTime(local);
}

bool GetFileTimes(const std::string& path, SFileTimes& times)
{
    times = SFileTimes();
    struct statx info
    {
    };
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
        return false;
    if (S_ISDIR(info.stx_mode))
        return false;
    times.Modified = ToDateTime(info.stx_mtime);
    times.Accessed = ToDateTime(info.stx_atime);
    times.Created = (info.stx_mask & STATX_BTIME) ? ToDateTime(info.stx_btime) : times.Modified;
    return true;
}

void ScanBookFolder(const std::string& folder, const std::function<void(SBookInfo&&)>& addBook)
{
    if (folder.empty() || !addBook)
        return;
    ScanFolder(fs::path(folder), addBook);
}

bool DeleteFileToRecycleBin(const std::string& path)
{
    std::error_code ec;
    // A folder named with its final "/" is the folder itself, not an entry without a name.
    std::string named = path;
    while (named.size() > 1 && named.back() == '/')
        named.pop_back();
    if (named.empty() || !PathExists(named))
        return false;
    const fs::path source = fs::absolute(named, ec).lexically_normal();
    if (ec || !source.has_filename())
        return false;
    const std::string trash = TrashFolder();
    if (trash.empty())
        return false;
    const std::string filesFolder = trash + "/files";
    const std::string infoFolder = trash + "/info";
    fs::create_directories(filesFolder, ec);
    fs::create_directories(infoFolder, ec);
    if (!IsExistingFolder(filesFolder) || !IsExistingFolder(infoFolder))
        return false;
    fs::permissions(trash, fs::perms::owner_all, fs::perm_options::replace, ec);

    const std::string record = "[Trash Info]\nPath=" + EscapeTrashPath(source.string()) +
                               "\nDeletionDate=" + DeletionDateText() + "\n";
    std::string trashedName;
    if (!ClaimTrashRecord(infoFolder, source.filename().string(), record, trashedName))
        return false;
    const std::string infoPath = infoFolder + "/" + trashedName + ".trashinfo";
    const fs::path target = fs::path(filesFolder) / trashedName;

    std::error_code ignored;
    fs::rename(source, target, ec);
    if (ec == std::errc::cross_device_link)
    {
        // Another file system: copy into the trash, then remove the original.
        ec.clear();
        fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
        if (!ec)
        {
            const bool isFolder = fs::is_directory(fs::symlink_status(source, ignored));
            fs::remove_all(source, ec);
            // A folder may be partly removed by now: its complete copy stays in the trash, with its record,
            // so that nothing is lost. A single file is either removed or untouched.
            if (ec && isFolder)
                return false;
        }
        if (ec)
            fs::remove_all(target, ignored);
    }
    if (ec)
    {
        fs::remove(infoPath, ignored);
        return false;
    }
    return true;
}

bool GetDocumentsFolder(std::string& folder)
{
    const std::string documents = lf::sys::Services().DocumentsFolder();
    if (documents.empty())
        return false;
    folder = WithSlash(documents);
    return true;
}

std::string GetProgramFolder()
{
    return lf::sys::FolderOf(lf::sys::Services().ProgramPath());
}

std::string GetDefaultBooksFolder()
{
    const std::string programBooks = GetProgramFolder() + "Books/";
    std::string documents;
    const bool fromDocuments = GetDocumentsFolder(documents);
    const std::string candidate = fromDocuments ? documents + "Korvanta/Lernfold/Books/" : programBooks;
    if (IsExistingFolder(candidate) || CreateFolder(candidate))
        return candidate;
    if (fromDocuments && (IsExistingFolder(programBooks) || CreateFolder(programBooks)))
        return programBooks;
    return GetProgramFolder();
}

std::string GetBookPackInstallerPath(int edition)
{
    static const char* const kInstallers[] = {
        "Setup_books.exe",      "Setup_QIX_books.exe",  "Setup_JUX_books.exe", "Setup_WUV_books.exe",
        "Setup_ZIBN_books.exe", "Setup_HUWF_books.exe", "Setup_KOYD_books.exe"};
    const std::string folder = WithSlash(GetProgramFolder());
    if (edition < 0 || edition > 6)
        return folder;
    return folder + kInstallers[edition];
}

bool CreateFolder(const std::string& folder)
{
    if (folder.empty())
        return false;
    std::string path = folder;
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::error_code ec;
    if (!fs::create_directory(path, ec) && !IsExistingFolder(path))
        fs::create_directories(path, ec);
    return IsExistingFolder(path);
}

bool IsFolderWritable(const std::string& folder)
{
    if (folder.empty())
        return false;
    const std::string probe = WithSlash(folder) + "zzCheckWriteAccess.lnf";
    std::FILE* file = std::fopen(probe.c_str(), "wb");
    if (!file)
        return false;
    const bool written = lf::sys::WriteBE32(file, 12345678);
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    const auto size = fs::file_size(probe, ec);
    const bool writable = written && closed && !ec && size > 0;
    fs::remove(probe, ec);
    return writable;
}

bool IsFullPathName(const std::string& name)
{
    if (!name.empty() && name[0] == '/')
        return true;
    const bool driveLetter = name.size() >= 2 && name[1] == ':' &&
                             ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return driveLetter;
}

bool IsSoundOrVideoFile(const std::string& name, bool* isWeb)
{
    if (isWeb)
        *isWeb = IsWebAddress(name);
    const std::string extension = lf::sys::UpperCase(ExtensionOf(name));
    return extension == ".MP3" || extension == ".WAV" || extension == ".OGG" || extension == ".AVI";
}

bool IsMediaFileName(const std::string& name, bool* isWeb)
{
    if (IsSoundOrVideoFile(name, isWeb))
        return true;
    static const char* const kPictures[] = {".JPG", ".JPEG", ".GIF", ".PNG", ".BMP",
                                            ".DIB", ".ICO",  ".WMF", ".EMF"};
    const std::string extension = lf::sys::UpperCase(ExtensionOf(name));
    return std::any_of(std::begin(kPictures), std::end(kPictures),
                       [&extension](const char* picture) { return extension == picture; });
}

std::string GetBookFolder(const std::string& bookFileName)
{
    return lf::sys::FolderOf(bookFileName);
}

std::string GetBookMediaFolder(const std::string& bookFileName)
{
    const std::string folder = MediaFolderOf(bookFileName);
    if (!folder.empty() && !IsExistingFolder(folder))
        CreateFolder(folder);
    return folder;
}

std::string BackupBaseName(const std::string& bookFileName)
{
    const std::string name = NamePart(bookFileName.empty() ? std::string("Unnamed.lnf") : bookFileName);
    std::string base = name.substr(0, name.size() > 4 ? name.size() - 4 : 0);
    if (name.ends_with(".pdb"))
        base += "_palm_format";
    return base;
}

std::string GetBookNameWithoutExt(const std::string& bookFileName)
{
    return WithoutExtension(NamePart(bookFileName));
}

std::string MakeUniqueMediaFileName(const std::string& base, const std::string& part1,
                                    const std::string& part2, const std::string& part3,
                                    const std::string& extension)
{
    std::string name = base;
    bool first = true;
    for (const std::string* part : {&part1, &part2, &part3})
    {
        if (part->empty())
            continue;
        if (!first)
            name += '_';
        name += *part;
        first = false;
    }
    for (std::int64_t n = 1;; ++n)
    {
        std::string candidate = name + "_" + lf::sys::NumberText(n) + extension;
        if (!PathExists(candidate))
            return candidate;
    }
}

std::string StoredNameToPath(const std::string& storedName)
{
    std::string path = storedName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string MakeStoredMediaName(const std::string& relativePath)
{
    std::string name = relativePath;
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

void ResolveMediaFileName(std::string& name, const std::string& bookFileName)
{
    name = lf::sys::Trim(name);
    if (name.empty() || IsWebAddress(name) || IsFullPathName(name))
        return;
    // A book without a file has no folder to look in; the name must not be found beside the program.
    if (bookFileName.empty())
    {
        name.clear();
        return;
    }
    std::string relative = name;
    if (relative[0] == '\\')
        relative.erase(0, 1);
    relative = StoredNameToPath(relative);
    // Looking a name up makes no folder: the media folder is only made where a file is written into it.
    const std::string mediaFolder = MediaFolderOf(bookFileName);
    if (IsExistingFile(mediaFolder + relative))
    {
        name = mediaFolder + relative;
        return;
    }
    name = WithSlash(GetBookFolder(bookFileName)) + relative;
}

std::string MakeRelativeMediaName(const std::string& path, const std::string& bookFileName)
{
    if (bookFileName.empty())
        return path;
    std::string relative = BelowFolder(path, MediaFolderOf(bookFileName));
    if (relative.empty())
        relative = BelowFolder(path, WithSlash(GetBookFolder(bookFileName)));
    return relative.empty() ? path : MakeStoredMediaName(relative);
}

void CollectLinkedFileNames(const std::string& richText, CStringArray& list)
{
    pugi::xml_document document;
    if (!document.load_buffer(richText.data(), richText.size(), pugi::parse_default))
        return;
    const pugi::xml_node content = document.child("LFDRoot").child("document");
    for (pugi::xml_node text = content.child("text"); text; text = text.next_sibling("text"))
    {
        const std::string tag = text.attribute("tag").value();
        bool isWeb = false;
        if (!tag.empty() && IsMediaFileName(tag, &isWeb) && !isWeb)
            list.Add(tag);
    }
}

bool ReadFileToBuffer(const std::string& path, std::string& text)
{
    if (!IsExistingFile(path))
        return false;
    std::string bytes;
    if (!lf::sys::ReadWholeFile(path, bytes))
        return false;
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string::npos)
        bytes.resize(zero);
    text = std::move(bytes);
    return true;
}

std::string GetTempFolder()
{
    return WithSlash(lf::sys::Services().TempFolder());
}

std::string GetUniqueTempFileName(const std::string& extension)
{
    // The name is claimed by creating the file exclusively, so no other process can take it between the
    // choice of the name and the caller's write.
    std::string pattern = GetTempFolder() + "tmpXXXXXX" + extension;
    const int descriptor = ::mkstemps(pattern.data(), static_cast<int>(extension.size()));
    if (descriptor < 0)
    {
        WriteLog("GetUniqueTempFileName - no temporary file could be made in " + GetTempFolder(), 1, 1);
        return {};
    }
    ::close(descriptor);
    return pattern;
}

std::string FileUrlToPath(const std::string& text)
{
    if (lf::sys::StartsWithNoCase(text, "file://"))
    {
        std::string path = text.substr(7);
        // The local host may be named: "file://localhost/home/a.png" is "/home/a.png".
        if (lf::sys::StartsWithNoCase(path, "localhost/"))
            path.erase(0, 9);
        // "file:///C:/a.png" names a drive path; the "/" before the drive letter is not part of it.
        if (path.size() >= 3 && path[0] == '/' && path[2] == ':' &&
            ((path[1] >= 'A' && path[1] <= 'Z') || (path[1] >= 'a' && path[1] <= 'z')))
            path.erase(0, 1);
        return path;
    }
    if (!text.empty() && text[0] == '\\')
        return text.substr(1);
    return text;
}
