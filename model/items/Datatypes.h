// The question items of a book: the abstract CBaseItem with the fields every kind shares, its status
// bits and kind codes, and the kinds that answer through lists of answers (multiple choice, true/false,
// short answer, numerical, matching). The items hold data and grade answers; they never touch files.
#pragma once

#include "model/items/Records.h"
#include "model/support/Array.h"
#include "model/support/ModelTypes.h"

#include <cstdint>
#include <string>
#include <utility>

class CCalculatedItem;
class CMatchingItem;
class CMultipleChoiceItem;
class CTrueFalseItem;
class CUnitList;

// Kind codes of the items, as stored in the book files (`QuestionType`).
enum EQuestionType : std::uint8_t
{
    qtMultipleChoice = 1,
    qtTrueFalse = 2,
    qtDescription = 3,
    qtEssay = 4,
    qtShortAnswer = 5,
    qtMatching = 6,
    qtCalculated = 7,
    qtNumerical = 8,
    qtRandomShortAnswerMatching = 9,
    qtEmbedded = 10,
};

constexpr int kFirstQuestionType = qtMultipleChoice;
constexpr int kLastQuestionType = qtEmbedded;

// Bits of `QuestionStatus`.
enum EQuestionStatus : std::uint32_t
{
    qsInSequence = 0x1, // member of the current sequence
    qsDeleted = 0x2,    // deleted for good: only the identity stays in the book
    qsInTrash = 0x4,
    qsDepthWalk = 0x8, // left behind by a Depth walk, the way back of the Depth mode
    qsMarked = 0x10,   // marked by the user
    qsSelected = 0x80, // selected in the question list
    qsPalm200 = 0x200, // flags of the handheld database image
    qsPalm400 = 0x400,
    qsStatus800 = 0x800, // set by SetStatus800; also a flag of the handheld database image
    qsPrint = 0x1000,    // chosen for printing
};

// Seconds from 1970-01-01 00:00 UTC to 2005-01-01 00:00 UTC, the origin of item IDs.
constexpr std::int64_t kItemIdEpochSeconds = 1104537600;

// A new item ID: the current time in seconds since 2005-01-01 00:00 UTC, raised to lastItemID + 1 when the
// clock does not give a larger value, so IDs of one collection strictly increase within a run. The
// collection keeps lastItemID (its `m_LastItemID`); the new ID is stored back into it.
std::uint32_t MakeNewItemID(std::uint32_t& lastItemID);

// The search text of a filter as the built search texts are compared against it: lower-cased and
// normalised once, not once for every question.
struct SPreparedSearch
{
    explicit SPreparedSearch(const SFilterOptions& options);
    bool typed = false; // the filter has a search text at all
    std::string text;
};

// The abstract question. The collection creates items from their kind code, owns them and deletes them
// through the virtual destructor; everybody else borrows.
class CBaseItem
{
public:
    virtual ~CBaseItem();

    CBaseItem(const CBaseItem&) = delete;
    CBaseItem& operator=(const CBaseItem&) = delete;

    // --- Virtual operations, in the order of their slots ---

