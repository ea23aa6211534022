#include "mainwindow/dialogs/Prefsfrm.h"

#include "ui_BooksPathPrefsfrm.h"
#include "ui_Prefsfrm.h"

#include "mainwindow/dialogs/Skins.h"
#include "mainwindow/rules/PrefsRules.h"
#include "mainwindow/rules/SkinPath.h"
#include "model/storage/Datastorage.h"
#include "model/support/Folders.h"
#include "model/support/Prefs.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/QtText.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QScrollBar>
#include <QToolButton>

#include <filesystem>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
using lf::qt::ToQString;
using lf::qt::ToStdString;

namespace
{

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace

lf::SRichFieldFont FieldFontOf(const CPrefs& prefs)
{
    lf::SRichFieldFont font;
    font.name = prefs.m_FieldFontName;
    font.size = prefs.m_FieldFontSize;
    font.charSet = prefs.m_FieldFontCharSet;
    font.color = prefs.m_FieldFontColor;
    font.bold = prefs.m_FieldFontStyleBold;
    font.italic = prefs.m_FieldFontStyleItalic;
    font.underline = prefs.m_FieldFontStyleUnderline;
    font.strikeOut = prefs.m_FieldFontStyleStrikeOut;
    return font;
}

void SetFieldFont(CPrefs& prefs, const lf::SRichFieldFont& font)
{
    prefs.m_FieldFontName = font.name;
    prefs.m_FieldFontSize = font.size;
    prefs.m_FieldFontCharSet = static_cast<std::uint8_t>(font.charSet);
    prefs.m_FieldFontColor = font.color;
    prefs.m_FieldFontStyleBold = font.bold;
    prefs.m_FieldFontStyleItalic = font.italic;
    prefs.m_FieldFontStyleUnderline = font.underline;
    prefs.m_FieldFontStyleStrikeOut = font.strikeOut;
}

// --- Preferences ---

Tm_PrefsFrm::Tm_PrefsFrm(CPrefs& prefs, CDataStorage& storage, QWidget* parent)
    : TFormDialog(kCancel, parent), ui(std::make_unique<Ui::Tm_PrefsFrm>()), m_Prefs(prefs),
      m_DataStorage(storage)
{
    ui->setupUi(this);
    FixToFormSize();
    ui->m_pSkinViewDefImg->setPixmap(DefaultSkinPreview());
    // The list keeps its place when "None" hides the preview.
    QSizePolicy preview = ui->m_pSkinView->sizePolicy();
    preview.setRetainSizeWhenHidden(true);
    ui->m_pSkinView->setSizePolicy(preview);
    connect(ui->m_OkBtn, &QPushButton::clicked, this,
            [this]
            {
                if (m_OkBtnClick())
                    done(kOk);
            });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, &Tm_PrefsFrm::reject);
    connect(ui->m_pSkinList, &QListWidget::itemSelectionChanged, this, &Tm_PrefsFrm::m_pSkinListClick);
    connect(ui->m_pEnableBackupCheck, &QCheckBox::clicked, this, &Tm_PrefsFrm::m_pEnableBackupCheckClick);
    connect(ui->m_pSelectFontBtn, &QPushButton::clicked, this, &Tm_PrefsFrm::m_pSelectFontBtnClick);
    connect(ui->m_pSetDefaultFontBtn, &QPushButton::clicked, this, &Tm_PrefsFrm::m_pSetDefaultFontBtnClick);
    connect(ui->m_BrowseBtn, &QPushButton::clicked, this, &Tm_PrefsFrm::m_BrowseBtnClick);
    connect(ui->m_DefaultBtn, &QPushButton::clicked, this, &Tm_PrefsFrm::m_DefaultBtnClick);
    connect(ui->m_pReinstallBooksBtn, &QPushButton::clicked, this, &Tm_PrefsFrm::m_pReinstallBooksBtnClick);
    connect(ui->Button1, &QPushButton::clicked, this, &Tm_PrefsFrm::Button1Click);
}

Tm_PrefsFrm::~Tm_PrefsFrm() = default;

void Tm_PrefsFrm::FormShow()
{
    ui->m_pBookModulePrefsGroupBox->hide();
    FillSkinList();
    FillControls();
}

