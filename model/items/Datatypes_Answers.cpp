// The kinds graded on what the user typed or chose per pair: short answer (patterns with "*"), numerical
// (values within a tolerance, with units) and matching.
#include "model/items/Datatypes.h"

#include "model/items/Datatypes_Lists.h"
#include "platform/sys/TextCase.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <system_error>

using namespace lf::items;

namespace
{

// "*" stands for any run of characters, the empty run included; the literal pieces may match anywhere, so
// a failed attempt goes back to the last star and lets it take one more character.
bool WildcardMatches(std::string_view text, std::string_view pattern)
{
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starT = 0;
    while (t < text.size())
    {
        if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starT = t;
        }
        else if (p < pattern.size() && pattern[p] == text[t])
        {
            ++p;
            ++t;
        }
        else if (starP != std::string_view::npos)
        {
            p = starP + 1;
            t = ++starT;
        }
        else
        {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Shared by the typed kinds: the first credited answer, or with check the first credited one that matches.
template <class Matches>
std::int32_t FindMatching(CAnswerItemArray& answers, SAnswerItem*& answer, bool check, Matches matches)
{
    for (std::int32_t i = 0; i < answers.GetSize(); ++i)
    {
        SAnswerItem& a = answers.ElementAt(i);
        if (!IsNonZeroGrade(a.Correct))
            continue;
        if (!check || matches(a))
        {
            answer = &a;
            return i;
        }
    }
    return -1;
}

int GradeOfMatch(const SAnswerItem* match)
{
    return GradeOfTypedMatch(match ? &match->Correct : nullptr);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// CShortAnswerItem

CShortAnswerItem::CShortAnswerItem() : CTypedAnswerItem(qtShortAnswer, true, false) {}

CShortAnswerItem::~CShortAnswerItem() = default;

bool CShortAnswerItem::CopyFrom(const CBaseItem* other)
{
    if (!CAnswerListItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CShortAnswerItem*>(other);
    if (!source || source == this)
        return true;
    CaseSensitivity = source->CaseSensitivity;
    return true;
}

bool CShortAnswerItem::MatchAnswerText(const std::string& pattern, const std::string& text,
                                       bool caseSensitive)
{
    if (pattern.empty() || text.empty())
        return false;
    const std::string p = caseSensitive ? pattern : lf::sys::LowerCase(pattern);
    const std::string t = caseSensitive ? text : lf::sys::LowerCase(text);
    if (p == t)
        return true;
    // Two stars in a row are taken literally: such a pattern matches only its own text.
    if (p.find('*') == std::string::npos || p.find("**") != std::string::npos)
        return false;
    return WildcardMatches(t, p);
}

// ---------------------------------------------------------------------------------------------------------
// CNumericalItem

CNumericalItem::CNumericalItem() : CTypedAnswerItem(qtNumerical, true, true) {}

CNumericalItem::~CNumericalItem() = default;

bool CNumericalItem::CopyFrom(const CBaseItem* other)
{
    if (!CAnswerListItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CNumericalItem*>(other);
    if (!source || source == this)
        return true;
    // The collection copies only into new items, whose unit list is empty: the units are appended.
    for (const auto& unit : source->m_Units)
        m_Units.Add(unit);
    return true;
}

bool CNumericalItem::Clear()
{
    if (!CAnswerListItem::Clear())
        return false;
    m_Units.RemoveAll();
    return true;
}

bool CNumericalItem::MatchAnswerValue(const std::string& value, const std::string& typed,
                                      const std::string& tolerance)
{
    if (value.empty() || typed.empty())
        return false;
    if (value == typed)
        return true;
    if (tolerance.empty())
        return false;
    double a = 0.0;
    double v = 0.0;
    double t = 0.0;
    if (!ReadNumber(value, a) || !ReadNumber(typed, v) || !ReadNumber(tolerance, t))
        return false;
    // A negative tolerance leaves no range at all.
    if (t < 0.0)
        return false;
    // The bounds belong to the range. Decimal texts are not exact in binary, so a - t and a + t may land a
    // rounding step inside the bound the author wrote (0.7 + 0.1 is just below 0.8); a slack of a few
    // rounding steps of the numbers involved keeps such a typed bound inside and nothing else.
    const double slack =
        8.0 * std::numeric_limits<double>::epsilon() * std::max({std::fabs(a), std::fabs(t), std::fabs(v)});
    return a - t - slack <= v && v <= a + t + slack;
}

// ---------------------------------------------------------------------------------------------------------
// CMatchingItem

CMatchingItem::CMatchingItem() : CAnswerListItem(qtMatching, false, false) {}

CMatchingItem::~CMatchingItem() = default;

void CMatchingItem::ClearUserAnswer()
{
    CBaseItem::ClearUserAnswer();
    for (auto& a : m_Answers)
        a.UserAnswer.clear();
}

bool CMatchingItem::IsAnswered() const
{
    for (const auto& a : m_Answers)
        if (!a.UserAnswer.empty())
            return true;
    return false;
}

int CMatchingItem::GetResult()
{
    // Pairs left unanswered decide nothing, so they do not lower a result of 1.
    CDecisionFold fold;
    for (const auto& a : m_Answers)
        if (!a.UserAnswer.empty() && !fold.Add(a.UserAnswer == a.Correct))
            break;
    return fold.Result();
}

bool CMatchingItem::CopyFrom(const CBaseItem* other)
{
    if (!CAnswerListItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CMatchingItem*>(other);
    if (!source || source == this)
        return true;
    Shuffle = source->Shuffle;
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// CAnswerListItem

CAnswerListItem::CAnswerListItem(std::uint8_t questionType, bool answerTextIsPlain, bool toleranceCounts)
    : CBaseItem(questionType), m_bAnswerTextIsPlain(answerTextIsPlain), m_bToleranceCounts(toleranceCounts)
{
}

CAnswerListItem::~CAnswerListItem() = default;

bool CAnswerListItem::MatchesSearch(const SFilterOptions& options) const
{
    if (CBaseItem::MatchesSearch(options))
        return true;
    return options.searchInAnswers &&
           AnswersContain(m_Answers, LowerSearchText(options), m_bAnswerTextIsPlain);
}

bool CAnswerListItem::AddAnswer(const SAnswerItem& answer)
{
    m_Answers.Add(answer);
    return true;
}

std::int32_t CAnswerListItem::GetAnswerCount() const
{
    return m_Answers.GetSize();
}

std::int32_t CAnswerListItem::GetCorrectAnswerCount() const
{
    return CountNonZeroGrades(m_Answers);
}

bool CAnswerListItem::GetAnswer(std::int32_t i, SAnswerItem*& answer)
{
    return GetListAnswer(m_Answers, i, answer);
}

bool CAnswerListItem::FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const
{
    return FindListAnswerById(m_Answers, id, copy, index);
}

bool CAnswerListItem::UpdateAnswer(const SAnswerItem& answer)
{
    return UpdateListAnswer(m_Answers, answer);
}

bool CAnswerListItem::DeleteAnswer(std::int32_t i)
{
    return DeleteListAnswer(m_Answers, i);
}

void CAnswerListItem::ClearAnswers()
{
    m_Answers.RemoveAll();
}

bool CAnswerListItem::IsAllAnswerBlanksIsEmpty() const
{
    return AllAnswersBlank(m_Answers, m_bToleranceCounts);
}

bool CAnswerListItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    if (other != this && other->GetQuestionType() == GetQuestionType())
        m_Answers = static_cast<const CAnswerListItem*>(other)->m_Answers;
    return true;
}

bool CAnswerListItem::Clear()
{
    return ClearWithAnswers();
}

bool CAnswerListItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers,
                              bool compareCategory, bool compareAnswers, bool compareFeedback,
                              bool compareOwner) const
{
    if (!CBaseItem::IsEqual(other, compareTimes, compareLayers, compareCategory, compareAnswers,
                            compareFeedback, compareOwner))
        return false;
    // The base refuses another kind, and every kind of one code shares this class.
    const auto* o = static_cast<const CAnswerListItem*>(other);
    return SameAnswerLists(m_Answers, o->m_Answers, compareAnswers);
}

// ---------------------------------------------------------------------------------------------------------
// CTypedAnswerItem

CTypedAnswerItem::~CTypedAnswerItem() = default;

std::int32_t CTypedAnswerItem::FindMatchingAnswer(SAnswerItem*& answer, bool check)
{
    if (!IsAnswered())
        return -1;
    const std::string& typed = CommonAnswer.UserAnswer;
    return FindMatching(m_Answers, answer, check,
                        [&](const SAnswerItem& a) { return MatchesTyped(a, typed); });
}

bool CTypedAnswerItem::IsAnswered() const
{
    return !CommonAnswer.UserAnswer.empty();
}

int CTypedAnswerItem::GetResult()
{
    SAnswerItem* match = nullptr;
    FindMatchingAnswer(match, true);
    return GradeOfMatch(match);
}

bool CShortAnswerItem::MatchesTyped(const SAnswerItem& answer, const std::string& typed) const
{
    return MatchAnswerText(answer.AnswerText, typed, CaseSensitivity != 0);
}

bool CNumericalItem::MatchesTyped(const SAnswerItem& answer, const std::string& typed) const
{
    return MatchAnswerValue(answer.AnswerText, typed, answer.Tolerance);
}

// ---------------------------------------------------------------------------------------------------------
// CSingleAnswerItem

CSingleAnswerItem::~CSingleAnswerItem() = default;

bool CSingleAnswerItem::AddAnswer(const SAnswerItem& answer)
{
    m_Answer = answer;
    return true;
}

bool CSingleAnswerItem::GetAnswer(std::int32_t, SAnswerItem*& answer)
{
    answer = &m_Answer;
    return true;
}

bool CSingleAnswerItem::FindAnswerById(std::int32_t, SAnswerItem* copy, std::int32_t* index) const
{
    if (!copy)
        return false;
    *copy = m_Answer;
    if (index)
        *index = 0;
    return true;
}

bool CSingleAnswerItem::UpdateAnswer(const SAnswerItem& answer)
{
    m_Answer = answer;
    return true;
}

bool CSingleAnswerItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CSingleAnswerItem*>(other);
    if (source && source != this && source->GetQuestionType() == GetQuestionType())
        m_Answer = source->m_Answer;
    return true;
}

bool CSingleAnswerItem::Clear()
{
    return ClearWithAnswers();
}

// ---------------------------------------------------------------------------------------------------------
// CUnitList

CUnitList::~CUnitList() = default;

bool CUnitList::AddUnit(const SUnitItem& unit)
{
    m_Units.Add(unit);
    return true;
}

// An index outside the list gives false and changes nothing.
bool CUnitList::DeleteUnit(std::int32_t i)
{
    if (i < 0 || i >= m_Units.GetSize())
        return false;
    m_Units.RemoveAt(i);
    return true;
}

bool CUnitList::GetUnit(std::int32_t i, SUnitItem*& unit)
{
    if (i < 0 || i >= m_Units.GetSize())
        return false;
    unit = &m_Units.ElementAt(i);
    return true;
}

bool CUnitList::SetUnit(std::int32_t i, const SUnitItem& unit)
{
    if (i < 0 || i >= m_Units.GetSize())
        return false;
    m_Units[i].Value = unit.Value;
    m_Units[i].Description = unit.Description;
    return true;
}
