// The handheld database book: a Palm OS database file with a big-endian header, a record list, an AppInfo
// block of category names, a SortInfo block and one record per question. It carries multiple-choice
// questions with up to five answers and up to thirteen chapters. The reader fills a fresh record image
// (CItemsArray) from the file and only then the open book; the writer builds the whole file from the book
// through such an image and writes it through a temporary file and a rename.
#pragma once

#include "model/storage/Itemsarrayrecords.h"

#include <cstdint>
#include <string>

class CItemsArray2;
class CDelQuestionList;
namespace lf
{
class RichDocument;
}

// The type and creator codes of a book written by this program.
inline constexpr const char* kPdbBookType = "Fqax";
inline constexpr const char* kPdbCreator = "DIDU";

// Seconds added to a time since 1970 to give the header's dates (the program has always written this
// value, not the 2082844800 seconds between 1904 and 1970).
constexpr std::int64_t kPdbDateOffset = 2082844886;

// Reads a handheld database file into items; the storage's CDataStorage::LoadPDB is this call, and its
// log lines are written here ("CDataStorage::LoadPDB, File name - " and the name first). Chapters get the
// IDs categoryOffset + category index; with replace the book is emptied first. phase is the storage's
// phase byte, with which the image is filtered. False for a missing or unreadable file, a broken file (an
// offset or length outside the file, a record list that does not fit, a record shorter than its fixed
// part) or a record whose category index lies outside 0 to 15: the book is then left exactly as it was.
// True, and an empty book with replace, for a database without records.
bool LoadPalmDatabase(const std::string& fileName, CItemsArray2& items, std::int32_t categoryOffset,
                      bool replace, std::uint8_t phase);

// Reads a file into a fresh record image without touching a book: the records in file order, then
// sorted by chapter number, unmodified, the filter reset and set to phase. False as LoadPalmDatabase.
bool ReadPalmDatabase(const std::string& fileName, CItemsArray& image, std::uint8_t phase);

// What a book write needs of the storage besides the book.
struct SPalmWriteContext
{
    // Four characters for the header's type code; "Fqax" for a book.
    std::string typeCode = kPdbBookType;
    // Write to fileName exactly; otherwise ".lnf" is appended to a name that ends (in any case) neither in
    // ".lnf" nor ".pdb".
    bool keepName = false;
    // The storage's hidden view: with it, a ".pdb" file gets plain texts instead of stored rich texts.
    lf::RichDocument* hiddenView = nullptr;
    // The deleted-items list written as "Lernfold.del" beside every book write; null writes none.
    const CDelQuestionList* deletedItems = nullptr;
    // The books folder of the options: where that file goes the first time.
    std::string booksFolder;
};

// Writes the multiple-choice questions of items (not deleted for good) as a handheld database; the
// storage's CDataStorage::SavePDB is this call, and its log lines are written here. The collection,
// its modified flag included, is left untouched. False for an empty name or a failed write, which leaves
// the old file untouched; problems of the deleted-items file never fail the write.
bool SavePalmDatabase(const std::string& fileName, CItemsArray2& items, const SPalmWriteContext& context);

// Builds the records of a book into image (emptied first): categories 0 "Unfiled", 1 "Trash", and the
// chapters of table rows 1 to 13 as categories 2 to 14; the records in book order, then sorted by
// chapter number.
void ItemsToRecords(CItemsArray2& items, CItemsArray& image);

// Adds the chapters and questions of image to items: "Trash" as chapter categoryOffset + 1, named
// categories i >= 2 as chapter categoryOffset + i; each record becomes a multiple-choice question at the
// end of the book. Questions of category 0 go to chapter 0 "Unfiled". True.
bool RecordsToItems(const CItemsArray& image, CItemsArray2& items, std::int32_t categoryOffset);

// Writes the deleted-items list to the place named by the registry value `DeleteQuestionList`, which is
// set to "Lernfold.del" in the books folder the first time. Failures are logged, never returned.
void WriteDeletedItemsFile(const CDelQuestionList& list, const std::string& booksFolder);
