// References into the content of the question pane's views that go stale when the content is rebuilt.
// The main window counts every rebuild of the pane (a generation); a reference made under an older
// generation resolves to nothing, so no pointer into content that is gone is ever followed.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <cstdint>

namespace lf::display
{

// The answer table of a view: a table item of that view's content.
class CPaneTableRef
{
public:
    void Set(RichDocument& doc, std::uint64_t generation, int item);
    void Reset();
    // The table, or null when none was set, the pane has been rebuilt since, or the item is no table.
    RichTable* Resolve(std::uint64_t currentGeneration) const;
    RichDocument* Document() const { return m_doc; }
    int Item() const { return m_item; }

private:
    RichDocument* m_doc = nullptr;
    std::uint64_t m_generation = 0;
    int m_item = -1;
};

// One cell of such a table.
class CPaneCellRef
{
public:
    void Set(const CPaneTableRef& table, int row, int col);
    void Reset();
    SRichCell* Resolve(std::uint64_t currentGeneration) const;
    const CPaneTableRef& Table() const { return m_table; }
    int Row() const { return m_row; }
    int Col() const { return m_col; }

private:
    CPaneTableRef m_table;
    int m_row = -1;
    int m_col = -1;
};

} // namespace lf::display
