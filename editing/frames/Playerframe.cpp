#include "editing/frames/Playerframe.h"

#include "ui_Playerframe.h"
#include "ui_Videoscreen.h"

#include "editing/frames/MediaDevices.h"
#include "platform/qt/QtText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QProgressBar>
#include <QScreen>
#include <QVideoWidget>

#include <algorithm>
#include <limits>

namespace
{

int ClampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

bool IsVideoFile(const std::string& path)
{
    return lf::sys::AsciiUpper(lf::sys::ExtensionOf(path)) == ".AVI";
}

} // namespace

EPlayerMode ShowPlayerState(const IMediaPlayer& player, QAbstractButton* play, QAbstractButton* pause,
                            QAbstractButton* stop, QProgressBar* progress)
{
    const EPlayerMode mode = player.Mode();
    const bool playing = mode == EPlayerMode::Playing;
    const bool paused = mode == EPlayerMode::Paused;
    const bool ready = mode == EPlayerMode::Stopped || mode == EPlayerMode::Open;
    play->setEnabled(ready || paused);
    pause->setEnabled(playing);
    stop->setEnabled(playing || paused);
    if (playing || paused || ready)
    {
        progress->setMaximum(ClampToInt(player.Length()));
        progress->setValue(ClampToInt(player.Position()));
    }
    return mode;
}

void StopPlayback(IMediaPlayer& player)
{
    const EPlayerMode mode = player.Mode();
    if (mode == EPlayerMode::Playing || mode == EPlayerMode::Paused)
    {
        player.Stop();
        player.Close();
    }
}

// --- the video window ---

TCVideoScreen::TCVideoScreen(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::CVideoScreen>())
{
    ui->setupUi(this);
    m_pDisplay = new QVideoWidget(this);
    m_pDisplay->setObjectName(QStringLiteral("m_pDisplay"));
    ui->m_pVideoLayout->addWidget(m_pDisplay);
}

TCVideoScreen::~TCVideoScreen() = default;

void TCVideoScreen::showEvent(QShowEvent* event)
{
    if (!m_Placed)
    {
        // Centred on the desktop the first time; where the user put it afterwards.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        m_Placed = true;
    }
    // The video fills the client area through the layout, also when the window is resized.
    if (m_pPlayer != nullptr)
        setWindowTitle(lf::qt::ToQString(m_pPlayer->FileName()));
    QWidget::showEvent(event);
}

void TCVideoScreen::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Hidden first, so that the frame's stop does not take the window for a video that has ended.
    hide();
    if (m_pPlayerFrame != nullptr)
        m_pPlayerFrame->m_pStopBtnClick();
}

// --- the player frame ---

TCPlayerFrame::TCPlayerFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::Player, parent), ui(std::make_unique<Ui::TCPlayerFrame>()),
      m_pMediaPlayer(CurrentMediaBackend().CreatePlayer())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    SetGlyph(ui->m_pPlayBtn, "media-playback-start", "Play");
    SetGlyph(ui->m_pPauseBtn, "media-playback-pause", "Pause");
    SetGlyph(ui->m_pStopBtn, "media-playback-stop", "Stop");
    connect(ui->m_pPlayBtn, &QAbstractButton::clicked, this, [this] { m_pPlayBtnClick(); });
    connect(ui->m_pPauseBtn, &QAbstractButton::clicked, this, [this] { m_pPauseBtnClick(); });
    connect(ui->m_pStopBtn, &QAbstractButton::clicked, this, [this] { m_pStopBtnClick(); });
    m_MediaPlayerTime.SetInterval(100);
    m_MediaPlayerTime.OnTimer = [this] { UpdateStatus(); };
    m_MediaPlayerTime.SetEnabled(true);
    UpdateStatus();
}

TCPlayerFrame::~TCPlayerFrame()
{
    m_MediaPlayerTime.SetEnabled(false);
    StopPlayback(*m_pMediaPlayer);
    if (m_pVideoScreen)
    {
        m_pVideoScreen->m_pPlayerFrame = nullptr;
        m_pVideoScreen->hide();
        m_pMediaPlayer->SetDisplay(nullptr);
        m_pVideoScreen.reset();
    }
}

QWidget* TCPlayerFrame::AltTarget(int) const
{
    return nullptr;
}

void TCPlayerFrame::PlayFile(const std::string& path)
{
    m_pMediaPlayer->SetFileName(path);
    if (m_pMediaPlayer->Open())
    {
        OpenFile();
        m_pMediaPlayer->Play();
    }
    UpdateStatus();
}

void TCPlayerFrame::OpenFile()
{
    if (!IsVideoFile(m_pMediaPlayer->FileName()))
        return;
    if (!m_pVideoScreen)
    {
        m_pVideoScreen = std::make_unique<TCVideoScreen>(this);
        const QSize size = m_pMediaPlayer->VideoSize();
        if (!size.isEmpty())
            m_pVideoScreen->resize(size);
    }
    if (!m_pVideoScreen->isVisible())
    {
        m_pVideoScreen->m_pPlayer = m_pMediaPlayer.get();
        m_pVideoScreen->m_pPlayerFrame = this;
        m_pMediaPlayer->SetDisplay(m_pVideoScreen->Display());
        m_pVideoScreen->show();
    }
}

void TCPlayerFrame::UpdateStatus()
{
    const EPlayerMode mode = ShowPlayerState(*m_pMediaPlayer, ui->m_pPlayBtn, ui->m_pPauseBtn, ui->m_pStopBtn,
                                             ui->m_pPlayerProgressBar);
    // A video that has ended: its window goes, and the next Play starts from the beginning.
    if (m_pVideoScreen && m_pVideoScreen->isVisible() && mode == EPlayerMode::Stopped)
    {
        m_pVideoScreen->hide();
        m_pMediaPlayer->Stop();
        m_pMediaPlayer->Close();
        m_pMediaPlayer->Open();
    }
}

void TCPlayerFrame::m_pPlayBtnClick()
{
    OpenFile();
    m_pMediaPlayer->Play();
    UpdateStatus();
}

void TCPlayerFrame::m_pPauseBtnClick()
{
    m_pMediaPlayer->Pause();
    UpdateStatus();
}

void TCPlayerFrame::m_pStopBtnClick()
{
    m_pMediaPlayer->Stop();
    m_pMediaPlayer->Close();
    m_pMediaPlayer->Open();
    UpdateStatus();
}
