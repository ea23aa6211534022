// The new-version check of the main window against a loopback server: the offer and its notification,
// the manual check's "most current" message, the silent endings, one check at a time, the time limit,
// and the Download button's addresses.
#include "mainwindow/dialogs/NewVersionNotification.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/support/qt/LoopbackServer.h"
#include "tests/support/qt/RecordingDesktop.h"

#include <QTest>

#include <gtest/gtest.h>

namespace
{

using lf::test::LoopbackServer;
using lf::test::Named;

constexpr const char* kCurrentMessage = "You are running the most current version of Lernfold.";

class NewVersionCheck : public testing::Test, public lf::test::MainWindowHarness
{
protected:
    ~NewVersionCheck() override { windows.reset(); }

    // The windows made and pointed at the page before the first showing, as the program starts.
    void StartWith(const std::string& page, bool checkAtStart, int timeoutMs = 5000)
    {
        WriteValueToRegistry("EnabledAutoUpdate", checkAtStart ? 1 : 0);
        windows = std::make_unique<CApplicationWindows>();
        Probe().SetVersionPage(page, timeoutMs);
        Main().FormShow({});
        Main().show();
    }
    // Help > Check for Updates, and the wait until the check has ended.
    void CheckManually()
    {
        Trigger("CheckforUpdates1");
        WaitForTheCheck();
    }
    void WaitForTheCheck()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Probe().UpdateCheckRunning(); }, 10000));
    }
    // The notification answered by a handler that reads the offer and presses a button.
    void AnswerNotification(const char* button, std::string* offered = nullptr)
    {
        dialogs.AnswerModal(
            [button, offered](QDialog& shown)
            {
                shown.show();
                if (offered)
                    *offered = Named<QLabel>(shown, "m_UpdateVersionStr")->text().toStdString();
                Named<QPushButton>(shown, button)->click();
                return shown.result();
            });
    }

    lf::test::RecordingDesktop desktop;
};

TEST_F(NewVersionCheck, NewerBuildIsOfferedAndCloseOnlyClosesTheNotification)
{
    LoopbackServer server(LoopbackServer::TextReply(
        "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611;DOWNLOAD_URL=http://dl.example/setup"));
    StartWith(server.Url(), false);
    std::string offered;
    AnswerNotification("m_CloseBtn", &offered);
    CheckManually();
    EXPECT_EQ(offered, "4.9 (Build 611)");
    EXPECT_EQ(dialogs.modalWindows, (std::vector<std::string>{"Tm_NewVersionNotification"}));
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    // The page is asked past any cache.
    EXPECT_TRUE(server.request.startsWith("GET /version.txt"));
    EXPECT_TRUE(server.request.contains("no-cache"));
}

TEST_F(NewVersionCheck, LowerCaseNamesAreFoundAndDownloadOpensTheAddressAndCloses)
{
    LoopbackServer server(LoopbackServer::TextReply(
        "major_ver=5;minor_ver=0;build_num=1;download_url= https://dl.example/setup "));
    StartWith(server.Url(), false);
    std::string offered;
    AnswerNotification("m_Download", &offered);
    CheckManually();
    EXPECT_EQ(offered, "5.0 (Build 1)");
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{"https://dl.example/setup"}));
    EXPECT_FALSE(Main().isVisible());
}

TEST_F(NewVersionCheck, DownloadOfAnAddressThatIsNoWebAddressOpensNothing)
{
    LoopbackServer server(LoopbackServer::TextReply(
        "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611;DOWNLOAD_URL=file:///usr/bin/xterm"));
    StartWith(server.Url(), false);
    AnswerNotification("m_Download");
    CheckManually();
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(LogHas(
        "Tm_NewVersionNotification::m_DownloadClick - ERROR, not a web address: file:///usr/bin/xterm"));
}

TEST_F(NewVersionCheck, SameVersionIsReportedOnlyWhenAskedFromTheMenu)
{
    LoopbackServer server(LoopbackServer::TextReply(
        "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=610;DOWNLOAD_URL=http://dl.example/setup"));
    // At start-up: the page is read, nothing is said.
    StartWith(server.Url(), true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requests == 1; }, 10000));
    WaitForTheCheck();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.modalWindows.empty());

    dialogs.AnswerMessage(1);
    CheckManually();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kCurrentMessage);
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Information);
    EXPECT_EQ(dialogs.messages[0].buttons, lf::qt::MsgButtons::Ok);
    EXPECT_EQ(server.requests, 2);
}

TEST_F(NewVersionCheck, IncompleteRepliesAndFailuresEndSilentlyAlsoFromTheMenu)
{
    LoopbackServer missingAddress(LoopbackServer::TextReply("MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611"));
    LoopbackServer notANumber(LoopbackServer::TextReply(
        "MAJOR_VER=4;MINOR_VER=x;BUILD_NUM=611;DOWNLOAD_URL=http://dl.example/setup"));
    LoopbackServer errorPage(LoopbackServer::TextReply(
        "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611;DOWNLOAD_URL=http://dl.example/setup", "404 Not Found"));
    std::string refused;
    {
        LoopbackServer closed("x");
        refused = closed.Url();
    }
    StartWith(missingAddress.Url(), false);
    for (const std::string& page : {missingAddress.Url(), notANumber.Url(), errorPage.Url(), refused})
    {
        Probe().SetVersionPage(page, 5000);
        CheckManually();
        EXPECT_TRUE(dialogs.messages.empty()) << page;
        EXPECT_TRUE(dialogs.modalWindows.empty()) << page;
    }
    EXPECT_EQ(missingAddress.requests + notANumber.requests + errorPage.requests, 3);
}

TEST_F(NewVersionCheck, OneCheckAtATimeAndAPageThatNeverComesEndsAtTheTimeLimit)
{
    LoopbackServer silent("");
    StartWith(silent.Url(), false, 400);
    Trigger("CheckforUpdates1");
    Trigger("CheckforUpdates1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return silent.requests == 1; }, 10000));
    EXPECT_TRUE(Probe().UpdateCheckRunning());
    QTest::qWait(100);
    EXPECT_EQ(silent.requests, 1);
    // The time limit ends the check without a word, and the next check runs again.
    WaitForTheCheck();
    EXPECT_TRUE(dialogs.messages.empty());
    Trigger("CheckforUpdates1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return silent.requests == 2; }, 10000));
    WaitForTheCheck();
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NewVersionCheck, NotificationCheckBoxWritesTheStartUpOptionAtOnce)
{
    StartWith("http://127.0.0.1:9/", false);
    Tm_NewVersionNotification& note = Probe().NewVersionNotification();
    EXPECT_EQ(note.windowTitle().toStdString(), "New Version Notification");
    EXPECT_EQ(note.size(), QSize(449, 165));
    EXPECT_TRUE(note.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    note.show();
    auto* box = Named<QCheckBox>(note, "m_ChekNewVersionCheck");
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(Prefs().m_EnabledAutoUpdate);
    QTest::keyClick(&note, Qt::Key_Escape);
    EXPECT_EQ(note.result(), Tm_NewVersionNotification::kClose);
}

} // namespace
