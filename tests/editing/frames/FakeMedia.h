// A media back-end for tests: players whose modes the test moves along, and a wave device that logs
// every command string, fails the ones the test names, and on SAVE writes a valid wave file of silence.
// Installed for its lifetime.
#pragma once

#include "editing/frames/MediaDevices.h"
#include "editing/frames/WaveCommands.h"

#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace lf::test
{

class FakeMediaPlayer final : public IMediaPlayer
{
public:
    std::string fileName;
    bool open = false;
    EPlayerMode mode = EPlayerMode::NotReady;
    std::int64_t length = 0;
    std::int64_t position = 0;
    QSize videoSize;
    QObject* display = nullptr;
    std::vector<std::string> calls; // "open", "close", "play", "pause", "stop"
    // What Open finds: the length and, for ".avi" names, the video size.
    std::int64_t lengthOnOpen = 4000;
    QSize videoSizeOnOpen{320, 240};

    // Where the calls go when the player is destroyed (its window's teardown is watched that way).
    std::vector<std::string>* callsAtEnd = nullptr;
    ~FakeMediaPlayer() override
    {
        if (callsAtEnd != nullptr)
            *callsAtEnd = calls;
    }

    void SetFileName(const std::string& path) override { fileName = path; }
    std::string FileName() const override { return fileName; }
    bool Open() override
    {
        calls.push_back("open");
        std::error_code error;
        open = !fileName.empty() && std::filesystem::is_regular_file(fileName, error);
        mode = open ? EPlayerMode::Stopped : EPlayerMode::NotReady;
        position = 0;
        length = open ? lengthOnOpen : 0;
        videoSize = open && fileName.ends_with(".avi") ? videoSizeOnOpen : QSize();
        return open;
    }
    bool Close() override
    {
        calls.push_back("close");
        open = false;
        mode = EPlayerMode::NotReady;
        return true;
    }
    bool Play() override
    {
        calls.push_back("play");
        if (!open)
            return false;
        mode = EPlayerMode::Playing;
        return true;
    }
    bool Pause() override
    {
        calls.push_back("pause");
        if (mode != EPlayerMode::Playing)
            return false;
        mode = EPlayerMode::Paused;
        return true;
    }
    bool Stop() override
    {
        calls.push_back("stop");
        if (!open)
            return false;
        mode = EPlayerMode::Stopped;
        return true;
    }
    EPlayerMode Mode() const override { return mode; }
    std::int64_t Length() const override { return length; }
    std::int64_t Position() const override { return position; }
    QSize VideoSize() const override { return videoSize; }
    void SetDisplay(QObject* videoOutput) override { display = videoOutput; }
};

class FakeWaveDevice final : public IWaveDevice
{
public:
    std::vector<std::string> commands;
    // Codes to answer, in order, for commands starting with a verb ("OPEN", "SAVE", ...).
    std::map<std::string, std::deque<int>> failures;
    bool aliasOpen = false;
    std::size_t samplesPerRecording = 800;

    int SendString(const std::string& command) override
    {
        commands.push_back(command);
        const std::string verb = command.substr(0, command.find(' '));
        auto failure = failures.find(verb);
        if (failure != failures.end() && !failure->second.empty())
        {
            const int code = failure->second.front();
            failure->second.pop_front();
            return code;
        }
        const SWaveCommand parsed = ParseWaveCommand(command);
        switch (parsed.verb)
        {
        case SWaveCommand::EVerb::Open:
            if (aliasOpen)
                return kWaveAliasInUse;
            aliasOpen = true;
            return kWaveOk;
        case SWaveCommand::EVerb::Close:
            aliasOpen = false;
            return kWaveOk;
        case SWaveCommand::EVerb::Save:
            return WriteWaveFile(parsed.words[0], SWaveFormat(), std::string(samplesPerRecording, '\x80'))
                       ? kWaveOk
                       : kWaveCannotSave;
        case SWaveCommand::EVerb::Unknown:
            return kWaveUnknownCommand;
        default:
            return aliasOpen ? kWaveOk : kWaveNotOpen;
        }
    }
    std::string ErrorString(int code) const override { return WaveErrorText(code); }
};

class FakeMediaBackend final : public MediaBackend
{
public:
    FakeMediaBackend() { SetMediaBackend(this); }
    ~FakeMediaBackend() override { SetMediaBackend(nullptr); }
    FakeMediaBackend(const FakeMediaBackend&) = delete;
    FakeMediaBackend& operator=(const FakeMediaBackend&) = delete;

    std::unique_ptr<IMediaPlayer> CreatePlayer() override
    {
        auto player = std::make_unique<FakeMediaPlayer>();
        player->callsAtEnd = &callsOfLastDestroyedPlayer;
        players.push_back(player.get());
        return player;
    }
    IWaveDevice& WaveDevice() override { return wave; }

    // The players made so far (each lives as long as the window that made it), and the calls the last
    // one to go had received.
    std::vector<FakeMediaPlayer*> players;
    std::vector<std::string> callsOfLastDestroyedPlayer;
    FakeWaveDevice wave;
};

} // namespace lf::test
