#include "platform/sys/TextCase.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using namespace lf::sys;

TEST(TextCase, FoldsLettersBeyondAscii)
{
    EXPECT_EQ(LowerCase("ÄÖÜ Straße ΣΑΣ ABC"), "äöü straße σασ abc");
    EXPECT_EQ(UpperCase("äöü σας abc"), "ÄÖÜ ΣΑΣ ABC");
    EXPECT_TRUE(SameTextNoCase("Ärger", "äRGER"));
    EXPECT_TRUE(SameTextNoCase("Straße", "STRASSE")); // full folding
    EXPECT_FALSE(SameTextNoCase("Ärger", "Arger"));
}

TEST(TextCase, ComparisonOrdersByFoldedText)
{
    EXPECT_EQ(CompareTextNoCase("paris", "PARIS"), 0);
    EXPECT_LT(CompareTextNoCase("apple", "Banana"), 0); // byte-wise "B" < "a", but not here
    EXPECT_GT(CompareTextNoCase("Zebra", "apple"), 0);
    EXPECT_LT(CompareTextNoCase("ab", "ABC"), 0);
    EXPECT_LT(CompareTextNoCase("", "a"), 0);
}

TEST(TextCase, PrefixAndSuffixIgnoreCase)
{
    EXPECT_TRUE(StartsWithNoCase("FILE:///home", "file://"));
    EXPECT_FALSE(StartsWithNoCase("fil", "file"));
    EXPECT_TRUE(EndsWithNoCase("Book.LNF", ".lnf"));
    EXPECT_FALSE(EndsWithNoCase("Book.lnf4", ".lnf"));
}

TEST(TextCase, InvalidBytesStayAsTheyAre)
{
    const std::string broken = std::string("A\xFF") + "B\xC3"; // a stray byte and a cut sequence
    EXPECT_EQ(LowerCase(broken), std::string("a\xFF") + "b\xC3");
    EXPECT_EQ(UpperCase(std::string("a\x80z", 3)), std::string("A\x80Z", 3));
    EXPECT_TRUE(SameTextNoCase(broken, std::string("a\xFF") + "b\xC3"));
    EXPECT_EQ(LowerCase(std::string("A\0B", 3)), std::string("a\0b", 3));
}

} // namespace

namespace
{

TEST(TextCase, AsciiCaseChangesOnlyAsciiLettersAndKeepsEveryByteInPlace)
{
    const std::string mixed = "Äb-Z@[`{ÖX\xFF";
    EXPECT_EQ(lf::sys::AsciiLower(mixed), "Äb-z@[`{Öx\xFF");
    EXPECT_EQ(lf::sys::AsciiUpper(mixed), "ÄB-Z@[`{ÖX\xFF");
    EXPECT_EQ(lf::sys::AsciiLower(mixed).size(), mixed.size());
    EXPECT_TRUE(lf::sys::SameTextAsciiNoCase("clWindowText", "CLWINDOWTEXT"));
    EXPECT_FALSE(lf::sys::SameTextAsciiNoCase("Ä", "ä")); // not a Unicode fold
    EXPECT_FALSE(lf::sys::SameTextAsciiNoCase("yes", "yes "));
    EXPECT_FALSE(lf::sys::SameTextAsciiNoCase("@", "`")); // the neighbours of the letters stay apart
}

} // namespace
