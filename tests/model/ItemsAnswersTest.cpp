// Short-answer, numerical and matching items: pattern and value matching, grading, units and copies.
#include "model/items/Datatypes.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

using lf::test::Matching;
using lf::test::Numerical;
using lf::test::ShortAnswer;
using lf::test::UserAnswers;

// --- Short-answer patterns ---

struct PatternCase
{
    const char* name;
    const char* pattern;
    const char* text;
    bool caseSensitive;
    bool matches;
};

class ShortAnswerPattern : public testing::TestWithParam<PatternCase>
{
};

TEST_P(ShortAnswerPattern, MatchesTypedText)
{
    const auto& c = GetParam();
    EXPECT_EQ(CShortAnswerItem::MatchAnswerText(c.pattern, c.text, c.caseSensitive), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Items, ShortAnswerPattern,
    testing::Values(PatternCase{"IgnoresCaseByDefault", "Paris", "paris", false, true},
                    PatternCase{"CaseSensitiveRefusesOtherCase", "Paris", "paris", true, false},
                    PatternCase{"CaseSensitiveTakesSameCase", "Paris", "Paris", true, true},
                    PatternCase{"FoldsCaseBeyondAscii", "ÄRGER", "ärger", false, true},
                    PatternCase{"OtherWordDoesNotMatch", "Paris", "Rome", false, false},
                    PatternCase{"NoPartialWordWithoutStar", "Paris", "Par", false, false},
                    PatternCase{"LoneStarMatchesAnyText", "*", "anything at all", false, true},
                    PatternCase{"EmptyTextMatchesNothing", "*", "", false, false},
                    PatternCase{"EmptyPatternMatchesNothing", "", "", false, false},
                    PatternCase{"StarInTheMiddle", "a*c", "abc", false, true},
                    PatternCase{"StarTakesAnEmptyRun", "a*c", "ac", false, true},
                    PatternCase{"LeadingStar", "*c", "abc", false, true},
                    PatternCase{"TrailingStar", "a*", "abc", false, true},
                    PatternCase{"LiteralAfterStarMustEndTheText", "a*c", "abcd", false, false},
                    PatternCase{"LiteralBeforeStarMustStartTheText", "b*", "abc", false, false},
                    PatternCase{"LeadingStarBacktracksToTheLastOccurrence", "*b", "abab", false, true},
                    PatternCase{"SuffixAfterRepeatedLetters", "*ing", "singing", false, true},
                    PatternCase{"StarSpansARepeatedLiteral", "a*b", "abab", false, true},
                    PatternCase{"SeveralStarsBacktrack", "*a*b*c", "xaybzaxbyc", false, true},
                    PatternCase{"SeveralStarsStillNeedEveryLiteral", "*a*b*c", "xaybz", false, false},
                    PatternCase{"StarIsCaseInsensitiveToo", "*ING", "singing", false, true},
                    PatternCase{"DoubleStarMatchesOnlyItself", "a**b", "axb", false, false},
                    PatternCase{"DoubleStarMatchesItsOwnText", "a**b", "a**b", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Short-answer grading ---

TEST(ShortAnswerItem, GradesRightWrongPartlyRightAndUnanswered)
{
    auto make = [](const char* typed) {
        return ShortAnswer()
            .answer("Paris", "1")
            .answer("Par*", "0.5")
            .answer("Rome", "0")
            .typed(typed)
            .build();
    };
    EXPECT_EQ(make("paris")->GetResult(), 1);
    EXPECT_EQ(make("Parma")->GetResult(), 2);
    EXPECT_EQ(make("Berlin")->GetResult(), 0);
    // A pattern graded 0 is never a candidate, even when it matches.
    EXPECT_EQ(make("Rome")->GetResult(), 0);
    auto unanswered = make("");
    EXPECT_FALSE(unanswered->IsAnswered());
    EXPECT_EQ(unanswered->GetResult(), 0);
}

TEST(ShortAnswerItem, FirstMatchingPatternWins)
{
    auto item = ShortAnswer().answer("*", "0.5").answer("Paris", "1").typed("Paris").build();
    SAnswerItem* match = nullptr;
    EXPECT_EQ(item->FindMatchingAnswer(match, true), 0);
    ASSERT_NE(match, nullptr);
    EXPECT_EQ(match->AnswerText, "*");
    EXPECT_EQ(item->GetResult(), 2);
}

TEST(ShortAnswerItem, PenaltyPatternIsFoundButGradesIncorrect)
{
    auto make = [](const char* typed)
    {
        return ShortAnswer()
            .answer("Lyon", "-0.5")
            .answer("Paris", "1")
            .answer("Par*", "0.5")
            .typed(typed)
            .build();
    };
    auto penalty = make("lyon");
    SAnswerItem* match = nullptr;
    // The penalty answer is still the match, so that its feedback can be shown.
    EXPECT_EQ(penalty->FindMatchingAnswer(match, true), 0);
    ASSERT_NE(match, nullptr);
    EXPECT_EQ(match->AnswerText, "Lyon");
    EXPECT_EQ(penalty->GetResult(), 0);
    EXPECT_EQ(make("Paris")->GetResult(), 1);
    EXPECT_EQ(make("Parma")->GetResult(), 2);
}

TEST(ShortAnswerItem, CaseSensitivityOfTheItemDecides)
{
    auto item = ShortAnswer().answer("Paris", "1").typed("PARIS").build();
    EXPECT_EQ(item->GetResult(), 1);
    item->SetCaseSensitivity(1);
    EXPECT_EQ(item->GetResult(), 0);
}

TEST(ShortAnswerItem, WithoutCheckFindsTheFirstCreditedAnswer)
{
    auto item =
        ShortAnswer().answer("x", "0").answer("y", "").answer("z", "0.5").typed("nothing alike").build();
    SAnswerItem* match = nullptr;
    EXPECT_EQ(item->FindMatchingAnswer(match, false), 2);
    EXPECT_EQ(match->AnswerText, "z");
    EXPECT_EQ(item->FindMatchingAnswer(match, true), -1);
}

// --- Numerical values ---

struct ValueCase
{
    const char* name;
    const char* value;
    const char* typed;
    const char* tolerance;
    bool matches;
};

class NumericalValue : public testing::TestWithParam<ValueCase>
{
};

TEST_P(NumericalValue, MatchesWithinTheTolerance)
{
    const auto& c = GetParam();
    EXPECT_EQ(CNumericalItem::MatchAnswerValue(c.value, c.typed, c.tolerance), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Items, NumericalValue,
    testing::Values(ValueCase{"LowerBoundIsInside", "7", "6", "1", true},
                    ValueCase{"UpperBoundIsInside", "7", "8", "1", true},
                    ValueCase{"JustBelowTheLowerBoundIsOutside", "7", "5.99", "1", false},
                    ValueCase{"JustAboveTheUpperBoundIsOutside", "7", "8.01", "1", false},
                    ValueCase{"HalfToleranceUpperBound", "10", "10.5", "0.5", true},
                    ValueCase{"HalfToleranceLowerBound", "10", "9.5", "0.5", true},
                    ValueCase{"HalfToleranceOutside", "10", "10.51", "0.5", false},
                    ValueCase{"EqualTextWithoutTolerance", "3", "3", "", true},
                    ValueCase{"EqualValueOtherTextWithoutTolerance", "3", "3.0", "", false},
                    ValueCase{"ZeroToleranceComparesValues", "3", "3.0", "0", true},
                    ValueCase{"NegativeToleranceEmptiesTheRange", "10", "10.0", "-1", false},
                    ValueCase{"NegativeToleranceStillTakesEqualText", "10", "10", "-1", true},
                    ValueCase{"NegativeValues", "-2.5", "-2", "0.5", true},
                    // 0.7 + 0.1 and 0.4 - 0.1 are a rounding step short of 0.8 and 0.3 in binary.
                    ValueCase{"DecimalUpperBoundIsInside", "0.7", "0.8", "0.1", true},
                    ValueCase{"DecimalLowerBoundIsInside", "0.4", "0.3", "0.1", true},
                    ValueCase{"JustBeyondADecimalBoundIsOutside", "0.7", "0.8000001", "0.1", false},
                    ValueCase{"JustBelowADecimalBoundIsOutside", "0.4", "0.2999999", "0.1", false},
                    ValueCase{"TinyNegativeToleranceStillEmptiesTheRange", "10", "10.0", "-1e-17", false},
                    ValueCase{"ExponentForm", "1500", "1.5e3", "0", true},
                    ValueCase{"BlanksAroundTheNumber", "7", " 7.5 ", "1", true},
                    ValueCase{"CommaIsNotADecimalPoint", "6.5", "6,5", "1", false},
                    ValueCase{"WordsAreNotNumbers", "7", "seven", "1", false},
                    ValueCase{"TrailingUnitIsNotANumber", "7", "7m", "1", false},
                    ValueCase{"InfinityIsNotANumber", "7", "inf", "1e308", false},
                    ValueCase{"UnreadableToleranceMatchesNothing", "7", "7.1", "x", false},
                    ValueCase{"EmptyTypedTextMatchesNothing", "7", "", "1", false},
                    ValueCase{"EmptyValueMatchesNothing", "", "7", "1", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumericalItem, GradesRightWrongPartlyRightAndUnanswered)
{
    auto make = [](const char* typed)
    {
        return Numerical()
            .value("7", "1", "1")
            .value("10", "0.5", "1")
            .value("20", "0", "5")
            .typed(typed)
            .build();
    };
    EXPECT_EQ(make("6")->GetResult(), 1);
    EXPECT_EQ(make("8")->GetResult(), 1);
    EXPECT_EQ(make("5.99")->GetResult(), 0);
    EXPECT_EQ(make("10.5")->GetResult(), 2);
    // A value graded with a penalty matches, but typing it is wrong.
    auto penalty = Numerical().value("20", "-0.5", "1").value("7", "1", "1").typed("20.5").build();
    SAnswerItem* match = nullptr;
    EXPECT_EQ(penalty->FindMatchingAnswer(match, true), 0);
    EXPECT_EQ(penalty->GetResult(), 0);
    EXPECT_EQ(make("20")->GetResult(), 0);
    EXPECT_EQ(make("")->GetResult(), 0);
    EXPECT_FALSE(make("")->IsAnswered());
}

TEST(NumericalItem, UnitsAreCarriedButTakeNoPartInGradingOrComparison)
{
    auto item = Numerical().value("100", "1", "0").typed("100").build();
    EXPECT_TRUE(item->HasUnits());
    EXPECT_EQ(item->GetUnitCount(), 0);
    EXPECT_TRUE(item->AddUnit({"1", "cm"}));
    EXPECT_TRUE(item->AddUnit({"0.01", "m"}));
    EXPECT_EQ(item->GetUnitCount(), 2);

    SUnitItem* unit = nullptr;
    EXPECT_FALSE(item->GetUnit(2, unit));
    EXPECT_FALSE(item->SetUnit(-1, {"x", "y"}));
    EXPECT_FALSE(item->DeleteUnit(2));
    ASSERT_TRUE(item->SetUnit(1, {"1000", "km"}));
    ASSERT_TRUE(item->GetUnit(1, unit));
    EXPECT_EQ(unit->Value, "1000");
    EXPECT_EQ(unit->Description, "km");
    EXPECT_EQ(item->GetResult(), 1);

    auto withoutUnits = Numerical().value("100", "1", "0").build();
    EXPECT_TRUE(item->IsEqual(withoutUnits.get(), true, true, true, true, true, true));

    ASSERT_TRUE(item->DeleteUnit(0));
    ASSERT_TRUE(item->GetUnit(0, unit));
    EXPECT_EQ(unit->Description, "km");
}

TEST(NumericalItem, CopyTakesAnswersAndAppendsUnitsClearRemovesThem)
{
    auto source = Numerical().value("7", "1", "1").build();
    source->AddUnit({"1", "kg"});
    auto target = std::make_unique<CNumericalItem>();
    ASSERT_TRUE(target->CopyFrom(source.get()));
    EXPECT_EQ(target->GetAnswerCount(), 1);
    EXPECT_EQ(target->GetUnitCount(), 1);
    EXPECT_TRUE(target->IsEqual(source.get(), true, true, true, true, true, true));

    target->SetCommonUserAnswerInfo({5, "7", ""});
    ASSERT_TRUE(target->Clear());
    EXPECT_EQ(target->GetAnswerCount(), 0);
    EXPECT_EQ(target->GetUnitCount(), 0);
    EXPECT_FALSE(target->IsAnswered());
}

TEST(NumericalItem, BlankAnswersNeedAnEmptyOrZeroToleranceToo)
{
    auto blank = Numerical().value("", "0", "0").value(" ", "", "").build();
    EXPECT_TRUE(blank->IsAllAnswerBlanksIsEmpty());
    auto withTolerance = Numerical().value("", "0", "0.5").build();
    EXPECT_FALSE(withTolerance->IsAllAnswerBlanksIsEmpty());
    auto shortAnswerWithTolerance = ShortAnswer().answer("", "0", "", "0.5").build();
    EXPECT_TRUE(shortAnswerWithTolerance->IsAllAnswerBlanksIsEmpty());
}

// --- Matching ---

struct MatchingCase
{
    const char* name;
    std::vector<std::string> chosen; // the user's choice per pair; the right ones are "A", "B", "C"
    int expected;
};

class MatchingGrading : public testing::TestWithParam<MatchingCase>
{
};

TEST_P(MatchingGrading, GradesThePairsTheUserAnswered)
{
    auto item = Matching()
                    .answer("one", "A", GetParam().chosen[0])
                    .answer("two", "B", GetParam().chosen[1])
                    .answer("three", "C", GetParam().chosen[2])
                    .build();
    EXPECT_EQ(item->GetResult(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Items, MatchingGrading,
                         testing::Values(MatchingCase{"AllRight", {"A", "B", "C"}, 1},
                                         MatchingCase{"TwoRightOneEmpty", {"A", "B", ""}, 1},
                                         MatchingCase{"TwoRightOneWrong", {"A", "B", "A"}, 2},
                                         MatchingCase{"WrongFirstThenRight", {"B", "B", ""}, 2},
                                         MatchingCase{"AllWrong", {"C", "A", "B"}, 0},
                                         MatchingCase{"MatchIsCaseSensitive", {"a", "", ""}, 0},
                                         MatchingCase{"NoneAnswered", {"", "", ""}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatchingItem, AnsweredWhileAnyPairHasAChoiceAndClearedWithIt)
{
    auto item = Matching().answer("one", "A").answer("two", "B", "B").build();
    EXPECT_TRUE(item->IsAnswered());
    EXPECT_FALSE(item->IsTypedAnswer());
    item->ClearUserAnswer();
    EXPECT_FALSE(item->IsAnswered());
    EXPECT_EQ(UserAnswers(*item), ",");
    EXPECT_EQ(item->GetResult(), 0);
}

TEST(MatchingItem, CopyAndComparisonCoverPairsButNotChoices)
{
    auto source = Matching()
                      .answer("one", "A", "B")
                      .answer("two", "B")
                      .with([](CMatchingItem& i) { i.SetShuffle(1); })
                      .build();
    auto target = std::make_unique<CMatchingItem>();
    ASSERT_TRUE(target->CopyFrom(source.get()));
    EXPECT_EQ(target->GetShuffle(), 1);
    EXPECT_EQ(UserAnswers(*target), "B,");
    target->ClearUserAnswer();
    EXPECT_TRUE(target->IsEqual(source.get(), true, true, true, true, true, true));

    SAnswerItem* pair = nullptr;
    ASSERT_TRUE(target->GetAnswer(1, pair));
    pair->Correct = "C";
    EXPECT_FALSE(target->IsEqual(source.get(), false, false, false, true, false, false));
}

// --- Shared list behaviour of the three kinds ---

template <class Item> class TypedListItem : public testing::Test
{
};
using ListKinds = testing::Types<CShortAnswerItem, CNumericalItem, CMatchingItem>;
TYPED_TEST_SUITE(TypedListItem, ListKinds);

TYPED_TEST(TypedListItem, ListOperationsRefuseBadIndexesAndIdsWithoutChanges)
{
    lf::test::ItemBuilder<TypeParam> builder;
    auto item = builder.answer("a", "1").answer("b", "0").answer("c", "").build();
    EXPECT_EQ(item->GetCorrectAnswerCount(), 1);

    SAnswerItem* a = nullptr;
    EXPECT_FALSE(item->GetAnswer(3, a));
    EXPECT_FALSE(item->DeleteAnswer(-1));
    EXPECT_FALSE(item->DeleteAnswer(3));
    SAnswerItem unknown;
    unknown.ID = 99;
    EXPECT_FALSE(item->UpdateAnswer(unknown));
    EXPECT_FALSE(item->FindAnswerById(99, &unknown, nullptr));
    EXPECT_EQ(item->GetAnswerCount(), 3);

    ASSERT_TRUE(item->DeleteAnswer(1));
    SAnswerItem found;
    std::int32_t index = -1;
    ASSERT_TRUE(item->FindAnswerById(3, &found, &index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(found.AnswerText, "c");

    ASSERT_TRUE(item->Clear());
    EXPECT_EQ(item->GetAnswerCount(), 0);
    EXPECT_TRUE(item->IsAllAnswerBlanksIsEmpty());
}

TYPED_TEST(TypedListItem, CopyFromAnotherKindTakesOnlyTheCommonFields)
{
    auto source = lf::test::MultipleChoice().name("Capital").answer("Paris", "1").build();
    lf::test::ItemBuilder<TypeParam> builder;
    auto item = builder.answer("own", "1").build();
    ASSERT_TRUE(item->CopyFrom(source.get()));
    EXPECT_EQ(item->GetName(), "Capital");
    ASSERT_EQ(item->GetAnswerCount(), 1);
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(item->GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "own");
    EXPECT_FALSE(item->IsEqual(source.get(), false, false, false, false, false, false));
}

} // namespace
