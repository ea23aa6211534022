// The user's choices recorded by the collection: each kind that takes a choice, choosing again and
// un-choosing, the card styles, the rows to draw again and the book's modified flag; and which pick on a
// flash card is right.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "tests/model/ItemBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace
{

using lf::test::UserAnswers;

// Three choices, the first right; the user's marks as given; with one or several choices allowed.
std::unique_ptr<CBaseItem> Choices(int letMultiple, const std::string& a = {}, const std::string& b = {},
                                   const std::string& c = {})
{
    auto item = lf::test::MultipleChoice()
                    .answer("Mars", "1", a)
                    .answer("Venus", "0", b)
                    .answer("Pluto", "0", c)
                    .with([&](CMultipleChoiceItem& mc) { mc.SetLetMultipleAnswers(letMultiple); })
                    .build();
    return item;
}

std::unique_ptr<CBaseItem> Capitals()
{
    return lf::test::Matching().answer("France", "Paris").answer("Italy", "Rome").answer("Spain", "").build();
}

std::unique_ptr<CBaseItem> WithPartner(std::unique_ptr<CBaseItem> matching, std::int32_t pair,
                                       const std::string& partner)
{
    SAnswerItem* answer = nullptr;
    matching->GetAnswer(pair, answer);
    answer->UserAnswer = partner;
    return matching;
}

SChoiceClick Click(std::int32_t row, std::vector<std::string> hints)
{
    SChoiceClick click;
    click.row = row;
    click.rowHints = std::move(hints);
    return click;
}

SChoiceClick Card(std::int32_t row, std::vector<std::string> hints, bool showsAnswer)
{
    SChoiceClick click = Click(row, std::move(hints));
    click.card = true;
    click.cardShowsAnswer = showsAnswer;
    return click;
}

SChoiceClick Partner(std::int32_t row, std::vector<std::string> hints, std::string partner)
{
    SChoiceClick click = Click(row, std::move(hints));
    click.partner = std::move(partner);
    return click;
}

const std::vector<std::string> kAbc = {"0", "1", "2"};
const std::vector<std::string> kTrueFalse = {"1", "0"};

struct ChoiceCase
{
    const char* name;
    std::function<std::unique_ptr<CBaseItem>()> make;
    SChoiceClick click;
    EChoiceResult result;
    std::string userAnswers; // afterwards, over all answers
    bool modified;
    EChoiceLook look; // checked when rows are expected
    std::vector<SChoiceRow> rows;
};

void PrintTo(const ChoiceCase& c, std::ostream* os)
{
    *os << c.name;
}

} // namespace

void PrintTo(const SChoiceRow& row, std::ostream* os)
{
    *os << "{row " << row.row << (row.chosen ? " chosen" : "") << (row.correct ? " correct" : "") << "}";
}

