// What the player frame, the video window and the voice recorder play and record through: a media
// player with the modes the windows switch on, and the wave device that takes the recorder's command
// strings. The program runs them over Qt Multimedia; tests install a back-end of their own, so no test
// needs a sound card or shows a video.
#pragma once

#include <QSize>

#include <cstdint>
#include <memory>
#include <string>

class QObject;

// The player's modes, as the windows read them.
enum class EPlayerMode
{
    NotReady, // no file open, or the file cannot be played
    Stopped,
    Playing,
    Recording,
    Seeking,
    Paused,
    Open,
};

// One media player. Every operation reports failure as false and never throws; the windows ignore
// failures and show what the mode then says.
class IMediaPlayer
{
public:
    virtual ~IMediaPlayer();

    // The file the next Open opens; the empty name closes nothing by itself.
    virtual void SetFileName(const std::string& path) = 0;
    virtual std::string FileName() const = 0;
    // Opens the file (its length and video size are known afterwards); false when it cannot be played.
    virtual bool Open() = 0;
    virtual bool Close() = 0;
    virtual bool Play() = 0;
    virtual bool Pause() = 0;
    // Stops where it is; the windows close and reopen to go back to the start.
    virtual bool Stop() = 0;
    virtual EPlayerMode Mode() const = 0;
    // Length and position in milliseconds.
    virtual std::int64_t Length() const = 0;
    virtual std::int64_t Position() const = 0;
    // The size of the open video (its display rectangle); empty for sound.
    virtual QSize VideoSize() const = 0;
    // Where a video shows (a QVideoWidget); nullptr: nowhere.
    virtual void SetDisplay(QObject* videoOutput) = 0;
};

// The wave device behind the recorder's command strings.
class IWaveDevice
{
public:
    virtual ~IWaveDevice();
    // Runs one command string (WaveCommands.h); 0 on success, else an error code.
    virtual int SendString(const std::string& command) = 0;
    // The text of an error code; empty when the device has none.
    virtual std::string ErrorString(int code) const = 0;
};

class MediaBackend
{
public:
    virtual ~MediaBackend();
    virtual std::unique_ptr<IMediaPlayer> CreatePlayer() = 0;
    // The one wave device of the program: an alias opened on it holds until it is closed.
    virtual IWaveDevice& WaveDevice() = 0;
};

// The back-end in force: Qt Multimedia unless a test installed another.
MediaBackend& CurrentMediaBackend();
// Installs a back-end (not owned); nullptr goes back to Qt Multimedia.
void SetMediaBackend(MediaBackend* backend);
