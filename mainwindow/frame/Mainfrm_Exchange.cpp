// The Import/Export command: the import and export dialog for one modal use, then the book shown again
// from its first question, as an import may have added questions anywhere in the sequence.
#include "mainwindow/dialogs/Impexpfrm2.h"
#include "mainwindow/frame/Mainfrm.h"
#include "platform/qt/Dialogs.h"

void Tm_MainFrm::m_ImportExportBtnClick()
{
    OnStorageData();
    if (!m_DataStorage.IsBookLoaded())
        return;
    {
        Tm_ImpExpFrm2 dialog(
            m_DataStorage, m_Prefs, [this] { SaveBook(false, false); }, this);
        lf::qt::CurrentDialogs().RunModal(dialog);
    }

    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    items.Refilter(false);
    if (items.GetSequenceCount() <= 0)
        ClearFilterAndRefresh();
    if (items.First())
    {
        SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/1);
        SyncListView(EFormEvent::Reload, 0);
    }
}
