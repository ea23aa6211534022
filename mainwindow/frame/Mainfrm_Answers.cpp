// The answer block of the question on show, drawn into the pane's views, and the references to its
// table that the answer recording and the Flash feedback follow; the answer recording of the Test
// phase, the Flash feedback and hints, and the scrolling of the question views.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Scalefrm.h"
#include "mainwindow/dialogs/Selectorlistfrm.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "ui_Mainfrm.h"

#include <QScrollBar>

#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace display = lf::display;
using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

display::SAnswerBlockState Tm_MainFrm::AnswerBlockState() const
{
    display::SAnswerBlockState state;
    state.phase = m_DataStorage.GetPhase();
    state.viewMode = m_Prefs.GetQuestionStyle();
    state.hintShown = m_bHintShown != 0;
    state.flashAnswerRow = m_FlashAnswerRow;
    state.hintDelayForLearnMode = m_Prefs.m_HintDelayForLearnMode;
    state.formulaManager = &m_FormulaManager;
    return state;
}

void Tm_MainFrm::RenderAnswerBlock(CBaseItem* item, bool replace)
{
    if (!item)
        return;
    lf::qt::RichView* target = m_DescriptionViewStr->isVisibleTo(this) ? m_DescriptionViewStr
                               : m_DescriptionStr->isVisibleTo(this)   ? m_DescriptionStr
                                                                       : nullptr;
    lf::RichDocument& editor = m_DescriptionStr->Document();
    const display::SAnswerBlock block = display::RenderAnswerBlock(
        *item, replace, target ? &target->Document() : nullptr, &editor, AnswerBlockState());
    PaneRebuilt();
    m_pAnswerTable.Reset();
    m_pHighlightedCell.Reset();
    if (block.tableItem >= 0 && target)
    {
        m_pAnswerTable.Set(target->Document(), m_PaneGeneration, block.tableItem);
        if (block.highlightedRow >= 0)
        {
            m_HighlightedRow = block.highlightedRow;
            m_pHighlightedCell.Set(m_pAnswerTable, block.highlightedRow, 0);
        }
    }
    if (block.target == display::SAnswerBlock::ETarget::Editor)
    {
        m_DescriptionStr->Format();
        if (block.caretAtStart)
            m_DescriptionStr->SetCaret({0, 1});
    }
    if (target && target != m_DescriptionStr)
        target->Format();
    else if (m_DescriptionViewStr->isVisibleTo(this))
        m_DescriptionViewStr->Format();
}

lf::RichTable* Tm_MainFrm::AnswerTable() const
{
    return m_pAnswerTable.Resolve(m_PaneGeneration);
}

lf::SRichCell* Tm_MainFrm::HighlightedCell() const
{
    return m_pHighlightedCell.Resolve(m_PaneGeneration);
}

// ---------------------------------------------------------------------------------------------------------
// Answer recording in Test phase

namespace
{

constexpr lf::RichColor kCorrectLabelColour = 0xFF0000; // blue
constexpr lf::RichColor kWrongLabelColour = 0x0000FF;   // red
constexpr const char* kNoMatchingAnswer = "There is no matching answer.";

bool ParseHint(const std::string& text, int& value)
{
    return lf::sys::ReadNumber(text, value);
}

void SetRowPicture(lf::RichTable& table, int row, int picture)
{
    lf::RichContent& cell = table.Cell(row, 0).content;
    cell.Clear();
    cell.AddHotspot(picture, 0, true);
}

// The picture of a recorded row: the card's one unlettered picture, else the row's lettered square or
// circle, ticked or not.
int ChoicePicture(EChoiceLook look, int row, bool chosen)
{
    if (look == EChoiceLook::Card)
        return chosen ? 10 : 0;
    return display::AnswerPictureIndex(
        row, look == EChoiceLook::Squares ? display::kSquarePictures : display::kCirclePictures, chosen);
}

void SetPartnerText(lf::RichTable& table, int row, const std::string& text)
{
    lf::RichContent& cell = table.Cell(row, 1).content;
    cell.Clear();
    cell.AddText(text, 0, 0, true);
}

} // namespace

