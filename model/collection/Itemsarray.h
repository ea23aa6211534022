// The open book's collection of questions: it owns the items in book order, keeps the stable record list
// the undo history refers to, the chapter table, the filter settings with the visible sequence and the
// position in it, and the rows the question list shows.
#pragma once

#include "model/collection/Bacup.h"
#include "model/items/Records.h"
#include "model/support/Array.h"
#include "model/support/ModelTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CBaseItem;
class CItemsArray2;
namespace lf
{
class RichDocument;
}

// Builds the item's plain, lower-case search text through a hidden rich-text view from the name and the
// selected text groups (question, answers, feedback, keywords). Nothing happens for a null item or view
// (logged), or when the text is built already and force is off.
void PrepareItemSearchInfo(CBaseItem* item, lf::RichDocument* view, bool force, bool question, bool answers,
                           bool feedback, bool keywords);

// Phases the sequence is built for (`currentMode`).
enum EActionMode : std::int32_t
{
    eamNone = PhaseNumber(EPhase::None),
    eamTestMode = PhaseNumber(EPhase::Test),
    eamReviewMode = PhaseNumber(EPhase::Review),
    eamLearnMode = PhaseNumber(EPhase::Flash),
    eamEditMode = PhaseNumber(EPhase::Edit),
};

// Chapter IDs that never have a row in the chapter table.
constexpr std::int32_t kAllCategoriesID = -2;
constexpr std::int32_t kTrashCategoryID = -10;

// True when the item is neither deleted for good nor in the Trash.
bool IsActiveItem(const CBaseItem* item);

// Book-order comparison of the sort: chapter row, dotted chapter number (empty last), creation time, last
// change, ID. Negative, 0 or positive.
int CompareItemsForSort(const CItemsArray2& items, const CBaseItem* a, const CBaseItem* b);

// Converts the item at a book-order index to another kind (see CItemsArray2::ConvertCurrentItemTo).
bool ConvertItemTo(CItemsArray2& items, std::int32_t index, int kind, bool inPlace);

// A click on a row of the answer table under a question in Test phase, as the choice recording reads it.
struct SChoiceClick
{
    std::int32_t row = -1; // the row clicked
    // The hint of each row's first cell: the index of the answer the row shows ("1" true and "0" false
    // for a true/false statement). A hint that is not a number names no answer.
    std::vector<std::string> rowHints;
    // The question style shows a multiple-choice question as a card with one answer, and whether the
    // card has an answer to show.
    bool card = false;
    bool cardShowsAnswer = false;
    // A matching question: the partner picked for the row's sub-question; none before it is picked.
    std::optional<std::string> partner;
};

// What recording a choice came to.
enum class EChoiceResult : std::uint8_t
{
    NoAnswer,    // the row names no answer (or no pair of a matching question): nothing to draw again
    Ignored,     // the question takes no choice there; nothing changed
    Recorded,    // the user's answer changed; the rows say what to draw again
    PickPartner, // matching: the partners to offer are given; record again with the one picked
    NoPartner,   // matching: no pair has a partner to offer
};

// How the rows of a recorded choice show it, besides their colour.
enum class EChoiceLook : std::uint8_t
{
    Card,    // the card's one picture, ticked or not
    Squares, // lettered squares: the question takes several choices
    Circles, // lettered circles: one choice (true/false too)
    Partner, // the second cell shows the partner picked
};

// A row of the answer table to draw again after a choice.
struct SChoiceRow
{
    std::int32_t row = -1;
    bool chosen = false; // the row's answer is the user's (its picture ticked)
    bool correct = false;

    friend bool operator==(const SChoiceRow&, const SChoiceRow&) = default;
};

struct SChoiceOutcome
{
    EChoiceResult result = EChoiceResult::NoAnswer;
    bool modified = false; // the book was marked modified
    EChoiceLook look = EChoiceLook::Circles;
    std::vector<SChoiceRow> rows;
    CStringArray partners; // PickPartner: in a random order
};

class CItemsArray2
{
public:
    CItemsArray2();
    // Deletes every item of the book.
    virtual ~CItemsArray2();
    CItemsArray2(const CItemsArray2&) = delete;
    CItemsArray2& operator=(const CItemsArray2&) = delete;

