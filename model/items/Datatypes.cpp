// CBaseItem: the fields and operations that all kinds of question share, and the answer-list helpers of
// the kinds that hold lists.
#include "model/items/Datatypes.h"

#include "model/items/Datatypes_Lists.h"
#include "model/items/Grades.h"
#include "model/support/Log.h"
#include "model/support/SearchText.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <cmath>
#include <string_view>
#include <system_error>

namespace
{

bool TextNeedsSpecialRendering(const std::string& storedText)
{
    return !storedText.empty() && XMLTextNeedsSpecialRendering(storedText);
}

// The words of a stored text (rich-text XML, HTML or plain text), read through a hidden view.
std::string PlainTextOfStoredText(const std::string& storedText)
{
    lf::RichDocument view;
    std::string plain;
    GetPlainTextFromXML(storedText, view, plain, false);
    return plain;
}

} // namespace

std::uint32_t MakeNewItemID(std::uint32_t& lastItemID)
{
    auto id = static_cast<std::uint32_t>(lf::sys::Services().UtcSeconds() - kItemIdEpochSeconds);
    if (lastItemID >= id)
        id = lastItemID + 1;
    lastItemID = id;
    return id;
}

// ---------------------------------------------------------------------------------------------------------
// Helpers of the kinds with answer lists

namespace lf::items
{

// A decimal number with "." as the decimal point, blanks around it allowed; false for anything else.
bool ReadNumber(const std::string& text, double& value)
{
    std::string_view s = text;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    return lf::sys::ReadNumber(s, value);
}

bool IsNegativeGrade(const std::string& grade)
{
    double value = 0.0;
    return lf::sys::ReadNumber(grade, value) && value < 0.0;
}

int GradeOfTypedMatch(const std::string* matchedGrade)
{
    if (!matchedGrade || IsNegativeGrade(*matchedGrade))
        return 0;
    return *matchedGrade == "1" ? 1 : 2;
}

std::string LowerSearchText(const SFilterOptions& options)
{
    return lf::sys::LowerCase(options.searchText);
}

bool StoredTextContains(const std::string& storedText, const std::string& lowerSearch)
{
    if (lowerSearch.empty() || storedText.empty())
        return false;
    return lf::sys::LowerCase(PlainTextOfStoredText(storedText)).find(lowerSearch) != std::string::npos;
}

bool GetListAnswer(CAnswerItemArray& answers, std::int32_t i, SAnswerItem*& answer)
{
    if (i < 0 || i >= answers.GetSize())
        return false;
    answer = &answers.ElementAt(i);
    return true;
}

bool FindListAnswerById(const CAnswerItemArray& answers, std::int32_t id, SAnswerItem* copy,
                        std::int32_t* index)
{
    for (std::int32_t i = 0; i < answers.GetSize(); ++i)
    {
        if (answers[i].ID != id)
            continue;
        if (copy)
            *copy = answers[i];
        if (index)
            *index = i;
        return true;
    }
    return false;
}

bool UpdateListAnswer(CAnswerItemArray& answers, const SAnswerItem& answer)
{
    for (auto& a : answers)
    {
        if (a.ID == answer.ID)
        {
            a = answer;
            return true;
        }
    }
    return false;
}

bool DeleteListAnswer(CAnswerItemArray& answers, std::int32_t i)
{
    if (i < 0 || i >= answers.GetSize())
        return false;
    answers.RemoveAt(i);
    return true;
}

std::int32_t CountNonZeroGrades(const CAnswerItemArray& answers)
{
    std::int32_t count = 0;
    for (const auto& a : answers)
        if (IsNonZeroGrade(a.Correct))
            ++count;
    return count;
}

bool SameAnswerContent(const SAnswerItem& a, const SAnswerItem& b)
{
    return a.ID == b.ID && a.AnswerText == b.AnswerText && a.Correct == b.Correct &&
           a.Feedback == b.Feedback && a.Tolerance == b.Tolerance;
}

bool SameAnswerLists(const CAnswerItemArray& a, const CAnswerItemArray& b, bool compareAnswers)
{
    if (a.GetSize() != b.GetSize())
        return false;
    if (!compareAnswers)
        return true;
    for (std::int32_t i = 0; i < a.GetSize(); ++i)
        if (!SameAnswerContent(a[i], b[i]))
            return false;
    return true;
}

bool AllAnswersBlank(const CAnswerItemArray& answers, bool toleranceToo)
{
    for (const auto& a : answers)
    {
        if (IsNonZeroGrade(a.Correct))
            return false;
        if (!lf::sys::Trim(a.AnswerText).empty() || !lf::sys::Trim(a.Feedback).empty())
            return false;
        if (toleranceToo && IsNonZeroGrade(a.Tolerance))
            return false;
    }
    return true;
}

bool AnswersContain(const CAnswerItemArray& answers, const std::string& lowerSearch, bool answerTextIsPlain)
{
    if (lowerSearch.empty())
        return false;
    for (const auto& a : answers)
    {
        if (answerTextIsPlain)
        {
            if (lf::sys::LowerCase(a.AnswerText).find(lowerSearch) != std::string::npos)
                return true;
        }
        else if (StoredTextContains(a.AnswerText, lowerSearch))
        {
            return true;
        }
        if (StoredTextContains(a.Feedback, lowerSearch))
            return true;
    }
    return false;
}

} // namespace lf::items

