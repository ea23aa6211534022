#include "mainwindow/dialogs/Categoryeditfrm.h"

#include "ui_Categoryeditfrm.h"

#include "editing/Categoryeditonedlg.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "model/collection/Itemsarray.h"
#include "model/support/Log.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QSignalBlocker>
#include <QStyle>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
using lf::qt::ToQString;

namespace
{

void Warn(const std::string& text)
{
    lf::qt::MessageDlg(text, MsgKind::Warning, MsgButtons::Ok);
}

void Fail(const std::string& text, const std::string& logLine)
{
    lf::qt::MessageDlg(text, MsgKind::Error, MsgButtons::Ok);
    WriteLog(logLine, 1, 1);
}

} // namespace

Tm_CategoryEditFrm::Tm_CategoryEditFrm(CItemsArray2& items, QWidget* parent)
    : TFormDialog(kDone, parent), ui(std::make_unique<Ui::Tm_CategoryEditFrm>()), m_Items(items)
{
    ui->setupUi(this);
    FixToFormSize();
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(kDone); });
    connect(ui->m_NewBtn, &QPushButton::clicked, this, &Tm_CategoryEditFrm::m_NewBtnClick);
    connect(ui->m_RenameBtn, &QPushButton::clicked, this, &Tm_CategoryEditFrm::m_RenameBtnClick);
    connect(ui->m_DeleteBtn, &QPushButton::clicked, this, &Tm_CategoryEditFrm::m_DeleteBtnClick);
    ui->m_pUpBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    ui->m_pDownBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    connect(ui->m_pDownBtn, &QPushButton::clicked, this, &Tm_CategoryEditFrm::m_pDownBtnClick);
    connect(ui->m_pUpBtn, &QPushButton::clicked, this, &Tm_CategoryEditFrm::m_pUpBtnClick);
    connect(ui->m_CategoryList, &QListWidget::currentRowChanged, this,
            &Tm_CategoryEditFrm::m_CategoryListClick);
}

Tm_CategoryEditFrm::~Tm_CategoryEditFrm() = default;

std::int32_t Tm_CategoryEditFrm::RowID(int row) const
{
    const QListWidgetItem* item = ui->m_CategoryList->item(row);
    return item != nullptr ? item->data(Qt::UserRole).toInt() : -1;
}

void Tm_CategoryEditFrm::RefreshList()
{
    QListWidget* list = ui->m_CategoryList;
    {
        const QSignalBlocker blocker(list);
        list->clear();
        int selectedRow = -1;
        for (const auto& [name, id] :
             FillCategoryList(m_Items, /*withAll=*/false, /*withTrash=*/false, /*withEdit=*/false))
        {
            auto* item = new QListWidgetItem(ToQString(name), list);
            item->setData(Qt::UserRole, id);
            if (m_SelectedID >= 0 && id == m_SelectedID)
                selectedRow = list->count() - 1;
        }
        if (m_SelectedID >= 0 && selectedRow < 0)
            m_SelectedID = -1;
        list->setCurrentRow(selectedRow);
    }
    UpdateMoveButtons();
}

void Tm_CategoryEditFrm::UpdateMoveButtons()
{
    const int row = ui->m_CategoryList->currentRow();
    ui->m_pDownBtn->setEnabled(row > 0 && row < ui->m_CategoryList->count() - 1);
    ui->m_pUpBtn->setEnabled(row > 1);
}

void Tm_CategoryEditFrm::m_CategoryListClick()
{
    const int row = ui->m_CategoryList->currentRow();
    if (row >= 0)
        m_SelectedID = RowID(row);
    UpdateMoveButtons();
}

void Tm_CategoryEditFrm::m_NewBtnClick()
{
    Tm_CategoryEditOneDlg dialog(this);
    dialog.SetCaption("Rename Chapter");
    std::string name;
    do
    {
        if (lf::qt::CurrentDialogs().RunModal(dialog) != Tm_CategoryEditOneDlg::kOk)
            return;
        name = dialog.NameText();
    } while (name.empty());

    SCategoryInfo info;
    info.Name = name;
    info.Description = dialog.DescriptionText();
    if (!m_Items.AddCategory(info, true, true))
    {
        Fail("Error. Can't create the chapter.",
             "Tm_CategoryEditFrm::m_NewBtnClick() - ERROR, Can't create category!");
        return;
    }
    m_SelectedID = m_Items.GetCategoryIDAt(m_Items.GetCategoryCount() - 1);
    RefreshList();
}