void Tm_PrefsFrm::FillControls()
{
    ui->m_ChekNewVersionCheck->setChecked(m_Prefs.m_EnabledAutoUpdate);
    ui->m_DefaultFolderStr->setText(ToQString(m_Prefs.GetBooksDirectory()));
    ShowFieldFont();
    ui->m_pEnableBackupCheck->setChecked(m_Prefs.m_BackupAllow);
    ui->m_pBackupTimeSpin->setValue(m_Prefs.m_BackupTime);
    ui->m_pBackupTimeView->setVisible(ui->m_pEnableBackupCheck->isChecked());
    ui->m_pQuestionFormat->setCurrentIndex(m_Prefs.m_QAX_TYPE_LEARN);
    ShowSkinPreview();
    ui->m_pReinstallBooksBtn->setEnabled(std::filesystem::exists(BookInstallerPath()));
    const EQuestionStyle style = m_Prefs.GetQuestionStyle();
    const bool answersInPane = style == EQuestionStyle::MultipleChoice || style == EQuestionStyle::Moodle;
    ui->m_pQuestionFormatLabel->setVisible(answersInPane);
    ui->m_pQuestionFormat->setVisible(answersInPane);
}

void Tm_PrefsFrm::ShowFieldFont()
{
    const lf::SRichFieldFont font = FieldFontOf(m_Prefs);
    ui->m_FontView->setText(ToQString(font.name));
    ui->m_FontView->setFont(lf::qt::ToQFont(font));
    QPalette colours = ui->m_FontView->palette();
    colours.setColor(QPalette::WindowText, lf::qt::ToQColor(font.color));
    ui->m_FontView->setPalette(colours);
}

void Tm_PrefsFrm::FillSkinList()
{
    m_SkinFiles.clear();
    m_SkinsFolder = SkinsFolder(ToStdString(QDir::currentPath()));
    m_SkinFiles = FindSkinFiles(m_SkinsFolder);
    QListWidget& list = *ui->m_pSkinList;
    const QSignalBlocker quiet(&list);
    list.clear();
    const auto addRow = [&list](const std::string& text, int object)
    {
        auto* row = new QListWidgetItem(ToQString(text), &list);
        row->setData(Qt::UserRole, object);
    };
    addRow("None", kNoneRow);
    addRow("Default", kDefaultRow);
    for (std::size_t i = 0; i < m_SkinFiles.size(); ++i)
        addRow(SkinDisplayName(m_SkinFiles[i]), static_cast<int>(i));
    const int selection = SkinListSelection(m_Prefs, m_SkinFiles, m_SkinsFolder);
    list.setCurrentRow(selection < list.count() ? selection : 0);
}

int Tm_PrefsFrm::ActiveSkinRow() const
{
    const QListWidget& list = *ui->m_pSkinList;
    if (list.count() == 0)
        return -1;
    return list.currentRow() >= 0 ? list.currentRow() : 0;
}

void Tm_PrefsFrm::ShowSkinPreview()
{
    const int row = ActiveSkinRow();
    if (row < 0)
    {
        ui->m_pSkinView->hide();
        return;
    }
    const int object = ui->m_pSkinList->item(row)->data(Qt::UserRole).toInt();
    ui->m_pSkinView->setVisible(object != kNoneRow);
    ui->m_pSkinViewDefImg->setVisible(object == kDefaultRow);
    ui->m_pSkinViewImg->setVisible(LoadSkinPreview());
    ui->m_NoPreviewLabel->setVisible(!ui->m_pSkinViewDefImg->isVisibleTo(this) &&
                                     !ui->m_pSkinViewImg->isVisibleTo(this));
}

bool Tm_PrefsFrm::LoadSkinPreview()
{
    const int row = ActiveSkinRow();
    if (row < 0)
        return false;
    const int object = ui->m_pSkinList->item(row)->data(Qt::UserRole).toInt();
    if (object < 0 || object >= static_cast<int>(m_SkinFiles.size()) || m_SkinFiles[object].empty())
        return false;
    const std::string preview = SkinPreviewPath(m_SkinFiles[object]);
    std::error_code error;
    if (!std::filesystem::is_regular_file(preview, error))
        return false;
    ui->m_pSkinView->horizontalScrollBar()->setValue(0);
    ui->m_pSkinView->verticalScrollBar()->setValue(0);
    QPixmap picture(ToQString(preview));
    ui->m_pSkinViewImg->setPixmap(picture);
    return !picture.isNull();
}

