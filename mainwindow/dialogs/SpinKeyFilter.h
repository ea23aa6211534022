// The key filter of the "Custom:" percentage spin edits: a typed character passes only when it is a
// decimal digit, backspace, "%", "'" or "."; any other character is discarded. Keys that type nothing
// (arrows, Delete, shortcuts) pass.
#pragma once

#include <QObject>

class QSpinBox;

bool IsCustomSpinChar(char32_t ch);

class CSpinKeyFilter final : public QObject
{
public:
    // Filters the keys typed into the spin edit's text field; owned by the spin edit.
    static void Install(QSpinBox& spin);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
