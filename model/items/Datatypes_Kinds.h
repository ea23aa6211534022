// The question kinds beyond the answer-list kinds: description, essay, random short-answer matching,
// embedded answers and calculated questions, and the data-set operations of a calculated answer.
#pragma once

#include "model/formulas/Formulamanager.h"
#include "model/items/Datatypes.h"
#include "model/items/Records.h"

#include <cstdint>
#include <memory>
#include <string>

// A new, empty item of QuestionType kind (1..10): the kind's defaults, ID -1, no owner, modifier or
// layer. Null for another kind. Reads nothing but its argument, so readers call it once per item.
std::unique_ptr<CBaseItem> MakeItemOfKind(int kind);

// Kind 3: text only; never answered, always graded 0.
class CDescriptionItem : public CBaseItem
{
public:
    CDescriptionItem();
    ~CDescriptionItem() override;

    bool IsAnswered() const override { return false; }
    int GetResult() override { return 0; }
    bool HasAnswerList() const override { return false; }
};

// Kind 4: a free text answer (the typed answer of CommonAnswer) with a grade given by hand. The one answer
// holds the model answer, its feedback and, in `Correct`, the grade as an integer text.
class CEssayItem : public CSingleAnswerItem
{
public:
    CEssayItem();
    ~CEssayItem() override;

    // The answer's ID becomes 0 and its texts empty.
    void ClearAnswers() override;
    bool IsAnswered() const override;
    // The grade given by hand, kept within 0..2; -1 while it is not a whole number (empty included).
    int GetResult() override;
    bool IsTypedAnswer() const override { return true; }
    bool IsAllAnswerBlanksIsEmpty() const override { return false; }
};

// The kinds kept for editing only (random short-answer matching, embedded answers): never answered, no
// grade (-1), no answer list, and available in the Edit phase only.
class CEditOnlyItem : public CBaseItem
{
public:
    bool IsAnswered() const override { return false; }
    int GetResult() override { return -1; }
    bool HasAnswerList() const override { return false; }
    bool IsAvailableInPhase(int phase) const override;

protected:
    using CBaseItem::CBaseItem;
};

// Kind 9: tells a quiz system how many short-answer questions to draw; kept for editing only.
class CRandomShortAnswerMatchingItem : public CEditOnlyItem
{
public:
    CRandomShortAnswerMatchingItem();
    ~CRandomShortAnswerMatchingItem() override;

    // Never answerable, not even while editing.
    bool IsAnswerableInPhase(int phase) const override;
    bool CopyFrom(const CBaseItem* other) override;
    bool Clear() override;

    std::int32_t GetNumberOfQuestionsToSelect() const { return NumberOfQuestionsToSelect; }
    void SetNumberOfQuestionsToSelect(std::int32_t v) { NumberOfQuestionsToSelect = v; }

private:
    std::int32_t NumberOfQuestionsToSelect = 2;
};

// Kind 10: a question text with embedded answers, kept but not evaluated; available in the Edit phase only.
class CEmbeddedItem : public CEditOnlyItem
{
public:
    CEmbeddedItem();
    ~CEmbeddedItem() override;

    // Answerable while editing.
    bool IsAnswerableInPhase(int phase) const override;
    // From a multiple-choice item the name gets " _copy" appended and the explanation becomes the question
    // text, so the choices can be written into the text by hand.
    bool CopyFrom(const CBaseItem* other) override;
};

// Kind 7: a number computed by a formula from variables whose values come from data sets. Each answer
// carries a formula, its checking parameters and its variables; row k of the data sets is the k-th value
// of every variable. The row shown with the user's answer is kept in `UserAnswerAdditionalInfo` (in the
// Flash phase in `m_CurrentDataset`).
class CCalculatedItem : public CBaseItem, public CUnitList
{
public:
    CCalculatedItem();
    ~CCalculatedItem() override;

