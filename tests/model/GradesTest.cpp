#include "model/items/Grades.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using lf::test::PrintTo;

struct FractionCase
{
    const char* fraction;
    int index;
    const char* percent;
};

class GradeFractionLookup : public ::testing::TestWithParam<FractionCase>
{
};

TEST_P(GradeFractionLookup, GivesIndexAndPercent)
{
    const auto& c = GetParam();
    EXPECT_EQ(GradeFractionToIndex(c.fraction), c.index);
    EXPECT_EQ(GradeFractionToPercent(c.fraction), c.percent);
}

INSTANTIATE_TEST_SUITE_P(Table, GradeFractionLookup,
                         ::testing::Values(FractionCase{"1", 0, "100"}, FractionCase{"0.83333", 2, "83.333"},
                                           FractionCase{"0.33333", 10, "33.333"},
                                           FractionCase{"0.142857", 15, "14.2857"},
                                           FractionCase{"0", 20, "0"}, FractionCase{"-0.05", 21, "-5"},
                                           FractionCase{"-0.3", 29, "-30"}, FractionCase{"-1", 40, "-100"},
                                           // Texts are not read as numbers: off the table counts as "0".
                                           FractionCase{"0.50", 20, "0"}, FractionCase{"", 20, "0"},
                                           FractionCase{" 1", 20, "0"}));

TEST(GradeTables, PercentToFractionIsExact)
{
    EXPECT_EQ(GradePercentToFraction("100"), "1");
    EXPECT_EQ(GradePercentToFraction("33.333"), "0.33333");
    EXPECT_EQ(GradePercentToFraction("33.3333"), "0");
    EXPECT_EQ(GradePercentToFraction("-100"), "-1");
    EXPECT_EQ(GradePercentToFraction("12.5"), "0.125");
}

TEST(GradeTables, IndexToFractionOutsideTheTableIsZero)
{
    EXPECT_EQ(GradeIndexToFraction(41), "0");
    EXPECT_EQ(GradeIndexToFraction(-1), "0");
    EXPECT_EQ(GradeIndexToFraction(40), "-1");
    EXPECT_EQ(GradeIndexToFraction(20), "0");
}

TEST(GradeTables, EveryIndexRoundTrips)
{
    for (int i = 0; i < kGradeCount; ++i)
    {
        EXPECT_EQ(GradeFractionToIndex(GradeIndexToFraction(i)), i) << i;
        EXPECT_EQ(GradePercentToFraction(GradeIndexToPercent(i)), GradeIndexToFraction(i)) << i;
    }
}

struct CreditCase
{
    const char* grade;
    bool credited;
};

class CreditedGrade : public ::testing::TestWithParam<CreditCase>
{
};

TEST_P(CreditedGrade, EmptyOrANumberAboveZero)
{
    EXPECT_EQ(IsCreditedGrade(GetParam().grade), GetParam().credited) << '"' << GetParam().grade << '"';
}

INSTANTIATE_TEST_SUITE_P(Grades, CreditedGrade,
                         ::testing::Values(CreditCase{"1", true}, CreditCase{"0.5", true},
                                           CreditCase{"0.05", true}, CreditCase{"", true},
                                           CreditCase{"  ", true}, CreditCase{" 1 ", true},
                                           CreditCase{"+0.5", true}, CreditCase{"1e-3", true},
                                           CreditCase{"0", false}, CreditCase{"0.0", false},
                                           CreditCase{"-0", false}, CreditCase{"-0.5", false},
                                           CreditCase{"-1", false}, CreditCase{"x", false},
                                           CreditCase{"1x", false}, CreditCase{"0,5", false}));

} // namespace
