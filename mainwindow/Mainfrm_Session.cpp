// The views of the main window and the session start. This holds what the window needs to move between
// its screens and to open a session on the first question; the question and answer rendering, the
// navigation, the clock and the end of a chapter join this file as they are built.
#include "mainwindow/EditingServices.h"
#include "mainwindow/Mainfrm.h"
#include "mainwindow/QuestionPane.h"
#include "mainwindow/SessionPanelRules.h"
#include "mainwindow/TreeViewPopup.h"
#include "model/Datatypes.h"
#include "model/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichView.h"
#include "platform/richtext/RichTextOps.h"
#include "ui_Mainfrm.h"

#include <charconv>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

using lf::display::kSearchTooStrict;

} // namespace

void Tm_MainFrm::SetActiveView(std::uint8_t view, std::uint8_t flags, std::uint8_t redraw)
{
    const std::uint8_t phase = m_DataStorage.GetCurrentMode();
    if (view == 2 && phase == 255)
        return;
    if (view <= 2)
    {
        m_pEditing->DestroyEditFrame();
        if (phase == 3)
            m_pEditing->CreateEditFrame(view);
        ui->m_FilterView->show();
        ui->m_MainView->show();
        ui->m_SessionView->hide();
        ui->m_IntroView->hide();
        ui->m_pNoticeLabel->hide();
    }
    else
    {
        ui->m_IntroView->setVisible(view == 3);
        ui->m_pNoticeLabel->setVisible(view == 3);
        ui->m_MainView->hide();
        ui->m_SessionView->hide();
        ui->m_FilterView->hide();
        ui->m_pBookSelectorViewViewPanel->hide();
        m_pEditing->DestroyEditFrame();
        HideListWindow(0, 0);
        UpdateToolbars(0);
    }
    m_ActiveView = view;
    if (view <= 2)
    {
        ApplyPaneVisibility();
        OnUpdateForm(flags, redraw);
        UpdateToolbars(0);
    }
    UpdateWindowTitle();
}

bool Tm_MainFrm::OnStorageData()
{
    // No editor of the main window holds question text yet, so there is nothing to store.
    return false;
}

void Tm_MainFrm::CloseToIntro(bool blank)
{
    m_DataStorage.SetCurrentMode(255);
    SetActiveView(blank ? 4 : 3, 1, 1);
    for (QAction* button : {ui->m_TestBtn, ui->m_RewieBtn, ui->m_LearnMaterialBtn, ui->m_EditBtn})
        button->setChecked(false);
    if (m_pListWindow)
        m_pListWindow->ResetSearch(false);
}

void Tm_MainFrm::SelectChapter(std::int32_t chapterID)
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (!items.SetActiveCategory(chapterID, true))
        return;
    if (items.First())
        SetActiveView(0, 255, 0);
}

void Tm_MainFrm::ClearFilterAndRefresh()
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    SFilterOptions options;
    items.GetFilterOptions(options);
    if (options.markedOnly || options.searchInQuestion || options.searchInAnswers ||
        options.searchInFeedback || options.searchInKeywords || options.problemKind)
    {
        items.ClearSearchOptions();
        items.GetFilterOptions(options);
        options.searchText.clear();
        options.problemKind = 0;
        options.problemNumber = 0;
        items.SetFilterOptions(options);
        items.Refilter(false);
    }
    if (items.GetSequenceCount() <= 0)
    {
        items.SetActiveCategory(kAllCategoriesID, true);
        if (items.GetSequenceCount() <= 0)
            items.AddNewItem(1, nullptr, -1, -1);
        else if (!items.RestoreCurrentItem())
            items.First();
    }
    OnUpdateForm(255, 1);
}

void Tm_MainFrm::m_NextBtnClick()
{
    OnStorageData();
    if (m_DataStorage.GetItemsPtr2()->Next())
        SetActiveView(0, 1, 1);
}

void Tm_MainFrm::m_PrevBtnClick()
{
    OnStorageData();
    if (m_DataStorage.GetItemsPtr2()->Prev())
        SetActiveView(0, 1, 1);
}

void Tm_MainFrm::m_QAXBtnsClick(std::uint8_t view)
{
    OnStorageData();
    if (view == 1)
        m_CalculatedPage = 1;
    if (m_ActiveView != view)
        SetActiveView(view, 1, 1);
}

