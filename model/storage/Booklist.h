// The book list: the books the user can open (the book files under the books folder plus books opened from
// elsewhere during the run), each with its display name, folder and file dates, and a filtered, sorted view
// of it that the book selector, the book tree and the books filter dialog show.
#pragma once

#include "model/items/Records.h"
#include "model/support/Array.h"

#include <cstdint>
#include <exception>
#include <string>

// Raised by the index getters of the book list for an index outside the list. Callers keep their indexes
// inside the counts, so it never reaches the user in normal use.
class CWrongArrayIndexError : public std::exception
{
public:
    const char* what() const noexcept override { return "Wrong array index"; }
};

// True for the same entry object, or when display name, file name and folder are equal (case-sensitive).
bool IsSameBook(const SBookInfo& a, const SBookInfo& b);

class CBookList
{
public:
    // Values of the sort and filter settings.
    static constexpr std::uint8_t kNone = 255;
    static constexpr std::uint8_t kFieldCreated = 0; // filter field; sort key 1
    static constexpr std::uint8_t kFieldAccessed = 1;
    static constexpr std::uint8_t kFieldModified = 2;
    static constexpr std::uint8_t kSortName = 0;
    static constexpr std::uint8_t kSortCreated = 1;
    static constexpr std::uint8_t kSortAccessed = 2;
    static constexpr std::uint8_t kSortModified = 3;
    static constexpr std::uint8_t kSortPath = 4;
    static constexpr int kPeriodCount = 11;

    CBookList() = default;
    virtual ~CBookList();

    // --- Filling ---

    // Appends an entry for the file in the folder (stored as given), with the file's dates (0 when it cannot
    // be read). A file name shorter than 5 characters is ignored. The entry's index, or -1 when ignored.
    // The filtered view is not rebuilt.
    int AddBook(const std::string& fileName, const std::string& folder, bool alwaysShown);
    // Splits the path after its last "/" into folder and file name and calls AddBook.
    int Add(const std::string& fullPath, bool alwaysShown);
    // Empties the entries and the filtered view.
    void RemoveAll();
    // Drops one entry (the entries after it move down by one) and rebuilds the filtered view; an index
    // outside the list changes nothing.
    void Remove(int index);
    // Appends one entry (always-shown flag clear) for every book file in the folder and its sub-folders,
    // then rebuilds the filtered view once.
    void ScanBooks(const std::string& folder);

    // --- Looking up ---

    int GetCount() const { return m_Books.GetSize(); }
    int GetFilteredCount() const { return m_Filtered.GetSize(); }
    // The entry index shown at a position of the filtered view. Throws CWrongArrayIndexError outside it.
    int GetFilteredIndex(int position) const;
    // Fields of entry index; each throws CWrongArrayIndexError (after a log line) outside the list.
    std::string GetName(int index) const;
    std::string GetFileName(int index) const;
    std::string GetPathName(int index) const; // the folder
    SBookInfo GetBookInfo(int index) const;
    // Folder + "/" (when the folder lacks one) + file name; just the file name for an empty folder.
    // False, with an empty path, when path is null or the index is outside the list.
    bool GetFullPath(int index, std::string* path) const;

    // Whether an equal entry exists, and its index (-1 when absent); a file name shorter than 5 characters
    // is never found. Comparison is exact and case-sensitive.
    bool ContainsBook(const std::string& fileName, const std::string& folder) const;
    bool Contains(const std::string& fullPath) const;
    int IndexOfBook(const std::string& fileName, const std::string& folder) const;
    int IndexOf(const std::string& fullPath) const;

    // The file name less its last four characters, followed by " (Palm Format)" for a ".pdb" file.
    static std::string GetDisplayName(const std::string& fileName);
    // Days of a filter period index 0..10; 0 for any other index.
    static int GetPeriodDays(int period);

    // --- Filter and flags ---

    // Rebuilds the filtered view from the settings below.
    void ApplyFilter();
    // Sets the always-shown flag of an entry without refiltering. Throws CWrongArrayIndexError outside the
    // list.
    void SetAlwaysShown(int index, bool flag);
    // Clears the always-shown flag of every entry; refilters when asked.
    void ClearAlwaysShown(bool refilter);

    // The settings of the view, written by the books filter dialog and the main window from the options.
    std::uint8_t m_bFilterEnable = 0;
    std::uint8_t m_bSortEnable = 0;
    std::uint8_t m_FilterField = kFieldCreated; // 0 created, 1 accessed, 2 modified; 255 none
    std::uint8_t m_FilterPeriod = 0;            // period index 0..10; 255 none
    std::uint8_t m_SortField = kSortName;       // 0 name, 1..3 created/accessed/modified, 4 path; 255 none
    std::uint8_t m_SortUp = 1;                  // nonzero ascending

private:
    bool IsShown(const SBookInfo& book, TDateTime now) const;
    void SortFiltered();
    int FindBook(const std::string& fileName, const std::string& folder) const;
    void CheckIndex(int index, int count, const char* logLine) const;

    CIntArray m_Filtered; // entry indexes of the filtered view, in display order
    CBooksArray m_Books;  // the entries, in the order they were added
};
