#include "platform/sys/TextLines.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

struct LinesCase
{
    const char* name;
    std::string_view text;
    std::vector<std::string_view> lines;
};

class TextLinesTest : public ::testing::TestWithParam<LinesCase>
{
};

TEST_P(TextLinesTest, EachKindOfLineBreakEndsOneLine)
{
    EXPECT_EQ(lf::sys::SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextLinesTest,
                         ::testing::Values(LinesCase{"Empty", "", {""}}, LinesCase{"OneLine", "a", {"a"}},
                                           LinesCase{"AllThreeBreaks", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                                           LinesCase{"FinalBreakGivesAnEmptyLine", "a\n", {"a", ""}},
                                           LinesCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                                           LinesCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                                           LinesCase{"OnlyACrAtTheEnd", "\r", {"", ""}}),
                         [](const ::testing::TestParamInfo<LinesCase>& info)
                         { return std::string(info.param.name); });

} // namespace
