#include "mainwindow/rules/PaneHandles.h"

namespace lf::display
{

void CPaneTableRef::Set(RichDocument& doc, std::uint64_t generation, int item)
{
    m_doc = &doc;
    m_generation = generation;
    m_item = item;
}

void CPaneTableRef::Reset()
{
    *this = CPaneTableRef();
}

RichTable* CPaneTableRef::Resolve(std::uint64_t currentGeneration) const
{
    if (!m_doc || m_generation != currentGeneration || m_item < 0 || m_item >= m_doc->ItemCount())
        return nullptr;
    SRichItem& item = m_doc->content.items[static_cast<std::size_t>(m_item)];
    return item.IsTable() ? item.table.get() : nullptr;
}

void CPaneCellRef::Set(const CPaneTableRef& table, int row, int col)
{
    m_table = table;
    m_row = row;
    m_col = col;
}

void CPaneCellRef::Reset()
{
    *this = CPaneCellRef();
}

SRichCell* CPaneCellRef::Resolve(std::uint64_t currentGeneration) const
{
    RichTable* table = m_table.Resolve(currentGeneration);
    if (!table || m_row < 0 || m_row >= table->RowCount() || m_col < 0 || m_col >= table->ColCount())
        return nullptr;
    return &table->Cell(m_row, m_col);
}

} // namespace lf::display