    // --- Lists and lookups ---

    std::int32_t GetCount() const { return m_Items.GetSize(); }
    // The item at a book-order index; null outside 0..count-1.
    CBaseItem* GetItem(std::int32_t index) const;
    // Book-order index, -1 when absent or null.
    std::int32_t IndexOfItem(const CBaseItem* item) const;
    // Index in the stable record list, -1 when absent or null.
    std::int32_t GetRecordIndex(const CBaseItem* item) const;
    // The item at a record index; null outside 0..count-1. The record list only grows and is not in book
    // order once items were inserted. GetRecordItem is the name the editing code uses for the same lookup.
    CBaseItem* GetRecord(std::int32_t recordIndex) const;
    CBaseItem* GetRecordItem(std::int32_t recordIndex) const { return GetRecord(recordIndex); }
    std::int32_t GetRecordIndexAt(std::int32_t index) const;
    std::int32_t GetItemIndexOfRecord(std::int32_t recordIndex) const;

    // The rows of the question list: the members of the sequence in book order after the last rebuild.
    std::int32_t GetGridCount() const { return m_GridList.GetSize(); }
    CBaseItem* GetGridListItem(std::int32_t row) const;
    std::int32_t GetItemIndexOfGridRow(std::int32_t row) const;
    bool HasSelectedGridItems() const;

    // 1-based count of the items up to the current one (inclusive) in its chapter, whatever their status;
    // 0 without a current item.
    std::int32_t GetNumberInCategory() const;

    bool IsModified() const { return m_bModified != 0; }
    void SetModified(bool modified) { m_bModified = modified ? 1 : 0; }

    // The hidden rich-text view through which plain search texts are made (not owned).
    void SetSearchView(lf::RichDocument* view) { m_pSearchView = view; }
    lf::RichDocument* GetSearchView() const { return m_pSearchView; }

    CBackupItem& GetBackupItem() { return m_BackupItem; }

    // Settings from the options, set by their owner when the options change: the question style (the
    // options' `ViewMode`; 3 studies every kind, the others multiple choice only) and the author's name,
    // which new items get as owner and modifier. Flashcard style (0) and no name until set.
    void SetQuestionStyle(int style) { m_QuestionStyle = style; }
    int GetQuestionStyle() const { return m_QuestionStyle; }
    void SetAuthorName(const std::string& name) { m_AuthorName = name; }
    const std::string& GetAuthorName() const { return m_AuthorName; }
    // Takes back the history's entry at its cursor. recordIndex receives the record changed (-1 when
    // nothing happened); refreshAll tells whether the change may move the record between lists or
    // chapters. False when there is nothing to undo, the record does not exist, or the entry cannot be
    // applied (logged). On success the book is marked modified.
    bool Undo(std::int32_t& recordIndex, bool& refreshAll);
    // Does the history's entry after its cursor again; results as Undo.
    bool Redo(std::int32_t& recordIndex, bool& refreshAll);
    bool CanUndo() const { return m_BackupItem.CanUndo(); }
    bool CanRedo() const { return m_BackupItem.CanRedo(); }
    void SetKeptItem(CBaseItem* item) { m_KeptItem = item; }
    CBaseItem* GetKeptItem() const { return m_KeptItem; }

    // --- Creation and insertion ---