// ---------------------------------------------------------------------------------------------------------
// CBaseItem

CBaseItem::CBaseItem(std::uint8_t questionType) : QuestionType(questionType)
{
    WhenCreated = lf::sys::Services().UtcSeconds();
    LastModified = WhenCreated;
}

CBaseItem::~CBaseItem() = default;

CBaseItem* CBaseItem::SetStatus800()
{
    QuestionStatus |= qsStatus800;
    return this;
}

bool CBaseItem::MatchesSearch(const SFilterOptions& options) const
{
    const std::string t = lf::items::LowerSearchText(options);
    if (t.empty())
        return false;
    // The name is plain text; the other fields are stored rich texts, searched through their plain text so
    // that the markup around the words never matches.
    if (options.searchInQuestion && (lf::sys::LowerCase(Name).find(t) != std::string::npos ||
                                     lf::items::StoredTextContains(QuestionText, t)))
        return true;
    if (options.searchInFeedback && lf::items::StoredTextContains(GeneralFeedback, t))
        return true;
    if (options.searchInKeywords && lf::items::StoredTextContains(Keywords, t))
        return true;
    return false;
}

bool CBaseItem::AddAnswer(const SAnswerItem&)
{
    return false;
}

std::int32_t CBaseItem::GetAnswerCount() const
{
    return 0;
}

std::int32_t CBaseItem::GetCorrectAnswerCount() const
{
    return -1;
}

std::int32_t CBaseItem::FindMatchingAnswer(SAnswerItem*&, bool)
{
    return -1;
}

bool CBaseItem::GetAnswer(std::int32_t, SAnswerItem*&)
{
    return false;
}

bool CBaseItem::FindAnswerById(std::int32_t, SAnswerItem*, std::int32_t*) const
{
    return false;
}

bool CBaseItem::UpdateAnswer(const SAnswerItem&)
{
    return false;
}

bool CBaseItem::DeleteAnswer(std::int32_t)
{
    return false;
}

void CBaseItem::ClearAnswers() {}

void CBaseItem::ShuffleAnswers() {}

void CBaseItem::ClearUserAnswer()
{
    CommonAnswer.TimeAnswer = 0;
    CommonAnswer.UserAnswer.clear();
    CommonAnswer.UserAnswerAdditionalInfo.clear();
}

void CBaseItem::ResetCycleCounter()
{
    CycleCounter = 0;
}

SPreparedSearch::SPreparedSearch(const SFilterOptions& options) : typed(!options.searchText.empty())
{
    if (typed)
        AppendSearchForm(text, options.searchText);
}

