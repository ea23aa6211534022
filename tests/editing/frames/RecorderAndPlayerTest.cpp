// The voice recorder and the player frame over the fake media back-end: the command strings in order,
// the retry of a device left open, the modal results, the status texts on the manual clock, and the
// video window of the player frame.
#include "editing/frames/Playerframe.h"
#include "editing/frames/Recorderdlg.h"

#include "ui_Playerframe.h"
#include "ui_Recorderdlg.h"

#include "model/support/Log.h"
#include "tests/editing/frames/FakeMedia.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QTest>
#include <QVideoWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
namespace fs = std::filesystem;

const std::string kOpen = "OPEN NEW TYPE WAVEAUDIO ALIAS lfdsound";
const std::string kSet =
    "SET lfdsound TIME FORMAT MS BITSPERSAMPLE 8 CHANNELS 1 SAMPLESPERSEC 8000 BYTESPERSEC 8000";
const std::string kRecord = "RECORD lfdsound";
const std::string kClose = "CLOSE lfdsound";
const std::string kOverwrite =
    "Re-recording the file will overwrite the previous version.\nDo you want to continue?";

class RecorderTest : public ::testing::Test
{
protected:
    RecorderTest() : clock(&system) { target = dir.file("Bio_1_q_1.wav"); }

    std::string Save() const { return "SAVE lfdsound \"" + target + "\""; }
    std::string Status(TCRecorderDlg& recorder) const
    {
        return recorder.Form().m_pStatusPanel->text().toStdString();
    }

    lf::test::TempDir dir;
    lf::test::FakeSystem system;
    lf::test::ManualClock clock;
    lf::test::ScriptedDialogs dialogs;
    lf::test::FakeMediaBackend media;
    std::string target;
};

TEST_F(RecorderTest, RecordThenStopSendsTheCommandsInOrderAndWritesAWaveFile)
{
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    EXPECT_FALSE(recorder.Form().m_DeleteBtn->isEnabled());
    EXPECT_TRUE(recorder.Form().m_pPlayerProgressBar->isHidden());

    recorder.Form().m_pRecordBtn->click();
    EXPECT_TRUE(dialogs.messages.empty()); // no file yet: nothing to ask
    EXPECT_TRUE(recorder.IsRecording());
    recorder.Form().m_pStopBtn->click();
    EXPECT_EQ(media.wave.commands, (std::vector<std::string>{kOpen, kSet, kRecord, Save(), kClose}));
    EXPECT_FALSE(recorder.IsRecording());

    // The recording is a valid 8-bit mono 8000 Hz PCM wave file, ready to be played back.
    const std::string bytes = lf::test::ReadFile(target);
    ASSERT_EQ(bytes.size(), 44u + media.wave.samplesPerRecording);
    EXPECT_EQ(
        bytes.substr(0, 44),
        MakeWaveHeader(SWaveFormat{1, 8000, 8}, static_cast<std::uint32_t>(media.wave.samplesPerRecording)));
    EXPECT_EQ(media.players.at(0)->fileName, target);
    EXPECT_EQ(media.players.at(0)->mode, EPlayerMode::Stopped);
    EXPECT_TRUE(recorder.Form().m_DeleteBtn->isEnabled());
    EXPECT_TRUE(recorder.Form().m_pPlayBtn->isEnabled());
    EXPECT_FALSE(recorder.Form().m_pPlayerProgressBar->isHidden());
    EXPECT_EQ(Status(recorder), "Ready");
}

TEST_F(RecorderTest, StatusCountsTheRecordingOnTheClock)
{
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    EXPECT_EQ(Status(recorder), "Ready...");
    recorder.m_pRecordBtnClick();
    clock.Advance(5000);
    EXPECT_EQ(Status(recorder), "Recording - 0:00:05");
    EXPECT_FALSE(recorder.Form().m_pPlayBtn->isEnabled());
    EXPECT_FALSE(recorder.Form().m_pPauseBtn->isEnabled());
    EXPECT_FALSE(recorder.Form().m_pRecordBtn->isEnabled());
    EXPECT_TRUE(recorder.Form().m_pStopBtn->isEnabled());
    EXPECT_TRUE(recorder.Form().m_pPlayerProgressBar->isHidden());
    clock.Advance(3'600'000);
    EXPECT_EQ(Status(recorder), "Recording - 1:00:05");
}

