// "New Version Notification": offers a newer version that the version page names, with a Download button
// and the choice of checking at start-up. Created once and kept for the whole run.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <memory>
#include <string>

class CPrefs;

namespace Ui
{
class Tm_NewVersionNotification;
}

class Tm_NewVersionNotification : public TFormDialog
{
    Q_OBJECT

public:
    // Modal results: Close (and Esc) answer OK, Download answers Yes.
    static constexpr int kClose = 1;
    static constexpr int kDownload = 6;

    explicit Tm_NewVersionNotification(CPrefs& prefs, QWidget* parent = nullptr);
    ~Tm_NewVersionNotification() override;

    // The offered version's text and the address Download opens.
    void SetVersionInfo(const std::string& version, const std::string& downloadUrl);
    const std::string& DownloadUrl() const { return m_DownloadUrl; }

    // The check box shows EnabledAutoUpdate.
    void FormShow() override;
    // EnabledAutoUpdate follows the check box at once.
    void m_ChekNewVersionCheckClick();
    // Opens the address (trimmed) and answers Download; an address that is no web address is not handed
    // to the desktop: it is logged and the notification closes as Close does.
    void m_DownloadClick();

private:
    std::unique_ptr<Ui::Tm_NewVersionNotification> ui;
    CPrefs& m_Prefs;
    std::string m_DownloadUrl;
};
