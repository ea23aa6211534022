// Entry of every test program without windows: the tests run inside a scratch home.
#include "tests/support/ScratchHome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const auto root = lf::test::EnterScratchHome();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    lf::test::LeaveScratchHome(root);
    return result;
}
