// The help pages and the about box of the main window.
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/HelpPages.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/frame/Mainfrm.h"
#include "model/support/Log.h"
#include "platform/qt/Dialogs.h"

#include <QDir>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;

void Tm_MainFrm::m_pTutorialBtnClick()
{
    OpenHelpPage(HelpPageOfPhase(EPhase::None));
}

void Tm_MainFrm::m_HelpBtnClick()
{
    OpenHelpPage(HelpPageOfPhase(m_DataStorage.GetPhase()));
}

void Tm_MainFrm::OpenHelpPage(const std::string& page)
{
    const std::string folder = QDir::currentPath().toStdString();
    if (folder.empty())
    {
        lf::qt::MessageDlg("Unknown error.", MsgKind::Error, MsgButtons::Ok);
        WriteLog("Tm_MainFrm::m_pTutorialBtnClick() - Unknown ERROR! HelpFile.Length() < 1", 1, 1);
        return;
    }
    // A missing or unreadable page shows an empty window and says nothing.
    LoadHelpPage(m_pHelpFrm->RichView(), HelpPagePath(folder, page));
    lf::qt::CurrentDialogs().RunModal(*m_pHelpFrm);
}

void Tm_MainFrm::AboutLernfold1Click()
{
    TCAboutFrm about(this);
    lf::qt::CurrentDialogs().RunModal(about);
}