void Tm_MainFrm::SetStatusLabel(const std::string& text, lf::RichColor colour)
{
    QPalette palette = ui->m_TimeStr->palette();
    palette.setColor(QPalette::WindowText, lf::qt::ToQColor(colour));
    ui->m_TimeStr->setPalette(palette);
    ui->m_TimeStr->setText(lf::qt::ToQString(text));
}

void Tm_MainFrm::CreateAnswerTimers()
{
    m_DelayBegoreShowHintTimer.OnTimer = [this] { m_DelayBegoreShowHintTimerTimer(); };
    m_CorrectAnswerListTimer.OnTimer = [this] { m_CorrectAnswerListTimerTimer(); };
    m_CorrectAnswerHintTimer.OnTimer = [this] { m_CorrectAnswerHintTimerTimer(); };
    m_pHelpFrm = std::make_unique<Tm_pHelpFrm>(this);
    m_pScaleFrm = std::make_unique<Tm_pScaleFrm>(this);
    connect(m_DescriptionViewStr, &lf::qt::RichView::RVMouseDown, this,
            &Tm_MainFrm::m_DescriptionViewStrRVMouseDown);

    // The style buttons' drop-down menu and the main menu's Question Style entries.
    m_pViewModePopupMenu = new QMenu(this);
    m_pViewModePopupMenu->setObjectName("m_pViewModePopupMenu");
    static const struct
    {
        const char* name;
        const char* text;
        EQuestionStyle style;
    } entries[] = {{"MultipleChoiceMenuItem", "Multiple Choice", EQuestionStyle::MultipleChoice},
                   {"FlashcardMenuItem", "Flashcard", EQuestionStyle::Flashcard},
                   {"FlashcardPlusMenuItem", "Flashcard+", EQuestionStyle::FlashcardPlus},
                   {"MoodleMenuItem", "Moodle", EQuestionStyle::Moodle}};
    for (const auto& entry : entries)
    {
        QAction* action = m_pViewModePopupMenu->addAction(entry.text);
        action->setObjectName(entry.name);
        action->setCheckable(true);
        const EQuestionStyle style = entry.style;
        connect(action, &QAction::triggered, this, [this, style] { SetQuestionStyle(style); });
    }
    connect(m_pViewModePopupMenu, &QMenu::aboutToShow, this,
            [this]
            {
                const EQuestionStyle style = m_Prefs.GetQuestionStyle();
                const QList<QAction*> actions = m_pViewModePopupMenu->actions();
                for (int i = 0; i < actions.size(); ++i)
                    actions[i]->setChecked(entries[i].style == style);
            });
    for (QToolBar* toolbar : findChildren<QToolBar*>())
        for (QAction* button : {ui->m_pViewModeBtn, ui->m_MoodleModeBtn})
            if (auto* tool = qobject_cast<QToolButton*>(toolbar->widgetForAction(button)))
            {
                tool->setMenu(m_pViewModePopupMenu);
                tool->setPopupMode(QToolButton::MenuButtonPopup);
            }
    connect(ui->m_pViewModeBtn, &QAction::triggered, this, [this] { m_pViewModeBtnClick(); });
    connect(ui->m_MoodleModeBtn, &QAction::triggered, this, [this] { m_MoodleModeBtnClick(); });
    connect(ui->MultipleChoice1MenuItem, &QAction::triggered, this,
            [this] { MultipleChoiceMenuItemClick(); });
    connect(ui->Flashcard1MenuItem, &QAction::triggered, this, [this] { FlashcardMenuItemClick(); });
    connect(ui->Flashcard1PlusMenuItem, &QAction::triggered, this, [this] { FlashcardPlusMenuItemClick(); });
    connect(ui->Moodle1MenuItem, &QAction::triggered, this, [this] { MoodleMenuItemClick(); });
}

lf::RichTable* Tm_MainFrm::HitAnswerTable(const lf::qt::SRichHit& cell) const
{
    if (!cell.InCell() || m_pAnswerTable.Document() != &m_DescriptionViewStr->Document() ||
        cell.table != m_pAnswerTable.Item())
        return nullptr;
    lf::RichTable* table = AnswerTable();
    if (!table || cell.row < 0 || cell.row >= table->RowCount() || table->ColCount() < 2)
        return nullptr;
    return table;
}

void Tm_MainFrm::RepaintAnswerCell(int row, int col)
{
    m_DescriptionViewStr->RepaintCell(m_pAnswerTable.Item(), row, col);
}

