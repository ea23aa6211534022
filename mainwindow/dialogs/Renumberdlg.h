// "Renumber": the start number, the step and the prefix with which the question list renumbers the
// chapter numbers of the selected questions. The caller reads the three controls after Renumber.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <memory>

class QLineEdit;
class QSpinBox;
namespace lf::qt
{
class ModifierKeyState;
}

namespace Ui
{
class Tm_pRenumberDlg;
}

class Tm_pRenumberDlg : public TFormDialog
{
    Q_OBJECT

public:
    // Modal results; Esc and the close box answer Cancel.
    static constexpr int kRenumber = 1;
    static constexpr int kCancel = 2;

    explicit Tm_pRenumberDlg(QWidget* parent = nullptr);
    ~Tm_pRenumberDlg() override;

    QSpinBox* m_pStartNum() const;
    QSpinBox* m_pStepNum() const;
    QLineEdit* m_pLayerStr() const;

    // The prefix's key filter: a character that may not reach the field becomes 0.
    void m_pLayerStrKeyPress(char32_t& key) const;

protected:
    void FormShow() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::Tm_pRenumberDlg> ui;
    std::unique_ptr<lf::qt::ModifierKeyState> m_pKeys;
};
