// The player frame and the recorder over the program's own media back-end (Qt Multimedia), offscreen and
// without a sound card: a generated wave file plays to its end, a generated video opens its window at
// the video's size and hides it at the end, and recording without an input device says so.
#include "editing/frames/MediaDevices.h"
#include "editing/frames/Playerframe.h"
#include "editing/frames/Recorderdlg.h"
#include "editing/frames/WaveCommands.h"

#include "ui_Playerframe.h"
#include "ui_Recorderdlg.h"

#include "tests/support/TestSupport.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace
{

// A second of a square wave, 8-bit mono at 8000 samples per second.
std::string WaveFile(lf::test::TempDir& dir)
{
    std::string samples;
    for (int i = 0; i < 8000; ++i)
        samples += static_cast<char>((i / 10) % 2 ? 0xA0 : 0x60);
    const std::string path = dir.file("tone.wav");
    EXPECT_TRUE(WriteWaveFile(path, SWaveFormat(), samples));
    return path;
}

void PutLE(std::string& out, std::uint32_t value, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Chunk(const std::string& id, const std::string& data)
{
    std::string chunk = id;
    PutLE(chunk, static_cast<std::uint32_t>(data.size()));
    chunk += data;
    if (data.size() % 2 != 0)
        chunk += '\0';
    return chunk;
}

// An uncompressed AVI clip: width x height, 24-bit frames, 10 frames a second.
std::string VideoFile(lf::test::TempDir& dir, std::uint32_t width, std::uint32_t height, std::uint32_t frames)
{
    const std::uint32_t fps = 10;
    const std::uint32_t frameSize = width * height * 3;
    std::string avih;
    for (std::uint32_t v : {1000000u / fps, frameSize * fps, 0u, 0x10u, frames, 0u, 1u, frameSize, width,
                            height, 0u, 0u, 0u, 0u})
        PutLE(avih, v);
    std::string strh = "vidsDIB ";
    PutLE(strh, 0);      // flags
    PutLE(strh, 0);      // priority and language
    PutLE(strh, 0);      // initial frames
    PutLE(strh, 1);      // scale
    PutLE(strh, fps);    // rate
    PutLE(strh, 0);      // start
    PutLE(strh, frames); // length
    PutLE(strh, frameSize);
    PutLE(strh, 0xFFFFFFFF); // quality
    PutLE(strh, 0);          // sample size
    PutLE(strh, 0);          // frame rectangle: left, top
    PutLE(strh, width, 2);
    PutLE(strh, height, 2);
    std::string strf;
    for (std::uint32_t v : {40u, width, height})
        PutLE(strf, v);
    PutLE(strf, 1, 2);
    PutLE(strf, 24, 2);
    for (std::uint32_t v : {0u, frameSize, 0u, 0u, 0u, 0u})
        PutLE(strf, v);
    const std::string hdrl =
        Chunk("LIST", "hdrl" + Chunk("avih", avih) +
                          Chunk("LIST", "strl" + Chunk("strh", strh) + Chunk("strf", strf)));
    std::string movi = "movi";
    std::string index;
    std::uint32_t offset = 4;
    for (std::uint32_t i = 0; i < frames; ++i)
    {
        std::string pixels;
        for (std::uint32_t p = 0; p < width * height; ++p)
            pixels += {static_cast<char>(i * 50), 100, static_cast<char>(200)};
        movi += Chunk("00db", pixels);
        index += "00db";
        PutLE(index, 0x10);
        PutLE(index, offset);
        PutLE(index, frameSize);
        offset += 8 + frameSize;
    }
    const std::string body = "AVI " + hdrl + Chunk("LIST", movi) + Chunk("idx1", index);
    const std::string path = dir.file("clip.avi");
    lf::test::WriteFile(path, Chunk("RIFF", body));
    return path;
}

TEST(MediaPlayback, WaveFilePlaysToItsEndWithoutAWindow)
{
    lf::test::TempDir dir;
    TCPlayerFrame frame;
    frame.show();
    frame.PlayFile(WaveFile(dir));
    QProgressBar* progress = frame.Form().m_pPlayerProgressBar;
    EXPECT_EQ(frame.Player().Length(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(frame.Player().Mode(), EPlayerMode::Playing, 5000);
    // The position reaches the length, and the player stops there.
    QTRY_VERIFY_WITH_TIMEOUT(frame.Player().Mode() == EPlayerMode::Stopped, 10000);
    // The buttons and the bar follow on the next status refresh.
    QTRY_COMPARE_WITH_TIMEOUT(progress->value(), 1000, 2000);
    EXPECT_EQ(progress->maximum(), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(frame.Form().m_pPlayBtn->isEnabled(), 2000);
    EXPECT_FALSE(frame.Form().m_pStopBtn->isEnabled());
    EXPECT_EQ(frame.VideoScreen(), nullptr);
}

TEST(MediaPlayback, VideoOpensItsWindowAtItsSizeAndHidesItAtTheEnd)
{
    lf::test::TempDir dir;
    TCPlayerFrame frame;
    frame.show();
    frame.PlayFile(VideoFile(dir, 64, 48, 5));
    TCVideoScreen* screen = frame.VideoScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->size(), QSize(64, 48));
    QTRY_VERIFY_WITH_TIMEOUT(!screen->isVisible(), 10000);
    // Back at the start, ready to play again.
    EXPECT_EQ(frame.Player().Mode(), EPlayerMode::Stopped);
    EXPECT_EQ(frame.Player().Position(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(frame.Form().m_pPlayBtn->isEnabled(), 2000);
}

TEST(MediaPlayback, UnreadableFileIsSwallowed)
{
    lf::test::TempDir dir;
    const std::string path = dir.file("noise.mp3");
    lf::test::WriteFile(path, std::string(100, 'x'));
    TCPlayerFrame frame;
    frame.PlayFile(path);
    EXPECT_FALSE(frame.Form().m_pStopBtn->isEnabled());
    EXPECT_FALSE(frame.Form().m_pPauseBtn->isEnabled());
}

TEST(MediaPlayback, RecordingWithoutAnInputDeviceSaysSo)
{
    if (!QMediaDevices::defaultAudioInput().isNull())
        GTEST_SKIP() << "this machine has a sound input; the case is for machines without one";
    lf::test::TempDir dir;
    lf::test::ScriptedDialogs dialogs;
    dialogs.AnswerMessage(lf::qt::mrOk);
    TCRecorderDlg recorder;
    recorder.SetFileName(dir.file("note.wav"));
    recorder.m_pRecordBtnClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, WaveErrorText(kWaveNoRecorder));
    EXPECT_FALSE(recorder.IsRecording());
    // The device left open by the failure is taken back by the next recording's retry.
    dialogs.AnswerMessage(lf::qt::mrOk);
    recorder.m_pRecordBtnClick();
    EXPECT_EQ(dialogs.messages.back().text, WaveErrorText(kWaveNoRecorder));
    recorder.Form().m_CancelBtn->click();
    EXPECT_EQ(recorder.result(), lf::qt::mrCancel);
}

} // namespace
