// The question display of the main window: the filter bar by phase, the pane on show with its caption,
// counter, mark and buttons, the Review verdict in the status label, the question text with its picture
// and sound, and the text zoom. The rules that need no widget live in QuestionPane and AnswerTables.
#include "mainwindow/EditingServices.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/QuestionPane.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "model/items/Datatypes.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/EventRules.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichView.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextTrim.h"
#include "ui_Mainfrm.h"

#include <QSignalBlocker>

#include <filesystem>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;
using lf::qt::ToQString;
namespace display = lf::display;

namespace
{

void SetLabelColour(QLabel* label, lf::RichColor colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, lf::qt::ToQColor(colour));
    label->setPalette(palette);
}

// Shows or hides a control only when that changes something.
void ShowIf(QWidget* widget, bool shown)
{
    if (widget->isVisibleTo(widget->parentWidget()) != shown)
        widget->setVisible(shown);
}

bool Shows(const QWidget* widget)
{
    return widget && widget->isVisibleTo(widget->window());
}

// A stored media name as a path: trimmed and resolved against the book's media folder.
std::string MediaPath(const std::string& stored, const std::string& bookFileName)
{
    std::string name = lf::sys::Trim(stored);
    ResolveMediaFileName(name, bookFileName);
    return name;
}

} // namespace

void Tm_MainFrm::CreateQuestionPaneViews()
{
    m_DescriptionStr = new lf::qt::RichViewEdit(ui->m_pQuestionPane);
    m_DescriptionStr->setObjectName("m_DescriptionStr");
    m_DescriptionStr->setFrameShape(QFrame::NoFrame);
    m_DescriptionStr->hide();
    m_DescriptionViewStr = new lf::qt::RichView(ui->m_pQuestionPane);
    m_DescriptionViewStr->setObjectName("m_DescriptionViewStr");
    m_DescriptionViewStr->setFrameShape(QFrame::NoFrame);
    m_DescriptionViewStr->Document() = lf::RichDocument(lf::RichStyleSheet::Display());
    ApplyDefaultFont(m_DescriptionViewStr->Document().styles);
    ApplyDefaultFont(m_DescriptionStr->Document().styles);
    std::vector<QImage> pictures;
    for (int i = 0; i < lf::qt::kAnswerPictureCount; ++i)
        pictures.push_back(lf::qt::AnswerPicture(i));
    m_DescriptionViewStr->SetHotspotImages(pictures);
    m_DescriptionStr->SetHotspotImages(std::move(pictures));
    ui->m_pQuestionPaneLayout->insertWidget(0, m_DescriptionViewStr, 1);
    ui->m_pQuestionPaneLayout->insertWidget(0, m_DescriptionStr, 1);
}

void Tm_MainFrm::ApplyPaneVisibility()
{
    const EPhase phase = m_DataStorage.GetPhase();
    const EQuestionStyle style = m_Prefs.GetQuestionStyle();
    const CBaseItem* item = m_DataStorage.GetItemsPtr2()->GetCurrentItem();
    bool editor = false;
    switch (m_ActiveView)
    {
    case EView::Question:
    case EView::Explanation:
        editor = phase == EPhase::Edit;
        break;
    case EView::Answers:
        if (phase == EPhase::Edit)
            editor = IsFlashcardStyle(style);
        else if (item && phase == EPhase::Test)
            editor = display::TypedInTest(item->GetQuestionType());
        break;
    default:
        return;
    }
    m_DescriptionStr->setVisible(editor);
    m_DescriptionViewStr->setVisible(!editor && phase != EPhase::Edit);
}