namespace
{

class RecordChoiceTest : public testing::TestWithParam<ChoiceCase>
{
};

TEST_P(RecordChoiceTest, RecordsByKindAndNamesTheRowsToDrawAgain)
{
    const ChoiceCase& c = GetParam();
    CItemsArray2 items;
    items.InsertItem(c.make(), false, -1);
    CBaseItem& item = *items.GetItem(0);
    ASSERT_FALSE(items.IsModified());

    const SChoiceOutcome outcome = items.RecordChoice(item, c.click);

    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(UserAnswers(item), c.userAnswers);
    EXPECT_EQ(outcome.modified, c.modified);
    EXPECT_EQ(items.IsModified(), c.modified);
    EXPECT_EQ(outcome.rows, c.rows);
    if (!c.rows.empty())
    {
        EXPECT_EQ(outcome.look, c.look);
    }
    EXPECT_EQ(outcome.partners.GetSize(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordChoiceTest,
    testing::Values(
        // Multiple choice, one choice allowed: every row is drawn again, since the old mark went.
        ChoiceCase{"OneChoiceMovesTheMark",
                   [] { return Choices(0, "1"); },
                   Click(2, kAbc),
                   EChoiceResult::Recorded,
                   "0,0,1",
                   true,
                   EChoiceLook::Circles,
                   {{0, false, true}, {1, false, false}, {2, true, false}}},
        ChoiceCase{"OneChoiceChosenAgainIsUnchosen",
                   [] { return Choices(0, "0", "0", "1"); },
                   Click(2, kAbc),
                   EChoiceResult::Recorded,
                   "0,0,0",
                   true,
                   EChoiceLook::Circles,
                   {{0, false, true}, {1, false, false}, {2, false, false}}},
        // The rows show the answers in the table's order, which the hints tell; a row whose hint names no
        // answer is left alone.
        ChoiceCase{"OneChoiceFollowsTheHintsOfAShuffledTable",
                   [] { return Choices(0); },
                   Click(1, {"2", "0", "x"}),
                   EChoiceResult::Recorded,
                   "1,0,0",
                   true,
                   EChoiceLook::Circles,
                   {{0, false, false}, {1, true, true}}},
        // Several choices allowed: only the clicked row changes.
        ChoiceCase{"SeveralChoicesAddAMark",
                   [] { return Choices(1, "1"); },
                   Click(1, kAbc),
                   EChoiceResult::Recorded,
                   "1,1,",
                   true,
                   EChoiceLook::Squares,
                   {{1, true, false}}},
        ChoiceCase{"SeveralChoicesTakeAMarkBack",
                   [] { return Choices(1, "1", "1"); },
                   Click(0, kAbc),
                   EChoiceResult::Recorded,
                   "0,1,",
                   true,
                   EChoiceLook::Squares,
                   {{0, false, true}}},
        // An empty grade is no "0", so the choice counts as correct here.
        ChoiceCase{"SeveralChoicesCreditAnEmptyGrade",
                   [] { return lf::test::MultipleChoice().answer("Any", "").build(); },
                   Click(0, {"0"}),
                   EChoiceResult::Recorded,
                   "1",
                   true,
                   EChoiceLook::Squares,
                   {{0, true, true}}},
        ChoiceCase{"ChoiceOutsideTheAnswersChangesNothing",
                   [] { return Choices(0, "1"); },
                   Click(0, {"7", "1", "2"}),
                   EChoiceResult::Ignored,
                   "1,,",
                   false,
                   EChoiceLook::Circles,
                   {}},
        ChoiceCase{"RowWithoutAReadableHintNamesNoAnswer",
                   [] { return Choices(0); },
                   Click(0, {"a", "1", "2"}),
                   EChoiceResult::NoAnswer,
                   ",,",
                   false,
                   EChoiceLook::Circles,
                   {}},
        ChoiceCase{"RowOutsideTheTableNamesNoAnswer",
                   [] { return Choices(0); },
                   Click(3, kAbc),
                   EChoiceResult::NoAnswer,
                   ",,",
                   false,
                   EChoiceLook::Circles,
                   {}},
        // The card styles: the one answer on the card is ticked and unticked, the others unmarked with it;
        // the book does not count as changed. Its correct flag is a grade of exactly "1".
        ChoiceCase{"CardTicksItsAnswer",
                   [] { return Choices(1, "", "1"); },
                   Card(0, {"0"}, true),
                   EChoiceResult::Recorded,
                   "1,0,0",
                   false,
                   EChoiceLook::Card,
                   {{0, true, true}}},
        ChoiceCase{"CardTickedAgainIsUnticked",
                   [] { return Choices(1, "1"); },
                   Card(0, {"0"}, true),
                   EChoiceResult::Recorded,
                   "0,0,0",
                   false,
                   EChoiceLook::Card,
                   {{0, false, true}}},
        ChoiceCase{"CardWithoutAnAnswerTakesNoTick",
                   [] { return Choices(1); },
                   Card(0, {"0"}, false),
                   EChoiceResult::Ignored,
                   ",,",
                   false,
                   EChoiceLook::Card,
                   {}},
        ChoiceCase{"CardIgnoresAnIndexOutsideTheAnswers",
                   [] { return Choices(1, "1"); },
                   Card(0, {"5"}, true),
                   EChoiceResult::Ignored,
                   "1,,",
                   false,
                   EChoiceLook::Card,
                   {}},
        // True/false: the row's hint is the choice; both rows are drawn again.
        ChoiceCase{"TrueRowOnAFalseStatement",
                   [] { return lf::test::TrueFalse("0"); },
                   Click(0, kTrueFalse),
                   EChoiceResult::Recorded,
                   "1",
                   true,
                   EChoiceLook::Circles,
                   {{0, true, false}, {1, false, true}}},
        ChoiceCase{"FalseRowChosenAgainStillCounts",
                   [] { return lf::test::TrueFalse("1", "0"); },
                   Click(1, kTrueFalse),
                   EChoiceResult::Recorded,
                   "0",
                   true,
                   EChoiceLook::Circles,
                   {{0, false, true}, {1, true, false}}},
        ChoiceCase{"ChoiceChangesFromFalseToTrue",
                   [] { return lf::test::TrueFalse("1", "0"); },
                   Click(0, kTrueFalse),
                   EChoiceResult::Recorded,
                   "1",
                   true,
                   EChoiceLook::Circles,
                   {{0, true, true}, {1, false, false}}},
        // A table of one row still sets the choice, but draws nothing and leaves the book unchanged.
        ChoiceCase{"TrueFalseTableOfOneRowSetsTheChoiceOnly",
                   [] { return lf::test::TrueFalse("1"); },
                   Click(0, {"1"}),
                   EChoiceResult::Recorded,
                   "1",
                   false,
                   EChoiceLook::Circles,
                   {}},
        // Matching, with the partner picked.
        ChoiceCase{"MatchingRightPartner",
                   Capitals,
                   Partner(1, {"1", "0", "2"}, "Paris"),
                   EChoiceResult::Recorded,
                   "Paris,,",
                   true,
                   EChoiceLook::Partner,
                   {{1, true, true}}},
        ChoiceCase{"MatchingPartnerReplacesTheOldOne",
                   [] { return WithPartner(Capitals(), 0, "Rome"); },
                   Partner(0, kAbc, "Paris"),
                   EChoiceResult::Recorded,
                   "Paris,,",
                   true,
                   EChoiceLook::Partner,
                   {{0, true, true}}},
        ChoiceCase{"MatchingWrongPartner",
                   Capitals,
                   Partner(1, kAbc, "Paris"),
                   EChoiceResult::Recorded,
                   ",Paris,",
                   true,
                   EChoiceLook::Partner,
                   {{1, true, false}}},
        ChoiceCase{"MatchingEmptyPartnerUnsetsThePair",
                   [] { return WithPartner(Capitals(), 0, "Paris"); },
                   Partner(0, kAbc, ""),
                   EChoiceResult::Recorded,
                   ",,",
                   true,
                   EChoiceLook::Partner,
                   {{0, false, false}}},
        ChoiceCase{"MatchingRowWithoutAPair",
                   Capitals,
                   Partner(0, {"5"}, "Paris"),
                   EChoiceResult::NoAnswer,
                   ",,",
                   false,
                   EChoiceLook::Partner,
                   {}},
        // Kinds that take no choice in a table.
        ChoiceCase{"ShortAnswerTakesNone",
                   [] { return lf::test::ShortAnswer().answer("Mars", "1").typed("Mars").build(); },
                   Click(0, {"0"}),
                   EChoiceResult::Ignored,
                   "",
                   false,
                   EChoiceLook::Circles,
                   {}},
        ChoiceCase{"DescriptionTakesNone",
                   [] { return std::make_unique<CDescriptionItem>(); },
                   Click(0, {"0"}),
                   EChoiceResult::Ignored,
                   "",
                   false,
                   EChoiceLook::Circles,
                   {}}),
    [](const testing::TestParamInfo<ChoiceCase>& info) { return info.param.name; });

TEST(RecordChoice, MatchingWithoutAPartnerOffersTheFilledPartnersFirst)
{
    CItemsArray2 items;
    items.InsertItem(Capitals(), false, -1);
    CBaseItem& item = *items.GetItem(0);

    SChoiceOutcome outcome = items.RecordChoice(item, Click(0, kAbc));
    EXPECT_EQ(outcome.result, EChoiceResult::PickPartner);
    std::vector<std::string> offered(outcome.partners.begin(), outcome.partners.end());
    std::sort(offered.begin(), offered.end());
    EXPECT_EQ(offered, (std::vector<std::string>{"Paris", "Rome"}));
    EXPECT_TRUE(outcome.rows.empty());
    EXPECT_EQ(UserAnswers(item), ",,");
    EXPECT_FALSE(items.IsModified());

    SChoiceClick picked = Click(0, kAbc);
    picked.partner = "Rome";
    outcome = items.RecordChoice(item, picked);
    EXPECT_EQ(outcome.result, EChoiceResult::Recorded);
    EXPECT_EQ(outcome.rows, (std::vector<SChoiceRow>{{0, true, false}}));
    EXPECT_EQ(UserAnswers(item), "Rome,,");
    EXPECT_TRUE(items.IsModified());
}

TEST(RecordChoice, MatchingWhosePartnersAreAllEmptyHasNoneToOffer)
{
    CItemsArray2 items;
    items.InsertItem(lf::test::Matching().answer("France", "").answer("Italy", "").build(), false, -1);
    const SChoiceOutcome outcome = items.RecordChoice(*items.GetItem(0), Click(1, {"0", "1"}));
    EXPECT_EQ(outcome.result, EChoiceResult::NoPartner);
    EXPECT_EQ(outcome.partners.GetSize(), 0);
    EXPECT_FALSE(items.IsModified());
}

TEST(RecordChoice, ACardKeepsAnEarlierChangeOfTheBook)
{
    CItemsArray2 items;
    items.InsertItem(Choices(1), false, -1);
    items.SetModified(true);
    // A card is no change of the book, but does not take back one made before.
    items.RecordChoice(*items.GetItem(0), Card(0, {"0"}, true));
    EXPECT_TRUE(items.IsModified());
}

// ---------------------------------------------------------------------------------------------------------
// Which pick on a flash card is right

struct RightCase
{
    const char* name;
    std::function<std::unique_ptr<CBaseItem>()> make;
    std::int32_t index;
    bool right;
};

void PrintTo(const RightCase& c, std::ostream* os)
{
    *os << c.name;
}

class RightChoiceTest : public testing::TestWithParam<RightCase>
{
};

TEST_P(RightChoiceTest, AsTheCardSaysIt)
{
    const RightCase& c = GetParam();
    EXPECT_EQ(c.make()->IsRightChoice(c.index), c.right);
}

std::unique_ptr<CBaseItem> Graded()
{
    return lf::test::MultipleChoice()
        .answer("a", "1")
        .answer("b", "0")
        .answer("c", "")
        .answer("d", "0.5")
        .build();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RightChoiceTest,
    testing::Values(RightCase{"ChoiceGradedOne", Graded, 0, true},
                    RightCase{"ChoiceGradedZero", Graded, 1, false},
                    // Unlike the credit of a grade, an empty grade is not right on a card.
                    RightCase{"ChoiceWithoutAGrade", Graded, 2, false},
                    RightCase{"ChoiceGradedAFraction", Graded, 3, true},
                    RightCase{"ChoiceOutsideTheAnswers", Graded, 4, false},
                    RightCase{"TrueOnATrueStatement", [] { return lf::test::TrueFalse("1"); }, 1, true},
                    RightCase{"FalseOnATrueStatement", [] { return lf::test::TrueFalse("1"); }, 0, false},
                    RightCase{"FalseOnAFalseStatement", [] { return lf::test::TrueFalse("0"); }, 0, true},
                    RightCase{"FalseOnAnUnsetStatement", [] { return lf::test::TrueFalse(""); }, 0, true},
                    RightCase{"TrueOnAFalseStatement", [] { return lf::test::TrueFalse("0"); }, 1, false},
                    RightCase{"TrueFalseIndexBeyondBoth", [] { return lf::test::TrueFalse("1"); }, 2, false},
                    RightCase{"AnyMatchingPair", Capitals, 2, true},
                    RightCase{"ShortAnswer",
                              [] { return lf::test::ShortAnswer().answer("Mars", "1").build(); }, 0, false}),
    [](const testing::TestParamInfo<RightCase>& info) { return info.param.name; });

} // namespace
