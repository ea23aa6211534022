// "Images Scale": picks a picture scale percentage (25 to 200 or a custom 20 to 1000) and, when the
// caller asks for it, a yes/no choice with the caller's caption.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QSpinBox;

namespace Ui
{
class Tm_pScaleFrm;
}

class Tm_pScaleFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Tm_pScaleFrm(QWidget* parent = nullptr);
    ~Tm_pScaleFrm() override;

    // Ticks the percentage (another value ticks Custom with that value, the spin edit otherwise shows
    // 100); the check box shows only when asked, then with the given state and caption.
    void SetScale(int percent, bool showCheckBox, bool checked, const std::string& caption);
    // The first ticked percentage (percent is left as it is when none is ticked) and the check box state.
    void GetScale(int& percent, bool& checked) const;

    QSpinBox& CustomValueSpinEdit() const;
    bool IsCheckBoxShown() const;
    std::string CheckBoxCaption() const;

private:
    std::unique_ptr<Ui::Tm_pScaleFrm> ui;
    std::string m_Caption; // the check box's caption as given, before it is broken into lines
};