    // A new item ID; IDs handed out by one collection strictly increase.
    std::uint32_t NewItemID();
    std::uint32_t GetLastItemID() const { return m_LastItemID; }
    // A new item of QuestionType kind (1..10) with the author as owner and modifier and the layer of a new
    // item; with withNewID it gets a new ID, otherwise -1. Null for another kind.
    std::unique_ptr<CBaseItem> CreateItem(int kind, bool withNewID);
    // A new item (with a new ID) filled from source when one is given; a category of 0 or more becomes its
    // chapter. Not inserted. Null for a kind outside 1..10.
    std::unique_ptr<CBaseItem> MakeNewItem(int kind, const CBaseItem* source, std::int32_t category);
    // Puts the item into book order at position (0..count-1; anything else appends) and at the end of the
    // record list; returns its book-order index. Does not rebuild the sequence. Null is refused (-1).
    std::int32_t InsertItem(std::unique_ptr<CBaseItem> item, bool setModified, std::int32_t position);
    // Makes room for count more items, so a reader that knows how many it will insert moves the lists once.
    void ReserveItems(std::int32_t count);
    // MakeNewItem, inserted at position (the book is marked modified), the sequence rebuilt, and the position
    // moved to the new item (position 0 or more) or to the last member (negative position, or when the new
    // item is not a member). Returns the item (owned by the collection); null for a kind outside 1..10.
    CBaseItem* AddNewItem(int kind, const CBaseItem* source, std::int32_t position, std::int32_t category);
    // The layer of a new item: the first number of the greatest chapter number of the book plus one; "1"
    // for a book without numbers or when that number cannot be read (logged).
    std::string GetMaxLayer() const;
    // An exact copy of the item that stands for the same question: its ID, ID text, owner, modifier, times,
    // status, user answer and search text come along, and no new ID is used up. The undo history keeps such
    // copies, and Quick Edit keeps one to put back in the item's place when the user cancels
    // (ReplacePointer). Not inserted; null for null.
    std::unique_ptr<CBaseItem> SnapshotItem(const CBaseItem* item) const;
    std::unique_ptr<CBaseItem> CopyItemForUndo(const CBaseItem* item) const;

    // --- Replacement and conversion ---

    // The new object takes the place of the one at a book-order index in every list (and every position
    // the collection remembers). The old object is deleted with deleteOld (result null), otherwise handed
    // back. Nothing happens (null, newItem left with the caller) for a null newItem or an index outside
    // 0..count-1.
    std::unique_ptr<CBaseItem> ReplaceItemAt(std::int32_t index, std::unique_ptr<CBaseItem>&& newItem,
                                             bool deleteOld);
    // ReplaceItemAt at the current index.
    std::unique_ptr<CBaseItem> ReplacePointer(std::unique_ptr<CBaseItem>&& newItem, bool deleteOld);
    // The same by record index.
    std::unique_ptr<CBaseItem> ReplaceRecord(std::int32_t recordIndex, std::unique_ptr<CBaseItem>&& newItem,
                                             bool deleteOld);
    // Converts the current item to kind. In place the question keeps its positions and gets a new ID;
    // otherwise a copy of the other kind (one multiple-choice question per pair for a matching item) is
    // appended. A real change marks the book modified. Nothing happens (true) without a current item, for
    // the item's own kind in place, or for a kind outside 1..10.
    bool ConvertCurrentItemTo(int kind, bool inPlace);

    // --- Chapters ---

    std::int32_t GetCategoryCount() const { return m_Categories.GetSize(); }
    bool GetCategoryAt(std::int32_t row, SCategoryInfo& info) const;
    std::int32_t GetCategoryIDAt(std::int32_t row) const;
    std::int32_t FindCategoryIndex(std::int32_t id) const;
    // Exact, case-sensitive comparison of names.
    std::int32_t FindCategoryIndexByName(const std::string& name) const;
    // True only for an ID of 0 or more that has a row; row receives it.
    bool CategoryExists(std::int32_t id, std::int32_t* row = nullptr) const;
    // A copy of the chapter's row; -10 answers the Trash without a row. False for an ID without a row.
    bool GetCategoryInfo(std::int32_t id, SCategoryInfo& info) const;
    std::string GetCategoryName(std::int32_t id) const;
    // Highest ID in the table plus one (0 for an empty table).
    std::int32_t GetNextCategoryID() const;
    // Appends the chapter (with newID its ID becomes the next free one). Refused for a name that is empty
    // after trimming blanks and, without newID, for an ID that already has a row.
    bool AddCategory(const SCategoryInfo& info, bool newID, bool setModified, std::int32_t* row = nullptr);
    // The row of the chapter with exactly this name, added (and the book marked modified) when missing;
    // -1 for an empty name.
    std::int32_t GetOrAddCategoryByName(const std::string& name);
    // Refused for an ID without a row and for row 0.
    bool RenameCategory(std::int32_t id, const std::string& name, const std::string& description);
    // Overwrites rows 1..count-1 only.
    bool SetCategoryAt(std::int32_t row, const SCategoryInfo& info);
    // Removes a chapter (not row 0) and moves its items to chapter 0; marks the book modified.
    bool DeleteCategory(std::int32_t id);
    // Every item of oldID gets newID when newID has a row. Always true.
    bool MoveItemsToCategory(std::int32_t oldID, std::int32_t newID);

