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

IMainWindowReceiver* g_main = nullptr;
IListWindow* g_list = nullptr;

void ToMainWindow(IMainWindowReceiver& main, std::uint8_t code, const SFormRecord& record)
{
    switch (code)
    {
    case efeReload:
        if (!record.value)
        {
            WriteLog("FormManager OnUpdateDate - recordNum == NULL", 1, 1);
            return;
        }
        main.SelectChapterFromList(*record.value);
        return;
    case efeNameChanged:
    case efeQuestionChanged:
    case efeAnswersChanged:
    case efeExplanationChanged:
    case efeKeyChanged:
    case efeLayerChanged:
    case efeChapterChanged:
    case efeMarkChanged:
        main.OnItemFieldChanged(record.item);
        return;
    case efeNewOfCurrentKind:
        main.NewQuestionOfCurrentKind(0);
        return;
    case efeNewOfKind:
        if (record.value)
            main.NewQuestionOfKind(*record.value, 0);
        return;
    case efeRefilter:
        main.OnRefilterRequest();
        return;
    case efeDeleteCurrent:
        main.DeleteCurrentQuestion();
        return;
    case efeItemsDeleted:
        main.OnItemsChanged();
        return;
    case efeSort:
        main.OnSortRequest();
        return;
    case efeListClosed:
        main.OnListWindowClosed();
        return;
    default:
        if (code >= efeShowFirst && code <= efeShowLast)
            main.OnShowFieldRequest(code);
        return; // 2, 3 and 21 ask nothing of the main window
    }
}

void ToListWindow(IListWindow& list, std::uint8_t code, const SFormRecord& record)
{
    if (code == efeReload)
        list.ReloadAll();
    else if (code == efeNothing)
        list.IgnoreUpdate();
    else if (code == efeRowChanged)
    {
        if (record.item)
            list.OnUpdateItemRow(record.item);
    }
    else if (code >= efeNameChanged && code <= efeMarkChanged)
    {
        if (record.item)
            list.OnUpdateItemCell(code, record.item);
    }
    else if (code >= efeShowFirst && code <= efeShowLast)
        list.OnUpdateActiveQuestionByAction(code);
    else if (code == efeClipboardChanged)
        list.RefreshSelectionAndButtons();
}

} // namespace

void FormManager::SetMainWindow(IMainWindowReceiver* main)
{
    g_main = main;
}
void FormManager::SetListWindow(IListWindow* list)
{
    g_list = list;
}

void FormManager::OnUpdateDate(std::uint8_t target, std::uint8_t code, SFormRecord record)
{
    if (target == kListWindow)
    {
        if (g_list && g_list->IsListVisible())
            ToListWindow(*g_list, code, record);
    }
    else if (target == kMainWindow && g_main)
        ToMainWindow(*g_main, code, record);
}
