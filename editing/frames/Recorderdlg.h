// The "Audio manager": records a voice note into one wave file through the wave device's command
// strings and plays it back. Its modal result tells the caller what to do with the file: 1 (OK) keep it,
// 2 (Cancel) leave it as it was before the last recording, 7 (Delete) delete it; the dialog itself never
// deletes a file.
#pragma once

#include "platform/qt/Timer.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class IMediaPlayer;
class IWaveDevice;

namespace Ui
{
class CRecorderDlg;
}

class TCRecorderDlg final : public QDialog
{
    Q_OBJECT

public:
    explicit TCRecorderDlg(QWidget* owner = nullptr);
    ~TCRecorderDlg() override;
    Ui::CRecorderDlg& Form() const { return *ui; }

    // The file to record into and play; the caller sets it before showing the dialog.
    void SetFileName(const std::string& path);
    // Buttons, status text and progress from the recording or the player.
    void UpdateStatus();
    bool IsRecording() const { return m_bRecording; }

    void m_pPlayBtnClick();
    void m_pPauseBtnClick();
    void m_pRecordBtnClick();
    void m_pStopBtnClick();
    void m_OkBtnClick();
    void m_CancelBtnClick();
    void m_DeleteBtnClick();

    // Esc and the close box cancel, as the Cancel button does.
    void reject() override;

private:
    // Sends one command string; the device's error code.
    int Send(const std::string& command);
    // Shows and logs a failed command's error and forgets the player's file.
    void ReportError(int code);

    std::unique_ptr<Ui::CRecorderDlg> ui;
    std::unique_ptr<IMediaPlayer> m_pMediaPlayer;
    IWaveDevice& m_Wave;
    lf::qt::Timer m_MediaPlayerTime;
    std::string m_FileName;
    bool m_bRecording = false;
    std::uint32_t m_RecordStart = 0; // the millisecond tick count when recording began
};