void Tm_MainFrm::OnUpdateForm(std::uint8_t flags, std::uint8_t focus)
{
    if (!ui->m_MainView->isVisibleTo(this))
        return;
    const lf::qt::ScopedFlag updating(m_bUpdating);
    const bool pane = flags == 255 || (flags & 1) != 0;
    if (pane)
    {
        m_pAnswerTable.Reset();
        m_pHighlightedCell.Reset();
    }
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    if (pane || (flags & 8) != 0)
    {
        SetLabelColour(ui->m_TimeStr, display::kWindowTextColour);
        ui->m_TimeStr->setText(ToQString(items.GetTimerText(false)));
        if (flags == 8)
            return;
    }
    CBaseItem* item = items.GetCurrentItem();
    const EPhase phase = m_DataStorage.GetPhase();
    if (flags == 255)
    {
        UpdateToolbars(0);
        ui->m_QuickEditBtn->setVisible(Shows(ui->m_FilterView) && IsStudyPhase(phase));
    }
    if (!item)
    {
        if (items.GetSequenceCount() > 0)
        {
            MessageDlg("Unknown error.", MsgKind::Error, MsgButtons::Ok);
            WriteLog("Tm_MainFrm::OnUpdateForm() - Unknown ERROR! Possible need set active record after "
                     "refiter data",
                     1, 1);
        }
        else
            MessageDlg(display::kSearchTooStrict, MsgKind::Warning, MsgButtons::Ok);
        ClearQuestionDisplay();
        return;
    }

    {
        const QSignalBlocker block(ui->m_QuestionScroll);
        ui->m_QuestionScroll->setPageStep(1);
        ui->m_QuestionScroll->setRange(1, std::max(items.GetSequenceCount(), 1));
        ui->m_QuestionScroll->setValue(items.GetCurrentNumber());
    }
    UpdateFilterBar(flags, item, phase);

    if (phase == EPhase::Review && pane)
    {
        const display::SVerdict verdict = display::ReviewVerdict(*item);
        SetLabelColour(ui->m_TimeStr, verdict.colour);
        ui->m_TimeStr->setText(ToQString(verdict.text));
    }

    display::SPaneButtonsInput buttons;
    buttons.phase = phase;
    buttons.viewMode = m_Prefs.GetQuestionStyle();
    buttons.qaxFormat = m_Prefs.GetQaxTypeLearn();
    buttons.kind = item->GetQuestionType();
    buttons.hasAnswerList = item->HasAnswerList();
    buttons.typedAnswer = item->IsTypedAnswer();
    buttons.number = items.GetCurrentNumber();
    buttons.count = items.GetSequenceCount();
    const display::SPaneButtons shown = display::PaneButtons(buttons);
    ui->m_ExplainBtn->setVisible(shown.explain);

    if (pane)
    {
        UpdatePaneContent(item, phase, focus);
        {
            const QSignalBlocker block(ui->m_MarkChek);
            ui->m_MarkChek->setChecked(item->IsMarked());
        }
        ui->m_CurrentNumStr->setText(
            ToQString(display::CounterText(items.GetCurrentNumber(), items.GetSequenceCount())));
        ui->m_PrevBtn->setVisible(shown.prev);
        ui->m_NextBtn->setVisible(shown.next);
        ui->m_AnswerBtn->setVisible(shown.answer);
    }
    if (phase != EPhase::Edit)
        ApplyZoom();
}

