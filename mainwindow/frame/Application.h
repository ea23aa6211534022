// The program's start: the windows in their creation order, the main window first, kept for the whole
// run and destroyed in reverse order.
#pragma once

#include <memory>
#include <string>
#include <vector>

class Tm_MainFrm;
class Tm_ListFrm;

class CApplicationWindows
{
public:
    // Creates every window of the start (those not built yet only write their log line).
    CApplicationWindows();
    ~CApplicationWindows();
    CApplicationWindows(const CApplicationWindows&) = delete;
    CApplicationWindows& operator=(const CApplicationWindows&) = delete;

    Tm_MainFrm& MainFrm() { return *m_MainFrm; }
    Tm_ListFrm& ListFrm() { return *m_ListFrm; }

    // The windows of the start after the main window, in creation order.
    static const std::vector<std::string>& StartWindowNames();

private:
    std::unique_ptr<Tm_MainFrm> m_MainFrm;
    std::unique_ptr<Tm_ListFrm> m_ListFrm;
};

// The application's names, the "." number format and the icon theme; after the QApplication exists.
void PrepareApplication();

// The whole program: sets the number format and the application title, creates the windows, shows the
// main window with the book named by the first argument, runs the event loop. Returns 0.
int RunLernfold(int argc, char** argv);
