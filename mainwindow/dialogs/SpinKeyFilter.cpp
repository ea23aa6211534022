#include "mainwindow/dialogs/SpinKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

bool IsCustomSpinChar(char32_t ch)
{
    return (ch >= U'0' && ch <= U'9') || ch == U'\b' || ch == U'%' || ch == U'\'' || ch == U'.';
}

void CSpinKeyFilter::Install(QSpinBox& spin)
{
    auto* filter = new CSpinKeyFilter(&spin);
    spin.installEventFilter(filter);
    if (QLineEdit* edit = spin.findChild<QLineEdit*>())
        edit->installEventFilter(filter);
}

bool CSpinKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace)
        return false;
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    for (const char32_t ch : text.toUcs4())
        if (!IsCustomSpinChar(ch))
            return true;
    return false;
}
