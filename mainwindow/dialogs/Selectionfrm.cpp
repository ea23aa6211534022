#include "mainwindow/dialogs/Selectionfrm.h"

#include "ui_Selectionfrm.h"

#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>

using lf::region::EHitArea;

namespace
{

QRect ToQRect(const lf::region::SRegionRect& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

Qt::CursorShape CursorOf(EHitArea area)
{
    switch (area)
    {
    case EHitArea::TopLeft:
    case EHitArea::BottomRight:
        return Qt::SizeFDiagCursor;
    case EHitArea::TopRight:
    case EHitArea::BottomLeft:
        return Qt::SizeBDiagCursor;
    case EHitArea::Left:
    case EHitArea::Right:
        return Qt::SizeHorCursor;
    case EHitArea::Top:
    case EHitArea::Bottom:
        return Qt::SizeVerCursor;
    case EHitArea::Caption:
        break;
    }
    return Qt::SizeAllCursor;
}

} // namespace

TCSelectionFrm::TCSelectionFrm(QWidget* parent)
    : TFormDialog(kCancelled, parent), ui(std::make_unique<Ui::TCSelectionFrm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setMouseTracking(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        QRect frame = geometry();
        frame.moveCenter(screen->geometry().center());
        setGeometry(frame);
    }
    UpdateRegion();
}

TCSelectionFrm::~TCSelectionFrm() = default;

void TCSelectionFrm::FormShow()
{
    UpdateRegion();
    ShowSizeHint();
}

void TCSelectionFrm::UpdateRegion()
{
    const lf::region::SRegionShape shape = lf::region::SelectionRegionShape(width(), height());
    const QRect bounds = ToQRect(shape.bounds);
    QRegion region = QRegion(bounds).subtracted(QRegion(bounds.adjusted(1, 1, -1, -1)));
    region += QRegion(ToQRect(shape.circle), QRegion::Ellipse);
    for (const auto& corner : shape.corners)
        region += QRegion(ToQRect(corner));
    setMask(region);
    update();
}

void TCSelectionFrm::ShowSizeHint()
{
    const QString text = lf::qt::ToQString(lf::region::SelectionSizeText(width(), height()));
    setToolTip(text);
    if (!m_pHintWindow)
    {
        if (!m_bAllowHint)
            return;
        m_pHintWindow = std::make_unique<QLabel>(nullptr, Qt::ToolTip);
        m_pHintWindow->setObjectName(QStringLiteral("m_pHintWindow"));
        m_pHintWindow->setMargin(2);
        m_pHintWindow->setStyleSheet(QStringLiteral("QLabel { background: #ffffe1; color: black; "
                                                    "border: 1px solid #767676; }"));
    }
    m_pHintWindow->setText(text);
    m_pHintWindow->setMaximumWidth(500);
    m_pHintWindow->adjustSize();
    const QRect frame = geometry();
    const QSize size = m_pHintWindow->size();
    m_pHintWindow->setGeometry(QRect(QPoint(frame.left(), frame.top() - 5 - size.height()), size));
    if (isVisible())
        m_pHintWindow->show();
}

void TCSelectionFrm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(0, 0, 0, h - 1);
    painter.drawLine(0, 0, w - 1, 0);
    painter.drawLine(w - 1, 0, w - 1, h - 1);
    painter.drawLine(0, h - 1, w - 1, h - 1);
    for (const QRect& corner :
         {QRect(0, 0, 6, 6), QRect(w - 6, 0, 6, 6), QRect(w - 6, h - 6, 6, 6), QRect(0, h - 6, 6, 6)})
        painter.fillRect(corner, Qt::red);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(QPoint(w / 2 - 9, h / 2 - 9), QPoint(w / 2 + 9, h / 2 + 9)));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(w / 2, h / 2 - 10, w / 2, h / 2 + 9);
    painter.drawLine(w / 2 - 10, h / 2, w / 2 + 9, h / 2);
}

void TCSelectionFrm::resizeEvent(QResizeEvent* event)
{
    TFormDialog::resizeEvent(event);
    UpdateRegion();
    ShowSizeHint();
}

void TCSelectionFrm::moveEvent(QMoveEvent* event)
{
    ShowSizeHint();
    TFormDialog::moveEvent(event);
}

void TCSelectionFrm::hideEvent(QHideEvent* event)
{
    // The hint goes with the frame, before the caller captures the screen.
    if (m_pHintWindow)
        m_pHintWindow->hide();
    TFormDialog::hideEvent(event);
}

void TCSelectionFrm::keyPressEvent(QKeyEvent* event)
{
    // The answer comes when the key goes up.
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        TFormDialog::keyPressEvent(event);
    }
}

void TCSelectionFrm::keyReleaseEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        done(kAccepted);
        return;
    case Qt::Key_Escape:
        done(kCancelled);
        return;
    default:
        TFormDialog::keyReleaseEvent(event);
    }
}

void TCSelectionFrm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_DragArea = lf::region::SelectionHitTest(at.x(), at.y(), width(), height());
    m_DragStart = event->globalPosition().toPoint();
    m_FrameAtStart = geometry();
    m_bDragging = true;
}

void TCSelectionFrm::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bDragging)
    {
        const QPoint at = event->position().toPoint();
        setCursor(CursorOf(lf::region::SelectionHitTest(at.x(), at.y(), width(), height())));
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - m_DragStart;
    const lf::region::SFrameRect start{m_FrameAtStart.x(), m_FrameAtStart.y(), m_FrameAtStart.width(),
                                       m_FrameAtStart.height()};
    const lf::region::SFrameRect frame =
        lf::region::DragSelectionFrame(m_DragArea, start, delta.x(), delta.y());
    setGeometry(frame.x, frame.y, frame.width, frame.height);
}

void TCSelectionFrm::mouseReleaseEvent(QMouseEvent*)
{
    m_bDragging = false;
}