void Tm_PrefsFrm::m_pSkinListClick()
{
    ShowSkinPreview();
}

void Tm_PrefsFrm::m_pEnableBackupCheckClick()
{
    ui->m_pBackupTimeView->setVisible(ui->m_pEnableBackupCheck->isChecked());
}

void Tm_PrefsFrm::m_pSelectFontBtnClick()
{
    lf::SRichFieldFont font = FieldFontOf(m_Prefs);
    if (!lf::qt::CurrentDialogs().ChooseFont(this, font))
        return;
    SetFieldFont(m_Prefs, font);
    if (OnFieldFontChanged)
        OnFieldFontChanged();
    ShowFieldFont();
}

void Tm_PrefsFrm::m_pSetDefaultFontBtnClick()
{
    SetFieldFont(m_Prefs, lf::SRichFieldFont{"Arial", 12, 1, 0x80000008, false, false, false, false});
    if (OnFieldFontChanged)
        OnFieldFontChanged();
    ShowFieldFont();
}

void Tm_PrefsFrm::m_BrowseBtnClick()
{
    const auto folder = lf::qt::CurrentDialogs().PickFolder(this, "Select a folder with books.",
                                                            ToStdString(ui->m_DefaultFolderStr->text()));
    if (folder)
        ui->m_DefaultFolderStr->setText(ToQString(*folder));
}

void Tm_PrefsFrm::m_DefaultBtnClick()
{
    ui->m_DefaultFolderStr->setText(ToQString(GetDefaultBooksFolder()));
}

std::string Tm_PrefsFrm::BookInstallerPath()
{
    return GetProgramFolder() + "Setup_books.exe";
}

void Tm_PrefsFrm::m_pReinstallBooksBtnClick()
{
    lf::qt::OpenWithShell(BookInstallerPath());
}

void Tm_PrefsFrm::Button1Click()
{
    TCBooksPathPrefsFrm books(m_Prefs, this);
    lf::qt::CurrentDialogs().RunModal(books);
}

bool Tm_PrefsFrm::m_OkBtnClick()
{
    const std::string kept = m_Prefs.GetBooksDirectory();
    const std::string typed = ToStdString(ui->m_DefaultFolderStr->text());
    const auto refuseUnwritable = [&]
    {
        if (IsFolderWritable(m_Prefs.GetBooksDirectory()))
            return false;
        lf::qt::MessageDlg("You do not have write permission in " + m_Prefs.GetBooksDirectory() +
                               " folder. Please try a different location.",
                           MsgKind::Error, MsgButtons::Ok);
        m_Prefs.SetBooksDirectory(kept);
        ui->m_DefaultFolderStr->setText(ToQString(kept));
        return true;
    };
    if (typed != kept)
    {
        if (!typed.empty() && !IsFolder(typed) && !CreateFolder(typed))
        {
            lf::qt::MessageDlg("Can't create the book folder.", MsgKind::Error, MsgButtons::Ok);
            return false;
        }
        m_Prefs.SetBooksDirectory(typed);
        if (refuseUnwritable())
            return false;
        if (!m_DataStorage.ReloadBookList())
            lf::qt::MessageDlg("Books are not found. You may need to adjust your preferences to point to the "
                               "right directory.",
                               MsgKind::Warning, MsgButtons::Ok);
    }
    else if (refuseUnwritable())
        return false;

    const std::string backup = BackupFolderOfBooks(m_Prefs.GetBooksDirectory());
    if (backup != m_Prefs.m_BackupDirectory)
    {
        if (!IsFolder(backup) && !CreateFolder(backup))
        {
            lf::qt::MessageDlg("Can't create the backup folder. Please try a different location.",
                               MsgKind::Error, MsgButtons::Ok);
            return false;
        }
        m_Prefs.m_BackupDirectory = backup;
    }

    m_Prefs.m_EnabledAutoUpdate = ui->m_ChekNewVersionCheck->isChecked();

    const int row = ActiveSkinRow();
    if (row >= 0)
    {
        const int object = ui->m_pSkinList->item(row)->data(Qt::UserRole).toInt();
        m_Prefs.m_EnableSkin = object != kNoneRow;
        m_Prefs.m_UseDefaultSkin = object == kDefaultRow;
        if (object >= 0 && object < static_cast<int>(m_SkinFiles.size()))
            m_Prefs.m_ExternalSkinPath = SkinPathToStore(m_SkinFiles[object], m_SkinsFolder);
    }

    m_Prefs.m_BackupAllow = ui->m_pEnableBackupCheck->isChecked();
    m_Prefs.m_BackupTime = ui->m_pBackupTimeSpin->value();
    m_Prefs.m_QAX_TYPE_LEARN = static_cast<std::int8_t>(ui->m_pQuestionFormat->currentIndex());
    return true;
}

