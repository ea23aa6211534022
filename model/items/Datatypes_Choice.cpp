// The choice kinds: multiple choice (graded on which choices are marked) and true/false.
#include "model/items/Datatypes.h"

#include "model/items/Datatypes_Lists.h"
#include "model/items/Grades.h"

using namespace lf::items;

// ---------------------------------------------------------------------------------------------------------
// CMultipleChoiceItem

CMultipleChoiceItem::CMultipleChoiceItem() : CAnswerListItem(qtMultipleChoice, false, false) {}

CMultipleChoiceItem::~CMultipleChoiceItem() = default;

void CMultipleChoiceItem::ShuffleAnswers()
{
    ShuffleArray(m_Answers);
}

void CMultipleChoiceItem::ClearUserAnswer()
{
    CBaseItem::ClearUserAnswer();
    for (auto& a : m_Answers)
        a.UserAnswer.clear();
}

bool CMultipleChoiceItem::IsAnswered() const
{
    for (const auto& a : m_Answers)
        if (a.UserAnswer == "1")
            return true;
    return false;
}

int CMultipleChoiceItem::GetResult()
{
    if (!IsAnswered())
        return -1;
    // Each choice gives a decision: a marked credited choice or an unmarked uncredited one is right, the
    // other two combinations wrong (an unmarked uncredited choice decides nothing). All right grades 1, all
    // wrong 0, mixed 2. A negative grade is a penalty: marking it is never right.
    CDecisionFold fold;
    for (const auto& a : m_Answers)
    {
        const bool marked = a.UserAnswer == "1";
        const bool credited = IsCreditedGrade(a.Correct);
        if ((marked || credited) && !fold.Add(marked && credited))
            break;
    }
    return fold.Result();
}

bool CMultipleChoiceItem::CopyFrom(const CBaseItem* other)
{
    if (!CAnswerListItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CMultipleChoiceItem*>(other);
    if (!source || source == this)
        return true;
    FeedbackForAnyCorrectResponse = source->FeedbackForAnyCorrectResponse;
    FeedbackForAnyPartiallyCorrectResponse = source->FeedbackForAnyPartiallyCorrectResponse;
    FeedbackForAnyIncorrectResponse = source->FeedbackForAnyIncorrectResponse;
    LetMultipleAnswers = source->LetMultipleAnswers;
    NumberAnswerType = source->NumberAnswerType;
    Shuffle = source->Shuffle;
    return true;
}

bool CMultipleChoiceItem::Clear()
{
    if (!CAnswerListItem::Clear())
        return false;
    FeedbackForAnyCorrectResponse.clear();
    FeedbackForAnyPartiallyCorrectResponse.clear();
    FeedbackForAnyIncorrectResponse.clear();
    return true;
}

bool CMultipleChoiceItem::IsRightChoice(std::int32_t index)
{
    SAnswerItem* choice = nullptr;
    return GetAnswer(index, choice) && !choice->Correct.empty() && choice->Correct != "0";
}

bool CMultipleChoiceItem::ToggleUserChoice(std::int32_t i, SAnswerItem*& choice, bool force)
{
    if (i < 0 || i >= m_Answers.GetSize())
        return false;
    choice = &m_Answers.ElementAt(i);
    choice->UserAnswer = choice->UserAnswer == "1" ? "0" : "1";
    if (LetMultipleAnswers != 0 && !force)
        return true;
    for (std::int32_t k = 0; k < m_Answers.GetSize(); ++k)
        if (k != i)
            m_Answers[k].UserAnswer = "0";
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// CTrueFalseItem

CTrueFalseItem::CTrueFalseItem() : CSingleAnswerItem(qtTrueFalse)
{
    PenaltyFactor = "1";
}

CTrueFalseItem::~CTrueFalseItem() = default;

void CTrueFalseItem::ClearUserAnswer()
{
    CBaseItem::ClearUserAnswer();
    m_Answer.UserAnswer.clear();
}

bool CTrueFalseItem::IsAnswered() const
{
    return !m_Answer.UserAnswer.empty();
}

int CTrueFalseItem::GetResult()
{
    if (m_Answer.Correct.empty())
        m_Answer.Correct = "0";
    return m_Answer.UserAnswer == m_Answer.Correct ? 1 : 0;
}

bool CTrueFalseItem::CopyFrom(const CBaseItem* other)
{
    if (!CSingleAnswerItem::CopyFrom(other))
        return false;
    if (const auto* source = dynamic_cast<const CTrueFalseItem*>(other))
    {
        FeedbackForTheResponseTrue = source->FeedbackForTheResponseTrue;
        FeedbackForTheResponseFalse = source->FeedbackForTheResponseFalse;
    }
    return true;
}

bool CTrueFalseItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers,
                             bool compareCategory, bool compareAnswers, bool compareFeedback,
                             bool compareOwner) const
{
    if (!CBaseItem::IsEqual(other, compareTimes, compareLayers, compareCategory, compareAnswers,
                            compareFeedback, compareOwner))
        return false;
    const auto* o = dynamic_cast<const CTrueFalseItem*>(other);
    return o && (!compareAnswers || SameAnswerContent(m_Answer, o->m_Answer));
}

bool CTrueFalseItem::IsRightChoice(std::int32_t index)
{
    const std::string& statement = m_Answer.Correct;
    return (index == 1 && statement == "1") || (index == 0 && statement != "1");
}

bool CTrueFalseItem::SetUserAnswer(const std::string& text)
{
    m_Answer.UserAnswer = text;
    return true;
}
