// The kinds with little or no answer logic: description (text only), essay (graded by hand), random
// short-answer matching (a count for a quiz system) and embedded answers (kept, not evaluated).
#include "model/items/Datatypes_Kinds.h"

#include "model/items/Datatypes_Lists.h"
#include "platform/sys/NumberText.h"

#include <charconv>
#include <system_error>

using namespace lf::items;

// ---------------------------------------------------------------------------------------------------------
// CDescriptionItem

CDescriptionItem::CDescriptionItem() : CBaseItem(qtDescription) {}

CDescriptionItem::~CDescriptionItem() = default;

// ---------------------------------------------------------------------------------------------------------
// CEssayItem

CEssayItem::CEssayItem() : CSingleAnswerItem(qtEssay)
{
    PenaltyFactor.clear();
}

CEssayItem::~CEssayItem() = default;

void CEssayItem::ClearAnswers()
{
    m_Answer = SAnswerItem();
}

bool CEssayItem::IsAnswered() const
{
    return !CommonAnswer.UserAnswer.empty();
}

int CEssayItem::GetResult()
{
    long long grade = 0;
    if (!lf::sys::ReadNumber(m_Answer.Correct, grade))
        return -1;
    // A grade typed by hand may lie outside the scale; the callers count only -1..2.
    if (grade < 0)
        return 0;
    if (grade > 2)
        return 2;
    return static_cast<int>(grade);
}

// ---------------------------------------------------------------------------------------------------------
// CEditOnlyItem

bool CEditOnlyItem::IsAvailableInPhase(int phase) const
{
    return PhaseFromNumber(phase) == EPhase::Edit;
}

// ---------------------------------------------------------------------------------------------------------
// CRandomShortAnswerMatchingItem

CRandomShortAnswerMatchingItem::CRandomShortAnswerMatchingItem() : CEditOnlyItem(qtRandomShortAnswerMatching)
{
}

CRandomShortAnswerMatchingItem::~CRandomShortAnswerMatchingItem() = default;

bool CRandomShortAnswerMatchingItem::IsAnswerableInPhase(int) const
{
    return false;
}

bool CRandomShortAnswerMatchingItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    if (const auto* source = dynamic_cast<const CRandomShortAnswerMatchingItem*>(other))
        NumberOfQuestionsToSelect = source->NumberOfQuestionsToSelect;
    return true;
}

bool CRandomShortAnswerMatchingItem::Clear()
{
    return ClearWithAnswers();
}

// ---------------------------------------------------------------------------------------------------------
// CEmbeddedItem

CEmbeddedItem::CEmbeddedItem() : CEditOnlyItem(qtEmbedded) {}

CEmbeddedItem::~CEmbeddedItem() = default;

bool CEmbeddedItem::IsAnswerableInPhase(int phase) const
{
    return PhaseFromNumber(phase) == EPhase::Edit;
}

bool CEmbeddedItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    if (other->GetQuestionType() == qtMultipleChoice)
    {
        Name += " _copy";
        GeneralFeedback = QuestionText;
    }
    return true;
}
