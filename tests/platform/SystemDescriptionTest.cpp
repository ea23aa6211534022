#include "platform/sys/SystemDescription.h"

#include <gtest/gtest.h>

namespace
{

using namespace lf::sys;

TEST(SystemDescription, KernelMajorVersionIsTheLeadingNumberOfTheRelease)
{
    EXPECT_EQ(KernelMajorVersion("6.1.0-18-amd64", 3), 6);
    EXPECT_EQ(KernelMajorVersion("10", 3), 10);
    EXPECT_EQ(KernelMajorVersion("", 3), 3);
    EXPECT_EQ(KernelMajorVersion("rc1", 3), 3);
    EXPECT_EQ(KernelMajorVersion("99999999999.1", 3), 3); // too large for an int
}

TEST(SystemDescription, VersionTextLeavesOutWhatIsNotKnown)
{
    EXPECT_EQ(SystemVersionText({"Debian GNU/Linux 12 (bookworm)", "Linux", "6.1.0"}),
              "Debian GNU/Linux 12 (bookworm), Linux 6.1.0");
    EXPECT_EQ(SystemVersionText({"", "", "6.1.0"}), "6.1.0");
    EXPECT_EQ(SystemVersionText({"", "", ""}), "");
    const SystemDescription here = DescribeSystem();
    EXPECT_FALSE(here.kernelName.empty()); // uname works on every system this builds on
}

} // namespace
