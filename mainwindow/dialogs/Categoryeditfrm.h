// "Edit Chapters": create, rename, delete and reorder the open book's chapters. Row 0, "Unfiled", is
// the default chapter and cannot be renamed, deleted or moved. Created once and kept, so the chapter
// selected last is selected again at the next showing when the book still has it.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <cstdint>
#include <memory>

class CItemsArray2;

namespace Ui
{
class Tm_CategoryEditFrm;
}

class Tm_CategoryEditFrm : public TFormDialog
{
    Q_OBJECT

public:
    // The modal result, of Esc and the close box too.
    static constexpr int kDone = 1;

    explicit Tm_CategoryEditFrm(CItemsArray2& items, QWidget* parent = nullptr);
    ~Tm_CategoryEditFrm() override;

    void FormShow() override { RefreshList(); }
    // Fills the list with the chapters and selects the remembered one (forgotten when it is gone).
    void RefreshList();
    // Down is enabled below "Unfiled" above the last row, Up from the second chapter after "Unfiled".
    void UpdateMoveButtons();
    void m_CategoryListClick();
    void m_NewBtnClick();
    void m_RenameBtnClick();
    void m_DeleteBtnClick();
    void m_pDownBtnClick() { MoveSelected(+1); }
    void m_pUpBtnClick() { MoveSelected(-1); }

    std::int32_t SelectedCategoryID() const { return m_SelectedID; }

private:
    // The chapter ID of a list row.
    std::int32_t RowID(int row) const;
    // Swaps the selected chapter with its neighbour (step +1 below, -1 above).
    void MoveSelected(int step);

    std::unique_ptr<Ui::Tm_CategoryEditFrm> ui;
    CItemsArray2& m_Items;
    std::int32_t m_SelectedID = -1;
};
