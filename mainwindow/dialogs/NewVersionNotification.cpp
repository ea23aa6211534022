#include "mainwindow/dialogs/NewVersionNotification.h"

#include "ui_NewVersionNotification.h"

#include "mainwindow/rules/VersionCheck.h"
#include "model/support/Log.h"
#include "model/support/Prefs.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/QtText.h"
#include "platform/sys/TextTrim.h"

Tm_NewVersionNotification::Tm_NewVersionNotification(CPrefs& prefs, QWidget* parent)
    : TFormDialog(kClose, parent), ui(std::make_unique<Ui::Tm_NewVersionNotification>()), m_Prefs(prefs)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    FixToFormSize();
    // The banner: white bold Arial on the highlight colour of menus.
    QFont banner(QStringLiteral("Arial"));
    banner.setBold(true);
    banner.setPointSize(12);
    ui->m_pBannerPanel->setFont(banner);
    QPalette colours = ui->m_pBannerPanel->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Highlight));
    colours.setColor(QPalette::WindowText, Qt::white);
    ui->m_pBannerPanel->setPalette(colours);
    connect(ui->m_ChekNewVersionCheck, &QCheckBox::clicked, this,
            &Tm_NewVersionNotification::m_ChekNewVersionCheckClick);
    connect(ui->m_Download, &QPushButton::clicked, this, &Tm_NewVersionNotification::m_DownloadClick);
    connect(ui->m_CloseBtn, &QPushButton::clicked, this, [this] { done(kClose); });
}

Tm_NewVersionNotification::~Tm_NewVersionNotification() = default;

void Tm_NewVersionNotification::SetVersionInfo(const std::string& version, const std::string& downloadUrl)
{
    ui->m_UpdateVersionStr->setText(lf::qt::ToQString(version));
    m_DownloadUrl = downloadUrl;
}

void Tm_NewVersionNotification::FormShow()
{
    ui->m_ChekNewVersionCheck->setChecked(m_Prefs.m_EnabledAutoUpdate);
}

void Tm_NewVersionNotification::m_ChekNewVersionCheckClick()
{
    m_Prefs.m_EnabledAutoUpdate = ui->m_ChekNewVersionCheck->isChecked();
}

void Tm_NewVersionNotification::m_DownloadClick()
{
    if (!lf::version::IsDownloadAddress(m_DownloadUrl))
    {
        WriteLog("Tm_NewVersionNotification::m_DownloadClick - ERROR, not a web address: " + m_DownloadUrl, 1,
                 1);
        done(kClose);
        return;
    }
    lf::qt::OpenWithShell(lf::sys::Trim(m_DownloadUrl));
    done(kDownload);
}
