// The media player docked in the question pane outside Edit phase: play, pause and stop buttons and the
// position within the file. A video shows in a stay-on-top window of its own, sized to the video, which
// hides when the video ends or is closed.
#pragma once

#include "editing/frames/Baseeditanswerframe.h"
#include "platform/qt/Timer.h"

#include <QWidget>

#include <memory>
#include <string>

class IMediaPlayer;
class QAbstractButton;
class QProgressBar;
class QVideoWidget;
class TCPlayerFrame;

namespace Ui
{
class TCPlayerFrame;
class CVideoScreen;
} // namespace Ui

enum class EPlayerMode;

// Shows a player's state on its buttons and bar: Play in the modes stopped, paused and open, Pause while
// playing, Stop while playing or paused; in those modes the bar shows the position within the length.
// Returns the mode.
EPlayerMode ShowPlayerState(const IMediaPlayer& player, QAbstractButton* play, QAbstractButton* pause,
                            QAbstractButton* stop, QProgressBar* progress);
// Stops and closes a player that is playing or paused, as a window that goes does.
void StopPlayback(IMediaPlayer& player);

class TCVideoScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit TCVideoScreen(QWidget* owner = nullptr);
    ~TCVideoScreen() override;

    // Where the player shows its video.
    QVideoWidget* Display() const { return m_pDisplay; }

    IMediaPlayer* m_pPlayer = nullptr;       // the player whose video shows here
    TCPlayerFrame* m_pPlayerFrame = nullptr; // the frame that owns the window

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::CVideoScreen> ui;
    QVideoWidget* m_pDisplay = nullptr;
    bool m_Placed = false;
};

class TCPlayerFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCPlayerFrame(QWidget* parent = nullptr);
    ~TCPlayerFrame() override;
    Ui::TCPlayerFrame& Form() const { return *ui; }

    // Opens a sound or video file and plays it; failures leave the buttons as the status says.
    void PlayFile(const std::string& path);
    // Prepares the video window for the player's file when it is a video (".avi").
    void OpenFile();
    // Buttons, progress, and the end of a video (its window hides, the player goes back to the start).
    void UpdateStatus();

    IMediaPlayer& Player() const { return *m_pMediaPlayer; }
    // The video window, made on the first video; nullptr before.
    TCVideoScreen* VideoScreen() const { return m_pVideoScreen.get(); }

    void m_pPlayBtnClick();
    void m_pPauseBtnClick();
    void m_pStopBtnClick();

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCPlayerFrame> ui;
    std::unique_ptr<IMediaPlayer> m_pMediaPlayer;
    std::unique_ptr<TCVideoScreen> m_pVideoScreen;
    lf::qt::Timer m_MediaPlayerTime;
};