    std::int32_t GetAnswerCount() const override;
    // Answers whose grade is neither "0" nor empty.
    std::int32_t GetCorrectAnswerCount() const override;
    void ClearAnswers() override;
    std::int32_t GetUnitCount() const override { return GetUnitListSize(); }
    bool IsAnswered() const override;
    // 0 when no credited answer's formula accepts the typed number at the stored row (also unanswered);
    // 1 when the matching answer is graded "1"; 2 for any other grade.
    int GetResult() override;
    bool HasAnswerList() const override { return true; }
    bool HasUnits() const override { return true; }
    CUnitList* GetUnitList() override { return this; }
    CCalculatedItem* GetCalculated() override { return this; }
    bool IsTypedAnswer() const override { return true; }
    // Every answer has grade "0" or empty and no formula or feedback beyond blanks.
    bool IsAllAnswerBlanksIsEmpty() const override;
    bool CopyFrom(const CBaseItem* other) override;
    bool Clear() override;
    bool IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers, bool compareCategory,
                 bool compareAnswers, bool compareFeedback, bool compareOwner) const override;

    // Index of the first credited answer (with check: the first whose formula accepts the typed answer at
    // the row stored with it), -1 when none or, with check, when unanswered; answer then points at it.
    virtual std::int32_t FindMatchingCalculatedAnswer(SCalculatedAnswerItem*& answer, bool check);

    // Answer i in place; false outside 0..count-1.
    bool GetCalculatedAnswer(std::int32_t i, SCalculatedAnswerItem*& answer);
    // Appends a copy; true.
    bool AddCalculatedAnswer(const SCalculatedAnswerItem& answer);
    // Sets manager up for answer: its formula and parameters, and each formula variable's value at the
    // current row (m_CurrentDataset with useCurrentRow, else the row stored with the user's answer).
    // False for a null answer, a formula that does not validate, a row outside the data sets, or a formula
    // variable the answer gives no value for.
    bool PrepareFormulaManager(const SCalculatedAnswerItem* answer, CFormulaManager& manager,
                               bool useCurrentRow) const;

    std::int32_t GetCurrentDataset() const { return m_CurrentDataset; }
    void SetCurrentDataset(std::int32_t v) { m_CurrentDataset = v; }

private:
    std::int32_t m_CurrentDataset = -1;
    CCalculatedAnswerArray m_Answers;
    CFormulaManager m_FormulaManager;
};

// --- Data sets of one calculated answer ---
// The answer's variables in order, each with a range and a list of values; the number of complete rows is
// the smallest value count over all variables (0 without variables or when one has no value).

std::int32_t GetVariableCount(const SCalculatedAnswerItem& answer);
// The first variable whose name equals name exactly; false when there is none.
bool FindVariable(const SCalculatedAnswerItem& answer, const std::string& name, std::int32_t& index);
// Sets the range of the named variable, or appends a new variable with that range and no values; true.
bool SetVariableRange(SCalculatedAnswerItem& answer, const std::string& name, const std::string& minValue,
                      const std::string& maxValue);
// The named variable's range; a missing variable is first added with the range "1" to "10". True.
bool GetVariableRange(SCalculatedAnswerItem& answer, const std::string& name, std::string& minValue,
                      std::string& maxValue);
std::int32_t GetDatasetSize(const SCalculatedAnswerItem& answer);
// Every variable loses all its values.
void ClearDatasets(SCalculatedAnswerItem& answer);
// Appends n random values within its range to every variable (one decimal); without a complete row the
// value lists are emptied first. n <= 0 adds nothing. True.
bool GenerateDatasets(SCalculatedAnswerItem& answer, std::int32_t n);
// Replaces every value of the complete rows that lies outside its variable's range by a new random one;
// values beyond the complete rows stay. True.
bool RegenerateOutOfRangeValues(SCalculatedAnswerItem& answer);
// Value k of the named variable; false when no variable has the name or k is outside its values.
bool GetDatasetValue(const SCalculatedAnswerItem& answer, const std::string& name, std::string& value,
                     std::int32_t k);
bool SetDatasetValue(SCalculatedAnswerItem& answer, const std::string& name, const std::string& value,
                     std::int32_t k);
// Removes the last n values of every variable, but leaves at least one complete row; nothing without a
// complete row or for n <= 0. True.
bool DeleteLastDatasets(SCalculatedAnswerItem& answer, std::int32_t n);
// A random value on the grid of 10^-decimals steps from min upward over the width of the range, below max
// (a range 1 to 10 with 1 decimal gives 1.0 to 9.9), written with exactly that many decimals. A bound that
// is not a number counts as 1 (min) or 10 (max); equal bounds give min.
std::string MakeRandomValue(const std::string& minValue, const std::string& maxValue, int decimals);
// Whether min <= value <= max, each text read as a number and 0 when it is not one.
bool IsValueInRange(const std::string& minValue, const std::string& maxValue, const std::string& value);
