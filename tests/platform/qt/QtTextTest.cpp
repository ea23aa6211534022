#include "platform/qt/QtText.h"

#include <gtest/gtest.h>

TEST(QtText, Utf8SurvivesTheRoundTripThroughQString)
{
    const std::string text = "naïve über Ærø – 数学";
    const QString q = lf::qt::ToQString(text);
    EXPECT_EQ(q.size(), 19);
    EXPECT_EQ(lf::qt::ToStdString(q), text);
}