    // --- Whole collection ---

    // Deletes every item, leaves only chapter 0 "Unfiled", no position, not modified, filter reset, and
    // empties the undo history (its entries name records of the book that is gone). The last item ID, the
    // test clock and the score rows stay. True.
    bool Clear();

    // --- Filter settings, the sequence and the position (Itemsarray_Sequence.cpp) ---

    // Rebuilds the sequence from the filter settings; false only without a phase (logged).
    bool SetFilterQuestion(bool resetCycle);
    bool Refilter(bool resetCycle) { return SetFilterQuestion(resetCycle); }
    // The phase and the view arrive as bytes and are read signed (255 is -1).
    void SetCurrentMode(std::uint8_t mode, bool refilter);
    void SetCurrentMode(EPhase phase, bool refilter) { SetCurrentMode(ToNumber(phase), refilter); }
    std::int32_t GetCurrentMode() const { return m_Preferences.currentMode; }
    EPhase GetPhase() const { return PhaseFromNumber(m_Preferences.currentMode); }
    void SetCurrentView(std::uint8_t view, bool refilter);
    void SetCurrentView(EViewFilter view, bool refilter) { SetCurrentView(ToNumber(view), refilter); }
    std::int32_t GetCurrentView() const { return m_Preferences.currentView; }
    EViewFilter GetViewFilter() const { return static_cast<EViewFilter>(m_Preferences.currentView); }
    // The chapter filter: a chapter ID, -2 all chapters, -10 the Trash. False (logged) for another ID without
    // a row.
    bool SetActiveCategory(std::int32_t id, bool refilter);
    std::int32_t GetActiveCategory() const { return m_Preferences.currentCategory; }
    void SetRandomMode(std::uint8_t on) { m_Preferences.randomMode = on; }
    void SetCycleMode(std::uint8_t on) { m_Preferences.cycleMode = on; }
    void SetDepthMode(std::uint8_t on) { m_Preferences.depthMode = on; }
    std::uint8_t GetRandomMode() const { return m_Preferences.randomMode; }
    std::uint8_t GetCycleMode() const { return m_Preferences.cycleMode; }
    std::uint8_t GetDepthMode() const { return m_Preferences.depthMode; }
    // All chapters, no mode, no search; the phase, the view and the problem query stay.
    void ResetFilterOptions();
    // Only the marked-only switch and the four search scopes are cleared.
    void ClearSearchOptions();
    void GetFilterOptions(SFilterOptions& options) const { options = m_Preferences; }
    SFilterOptions GetFilterOptions() const { return m_Preferences; }
    // Takes all fields; does not rebuild.
    void SetFilterOptions(const SFilterOptions& options) { m_Preferences = options; }

    // Keeps the filter settings and the position, to be restored once.
    void SaveFilter();
    // Puts the kept settings back; with refilter the sequence is rebuilt and the position goes back to the
    // kept question when it is still a member, else to the first member. False without a snapshot or for an
    // empty sequence.
    bool RestoreFilter(bool refilter);

