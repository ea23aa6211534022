#include "platform/qt/KeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace lf::qt
{

namespace
{

// X11 key codes, which Wayland's evdev codes plus 8 equal.
constexpr std::uint32_t kRightCtrlScanCode = 105;
constexpr std::uint32_t kRightAltScanCode = 108;

} // namespace

KeySide SideOfModifierKey(std::uint32_t nativeScanCode)
{
    return nativeScanCode == kRightCtrlScanCode || nativeScanCode == kRightAltScanCode ? KeySide::Right
                                                                                       : KeySide::Left;
}

ModifierKeyState::ModifierKeyState(QObject* parent) : QObject(parent)
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
}

ModifierKeyState::~ModifierKeyState()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

void ModifierKeyState::Heal(Qt::KeyboardModifiers modifiers)
{
    if (!modifiers.testFlag(Qt::ControlModifier))
        m_leftCtrl = m_rightCtrl = false;
    if (!modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::GroupSwitchModifier))
        m_leftAlt = m_rightAlt = false;
}

bool ModifierKeyState::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // Shortcut overrides repeat the key press without its scan code; the press itself counts.
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool down = type != QEvent::KeyRelease;
        const bool right = SideOfModifierKey(key->nativeScanCode()) == KeySide::Right;
        if (key->key() == Qt::Key_Control)
            (right ? m_rightCtrl : m_leftCtrl) = down;
        else if (key->key() == Qt::Key_Alt || key->key() == Qt::Key_AltGr)
            (right ? m_rightAlt : m_leftAlt) = down;
        else
            Heal(key->modifiers());
    }
    else if (type == QEvent::MouseButtonPress || type == QEvent::Wheel)
        Heal(static_cast<QInputEvent*>(event)->modifiers());
    else if (type == QEvent::ApplicationDeactivate)
        m_leftCtrl = m_rightCtrl = m_leftAlt = m_rightAlt = false;
    return QObject::eventFilter(watched, event);
}

} // namespace lf::qt
