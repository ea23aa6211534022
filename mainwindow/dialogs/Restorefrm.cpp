#include "mainwindow/dialogs/Restorefrm.h"

#include "mainwindow/dialogs/Booksfilterfrm.h"
#include "model/storage/Booklist.h"
#include "model/storage/Datastorage.h"
#include "model/support/Folders.h"
#include "model/support/Prefs.h"
#include "model/support/Utils.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "ui_Restorefrm.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>

#include <algorithm>

using lf::qt::ToQString;

namespace
{

constexpr int kRowDataRole = Qt::UserRole;

} // namespace

bool MatchesFilePattern(std::string_view name, std::string_view pattern)
{
    if (name.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (pattern[i] != '?' && pattern[i] != name[i])
            return false;
    return true;
}

std::string BackupRowText(const SBakupInfo& copy)
{
    return lf::qt::ToStdString(SystemDateTimeText(copy.FileDate)) + ", " +
           lf::sys::NumberText(copy.Size / 1024) + "kb";
}

Tm_pRestoreFrm::Tm_pRestoreFrm(CDataStorage& storage, CPrefs& prefs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::Tm_pRestoreFrm>()), m_DataStorage(storage), m_Prefs(prefs)
{
    ui->setupUi(this);
    setObjectName("m_pRestoreFrm");
    setFixedSize(370, 382);
    ui->m_pBackupFileListView->header()->setSectionResizeMode(QHeaderView::Stretch);
    // Cancel is the default button: Enter and Esc both cancel.
    connect(ui->m_pDoneBtn, &QPushButton::clicked, this, [this] { done(lf::qt::mrCancel); });
    connect(ui->m_pRestoreBtn, &QPushButton::clicked, this, [this] { m_pRestoreBtnClick(); });
}

Tm_pRestoreFrm::~Tm_pRestoreFrm() = default;

void Tm_pRestoreFrm::FormShow()
{
    std::string folder;
    if (!m_DataStorage.GetBackupFolder(folder))
        folder = m_Prefs.m_BackupDirectory;
    m_ListFolder = folder;
    ui->m_pBackupFileListView->clear();
    FillBackupList(m_ListFolder);

    const CBookList& books = *m_DataStorage.GetBookList();
    const std::int32_t index = m_DataStorage.GetCurrentBookIndex();
    const std::string name =
        index >= 0 && index < books.GetCount() ? books.GetFileName(index) : "Unnamed.lnf";
    setWindowTitle(ToQString("Restore - " + name));
}

void Tm_pRestoreFrm::FillBackupList(const std::string& folder)
{
    const CBookList& books = *m_DataStorage.GetBookList();
    const std::int32_t index = m_DataStorage.GetCurrentBookIndex();
    const std::string base =
        BackupBaseName(index >= 0 && index < books.GetCount() ? books.GetFileName(index) : std::string());
    const std::string pattern = base + "_(????_??_??_??_??_??"
                                       ").bnf";

    m_Copies.clear();
    ui->m_pBackupFileListView->clear();
    const QFileInfoList entries =
        QDir(ToQString(lf::sys::WithSlash(folder))).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries)
    {
        const std::string name = lf::qt::ToStdString(entry.fileName());
        if (!name.empty() && MatchesFilePattern(name, pattern))
        {
            const QDateTime date = entry.lastModified();
            const lf::sys::LocalDateTime when{date.date().year(), date.date().month(),  date.date().day(),
                                              date.time().hour(), date.time().minute(), date.time().second(),
                                              date.time().msec()};
            m_Copies.push_back({name, EncodeDateTime(when), static_cast<std::uint64_t>(entry.size())});
        }
    }
    std::stable_sort(m_Copies.begin(), m_Copies.end(),
                     [](const SBakupInfo& a, const SBakupInfo& b) { return a.FileDate > b.FileDate; });
    for (std::size_t i = 0; i < m_Copies.size(); ++i)
    {
        auto* row = new QTreeWidgetItem(ui->m_pBackupFileListView);
        row->setText(0, ToQString(BackupRowText(m_Copies[i])));
        row->setData(0, kRowDataRole, static_cast<int>(i + 1));
    }
}

void Tm_pRestoreFrm::m_pRestoreBtnClick()
{
    const QList<QTreeWidgetItem*> selected = ui->m_pBackupFileListView->selectedItems();
    const int data = selected.isEmpty() ? 0 : selected.front()->data(0, kRowDataRole).toInt();
    if (data < 1 || data > static_cast<int>(m_Copies.size()))
    {
        lf::qt::MessageDlg("Please select a backup copy or press cancel.", lf::qt::MsgKind::Warning,
                           lf::qt::MsgButtons::Ok);
        return;
    }
    m_RestoreFileName =
        lf::sys::WithSlash(m_ListFolder) + m_Copies[static_cast<std::size_t>(data - 1)].FileName;
    done(lf::qt::mrOk);
}