    // Moves to the first / last member; false for an empty sequence.
    bool First();
    bool Last();
    // Moves to the next / previous member (with peek only reports its book-order index in index). In Cycle
    // mode the end of the sequence starts the next pass. False when it cannot move.
    bool Next(bool peek = false, std::int32_t* index = nullptr);
    bool Prev(bool peek = false, std::int32_t* index = nullptr);
    // Moves to the item when it is a member.
    bool SetCurrentItem(const CBaseItem* item);
    // Moves back to the item that was current before the last rebuild or bulk move.
    bool RestoreCurrentItem();
    CBaseItem* GetCurrentItem() const { return GetItem(m_CurrentIndex); }
    std::int32_t GetCurrentIndex() const { return m_CurrentIndex; }
    void ClearPosition() { m_CurrentIndex = -1; }
    std::int32_t GetCurrentNumber() const { return m_CurrentNumber; }
    std::int32_t GetSequenceCount() const { return m_SequenceCount; }
    std::int32_t GetMaxCycle() const { return m_MaxCycle; }
    // Adds 1 to the cycle counter of every member.
    void IncrementCycleCounters();
    // Sorts the whole book order with CompareItemsForSort.
    void SortItems();
    // The list window's request to refresh its rows in order: the whole book sorted as SortItems does
    // (chapter table order, chapter number, creation time, last change, ID), marked modified, the sequence
    // rebuilt and its first member made current. False when the sequence has no member.
    bool SortBookAndRestart();
    // Sorts the book order by duplicate group, then as SortItems.
    void SortByDuplicateGroup();

    // --- Search and problem queries (Itemsarray_Search.cpp) ---

    // Turns the question list's search text into filter settings: a plain text searches the items' built
    // search texts; a text starting with "?" is a problem query (counts of correct answers or choices,
    // duplicates, special characters, empty choices), optionally followed by "?" and a text to search as
    // well. The settings before the call are kept as the filter snapshot. With refilter the sequence is
    // rebuilt and the position stays on the question that was current, else goes to the first member.
    // False for a query without a known keyword (settings unchanged, logged) and for a rebuild that leaves
    // no member (the previous settings and sequence come back); true otherwise.
    bool Search(const std::string& text, bool markedOnly, bool refilter, bool inQuestion, bool inAnswers,
                bool inFeedback, bool inKeywords);

    // --- Score rows (Itemsarray_Score.cpp) ---

    // Recomputes the score rows: one per chapter with counted questions (in order of first occurrence),
    // the row of the active view filter when there is one, and the all-questions row when all chapters are
    // asked for or the chapter filter takes all. False, with no rows, when no chapter row resulted.
    bool RefreshScoreData(bool allChapters);
    std::int32_t GetScoreCount() const { return m_ScoreRows.GetSize(); }
    // A copy of row index; false (row untouched) outside 0..count-1.
    bool GetScoreItem(std::int32_t index, SScoreInfo& row) const;

    // --- The clock of a timed Test (Itemsarray_Score.cpp) ---

    // Starts the clock afresh: the whole limit remains.
    void SetTimer(bool on, bool showElapsed, std::uint32_t startTick, std::uint32_t limitSeconds);
    void SetTimerStart(std::uint32_t tick) { m_Timer.start = tick; }
    // Moves the start later by a pause's length, so the pause is not counted.
    void ShiftTimerStart(std::uint32_t milliseconds) { m_Timer.start += milliseconds; }
    void StopTimer() { m_Timer.on = 0; }
    bool IsTimerOn() const { return m_Timer.on != 0; }
    bool IsTimerShowingElapsed() const { return m_Timer.showElapsed != 0; }
    // True once a clock text was asked for after the limit ran out.
    bool IsTimeUp() const { return m_Timer.on != 0 && m_Timer.remaining == 0; }
    std::uint32_t GetTimerLimit() const { return m_Timer.limit; }
    std::uint32_t GetTimerRemaining() const { return m_Timer.remaining; }
    // "h:mm:ss" of the time left (or used, when the clock shows the time used and forceRemaining is off),
    // read from the tick count now; updates the time left. Empty outside Test phase or with the clock off.
    std::string GetTimerText(bool forceRemaining);
    // The limit as "h:mm:ss".
    std::string GetTimerLimitText() const;
    // Keeps a copy of the whole clock, and puts it back (the study clock dialog's Cancel).
    void SaveTimerState() { m_SavedTimer = m_Timer; }
    void RestoreTimerState() { m_Timer = m_SavedTimer; }

    // --- The user's choices (Itemsarray_Choice.cpp) ---

