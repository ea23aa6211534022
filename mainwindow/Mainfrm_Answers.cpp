// The answer block of the question on show, drawn into the pane's views, and the references to its
// table that the answer recording and the Flash feedback follow.
#include "mainwindow/AnswerTables.h"
#include "mainwindow/Mainfrm.h"
#include "platform/qt/RichView.h"
#include "platform/qt/RichViewEdit.h"

namespace display = lf::display;

display::SAnswerBlockState Tm_MainFrm::AnswerBlockState() const
{
    display::SAnswerBlockState state;
    state.phase = m_DataStorage.GetCurrentMode();
    state.viewMode = m_Prefs.GetViewMode();
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
