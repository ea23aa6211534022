// A timer engine for tests: time stands still until the test advances it, and Advance fires every
// tick that falls due on the way, in time order (timers due at the same moment in the order they were
// started). Installed for its lifetime; timers constructed meanwhile run on it. With a FakeSystem the
// millisecond tick count moves along, so handlers that read it see the moment they fire at.
#pragma once

#include "platform/qt/Timer.h"

#include <cstdint>
#include <memory>

namespace lf::test
{

class FakeSystem;

class ManualClock final : public lf::qt::TimerEngine
{
public:
    explicit ManualClock(FakeSystem* system = nullptr);
    ~ManualClock() override;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void Advance(std::int64_t ms);
    // Milliseconds advanced since the clock was made.
    std::int64_t Now() const;
    // Timers that will fire (started and not stopped).
    int ArmedCount() const;

    std::unique_ptr<lf::qt::TimerBackend> Create(std::function<void()> fire) override;

    struct State;

private:
    std::shared_ptr<State> m_state;
    FakeSystem* m_system;
    std::uint32_t m_baseTick;
};

} // namespace lf::test
