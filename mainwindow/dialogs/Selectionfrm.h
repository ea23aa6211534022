// "Capture selected region": a see-through frame over the screen that the user moves (by the centre
// mark) and sizes (by the outline and the corner squares) to mark the rectangle a screen capture takes.
// Enter or Space accept (1), Esc cancels (2); the caller reads the frame's geometry afterwards. Only the
// outline, the corner squares and the centre mark take the mouse; clicks elsewhere reach the windows
// beneath.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"
#include "mainwindow/rules/SelectionRegion.h"

#include <QPoint>
#include <QRect>

#include <memory>

class QLabel;

namespace Ui
{
class TCSelectionFrm;
}

class TCSelectionFrm : public TFormDialog
{
    Q_OBJECT

public:
    static constexpr int kAccepted = 1;
    static constexpr int kCancelled = 2;

    explicit TCSelectionFrm(QWidget* parent = nullptr);
    ~TCSelectionFrm() override;

    // The marked rectangle on the screen.
    QRect SelectedRect() const { return geometry(); }
    // The size hint above the frame; null before the first resize or move.
    QLabel* SizeHintWindow() const { return m_pHintWindow.get(); }

    // The see-through shape of the frame for its current size.
    void UpdateRegion();
    // The hint "WxH" above the frame's top-left corner.
    void ShowSizeHint();

protected:
    void FormShow() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<Ui::TCSelectionFrm> ui;
    std::unique_ptr<QLabel> m_pHintWindow;
    bool m_bAllowHint = true;
    // The drag under way: what it grabbed, where it started and the frame then.
    bool m_bDragging = false;
    lf::region::EHitArea m_DragArea = lf::region::EHitArea::Caption;
    QPoint m_DragStart;
    QRect m_FrameAtStart;
};
