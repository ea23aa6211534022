// The media back-end of the program: playback through QMediaPlayer (sound to the default output, video
// into the display it is given) and recording through QAudioSource into memory, written out as a PCM
// wave file by the SAVE command.
#include "editing/frames/MediaDevices.h"
#include "editing/frames/WaveCommands.h"

#include "model/support/Log.h"
#include "platform/qt/QtText.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSource>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

IMediaPlayer::~IMediaPlayer() = default;
IWaveDevice::~IWaveDevice() = default;
MediaBackend::~MediaBackend() = default;

namespace
{

using lf::qt::ToQString;

// Opening waits this long at most for the file to be read, so a length is known when Open returns.
constexpr int kOpenTimeoutMs = 3000;

class CQtMediaPlayer final : public IMediaPlayer
{
public:
    CQtMediaPlayer() { m_player.setAudioOutput(&m_output); }
    ~CQtMediaPlayer() override
    {
        m_player.stop();
        m_player.setVideoOutput(static_cast<QObject*>(nullptr));
    }

    void SetFileName(const std::string& path) override { m_fileName = path; }
    std::string FileName() const override { return m_fileName; }

    bool Open() override
    {
        m_open = false;
        if (m_fileName.empty() || !QFileInfo::exists(ToQString(m_fileName)))
            return false;
        m_player.setSource(QUrl::fromLocalFile(QFileInfo(ToQString(m_fileName)).absoluteFilePath()));
        // Reading the file's header runs on Qt's side; wait for it, with user input held back, so that
        // the caller sees the length and the video size at once.
        QElapsedTimer waited;
        waited.start();
        while (m_player.mediaStatus() == QMediaPlayer::LoadingMedia && waited.elapsed() < kOpenTimeoutMs)
        {
            QEventLoop loop;
            QTimer::singleShot(10, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        m_open = m_player.mediaStatus() != QMediaPlayer::InvalidMedia &&
                 m_player.mediaStatus() != QMediaPlayer::NoMedia && m_player.error() == QMediaPlayer::NoError;
        return m_open;
    }
    bool Close() override
    {
        m_player.stop();
        m_player.setSource(QUrl());
        m_open = false;
        return true;
    }
    bool Play() override
    {
        if (!m_open)
            return false;
        m_player.play();
        return true;
    }
    bool Pause() override
    {
        if (!m_open)
            return false;
        m_player.pause();
        return true;
    }
    bool Stop() override
    {
        if (!m_open)
            return false;
        m_player.stop();
        return true;
    }
    EPlayerMode Mode() const override
    {
        if (!m_open || m_player.mediaStatus() == QMediaPlayer::InvalidMedia)
            return EPlayerMode::NotReady;
        switch (m_player.playbackState())
        {
        case QMediaPlayer::PlayingState:
            return EPlayerMode::Playing;
        case QMediaPlayer::PausedState:
            return EPlayerMode::Paused;
        case QMediaPlayer::StoppedState:
            break;
        }
        return EPlayerMode::Stopped;
    }
    std::int64_t Length() const override { return m_open ? m_player.duration() : 0; }
    std::int64_t Position() const override { return m_open ? m_player.position() : 0; }
    QSize VideoSize() const override
    {
        if (!m_open || !m_player.hasVideo())
            return {};
        const QSize size = m_player.metaData().value(QMediaMetaData::Resolution).toSize();
        return size.isValid() ? size : QSize();
    }
    void SetDisplay(QObject* videoOutput) override { m_player.setVideoOutput(videoOutput); }

private:
    QMediaPlayer m_player;
    QAudioOutput m_output;
    std::string m_fileName;
    bool m_open = false;
};

// One alias at a time, as the recorder uses it; the samples gather in memory until SAVE.
class CQtWaveDevice final : public IWaveDevice
{
public:
    int SendString(const std::string& command) override
    {
        using V = SWaveCommand::EVerb;
        const SWaveCommand parsed = ParseWaveCommand(command);
        if (parsed.verb == V::Unknown)
            return kWaveUnknownCommand;
        if (parsed.verb == V::Open)
        {
            if (!m_alias.empty())
                return kWaveAliasInUse;
            m_alias = parsed.alias;
            m_format = SWaveFormat();
            return kWaveOk;
        }
        if (m_alias.empty() || parsed.alias != m_alias)
            return kWaveNotOpen;
        switch (parsed.verb)
        {
        case V::Set:
            return ApplyWaveSettings(parsed.words, m_format) ? kWaveOk : kWaveBadSettings;
        case V::Record:
            return StartRecording();
        case V::Save:
            return Save(parsed.words[0]);
        case V::Close:
            StopSource();
            m_samples.close();
            m_samples.setData(QByteArray());
            m_alias.clear();
            return kWaveOk;
        default:
            return kWaveUnknownCommand;
        }
    }

    std::string ErrorString(int code) const override { return WaveErrorText(code); }

private:
    int StartRecording()
    {
        const QAudioDevice device = QMediaDevices::defaultAudioInput();
        if (device.isNull())
            return kWaveNoRecorder;
        QAudioFormat format;
        format.setSampleRate(static_cast<int>(m_format.samplesPerSec));
        format.setChannelCount(m_format.channels);
        format.setSampleFormat(m_format.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            return kWaveBadSettings;
        StopSource();
        m_samples.close();
        m_samples.setData(QByteArray());
        m_samples.open(QIODevice::WriteOnly);
        m_source = std::make_unique<QAudioSource>(device, format);
        m_source->start(&m_samples);
        if (m_source->error() != QAudio::NoError)
        {
            StopSource();
            return kWaveNoRecorder;
        }
        return kWaveOk;
    }

    int Save(const std::string& path)
    {
        if (!m_source && m_samples.data().isEmpty())
            return kWaveNotRecording;
        StopSource();
        const QByteArray& data = m_samples.data();
        std::string error;
        if (!WriteWaveFile(path, m_format,
                           std::string_view(data.constData(), static_cast<std::size_t>(data.size())), &error))
        {
            WriteLog("wave device - cannot save " + path + ": " + error, 1, 1);
            return kWaveCannotSave;
        }
        return kWaveOk;
    }

    void StopSource()
    {
        if (m_source)
        {
            m_source->stop();
            m_source.reset();
        }
    }

    std::string m_alias;
    SWaveFormat m_format;
    QBuffer m_samples;
    std::unique_ptr<QAudioSource> m_source;
};

class CQtMediaBackend final : public MediaBackend
{
public:
    std::unique_ptr<IMediaPlayer> CreatePlayer() override { return std::make_unique<CQtMediaPlayer>(); }
    IWaveDevice& WaveDevice() override
    {
        if (!m_wave)
            m_wave = std::make_unique<CQtWaveDevice>();
        return *m_wave;
    }

private:
    std::unique_ptr<CQtWaveDevice> m_wave;
};

MediaBackend* g_backend = nullptr;

} // namespace

MediaBackend& CurrentMediaBackend()
{
    static CQtMediaBackend real;
    return g_backend != nullptr ? *g_backend : real;
}

void SetMediaBackend(MediaBackend* backend)
{
    g_backend = backend;
}
