#include "mainwindow/frame/StorageSinks.h"

#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QStatusBar>

void CStatusBarSink::SetStatusText(const std::string& text)
{
    if (text.empty())
        m_bar->clearMessage();
    else
        m_bar->showMessage(lf::qt::ToQString(text));
}

void CDesktopEventPump::ProcessPendingEvents()
{
    lf::qt::CurrentDesktop().ProcessEvents();
}

void CDialogMessageSink::ShowWarning(const std::string& text)
{
    lf::qt::MessageDlg(text, lf::qt::MsgKind::Warning, lf::qt::MsgButtons::Ok);
}

void CDialogMessageSink::ShowError(const std::string& text)
{
    lf::qt::MessageDlg(text, lf::qt::MsgKind::Error, lf::qt::MsgButtons::Ok);
}

bool CDialogMessageSink::ConfirmOverwrite(const std::string& question)
{
    return lf::qt::MessageDlg(question, lf::qt::MsgKind::Confirmation, lf::qt::MsgButtons::YesNo) ==
           lf::qt::mrYes;
}