void Tm_MainFrm::m_DescriptionViewStrRVMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos)
{
    const EPhase phase = m_DataStorage.GetPhase();
    if (phase == EPhase::Review)
        return;
    const bool answersUnderQuestion =
        phase == EPhase::Flash &&
        display::AnswersUnderQuestion(m_Prefs.GetQaxTypeLearn(), m_Prefs.GetQuestionStyle());
    if (phase != EPhase::Test && m_ActiveView != EView::Answers && !answersUnderQuestion)
        return;
    const lf::qt::SRichHit hit = m_DescriptionViewStr->HitTest(pos);
    if (phase == EPhase::Test)
    {
        HighlightAnswerRow(hit);
        const CBaseItem* item = m_DataStorage.GetItemsPtr2()->GetCurrentItem();
        if (m_ActiveView == EView::Answers && item && item->GetQuestionType() == qtMatching && hit.link)
            m_pEditing->OnURLJump(hit.tag);
        RecordAnswerChoice(hit);
    }
    else if (phase == EPhase::Flash)
        ShowFlashFeedback(hit);
}

void Tm_MainFrm::HighlightAnswerRow(const lf::qt::SRichHit& cell)
{
    lf::RichTable* table = HitAnswerTable(cell);
    if (!table)
        return;
    const int row = cell.row;
    if (&table->Cell(row, 0) == HighlightedCell())
        return;
    if (HighlightedCell())
    {
        const int old = m_pHighlightedCell.Row();
        display::SetRowColour(*table, old, lf::kNoColor);
        RepaintAnswerCell(old, 0);
        RepaintAnswerCell(old, 1);
        m_pHighlightedCell.Reset();
    }
    display::SetRowColour(*table, row, display::kHighlightColor);
    m_HighlightedRow = row;
    RepaintAnswerCell(row, 0);
    RepaintAnswerCell(row, 1);
    m_pHighlightedCell.Set(m_pAnswerTable, row, 0);
    ScrollToHighlightedRow(m_DescriptionViewStr);
}

void Tm_MainFrm::RefreshChoiceRow(lf::RichTable& table, int row, int picture, bool chosen, bool correct)
{
    SetRowPicture(table, row, picture);
    display::ColourAnswerRow(table, AnswerBlockState(), row, chosen, correct, false);
}

void Tm_MainFrm::RecordAnswerChoice(const lf::qt::SRichHit& cell)
{
    lf::RichTable* table = HitAnswerTable(cell);
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    CBaseItem* item = items.GetCurrentItem();
    if (!table || !item)
        return;
    SChoiceClick click;
    click.row = cell.row;
    for (int r = 0; r < table->RowCount(); ++r)
        click.rowHints.push_back(table->Cell(r, 0).hint);
    click.card = IsFlashcardStyle(m_Prefs.GetQuestionStyle());
    click.cardShowsAnswer = display::DisplayedCorrectAnswer(*item) >= 0;
    SChoiceOutcome outcome = items.RecordChoice(*item, click);
    if (outcome.result == EChoiceResult::NoAnswer)
        return;
    if (outcome.result == EChoiceResult::NoPartner)
        MessageDlg(kNoMatchingAnswer, MsgKind::Warning, MsgButtons::Ok);
    else if (outcome.result == EChoiceResult::PickPartner)
    {
        Tm_pSelectorListFrm selector(this);
        selector.SetChoices(&outcome.partners);
        // The list drops down under the row it answers, as wide as the row, so the row stays in sight.
        if (cell.InCell())
        {
            const int scroll = m_DescriptionViewStr->verticalScrollBar()->value();
            const QRect first = m_DescriptionViewStr->CellRect(cell.table, cell.row, 0);
            const QRect last = m_DescriptionViewStr->CellRect(cell.table, cell.row, table->ColCount() - 1);
            const QRect row = first.united(last).translated(0, -scroll);
            if (row.isValid())
            {
                selector.setFixedSize(std::max(200, row.width()), std::min(selector.height(), 240));
                selector.move(m_DescriptionViewStr->viewport()->mapToGlobal(row.bottomLeft() + QPoint(0, 1)));
            }
        }
        const int result = lf::qt::CurrentDialogs().RunModal(selector);
        selector.SetChoices(nullptr);
        // The pane may have been drawn again while the list was open.
        table = HitAnswerTable(cell);
        if (result == Tm_pSelectorListFrm::kChosen && table && items.GetCurrentItem() == item)
        {
            click.partner = selector.GetChoice();
            outcome = items.RecordChoice(*item, click);
        }
    }
    if (outcome.result == EChoiceResult::Recorded && table)
    {
        for (const SChoiceRow& row : outcome.rows)
        {
            if (outcome.look == EChoiceLook::Partner)
            {
                display::ColourAnswerRow(*table, AnswerBlockState(), row.row, row.chosen, row.correct, false);
                SetPartnerText(*table, row.row, *click.partner);
                continue;
            }
            RefreshChoiceRow(*table, row.row, ChoicePicture(outcome.look, row.row, row.chosen), row.chosen,
                             row.correct);
        }
    }
    m_DescriptionViewStr->Format();
}

