// The book storage's three sinks over the window layer: progress texts to a status bar, pending events
// run with user input excluded, and warnings, errors and overwrite questions through the dialog service.
#pragma once

#include "model/storage/Datastorage.h"

class QStatusBar;

class CStatusBarSink final : public IStatusTextSink
{
public:
    explicit CStatusBarSink(QStatusBar* bar) : m_bar(bar) {}
    void SetStatusText(const std::string& text) override;

private:
    QStatusBar* m_bar; // not owned
};

class CDesktopEventPump final : public IEventPump
{
public:
    void ProcessPendingEvents() override;
};

class CDialogMessageSink final : public IMessageSink
{
public:
    void ShowWarning(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool ConfirmOverwrite(const std::string& question) override;
};
