// The study clock dialog: limits of the spin boxes, OK and Clear and Cancel on the collection's clock.
#include "mainwindow/dialogs/Timerfrm.h"

#include "model/collection/Itemsarray.h"
#include "tests/model/BookBuilder.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace
{

class TimerfrmTest : public ::testing::Test
{
protected:
    TimerfrmTest() : dialog(items)
    {
        items.Clear();
        items.SetCurrentMode(EPhase::Test, false);
    }

    template <class T> T* Control(const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    void SetTime(int h, int m, int s)
    {
        Control<QSpinBox>("m_hour")->setValue(h);
        Control<QSpinBox>("m_minute")->setValue(m);
        Control<QSpinBox>("m_sec")->setValue(s);
    }
    QString Label(const char* name) { return Control<QLabel>(name)->text(); }

    lf::test::BookEnvironment env;
    CItemsArray2 items;
    Tm_TimerFrm dialog;
};

} // namespace

TEST_F(TimerfrmTest, SpinBoxesStopAtNineHoursFiftyNineMinutesFiftyNineSeconds)
{
    SetTime(12, 75, 99);
    EXPECT_EQ(dialog.GetSeconds(), 35999u);
    SetTime(-1, -1, -1);
    EXPECT_EQ(dialog.GetSeconds(), 0u);
}

TEST_F(TimerfrmTest, OkStartsTheWholeLimitFromNowAndZeroSwitchesItOff)
{
    env.system.tick = 50'000;
    items.SetTimer(true, true, 1000, 600); // 49 s used already
    dialog.FormShow();
    SetTime(0, 2, 5);
    Control<QRadioButton>("m_pDownRadioButton")->setChecked(true);
    Control<QPushButton>("m_OkBtn")->click();
    EXPECT_EQ(dialog.result(), Tm_TimerFrm::kOk);
    EXPECT_TRUE(items.IsTimerOn());
    EXPECT_FALSE(items.IsTimerShowingElapsed());
    EXPECT_EQ(items.GetTimerLimit(), 125u);
    EXPECT_EQ(items.GetTimerText(true), "0:02:05");

    dialog.FormShow();
    EXPECT_EQ(Label("m_pInitialTimeSetStr"), "0:02:05");
    EXPECT_FALSE(Control<QLabel>("m_pTimeLeftStr")->isHidden());
    EXPECT_TRUE(Control<QRadioButton>("m_pDownRadioButton")->isChecked());
    SetTime(0, 0, 0);
    Control<QPushButton>("m_OkBtn")->click();
    EXPECT_FALSE(items.IsTimerOn());

    dialog.FormShow();
    EXPECT_EQ(Label("m_pInitialTimeSetStr"), "Off");
    EXPECT_TRUE(Control<QLabel>("m_pTimeLeftLabel")->isHidden());
    EXPECT_TRUE(Control<QLabel>("m_pTimeLeftStr")->isHidden());
}

TEST_F(TimerfrmTest, CancelAfterClearPutsTheLimitBack)
{
    items.SetTimer(true, false, env.system.tick, 90);
    dialog.FormShow();
    EXPECT_EQ(Label("m_pTimeLeftStr"), "0:01:30");
    SetTime(1, 2, 3);
    Control<QPushButton>("btn_ReZero")->click();
    EXPECT_EQ(dialog.GetSeconds(), 0u);
    EXPECT_FALSE(items.IsTimerOn());
    EXPECT_EQ(Label("m_pInitialTimeSetStr"), "Off");

    dialog.reject(); // Cancel, Esc and the close box
    EXPECT_EQ(dialog.result(), Tm_TimerFrm::kCancel);
    EXPECT_TRUE(items.IsTimerOn());
    EXPECT_EQ(items.GetTimerLimit(), 90u);
}

TEST_F(TimerfrmTest, TimeLeftIsEmptyOutsideTheTestPhase)
{
    items.SetCurrentMode(EPhase::Review, false);
    items.SetTimer(true, true, env.system.tick, 90);
    dialog.FormShow();
    EXPECT_EQ(Label("m_pInitialTimeSetStr"), "0:01:30");
    EXPECT_EQ(Label("m_pTimeLeftStr"), "");
    EXPECT_TRUE(Control<QRadioButton>("m_pUpRadioButton")->isChecked());
}
