// The record image of a handheld database book: its records (`SQaxStruct`) with the raw header, AppInfo
// and SortInfo blocks, and the handheld's own filter over the records. The database reader and writer
// stand between a file and this image; the image stands between the file and the open book.
#pragma once

#include "model/support/Array.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class CDelQuestionList;

// Sizes of the parts of a handheld database file.
constexpr std::size_t kPdbHeaderSize = 78;
constexpr std::size_t kPdbRecordEntrySize = 8;
constexpr std::size_t kPdbAppInfoSize = 276;
constexpr std::size_t kPdbSortInfoSize = 276;
constexpr std::size_t kPdbNameSize = 32;
constexpr std::size_t kPdbCategoryCount = 16;
constexpr std::size_t kPdbCategoryNameSize = 16;
// The fixed part of a record, before its texts.
constexpr std::size_t kQaxFixedSize = 44;
constexpr int kQaxTextCount = 13;
constexpr int kQaxAnswerCount = 5;

// Record flags the image keeps for its own bookkeeping; they never travel in a file.
constexpr std::uint32_t kQaxFlag200 = 0x200;
constexpr std::uint32_t kQaxFlag400 = 0x400;
constexpr std::uint32_t kQaxFlag800 = 0x800;
constexpr std::uint32_t kQaxTransientFlags = kQaxFlag200 | kQaxFlag400 | kQaxFlag800;
// The handheld's mark of a question, and its selection in the editor's list.
constexpr std::uint32_t kQaxFlagMarked = 0x2;
constexpr std::uint32_t kQaxFlagDepthVisited = 0x20;
constexpr std::uint32_t kQaxFlagSelected = 0x80;

// One question as the handheld stores it. The texts are held as UTF-8; on disk they are Windows-1252.
struct SQaxStruct
{
    // Positions of the texts in the record, in file order.
    enum ETextIndex
    {
        txOwner = 0,
        txModifier = 1,
        txUnused2 = 2,
        txKeywords = 3,
        txUnused4 = 4,
        txLayers = 5,
        txQuestion = 6,
        txAnswer1 = 7, // answers 1 to 5 follow one another
        txExplanation = 12,
    };

    std::uint32_t QuestionID = 0;
    std::uint32_t Reserved4 = 0;
    std::uint32_t WhenCreated = 0;  // seconds since 1970-01-01 00:00 UTC
    std::uint32_t LastModified = 0; // seconds since 1970-01-01 00:00 UTC
    std::uint32_t Reserved16 = 0;
    std::uint32_t Reserved20 = 0;
    std::uint16_t Reserved24 = 0;
    std::uint32_t Reserved26 = 0;
    // Bits 8 to 12 mark answers 1 to 5 as correct; the low byte holds the handheld user's answers.
    std::uint32_t AnswerBits = 0;
    std::uint32_t Flags = 0;
    std::uint16_t Category = 0; // 0 "Unfiled", 1 "Trash", 2..15 chapters
    std::uint16_t Depth = 0;    // of the chapter number, filled by the image's filter
    std::uint16_t Reserved42 = 0;
    std::array<std::string, kQaxTextCount> Texts;

    // The correct-answer bits as the low five bits.
    std::uint32_t CorrectBits() const { return (AnswerBits >> 8) & 0x1F; }
    // The handheld user's answers.
    std::uint32_t UserBits() const { return AnswerBits & 0xFF; }
    const std::string& Answer(int i) const { return Texts[static_cast<std::size_t>(txAnswer1 + i)]; }

    // Splits a record's bytes into the fields. A record shorter than its fixed part, or whose category
    // index lies outside 0 to 15 (logged as the handheld format's category error), is refused; the fields
    // are then undefined. A text without its terminating zero ends at the record's end; texts missing at
    // the end are empty.
    bool decompressQAX(const unsigned char* data, std::size_t size);
};

// The record entry of the header's record list: where the record lies and its attribute byte.
struct SQaxStructUniqueID
{
    std::uint32_t Offset = 0;
    std::uint8_t Attributes = 0;
    std::uint32_t UniqueID = 0; // three bytes on disk
};

using CQaxStructArray = CArray<SQaxStruct>;
using CQaxUniqueIDArray = CArray<SQaxStructUniqueID>;

// The handheld's filter settings, kept with the image.
struct SQaxFilterSettings
{
    std::int32_t category = -2;  // -2 all categories
    std::int32_t phase = -1;     // -1 none; 0 Test, 1 Review, 2 Flash, 3 Edit
    std::int32_t filterKind = 0; // 0 all, 1 marked, 2 answered / correct, 3 unanswered / incorrect
    std::uint8_t searchInQuestion = 0;
    std::uint8_t searchInAnswers = 0;
    std::uint8_t searchInExplanation = 0;
    std::uint8_t searchInKeywords = 0;
    std::string searchText;
    std::uint8_t selectionOnly = 0;
    std::uint8_t shuffle = 0;
    std::uint8_t dropCorrect = 0;
    std::uint8_t depth = 0;
};

class CItemsArray
{
public:
    CItemsArray();
    CItemsArray(const CItemsArray&) = delete;
    CItemsArray& operator=(const CItemsArray&) = delete;

    // --- Records ---

