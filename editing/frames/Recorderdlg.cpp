#include "editing/frames/Recorderdlg.h"

#include "ui_Recorderdlg.h"

#include "editing/frames/Baseeditanswerframe.h"
#include "editing/frames/MediaDevices.h"
#include "editing/frames/Playerframe.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/sys/SystemServices.h"

#include <QIcon>

#include <filesystem>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

// One recording at a time: the alias is fixed, and a device left open is closed before opening again.
const char* const kOpen = "OPEN NEW TYPE WAVEAUDIO ALIAS lfdsound";
const char* const kSet =
    "SET lfdsound TIME FORMAT MS BITSPERSAMPLE 8 CHANNELS 1 SAMPLESPERSEC 8000 BYTESPERSEC 8000";
const char* const kRecord = "RECORD lfdsound";
const char* const kClose = "CLOSE lfdsound";

bool IsExistingFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

TCRecorderDlg::TCRecorderDlg(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::CRecorderDlg>()),
      m_pMediaPlayer(CurrentMediaBackend().CreatePlayer()), m_Wave(CurrentMediaBackend().WaveDevice())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(327, 144);
    TCBaseEditAnswerFrame::SetGlyph(ui->m_pPlayBtn, "media-playback-start", "Play");
    TCBaseEditAnswerFrame::SetGlyph(ui->m_pPauseBtn, "media-playback-pause", "Pause");
    TCBaseEditAnswerFrame::SetGlyph(ui->m_pStopBtn, "media-playback-stop", "Stop");
    TCBaseEditAnswerFrame::SetGlyph(ui->m_pRecordBtn, "media-record", "Rec");
    connect(ui->m_pPlayBtn, &QAbstractButton::clicked, this, [this] { m_pPlayBtnClick(); });
    connect(ui->m_pPauseBtn, &QAbstractButton::clicked, this, [this] { m_pPauseBtnClick(); });
    connect(ui->m_pStopBtn, &QAbstractButton::clicked, this, [this] { m_pStopBtnClick(); });
    connect(ui->m_pRecordBtn, &QAbstractButton::clicked, this, [this] { m_pRecordBtnClick(); });
    connect(ui->m_OkBtn, &QAbstractButton::clicked, this,
            [this]
            {
                m_OkBtnClick();
                done(lf::qt::mrOk);
            });
    connect(ui->m_CancelBtn, &QAbstractButton::clicked, this, [this] { reject(); });
    connect(ui->m_DeleteBtn, &QAbstractButton::clicked, this, [this] { m_DeleteBtnClick(); });
    m_MediaPlayerTime.SetInterval(100);
    m_MediaPlayerTime.OnTimer = [this] { UpdateStatus(); };
    m_MediaPlayerTime.SetEnabled(true);
}

TCRecorderDlg::~TCRecorderDlg()
{
    m_MediaPlayerTime.SetEnabled(false);
    StopPlayback(*m_pMediaPlayer);
    // A recording still running when the window goes is dropped, so the device is free for the next.
    if (m_bRecording)
        Send(kClose);
}

void TCRecorderDlg::SetFileName(const std::string& path)
{
    m_FileName = path;
    if (IsExistingFile(path))
    {
        m_pMediaPlayer->SetFileName(path);
        m_pMediaPlayer->Open();
    }
    else
        m_pMediaPlayer->SetFileName({});
    UpdateStatus();
}

void TCRecorderDlg::UpdateStatus()
{
    if (m_bRecording)
    {
        const std::uint32_t elapsed = lf::sys::Services().TickCount() - m_RecordStart;
        ui->m_pStatusPanel->setText(lf::qt::ToQString("Recording - " + SecondsToTimeText(elapsed / 1000)));
        ui->m_pPlayerProgressBar->hide();
        ui->m_pPlayBtn->setEnabled(false);
        ui->m_pPauseBtn->setEnabled(false);
        ui->m_pRecordBtn->setEnabled(false);
        ui->m_pStopBtn->setEnabled(true);
    }
    else
    {
        if (ui->m_pPlayerProgressBar->isHidden() && IsExistingFile(m_pMediaPlayer->FileName()))
            ui->m_pPlayerProgressBar->show();
        const EPlayerMode mode = ShowPlayerState(*m_pMediaPlayer, ui->m_pPlayBtn, ui->m_pPauseBtn,
                                                 ui->m_pStopBtn, ui->m_pPlayerProgressBar);
        ui->m_pRecordBtn->setEnabled(true);
        if (mode == EPlayerMode::Playing)
            ui->m_pStatusPanel->setText(QStringLiteral("Playing"));
        else if (mode == EPlayerMode::Paused)
            ui->m_pStatusPanel->setText(QStringLiteral("Paused"));
        else if (mode == EPlayerMode::Stopped || mode == EPlayerMode::Open)
            ui->m_pStatusPanel->setText(QStringLiteral("Ready"));
    }
    ui->m_DeleteBtn->setEnabled(IsExistingFile(m_FileName));
}

