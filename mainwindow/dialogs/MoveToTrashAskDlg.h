// The question asked before questions go to the Trash, with its "Do not show again." choice, and the ask
// operation that skips it once the user chose so.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <memory>
#include <string>

class CPrefs;
class QCheckBox;
class QLabel;

namespace Ui
{
class TCMoveQuestionToRecycleBinAskDlg;
}

class TCMoveQuestionToRecycleBinAskDlg : public TFormDialog
{
    Q_OBJECT

public:
    // Modal results; Esc and the close box answer No.
    static constexpr int kYes = 6;
    static constexpr int kNo = 7;

    explicit TCMoveQuestionToRecycleBinAskDlg(QWidget* parent = nullptr);
    ~TCMoveQuestionToRecycleBinAskDlg() override;

    QLabel* m_pMessage() const;
    QCheckBox* m_pDoNotShowAgainCheckBox() const;

protected:
    void FormShow() override {}

private:
    std::unique_ptr<Ui::TCMoveQuestionToRecycleBinAskDlg> ui;
};

// True at once when the option MoveToTrusShowAskMsg is set. Otherwise asks with the message: Yes stores
// the "Do not show again." box into the option and answers true; No (or Esc) answers false and leaves
// the option.
bool AskMoveToRecycleBin(CPrefs& prefs, const std::string& message, QWidget* owner = nullptr);
