// The desktop around the windows: busy cursor, beep, pumping pending events, pauses, the shell and the
// media player. Windows call the desktop in force; tests install a recording double.
#pragma once

#include <string>

class QObject;

namespace lf::qt
{

class Desktop
{
public:
    virtual ~Desktop();

    // Hourglass (true) and back to the default cursor (false).
    virtual void SetBusyCursor(bool busy) = 0;
    virtual void Beep() = 0;
    // Runs pending events except user input, so no click or key starts a second command meanwhile.
    virtual void ProcessEvents() = 0;
    virtual void Sleep(int milliseconds) = 0;
    // Asks the desktop to open a document, a folder or a web or "mailto:" address; no result.
    virtual void OpenWithShell(const std::string& pathOrUrl) = 0;
    // Plays a sound or video file (a video shows in videoOutput, a QVideoWidget, when given); failures
    // are swallowed. StopPlaying stops whatever plays.
    virtual void PlayFile(const std::string& path, QObject* videoOutput = nullptr) = 0;
    virtual void StopPlaying() = 0;
};

// The desktop in force: the Qt desktop unless a test installed another.
Desktop& CurrentDesktop();
// Installs a desktop (not owned); nullptr goes back to the Qt desktop.
void SetDesktop(Desktop* desktop);

// Shorthand for the design's free function.
void OpenWithShell(const std::string& pathOrUrl);

// The hourglass for the life of the object, restored also when the command leaves early.
class BusyCursor
{
public:
    BusyCursor() { CurrentDesktop().SetBusyCursor(true); }
    ~BusyCursor() { CurrentDesktop().SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Marks a command of the user (a click, a key, a menu item, a timer tick) as running. A second command
// that starts while one runs, which can only happen from inside pending events pumped by the first, is
// refused: the handler checks the guard and returns at once. Timer ticks are refused the same way and
// come again after their interval. A modal window suspends the guard, as it is a new conversation.
//
//     CommandGuard command;
//     if (!command) return;
class CommandGuard
{
public:
    CommandGuard();
    ~CommandGuard();
    CommandGuard(const CommandGuard&) = delete;
    CommandGuard& operator=(const CommandGuard&) = delete;

    explicit operator bool() const { return m_entered; }
    // True while a command runs (and no modal window suspends it).
    static bool Running();

private:
    bool m_entered;
};

// Lets commands run again for the life of the object (around a modal window's own event loop).
class CommandGuardSuspend
{
public:
    CommandGuardSuspend();
    ~CommandGuardSuspend();
    CommandGuardSuspend(const CommandGuardSuspend&) = delete;
    CommandGuardSuspend& operator=(const CommandGuardSuspend&) = delete;

private:
    bool m_saved;
};

} // namespace lf::qt