// --- Home Page Books ---

TCBooksPathPrefsFrm::TCBooksPathPrefsFrm(CPrefs& prefs, QWidget* parent)
    : TFormDialog(kCancel, parent), ui(std::make_unique<Ui::TCBooksPathPrefsFrm>()), m_Prefs(prefs)
{
    ui->setupUi(this);
    FixToFormSize();
    connect(ui->m_pOkBtn, &QPushButton::clicked, this,
            [this]
            {
                m_pOkBtnClick();
                done(kOk);
            });
    connect(ui->m_pCancelBtn, &QPushButton::clicked, this, &TCBooksPathPrefsFrm::reject);
    for (int i = 1; i <= kRows; ++i)
    {
        if (auto* clear = findChild<QToolButton*>(QStringLiteral("ClearBtn%1").arg(i)))
            connect(clear, &QToolButton::clicked, this, [this, clear] { ClearFildsClick(clear); });
        if (auto* browse = findChild<QToolButton*>(QStringLiteral("BrowseBtn%1").arg(i)))
            connect(browse, &QToolButton::clicked, this, [this, browse] { BrowseFileClick(browse); });
    }
}

TCBooksPathPrefsFrm::~TCBooksPathPrefsFrm() = default;

void TCBooksPathPrefsFrm::FormShow()
{
    for (int i = 1; i <= kRows; ++i)
    {
        auto* display = findChild<QLineEdit*>(QStringLiteral("m_pDislpayEdit%1").arg(i));
        auto* link = findChild<QLineEdit*>(QStringLiteral("m_pLinkEdit%1").arg(i));
        if (!display || !link)
            continue;
        display->setText(ToQString(m_Prefs.m_BooksDisplay[static_cast<std::size_t>(i - 1)]));
        link->setText(ToQString(m_Prefs.m_BooksPath[static_cast<std::size_t>(i - 1)]));
    }
}

void TCBooksPathPrefsFrm::m_pOkBtnClick()
{
    for (int i = 1; i <= kRows; ++i)
    {
        auto* display = findChild<QLineEdit*>(QStringLiteral("m_pDislpayEdit%1").arg(i));
        auto* link = findChild<QLineEdit*>(QStringLiteral("m_pLinkEdit%1").arg(i));
        if (!display || !link)
            continue;
        const auto at = static_cast<std::size_t>(i - 1);
        m_Prefs.m_BooksDisplay[at] = HomePageBookText(ToStdString(display->text()));
        m_Prefs.m_BooksPath[at] = HomePageBookText(ToStdString(link->text()));
    }
}

int TCBooksPathPrefsFrm::RowOf(QObject* sender, const char* prefix) const
{
    for (int i = 1; i <= kRows; ++i)
        if (sender && sender == findChild<QToolButton*>(QString::fromLatin1(prefix) + QString::number(i)))
            return i;
    return 0;
}

void TCBooksPathPrefsFrm::ClearFildsClick(QObject* sender)
{
    const int row = RowOf(sender, "ClearBtn");
    if (row == 0)
        return;
    findChild<QLineEdit*>(QStringLiteral("m_pDislpayEdit%1").arg(row))->clear();
    findChild<QLineEdit*>(QStringLiteral("m_pLinkEdit%1").arg(row))->clear();
}

void TCBooksPathPrefsFrm::BrowseFileClick(QObject* sender)
{
    const int row = RowOf(sender, "BrowseBtn");
    if (row == 0)
        return;
    lf::qt::SFileDialog request;
    request.owner = this;
    request.initialFolder = m_Prefs.GetBooksDirectory();
    request.filter = "Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb";
    request.defaultExt = ".lnf";
    if (const auto chosen = lf::qt::CurrentDialogs().OpenFile(request))
        findChild<QLineEdit*>(QStringLiteral("m_pLinkEdit%1").arg(row))->setText(ToQString(*chosen));
}
