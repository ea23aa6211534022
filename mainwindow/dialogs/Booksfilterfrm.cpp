#include "mainwindow/dialogs/Booksfilterfrm.h"

#include "model/storage/Booklist.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "ui_Booksfilterfrm.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>

using lf::qt::ToQString;

namespace
{

constexpr int kRowDataRole = Qt::UserRole;
constexpr const char* kColumnCaptions[] = {"Book Name", "Create Date", "Access Date", "Modify Date", "Path"};
constexpr int kColumnWidths[] = {130, 130, 130, 130, 600};
// The periods the dialog offers; the longer ones are set only through the options.
constexpr int kOfferedPeriods = 9;

} // namespace

QString SystemDateTimeText(TDateTime value)
{
    const lf::sys::LocalDateTime when = DecodeDateTime(value);
    const QDateTime date(QDate(when.year, when.month, when.day),
                         QTime(when.hour, when.minute, when.second, when.millisecond));
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

Tm_BooksFilterFrm::Tm_BooksFilterFrm(CBookList& books, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::Tm_BooksFilterFrm>()), m_Books(books)
{
    ui->setupUi(this);
    setObjectName("m_BooksFilterFrm");
    setFixedSize(760, 512);
    QTreeWidget* list = ui->m_pBooksListView;
    for (int column = 0; column < 5; ++column)
        list->setColumnWidth(column, kColumnWidths[column]);
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);

    connect(ui->m_pOK, &QPushButton::clicked, this, [this] { done(lf::qt::mrOk); });
    connect(ui->m_pCancel, &QPushButton::clicked, this, [this] { done(lf::qt::mrCancel); });
    connect(ui->m_pEnableFilterChekBox, &QCheckBox::clicked, this, [this] { m_pEnableFilterChekBoxClick(); });
    connect(ui->m_pFilterList, &QComboBox::activated, this, &Tm_BooksFilterFrm::m_pFilterListChange);
    connect(ui->m_pPeriodList, &QComboBox::activated, this, &Tm_BooksFilterFrm::m_pPeriodListChange);
    connect(list->header(), &QHeaderView::sectionClicked, this,
            &Tm_BooksFilterFrm::m_pBooksListViewColumnClick);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { m_pBooksListViewDblClick(); });
}

Tm_BooksFilterFrm::~Tm_BooksFilterFrm() = default;

void Tm_BooksFilterFrm::FormShow()
{
    m_Books.ClearAlwaysShown(true);
    FillControls();
    m_bFilling = false;
}

void Tm_BooksFilterFrm::FillControls()
{
    {
        const QSignalBlocker blockField(ui->m_pFilterList);
        const QSignalBlocker blockPeriod(ui->m_pPeriodList);
        ui->m_pEnableFilterChekBox->setChecked(m_Books.m_bFilterEnable != 0);
        ui->m_pFilterList->setCurrentIndex(m_Books.m_FilterField < 3 ? m_Books.m_FilterField : -1);
        ui->m_pPeriodList->setCurrentIndex(m_Books.m_FilterPeriod < kOfferedPeriods ? m_Books.m_FilterPeriod
                                                                                    : -1);
    }

    QTreeWidget* list = ui->m_pBooksListView;
    list->clear();
    try
    {
        for (int position = 0; position < m_Books.GetFilteredCount(); ++position)
        {
            const int index = m_Books.GetFilteredIndex(position);
            const SBookInfo book = m_Books.GetBookInfo(index);
            auto* row = new QTreeWidgetItem(list);
            row->setText(0, ToQString(book.Name));
            row->setText(1, SystemDateTimeText(book.Created));
            row->setText(2, SystemDateTimeText(book.Accessed));
            row->setText(3, SystemDateTimeText(book.Modified));
            row->setText(4, ToQString(book.Folder));
            row->setData(0, kRowDataRole, index + 1);
        }
    }
    catch (const CWrongArrayIndexError&)
    {
        WriteLog("Tm_BooksFilterFrm::FillControls - ERROR: wrong book index", 1, 1);
    }

    // The date columns are as wide as their texts in the system's format, never narrower than designed.
    for (int column = 1; column <= 3; ++column)
    {
        list->resizeColumnToContents(column);
        list->setColumnWidth(column, std::max(list->columnWidth(column), kColumnWidths[column]));
    }
    for (int column = 0; column < 5; ++column)
    {
        QString caption = kColumnCaptions[column];
        if (m_Books.m_SortField == column)
            caption.prepend(m_Books.m_SortUp ? "^ " : "v ");
        list->headerItem()->setText(column, caption);
    }
}

void Tm_BooksFilterFrm::ApplyFilter()
{
    if (m_bFilling)
        return;
    const bool on = ui->m_pEnableFilterChekBox->isChecked();
    m_Books.m_bFilterEnable = on ? 1 : 0;
    const auto selected = [on](const QComboBox* list)
    {
        const int index = list->currentIndex();
        return on && index >= 0 ? static_cast<std::uint8_t>(index) : CBookList::kNone;
    };
    m_Books.m_FilterField = selected(ui->m_pFilterList);
    m_Books.m_FilterPeriod = selected(ui->m_pPeriodList);
    m_Books.ApplyFilter();
    FillControls();
}

void Tm_BooksFilterFrm::m_pEnableFilterChekBoxClick()
{
    ApplyFilter();
}

void Tm_BooksFilterFrm::m_pFilterListChange(int)
{
    OnListChange(ui->m_pFilterList);
}

void Tm_BooksFilterFrm::m_pPeriodListChange(int)
{
    OnListChange(ui->m_pPeriodList);
}

void Tm_BooksFilterFrm::OnListChange(QComboBox* list)
{
    // A date field or period is chosen only with the filter on.
    if (!ui->m_pEnableFilterChekBox->isChecked())
    {
        const QSignalBlocker block(list);
        list->setCurrentIndex(-1);
        return;
    }
    ApplyFilter();
}

void Tm_BooksFilterFrm::m_pBooksListViewColumnClick(int column)
{
    if (column == m_Books.m_SortField)
        m_Books.m_SortUp = m_Books.m_SortUp ? 0 : 1;
    else
        m_Books.m_SortUp = 1;
    m_Books.m_bSortEnable = 1;
    m_Books.m_SortField = static_cast<std::uint8_t>(column);
    m_Books.ApplyFilter();
    FillControls();
}

void Tm_BooksFilterFrm::m_pBooksListViewDblClick()
{
    done(lf::qt::mrOk);
}

int Tm_BooksFilterFrm::SelectedBookIndex() const
{
    const QList<QTreeWidgetItem*> selected = ui->m_pBooksListView->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->data(0, kRowDataRole).toInt() - 1;
}