    // Sets status bit 0x800 and returns the item.
    virtual CBaseItem* SetStatus800();
    // True when the lower-cased search text occurs in the plain text of the name or question text
    // (searchInQuestion), the explanation (searchInFeedback) or the keywords (searchInKeywords); the kinds
    // with answers try their answers too. An empty search text matches nothing.
    virtual bool MatchesSearch(const SFilterOptions& options) const;
    // Answer list operations. The base has no answers: false, 0, -1 or nothing.
    virtual bool AddAnswer(const SAnswerItem& answer);
    virtual std::int32_t GetAnswerCount() const;
    // Number of answers whose grade is neither "0" nor empty; -1 for a kind without answers.
    virtual std::int32_t GetCorrectAnswerCount() const;
    // Index of the first credited answer (with check: the first one the typed answer matches), -1 when
    // none; answer then points at it.
    virtual std::int32_t FindMatchingAnswer(SAnswerItem*& answer, bool check);
    // Answer i in place; false for an index outside 0..count-1.
    virtual bool GetAnswer(std::int32_t i, SAnswerItem*& answer);
    // The first answer with that ID; copy and index are filled when given. False when no answer has it.
    virtual bool FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const;
    // Overwrites all fields of the answer with the same ID; false when there is none.
    virtual bool UpdateAnswer(const SAnswerItem& answer);
    virtual bool DeleteAnswer(std::int32_t i);
    virtual void ClearAnswers();
    virtual void ShuffleAnswers();
    // Forgets the user's answer: time 0, typed answer and additional information empty.
    virtual void ClearUserAnswer();
    virtual void ResetCycleCounter();
    // Whether the item passes the text search (against its built search text) and the problem query of
    // options; see the collection's rebuild for when it is asked. The same as the non-virtual form below
    // with the options' search text prepared for this one call.
    virtual bool MatchesFilter(const SFilterOptions& options) const;
    virtual std::int32_t GetUnitCount() const;
    virtual bool IsAnswered() const = 0;
    // -1 not graded, 0 incorrect, 1 correct, 2 partially correct (EGrade; GetGrade gives it typed).
    virtual int GetResult() = 0;
    EGrade GetGrade() { return GradeFromResult(GetResult()); }
    virtual bool HasAnswerList() const = 0;
    virtual bool HasUnits() const;
    // The kinds with units (numerical, calculated) give their unit list; null for the others.
    virtual CUnitList* GetUnitList() { return nullptr; }
    // The calculated kind gives itself, for its answers with formulas and data sets; null for the others.
    virtual CCalculatedItem* GetCalculated() { return nullptr; }
    const CCalculatedItem* GetCalculated() const { return const_cast<CBaseItem*>(this)->GetCalculated(); }
    // The kinds answered by choosing give themselves, for what only they hold (the marks and settings of
    // multiple choice, the two feedbacks of true/false, the order of the matching pairs); null for the
    // others.
    virtual CMultipleChoiceItem* GetMultipleChoice() { return nullptr; }
    virtual CTrueFalseItem* GetTrueFalse() { return nullptr; }
    virtual CMatchingItem* GetMatching() { return nullptr; }
    // Whether picking answer index on a flash card is right: a choice whose grade is neither empty nor
    // "0"; for true/false index 1 (true) on a true statement and index 0 (false) on any other; every pick
    // on a matching question (the card only reveals the partner). False for the other kinds and for a
    // choice index that names no answer.
    virtual bool IsRightChoice(std::int32_t index);
    virtual bool IsTypedAnswer() const;
    // True when the question has no filled-in answer (the "empty answer choices" query).
    virtual bool IsAllAnswerBlanksIsEmpty() const;
    // Phase 0 Test, 1 Review, 2 Flash, 3 Edit (EPhase). Every kind is available and answerable in all
    // four unless it says otherwise.
    virtual bool IsAvailableInPhase(int phase) const;
    virtual bool IsAnswerableInPhase(int phase) const;
    // Copies the content of other (common fields; the kind's own when other is of the same kind). The
    // item keeps its own IDs, modifier, times, user answer, search text and kind. False for null.
    virtual bool CopyFrom(const CBaseItem* other);
    // Empties the content texts; name, IDs, owner, modifier, status, cycles, times and answer stay.
    virtual bool Clear();
    // Compares the content that the switches select (name, question text, IDs, status and the user's
    // answer are never compared). False for null or another kind.
    virtual bool IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers, bool compareCategory,
                         bool compareAnswers, bool compareFeedback, bool compareOwner) const;
    // Whether both items have the same built search text; false (and a log line) when one is not built.
    virtual bool Compare2(const CBaseItem* other, bool compareTimes, bool compareLayers, bool compareCategory,
                          bool compareAnswers, bool compareFeedback, bool compareOwner) const;
    // True when the question text, the explanation or (for kinds with an answer list) an answer's text or
    // feedback uses a run in the "system" font or in super- or subscript.
    virtual bool NeedsSpecialRendering() const;

    // --- Non-virtual operations ---

    // MatchesFilter with the search text of options prepared once for a whole pass over the questions.
    bool MatchesFilter(const SFilterOptions& options, const SPreparedSearch& search) const;

    std::uint8_t GetQuestionType() const { return QuestionType; }
    // The display name of the kind ("Multiple Choice", ...); empty for a code outside 1..10.
    std::string GetQuestionTypeName() const;
    static std::string GetQuestionTypeName(int questionType);

    bool TestStatus(std::uint32_t bits) const { return (QuestionStatus & bits) != 0; }
    void SetStatus(std::uint32_t bits, bool on);
    bool IsInSequence() const { return TestStatus(qsInSequence); }
    void SetInSequence(bool on) { SetStatus(qsInSequence, on); }
    bool IsMarked() const { return TestStatus(qsMarked); }
    bool IsMarkedInEdit() const { return TestStatus(qsMarked); }
    // True when the chapter filter is this item's chapter or -2 (all chapters).
    bool IsInCategory(std::int32_t categoryFilter) const;
    // Records who changed the item last; with stamp, LastModified becomes the current time.
    void SetModifier(const std::string& name, bool stamp);

    SCommonUserAnswerInfo GetCommonUserAnswerInfo() const { return CommonAnswer; }
    void SetCommonUserAnswerInfo(const SCommonUserAnswerInfo& info) { CommonAnswer = info; }

    // --- Field accessors (the book formats and the editors) ---

    std::int32_t GetCategoryID() const { return CategoryID; }
    void SetCategoryID(std::int32_t value) { CategoryID = value; }
    std::int32_t GetID() const { return ID; }
    void SetID(std::int32_t value) { ID = value; }
    const std::string& GetID_Str() const { return ID_Str; }
    void SetID_Str(std::string value) { ID_Str = std::move(value); }
    const std::string& GetName() const { return Name; }
    void SetName(std::string value) { Name = std::move(value); }
    const std::string& GetQuestionText() const { return QuestionText; }
    void SetQuestionText(std::string value) { QuestionText = std::move(value); }
    const std::string& GetGeneralFeedback() const { return GeneralFeedback; }
    void SetGeneralFeedback(std::string value) { GeneralFeedback = std::move(value); }
    const std::string& GetKeywords() const { return Keywords; }
    void SetKeywords(std::string value) { Keywords = std::move(value); }
    const std::string& GetOwnerStr() const { return OwnerStr; }
    void SetOwnerStr(std::string value) { OwnerStr = std::move(value); }
    const std::string& GetModifierStr() const { return ModifierStr; }
    void SetModifierStr(std::string value) { ModifierStr = std::move(value); }
    const std::string& GetLayersStr() const { return LayersStr; }
    void SetLayersStr(std::string value) { LayersStr = std::move(value); }
    std::uint32_t GetQuestionStatus() const { return QuestionStatus; }
    void SetQuestionStatus(std::uint32_t value) { QuestionStatus = value; }
    std::int32_t GetCycleCounter() const { return CycleCounter; }
    void SetCycleCounter(std::int32_t value) { CycleCounter = value; }
    std::uint8_t GetFormatQAXData() const { return FormatQAXData; }
    void SetFormatQAXData(std::uint8_t value) { FormatQAXData = value; }
    std::uint8_t GetEncryptionMethod() const { return EncryptionMethod; }
    void SetEncryptionMethod(std::uint8_t value) { EncryptionMethod = value; }
    // Times are seconds since 1970-01-01 00:00 UTC, kept in 64 bits so they outlive 2038.
    std::int64_t GetWhenCreated() const { return WhenCreated; }
    void SetWhenCreated(std::int64_t value) { WhenCreated = value; }
    std::int64_t GetLastModified() const { return LastModified; }
    void SetLastModified(std::int64_t value) { LastModified = value; }
    const std::string& GetImageToDisplay() const { return ImageToDisplay; }
    void SetImageToDisplay(std::string value) { ImageToDisplay = std::move(value); }
    const std::string& GetAudioFileName() const { return AudioFileName; }
    void SetAudioFileName(std::string value) { AudioFileName = std::move(value); }
    const std::string& GetDefaultQuestionGrade() const { return DefaultQuestionGrade; }
    void SetDefaultQuestionGrade(std::string value) { DefaultQuestionGrade = std::move(value); }
    const std::string& GetPenaltyFactor() const { return PenaltyFactor; }
    void SetPenaltyFactor(std::string value) { PenaltyFactor = std::move(value); }
    const std::string& GetSearchText() const { return m_SearchText; }
    void SetSearchText(std::string value) { m_SearchText = std::move(value); }
    bool IsSearchTextFilled() const { return m_bSearchTextFilled != 0; }
    void SetSearchTextFilled(bool value) { m_bSearchTextFilled = value ? 1 : 0; }
    std::int32_t GetDuplicateGroup() const { return m_DuplicateGroup; }
    void SetDuplicateGroup(std::int32_t value) { m_DuplicateGroup = value; }

