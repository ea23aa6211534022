#include "mainwindow/Managerfrm.h"

#include "model/support/Log.h"
#include "model/support/Prefs.h"

IListWindow::~IListWindow() = default;

SWindowPlacement IListWindow::GetPlacement(const SWindowPlacement& kept) const
{
    return kept;
}

void IListWindow::SetPlacement(const SWindowPlacement&) {}

IMainWindowReceiver::~IMainWindowReceiver() = default;

namespace
{

void ToMainWindow(IMainWindowReceiver& main, EFormEvent event, const SFormRecord& record)
{
    switch (event)
    {
    case EFormEvent::Reload:
        if (!record.value)
        {
            WriteLog("FormManager OnUpdateDate - recordNum == NULL", 1, 1);
            return;
        }
        main.SelectChapterFromList(*record.value);
        return;
    case EFormEvent::NewOfCurrentKind:
        main.NewQuestionOfCurrentKind(0);
        return;
    case EFormEvent::NewOfKind:
        if (record.value)
            main.NewQuestionOfKind(*record.value, 0);
        return;
    case EFormEvent::Refilter:
        main.OnRefilterRequest();
        return;
    case EFormEvent::DeleteCurrent:
        main.DeleteCurrentQuestion();
        return;
    case EFormEvent::ItemsDeleted:
        main.OnItemsChanged();
        return;
    case EFormEvent::Sort:
        main.OnSortRequest();
        return;
    case EFormEvent::ListClosed:
        main.OnListWindowClosed();
        return;
    default:
        if (IsFieldChange(event))
            main.OnItemFieldChanged(record.item);
        else if (IsShowRequest(event))
            main.OnShowFieldRequest(event);
        return; // Nothing, RowChanged and ClipboardChanged ask nothing of the main window
    }
}

void ToListWindow(IListWindow& list, EFormEvent event, const SFormRecord& record)
{
    if (event == EFormEvent::Reload)
        list.ReloadAll();
    else if (event == EFormEvent::Nothing)
        list.IgnoreUpdate();
    else if (event == EFormEvent::RowChanged)
    {
        if (record.item)
            list.OnUpdateItemRow(record.item);
    }
    else if (IsFieldChange(event))
    {
        if (record.item)
            list.OnUpdateItemCell(event, record.item);
    }
    else if (IsShowRequest(event))
        list.OnUpdateActiveQuestionByAction(event);
    else if (event == EFormEvent::ClipboardChanged)
        list.RefreshSelectionAndButtons();
}

} // namespace

void FormManager::OnUpdateDate(EFormTarget target, EFormEvent event, SFormRecord record) const
{
    if (target == EFormTarget::ListWindow)
    {
        if (m_pList && m_pList->IsListVisible())
            ToListWindow(*m_pList, event, record);
    }
    else if (target == EFormTarget::MainWindow && m_pMain)
        ToMainWindow(*m_pMain, event, record);
}
