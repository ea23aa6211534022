// The main window's options commands: Preferences with the skin that follows it, the filter bar's fonts,
// and the new-version check (at start-up and from Help > Check for Updates).
#include "mainwindow/dialogs/NewVersionNotification.h"
#include "mainwindow/dialogs/Prefsfrm.h"
#include "mainwindow/dialogs/Skins.h"
#include "mainwindow/dialogs/Zoomfrm.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/VersionCheck.h"
#include "mainwindow/rules/ZoomRules.h"
#include "model/support/Log.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/HttpClient.h"
#include "platform/qt/RichTextHostQt.h"
#include "ui_Mainfrm.h"

#include <QSpinBox>

#include <algorithm>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;

#ifndef LF_VERSION_PAGE
#define LF_VERSION_PAGE "https://lernfold.example/version.txt"
#endif

namespace
{

// A check whose page never comes ends after this long, without a word.
constexpr int kVersionPageTimeoutMs = 30000;

} // namespace

// --- Preferences ---

void Tm_MainFrm::m_PrefsBtnClick()
{
    OnStorageData();
    {
        Tm_PrefsFrm prefs(m_Prefs, m_DataStorage, this);
        prefs.OnFieldFontChanged = [this] { ApplyFieldFont(); };
        if (lf::qt::CurrentDialogs().RunModal(prefs) == Tm_PrefsFrm::kOk)
            ApplySkin(m_Prefs);
        UpdateOpenBookMenu();
    }
    if (m_Prefs.m_QAX_TYPE_LEARN != 0 || m_ActiveView != EView::Answers)
        OnUpdateForm(255, 0);
    else
        SetActiveView(EView::Question, 1, 1);
}

void Tm_MainFrm::ApplyFilterBarFonts()
{
    QFont layer = ui->m_LayerStr->font();
    layer.setPointSize(10);
    ui->m_LayerStr->setFont(layer);
    QFont chapters = ui->m_RecordCategoryList->font();
    chapters.setPointSize(std::min(layer.pointSize(), 13));
    ui->m_RecordCategoryList->setFont(chapters);
    const EPhase phase = m_DataStorage.GetPhase();
    if ((phase == EPhase::Test || phase == EPhase::Review) && m_ActiveView == EView::Answers)
        OnUpdateForm(1, 1);
    ui->m_LayerStr->setFixedHeight(ui->m_RecordCategoryList->sizeHint().height());
}

// --- The new-version check ---

void Tm_MainFrm::CreateUpdateCheck()
{
    m_VersionPageUrl = LF_VERSION_PAGE;
    m_UpdateTimeoutMs = kVersionPageTimeoutMs;
    m_NewVersionNotification = std::make_unique<Tm_NewVersionNotification>(m_Prefs, this);
}

void Tm_MainFrm::CheckForNewVersion(std::uint8_t manual)
{
    if (m_bUpdateCheckRunning)
        return;
    m_bManualUpdateCheck = manual;
    m_pUpdateBrowser = std::make_unique<lf::qt::HttpClient>();
    m_bUpdateNavigationFailed = 0;
    // Marked as running before the request goes, so no answer can come before the mark.
    m_bUpdateCheckRunning = 1;
    const lf::qt::HttpClient* sender = m_pUpdateBrowser.get();
    m_pUpdateBrowser->Get(
        m_VersionPageUrl, m_UpdateTimeoutMs,
        [this, sender](const lf::qt::SHttpReply& reply) { OnVersionPageLoaded(sender, reply); },
        [this, sender](const lf::qt::SHttpReply& reply)
        {
            // A failed request, an error page or the time limit: the check ends without a word.
            if (sender == m_pUpdateBrowser.get())
                OnVersionPageError();
            OnVersionPageLoaded(sender, reply);
        });
}

void Tm_MainFrm::OnVersionPageError()
{
    m_bUpdateNavigationFailed = 1;
}

void Tm_MainFrm::OnVersionPageLoaded(const lf::qt::HttpClient* sender, const lf::qt::SHttpReply& reply)
{
    m_bUpdateCheckRunning = 0;
    if (m_bUpdateNavigationFailed || sender != m_pUpdateBrowser.get())
        return;
    const lf::version::SVersionReply answer =
        lf::version::ParseVersionReply(lf::qt::GetBrowserBodyText(reply));
    const auto numbers = lf::version::CompleteReplyNumbers(answer);
    if (!numbers)
        return;
    if (lf::version::IsNewerVersion(*numbers))
    {
        m_NewVersionNotification->SetVersionInfo(lf::version::OfferedVersionText(answer), answer.downloadUrl);
        if (lf::qt::CurrentDialogs().RunModal(*m_NewVersionNotification) ==
            Tm_NewVersionNotification::kDownload)
            close();
    }
    else if (m_bManualUpdateCheck)
        lf::qt::MessageDlg("You are running the most current version of Lernfold.", MsgKind::Information,
                           MsgButtons::Ok);
}
