// What the exchange-format readers and writers take from the book storage around them: its status bar,
// its event pump, its hidden rich-text view and the storage itself. A context of nulls runs them silently
// and without a view.
#pragma once

#include "model/storage/Datastorage.h"

#include <string>

namespace lf
{
class RichDocument;
}

struct SExchangeContext
{
    IStatusTextSink* statusBar = nullptr; // not owned
    IEventPump* pump = nullptr;           // not owned
    lf::RichDocument* view = nullptr;     // not owned: the view stored texts are rendered in
    CDataStorage* storage = nullptr;      // not owned: the storage that runs the operation, if any

    static SExchangeContext Of(CDataStorage& storage)
    {
        return SExchangeContext{storage.GetStatusBar(), storage.GetEventPump(), storage.GetHiddenView(),
                                &storage};
    }

    // Shows a progress text (when there is a status bar) and lets pending events run.
    void ShowStatus(const std::string& text) const
    {
        if (statusBar)
            statusBar->SetStatusText(text);
        Pump();
    }
    void Pump() const
    {
        if (pump)
            pump->ProcessPendingEvents();
    }
};