void Tm_MainFrm::UpdateFilterBar(std::uint8_t flags, CBaseItem* item, EPhase phase)
{
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    display::SFilterBarLayout layout;
    if (display::FilterBarLayout(phase, layout))
    {
        ShowIf(ui->m_FilterStr, layout.filterShown);
        ShowIf(ui->m_FilterList, layout.filterShown);
        ShowIf(ui->m_RecordCategoryListStr, layout.recordCategoryShown);
        ShowIf(ui->m_RecordCategoryList, layout.recordCategoryShown);
        ShowIf(ui->m_pChapterStr, layout.chapterLabelShown);
        ShowIf(ui->m_LayerStaticText, layout.layerShown);
        ShowIf(ui->m_LayerStr, layout.layerShown);
        ui->m_CategoryList->setEnabled(layout.categoryListEnabled);
        if ((flags & 4) != 0 && phase != EPhase::Edit)
        {
            const QSignalBlocker block(ui->m_FilterList);
            ui->m_FilterList->clear();
            for (const std::string& entry : SessionPanelLists(phase, m_Prefs.GetQuestionStyle()).filters)
                ui->m_FilterList->addItem(ToQString(entry));
        }
    }
    if ((flags & 2) != 0)
    {
        const bool edit = phase == EPhase::Edit;
        const QSignalBlocker block(ui->m_CategoryList);
        ui->m_CategoryList->clear();
        for (const auto& [text, id] : FillCategoryList(items, true, edit, edit))
            ui->m_CategoryList->addItem(ToQString(text), id);
        ui->m_CategoryList->setCurrentIndex(ui->m_CategoryList->findData(items.GetActiveCategory()));
    }
    // The chapter label names the question on show, so every move draws it, not only a new chapter list.
    if (phase != EPhase::Edit)
        ui->m_pChapterStr->setText(ToQString(display::ChapterLabel(
            items.GetCategoryName(item->GetCategoryID()), items.GetNumberInCategory())));
    if ((flags & 4) != 0)
    {
        const QSignalBlocker block(ui->m_FilterList);
        ui->m_FilterList->setCurrentIndex(items.GetCurrentView());
    }
}

void Tm_MainFrm::UpdatePaneContent(CBaseItem* item, EPhase phase, std::uint8_t focus)
{
    const bool edit = phase == EPhase::Edit;
    const EQuestionStyle style = m_Prefs.GetQuestionStyle();
    std::string caption;
    QWidget* focusTarget = nullptr;
    switch (m_ActiveView)
    {
    case EView::Question:
        if (edit)
        {
            // The question editor of the editing subsystem; until it stands the editor shows the text.
            SetXMLToRE(item->GetQuestionText(), m_DescriptionStr->Document(), true, true, true);
            PaneRebuilt();
            m_DescriptionStr->Format();
            focusTarget = m_DescriptionStr;
        }
        else
        {
            // The view is laid out once, after the answers that go under the question.
            FillQuestionView(item, true, false);
            if (display::AnswersUnderQuestion(m_Prefs.GetQaxTypeLearn(), style))
                RenderAnswerBlock(item, false);
            else
                m_DescriptionViewStr->Format();
            focusTarget = ui->m_QuestionBtn;
        }
        caption = "Question";
        break;
    case EView::Answers:
        if (!edit)
            RenderAnswerBlock(item, true);
        else if (IsFlashcardStyle(style) && item->GetQuestionType() == qtMultipleChoice)
        {
            // The Flashcard styles edit the one answer they show in the editor.
            SAnswerItem* answer = nullptr;
            const int shown = display::EditedFlashcardAnswer(*item);
            ClearRichView(m_DescriptionStr->Document(), true);
            if (shown >= 0 && item->GetAnswer(shown, answer))
                SetXMLToRE(answer->AnswerText, m_DescriptionStr->Document(), /*replace=*/true,
                           /*purgeStyles=*/true, /*fetchPictures=*/true);
            PaneRebuilt();
            m_DescriptionStr->Format();
            focusTarget = m_DescriptionStr;
        }
        caption = "Answers";
        if ((edit && m_pEditing) || IsFlashcardStyle(style))
        {
            if (IsFlashcardStyle(style) && Shows(m_DescriptionStr))
                focusTarget = m_DescriptionStr;
        }
        else if (phase == EPhase::Test && Shows(m_DescriptionStr))
            focusTarget = m_DescriptionStr;
        else if (Shows(ui->m_AnswerBtn))
            focusTarget = ui->m_AnswerBtn;
        break;
    case EView::Explanation:
    {
        lf::qt::RichView* target = edit || Shows(m_DescriptionStr) ? m_DescriptionStr : m_DescriptionViewStr;
        SetXMLToRE(item->GetGeneralFeedback(), target->Document(), true, true, true);
        PaneRebuilt();
        target->Format();
        caption = "Explanation";
        focusTarget = edit ? static_cast<QWidget*>(m_DescriptionStr) : ui->m_ExplainBtn;
        break;
    }
    default:
        if (edit)
            WriteLog("Tm_MainFrm::OnUpdateForm() - ERROR, wrong m_ActiveView", 1, 1);
        break;
    }
    if (edit && IsQuestionView(m_ActiveView))
    {
        CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
        ui->m_LayerStr->setText(ToQString(item->GetLayersStr()));
        const QSignalBlocker block(ui->m_RecordCategoryList);
        ui->m_RecordCategoryList->clear();
        for (const auto& [text, id] :
             FillCategoryList(items, /*withAll=*/false, /*withTrash=*/true, /*withEdit=*/true))
            ui->m_RecordCategoryList->addItem(ToQString(text), id);
        ui->m_RecordCategoryList->setCurrentIndex(ui->m_RecordCategoryList->findData(item->GetCategoryID()));
        m_LastRecordCategoryIndex = ui->m_RecordCategoryList->currentIndex();
    }
    if (!caption.empty())
        caption = display::PaneCaption(m_ActiveView, item->GetQuestionTypeName());
    ui->m_ActiveViewModeCaption->setText(ToQString(caption));
    if (focus && focusTarget && focusTarget->isVisibleTo(this))
        focusTarget->setFocus();
}