    // Records the choice a click on a row of item's answer table makes, by the item's kind: a multiple-
    // choice mark toggled (on a card only the card's answer, and the book does not count as changed; with
    // one choice allowed every other mark goes), the true/false statement set from the row's hint, or the
    // partner picked for a matching pair (without one the partners to offer come back first). The book is
    // marked modified once when the choice counts as a change. The outcome names the rows to draw again.
    SChoiceOutcome RecordChoice(CBaseItem& item, const SChoiceClick& click);

    // --- Deletion, Trash and bulk changes (Itemsarray_Trash.cpp) ---

    // Moves the item at a book-order index to the Trash, or, when it is in the Trash, deletes it for good
    // (only its identity stays); each pushes its undo entry. False for an index without an item and for an
    // item deleted already. The current position is dropped when it was that index; no rebuild.
    bool DeleteItem(std::int32_t index, bool setModified);
    // Deletes the current item, rebuilds and moves to the member after it (at the end: before it). False
    // when nothing was deleted.
    bool DeleteCurrentItem();
    // toTrash: moves the items outside the Trash into it; otherwise deletes the items in the Trash for
    // good. allItems takes the whole book, else the selected members. Rebuilds and keeps a sensible
    // position. True when anything was deleted.
    bool DeleteItems(bool allItems, bool toTrash);
    // Deletes every item in the Trash for good; no rebuild. True when there was one.
    bool EmptyTrash();
    std::int32_t GetTrashCount() const;
    // Moves one item to a chapter (-10: into the Trash; any other: out of it) with its undo entry and
    // marks the book modified; no rebuild. False only for null.
    bool ChangeItemCategory(CBaseItem* item, std::int32_t chapterID);
    // Moves the rows of the question list (useGrid; marked and/or selected ones) or the items of the book
    // (marked ones; the members unless allItems) into a chapter or the Trash, each with its undo entry;
    // rebuilds and returns to the current question. False for a negative chapter other than -10 (logged)
    // and when nothing changed.
    bool MultiChangeCategoryAndFlagsRecords(bool allItems, bool markedOnly, bool useGrid, bool selectedOnly,
                                            std::int32_t chapterID);
    // Marks or unmarks the selected rows of the question list, each with its undo entry. False (logged)
    // when a row has no item.
    bool SetSelectionForGreedList(bool mark);
    // Gives the selected rows the chapter numbers prefix.start, prefix.start+step, ... (a number that
    // would not be above 0 becomes 1), each with its undo entry. False (logged) when a row has no item.
    bool RenumberSelectedItems(std::int32_t start, std::int32_t step, const std::string& prefix);
    // Clears the user's answers and the cycle counters of the book (allItems) or of the members.
    void ResetAnswers(bool allItems);
    // Clears the marks of the book (allItems) or of the members.
    void ClearMarks(bool allItems);
    // kind 1: gives every multiple-choice question up to four wrong answers taken from the first answers
    // of other questions, explains them in its general feedback, then shuffles every item's answers. True
    // when a wrong answer was added.
    bool GenerateDistractors(int kind);
    // Moves to the Trash every later member that duplicates an earlier one; returns how many.
    std::int32_t RemoveDuplicates();

private:
    // Calls change for each selected question of the list that is in the sequence, in row order. False,
    // after its log line, at the first row that names no question; the rows before it stay changed.
    bool ForEachSelectedGridItem(const std::function<void(CBaseItem*)>& change);

    // The snapshot of SaveFilter.
    struct SSavedFilter
    {
        SFilterOptions options;
        std::int32_t currentIndex = -1;
        CBaseItem* currentItem = nullptr; // not owned
        std::int32_t currentNumber = 0;
        std::int32_t sequenceCount = 0;
        std::uint8_t held = 0;
    };

    // The test clock: limit and remaining seconds, start tick, whether the text shows the time used, and
    // whether a limit is running.
    struct STestTimer
    {
        std::uint32_t limit = 0;
        std::uint32_t remaining = 0;
        std::uint32_t start = 0;
        std::uint8_t showElapsed = 0;
        std::uint8_t on = 0;
    };