protected:
    // Stamps WhenCreated and LastModified with the current time.
    explicit CBaseItem(std::uint8_t questionType);

    // Clear for the kinds with answers: the content texts, then the answers (as the kind's ClearAnswers
    // does) and the user's answer.
    bool ClearWithAnswers();

    // What a rebuild of the sequence, the sort and the search read of every item stands first, so that a
    // pass over a large book touches as few cache lines of each item as it can.
    std::int32_t CategoryID = 0; // -10 while the item is in the Trash
    std::int32_t ID = -1;
    std::uint32_t QuestionStatus = 0;
    std::int32_t m_DuplicateGroup = -1;
    std::uint8_t QuestionType = 0;
    std::uint8_t m_bSearchTextFilled = 0;
    std::int32_t CycleCounter = 0;
    std::int64_t WhenCreated = 0;
    std::int64_t LastModified = 0;
    std::string m_SearchText;
    std::string LayersStr; // dotted chapter number, such as 2.1.3
    std::string ID_Str;
    std::string Name;
    std::string QuestionText;    // stored rich text
    std::string GeneralFeedback; // stored rich text: the explanation
    std::string Keywords;        // stored rich text
    std::string OwnerStr;
    std::string ModifierStr;
    std::uint8_t FormatQAXData = 0;
    std::uint8_t EncryptionMethod = 0;
    std::string ImageToDisplay;
    std::string AudioFileName;
    std::string DefaultQuestionGrade = "1";
    std::string PenaltyFactor = "0.1";
    SCommonUserAnswerInfo CommonAnswer;
};

