// Printing the questions of the open book: the settings dialog marks them, the document is built from
// them, and the shared preview shows it and sends it to the printer.
#include "mainwindow/dialogs/PreviewFrm.h"
#include "mainwindow/dialogs/Printprefsdlg.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/PrintDocument.h"
#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/RichPrint.h"

#include <QPrinter>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

// The print engine's margins.
constexpr double kPrintMargins = 20.0;

std::vector<QImage> AnswerPictures()
{
    std::vector<QImage> images;
    for (int i = 0; i < lf::qt::kAnswerPictureCount; ++i)
        images.push_back(lf::qt::AnswerPicture(i));
    return images;
}

} // namespace

void Tm_MainFrm::m_PrintBtnClick()
{
    if (!m_DataStorage.IsBookLoaded())
    {
        lf::qt::MessageDlg("Please select a book.", MsgKind::Warning, MsgButtons::Ok);
        SetPhase(EPhase::Edit, 0);
        return;
    }
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    Tm_PrintPrefsDlg settings(items, m_Prefs, m_DataStorage.GetItemsPtr()->GetFilterSettings().category,
                              m_DataStorage.GetPhase(), this);
    if (lf::qt::CurrentDialogs().RunModal(settings) != Tm_PrintPrefsDlg::kPrint)
        return;

    lf::print::SPrintSettings print;
    print.printPhase = PhaseFromNumber(m_Prefs.GetPrintPhase());
    print.byLayers = settings.GetNumberType() == 1;
    print.presentation = settings.GetModeType() == 1;
    lf::print::CItemLayerSortArray order;
    lf::RichDocument view(lf::print::PrintStyleSheet());
    lf::print::BuildPrintOrder(items, print.printPhase, order);
    lf::qt::CurrentDesktop().ProcessEvents();
    bool built = false;
    {
        lf::qt::BusyCursor busy;
        built = lf::print::BuildPrintDocument(view, order, print, m_FormulaManager);
    }
    if (!built)
    {
        // Half a document is never previewed or printed.
        lf::qt::MessageDlg("Unknown error.", MsgKind::Error, MsgButtons::Ok);
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    lf::qt::RichPrint engine;
    engine.SetMargins(kPrintMargins);
    engine.AssignSource(&view, AnswerPictures());
    {
        lf::qt::BusyCursor busy;
        engine.FormatPages(printer);
    }
    RunPrintPreview(this, engine, printer, &view, m_Prefs.GetBooksDirectory(),
                    lf::print::PrintTitle(*m_DataStorage.GetBookList(), m_DataStorage.GetCurrentBookIndex()));
}
