// Storing what the user typed into the current question before every move, save, phase or style change:
// the typed answer in Test phase, the panes of the Edit phase with the chapter number and the chapter,
// and the Marked box in every phase. A field is written only when it differs; a write stamps the
// modifier and the time, rebuilds the search text and marks the book modified. The question style
// switch follows, as it stores first and then shows the book again.
#include "mainwindow/EditingServices.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/AnswerTables.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Grades.h"
#include "model/support/Log.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichTextOps.h"
#include "ui_Mainfrm.h"

namespace display = lf::display;

namespace
{

constexpr const char* kUnnamed = "Unnamed";

// Writes a value into a field when it differs; changed records the write.
void StoreIfDifferent(const std::string& current, const std::string& value,
                      void (CBaseItem::*set)(std::string), CBaseItem& item, bool& changed)
{
    if (current == value)
        return;
    (item.*set)(value);
    changed = true;
}

// An editor's text as stored text, written when it says something else than the field: a field kept as
// HTML or plain text that the editor shows unedited is not rewritten just because the editor writes XML.
void StoreTextIfEdited(const std::string& current, const lf::RichDocument& editor,
                       void (CBaseItem::*set)(std::string), CBaseItem& item, bool& changed)
{
    std::string text;
    GetXMLFormRE(text, editor);
    if (text == current)
        return;
    std::string normalised = current;
    if (NormalizeTextToXML(normalised) && normalised == text)
        return;
    (item.*set)(std::move(text));
    changed = true;
}

} // namespace

bool Tm_MainFrm::OnStorageData(std::uint8_t* changed)
{
    if (m_bUpdating)
        return false;
    if (changed)
        *changed = 0;
    if (!m_DataStorage.IsBookLoaded() || m_ActiveView == EView::Intro || m_ActiveView == EView::Blank ||
        ui->m_SessionView->isVisibleTo(this))
        return true;
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    CBaseItem* item = items.GetCurrentItem();
    if (!item)
        return false;

    bool written = false;
    const EPhase phase = m_DataStorage.GetPhase();
    if (phase == EPhase::Test && m_ActiveView == EView::Answers)
        StoreUserAnswer(*item, written);
    else if (phase == EPhase::Edit && IsQuestionView(m_ActiveView))
    {
        if (m_ActiveView == EView::Question)
            StoreQuestionPane(*item, written);
        else if (m_ActiveView == EView::Answers)
            OnStorageAnswersInEditMod(*item, written);
        else
            StoreExplanationPane(*item, written);
        StoreIfDifferent(item->GetLayersStr(), lf::qt::ToStdString(ui->m_LayerStr->text()),
                         &CBaseItem::SetLayersStr, *item, written);
        if (ui->m_RecordCategoryList->currentIndex() >= 0)
        {
            const std::int32_t chapter = ui->m_RecordCategoryList->currentData().toInt();
            const bool inTrash = item->TestStatus(qsInTrash);
            if (chapter != item->GetCategoryID() || (chapter == kTrashCategoryID) != inTrash)
            {
                if (chapter == kTrashCategoryID)
                    item->SetStatus(qsInTrash, true);
                else if (item->GetCategoryID() == kTrashCategoryID || inTrash)
                    item->SetStatus(qsInTrash, false);
                item->SetCategoryID(chapter);
                written = true;
            }
        }
    }
    if (ui->m_MarkChek->isChecked() != item->IsMarked())
    {
        item->SetStatus(qsMarked, ui->m_MarkChek->isChecked());
        written = true;
    }
    if (written)
    {
        item->SetModifier(m_Prefs.m_AuthorId, true);
        PrepareItemSearchInfo(item, &m_RichViewTMP, /*force=*/true, /*question=*/true, /*answers=*/true,
                              /*feedback=*/true, /*keywords=*/true);
        items.SetModified(true);
        if (changed)
            *changed = 1;
    }
    return true;
}

bool Tm_MainFrm::StoreUserAnswer(CBaseItem& item, bool& changed)
{
    std::string answer;
    switch (item.GetQuestionType())
    {
    case qtEssay:
        GetXMLFormRE(answer, m_DescriptionStr->Document());
        break;
    case qtShortAnswer:
    case qtNumerical:
    case qtCalculated:
        GetControlText(m_DescriptionStr->Document(), answer, true, false);
        break;
    default:
        return true;
    }
    SCommonUserAnswerInfo info = item.GetCommonUserAnswerInfo();
    if (info.UserAnswer != answer)
    {
        info.UserAnswer = answer;
        item.SetCommonUserAnswerInfo(info);
        changed = true;
    }
    return true;
}