// The first answer whose grade is credited (IsCreditedGrade); -1 when there is none.
std::int32_t FindFirstCreditedAnswer(CBaseItem& item);
// The one answer that stands for the right one where a single answer is shown or written (the Flashcard
// styles, the delimited-text exports): the first credited answer with a text, else the first credited
// one; -1 when there is none.
std::int32_t FindShownCreditedAnswer(CBaseItem& item);

// The kinds whose answers are one list of SAnswerItem (multiple choice, short answer, numerical,
// matching): the list operations, the answer search, the blank test, and the list's part of copying,
// clearing and comparing.
class CAnswerListItem : public CBaseItem
{
public:
    ~CAnswerListItem() override;

    bool MatchesSearch(const SFilterOptions& options) const override;
    bool AddAnswer(const SAnswerItem& answer) override;
    std::int32_t GetAnswerCount() const override;
    std::int32_t GetCorrectAnswerCount() const override;
    bool GetAnswer(std::int32_t i, SAnswerItem*& answer) override;
    bool FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const override;
    bool UpdateAnswer(const SAnswerItem& answer) override;
    bool DeleteAnswer(std::int32_t i) override;
    void ClearAnswers() override;
    bool HasAnswerList() const override { return true; }
    bool IsAllAnswerBlanksIsEmpty() const override;
    // The answers are copied from an item of the same kind only.
    bool CopyFrom(const CBaseItem* other) override;
    // Also empties the answers and the user's answer.
    bool Clear() override;
    bool IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers, bool compareCategory,
                 bool compareAnswers, bool compareFeedback, bool compareOwner) const override;

protected:
    // answerTextIsPlain: the search takes answer texts as stored (typed answers), not as rich text.
    // toleranceCounts: a filled-in tolerance makes an answer not blank.
    CAnswerListItem(std::uint8_t questionType, bool answerTextIsPlain, bool toleranceCounts);

    CAnswerItemArray m_Answers;

private:
    bool m_bAnswerTextIsPlain;
    bool m_bToleranceCounts;
};

// The answer-list kinds graded on a typed answer (short answer, numerical): the first credited answer the
// typed text matches decides, through the one grading rule of typed answers.
class CTypedAnswerItem : public CAnswerListItem
{
public:
    ~CTypedAnswerItem() override;

    std::int32_t FindMatchingAnswer(SAnswerItem*& answer, bool check) override;
    bool IsAnswered() const override;
    // 0 when no credited answer matches (also unanswered) or the match is a penalty; 1 when the first
    // matching one is graded "1"; 2 for any other grade.
    int GetResult() override;
    bool IsTypedAnswer() const override { return true; }

protected:
    using CAnswerListItem::CAnswerListItem;

private:
    // Whether the typed text matches this answer.
    virtual bool MatchesTyped(const SAnswerItem& answer, const std::string& typed) const = 0;
};

// The kinds with exactly one answer (true/false, essay): every index and every ID give that answer, and
// it is copied from an item of the same kind and emptied with the item.
class CSingleAnswerItem : public CBaseItem
{
public:
    ~CSingleAnswerItem() override;

