// Which of the left and right Ctrl and Alt keys is held down, as some shortcuts of the windows tell them
// apart. The sides come from the keys' native scan codes where the platform gives them (X11 and
// Wayland); without one, a key counts as the left one.
#pragma once

#include <QObject>

#include <cstdint>

namespace lf::qt
{

enum class KeySide
{
    Left,
    Right,
};

// The side of a Ctrl or Alt key from its native scan code.
KeySide SideOfModifierKey(std::uint32_t nativeScanCode);

// Watches every key event of the application (installed as its event filter while it lives). A key
// released while another program had the focus is not seen: the modifiers of the next key or mouse
// event, and the application losing the focus, put the state right.
class ModifierKeyState final : public QObject
{
public:
    explicit ModifierKeyState(QObject* parent = nullptr);
    ~ModifierKeyState() override;

    bool LeftCtrlDown() const { return m_leftCtrl; }
    bool RightCtrlDown() const { return m_rightCtrl; }
    bool LeftAltDown() const { return m_leftAlt; }
    bool RightAltDown() const { return m_rightAlt; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Heal(Qt::KeyboardModifiers modifiers);

    bool m_leftCtrl = false;
    bool m_rightCtrl = false;
    bool m_leftAlt = false;
    bool m_rightAlt = false;
};

} // namespace lf::qt
