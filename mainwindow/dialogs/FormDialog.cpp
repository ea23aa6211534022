#include "mainwindow/dialogs/FormDialog.h"

#include <QShowEvent>

TFormDialog::TFormDialog(int closeResult, QWidget* parent) : QDialog(parent), m_CloseResult(closeResult) {}

void TFormDialog::FixToFormSize()
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
}

void TFormDialog::reject()
{
    done(m_CloseResult);
}

void TFormDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}
