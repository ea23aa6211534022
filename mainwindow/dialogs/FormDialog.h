// The base of the modal dialogs of a fixed size that fill their controls each time the program shows them
// and that answer Esc and the close box with one fixed modal result.
#pragma once

#include <QDialog>

class QShowEvent;

class TFormDialog : public QDialog
{
    Q_OBJECT

public:
    // Esc and the close box close with the result given at construction.
    void reject() override;

protected:
    TFormDialog(int closeResult, QWidget* parent);

    // After the form is set up: no help button in the title bar, and the window keeps the form's size.
    void FixToFormSize();

    // Fills the controls; runs before the dialog appears whenever the program shows it, not when the
    // window system shows it again (after it was minimised, say).
    virtual void FormShow() = 0;

    void showEvent(QShowEvent* event) override;

private:
    int m_CloseResult;
};
