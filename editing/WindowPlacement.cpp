#include "editing/WindowPlacement.h"

#include <QWidget>

SWindowPlacement PlacementOf(const QWidget& window, SWindowPlacement placement)
{
    if (!window.isMaximized() && !window.isMinimized())
    {
        placement.Left = window.x();
        placement.Top = window.y();
        placement.Width = window.width();
        placement.Height = window.height();
    }
    placement.Maximized = window.isMaximized();
    return placement;
}

void ApplyPlacement(QWidget& window, const SWindowPlacement& placement, void (*correctSize)(int&, int&))
{
    if (placement.Width <= 0 || placement.Height <= 0)
        return;
    if (window.isMaximized())
        window.showNormal();
    int width = placement.Width;
    int height = placement.Height;
    if (correctSize)
        correctSize(width, height);
    window.move(placement.Left, placement.Top);
    window.resize(width, height);
    if (placement.Maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}