void Tm_CategoryEditFrm::m_RenameBtnClick()
{
    const int row = ui->m_CategoryList->currentRow();
    if (row < 0)
        return Warn("Please select a chapter.");
    const std::int32_t id = RowID(row);
    if (id == 0)
        return Warn("You can't rename the default chapter.");
    SCategoryInfo info;
    if (!m_Items.GetCategoryInfo(id, info))
        return;

    Tm_CategoryEditOneDlg dialog(this);
    dialog.SetCaption("Rename Chapter");
    dialog.SetNameText(info.Name);
    dialog.SetDescriptionText(info.Description);
    if (lf::qt::CurrentDialogs().RunModal(dialog) != Tm_CategoryEditOneDlg::kOk)
        return;
    const std::string name = dialog.NameText();
    const std::string description = dialog.DescriptionText();
    if (name.empty() || (name == info.Name && description == info.Description))
        return;
    if (!m_Items.RenameCategory(id, name, description))
    {
        Fail("Error. Can't rename the chapter.",
             "Tm_CategoryEditFrm::m_RenameBtnClick() - ERROR, Can't rename category!");
        return;
    }
    m_Items.SetModified(true);
    RefreshList();
}

void Tm_CategoryEditFrm::m_DeleteBtnClick()
{
    const int row = ui->m_CategoryList->currentRow();
    if (row < 0)
        return Warn("Please select a chapter.");
    const std::int32_t id = RowID(row);
    if (id == 0)
        return Warn("You can't delete the default chapter.");
    if (lf::qt::MessageDlg(
            "Deleting a chapter name will cause all entries in that chapter \nto be moved to the "
            "Unfiled chapter.\nDo you wish to continue?",
            MsgKind::Confirmation, MsgButtons::YesNo) != lf::qt::mrYes)
        return;
    if (!m_Items.DeleteCategory(id))
    {
        Fail("Error. Can't delete the chapter.",
             "Tm_CategoryEditFrm::m_DeleteBtnClick() - ERROR, Can't delete category!");
        return;
    }
    m_SelectedID = m_Items.GetCategoryIDAt(m_Items.GetCategoryCount() - 1);
    RefreshList();
}

void Tm_CategoryEditFrm::MoveSelected(int step)
{
    const std::string prefix = step > 0 ? "Tm_CategoryEditFrm::m_pDownBtnClick() - Unknown ERROR! "
                                        : "Tm_CategoryEditFrm::m_pUpBtnClick() - Unknown ERROR! ";
    const int row = ui->m_CategoryList->currentRow();
    if (row < 0)
        return Warn("Please select a chapter.");
    const std::int32_t id = RowID(row);
    if (id == 0)
        return Warn("You can't move the Unfiled chapter");
    if (step > 0 && row + 1 >= ui->m_CategoryList->count())
        return Fail("Unknown error.",
                    prefix + "m_CategoryList->ItemIndex + 1 >= m_CategoryList->Items->Count");
    if (step < 0 && row < 2)
        return Fail("Unknown error.", prefix + "m_CategoryList->ItemIndex - 1 < 1");
    const std::int32_t neighbourID = RowID(row + step);
    if (neighbourID <= 0)
        return Fail("Unknown error.", prefix + "Incorect category ID 2");

    SCategoryInfo selected;
    SCategoryInfo neighbour;
    if (!m_Items.GetCategoryInfo(id, selected))
        return Fail("Unknown error.", prefix + "Can't reed category info 1");
    if (!m_Items.GetCategoryInfo(neighbourID, neighbour))
        return Fail("Unknown error.", prefix + "Can't reed category info 2");
    // Whole records change places, IDs included: the questions keep their chapters, only the order moves.
    const std::int32_t selectedRow = m_Items.FindCategoryIndex(id);
    const std::int32_t neighbourRow = m_Items.FindCategoryIndex(neighbourID);
    m_Items.SetCategoryAt(selectedRow, neighbour);
    m_Items.SetCategoryAt(neighbourRow, selected);
    m_Items.SetModified(true);
    RefreshList();
}
