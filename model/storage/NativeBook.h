// The native XML book: one document per book with the root `Lernfold`, its chapters and its questions,
// read and written by free functions over a collection (in Datastorage_Xml.cpp). The storage's
// design-named members (SaveXML, LoadXML, SaveQuestionsToXML, ...) forward here; the book with
// embedded media and the clipboard's question sets build on the same functions. Only the storage's own
// units include this header: it brings in the XML library.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CBaseItem;
class CItemsArray2;
class IEventPump;
class IStatusTextSink;
struct SBookReadOptions;

// Parse options of book files: CDATA and references decoded, line ends kept exactly as they stand in the
// file. An attribute value is read as XML reads one: a tab or line break written as such is a blank, and
// blanks stay as they are written, so a name with doubled, leading or trailing blanks reads back as it
// was saved. (Collapsing them, as the library's normalisation does, would change such a name on every
// save; it would also drop a trailing blank written as a reference.)
inline constexpr unsigned kBookParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute;

// Where the reader and writer report progress; either may be null.
struct SBookProgress
{
    IStatusTextSink* statusBar = nullptr;
    IEventPump* pump = nullptr;

    // Shows a progress text and lets pending events run.
    void ShowStatus(const std::string& text) const;
    void PumpEvents() const;
};

// Which questions WriteQuestionsXml writes. Without filter every question; with it, the switches on
// require the question to be a member of the sequence and selected in the question list.
struct SQuestionSelection
{
    bool filter = false;
    bool sequenceOnly = false;
    bool selectedOnly = false;
    // Each question carries its chapter's name (`CategoryName`), for pasting into another book.
    bool withCategoryName = false;
};

// How ReadQuestionsXml places the questions it reads.
struct SQuestionReadOptions
{
    // Added to chapter IDs above 0 (a merged book).
    std::int32_t categoryOffset = 0;
    // Book-order position of the first question; -1 appends.
    std::int32_t insertPosition = -1;
    // Every question goes to fixedCategoryID instead of its own chapter.
    bool fixedCategory = false;
    std::int32_t fixedCategoryID = 0;
    // Each question gets a record-added undo entry.
    bool withUndo = false;
    // A question's `CategoryName` names its chapter (added when missing).
    bool mapByName = false;
    // The first question read is kept to return to after the caller's rebuild.
    bool selectFirst = false;
    // Each element is removed from the document once read, so a book is not held twice in memory.
    bool releaseRead = false;
};

// --- Writer ---

// Writes the whole collection as a book file through a temporary file and a rename; unless keepName,
// ".lnf" is appended to a name that ends neither in ".lnf" nor ".pdb" (any case). False for an empty
// name or a failed write, which leaves the old file untouched.
bool SaveNativeBook(const std::string& fileName, CItemsArray2* items, bool clearModified, bool keepName,
                    const SBookProgress& progress);
// Streams the book (declaration, root, chapters, questions, then what appendix prints at the root's
// depth) into a temporary file beside target and renames it over target. False, logged under
// writerName, when the file cannot be created or written, would be empty, or appendix fails.
bool WriteNativeBookFile(const std::string& target, CItemsArray2* items, const char* writerName,
                         const std::function<bool(pugi::xml_writer&)>& appendix,
                         const SBookProgress& progress);
void WriteChaptersXml(pugi::xml_node parent, const CItemsArray2* items);
bool WriteQuestionsXml(pugi::xml_node parent, CItemsArray2* items, const SQuestionSelection& selection);
// Appends the `Question` element of one item to questions.
void WriteQuestionXml(pugi::xml_node questions, CItemsArray2* items, CBaseItem* item, bool withCategoryName);
bool WriteAnswersXml(pugi::xml_node question, CBaseItem* item);
bool WriteUnitsXml(pugi::xml_node question, CBaseItem* item);
bool WriteVariablesXml(pugi::xml_node question, CBaseItem* item);

// --- Reader ---

// Reads a book file into items (emptied first with options.replace). False for a missing file, a parse
// error, no root `Lernfold` or a `Version` below 1.
bool LoadNativeBook(const std::string& fileName, CItemsArray2* items, const SBookReadOptions& options,
                    const SBookProgress& progress);
// Reads a parsed native book (parsed false: the parse failed) into items; the steps of LoadNativeBook
// after the parse.
bool ReadParsedNativeBook(pugi::xml_document& doc, bool parsed, CItemsArray2* items,
                          const SBookReadOptions& options, const SBookProgress& progress);
// The `Version` of a book or question-set root as a number; -1 when missing or not a number.
std::int32_t ReadNativeBookVersion(pugi::xml_node root);
// Adds the chapters of root, IDs and parent IDs above 0 moved by categoryOffset. True.
bool ReadChaptersXml(pugi::xml_node root, CItemsArray2* items, std::int32_t categoryOffset);
// Reads every `Question` of root in order into items, skipping unknown kinds and questions deleted for
// good. True.
bool ReadQuestionsXml(pugi::xml_node root, CItemsArray2* items, std::int32_t version,
                      const SQuestionReadOptions& options);
// Makes the item of one `Question` element; null for an unknown kind or a question deleted for good.
std::unique_ptr<CBaseItem> ReadQuestionXml(pugi::xml_node node, CItemsArray2* items, std::int32_t version,
                                           const SQuestionReadOptions& options);
bool ReadAnswersXml(pugi::xml_node question, CBaseItem* item, std::int32_t version);
bool ReadUnitsXml(pugi::xml_node question, CBaseItem* item, std::int32_t version);
bool ReadVariablesXml(pugi::xml_node question, CBaseItem* item, std::int32_t version);
