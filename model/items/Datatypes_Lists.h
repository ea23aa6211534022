// What the item kinds with a list of answers share: the list operations, the comparison, the blank test,
// the answer search and the grade tests. Internal to the item units.
#pragma once

#include "model/items/Records.h"
#include "model/support/ModelTypes.h"

#include <cstdint>
#include <string>

namespace lf::items
{

// A grade that the counts and the short-answer and numerical matching treat as credited: neither "0" nor
// empty.
inline bool IsNonZeroGrade(const std::string& grade)
{
    return !grade.empty() && grade != "0";
}

// True when the grade text reads as a negative number: a penalty.
bool IsNegativeGrade(const std::string& grade);

// The grade of a typed answer (short answer, numerical, calculated) from the grade text of the answer it
// matched; null when it matched none. An answer graded "1" is correct (1), any other positive grade
// partly correct (2). A penalty, as in multiple choice, is wrong (0): typing the answer it names is
// never partly right. Nothing matched is 0 as well.
int GradeOfTypedMatch(const std::string* matchedGrade);

// A decimal number with "." as the decimal point, blanks and a leading "+" allowed; false for anything else
// (infinity and not-a-number included).
bool ReadNumber(const std::string& text, double& value);

// Folds the right-or-wrong decisions of a question's answers into a grade: the first decision gives 1
// (right) or 0 (wrong); a later one that differs gives 2 (partly right), which nothing changes afterwards.
class CDecisionFold
{
public:
    // False once the result is mixed and further decisions cannot change it.
    bool Add(bool right)
    {
        const int decision = right ? 1 : 0;
        if (!m_bDecided)
        {
            m_State = decision;
            m_bDecided = true;
        }
        else if (decision != m_State)
        {
            m_State = 2;
        }
        return m_State != 2;
    }
    // 0 when nothing was decided.
    int Result() const { return m_State; }

private:
    int m_State = 0;
    bool m_bDecided = false;
};

// Phases 0 Test, 1 Review, 2 Flash and 3 Edit.
inline bool IsStudyOrEditPhase(int phase)
{
    return PhaseFromNumber(phase) != EPhase::None;
}

// The search text of the options lower-cased; empty when there is nothing to search for.
std::string LowerSearchText(const SFilterOptions& options);
// Whether lowerSearch (lower-cased, not empty) occurs in the lower-cased plain text of a stored text.
bool StoredTextContains(const std::string& storedText, const std::string& lowerSearch);

bool GetListAnswer(CAnswerItemArray& answers, std::int32_t i, SAnswerItem*& answer);
bool FindListAnswerById(const CAnswerItemArray& answers, std::int32_t id, SAnswerItem* copy,
                        std::int32_t* index);
bool UpdateListAnswer(CAnswerItemArray& answers, const SAnswerItem& answer);
bool DeleteListAnswer(CAnswerItemArray& answers, std::int32_t i);
std::int32_t CountNonZeroGrades(const CAnswerItemArray& answers);

// Same ID, text, grade, feedback and tolerance (the user's marks are not compared).
bool SameAnswerContent(const SAnswerItem& a, const SAnswerItem& b);
// Equal counts and, with compareAnswers, answer i equal in content for every i.
bool SameAnswerLists(const CAnswerItemArray& a, const CAnswerItemArray& b, bool compareAnswers);

// True when no answer is filled in: grade "0" or empty, trimmed text and feedback empty, and with
// toleranceToo a tolerance of "0" or empty.
bool AllAnswersBlank(const CAnswerItemArray& answers, bool toleranceToo);

// Whether some answer's text (taken as stored when answerTextIsPlain, else as its plain text) or feedback
// contains lowerSearch.
bool AnswersContain(const CAnswerItemArray& answers, const std::string& lowerSearch, bool answerTextIsPlain);

} // namespace lf::items
