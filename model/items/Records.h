// The plain records of the item model and of the collection, kept by value in CArray containers.
// A new record has every number 0 and every text empty unless a member says otherwise.
#pragma once

#include "model/support/Array.h"

#include <cstdint>
#include <memory>
#include <string>

class CBaseItem;

// A date and time as a count of days since 1899-12-30 00:00, the fraction giving the time of day.
using TDateTime = double;

// One answer of an item.
struct SAnswerItem
{
    std::int32_t ID = 0;
    std::string AnswerText; // the choice, the pattern, the value or the sub-question
    std::string Correct;    // grade fraction; the correct match; "1"/"0" for true/false; an essay's grade
    std::string Feedback;
    std::string Tolerance;  // accepted error of a numerical answer
    std::string UserAnswer; // "1" chosen; the chosen match; the true/false answer
};

// How one formula answer is checked and shown.
struct SFormulaParams
{
    std::string Tolerance;
    std::uint8_t ToleranceType = 0;       // 0 relative, 1 nominal, 2 geometric
    std::int32_t CorrectAnswerLength = 0; // decimals or significant figures shown
    std::uint8_t CorrectAnswerFormat = 0; // 0 decimals, 1 significant figures
};

// One data-set variable of a calculated answer.
struct SCalculatedVariableItem
{
    std::string Name;
    std::string MinValue;
    std::string MaxValue;
    CStringArray Values; // one text per data-set row
};
using CCalculatedVariableArray = CArray<SCalculatedVariableItem>;

// One answer of a calculated item.
struct SCalculatedAnswerItem
{
    std::int32_t ID = 0;
    std::string AnswerFormula; // variables are names written in braces
    SFormulaParams FormulaParams;
    CCalculatedVariableArray Variables;
    std::string Correct;
    std::string Feedback;
};

// One unit of a numerical or calculated item.
struct SUnitItem
{
    std::string Value; // the multiplier
    std::string Description;
};

// One variable of a formula manager.
struct SFormulaVariableItem
{
    std::string Name;
    std::string Value;
};

// The user's answer to an item as a whole.
struct SCommonUserAnswerInfo
{
    std::int32_t TimeAnswer = 0;
    std::string UserAnswer;
    std::string UserAnswerAdditionalInfo; // the calculated kind keeps the shown data-set row here
};

// One chapter.
struct SCategoryInfo
{
    std::int32_t ID = 0;
    std::int32_t Parent = -1; // -1 for a top-level chapter
    std::string Name;
    std::string Description;
};

// A copy of a collection's filter settings, taken and given back whole.
struct SFilterOptions
{
    std::uint8_t markedOnly = 0;
    std::int32_t currentMode = -1;
    std::int32_t currentView = 0;
    std::int32_t currentCategory = 0; // -2 all chapters, -10 Trash
    std::uint8_t randomMode = 0;
    std::uint8_t cycleMode = 0;
    std::uint8_t depthMode = 0;
    std::uint8_t searchInQuestion = 0;
    std::uint8_t searchInAnswers = 0;
    std::uint8_t searchInFeedback = 0;
    std::uint8_t searchInKeywords = 0;
    std::string searchText;
    std::uint8_t problemKind = 0; // 0 none, 1..11
    std::int32_t problemNumber = 0;
};

// One score row: a chapter, or a summary row with a negative code.
struct SScoreInfo
{
    std::int32_t ID = -1;
    std::int32_t Correct = 0;
    std::int32_t PartiallyCorrect = 0;
    std::int32_t Incorrect = 0;
    std::int32_t Unanswered = 0;
    std::string Name;
    std::uint8_t isTotalRow = 0;
    std::uint8_t isFilterRow = 0;
    std::uint8_t isCurrent = 0;
};

// One entry of the undo history.
struct SItemInfo
{
    std::int32_t RecordIndex = -1;
    std::uint8_t Action = 0;
    std::uint8_t ChangeDataType = 0;
    std::string OldText;
    std::int32_t OldValue = -1;
    std::shared_ptr<CBaseItem> SavedItem; // the whole question as it was, when the entry keeps one
};

// One backup copy: file name without folder, file date and time, size in bytes.
struct SBakupInfo
{
    std::string FileName;
    TDateTime FileDate = 0.0;
    std::uint64_t Size = 0;
};

// One entry of the clipboard archive.
struct SClipboardArchiveItem
{
    std::string Text;
    std::string RichText; // rich text, or the question-set XML
    std::int32_t RowCount = 0;
    TDateTime Time = 0.0;
    std::uint8_t Kind = 0;
};

// One book of the book list.
struct SBookInfo
{
    virtual ~SBookInfo() = default;
    std::string Name;
    std::string FileName;
    std::string Folder;
    TDateTime Created = 0.0;
    TDateTime Accessed = 0.0;
    TDateTime Modified = 0.0;
    std::uint8_t AlwaysShown = 0;
};

using CAnswerItemArray = CArray<SAnswerItem>;
using CCalculatedAnswerArray = CArray<SCalculatedAnswerItem>;
using CUnitItemArray = CArray<SUnitItem>;
using CFormulaVariableArray = CArray<SFormulaVariableItem>;
using CCategoryInfoArray = CArray<SCategoryInfo>;
using CScoreInfoArray = CArray<SScoreInfo>;
using SItemInfoArray = CArray<SItemInfo>;
using CBooksArray = CArray<SBookInfo>;
using CClipboardArchiveItemArray = CArray<SClipboardArchiveItem>;
using CBakupInfoArray = CArray<SBakupInfo>;
using CBaseItemPtrArray = CArray<CBaseItem*, CBaseItem*>;
