#include "platform/qt/KeyState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{

using lf::qt::ModifierKeyState;

void Send(QWidget& target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    QKeyEvent event(type, key, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(&target, &event);
}

TEST(KeyState, SidesComeFromScanCodesAndWithoutOneTheKeyIsTheLeftOne)
{
    QWidget window;
    ModifierKeyState keys;
    const struct
    {
        quint32 scanCode;
        bool left, right;
    } cases[] = {{37, true, false}, {105, false, true}, {0, true, false}};
    for (const auto& c : cases)
    {
        Send(window, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, c.scanCode);
        EXPECT_EQ(keys.LeftCtrlDown(), c.left) << c.scanCode;
        EXPECT_EQ(keys.RightCtrlDown(), c.right) << c.scanCode;
        // A key typed with Ctrl held keeps the state.
        Send(window, QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, 55);
        EXPECT_EQ(keys.RightCtrlDown(), c.right) << c.scanCode;
        Send(window, QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, c.scanCode);
        EXPECT_FALSE(keys.LeftCtrlDown());
        EXPECT_FALSE(keys.RightCtrlDown());
    }
    Send(window, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier, 108);
    EXPECT_TRUE(keys.RightAltDown());
    EXPECT_FALSE(keys.LeftAltDown());
}

TEST(KeyState, ReleaseThatWasNotSeenIsPutRightByTheNextKey)
{
    QWidget window;
    ModifierKeyState keys;
    Send(window, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 105);
    ASSERT_TRUE(keys.RightCtrlDown());
    Send(window, QEvent::KeyPress, Qt::Key_V, Qt::NoModifier, 55); // released elsewhere meanwhile
    EXPECT_FALSE(keys.RightCtrlDown());

    Send(window, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 37);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(keys.LeftCtrlDown());
}

} // namespace
