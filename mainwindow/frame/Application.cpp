#include "mainwindow/frame/Application.h"

#include "editing/Listfrm.h"
#include "interchange/ExchangeFormats.h"
#include "mainwindow/EditingServices.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/WindowTitle.h"
#include "model/support/Log.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>

#include <clocale>
#include <exception>

CApplicationWindows::CApplicationWindows() : m_pExchangeFormats(lf::MakeExchangeFormats(&m_PictureRaster))
{
    // Quiz files, delimited text and the reader book are read and written through the book storage.
    m_DataStorage.SetExchangeFormats(m_pExchangeFormats.get());
    m_MainFrm = std::make_unique<Tm_MainFrm>(m_Prefs, m_DataStorage, m_FormManager);
    m_MainFrm->SetActionsResource(&m_rvActionsResource);
    m_ListFrm = std::make_unique<Tm_ListFrm>(m_Prefs, m_FormManager);
    m_MainFrm->SetListWindow(m_ListFrm.get());
    // The other windows are made by their owners: the main window makes its dialogs with the objects they
    // show, the player frame its video window, and the commands their dialogs for each use. The Quick Edit
    // form is the one window of the start still to come.
    LogNotBuiltYet("EditorForm");
}

CApplicationWindows::~CApplicationWindows()
{
    m_MainFrm->SetListWindow(nullptr);
    m_ListFrm.reset();
    m_MainFrm.reset();
}

void PrepareApplication()
{
    // Qt sets the process locale from the environment; numbers keep "." all the same.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName("Korvanta");
    QCoreApplication::setApplicationName(kApplicationTitle);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor")
        QIcon::setThemeName("Adwaita");
}

int RunLernfold(int argc, char** argv)
{
    // Numbers are written with "." whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    try
    {
        QApplication app(argc, argv);
        PrepareApplication();
        // The book argument is taken as the user wrote it, before the program moves into its own folder,
        // where the help pages and skins lie.
        const QStringList arguments = QCoreApplication::arguments();
        const std::string book = arguments.size() > 1
                                     ? QFileInfo(arguments.at(1)).absoluteFilePath().toStdString()
                                     : std::string();
        QDir::setCurrent(QCoreApplication::applicationDirPath());
        CApplicationWindows windows;
        windows.MainFrm().FormShow(book);
        windows.MainFrm().show();
        QApplication::exec();
    }
    catch (const std::exception& error)
    {
        WriteLog(std::string("Unhandled error: ") + error.what(), 1, 1);
    }
    catch (...)
    {
        WriteLog("Unhandled error", 1, 1);
    }
    return 0;
}
