#include "tests/support/qt/ManualClock.h"

#include "tests/support/TestSupport.h"

#include <map>

namespace lf::test
{

struct ManualClock::State
{
    struct Entry
    {
        std::function<void()> fire;
        bool armed = false;
        int interval = 0;
        std::int64_t due = 0;
        std::uint64_t order = 0; // when it was started, for ties
    };
    std::int64_t now = 0;
    std::uint64_t started = 0;
    int nextId = 0;
    std::map<int, Entry> entries; // shared with the backends, which may outlive the clock
};

namespace
{

class ManualBackend final : public lf::qt::TimerBackend
{
public:
    ManualBackend(std::shared_ptr<ManualClock::State> state, int id) : m_state(std::move(state)), m_id(id) {}
    ~ManualBackend() override { m_state->entries.erase(m_id); }

    void Start(int ms) override
    {
        auto& entry = m_state->entries.at(m_id);
        entry.armed = true;
        entry.interval = ms;
        entry.due = m_state->now + ms;
        entry.order = ++m_state->started;
    }
    void Stop() override { m_state->entries.at(m_id).armed = false; }

private:
    std::shared_ptr<ManualClock::State> m_state;
    int m_id;
};

} // namespace

ManualClock::ManualClock(FakeSystem* system)
    : m_state(std::make_shared<State>()), m_system(system), m_baseTick(system != nullptr ? system->tick : 0)
{
    lf::qt::SetTimerEngine(this);
}

ManualClock::~ManualClock()
{
    lf::qt::SetTimerEngine(nullptr);
}

std::unique_ptr<lf::qt::TimerBackend> ManualClock::Create(std::function<void()> fire)
{
    const int id = ++m_state->nextId;
    m_state->entries[id].fire = std::move(fire);
    return std::make_unique<ManualBackend>(m_state, id);
}

void ManualClock::Advance(std::int64_t ms)
{
    const std::int64_t target = m_state->now + ms;
    for (;;)
    {
        State::Entry* next = nullptr;
        for (auto& [id, entry] : m_state->entries)
            if (entry.armed && entry.due <= target &&
                (next == nullptr || entry.due < next->due ||
                 (entry.due == next->due && entry.order < next->order)))
                next = &entry;
        if (next == nullptr)
            break;
        m_state->now = next->due;
        next->due += next->interval;
        if (m_system != nullptr)
            m_system->tick = m_baseTick + static_cast<std::uint32_t>(m_state->now);
        const std::function<void()> fire = next->fire; // the handler may destroy its timer
        fire();
    }
    m_state->now = target;
    if (m_system != nullptr)
        m_system->tick = m_baseTick + static_cast<std::uint32_t>(target);
}

std::int64_t ManualClock::Now() const
{
    return m_state->now;
}

int ManualClock::ArmedCount() const
{
    int count = 0;
    for (const auto& [id, entry] : m_state->entries)
        count += entry.armed ? 1 : 0;
    return count;
}

} // namespace lf::test
