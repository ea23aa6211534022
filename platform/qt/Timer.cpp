#include "platform/qt/Timer.h"

#include "platform/qt/Desktop.h"

#include <QTimer>

namespace lf::qt
{

namespace
{

class QtTimerBackend final : public TimerBackend
{
public:
    explicit QtTimerBackend(std::function<void()> fire)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [fire = std::move(fire)] { fire(); });
    }
    void Start(int ms) override { m_timer.start(ms); }
    void Stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

class QtTimerEngine final : public TimerEngine
{
public:
    std::unique_ptr<TimerBackend> Create(std::function<void()> fire) override
    {
        return std::make_unique<QtTimerBackend>(std::move(fire));
    }
};

TimerEngine* g_engine = nullptr;

} // namespace

TimerBackend::~TimerBackend() = default;
TimerEngine::~TimerEngine() = default;

TimerEngine& CurrentTimerEngine()
{
    static QtTimerEngine real;
    return g_engine != nullptr ? *g_engine : real;
}

void SetTimerEngine(TimerEngine* engine)
{
    g_engine = engine;
}

Timer::Timer() : m_backend(CurrentTimerEngine().Create([this] { Fire(); })) {}

Timer::~Timer() = default;

void Timer::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Update();
}

void Timer::SetInterval(int ms)
{
    if (ms == m_interval)
        return;
    m_interval = ms;
    Update();
}

void Timer::Restart(int ms)
{
    m_enabled = true;
    m_interval = ms;
    Update();
}

void Timer::Update()
{
    if (Running())
        m_backend->Start(m_interval);
    else
        m_backend->Stop();
}

void Timer::Fire()
{
    if (!Running())
        return;
    CommandGuard command;
    if (!command || !OnTimer)
        return;
    // The handler may destroy this timer (closing its window); it runs from a copy.
    const std::function<void()> handler = OnTimer;
    handler();
}

} // namespace lf::qt