void Tm_MainFrm::ShowQuestionView(CBaseItem* item, bool resetDataset, bool noMedia)
{
    if (!item)
        return;
    FillQuestionView(item, resetDataset, noMedia);
    m_DescriptionViewStr->Format();
}

void Tm_MainFrm::FillQuestionView(CBaseItem* item, bool resetDataset, bool noMedia)
{
    const std::string& book = m_DataStorage.GetFileName();
    if (!item->GetAudioFileName().empty())
    {
        const std::string sound = MediaPath(item->GetAudioFileName(), book);
        std::error_code error;
        if (!noMedia && std::filesystem::is_regular_file(sound, error))
            lf::qt::CurrentDesktop().PlayFile(sound);
    }
    const std::string text =
        display::PrepareQuestionText(*item, m_DataStorage.GetPhase(), resetDataset, m_FormulaManager);
    lf::RichDocument& view = m_DescriptionViewStr->Document();
    SetXMLToRE(text, view, /*replace=*/true, /*purgeStyles=*/true, /*fetchPictures=*/true);
    PaneRebuilt();
    const std::string image = lf::sys::Trim(item->GetImageToDisplay());
    if (!image.empty())
    {
        // A book without a file has no media folder, so a relative name finds nothing there (and is not
        // looked for beside the program): the warning names the file as the question stores it.
        const std::string path = MediaPath(image, book);
        lf::qt::SPictureFile picture;
        if (path.empty())
            picture.error = lf::qt::MissingPictureText(image);
        else
            picture = lf::qt::LoadPictureFile(path);
        if (picture.ok)
            display::AddPictureParagraph(view, std::move(picture.picture));
        else
            MessageDlg(picture.error, MsgKind::Warning, MsgButtons::Ok);
    }
}

void Tm_MainFrm::ClearQuestionDisplay()
{
    ClearRichView(m_DescriptionStr->Document(), true);
    PaneRebuilt();
    m_DescriptionStr->Format();
    ui->m_CurrentNumStr->setText("0/0");
}

void Tm_MainFrm::ApplyZoom()
{
    // The step is drawn on top of the stored sizes, so a redraw never adds it a second time.
    lf::qt::RichView* zoomed = Shows(m_DescriptionStr) ? m_DescriptionStr : m_DescriptionViewStr;
    if (m_FontSizeStep != 0 || zoomed->ZoomStep() != 0)
        zoomed->SetZoomStep(m_FontSizeStep);
    UpdateZoomButtons();
}
