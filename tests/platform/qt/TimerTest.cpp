#include "platform/qt/Timer.h"
#include "platform/qt/Desktop.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

using lf::qt::Timer;
using lf::test::ManualClock;

// A timer that notes the tick count of every firing.
struct RecordedTimer
{
    explicit RecordedTimer(lf::test::FakeSystem& system)
    {
        timer.OnTimer = [this, &system] { fired.push_back(system.tick - 1000); };
    }
    Timer timer;
    std::vector<std::uint32_t> fired;
};

TEST(Timer, IntervalOfZeroOrLessNeverFires)
{
    lf::test::FakeSystem system;
    ManualClock clock(&system);
    for (const int interval : {0, -5})
    {
        RecordedTimer t(system);
        t.timer.SetInterval(interval);
        t.timer.SetEnabled(true);
        clock.Advance(60'000);
        t.timer.Restart(interval);
        clock.Advance(60'000);
        EXPECT_TRUE(t.fired.empty()) << interval;
        EXPECT_FALSE(t.timer.Running());
    }
}

TEST(Timer, FiresEveryIntervalInTimeOrder)
{
    lf::test::FakeSystem system;
    ManualClock clock(&system);
    RecordedTimer fast(system), slow(system);
    std::vector<char> order;
    fast.timer.OnTimer = [&]
    {
        order.push_back('f');
        fast.fired.push_back(system.tick - 1000);
    };
    slow.timer.OnTimer = [&] { order.push_back('s'); };
    fast.timer.Restart(500);
    slow.timer.Restart(1000);
    clock.Advance(1999);
    EXPECT_EQ(fast.fired, (std::vector<std::uint32_t>{500, 1000, 1500}));
    EXPECT_EQ(order, (std::vector<char>{'f', 'f', 's', 'f'})); // at 1000 the one started first goes first
    clock.Advance(1);
    EXPECT_EQ(fast.fired.back(), 2000u);
    EXPECT_EQ(system.tick, 1000u + 2000u);
}

TEST(Timer, DisablingInsideOnTimerStopsIt)
{
    lf::test::FakeSystem system;
    ManualClock clock(&system);
    RecordedTimer t(system);
    t.timer.OnTimer = [&]
    {
        t.fired.push_back(system.tick - 1000);
        t.timer.SetEnabled(false);
    };
    t.timer.Restart(500);
    clock.Advance(10'000);
    EXPECT_EQ(t.fired, std::vector<std::uint32_t>{500});
    EXPECT_EQ(clock.ArmedCount(), 0);
}

TEST(Timer, ReArmingRestartsTheCountAndSettingTheSameValuesDoesNot)
{
    lf::test::FakeSystem system;
    ManualClock clock(&system);
    RecordedTimer t(system);
    t.timer.Restart(500);
    clock.Advance(300);
    t.timer.Restart(500); // disable, interval, enable: counts from 300
    clock.Advance(400);
    EXPECT_TRUE(t.fired.empty());
    t.timer.SetEnabled(true); // already enabled: no restart
    t.timer.SetInterval(500); // same interval: no restart
    clock.Advance(100);
    EXPECT_EQ(t.fired, std::vector<std::uint32_t>{800});
    t.timer.SetInterval(200); // a new interval counts from now (800)
    clock.Advance(200);
    EXPECT_EQ(t.fired, (std::vector<std::uint32_t>{800, 1000}));
}

TEST(Timer, TickWhileACommandRunsIsSkippedAndComesAgain)
{
    lf::test::FakeSystem system;
    ManualClock clock(&system);
    RecordedTimer t(system);
    t.timer.Restart(500);
    {
        lf::qt::CommandGuard command;
        clock.Advance(500);
    }
    clock.Advance(500);
    EXPECT_EQ(t.fired, std::vector<std::uint32_t>{1000});
}

TEST(Timer, HandlerMayDestroyItsTimer)
{
    ManualClock clock;
    auto timer = std::make_unique<Timer>();
    int fired = 0;
    timer->OnTimer = [&]
    {
        ++fired;
        timer.reset();
    };
    timer->Restart(100);
    clock.Advance(1000);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(clock.ArmedCount(), 0);
}

TEST(Timer, OverQTimerFiresAndAZeroIntervalStaysSilent)
{
    Timer ticking, silent;
    int ticks = 0, silentTicks = 0;
    ticking.OnTimer = [&] { ++ticks; };
    silent.OnTimer = [&] { ++silentTicks; };
    silent.Restart(0); // a QTimer with interval 0 would fire at every pass of the event loop
    ticking.Restart(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    ticking.SetEnabled(false);
    const int stoppedAt = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_EQ(silentTicks, 0);
}

} // namespace
