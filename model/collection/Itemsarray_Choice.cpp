// The user's choices in the answer table of a question in Test phase: a multiple-choice mark, the
// true/false statement, a matching partner, each recorded on the question with the book marked modified.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/support/Array.h"
#include "platform/sys/NumberText.h"

namespace
{

// The answer index the hint of a row names; false for a row outside the table or a hint that is not a
// number.
bool AnswerOfRow(const SChoiceClick& click, std::int32_t row, std::int32_t& index)
{
    return row >= 0 && static_cast<std::size_t>(row) < click.rowHints.size() &&
           lf::sys::ReadNumber(click.rowHints[static_cast<std::size_t>(row)], index);
}

void RecordMultipleChoice(CMultipleChoiceItem& choice, const SChoiceClick& click, std::int32_t index,
                          SChoiceOutcome& outcome)
{
    SAnswerItem* answer = nullptr;
    if (click.card)
    {
        // Only the card's answer can be ticked, so the others are unmarked with it; a card is a study aid,
        // so the book does not count as changed.
        if (click.cardShowsAnswer && choice.ToggleUserChoice(index, answer, true))
        {
            outcome.result = EChoiceResult::Recorded;
            outcome.look = EChoiceLook::Card;
            outcome.rows.push_back({click.row, answer->UserAnswer == "1", answer->Correct == "1"});
        }
        return;
    }
    if (index < 0 || index >= choice.GetAnswerCount() || !choice.ToggleUserChoice(index, answer, false))
        return;
    outcome.result = EChoiceResult::Recorded;
    outcome.modified = true;
    if (choice.GetLetMultipleAnswers() != 0)
    {
        outcome.look = EChoiceLook::Squares;
        outcome.rows.push_back({click.row, answer->UserAnswer == "1", answer->Correct != "0"});
        return;
    }
    // One choice: the mark of every other row may have gone with it.
    outcome.look = EChoiceLook::Circles;
    for (std::int32_t row = 0; static_cast<std::size_t>(row) < click.rowHints.size(); ++row)
    {
        std::int32_t other = 0;
        SAnswerItem* shown = nullptr;
        if (AnswerOfRow(click, row, other) && choice.GetAnswer(other, shown))
            outcome.rows.push_back({row, shown->UserAnswer == "1", shown->Correct != "0"});
    }
}

void RecordTrueFalse(CTrueFalseItem& trueFalse, const SChoiceClick& click, SChoiceOutcome& outcome)
{
    // The hint of the row is the choice as stored: "1" true, "0" false.
    const std::string& hint = click.rowHints[static_cast<std::size_t>(click.row)];
    trueFalse.SetUserAnswer(hint);
    outcome.result = EChoiceResult::Recorded;
    SAnswerItem* statement = nullptr;
    if (!trueFalse.GetAnswer(0, statement) || click.rowHints.size() < 2)
        return;
    const bool isTrue = hint == "1";
    outcome.modified = true;
    outcome.look = EChoiceLook::Circles;
    outcome.rows.push_back({0, isTrue, statement->Correct == "1"});
    outcome.rows.push_back({1, !isTrue, statement->Correct != "1"});
}

void RecordMatching(CMatchingItem& matching, const SChoiceClick& click, std::int32_t index,
                    SChoiceOutcome& outcome)
{
    SAnswerItem* pair = nullptr;
    if (index < 0 || index >= matching.GetAnswerCount() || !matching.GetAnswer(index, pair))
    {
        outcome.result = EChoiceResult::NoAnswer;
        return;
    }
    if (!click.partner)
    {
        for (std::int32_t i = 0; i < matching.GetAnswerCount(); ++i)
        {
            SAnswerItem* other = nullptr;
            if (matching.GetAnswer(i, other) && !other->Correct.empty())
                outcome.partners.Add(other->Correct);
        }
        ShuffleStringArray(outcome.partners);
        outcome.result =
            outcome.partners.GetSize() == 0 ? EChoiceResult::NoPartner : EChoiceResult::PickPartner;
        return;
    }
    pair->UserAnswer = *click.partner;
    outcome.result = EChoiceResult::Recorded;
    outcome.modified = true;
    outcome.look = EChoiceLook::Partner;
    outcome.rows.push_back({click.row, !pair->UserAnswer.empty(), pair->UserAnswer == pair->Correct});
}

} // namespace

SChoiceOutcome CItemsArray2::RecordChoice(CBaseItem& item, const SChoiceClick& click)
{
    SChoiceOutcome outcome;
    std::int32_t index = 0;
    if (!AnswerOfRow(click, click.row, index))
        return outcome;
    outcome.result = EChoiceResult::Ignored;
    if (CMultipleChoiceItem* choice = item.GetMultipleChoice())
        RecordMultipleChoice(*choice, click, index, outcome);
    else if (CTrueFalseItem* trueFalse = item.GetTrueFalse())
        RecordTrueFalse(*trueFalse, click, outcome);
    else if (CMatchingItem* matching = item.GetMatching())
        RecordMatching(*matching, click, index, outcome);
    if (outcome.modified)
        SetModified(true);
    return outcome;
}