    // Overwrites the one answer with every field of the given one; true.
    bool AddAnswer(const SAnswerItem& answer) override;
    std::int32_t GetAnswerCount() const override { return 1; }
    std::int32_t GetCorrectAnswerCount() const override { return 1; }
    // Any index gives the one answer in place.
    bool GetAnswer(std::int32_t i, SAnswerItem*& answer) override;
    // Any ID gives the one answer at index 0; false when no copy is asked for.
    bool FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const override;
    bool UpdateAnswer(const SAnswerItem& answer) override;
    bool HasAnswerList() const override { return true; }
    // The answer is copied from an item of the same kind only.
    bool CopyFrom(const CBaseItem* other) override;
    // Also empties the answers (as the kind's ClearAnswers does) and the user's answer.
    bool Clear() override;

protected:
    using CBaseItem::CBaseItem;

    SAnswerItem m_Answer;
};

// The unit list that the numerical and calculated kinds carry with the question (not used in grading).
class CUnitList
{
public:
    virtual ~CUnitList();
    virtual bool AddUnit(const SUnitItem& unit);
    virtual bool DeleteUnit(std::int32_t i);
    // Unit i in place; false outside 0..count-1.
    virtual bool GetUnit(std::int32_t i, SUnitItem*& unit);
    virtual bool SetUnit(std::int32_t i, const SUnitItem& unit);
    std::int32_t GetUnitListSize() const { return m_Units.GetSize(); }

protected:
    CUnitList() = default;
    CUnitList(const CUnitList&) = default;
    CUnitList& operator=(const CUnitList&) = default;

    CUnitItemArray m_Units;
};

// Kind 1: choices with grade fractions and the user's marks on them.
class CMultipleChoiceItem : public CAnswerListItem
{
public:
    CMultipleChoiceItem();
    ~CMultipleChoiceItem() override;

    // The choices, with their marks, take a random order.
    void ShuffleAnswers() override;
    void ClearUserAnswer() override;
    // Some choice is marked "1".
    bool IsAnswered() const override;
    // -1 unanswered; otherwise 1 when every decision on the choices is right, 0 when every one is wrong,
    // 2 when they are mixed. A choice with a negative grade is a penalty and never credited.
    int GetResult() override;
    bool CopyFrom(const CBaseItem* other) override;
    bool Clear() override;

    CMultipleChoiceItem* GetMultipleChoice() override { return this; }
    bool IsRightChoice(std::int32_t index) override;

    // Marks or unmarks choice i (choice then points at it). Unless several marks are allowed and force is
    // off, every other choice is unmarked. False for an index outside 0..count-1.
    bool ToggleUserChoice(std::int32_t i, SAnswerItem*& choice, bool force);

    const std::string& GetFeedbackForAnyCorrectResponse() const { return FeedbackForAnyCorrectResponse; }
    void SetFeedbackForAnyCorrectResponse(std::string v) { FeedbackForAnyCorrectResponse = std::move(v); }
    const std::string& GetFeedbackForAnyPartiallyCorrectResponse() const
    {
        return FeedbackForAnyPartiallyCorrectResponse;
    }
    void SetFeedbackForAnyPartiallyCorrectResponse(std::string v)
    {
        FeedbackForAnyPartiallyCorrectResponse = std::move(v);
    }
    const std::string& GetFeedbackForAnyIncorrectResponse() const { return FeedbackForAnyIncorrectResponse; }
    void SetFeedbackForAnyIncorrectResponse(std::string v) { FeedbackForAnyIncorrectResponse = std::move(v); }
    std::int32_t GetLetMultipleAnswers() const { return LetMultipleAnswers; }
    void SetLetMultipleAnswers(std::int32_t v) { LetMultipleAnswers = v; }
    // 0 "a., b., c., ...", 1 "A., B., C., ...", 2 "1., 2., 3., ...", 3 "No numbering".
    std::int32_t GetNumberAnswerType() const { return NumberAnswerType; }
    void SetNumberAnswerType(std::int32_t v) { NumberAnswerType = v; }
    std::uint8_t GetShuffle() const { return Shuffle; }
    void SetShuffle(std::uint8_t v) { Shuffle = v; }

private:
    std::string FeedbackForAnyCorrectResponse;
    std::string FeedbackForAnyPartiallyCorrectResponse;
    std::string FeedbackForAnyIncorrectResponse;
    std::int32_t LetMultipleAnswers = 1;
    std::int32_t NumberAnswerType = 0;
    std::uint8_t Shuffle = 0;
};