    // Makes every remembered position that names oldItem name newItem (null to forget it), so no pointer
    // outlives the object it points at.
    void RedirectItemPointers(const CBaseItem* oldItem, CBaseItem* newItem);
    // Puts newItem in place of oldItem in every list and remembered position.
    void PutInPlace(const CBaseItem* oldItem, CBaseItem* newItem);
    // Puts newItem where oldItem stands; oldItem is handed back, or freed when deleteOld.
    std::unique_ptr<CBaseItem> ReplaceInPlace(CBaseItem* oldItem, std::unique_ptr<CBaseItem>&& newItem,
                                              bool deleteOld);
    // Builds the plain search text of an item made here (conversions, the duplicate query), not forced.
    void PrepareSearchInfo(CBaseItem* item);
    // The view search texts are built through: the one given, else the collection's own.
    lf::RichDocument* SearchViewForBuilding();
    // Applies an undo entry in the direction its state names; redo only selects the log texts.
    bool ApplyUndoEntry(SItemInfo& entry, bool redo, std::int32_t& recordIndex, bool& refreshAll);
    // After a deletion and rebuild: the member after the remembered index, else the one before, else the
    // first.
    void MoveNearIndex(std::int32_t remembered);
    // Converts a matching item into one multiple-choice question per pair, appended.
    void ConvertMatchingToMultipleChoice(CBaseItem* matching);
    friend bool ConvertItemTo(CItemsArray2& items, std::int32_t index, int kind, bool inPlace);

    // Sequence helpers.
    bool IsCandidate(CBaseItem* item) const;
    bool PassesView(CBaseItem* item) const;
    void RemoveFromSequence(CBaseItem* item);
    // Removes a member that fails the search settings, and remembers it for RestoreFilterAfterEmptySearch.
    void RemoveBySearch(CBaseItem* item);
    // The marked-only switch, the text search and the problem queries over the members of a rebuild.
    void ApplySearchFilters();
    void FormDuplicateGroups();
    // After a search that left no member: puts the snapshot's settings back as RestoreFilter(true) does,
    // without rebuilding the sequence again when only search settings differ (rebuilt: the search's rebuild
    // ran). False as RestoreFilter.
    bool RestoreFilterAfterEmptySearch(bool rebuilt);
    // The end of a restore: the position goes back to the kept question, else to the first member. False
    // for an empty sequence.
    bool PlaceAfterRestore();
    bool NextInDepth(bool peek, std::int32_t* index);
    bool PrevInDepth(bool peek, std::int32_t* index);
    bool NextAtEnd(bool peek, std::int32_t* index);
    void FillGridList();
    // Sorts the book order by CompareItemsForSort, by duplicate group first when asked; the current item
    // stays current.
    void SortBookOrder(bool byDuplicateGroup);

    CBaseItemPtrArray m_Items;               // book order; owned
    CBaseItemPtrArray m_Records;             // every item ever inserted, in insertion order; the same objects
    CBaseItemPtrArray m_GridList;            // the members of the sequence in book order
    std::vector<CBaseItem*> m_SearchRemoved; // the members the last search filters removed
    CCategoryInfoArray m_Categories;
    std::int32_t m_CurrentIndex = -1;
    std::int32_t m_CurrentNumber = -1;
    std::int32_t m_SequenceCount = 0;
    std::uint8_t m_bModified = 0;
    std::uint32_t m_LastItemID = 0;
    SFilterOptions m_Preferences;
    SSavedFilter m_SavedFilter;
    CBaseItem* m_KeptItem = nullptr; // not owned
    STestTimer m_Timer;
    STestTimer m_SavedTimer;
    CScoreInfoArray m_ScoreRows;
    int m_QuestionStyle = 0;
    std::string m_AuthorName;
    CBackupItem m_BackupItem;
    lf::RichDocument* m_pSearchView = nullptr; // not owned
    // Made on first need when no search view was given, so search texts can always be built.
    std::unique_ptr<lf::RichDocument> m_pOwnSearchView;
    std::int32_t m_MaxCycle = 0;
};

// Merges one score row into the list: its counts go to the row of the same ID, or it is appended with the
// name of its chapter or summary code. False (logged, counts lost) for a chapter without a record or an
// unknown code.
bool AddScoreToArray(const CItemsArray2& items, CScoreInfoArray& rows, const SScoreInfo& row);
