// A desktop for tests: nothing is shown, opened, played or waited for; every call is counted or
// recorded. Installed for its lifetime.
#pragma once

#include "platform/qt/Desktop.h"

#include <string>
#include <vector>

namespace lf::test
{

class RecordingDesktop final : public lf::qt::Desktop
{
public:
    RecordingDesktop() { lf::qt::SetDesktop(this); }
    ~RecordingDesktop() override { lf::qt::SetDesktop(nullptr); }
    RecordingDesktop(const RecordingDesktop&) = delete;
    RecordingDesktop& operator=(const RecordingDesktop&) = delete;

    int busyDepth = 0; // hourglass requests not yet taken back
    int busyCount = 0; // hourglass requests in all
    int beeps = 0;
    int eventPumps = 0;
    int sleptMilliseconds = 0;
    std::vector<std::string> opened; // OpenWithShell, in order
    std::vector<std::string> played; // PlayFile, in order
    int stops = 0;

    void SetBusyCursor(bool busy) override
    {
        if (busy)
        {
            ++busyDepth;
            ++busyCount;
        }
        else
            --busyDepth;
    }
    void Beep() override { ++beeps; }
    void ProcessEvents() override { ++eventPumps; }
    void Sleep(int milliseconds) override { sleptMilliseconds += milliseconds; }
    void OpenWithShell(const std::string& pathOrUrl) override { opened.push_back(pathOrUrl); }
    void PlayFile(const std::string& path, QObject*) override { played.push_back(path); }
    void StopPlaying() override { ++stops; }
};

} // namespace lf::test
