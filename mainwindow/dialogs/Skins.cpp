#include "mainwindow/dialogs/Skins.h"

#include "mainwindow/rules/SkinPath.h"
#include "model/support/Folders.h"
#include "model/support/Prefs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <filesystem>

const std::string& BuiltInSkin()
{
    static const std::string sheet = R"(
QMainWindow, QDialog { background: #f3f5f8; }
QToolBar { background: #e8ecf2; border: none; border-bottom: 1px solid #c9d1dc; spacing: 2px; padding: 2px; }
QToolBar QToolButton { padding: 3px 6px; border-radius: 4px; color: #1e2a38; }
QToolBar QToolButton:hover { background: #d6e2f1; }
QToolBar QToolButton:checked { background: #c3d6ee; border: 1px solid #8fb0d8; }
QStatusBar { background: #e8ecf2; border-top: 1px solid #c9d1dc; color: #2b3a4a; }
QFrame#m_IntroView { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #234a78, stop:1 #3f78b5); }
QFrame#m_IntroView QLabel { color: #f2f6fb; }
QLabel#m_pIntroTitleLabel { font-size: 40pt; font-weight: bold; color: #ffffff; }
QLabel#m_pIntroSubtitleLabel { font-size: 13pt; }
QLabel#m_VersiopnStr { font-size: 11pt; color: #cfe0f3; }
QLabel#m_VersiopnStr2 { color: #cfe0f3; }
QLabel#m_pIntroHintLabel { font-size: 11pt; color: #ffe9a8; }
QPushButton#m_pTutorialBtn { padding: 6px 18px; }
QFrame#m_SessionView { background: #f3f5f8; border: none; }
QFrame#m_pSessionCard { background: #ffffff; border: 1px solid #ccd5e0; border-radius: 6px; }
QLabel#m_pPhaseLabel { font-size: 18pt; font-weight: bold; color: #234a78; }
QLabel#m_pBookNameSessionViewLabel { font-weight: bold; }
QPushButton#m_StartSessionBtn { padding: 6px 16px; }
QFrame#m_FilterView { background: #e8ecf2; border: none; border-bottom: 1px solid #c9d1dc; }
QFrame#m_pQuestionPane { background: #ffffff; border: 1px solid #ccd5e0; }
QLabel#m_ActiveViewModeCaption { font-size: 12pt; font-weight: bold; color: #234a78; }
QLabel#m_CurrentNumStr { font-size: 11pt; color: #2b3a4a; padding-left: 8px; }
)";
    return sheet;
}

void ApplySkin(const CPrefs& prefs)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    if (!prefs.m_EnableSkin)
    {
        app->setStyleSheet(QString());
        return;
    }
    const std::string path = ResolveSkinPath(prefs, lf::qt::ToStdString(QDir::currentPath()));
    std::string sheet;
    std::error_code error;
    if (!path.empty() && std::filesystem::is_regular_file(path, error) && ReadFileToBuffer(path, sheet))
        app->setStyleSheet(lf::qt::ToQString(sheet));
    else
        app->setStyleSheet(lf::qt::ToQString(BuiltInSkin()));
}

QPixmap DefaultSkinPreview()
{
    // The built-in look in miniature: toolbar, intro banner, a card with text lines, the status bar.
    QPixmap picture(260, 170);
    picture.fill(QColor("#f3f5f8"));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(0, 0, 260, 22), QColor("#e8ecf2"));
    painter.setPen(QColor("#c9d1dc"));
    painter.drawLine(0, 22, 260, 22);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i)
    {
        painter.setBrush(i == 2 ? QColor("#c3d6ee") : QColor("#d6e2f1"));
        painter.drawRoundedRect(QRectF(6 + i * 24, 4, 18, 14), 3, 3);
    }
    QLinearGradient banner(0, 23, 0, 78);
    banner.setColorAt(0, QColor("#234a78"));
    banner.setColorAt(1, QColor("#3f78b5"));
    painter.fillRect(QRect(0, 23, 260, 55), banner);
    QFont title = painter.font();
    title.setBold(true);
    title.setPointSize(13);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(12, 30, 236, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lernfold"));
    painter.setPen(QColor("#ffe9a8"));
    painter.drawLine(12, 62, 110, 62);
    painter.setPen(QColor("#ccd5e0"));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(12.5, 88.5, 235, 56), 5, 5);
    painter.setPen(QColor("#234a78"));
    painter.drawLine(24, 100, 120, 100);
    painter.setPen(QColor("#9aa7b6"));
    for (int y = 112; y <= 134; y += 11)
        painter.drawLine(24, y, y == 134 ? 150 : 230, y);
    painter.fillRect(QRect(0, 156, 260, 14), QColor("#e8ecf2"));
    painter.setPen(QColor("#c9d1dc"));
    painter.drawLine(0, 156, 260, 156);
    return picture;
}
