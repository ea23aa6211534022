// Window timers with the program's semantics: an enabled flag, an interval and an OnTimer handler. An
// interval of 0 or less never fires; changing the interval or re-enabling restarts the count. Ticks run
// on the window thread; a tick that falls while a command runs is skipped and comes again after its
// interval (see CommandGuard). Tests replace the engine by a manual clock.
#pragma once

#include <functional>
#include <memory>

namespace lf::qt
{

// What a timer runs on: the product's QTimer, or a test's manual clock.
class TimerBackend
{
public:
    virtual ~TimerBackend();
    // (Re)starts counting the interval from now; ms > 0.
    virtual void Start(int ms) = 0;
    virtual void Stop() = 0;
};

class TimerEngine
{
public:
    virtual ~TimerEngine();
    virtual std::unique_ptr<TimerBackend> Create(std::function<void()> fire) = 0;
};

// The engine in force: QTimer unless a test installed another. A timer takes the engine in force when
// it is constructed.
TimerEngine& CurrentTimerEngine();
// Installs an engine (not owned); nullptr goes back to QTimer.
void SetTimerEngine(TimerEngine* engine);

class Timer
{
public:
    // Disabled, interval 1000 ms, as the windows' timers are at design time.
    Timer();
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return m_enabled; }
    // Enabling a disabled timer starts counting from now; setting the same value changes nothing.
    void SetEnabled(bool enabled);
    int Interval() const { return m_interval; }
    // A new interval restarts the count of an enabled timer.
    void SetInterval(int ms);
    // Disable, set the interval, enable: the count starts from now whatever the timer did before.
    void Restart(int ms);
    // True while ticks will come: enabled with an interval above 0.
    bool Running() const { return m_enabled && m_interval > 0; }

    std::function<void()> OnTimer;

private:
    void Update();
    void Fire();

    bool m_enabled = false;
    int m_interval = 1000;
    std::unique_ptr<TimerBackend> m_backend;
};

} // namespace lf::qt
