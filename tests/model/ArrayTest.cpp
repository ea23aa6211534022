#include "model/support/Array.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace
{

TEST(CArray, AppendingOneByOneFollowsTheGrowthRule)
{
    CArray<int, int> array;
    std::vector<int> capacities;
    for (int i = 0; i < 40; ++i)
    {
        EXPECT_EQ(array.Add(i), i);
        capacities.push_back(array.GetCapacity());
    }
    // The first block is exact; then 4 more places while the size is below 32.
    const std::vector<int> expectedFirst = {1, 5, 5, 5, 5, 9};
    EXPECT_EQ(std::vector<int>(capacities.begin(), capacities.begin() + 6), expectedFirst);
    EXPECT_EQ(capacities[32], 33);
    EXPECT_EQ(capacities[33], 37); // 33 / 8 = 4
    EXPECT_EQ(capacities[37], 41);

    CArray<int, int> big;
    big.SetSize(8200);
    big.Add(1);
    EXPECT_EQ(big.GetCapacity(), 8200 + 1024);
    big.SetSize(0);
    big.SetSize(100);
    big.Add(1);
    EXPECT_EQ(big.GetCapacity(), 112); // 100 / 8 = 12
}

TEST(CArray, ShrinkingKeepsCapacityAndZeroFreesTheBlock)
{
    CStringArray array;
    array.SetSize(10);
    array.ElementAt(9) = "last";
    array.SetSize(3);
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.GetCapacity(), 10);
    array.SetSize(5);
    EXPECT_EQ(array.ElementAt(4), ""); // re-grown places start empty
    array.SetSize(0);
    EXPECT_EQ(array.GetData(), nullptr);
    EXPECT_EQ(array.GetCapacity(), 0);
}

TEST(CArray, SetAtGrowFillsTheGapWithDefaults)
{
    CStringArray array;
    array.SetAtGrow(5, "v");
    ASSERT_EQ(array.GetSize(), 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(array.ElementAt(i), "");
    EXPECT_EQ(array.ElementAt(5), "v");
}

TEST(CArray, ShortStringsSurviveRelocation)
{
    // Short strings live inside the string object itself; a bitwise move would leave them pointing into
    // the freed block.
    CStringArray array;
    for (int i = 0; i < 100; ++i)
        array.Add("s" + std::to_string(i));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(array.ElementAt(i), "s" + std::to_string(i));
    array.Add(array.ElementAt(0)); // an element of the array itself, added while the block grows
    EXPECT_EQ(array.ElementAt(100), "s0");
}

TEST(CArray, ReserveMakesRoomOnceAndKeepsTheElements)
{
    CStringArray array;
    array.Add("first");
    array.Reserve(1000);
    EXPECT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array.GetCapacity(), 1000);
    const std::string* block = array.GetData();
    for (int i = 1; i < 1000; ++i)
        array.Add("s" + std::to_string(i));
    EXPECT_EQ(array.GetData(), block); // no further move
    EXPECT_EQ(array.ElementAt(0), "first");
    EXPECT_EQ(array.ElementAt(999), "s999");
    array.Reserve(10); // never shrinks
    EXPECT_EQ(array.GetCapacity(), 1000);
    EXPECT_EQ(array.GetGrowBy(), 0); // the growth rule is untouched
}

TEST(CArray, RemoveAtAndCopiesKeepTheOtherElements)
{
    CStringArray array;
    for (const char* s : {"a", "b", "c", "d", "e"})
        array.Add(s);
    array.RemoveAt(1, 2);
    CStringArray copy = array;
    array.ElementAt(0) = "changed";
    ASSERT_EQ(copy.GetSize(), 3);
    EXPECT_EQ(copy.ElementAt(0), "a");
    EXPECT_EQ(copy.ElementAt(1), "d");
    EXPECT_EQ(copy.ElementAt(2), "e");
    EXPECT_TRUE(StringArrayContains(copy, "d"));
    EXPECT_FALSE(StringArrayContains(copy, "D"));
}

TEST(Shuffle, DrawsWithoutReplacementFromTheSeededGenerator)
{
    lf::sys::SeedRandom(7);
    CIntArray array;
    for (int i = 0; i < 20; ++i)
        array.Add(i);
    ShuffleIntArray(array);
    std::vector<int> shuffled(array.begin(), array.end());
    std::vector<int> sorted = shuffled;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(sorted[static_cast<std::size_t>(i)], i);

    // The same seed gives the same order.
    lf::sys::SeedRandom(7);
    CIntArray again;
    for (int i = 0; i < 20; ++i)
        again.Add(i);
    ShuffleIntArray(again);
    EXPECT_EQ(std::vector<int>(again.begin(), again.end()), shuffled);
    EXPECT_NE(shuffled, sorted);
}

TEST(Shuffle, DrawsTheSameOrderAsTakingFromAListOneByOne)
{
    // The draw of the r-th remaining element, done the plain way on a list that closes up after every
    // draw: the shuffle must give exactly this order for the same generator state.
    for (const int count : {2, 3, 17, 1000, 4099})
    {
        lf::sys::SeedRandom(static_cast<std::uint32_t>(count));
        std::vector<int> pool(static_cast<std::size_t>(count));
        std::iota(pool.begin(), pool.end(), 0);
        std::vector<int> expected;
        while (!pool.empty())
        {
            const auto r = static_cast<std::size_t>(lf::sys::Random(static_cast<int>(pool.size())));
            expected.push_back(pool[r]);
            pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(r));
        }
        const int expectedNext = lf::sys::Random(1000);

        lf::sys::SeedRandom(static_cast<std::uint32_t>(count));
        CStringArray array;
        for (int i = 0; i < count; ++i)
            array.Add(std::to_string(i));
        ShuffleStringArray(array);
        ASSERT_EQ(array.GetSize(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(array[i], std::to_string(expected[static_cast<std::size_t>(i)]))
                << count << " at " << i;
        EXPECT_EQ(lf::sys::Random(1000), expectedNext) << "one draw per element";
    }
}

TEST(Shuffle, OneElementDrawsNoRandomNumber)
{
    lf::sys::SeedRandom(3);
    const int expectedNext = lf::sys::Random(1000);
    lf::sys::SeedRandom(3);
    CStringArray one;
    one.Add("only");
    ShuffleStringArray(one);
    EXPECT_EQ(one.ElementAt(0), "only");
    EXPECT_EQ(lf::sys::Random(1000), expectedNext);
}

TEST(Random, StaysInRangeAndZeroGivesZero)
{
    lf::sys::SeedRandom(11);
    EXPECT_EQ(lf::sys::Random(0), 0);
    for (int i = 0; i < 1000; ++i)
    {
        const int r = lf::sys::Random(-6);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 6);
    }
}

} // namespace
