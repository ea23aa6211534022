// The program's window on the operating system: clock, tick count, local time, pauses, its own path and
// the standard folders, and the one seedable random generator. Tests install their own services so that
// nothing depends on the real clock, the real home folder or chance.
#pragma once

#include "platform/sys/PathText.h"

#include <cstdint>
#include <string>

namespace lf::sys
{

// A local calendar date and time, as the user's clock shows it.
struct LocalDateTime
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class SystemServices
{
public:
    virtual ~SystemServices();

    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t UtcSeconds() = 0;
    // Milliseconds since an arbitrary fixed moment; wraps like a 32-bit tick counter.
    virtual std::uint32_t TickCount() = 0;
    virtual LocalDateTime LocalNow() = 0;
    // Converts seconds since 1970-01-01 00:00 UTC to local time.
    virtual LocalDateTime ToLocal(std::int64_t utcSeconds) = 0;
    virtual void Sleep(int milliseconds) = 0;
    // Full path of the running program ("/usr/bin/lernfold").
    virtual std::string ProgramPath() = 0;
    // Folder for temporary files, ending in "/".
    virtual std::string TempFolder() = 0;
    // The user's documents folder, ending in "/"; empty when there is none.
    virtual std::string DocumentsFolder() = 0;
};

// The services in force: the real ones unless a test installed others.
SystemServices& Services();
// Installs services (not owned); nullptr goes back to the real ones.
void SetServices(SystemServices* services);

// The real services over the C++ library and the XDG conventions.
SystemServices& RealServices();

// Seeds the one pseudo-random generator of the program.
void SeedRandom(std::uint32_t seed);
// The remainder of the generator's next non-negative value divided by |n|; 0 when n is 0.
int Random(int n);

} // namespace lf::sys
