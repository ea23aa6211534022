// The program's start: the options, the book storage with its exchange formats, the form manager, and the
// windows in their creation order (the main window first), all kept for the whole run. The windows get the
// model in their constructors and are destroyed, in reverse order, before it.
#pragma once

#include "mainwindow/Managerfrm.h"
#include "model/storage/Datastorage.h"
#include "model/support/Prefs.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/RichActions.h"

#include <memory>
#include <string>

class Tm_MainFrm;
class Tm_ListFrm;

class CApplicationWindows
{
public:
    // Creates the main window and the question list beside it.
    CApplicationWindows();
    ~CApplicationWindows();
    CApplicationWindows(const CApplicationWindows&) = delete;
    CApplicationWindows& operator=(const CApplicationWindows&) = delete;

    Tm_MainFrm& MainFrm() { return *m_MainFrm; }
    Tm_ListFrm& ListFrm() { return *m_ListFrm; }
    CPrefs& Prefs() { return m_Prefs; }
    CDataStorage& DataStorage() { return m_DataStorage; }
    FormManager& GetFormManager() { return m_FormManager; }

private:
    // The reader book's pictures are drawn through Qt's picture readers.
    lf::qt::PictureRaster m_PictureRaster;
    std::unique_ptr<IExchangeFormats> m_pExchangeFormats;
    CPrefs m_Prefs;
    CDataStorage m_DataStorage{m_Prefs};
    FormManager m_FormManager;
    lf::qt::TrvActionsResource m_rvActionsResource;
    std::unique_ptr<Tm_MainFrm> m_MainFrm;
    std::unique_ptr<Tm_ListFrm> m_ListFrm;
};

// The application's names, the "." number format and the icon theme; after the QApplication exists.
void PrepareApplication();

// The whole program: sets the number format and the application title, creates the windows, shows the
// main window with the book named by the first argument, runs the event loop. Returns 0.
int RunLernfold(int argc, char** argv);
