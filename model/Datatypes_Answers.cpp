// The kinds graded on what the user typed or chose per pair: short answer (patterns with "*"), numerical
// (values within a tolerance, with units) and matching.
#include "model/Datatypes.h"

#include "model/Datatypes_Lists.h"
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

CShortAnswerItem::CShortAnswerItem() : CBaseItem(qtShortAnswer) {}

CShortAnswerItem::~CShortAnswerItem() = default;

bool CShortAnswerItem::MatchesSearch(const SFilterOptions& options) const
{
    if (CBaseItem::MatchesSearch(options))
        return true;
    return options.searchInAnswers && AnswersContain(m_Answers, LowerSearchText(options), true);
}

bool CShortAnswerItem::AddAnswer(const SAnswerItem& answer)
{
    m_Answers.Add(answer);
    return true;
}

std::int32_t CShortAnswerItem::GetAnswerCount() const
{
    return m_Answers.GetSize();
}

std::int32_t CShortAnswerItem::GetCorrectAnswerCount() const
{
    return CountNonZeroGrades(m_Answers);
}

std::int32_t CShortAnswerItem::FindMatchingAnswer(SAnswerItem*& answer, bool check)
{
    if (!IsAnswered())
        return -1;
    const std::string& typed = CommonAnswer.UserAnswer;
    const bool caseSensitive = CaseSensitivity != 0;
    return FindMatching(m_Answers, answer, check,
                        [&](const SAnswerItem& a)
                        { return MatchAnswerText(a.AnswerText, typed, caseSensitive); });
}

bool CShortAnswerItem::GetAnswer(std::int32_t i, SAnswerItem*& answer)
{
    return GetListAnswer(m_Answers, i, answer);
}

bool CShortAnswerItem::FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const
{
    return FindListAnswerById(m_Answers, id, copy, index);
}

bool CShortAnswerItem::UpdateAnswer(const SAnswerItem& answer)
{
    return UpdateListAnswer(m_Answers, answer);
}

bool CShortAnswerItem::DeleteAnswer(std::int32_t i)
{
    return DeleteListAnswer(m_Answers, i);
}

void CShortAnswerItem::ClearAnswers()
{
    m_Answers.RemoveAll();
}

bool CShortAnswerItem::IsAnswered() const
{
    return !CommonAnswer.UserAnswer.empty();
}

int CShortAnswerItem::GetResult()
{
    SAnswerItem* match = nullptr;
    FindMatchingAnswer(match, true);
    return GradeOfMatch(match);
}

bool CShortAnswerItem::IsAllAnswerBlanksIsEmpty() const
{
    return AllAnswersBlank(m_Answers, false);
}

bool CShortAnswerItem::IsAvailableInPhase(int phase) const
{
    return IsStudyOrEditPhase(phase);
}

bool CShortAnswerItem::IsAnswerableInPhase(int phase) const
{
    return IsStudyOrEditPhase(phase);
}

bool CShortAnswerItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CShortAnswerItem*>(other);
    if (!source || source == this)
        return true;
    CaseSensitivity = source->CaseSensitivity;
    m_Answers = source->m_Answers;
    return true;
}

bool CShortAnswerItem::Clear()
{
    if (!CBaseItem::Clear())
        return false;
    ClearAnswers();
    ClearUserAnswer();
    return true;
}

bool CShortAnswerItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers,
                               bool compareCategory, bool compareAnswers, bool compareFeedback,
                               bool compareOwner) const
{
    if (!CBaseItem::IsEqual(other, compareTimes, compareLayers, compareCategory, compareAnswers,
                            compareFeedback, compareOwner))
        return false;
    const auto* o = dynamic_cast<const CShortAnswerItem*>(other);
    return o && SameAnswerLists(m_Answers, o->m_Answers, compareAnswers);
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

CNumericalItem::CNumericalItem() : CBaseItem(qtNumerical) {}

CNumericalItem::~CNumericalItem() = default;

bool CNumericalItem::MatchesSearch(const SFilterOptions& options) const
{
    if (CBaseItem::MatchesSearch(options))
        return true;
    return options.searchInAnswers && AnswersContain(m_Answers, LowerSearchText(options), true);
}

bool CNumericalItem::AddAnswer(const SAnswerItem& answer)
{
    m_Answers.Add(answer);
    return true;
}

std::int32_t CNumericalItem::GetAnswerCount() const
{
    return m_Answers.GetSize();
}

std::int32_t CNumericalItem::GetCorrectAnswerCount() const
{
    return CountNonZeroGrades(m_Answers);
}

std::int32_t CNumericalItem::FindMatchingAnswer(SAnswerItem*& answer, bool check)
{
    if (!IsAnswered())
        return -1;
    const std::string& typed = CommonAnswer.UserAnswer;
    return FindMatching(m_Answers, answer, check,
                        [&](const SAnswerItem& a)
                        { return MatchAnswerValue(a.AnswerText, typed, a.Tolerance); });
}

bool CNumericalItem::GetAnswer(std::int32_t i, SAnswerItem*& answer)
{
    return GetListAnswer(m_Answers, i, answer);
}

bool CNumericalItem::FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const
{
    return FindListAnswerById(m_Answers, id, copy, index);
}

bool CNumericalItem::UpdateAnswer(const SAnswerItem& answer)
{
    return UpdateListAnswer(m_Answers, answer);
}

bool CNumericalItem::DeleteAnswer(std::int32_t i)
{
    return DeleteListAnswer(m_Answers, i);
}

void CNumericalItem::ClearAnswers()
{
    m_Answers.RemoveAll();
}

std::int32_t CNumericalItem::GetUnitCount() const
{
    return m_Units.GetSize();
}

bool CNumericalItem::IsAnswered() const
{
    return !CommonAnswer.UserAnswer.empty();
}

int CNumericalItem::GetResult()
{
    SAnswerItem* match = nullptr;
    FindMatchingAnswer(match, true);
    return GradeOfMatch(match);
}

bool CNumericalItem::IsAllAnswerBlanksIsEmpty() const
{
    return AllAnswersBlank(m_Answers, true);
}

bool CNumericalItem::IsAvailableInPhase(int phase) const
{
    return IsStudyOrEditPhase(phase);
}

bool CNumericalItem::IsAnswerableInPhase(int phase) const
{
    return IsStudyOrEditPhase(phase);
}

bool CNumericalItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CNumericalItem*>(other);
    if (!source || source == this)
        return true;
    m_Answers = source->m_Answers;
    // The collection copies only into new items, whose unit list is empty: the units are appended.
    for (const auto& unit : source->m_Units)
        m_Units.Add(unit);
    return true;
}

