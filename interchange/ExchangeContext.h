// What the exchange-format readers and writers take from the program around them: the book storage's
// status bar, event pump and hidden rich-text view, the storage itself, and the program's picture loader.
// A context of nulls runs them silently, without a view, with placeholders for pictures from the web.
#pragma once

#include "model/storage/Datastorage.h"
#include "platform/richtext/PictureRaster.h"
#include "platform/richtext/RichTextOps.h"

#include <cstdint>
#include <string>

struct SExchangeContext
{
    IStatusTextSink* statusBar = nullptr; // not owned
    IEventPump* pump = nullptr;           // not owned
    lf::RichDocument* view = nullptr;     // not owned: the view stored texts are rendered in
    // Where pictures on the web that imported texts name come from (none: placeholders); a reader takes
    // the other pictures from beside its file, or not at all.
    lf::RichPictureRequest webPictures = nullptr;
    CDataStorage* storage = nullptr; // not owned: the storage that runs the operation, if any
    // Draws the pictures that an export writes as files of its own (none: such pictures are left out).
    const lf::IPictureRaster* pictures = nullptr; // not owned

    static SExchangeContext Of(CDataStorage& storage)
    {
        return SExchangeContext{storage.GetStatusBar(), storage.GetEventPump(), storage.GetHiddenView(),
                                lf::RichTextHost().requestPicture, &storage};
    }

    // Shows a progress text (when there is a status bar) and lets pending events run.
    void ShowStatus(const std::string& text) const
    {
        if (statusBar)
            statusBar->SetStatusText(text);
        Pump();
    }
    // Tells how far a long pass has come (when the status bar shows progress) and lets pending events
    // run.
    void ShowProgress(std::int64_t done, std::int64_t total) const
    {
        if (statusBar)
            statusBar->SetProgress(done, total);
        Pump();
    }
    void Pump() const
    {
        if (pump)
            pump->ProcessPendingEvents();
    }
};
