// The book list and its filtered, sorted view.
#include "model/storage/Booklist.h"

#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/sys/PathText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace
{

constexpr std::array<int, CBookList::kPeriodCount> kPeriodDays = {1, 3, 7, 14, 21, 30, 60, 90, 120, 240, 360};
constexpr std::size_t kMinFileNameLength = 5;
constexpr std::size_t kExtensionLength = 4;

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Number of characters of a UTF-8 text (bytes that are not valid UTF-8 count one each).
std::size_t CharacterCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The text less its last count characters, cut on a character boundary.
std::string DropLastCharacters(std::string_view text, std::size_t count)
{
    std::size_t end = text.size();
    while (count > 0 && end > 0)
    {
        --end;
        while (end > 0 && IsContinuationByte(text[end]))
            --end;
        --count;
    }
    return std::string(text.substr(0, end));
}

// The extension of a file name from its last ".", without blanks and control characters at either end.
std::string TrimmedExtension(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    return lf::sys::Trim(fileName.substr(dot));
}

bool IsShortFileName(const std::string& fileName)
{
    return CharacterCount(fileName) < kMinFileNameLength;
}

std::string FolderWithoutTrailingSlash(const std::string& folder)
{
    if (!folder.empty() && folder.back() == '/')
        return folder.substr(0, folder.size() - 1);
    return folder;
}

// Splits a full path after its last "/" into folder (with the "/") and file name.
std::pair<std::string, std::string> SplitPath(const std::string& fullPath)
{
    return {lf::sys::FolderOf(fullPath), lf::sys::NamePart(fullPath)};
}

TDateTime DateOfField(const SBookInfo& book, std::uint8_t field)
{
    switch (field)
    {
    case CBookList::kFieldCreated:
        return book.Created;
    case CBookList::kFieldAccessed:
        return book.Accessed;
    case CBookList::kFieldModified:
        return book.Modified;
    default:
        return 0.0;
    }
}

// What one entry is sorted by, worked out once per sort.
struct SSortKey
{
    int Index = 0;
    std::string Text;  // lower-cased name, or lower-cased folder for the path key
    std::string Text2; // lower-cased file name for the path key
    TDateTime Date = 0.0;
};

} // namespace

bool IsSameBook(const SBookInfo& a, const SBookInfo& b)
{
    if (&a == &b)
        return true;
    return a.Name == b.Name && a.FileName == b.FileName && a.Folder == b.Folder;
}

CBookList::~CBookList() = default;

// --- Filling ---

int CBookList::AddBook(const std::string& fileName, const std::string& folder, bool alwaysShown)
{
    if (IsShortFileName(fileName))
        return -1;
    SBookInfo book;
    book.Name = GetDisplayName(fileName);
    book.FileName = fileName;
    book.Folder = folder;
    SFileTimes times;
    if (GetFileTimes(lf::sys::JoinPath(folder, fileName), times))
    {
        book.Created = times.Created;
        book.Accessed = times.Accessed;
        book.Modified = times.Modified;
    }
    book.AlwaysShown = alwaysShown ? 1 : 0;
    return m_Books.Add(book);
}

int CBookList::Add(const std::string& fullPath, bool alwaysShown)
{
    const auto [folder, fileName] = SplitPath(fullPath);
    return AddBook(fileName, folder, alwaysShown);
}

void CBookList::RemoveAll()
{
    // The view goes too: its indexes would otherwise point past the emptied entries.
    m_Filtered.RemoveAll();
    m_Books.RemoveAll();
}

void CBookList::Remove(int index)
{
    if (index < 0 || index >= m_Books.GetSize())
        return;
    m_Books.RemoveAt(index);
    ApplyFilter();
}

void CBookList::ScanBooks(const std::string& folder)
{
    ScanBookFolder(folder,
                   [this](SBookInfo&& book)
                   {
                       book.Name = GetDisplayName(book.FileName);
                       book.AlwaysShown = 0;
                       m_Books.Add(book);
                   });
    ApplyFilter();
}

// --- Looking up ---

void CBookList::CheckIndex(int index, int count, const char* logLine) const
{
    if (index >= 0 && index < count)
        return;
    WriteLog(logLine, 1, 1);
    throw CWrongArrayIndexError();
}

int CBookList::GetFilteredIndex(int position) const
{
    CheckIndex(position, m_Filtered.GetSize(), "CBookList::GetName - Error");
    return m_Filtered[position];
}

std::string CBookList::GetName(int index) const
{
    CheckIndex(index, m_Books.GetSize(), "CBookList::GetName - Error");
    return m_Books[index].Name;
}

std::string CBookList::GetFileName(int index) const
{
    CheckIndex(index, m_Books.GetSize(), "CBookList::GetFileName - Error");
    return m_Books[index].FileName;
}

std::string CBookList::GetPathName(int index) const
{
    CheckIndex(index, m_Books.GetSize(), "CBookList::GetPathName - Error");
    return m_Books[index].Folder;
}