void Tm_MainFrm::m_CategoryListChange(int position)
{
    SelectChapter(ui->m_CategoryList->itemData(position).toInt());
}

void Tm_MainFrm::m_FilterListChange(int position)
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    items.SetCurrentView(static_cast<std::uint8_t>(position), true);
    if (items.First())
        SetActiveView(0, 255, 0);
    else
    {
        MessageDlg(kSearchTooStrict, MsgKind::Warning, MsgButtons::Ok);
        items.SetCurrentView(0, true);
        items.First();
        SetActiveView(0, 255, 0);
    }
}

// The text zoom of the question view: the step is added to every text size when the view is drawn.
void Tm_MainFrm::m_IncreaseBtnClick()
{
    if (m_FontSizeStep >= 50)
        return;
    ++m_FontSizeStep;
    ApplyZoom();
}

void Tm_MainFrm::m_DecreaseBtnClick()
{
    if (!ui->m_DecreaseBtn->isEnabled())
        return;
    --m_FontSizeStep;
    ApplyZoom();
}

void Tm_MainFrm::m_FontNormalBtnClick()
{
    m_FontSizeStep = 0;
    ApplyZoom();
}

void Tm_MainFrm::HideBookSelectorPanel()
{
    ui->m_pBookSelectorViewViewPanel->hide();
}

void Tm_MainFrm::m_BackBtnClick()
{
    SetActiveView(3, 1, 1);
}

void Tm_MainFrm::m_StartSessionBtnClick()
{
    const std::uint8_t phase = m_DataStorage.GetCurrentMode();
    if (m_DataStorage.IsCategoriesOnlyLoaded() && m_DataStorage.GetCurrentBookIndex() >= 0)
    {
        lf::qt::BusyCursor busy;
        LoadBook(m_DataStorage.GetCurrentBookIndex(), false);
    }
    if (!m_DataStorage.IsBookLoaded() ||
        (!ui->m_SessionView->isHidden() && m_pBookComboBox->currentText().isEmpty()))
    {
        MessageDlg("Please select a book.", MsgKind::Information, MsgButtons::Ok);
        return;
    }
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (phase != 3)
    {
        if (ui->m_TestList->currentIndex() < 0)
        {
            MessageDlg("Please select a chapter.", MsgKind::Information, MsgButtons::Ok);
            return;
        }
        items.SetActiveCategory(ui->m_TestList->currentData().toInt(), false);
    }
    const int mode = ui->m_ModeList->isVisibleTo(ui->m_SessionView) ? ui->m_ModeList->currentIndex() : 0;
    items.SetCycleMode(mode == 3 ? 1 : 0);
    items.SetDepthMode(mode == 2 ? 1 : 0);
    items.SetRandomMode(mode == 1 ? 1 : 0);
    if (phase == 2)
    {
        m_Prefs.m_HintDelayForLearnMode =
            ui->m_HintTimeTrBar->isVisibleTo(ui->m_SessionView) ? ui->m_HintTimeTrBar->value() : 0;
        m_Prefs.m_DelayBeforeHintDelayForLearnMode =
            ui->m_pDelayBeforeHintTrackBar->isVisibleTo(ui->m_SessionView)
                ? ui->m_pDelayBeforeHintTrackBar->value()
                : 0;
    }
    items.Refilter(true);
    if (phase == 3 && items.GetSequenceCount() <= 0)
    {
        const std::uint8_t updating = m_bUpdating;
        m_bUpdating = 1;
        items.AddNewItem(1, nullptr, -1, -1);
        m_bUpdating = updating;
        items.Refilter(false);
    }
    if (items.GetSequenceCount() <= 0)
    {
        MessageDlg(kSearchTooStrict, MsgKind::Warning, MsgButtons::Ok);
        return;
    }
    items.First();
    SetActiveView(0, 255, 1);
    if ((phase == 1 && m_Prefs.m_ShowListForReviewMode) || (phase == 2 && m_Prefs.m_ShowListForLearnMode) ||
        (phase == 3 && m_Prefs.m_ShowListForEditMode))
        ShowListWindow(0);
    StartBackupTimer();
}
