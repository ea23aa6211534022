// "Help": one help page in a read-only rich-text view. Made once at start-up and kept, so it shows the
// page loaded last until the next load.
#pragma once

#include <QDialog>

#include <memory>

namespace lf::qt
{
class RichView;
}

namespace Ui
{
class Tm_pHelpFrm;
}

class Tm_pHelpFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Tm_pHelpFrm(QWidget* parent = nullptr);
    ~Tm_pHelpFrm() override;

    // The caller loads the page into this view and formats it before showing the window.
    lf::qt::RichView& RichView() const { return *m_pRichView; }
    // Closes the window with result 1.
    void m_pCloseBtnClick();
    void reject() override;

private:
    std::unique_ptr<Ui::Tm_pHelpFrm> ui;
    lf::qt::RichView* m_pRichView = nullptr;
};