void Tm_MainFrm::ScrollToHighlightedRow(lf::qt::RichView* view)
{
    lf::RichTable* table = AnswerTable();
    if (!view || !table || m_pAnswerTable.Document() != &view->Document() || table->RowCount() == 0 ||
        m_HighlightedRow < 0 || m_HighlightedRow >= table->RowCount())
        return;
    const QRect cell = view->CellRect(m_pAnswerTable.Item(), m_HighlightedRow, 0);
    if (cell.isEmpty())
        return;
    const int step = std::max(1, view->VSmallStep());
    const int client = view->ClientHeight();
    const int windowTop = view->VScrollPos() * step;
    if (cell.top() >= windowTop && cell.top() + cell.height() <= windowTop + client)
        return;
    if (cell.top() < windowTop || cell.height() > client)
        view->SetVScrollPos(cell.top() / step);
    else
        view->SetVScrollPos((cell.top() + cell.height() - client) / step);
}

namespace
{

bool ScrollsNow(const lf::qt::RichView* view)
{
    return view && view->isVisibleTo(view->window()) && view->IsVScrollBarVisible();
}

} // namespace

void Tm_MainFrm::ScrollViewDown(lf::qt::RichView* view)
{
    if (ScrollsNow(view) && view->VScrollPos() < view->VScrollMax())
        view->SetVScrollPos(view->VScrollPos() + m_WheelScrollLines);
}

void Tm_MainFrm::ScrollViewUp(lf::qt::RichView* view)
{
    if (ScrollsNow(view) && view->VScrollPos() > 0)
        view->SetVScrollPos(view->VScrollPos() - m_WheelScrollLines);
}

void Tm_MainFrm::ScrollViewToTop(lf::qt::RichView* view)
{
    if (ScrollsNow(view) && view->VScrollPos() > 0)
        view->SetVScrollPos(0);
}

// ---------------------------------------------------------------------------------------------------------
// Flash feedback and hints

void Tm_MainFrm::StopHintTimers()
{
    m_DelayBegoreShowHintTimer.SetEnabled(false);
    m_CorrectAnswerListTimer.SetEnabled(false);
    m_CorrectAnswerHintTimer.SetEnabled(false);
}

void Tm_MainFrm::StartCorrectAnswerHint(EView view, std::uint8_t flags, std::uint8_t focus)
{
    if (m_Prefs.m_DelayBeforeHintDelayForLearnMode <= 0)
    {
        m_bHintShown = 1;
        SetActiveView(view, flags, focus);
        m_CorrectAnswerListTimer.Restart(m_Prefs.m_HintDelayForLearnMode * 1000 / 10);
    }
    else
    {
        m_bHintShown = 0;
        SetActiveView(view, flags, focus);
        m_DelayBegoreShowHintTimer.Restart(m_Prefs.m_DelayBeforeHintDelayForLearnMode * 1000);
    }
}

void Tm_MainFrm::m_DelayBegoreShowHintTimerTimer()
{
    m_DelayBegoreShowHintTimer.SetEnabled(false);
    m_bHintShown = 1;
    OnUpdateForm(1, 1);
    m_CorrectAnswerListTimer.Restart(m_Prefs.m_HintDelayForLearnMode * 1000 / 10);
}

