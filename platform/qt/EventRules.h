// Small helpers that keep the windows' event rules easy to follow: a control changed from code runs no
// handler unless the window relies on it, and store handlers return at once while the window updates.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>
#include <QString>

namespace lf::qt
{

// Sets a flag (the window's updating flag) for the life of the object and restores the old value, so
// nested updates and early returns leave it right.
//
//     ScopedFlag updating(m_bUpdating);
template <typename Flag> class ScopedFlag
{
public:
    explicit ScopedFlag(Flag& flag, Flag value = Flag(1)) : m_flag(flag), m_saved(flag) { m_flag = value; }
    ~ScopedFlag() { m_flag = m_saved; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    Flag& m_flag;
    Flag m_saved;
};

// A function that connects an action to one of the receiver's handlers (a member taking no arguments), so
// that triggering the action runs the handler while the receiver lives:
//
//     const auto bind = lf::qt::ActionBinder(this);
//     bind(ui->m_SaveBtn, &Tm_MainFrm::m_SaveBtnClick);
template <typename Receiver> auto ActionBinder(Receiver* receiver)
{
    return [receiver](QAction* action, void (Receiver::*handler)()) {
        QObject::connect(action, &QAction::triggered, receiver,
                         [receiver, handler] { (receiver->*handler)(); });
    };
}

// Changing a combo box from code runs none of its handlers.
inline void SetComboIndexQuietly(QComboBox* combo, int index)
{
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index);
}

inline void SetComboTextQuietly(QComboBox* combo, const QString& text)
{
    const QSignalBlocker quiet(combo);
    if (combo->isEditable())
        combo->setEditText(text);
    else
        combo->setCurrentIndex(combo->findText(text));
}

// Ticks or clears a check box from code and, when its state changes, runs its click handlers (those
// connected to clicked), as the windows that rely on it expect; disabled boxes run them too.
inline void SetCheckedWithClick(QAbstractButton* box, bool checked)
{
    if (box->isChecked() == checked)
        return;
    box->setChecked(checked);
    emit box->clicked(checked);
}

// Ticks or clears a check box from code without running any handler.
inline void SetCheckedQuietly(QAbstractButton* box, bool checked)
{
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

} // namespace lf::qt