SBookInfo CBookList::GetBookInfo(int index) const
{
    CheckIndex(index, m_Books.GetSize(), "CBookList::GetBookInfo - Error");
    return m_Books[index];
}

bool CBookList::GetFullPath(int index, std::string* path) const
{
    if (!path)
        return false;
    path->clear();
    if (index < 0 || index >= m_Books.GetSize())
        return false;
    *path = lf::sys::JoinPath(m_Books[index].Folder, m_Books[index].FileName);
    return true;
}

int CBookList::FindBook(const std::string& fileName, const std::string& folder) const
{
    if (IsShortFileName(fileName))
        return -1;
    SBookInfo probe;
    probe.Name = GetDisplayName(fileName);
    probe.FileName = fileName;
    probe.Folder = folder;
    for (int i = 0; i < m_Books.GetSize(); ++i)
        if (IsSameBook(m_Books[i], probe))
            return i;
    return -1;
}

bool CBookList::ContainsBook(const std::string& fileName, const std::string& folder) const
{
    return FindBook(fileName, folder) >= 0;
}

bool CBookList::Contains(const std::string& fullPath) const
{
    return IndexOf(fullPath) >= 0;
}

int CBookList::IndexOfBook(const std::string& fileName, const std::string& folder) const
{
    return FindBook(fileName, folder);
}

int CBookList::IndexOf(const std::string& fullPath) const
{
    const auto [folder, fileName] = SplitPath(fullPath);
    return FindBook(fileName, folder);
}

std::string CBookList::GetDisplayName(const std::string& fileName)
{
    std::string name = DropLastCharacters(fileName, kExtensionLength);
    if (lf::sys::LowerCase(TrimmedExtension(fileName)) == ".pdb")
        name += " (Palm Format)";
    return name;
}

int CBookList::GetPeriodDays(int period)
{
    if (period < 0 || period >= kPeriodCount)
        return 0;
    return kPeriodDays[static_cast<std::size_t>(period)];
}

// --- Filter and flags ---

bool CBookList::IsShown(const SBookInfo& book, TDateTime now) const
{
    if (book.AlwaysShown || !m_bFilterEnable || m_FilterField == kNone || m_FilterPeriod == kNone)
        return true;
    // A period index with no number of days (above 10) filters nothing.
    const int days = GetPeriodDays(m_FilterPeriod);
    if (days == 0)
        return true;
    const TDateTime date = DateOfField(book, m_FilterField);
    return !(date < now - days || date > now + 1.0);
}

void CBookList::ApplyFilter()
{
    m_Filtered.RemoveAll();
    const TDateTime now = EncodeDateTime(lf::sys::Services().LocalNow());
    for (int i = 0; i < m_Books.GetSize(); ++i)
        if (IsShown(m_Books[i], now))
            m_Filtered.Add(i);
    if (m_Filtered.GetSize() > 1 && m_bSortEnable && m_SortField <= kSortPath)
        SortFiltered();
}

void CBookList::SortFiltered()
{
    std::vector<SSortKey> keys;
    keys.reserve(static_cast<std::size_t>(m_Filtered.GetSize()));
    for (const int index : m_Filtered)
    {
        const SBookInfo& book = m_Books[index];
        SSortKey key;
        key.Index = index;
        switch (m_SortField)
        {
        case kSortName:
            key.Text = lf::sys::LowerCase(book.Name);
            break;
        case kSortCreated:
            key.Date = book.Created;
            break;
        case kSortAccessed:
            key.Date = book.Accessed;
            break;
        case kSortModified:
            key.Date = book.Modified;
            break;
        default:
            key.Text = lf::sys::LowerCase(FolderWithoutTrailingSlash(book.Folder));
            key.Text2 = lf::sys::LowerCase(book.FileName);
            break;
        }
        keys.push_back(std::move(key));
    }

    const bool byDate = m_SortField >= kSortCreated && m_SortField <= kSortModified;
    auto ascending = [byDate](const SSortKey& a, const SSortKey& b)
    {
        if (byDate)
            return a.Date < b.Date;
        const int byText = CompareTexts(a.Text, b.Text);
        if (byText != 0)
            return byText < 0;
        return CompareTexts(a.Text2, b.Text2) < 0;
    };
    if (m_SortUp)
        std::stable_sort(keys.begin(), keys.end(), ascending);
    else
        std::stable_sort(keys.begin(), keys.end(),
                         [&ascending](const SSortKey& a, const SSortKey& b) { return ascending(b, a); });

    for (std::size_t i = 0; i < keys.size(); ++i)
        m_Filtered[static_cast<int>(i)] = keys[i].Index;
}

void CBookList::SetAlwaysShown(int index, bool flag)
{
    CheckIndex(index, m_Books.GetSize(), "CBookList::GetName - Error");
    m_Books[index].AlwaysShown = flag ? 1 : 0;
}

void CBookList::ClearAlwaysShown(bool refilter)
{
    for (SBookInfo& book : m_Books)
        book.AlwaysShown = 0;
    if (refilter)
        ApplyFilter();
}