    std::int32_t GetCount() const { return m_Records.GetSize(); }
    // Makes room for count records and entries in all (a reader that knows its count).
    void ReserveRecords(std::int32_t count);
    // Appends a record and its record-list entry; returns its index.
    std::int32_t AddRecord(const SQaxStruct& record, const SQaxStructUniqueID& entry = {});
    // The record at an index; null outside 0..count-1.
    SQaxStruct* GetRecord(std::int32_t index);
    const SQaxStruct* GetRecord(std::int32_t index) const;
    const SQaxStructUniqueID* GetUniqueID(std::int32_t index) const;
    // Empties the records and their entries, no position, filter reset, not modified. The blocks stay.
    void Clear();
    // Orders the records by chapter number (empty numbers last); records with equal numbers keep their
    // order.
    void SortByLayers();

    bool IsModified() const { return m_bModified != 0; }
    void SetModified(bool modified) { m_bModified = modified ? 1 : 0; }

    // --- The raw blocks, in file layout ---

    std::array<unsigned char, kPdbHeaderSize>& Header() { return m_Header; }
    const std::array<unsigned char, kPdbHeaderSize>& Header() const { return m_Header; }
    std::array<unsigned char, kPdbAppInfoSize>& AppInfo() { return m_AppInfo; }
    const std::array<unsigned char, kPdbAppInfoSize>& AppInfo() const { return m_AppInfo; }
    std::array<unsigned char, kPdbSortInfoSize>& SortInfo() { return m_SortInfo; }
    const std::array<unsigned char, kPdbSortInfoSize>& SortInfo() const { return m_SortInfo; }
    // The database name of the header, as UTF-8.
    std::string GetDatabaseName() const;

    // --- Categories (the names of the AppInfo block) ---

    // The name of category index (UTF-8); false outside 0 to 15 or for an empty name.
    bool GetCategoryName(std::int32_t index, std::string& name) const;
    // Stores the name as Windows-1252, cut to 15 bytes. False outside 0 to 15.
    bool SetCategoryName(std::int32_t index, const std::string& name);
    // Empties the names of categories 2 to 15 and moves their records to category 0.
    void ClearCategoryNames();

    // --- The handheld's filter ---

    const SQaxFilterSettings& GetFilterSettings() const { return m_Filter; }
    void SetFilterSettings(const SQaxFilterSettings& settings) { m_Filter = settings; }
    // All categories, no phase, filter kind 0, no search, no selection, no options.
    void ResetFilter();
    // Rebuilds the filtered sequence and the grid rows from the filter settings; false without a phase
    // (logged), which leaves the sequence empty.
    bool SetFilterQuestion();
    void SetPhase(std::int32_t phase, bool refilter);
    void SetFilterKind(std::int32_t kind, bool refilter);
    // Clears the chosen flag bits in the records of the category filter, or in all records when all is
    // set or the filter takes all categories.
    void ClearRecordFlags(bool clear400, bool clear800, bool clear200, bool all);
    std::int32_t GetFilteredCount() const { return m_Filtered.GetSize(); }
    std::int32_t GetGridCount() const { return m_GridRows.GetSize(); }
    // The record of a grid row; null outside the rows.
    SQaxStruct* GetGridRecord(std::int32_t row);
    // Record index of a filtered position; -1 outside.
    std::int32_t GetFilteredRecordIndex(std::int32_t position) const;
    std::int32_t GetPosition() const { return m_Position; }
    // Moves to a filtered position; false (no move) outside the sequence.
    bool SetPosition(std::int32_t position);

    // Caches the ID, creation time and owner of the record at the current position; -1, 0 and the empty
    // text when there is none.
    void UpdateCurrentRecordInfo();
    std::int32_t GetCurrentRecordID() const { return m_CurrentID; }
    std::uint32_t GetCurrentRecordCreated() const { return m_CurrentCreated; }
    const std::string& GetCurrentRecordOwner() const { return m_CurrentOwner; }

    // --- The deleted-items list written beside the book (set by the storage, not owned) ---

    void SetDelQuestionList(CDelQuestionList* list) { m_pDelQuestionList = list; }
    CDelQuestionList* GetDelQuestionList() const { return m_pDelQuestionList; }

private:
    bool IsInCategoryFilter(const SQaxStruct& record) const;
    bool PassesFilterKind(const SQaxStruct& record) const;
    bool PassesSearch(const SQaxStruct& record, const std::string& lowerSearch) const;

    CQaxStructArray m_Records;
    CQaxUniqueIDArray m_UniqueIDs;
    CIntArray m_Filtered; // record indexes of the filtered sequence
    CIntArray m_GridRows; // record indexes of the editor's list
    std::int32_t m_Position = -1;
    std::array<unsigned char, kPdbHeaderSize> m_Header{};
    std::array<unsigned char, kPdbAppInfoSize> m_AppInfo{};
    std::array<unsigned char, kPdbSortInfoSize> m_SortInfo{};
    std::uint8_t m_bModified = 0;
    CDelQuestionList* m_pDelQuestionList = nullptr; // not owned
    SQaxFilterSettings m_Filter;
    std::int32_t m_CurrentID = -1;
    std::uint32_t m_CurrentCreated = 0;
    std::string m_CurrentOwner;
};