// Kind 2: one statement, true ("1") or false ("0"), and the user's choice in the same form.
class CTrueFalseItem : public CSingleAnswerItem
{
public:
    CTrueFalseItem();
    ~CTrueFalseItem() override;

    // The one answer stays as it is.
    void ClearAnswers() override {}
    void ClearUserAnswer() override;
    bool IsAnswered() const override;
    // 1 when the user's choice equals the answer's grade exactly, else 0 (also unanswered). An empty grade
    // is first set to "0".
    int GetResult() override;
    bool CopyFrom(const CBaseItem* other) override;
    bool IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers, bool compareCategory,
                 bool compareAnswers, bool compareFeedback, bool compareOwner) const override;

    CTrueFalseItem* GetTrueFalse() override { return this; }
    bool IsRightChoice(std::int32_t index) override;

    // The user's choice, "1" or "0"; always true.
    bool SetUserAnswer(const std::string& text);

    const std::string& GetFeedbackForTheResponseTrue() const { return FeedbackForTheResponseTrue; }
    void SetFeedbackForTheResponseTrue(std::string v) { FeedbackForTheResponseTrue = std::move(v); }
    const std::string& GetFeedbackForTheResponseFalse() const { return FeedbackForTheResponseFalse; }
    void SetFeedbackForTheResponseFalse(std::string v) { FeedbackForTheResponseFalse = std::move(v); }

private:
    std::string FeedbackForTheResponseTrue;
    std::string FeedbackForTheResponseFalse;
};

// Kind 5: the typed answer is compared with patterns in which "*" stands for any run of characters.
class CShortAnswerItem : public CTypedAnswerItem
{
public:
    CShortAnswerItem();
    ~CShortAnswerItem() override;

    bool CopyFrom(const CBaseItem* other) override;

    // Whether text fits pattern: equal texts always match; otherwise each "*" of the pattern stands for any
    // run of characters (backtracking as needed), except that two stars in a row match only the pattern's
    // own text. An empty pattern or text never matches. Unless caseSensitive, case is ignored.
    static bool MatchAnswerText(const std::string& pattern, const std::string& text, bool caseSensitive);

    std::uint8_t GetCaseSensitivity() const { return CaseSensitivity; }
    void SetCaseSensitivity(std::uint8_t v) { CaseSensitivity = v; }

private:
    bool MatchesTyped(const SAnswerItem& answer, const std::string& typed) const override;

    std::uint8_t CaseSensitivity = 0;
};

// Kind 8: the typed number is compared with answer values within a tolerance; units are carried along.
class CNumericalItem : public CTypedAnswerItem, public CUnitList
{
public:
    CNumericalItem();
    ~CNumericalItem() override;

    std::int32_t GetUnitCount() const override { return GetUnitListSize(); }
    bool HasUnits() const override { return true; }
    CUnitList* GetUnitList() override { return this; }
    bool CopyFrom(const CBaseItem* other) override;
    bool Clear() override;

    // Whether typed lies within value ± tolerance (read as numbers with "." as decimal point). Equal texts
    // match; otherwise an empty tolerance, a text that is not a number or a negative tolerance do not.
    static bool MatchAnswerValue(const std::string& value, const std::string& typed,
                                 const std::string& tolerance);

private:
    bool MatchesTyped(const SAnswerItem& answer, const std::string& typed) const override;
};

// Kind 6: sub-questions (`AnswerText`) paired with their answers (`Correct`); the user chooses an answer
// for each (`UserAnswer`).
class CMatchingItem : public CAnswerListItem
{
public:
    CMatchingItem();
    ~CMatchingItem() override;

    void ClearUserAnswer() override;
    bool IsAnswered() const override;
    // Over the pairs the user answered: 1 all right, 0 all wrong (or none answered), 2 mixed.
    int GetResult() override;
    bool CopyFrom(const CBaseItem* other) override;
    CMatchingItem* GetMatching() override { return this; }
    bool IsRightChoice(std::int32_t) override { return true; }

    std::uint8_t GetShuffle() const { return Shuffle; }
    void SetShuffle(std::uint8_t v) { Shuffle = v; }

private:
    std::uint8_t Shuffle = 0;
};