bool CNumericalItem::Clear()
{
    if (!CBaseItem::Clear())
        return false;
    ClearAnswers();
    ClearUserAnswer();
    m_Units.RemoveAll();
    return true;
}

bool CNumericalItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers,
                             bool compareCategory, bool compareAnswers, bool compareFeedback,
                             bool compareOwner) const
{
    if (!CBaseItem::IsEqual(other, compareTimes, compareLayers, compareCategory, compareAnswers,
                            compareFeedback, compareOwner))
        return false;
    const auto* o = dynamic_cast<const CNumericalItem*>(other);
    return o && SameAnswerLists(m_Answers, o->m_Answers, compareAnswers);
}

bool CNumericalItem::AddUnit(const SUnitItem& unit)
{
    m_Units.Add(unit);
    return true;
}

bool CNumericalItem::DeleteUnit(std::int32_t i)
{
    return DeleteUnitAt(m_Units, i);
}

bool CNumericalItem::GetUnit(std::int32_t i, SUnitItem*& unit)
{
    return GetUnitAt(m_Units, i, unit);
}

bool CNumericalItem::SetUnit(std::int32_t i, const SUnitItem& unit)
{
    return SetUnitAt(m_Units, i, unit);
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
    const double slack = 8.0 * std::numeric_limits<double>::epsilon() *
                         std::max({std::fabs(a), std::fabs(t), std::fabs(v)});
    return a - t - slack <= v && v <= a + t + slack;
}

// ---------------------------------------------------------------------------------------------------------
// CMatchingItem

CMatchingItem::CMatchingItem() : CBaseItem(qtMatching) {}

CMatchingItem::~CMatchingItem() = default;

bool CMatchingItem::MatchesSearch(const SFilterOptions& options) const
{
    if (CBaseItem::MatchesSearch(options))
        return true;
    return options.searchInAnswers && AnswersContain(m_Answers, LowerSearchText(options), false);
}

bool CMatchingItem::AddAnswer(const SAnswerItem& answer)
{
    m_Answers.Add(answer);
    return true;
}

std::int32_t CMatchingItem::GetAnswerCount() const
{
    return m_Answers.GetSize();
}

std::int32_t CMatchingItem::GetCorrectAnswerCount() const
{
    return CountNonZeroGrades(m_Answers);
}

bool CMatchingItem::GetAnswer(std::int32_t i, SAnswerItem*& answer)
{
    return GetListAnswer(m_Answers, i, answer);
}

bool CMatchingItem::FindAnswerById(std::int32_t id, SAnswerItem* copy, std::int32_t* index) const
{
    return FindListAnswerById(m_Answers, id, copy, index);
}

bool CMatchingItem::UpdateAnswer(const SAnswerItem& answer)
{
    return UpdateListAnswer(m_Answers, answer);
}

bool CMatchingItem::DeleteAnswer(std::int32_t i)
{
    return DeleteListAnswer(m_Answers, i);
}

void CMatchingItem::ClearAnswers()
{
    m_Answers.RemoveAll();
}

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

bool CMatchingItem::IsAllAnswerBlanksIsEmpty() const
{
    return AllAnswersBlank(m_Answers, false);
}

bool CMatchingItem::IsAvailableInPhase(int phase) const
{
    return IsStudyOrEditPhase(phase);
}

bool CMatchingItem::IsAnswerableInPhase(int phase) const
{
    return IsStudyOrEditPhase(phase);
}

bool CMatchingItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CMatchingItem*>(other);
    if (!source || source == this)
        return true;
    Shuffle = source->Shuffle;
    m_Answers = source->m_Answers;
    return true;
}

bool CMatchingItem::Clear()
{
    if (!CBaseItem::Clear())
        return false;
    ClearAnswers();
    ClearUserAnswer();
    return true;
}

bool CMatchingItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers,
                            bool compareCategory, bool compareAnswers, bool compareFeedback,
                            bool compareOwner) const
{
    if (!CBaseItem::IsEqual(other, compareTimes, compareLayers, compareCategory, compareAnswers,
                            compareFeedback, compareOwner))
        return false;
    const auto* o = dynamic_cast<const CMatchingItem*>(other);
    return o && SameAnswerLists(m_Answers, o->m_Answers, compareAnswers);
}