TEST_F(RecorderTest, PlaybackButtonsAndStatusFollowThePlayer)
{
    lf::test::WriteFile(target, MakeWaveHeader(SWaveFormat(), 0));
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    lf::test::FakeMediaPlayer& player = *media.players.at(0);
    EXPECT_EQ(player.calls, (std::vector<std::string>{"open"}));
    EXPECT_TRUE(recorder.Form().m_DeleteBtn->isEnabled());

    recorder.Form().m_pPlayBtn->click();
    EXPECT_EQ(Status(recorder), "Playing");
    EXPECT_TRUE(recorder.Form().m_pPauseBtn->isEnabled());
    EXPECT_FALSE(recorder.Form().m_pPlayBtn->isEnabled());
    player.position = 1500;
    clock.Advance(100);
    EXPECT_EQ(recorder.Form().m_pPlayerProgressBar->maximum(), 4000);
    EXPECT_EQ(recorder.Form().m_pPlayerProgressBar->value(), 1500);
    recorder.Form().m_pPauseBtn->click();
    EXPECT_EQ(Status(recorder), "Paused");
    EXPECT_TRUE(recorder.Form().m_pStopBtn->isEnabled());
    recorder.Form().m_pStopBtn->click();
    EXPECT_EQ(Status(recorder), "Ready");
    EXPECT_EQ(player.position, 0);
    EXPECT_FALSE(recorder.Form().m_pStopBtn->isEnabled());
}

TEST_F(RecorderTest, OverwriteQuestionAnsweredNoSendsNothing)
{
    lf::test::WriteFile(target, "old");
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    dialogs.AnswerMessage(lf::qt::mrNo);
    recorder.m_pRecordBtnClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              (lf::qt::SMessage{MsgKind::Confirmation, kOverwrite, MsgButtons::YesNo, ""}));
    EXPECT_TRUE(media.wave.commands.empty());
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_EQ(media.players.at(0)->mode, EPlayerMode::Stopped); // the player still holds the file
    EXPECT_EQ(lf::test::ReadFile(target), "old");
}

TEST_F(RecorderTest, DeviceLeftOpenIsClosedAndOpenedAgain)
{
    media.wave.aliasOpen = true; // left open by an earlier failure
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    recorder.m_pRecordBtnClick();
    EXPECT_EQ(media.wave.commands, (std::vector<std::string>{kOpen, kClose, kOpen, kSet, kRecord}));
    EXPECT_TRUE(recorder.IsRecording());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RecorderTest, FailureShowsAndLogsTheDevicesText)
{
    lf::test::TempDir logs;
    SetLogBooksDirectory(logs.folder());
    media.wave.failures["RECORD"] = {kWaveNoRecorder};
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    dialogs.AnswerMessage(lf::qt::mrOk);
    recorder.m_pRecordBtnClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              (lf::qt::SMessage{MsgKind::Error, WaveErrorText(kWaveNoRecorder), MsgButtons::Ok, ""}));
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_EQ(Status(recorder), "Ready..."); // no player mode that changes it

    // A code the device has no text for.
    media.wave.failures["OPEN"] = {999, 999};
    dialogs.AnswerMessage(lf::qt::mrOk);
    recorder.m_pRecordBtnClick();
    EXPECT_EQ(dialogs.messages.back().text, "Unknown error.");
    SetLogBooksDirectory("");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(RecorderTest, CancelDropsARunningRecording)
{
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    recorder.m_pRecordBtnClick();
    recorder.Form().m_CancelBtn->click();
    EXPECT_EQ(recorder.result(), lf::qt::mrCancel);
    EXPECT_EQ(media.wave.commands.back(), kClose);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(media.wave.aliasOpen);
}

TEST_F(RecorderTest, OkSavesARunningRecording)
{
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    recorder.m_pRecordBtnClick();
    recorder.Form().m_OkBtn->click();
    EXPECT_EQ(recorder.result(), lf::qt::mrOk);
    EXPECT_EQ(media.wave.commands, (std::vector<std::string>{kOpen, kSet, kRecord, Save(), kClose}));
    EXPECT_TRUE(fs::is_regular_file(target));
}

TEST_F(RecorderTest, DeleteAnsweredNoDropsTheRecordingAndStays)
{
    TCRecorderDlg recorder;
    recorder.SetFileName(target);
    recorder.m_pRecordBtnClick();
    dialogs.AnswerMessage(lf::qt::mrNo);
    recorder.Form().m_DeleteBtn->setEnabled(true); // as it is when a file exists
    recorder.Form().m_DeleteBtn->click();
    EXPECT_EQ(dialogs.messages.back(),
              (lf::qt::SMessage{MsgKind::Confirmation, "Do you want to delete the recording?",
                                MsgButtons::YesNo, ""}));
    EXPECT_EQ(recorder.result(), lf::qt::mrNone);
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_EQ(media.wave.commands.back(), kClose);
    EXPECT_FALSE(fs::exists(target));

    dialogs.AnswerMessage(lf::qt::mrYes);
    recorder.m_DeleteBtnClick();
    EXPECT_EQ(recorder.result(), lf::qt::mrNo); // 7: the caller deletes
}

// --- the player frame ---

class PlayerFrameTest : public RecorderTest
{
protected:
    lf::test::FakeMediaPlayer& Player() { return *media.players.at(0); }
};

