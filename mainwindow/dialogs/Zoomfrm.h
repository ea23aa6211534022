// "Zoom": picks a text zoom percentage (50, 75, 100, 150, 200 or a custom 20 to 1000) with a live preview
// of three lines drawn at 12 points times the percentage.
#pragma once

#include <QDialog>

#include <memory>

namespace lf::qt
{
class RichView;
}
class QRadioButton;
class QSpinBox;

namespace Ui
{
class Tm_pZoomFrm;
}

class Tm_pZoomFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Tm_pZoomFrm(QWidget* parent = nullptr);
    ~Tm_pZoomFrm() override;

    // The caller ticks a percentage before showing (another value ticks Custom with that value), and
    // reads the first ticked one after OK.
    void SetPercent(int percent);
    int GetPercent() const;

    void FormShow();
    // Text style 0 of the preview takes percent x 12 / 100 points; the preview is drawn again only when
    // that changes the size.
    void RefreshPreview();
    void OnRefreshPreview() { RefreshPreview(); }
    void m_CustomValueSpinEditChange();

    lf::qt::RichView& Preview() const { return *m_DescriptionViewStr; }
    QSpinBox& CustomValueSpinEdit() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::Tm_pZoomFrm> ui;
    lf::qt::RichView* m_DescriptionViewStr = nullptr;
};
