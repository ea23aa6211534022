// The main window's side of the list window: showing and hiding it with the placements, the List View
// button, keeping the list's row in step, and the receivers of the list window's notifications.
#include "mainwindow/EditingServices.h"
#include "mainwindow/frame/Mainfrm.h"
#include "model/support/Log.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/EventRules.h"
#include "ui_Mainfrm.h"

bool Tm_MainFrm::IsListWindowVisible() const
{
    return m_pListWindow && m_pListWindow->IsListVisible();
}

bool Tm_MainFrm::IsListBesideMain() const
{
    return IsListWindowVisible() && m_pListWindow->SharesScreenWithMain();
}

// The option that says whether a session of the current phase starts with the list window; the Test
// phase has none.
void Tm_MainFrm::RememberListWindow(bool shown)
{
    switch (m_DataStorage.GetPhase())
    {
    case EPhase::Review:
        m_Prefs.m_ShowListForReviewMode = shown;
        break;
    case EPhase::Flash:
        m_Prefs.m_ShowListForLearnMode = shown;
        break;
    case EPhase::Edit:
        m_Prefs.m_ShowListForEditMode = shown;
        break;
    default:
        break;
    }
}

void Tm_MainFrm::SyncListView(EFormEvent event, std::uint8_t focusBack)
{
    if (!IsListWindowVisible())
        return;
    m_FormManager.OnUpdateDate(EFormTarget::ListWindow, event);
    if (focusBack && !isActiveWindow())
        activateWindow();
    OnUpdateForm(2, 0);
}

void Tm_MainFrm::ShowListWindow(std::uint8_t remember)
{
    if (!m_pListWindow || m_pListWindow->IsListVisible())
        return;
    SaveWindowPlacement();
    m_pListWindow->ShowList();
    const bool shown = m_pListWindow->IsListVisible();
    ui->m_ListBtn->setChecked(shown);
    if (ui->m_pListViewMenuItem->isVisible())
        ui->m_pListViewMenuItem->setChecked(shown);
    ApplyWindowPlacement(0, 0);
    if (remember)
        RememberListWindow(true);
}

void Tm_MainFrm::HideListWindow(std::uint8_t remember, std::uint8_t force)
{
    if (!m_pListWindow || (!m_pListWindow->IsListVisible() && !force))
        return;
    SaveWindowPlacement();
    if (m_pListWindow->IsListVisible())
        m_pListWindow->HideList();
    ui->m_ListBtn->setChecked(false);
    if (ui->m_pListViewMenuItem->isVisible())
        ui->m_pListViewMenuItem->setChecked(false);
    ApplyWindowPlacement(0, 0);
    if (remember)
        RememberListWindow(false);
}

void Tm_MainFrm::m_ListBtnClick()
{
    OnStorageData();
    if (IsListWindowVisible())
        HideListWindow(1, 0);
    else
        ShowListWindow(1);
    const bool shown = IsListWindowVisible();
    ui->m_ListBtn->setChecked(shown);
    ui->m_pListViewMenuItem->setChecked(shown);
    ApplyWindowPlacement(0, 0);
}

// --- Receivers of the list window's notifications ---

void Tm_MainFrm::SelectChapterFromList(std::int32_t chapterID)
{
    const lf::qt::ScopedFlag updating(m_bUpdating);
    SelectChapter(chapterID);
}

void Tm_MainFrm::OnItemFieldChanged(CBaseItem* item)
{
    if (!item || item == m_DataStorage.GetItemsPtr2()->GetCurrentItem())
        OnUpdateForm(255, 0);
}

void Tm_MainFrm::OnShowFieldRequest(EFormEvent show)
{
    if (show == EFormEvent::ShowAnswers || show == EFormEvent::ShowAnswersToo)
    {
        m_CalculatedPage = 1;
        SetActiveView(EView::Answers, /*flags=*/255, /*redraw=*/0);
    }
    else if (show == EFormEvent::ShowExplanation)
        SetActiveView(EView::Explanation, /*flags=*/255, /*redraw=*/0);
    else
        SetActiveView(EView::Question, /*flags=*/255, /*redraw=*/0);
}

void Tm_MainFrm::NewQuestionOfCurrentKind(int flag)
{
    m_pEditing->NewQuestionOfCurrentKind(flag);
}
void Tm_MainFrm::NewQuestionOfKind(int kind, int flag)
{
    m_pEditing->NewQuestionOfKind(kind, flag);
}
void Tm_MainFrm::DeleteCurrentQuestion()
{
    m_pEditing->DeleteCurrentQuestion();
}

void Tm_MainFrm::OnRefilterRequest()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    items.Refilter(false);
    if (!items.RestoreCurrentItem())
        items.First();
    SetActiveView(m_ActiveView, /*flags=*/1, /*redraw=*/0);
    SyncListView(EFormEvent::Reload, 0);
}

void Tm_MainFrm::OnSortRequest()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    items.SortItems();
    items.SetModified(true);
    items.Refilter(false);
    items.First();
    SetActiveView(m_ActiveView, /*flags=*/1, /*redraw=*/0);
    SyncListView(EFormEvent::Reload, 0);
}

void Tm_MainFrm::OnItemsChanged()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (items.GetSequenceCount() <= 0)
        ClearFilterAndRefresh();
    else if (!items.GetCurrentItem() && !items.RestoreCurrentItem() && !items.First())
    {
        lf::qt::MessageDlg("It must not happen! Please send LogFile to software developers.",
                           lf::qt::MsgKind::Error, lf::qt::MsgButtons::Ok);
        WriteLog("CItemsArray::RestoreFilter() - It must not happen!", 1, 1);
    }
    SetActiveView(EView::Question, /*flags=*/1, /*redraw=*/0);
    SyncListView(EFormEvent::Reload, 0);
}

void Tm_MainFrm::OnListWindowClosed()
{
    if (ui->m_ListBtn->isVisible())
        HideListWindow(1, 1);
}