void Tm_MainFrm::m_CorrectAnswerListTimerTimer()
{
    m_bHintShown = 0;
    m_CorrectAnswerListTimer.SetEnabled(false);
    ResetAnswerHighlights(true);
}

void Tm_MainFrm::m_CorrectAnswerHintTimerTimer()
{
    SetStatusLabel({}, display::kWindowTextColour);
    m_FlashAnswerRow = -1;
    m_CorrectAnswerHintTimer.SetEnabled(false);
    m_CorrectAnswerListTimerTimer();
}

void Tm_MainFrm::ResetAnswerHighlights(bool repaint)
{
    CBaseItem* item = m_DataStorage.GetItemsPtr2()->GetCurrentItem();
    const bool answersUnderQuestion =
        m_DataStorage.GetPhase() == EPhase::Flash && m_ActiveView == EView::Question &&
        display::AnswersUnderQuestion(m_Prefs.GetQaxTypeLearn(), m_Prefs.GetQuestionStyle());
    if (!item || (m_ActiveView != EView::Answers && !answersUnderQuestion))
        return;
    const int kind = item->GetQuestionType();
    if (kind == qtShortAnswer || kind == qtCalculated || kind == qtNumerical)
    {
        if (answersUnderQuestion)
            ShowQuestionView(item, false, true);
        else
        {
            ClearRichView(m_DescriptionViewStr->Document(), true);
            PaneRebuilt();
            m_DescriptionViewStr->Format();
        }
        return;
    }
    lf::RichTable* table = AnswerTable();
    if (!table || table->RowCount() == 0)
        return;
    for (int r = 0; r < table->RowCount(); ++r)
    {
        for (int c = 0; c < table->ColCount(); ++c)
            table->Cell(r, c).color = lf::kNoColor;
        if (kind == qtMatching)
            table->Cell(r, 1).content.Clear();
    }
    if (repaint)
        m_DescriptionViewStr->Format();
}

void Tm_MainFrm::ShowFlashFeedback(const lf::qt::SRichHit& cell)
{
    CBaseItem* item = m_DataStorage.GetItemsPtr2()->GetCurrentItem();
    if (m_DataStorage.GetPhase() != EPhase::Flash || !item)
        return;
    const int kind = item->GetQuestionType();
    if (kind == qtShortAnswer || kind == qtNumerical || kind == qtCalculated)
    {
        lf::RichDocument& view = m_DescriptionViewStr->Document();
        ClearRichView(view, true);
        PaneRebuilt();
        const std::string answer = display::TypedFlashAnswer(*item, &m_FormulaManager);
        view.content.AddText(answer, 0, 0, true).tag = display::kAnswerTag;
        if (!answer.empty())
        {
            SetStatusLabel("Correct!", kCorrectLabelColour);
            m_CorrectAnswerHintTimer.Restart(1000);
            if (m_FontSizeStep != 0)
                ApplyZoom();
        }
        m_DescriptionViewStr->Format();
        return;
    }
    if (kind != qtMultipleChoice && kind != qtTrueFalse && kind != qtMatching &&
        kind != qtRandomShortAnswerMatching)
        return;
    lf::RichTable* table = HitAnswerTable(cell);
    int index = 0;
    if (!table || !ParseHint(table->Cell(cell.row, 0).hint, index))
        return;
    if (index < 0)
    {
        ResetAnswerHighlights(false);
        return;
    }
    m_bHintShown = 0;
    ResetAnswerHighlights(false);
    const int row = cell.row;
    // A card shows the one answer it has, so picking it is right.
    const bool right = (kind == qtMultipleChoice && IsFlashcardStyle(m_Prefs.GetQuestionStyle())) ||
                       item->IsRightChoice(index);
    SAnswerItem* answer = nullptr;
    if (kind == qtMatching && item->GetAnswer(index, answer) && !answer->Correct.empty())
        SetPartnerText(*table, row, answer->Correct);
    SetStatusLabel(right ? "Correct!" : "Nope.", right ? kCorrectLabelColour : kWrongLabelColour);
    m_FlashAnswerRow = row;
    display::ColourAnswerRow(*table, AnswerBlockState(), row, false, right, false);
    m_DescriptionViewStr->Format();
    if (right)
        StopHintTimers();
    m_CorrectAnswerHintTimer.Restart(right ? 1000 : 500);
}