void TCRecorderDlg::m_pPlayBtnClick()
{
    m_pMediaPlayer->Play();
    UpdateStatus();
}

void TCRecorderDlg::m_pPauseBtnClick()
{
    m_pMediaPlayer->Pause();
    UpdateStatus();
}

void TCRecorderDlg::m_pRecordBtnClick()
{
    if (IsExistingFile(m_FileName) &&
        lf::qt::MessageDlg(
            "Re-recording the file will overwrite the previous version.\nDo you want to continue?",
            MsgKind::Confirmation, MsgButtons::YesNo) != lf::qt::mrYes)
        return;
    m_pMediaPlayer->Close(); // the file must be free to be written
    int code = Send(kOpen);
    if (code != 0)
    {
        // A device left open by an earlier failure is closed and opened again.
        Send(kClose);
        code = Send(kOpen);
    }
    if (code == 0)
        code = Send(kSet);
    if (code == 0)
        code = Send(kRecord);
    if (code == 0)
    {
        m_RecordStart = lf::sys::Services().TickCount();
        m_bRecording = true;
    }
    else
        ReportError(code);
    UpdateStatus();
}

void TCRecorderDlg::m_pStopBtnClick()
{
    if (m_bRecording)
    {
        int code = Send("SAVE lfdsound \"" + m_FileName + "\"");
        if (code == 0)
            code = Send(kClose);
        if (code == 0)
        {
            m_pMediaPlayer->SetFileName(m_FileName);
            m_pMediaPlayer->Open();
        }
        else
            ReportError(code);
        m_bRecording = false;
    }
    else
    {
        m_pMediaPlayer->Stop();
        m_pMediaPlayer->Close();
        m_pMediaPlayer->Open();
    }
    UpdateStatus();
}

void TCRecorderDlg::m_OkBtnClick()
{
    if (ui->m_pStopBtn->isEnabled())
        m_pStopBtnClick();
    if (m_bRecording)
    {
        Send(kClose);
        m_bRecording = false;
    }
}

void TCRecorderDlg::m_CancelBtnClick()
{
    if (m_bRecording)
    {
        Send(kClose); // the recording is dropped
        m_bRecording = false;
    }
}

void TCRecorderDlg::reject()
{
    m_CancelBtnClick();
    done(lf::qt::mrCancel);
}

void TCRecorderDlg::m_DeleteBtnClick()
{
    const int answer =
        lf::qt::MessageDlg("Do you want to delete the recording?", MsgKind::Confirmation, MsgButtons::YesNo);
    // Whatever the answer, a running recording is dropped.
    if (m_bRecording)
    {
        Send(kClose);
        m_bRecording = false;
    }
    if (answer == lf::qt::mrYes)
        done(lf::qt::mrNo);
    else
        UpdateStatus();
}

int TCRecorderDlg::Send(const std::string& command)
{
    return m_Wave.SendString(command);
}

void TCRecorderDlg::ReportError(int code)
{
    std::string text = m_Wave.ErrorString(code);
    if (text.empty())
        text = "Unknown error.";
    text = lf::qt::ToStdString(lf::qt::ToQString(text).left(128)); // the device's texts are cut there
    lf::qt::MessageDlg(text, MsgKind::Error, MsgButtons::Ok);
    WriteLog("TCRecorderDlg::m_pStopBtnClick - ERROR! : " + text, 1, 1);
    m_pMediaPlayer->SetFileName({});
}
