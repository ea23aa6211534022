// The kinds with little or no answer logic: description (text only), essay (graded by hand), random
// short-answer matching (a count for a quiz system) and embedded answers (kept, not evaluated).
#include "model/items/Datatypes_Kinds.h"

#include "model/items/Datatypes_Lists.h"

#include <charconv>
#include <system_error>

using namespace lf::items;

namespace
{

constexpr int kEditPhase = 3;

// The whole text as a whole number; false for anything else (empty included).
bool ReadWholeNumber(const std::string& text, long long& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

} // namespace

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
    if (!ReadWholeNumber(m_Answer.Correct, grade))
        return -1;
    // A grade typed by hand may lie outside the scale; the callers count only -1..2.
    if (grade < 0)
        return 0;
    if (grade > 2)
        return 2;
    return static_cast<int>(grade);
}

// ---------------------------------------------------------------------------------------------------------
// CRandomShortAnswerMatchingItem

CRandomShortAnswerMatchingItem::CRandomShortAnswerMatchingItem() : CBaseItem(qtRandomShortAnswerMatching) {}

CRandomShortAnswerMatchingItem::~CRandomShortAnswerMatchingItem() = default;

bool CRandomShortAnswerMatchingItem::IsAvailableInPhase(int phase) const
{
    return phase == kEditPhase;
}

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

CEmbeddedItem::CEmbeddedItem() : CBaseItem(qtEmbedded) {}

CEmbeddedItem::~CEmbeddedItem() = default;

bool CEmbeddedItem::IsAvailableInPhase(int phase) const
{
    return phase == kEditPhase;
}

bool CEmbeddedItem::IsAnswerableInPhase(int phase) const
{
    return phase == kEditPhase;
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