bool Tm_MainFrm::StoreQuestionPane(CBaseItem& item, bool& changed)
{
    StoreTextIfEdited(item.GetQuestionText(), m_DescriptionStr->Document(), &CBaseItem::SetQuestionText, item,
                      changed);
    IEditFrame* frame = m_pEditing->EditFrame();
    IEditFrame::SQuestionHeader header;
    if (!frame || !frame->GetQuestionHeader(header))
    {
        if (m_Prefs.GetQuestionStyle() == EQuestionStyle::Moodle)
            return false;
        // A question without a name gets one; a named question keeps its name. Neither is a change.
        if (item.GetName().empty())
            item.SetName(kUnnamed);
        return true;
    }
    StoreIfDifferent(item.GetName(), header.name.empty() ? kUnnamed : header.name, &CBaseItem::SetName, item,
                     changed);
    StoreIfDifferent(item.GetImageToDisplay(), header.image, &CBaseItem::SetImageToDisplay, item, changed);
    StoreIfDifferent(item.GetAudioFileName(), header.voice, &CBaseItem::SetAudioFileName, item, changed);
    StoreIfDifferent(item.GetDefaultQuestionGrade(), header.grade.empty() ? "1" : header.grade,
                     &CBaseItem::SetDefaultQuestionGrade, item, changed);
    StoreIfDifferent(item.GetPenaltyFactor(), header.penalty.empty() ? "0.1" : header.penalty,
                     &CBaseItem::SetPenaltyFactor, item, changed);
    return true;
}

bool Tm_MainFrm::OnStorageAnswersInEditMod(CBaseItem& item, bool& changed)
{
    const EQuestionStyle style = m_Prefs.GetQuestionStyle();
    CMultipleChoiceItem* choice = item.GetMultipleChoice();
    if (!choice || !IsFlashcardStyle(style))
    {
        IEditFrame* frame = m_pEditing->EditFrame();
        return frame ? frame->StoreAnswers(item, style, changed) : true;
    }
    // The Flashcard styles edit one answer in the editor, the one the answers pane showed.
    const int edited = display::EditedFlashcardAnswer(*choice);
    if (edited < 0)
    {
        SAnswerItem created;
        created.Correct = "1";
        if (!choice->AddAnswer(created))
        {
            WriteLog("Tm_MainFrm::OnStorageAnswersInEditMod - ERROR, pMultipleChoiceItem->AddAnswer(Answer) "
                     "== false",
                     1, 1);
            return false;
        }
        changed = true;
    }
    SAnswerItem* answer = nullptr;
    if (!choice->GetAnswer(std::max(edited, 0), answer))
    {
        WriteLog("Tm_MainFrm::OnStorageAnswersInEditMod - ERROR, pMultipleChoiceItem->GetAnswerByIndex(...1) "
                 "== false",
                 1, 1);
        return false;
    }
    if (!IsCreditedGrade(answer->Correct))
    {
        answer->Correct = "1";
        changed = true;
    }
    std::string text;
    GetXMLFormRE(text, m_DescriptionStr->Document());
    std::string normalised = answer->AnswerText;
    if (answer->AnswerText != text && !(NormalizeTextToXML(normalised) && normalised == text))
    {
        answer->AnswerText = text;
        changed = true;
    }
    return true;
}

bool Tm_MainFrm::StoreExplanationPane(CBaseItem& item, bool& changed)
{
    if (m_ActiveView != EView::Explanation)
        return true;
    StoreTextIfEdited(item.GetGeneralFeedback(), m_DescriptionStr->Document(), &CBaseItem::SetGeneralFeedback,
                      item, changed);
    IEditFrame* frame = m_pEditing->EditFrame();
    if (m_Prefs.GetQuestionStyle() == EQuestionStyle::Moodle && frame)
        return frame->StoreFeedbacks(item, changed);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Question style

void Tm_MainFrm::SetQuestionStyle(EQuestionStyle style)
{
    OnStorageData();
    m_Prefs.m_ViewMode = static_cast<std::int8_t>(ToNumber(style));
    m_DataStorage.ApplyOptions();
    UpdateToolbars(0);
    const bool sessionPanel = ui->m_SessionView->isVisibleTo(this);
    if (m_DataStorage.IsBookLoaded() && m_ActiveView != EView::Intro && m_ActiveView != EView::Blank &&
        !sessionPanel)
    {
        m_pEditing->ForgetPagedQuestion();
        CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
        items.Refilter(false);
        if (items.GetSequenceCount() > 0)
        {
            if (!items.RestoreCurrentItem())
                items.First();
            SetActiveView(EView::Question, /*flags=*/1, /*redraw=*/1);
        }
        else
            ClearFilterAndRefresh();
        SyncListView(1, 0);
    }
    else if (sessionPanel)
        OnUpdateSeesionView();
}