TEST_F(PlayerFrameTest, SoundPlaysWithoutAWindow)
{
    const std::string sound = dir.file("hello.wav");
    lf::test::WriteFile(sound, MakeWaveHeader(SWaveFormat(), 0));
    TCPlayerFrame frame;
    EXPECT_FALSE(frame.Form().m_pPlayBtn->isEnabled());
    frame.PlayFile(sound);
    EXPECT_EQ(Player().calls, (std::vector<std::string>{"open", "play"}));
    EXPECT_EQ(frame.VideoScreen(), nullptr);
    EXPECT_TRUE(frame.Form().m_pPauseBtn->isEnabled());
    EXPECT_TRUE(frame.Form().m_pStopBtn->isEnabled());
    EXPECT_FALSE(frame.Form().m_pPlayBtn->isEnabled());
    Player().position = 4000;
    clock.Advance(100);
    EXPECT_EQ(frame.Form().m_pPlayerProgressBar->maximum(), 4000);
    EXPECT_EQ(frame.Form().m_pPlayerProgressBar->value(), 4000);
}

TEST_F(PlayerFrameTest, MissingFileLeavesTheButtonsOff)
{
    TCPlayerFrame frame;
    frame.PlayFile(dir.file("gone.mp3"));
    EXPECT_EQ(Player().calls, (std::vector<std::string>{"open"}));
    EXPECT_FALSE(frame.Form().m_pPlayBtn->isEnabled());
    EXPECT_FALSE(frame.Form().m_pStopBtn->isEnabled());
    frame.Form().m_pPlayBtn->setEnabled(true);
    frame.Form().m_pPlayBtn->click(); // fails quietly
    EXPECT_FALSE(frame.Form().m_pPlayBtn->isEnabled());
}

TEST_F(PlayerFrameTest, VideoOpensItsWindowAtTheVideosSizeAndHidesAtTheEnd)
{
    const std::string video = dir.file("clip.avi");
    lf::test::WriteFile(video, "RIFF");
    TCPlayerFrame frame;
    frame.show();
    frame.PlayFile(video);
    TCVideoScreen* screen = frame.VideoScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->size(), QSize(320, 240));
    EXPECT_EQ(screen->windowTitle().toStdString(), video);
    EXPECT_TRUE(screen->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Player().display, screen->Display());
    EXPECT_EQ(screen->m_pPlayerFrame, &frame);

    // The end of the video: the window hides and the player goes back to the start.
    Player().mode = EPlayerMode::Stopped;
    Player().position = 4000;
    Player().calls.clear();
    clock.Advance(100);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(Player().calls, (std::vector<std::string>{"stop", "close", "open"}));
    EXPECT_EQ(Player().position, 0);
    EXPECT_TRUE(frame.Form().m_pPlayBtn->isEnabled());

    // Play again shows the same window from the start, at the size the user left it.
    screen->resize(400, 300);
    frame.Form().m_pPlayBtn->click();
    EXPECT_EQ(frame.VideoScreen(), screen);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(Player().mode, EPlayerMode::Playing);
    EXPECT_EQ(screen->size(), QSize(400, 300));
}

TEST_F(PlayerFrameTest, ClosingTheVideoWindowStopsThePlayback)
{
    const std::string video = dir.file("clip.avi");
    lf::test::WriteFile(video, "RIFF");
    TCPlayerFrame frame;
    frame.PlayFile(video);
    ASSERT_NE(frame.VideoScreen(), nullptr);
    Player().calls.clear();
    frame.VideoScreen()->close();
    EXPECT_EQ(Player().calls, (std::vector<std::string>{"stop", "close", "open"}));
    EXPECT_EQ(Player().mode, EPlayerMode::Stopped);
    EXPECT_FALSE(frame.VideoScreen()->isVisible());
}

TEST_F(PlayerFrameTest, PauseAndStop)
{
    const std::string sound = dir.file("a.mp3");
    lf::test::WriteFile(sound, "ID3");
    TCPlayerFrame frame;
    frame.PlayFile(sound);
    frame.Form().m_pPauseBtn->click();
    EXPECT_EQ(Player().mode, EPlayerMode::Paused);
    EXPECT_TRUE(frame.Form().m_pPlayBtn->isEnabled());
    EXPECT_TRUE(frame.Form().m_pStopBtn->isEnabled());
    frame.Form().m_pStopBtn->click();
    EXPECT_EQ(Player().mode, EPlayerMode::Stopped);
    EXPECT_FALSE(frame.Form().m_pStopBtn->isEnabled());
}

TEST_F(PlayerFrameTest, DestroyingThePlayingFrameStopsAndClosesThePlayer)
{
    const std::string sound = dir.file("a.mp3");
    lf::test::WriteFile(sound, "ID3");
    {
        TCPlayerFrame frame;
        frame.PlayFile(sound);
        Player().calls.clear();
    }
    EXPECT_EQ(media.callsOfLastDestroyedPlayer, (std::vector<std::string>{"stop", "close"}));
}

} // namespace
