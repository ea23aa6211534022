// Entry of every window test program: a scratch home and a QApplication, on the offscreen platform
// unless the caller chose another (test discovery runs the program without the test's environment).
#include "tests/support/ScratchHome.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto root = lf::test::EnterScratchHome();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    lf::test::LeaveScratchHome(root);
    return result;
}
