#include "mainwindow/dialogs/Printprefsdlg.h"

#include "ui_Printprefsdlg.h"

#include "mainwindow/rules/PrintDocument.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "model/collection/Itemsarray.h"
#include "model/support/Prefs.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QListWidgetItem>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

Tm_PrintPrefsDlg::Tm_PrintPrefsDlg(CItemsArray2& items, CPrefs& prefs, std::int32_t chapterFilter,
                                   EPhase phase, QWidget* owner)
    : TFormDialog(kCancel, owner), ui(std::make_unique<Ui::Tm_PrintPrefsDlg>()), m_Items(items),
      m_Prefs(prefs), m_ChapterFilter(chapterFilter), m_Phase(phase)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->m_PrintBtn, &QPushButton::clicked, this, &Tm_PrintPrefsDlg::m_PrintBtnClick);
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, [this] { done(kCancel); });
    connect(ui->m_SelectAllCatCheck, &QCheckBox::clicked, this, &Tm_PrintPrefsDlg::m_SelectAllCatCheckClick);
    connect(ui->m_MainCategoryListBox, &QListWidget::itemChanged, this,
            [this] { m_MainCategoryListBoxClickCheck(); });
}

Tm_PrintPrefsDlg::~Tm_PrintPrefsDlg() = default;

void Tm_PrintPrefsDlg::FormShow()
{
    m_bReady = false;
    QListWidget& list = *ui->m_MainCategoryListBox;
    list.clear();
    for (const auto& [name, id] : FillCategoryList(m_Items, false, false, false))
    {
        auto* entry = new QListWidgetItem(lf::qt::ToQString(name), &list);
        entry->setData(Qt::UserRole, id);
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        const bool ticked = m_ChapterFilter == kAllCategoriesID || id == m_ChapterFilter;
        entry->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    ui->m_SelectAllCatCheck->setChecked(list.count() > 0 && AllChaptersTicked());
    ui->m_pFilterComboBox->setCurrentIndex(0);
    ui->m_NumberType->setCurrentIndex(0);
    ui->m_pModeComoBox->setCurrentIndex(0);
    ui->m_pAvtiveModeComboBox->setCurrentIndex(m_Phase == EPhase::None ? -1 : ToNumber(m_Phase));
    m_bReady = true;
}

bool Tm_PrintPrefsDlg::AllChaptersTicked() const
{
    const QListWidget& list = *ui->m_MainCategoryListBox;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() != Qt::Checked)
            return false;
    return true;
}

std::vector<std::int32_t> Tm_PrintPrefsDlg::TickedChapters() const
{
    std::vector<std::int32_t> ids;
    const QListWidget& list = *ui->m_MainCategoryListBox;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            ids.push_back(list.item(i)->data(Qt::UserRole).toInt());
    return ids;
}

void Tm_PrintPrefsDlg::m_SelectAllCatCheckClick()
{
    if (!m_bReady)
        return;
    m_bReady = false;
    const Qt::CheckState state = ui->m_SelectAllCatCheck->isChecked() ? Qt::Checked : Qt::Unchecked;
    QListWidget& list = *ui->m_MainCategoryListBox;
    for (int i = 0; i < list.count(); ++i)
        list.item(i)->setCheckState(state);
    m_bReady = true;
}

void Tm_PrintPrefsDlg::m_MainCategoryListBoxClickCheck()
{
    if (!m_bReady)
        return;
    m_bReady = false;
    ui->m_SelectAllCatCheck->setChecked(ui->m_MainCategoryListBox->count() > 0 && AllChaptersTicked());
    m_bReady = true;
}

void Tm_PrintPrefsDlg::m_PrintBtnClick()
{
    if (ui->m_pFilterComboBox->currentIndex() < 0)
    {
        MessageDlg("Please select a filter.", MsgKind::Warning, MsgButtons::Ok);
        ui->m_pFilterComboBox->setFocus();
        return;
    }
    if (ui->m_pAvtiveModeComboBox->currentIndex() < 0)
    {
        MessageDlg("Please select a print mode.", MsgKind::Warning, MsgButtons::Ok);
        ui->m_pAvtiveModeComboBox->setFocus();
        return;
    }
    if (TickedChapters().empty())
    {
        MessageDlg("Please select the chapter(s).", MsgKind::Warning, MsgButtons::Ok);
        ui->m_MainCategoryListBox->setFocus();
        return;
    }
    if (!FilteredData())
        return;
    m_NumberTypeChoice = ui->m_NumberType->currentIndex() == 1 ? 1 : 0;
    m_ModeChoice = ui->m_pModeComoBox->currentIndex() == 1 ? 1 : 0;
    done(kPrint);
}

bool Tm_PrintPrefsDlg::FilteredData()
{
    m_Prefs.m_PrintPhase = ui->m_pAvtiveModeComboBox->currentIndex();
    m_CategoryIDs = TickedChapters();
    const lf::print::SPrintChoiceCount count =
        lf::print::MarkItemsForPrinting(m_Items, m_CategoryIDs, ui->m_pFilterComboBox->currentIndex());
    const std::string warning = lf::print::EmptyChoiceMessage(count);
    if (warning.empty())
        return true;
    MessageDlg(warning, MsgKind::Warning, MsgButtons::Ok);
    return false;
}
