#include "mainwindow/dialogs/Aboutfrm.h"

#include "lf/Version.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/QtText.h"
#include "ui_Aboutfrm.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace
{

constexpr const char* kVersionText = "Version " LF_VERSION_TEXT;

// The program's emblem: a closed book with a folded page.
QPixmap LogoPicture()
{
    QPixmap picture(72, 72);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x5f, 0x9e));
    p.drawRoundedRect(QRectF(10, 6, 52, 60), 6, 6);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawRect(QRectF(16, 12, 40, 46));
    p.setBrush(QColor(0xd9, 0x8c, 0x1f));
    QPainterPath fold;
    fold.moveTo(44, 12);
    fold.lineTo(56, 12);
    fold.lineTo(56, 26);
    fold.lineTo(50, 21);
    fold.lineTo(44, 26);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(QColor(0x2b, 0x5f, 0x9e), 2));
    for (int y = 30; y <= 50; y += 6)
        p.drawLine(QPointF(22, y), QPointF(48, y));
    return picture;
}

// The program's name as a title picture.
QPixmap NamePicture()
{
    QFont font("Arial", 22, QFont::Bold);
    const QFontMetrics metrics(font);
    const QString name = "Lernfold";
    QPixmap picture(metrics.horizontalAdvance(name) + 8, metrics.height() + 4);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(QColor(0x2b, 0x5f, 0x9e));
    p.drawText(picture.rect(), Qt::AlignLeft | Qt::AlignVCenter, name);
    return picture;
}

} // namespace

std::string SupportEmailAddress()
{
    return LF_SUPPORT_EMAIL;
}

std::string HomePageAddress()
{
    return LF_HOME_PAGE;
}

TCAboutFrm::TCAboutFrm(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::TCAboutFrm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->m_pLogoImage->setPixmap(LogoPicture());
    ui->m_pNameImage->setPixmap(NamePicture());
    ui->m_pPanelLayout->setColumnStretch(2, 1);
    ui->m_VersionStr->setStyleSheet("QLabel { color: #808080; font-family: Arial; font-weight: bold; }");
    ui->m_VersionStr2->setStyleSheet("QLabel { color: #3c8ce6; font-family: Arial; font-weight: bold; }");
    for (QLabel* link : {ui->m_EmailStr, ui->m_WebSiteStr})
    {
        link->setStyleSheet("QLabel { color: #0000ff; }");
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(1); });
}

TCAboutFrm::~TCAboutFrm() = default;

void TCAboutFrm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TCAboutFrm::reject()
{
    // Esc and the close box answer as OK does.
    done(1);
}

bool TCAboutFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
    {
        if (watched == ui->m_EmailStr)
            m_EmailStrClick();
        else if (watched == ui->m_WebSiteStr)
            m_WebSiteStrClick();
    }
    return QDialog::eventFilter(watched, event);
}

void TCAboutFrm::FormShow()
{
    ui->m_VersionStr->setText(kVersionText);
    ui->m_VersionStr2->setText(kVersionText);
    ui->m_EmailStr->setText(lf::qt::ToQString(SupportEmailAddress()));
    ui->m_WebSiteStr->setText(lf::qt::ToQString(HomePageAddress()));
}

void TCAboutFrm::m_EmailStrClick()
{
    lf::qt::OpenWithShell("mailto:" + SupportEmailAddress());
}

void TCAboutFrm::m_WebSiteStrClick()
{
    lf::qt::OpenWithShell(HomePageAddress());
}