bool CBaseItem::MatchesFilter(const SFilterOptions& options) const
{
    return MatchesFilter(options, SPreparedSearch(options));
}

bool CBaseItem::MatchesFilter(const SFilterOptions& options, const SPreparedSearch& search) const
{
    bool result = false;
    if (m_bSearchTextFilled && search.typed)
    {
        result = m_SearchText.find(search.text) != std::string::npos;
        if (!result)
            return false;
    }
    const std::int32_t n = options.problemNumber;
    // The four comparisons, in the order of the correct-count and the answer-count queries: =, !=, >, <.
    auto compare = [n](std::int32_t count, int comparison)
    {
        switch (comparison)
        {
        case 0:
            return count == n;
        case 1:
            return count != n;
        case 2:
            return count > n;
        default:
            return count < n;
        }
    };
    const auto query = static_cast<EProblemQuery>(options.problemKind);
    if (query >= EProblemQuery::CorrectCountEqual && query <= EProblemQuery::CorrectCountLess)
    {
        result = compare(GetCorrectAnswerCount(),
                         options.problemKind - ToNumber(EProblemQuery::CorrectCountEqual));
        if (!result)
            return false;
    }
    if (query >= EProblemQuery::AnswerCountEqual && query <= EProblemQuery::AnswerCountLess)
    {
        result = compare(GetAnswerCount(), options.problemKind - ToNumber(EProblemQuery::AnswerCountEqual));
        if (!result)
            return false;
    }
    if (query == EProblemQuery::EmptyAnswerChoices)
    {
        result = IsAllAnswerBlanksIsEmpty();
        if (!result)
            return false;
    }
    return result;
}

std::int32_t CBaseItem::GetUnitCount() const
{
    return 0;
}

bool CBaseItem::IsAvailableInPhase(int phase) const
{
    return lf::items::IsStudyOrEditPhase(phase);
}

bool CBaseItem::IsAnswerableInPhase(int phase) const
{
    return lf::items::IsStudyOrEditPhase(phase);
}

bool CBaseItem::HasUnits() const
{
    return false;
}

bool CBaseItem::IsTypedAnswer() const
{
    return false;
}

bool CBaseItem::IsRightChoice(std::int32_t)
{
    return false;
}

bool CBaseItem::IsAllAnswerBlanksIsEmpty() const
{
    return false;
}

bool CBaseItem::CopyFrom(const CBaseItem* other)
{
    if (!other)
        return false;
    CategoryID = other->CategoryID;
    Name = other->Name;
    QuestionText = other->QuestionText;
    GeneralFeedback = other->GeneralFeedback;
    Keywords = other->Keywords;
    OwnerStr = other->OwnerStr;
    LayersStr = other->LayersStr;
    QuestionStatus = other->QuestionStatus;
    CycleCounter = other->CycleCounter;
    FormatQAXData = other->FormatQAXData;
    EncryptionMethod = other->EncryptionMethod;
    ImageToDisplay = other->ImageToDisplay;
    AudioFileName = other->AudioFileName;
    DefaultQuestionGrade = other->DefaultQuestionGrade;
    PenaltyFactor = other->PenaltyFactor;
    return true;
}

bool CBaseItem::Clear()
{
    QuestionText.clear();
    GeneralFeedback.clear();
    Keywords.clear();
    LayersStr.clear();
    ImageToDisplay.clear();
    AudioFileName.clear();
    DefaultQuestionGrade.clear();
    PenaltyFactor.clear();
    return true;
}

bool CBaseItem::ClearWithAnswers()
{
    if (!CBaseItem::Clear())
        return false;
    ClearAnswers();
    ClearUserAnswer();
    return true;
}

bool CBaseItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers, bool compareCategory,
                        bool /*compareAnswers*/, bool compareFeedback, bool compareOwner) const
{
    if (!other || other->QuestionType != QuestionType)
        return false;
    if (compareCategory && CategoryID != other->CategoryID)
        return false;
    if (ID_Str != other->ID_Str)
        return false;
    if (compareFeedback && GeneralFeedback != other->GeneralFeedback)
        return false;
    if (Keywords != other->Keywords)
        return false;
    if (compareOwner && (OwnerStr != other->OwnerStr || ModifierStr != other->ModifierStr))
        return false;
    if (compareLayers && LayersStr != other->LayersStr)
        return false;
    if (compareTimes && (WhenCreated != other->WhenCreated || LastModified != other->LastModified))
        return false;
    return ImageToDisplay == other->ImageToDisplay && AudioFileName == other->AudioFileName &&
           DefaultQuestionGrade == other->DefaultQuestionGrade && PenaltyFactor == other->PenaltyFactor;
}

bool CBaseItem::Compare2(const CBaseItem* other, bool, bool, bool, bool, bool, bool) const
{
    if (!other)
        return false;
    if (m_bSearchTextFilled && other->m_bSearchTextFilled)
        return m_SearchText == other->m_SearchText;
    WriteLog("CBaseItem::Compare2 - m_bSearchTextFilled == false", 1, 1);
    return false;
}

bool CBaseItem::NeedsSpecialRendering() const
{
    if (TextNeedsSpecialRendering(QuestionText) || TextNeedsSpecialRendering(GeneralFeedback))
        return true;
    if (QuestionType == qtCalculated || !HasAnswerList())
        return false;
    // Every kind with a list reaches its answers through the answer slots; they are read only.
    auto* self = const_cast<CBaseItem*>(this);
    for (std::int32_t i = 0; i < GetAnswerCount(); ++i)
    {
        SAnswerItem* answer = nullptr;
        if (self->GetAnswer(i, answer) &&
            (TextNeedsSpecialRendering(answer->AnswerText) || TextNeedsSpecialRendering(answer->Feedback)))
            return true;
    }
    return false;
}

std::string CBaseItem::GetQuestionTypeName() const
{
    return GetQuestionTypeName(QuestionType);
}

std::string CBaseItem::GetQuestionTypeName(int questionType)
{
    switch (questionType)
    {
    case qtMultipleChoice:
        return "Multiple Choice";
    case qtTrueFalse:
        return "True/False";
    case qtDescription:
        return "Description";
    case qtEssay:
        return "Essay";
    case qtShortAnswer:
        return "Short Answer";
    case qtMatching:
        return "Matching";
    case qtCalculated:
        return "Calculated";
    case qtNumerical:
        return "Numerical";
    case qtRandomShortAnswerMatching:
        return "Random Short-Answer Matching";
    case qtEmbedded:
        return "Embedded answers (Cloze)";
    default:
        return {};
    }
}

void CBaseItem::SetStatus(std::uint32_t bits, bool on)
{
    if (on)
        QuestionStatus |= bits;
    else
        QuestionStatus &= ~bits;
}

bool CBaseItem::IsInCategory(std::int32_t categoryFilter) const
{
    return categoryFilter == CategoryID || categoryFilter == -2;
}

void CBaseItem::SetModifier(const std::string& name, bool stamp)
{
    ModifierStr = name;
    if (stamp)
        LastModified = lf::sys::Services().UtcSeconds();
}

std::int32_t FindFirstCreditedAnswer(CBaseItem& item)
{
    for (std::int32_t i = 0; i < item.GetAnswerCount(); ++i)
    {
        SAnswerItem* answer = nullptr;
        if (item.GetAnswer(i, answer) && IsCreditedGrade(answer->Correct))
            return i;
    }
    return -1;
}

std::int32_t FindShownCreditedAnswer(CBaseItem& item)
{
    std::int32_t first = -1;
    for (std::int32_t i = 0; i < item.GetAnswerCount(); ++i)
    {
        SAnswerItem* answer = nullptr;
        if (!item.GetAnswer(i, answer) || !IsCreditedGrade(answer->Correct))
            continue;
        if (!answer->AnswerText.empty())
            return i;
        if (first < 0)
            first = i;
    }
    return first;
}
