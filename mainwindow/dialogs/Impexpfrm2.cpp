#include "mainwindow/dialogs/Impexpfrm2.h"

#include "interchange/DelimitedText.h"
#include "interchange/MoodleXml.h"
#include "model/storage/Datastorage.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Prefs.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"
#include "ui_Impexpfrm2.h"

#include <QIcon>
#include <QProgressBar>
#include <QStyle>

#include <filesystem>
#include <system_error>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

namespace fs = std::filesystem;

// The list entries, as the reader and writer tables name them.
enum EImport
{
    kImportMoodle,
    kImportBookV3,
    kImportBookV4,
    kImportCsv,
    kImportCsvWithExplanation,
    kImportFlashCardExchange,
    kImportQuizlet,
};

enum EExport
{
    kExportMoodle,
    kExportContentBook,
    kExportCsv,
    kExportCsvWithExplanation,
    kExportFlashCardExchange,
    kExportQuizlet,
};

bool IsFile(const std::string& name)
{
    std::error_code error;
    return !name.empty() && fs::is_regular_file(name, error);
}

bool Exists(const std::string& name)
{
    std::error_code error;
    return !name.empty() && fs::exists(name, error);
}

} // namespace

// Shows the storage's progress of a run in the dialog: the status text above the bar, the bar itself
// moved only when the percentage changes, so a long run does not spend its time repainting.
class Tm_ImpExpFrm2::CProgressSink final : public IStatusTextSink
{
public:
    explicit CProgressSink(Ui::Tm_ImpExpFrm2& form) : m_form(form) {}

    void SetStatusText(const std::string& text) override
    {
        m_form.m_ProgressLabel->setText(lf::qt::ToQString(text));
    }
    void SetProgress(std::int64_t done, std::int64_t total) override
    {
        const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
        if (percent != m_form.m_ProgressBar->value())
            m_form.m_ProgressBar->setValue(percent);
    }
    void Reset()
    {
        m_form.m_ProgressLabel->clear();
        m_form.m_ProgressBar->setValue(0);
    }

private:
    Ui::Tm_ImpExpFrm2& m_form;
};

namespace
{

// Puts the dialog's progress display in place of the storage's status bar for the length of a run.
class CStatusSinkSwap
{
public:
    CStatusSinkSwap(CDataStorage& storage, IStatusTextSink* sink)
        : m_storage(storage), m_previous(storage.GetStatusBar())
    {
        m_storage.SetStatusBar(sink);
    }
    ~CStatusSinkSwap() { m_storage.SetStatusBar(m_previous); }
    CStatusSinkSwap(const CStatusSinkSwap&) = delete;
    CStatusSinkSwap& operator=(const CStatusSinkSwap&) = delete;

private:
    CDataStorage& m_storage;
    IStatusTextSink* m_previous;
};

} // namespace

Tm_ImpExpFrm2::Tm_ImpExpFrm2(CDataStorage& storage, const CPrefs& prefs, std::function<void()> saveBook,
                             QWidget* parent)
    : TFormDialog(lf::qt::mrOk, parent), ui(std::make_unique<Ui::Tm_ImpExpFrm2>()), m_DataStorage(storage),
      m_Prefs(prefs), m_SaveBook(std::move(saveBook))
{
    ui->setupUi(this);
    setObjectName("m_ImpExpFrm2");
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    FixToFormSize();
    m_pProgress = std::make_unique<CProgressSink>(*ui);
    // The progress shows from the first run on; until then its place stays empty.
    for (QWidget* progress :
         {static_cast<QWidget*>(ui->m_ProgressLabel), static_cast<QWidget*>(ui->m_ProgressBar)})
    {
        QSizePolicy policy = progress->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        progress->setSizePolicy(policy);
        progress->hide();
    }

    const QIcon folder = QIcon::fromTheme("folder-open", style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->m_OpenBtn->setIcon(folder);
    ui->m_Open2Btn->setIcon(folder);
    // Nothing is chosen at the start.
    ui->m_ImportFormatList->setCurrentIndex(-1);
    ui->m_ExportFormatList->setCurrentIndex(-1);

    connect(ui->m_ImportFormatList, &QComboBox::activated, this, [this] { m_ImportFormatListChange(); });
    connect(ui->m_ExportFormatList, &QComboBox::activated, this, [this] { m_ExportFormatListChange(); });
    connect(ui->m_OpenBtn, &QToolButton::clicked, this, [this] { m_OpenBtnClick(); });
    connect(ui->m_Open2Btn, &QToolButton::clicked, this, [this] { m_Open2BtnClick(); });
    connect(ui->m_ImportBtn, &QPushButton::clicked, this, [this] { m_ImportBtnClick(); });
    connect(ui->m_ExportBtn, &QPushButton::clicked, this, [this] { m_ExportBtnClick(); });
    connect(ui->m_DoneBtn, &QPushButton::clicked, this, [this] { done(lf::qt::mrOk); });
}

Tm_ImpExpFrm2::~Tm_ImpExpFrm2() = default;

// --- The tables ---

const std::vector<std::string>& Tm_ImpExpFrm2::ImportFormats()
{
    static const std::vector<std::string> formats = {"Moodle XML",
                                                     "Lernfold V3",
                                                     "Lernfold V4 ",
                                                     "CSV Q,A ",
                                                     "CSV Q,A,X ",
                                                     "FlashCardExchange ",
                                                     "Quizlet (with TAB delimiter)"};
    return formats;
}

const std::vector<std::string>& Tm_ImpExpFrm2::ExportFormats()
{
    static const std::vector<std::string> formats = {"Moodle XML",         "Lernfold V4 ",
                                                     "CSV Q,A ",           "CSV Q,A,X ",
                                                     "FlashCardExchange ", "Quizlet (with TAB delimiter)"};
    return formats;
}

Tm_ImpExpFrm2::SFileChoice Tm_ImpExpFrm2::ImportFileChoice(int index)
{
    switch (index)
    {
    case kImportMoodle:
        return {"Moodle XML|*.xml", ".xml"};
    case kImportBookV3:
        // Both book extensions are offered together (patterns are parted by ";").
        return {"Lernfold v3|*.lnf;*.lnf3|PDB file (*.pdb)|*.pdb", ".lnf"};
    case kImportBookV4:
        return {"Lernfold v4 (*.lnf; *.lnf4)|*.lnf; *.lnf4", ".lnf"};
    case kImportCsv:
    case kImportCsvWithExplanation:
        return {"Exel csv file (*.csv)|*.csv", ".csv"};
    case kImportFlashCardExchange:
        return {"FlashCardExchange file (*.csv; *.tsv)|*.csv; *.tsv", ".csv"};
    case kImportQuizlet:
        return {"Quizlet file(*.txt)|*.txt", ".txt"};
    default:
        return {};
    }
}

Tm_ImpExpFrm2::SFileChoice Tm_ImpExpFrm2::ExportFileChoice(int index)
{
    switch (index)
    {
    case kExportMoodle:
        return {"Moodle XML|*.xml", ".xml"};
    case kExportContentBook:
        return {"Lernfold v4 (*.lnf4)|*.lnf4", ".lnf4"};
    case kExportCsv:
    case kExportCsvWithExplanation:
        return {"Exel csv file (*.csv)|*.csv", ".csv"};
    case kExportFlashCardExchange:
        return {"FlashCardExchange file (*.csv; *.tsv)|*.csv; *.tsv", ".csv"};
    case kExportQuizlet:
        return {"Quizlet file(*.txt)|*.txt", ".txt"};
    default:
        return {};
    }
}

std::string Tm_ImpExpFrm2::ExportTargetName(int index, const std::string& typedName)
{
    switch (index)
    {
    case kExportMoodle:
        return MoodleXmlFileName(typedName, false);
    case kExportContentBook:
        return CDataStorage::ContentBookFileName(typedName, false);
    case kExportCsv:
    case kExportCsvWithExplanation:
    case kExportFlashCardExchange:
    case kExportQuizlet:
        return DelimitedTextFileName(typedName, false);
    default:
        return {};
    }
}

std::string Tm_ImpExpFrm2::BackupFileName(const std::string& target)
{
    return lf::sys::FolderOf(target) + lf::sys::WithoutExtension(lf::sys::NamePart(target)) + ".bak";
}

std::string Tm_ImpExpFrm2::ShownFileName(const std::string& picked, const std::string& programFolder)
{
    return lf::sys::FolderOf(picked) == lf::sys::WithSlash(programFolder) ? lf::sys::NamePart(picked)
                                                                          : picked;
}

bool Tm_ImpExpFrm2::IsContentBookName(const std::string& name)
{
    return lf::sys::AsciiLower(lf::sys::ExtensionOf(name)) == ".lnf4";
}

bool Tm_ImpExpFrm2::IsTabSeparatedName(const std::string& name)
{
    return lf::sys::AsciiLower(lf::sys::Trim(lf::sys::ExtensionOf(name))) == ".tsv";
}

// --- The controls ---

void Tm_ImpExpFrm2::m_ImportFormatListChange()
{
    const bool chosen = ui->m_ImportFormatList->currentIndex() >= 0;
    ui->m_ImpotrFileNameStr->setEnabled(chosen);
    ui->m_OpenBtn->setEnabled(chosen);
    ui->m_ImportBtn->setEnabled(chosen);
}

void Tm_ImpExpFrm2::m_ExportFormatListChange()
{
    const bool chosen = ui->m_ExportFormatList->currentIndex() >= 0;
    ui->m_ExpotrFileNameStr->setEnabled(chosen);
    ui->m_Open2Btn->setEnabled(chosen);
    ui->m_ExportBtn->setEnabled(chosen);
}

void Tm_ImpExpFrm2::m_OpenBtnClick()
{
    const SFileChoice choice = ImportFileChoice(ui->m_ImportFormatList->currentIndex());
    lf::qt::SFileDialog dialog;
    dialog.owner = this;
    dialog.initialFolder = m_Prefs.GetBooksDirectory();
    dialog.filter = choice.filter;
    dialog.defaultExt = choice.defaultExt;
    if (const auto picked = lf::qt::CurrentDialogs().OpenFile(dialog))
        ui->m_ImpotrFileNameStr->setText(lf::qt::ToQString(ShownFileName(*picked, GetProgramFolder())));
}

void Tm_ImpExpFrm2::m_Open2BtnClick()
{
    const SFileChoice choice = ExportFileChoice(ui->m_ExportFormatList->currentIndex());
    lf::qt::SFileDialog dialog;
    dialog.owner = this;
    dialog.initialFolder = m_Prefs.GetBooksDirectory();
    dialog.filter = choice.filter;
    dialog.defaultExt = choice.defaultExt;
    if (const auto picked = lf::qt::CurrentDialogs().SaveFile(dialog))
        ui->m_ExpotrFileNameStr->setText(lf::qt::ToQString(ShownFileName(*picked, GetProgramFolder())));
}

void Tm_ImpExpFrm2::reject()
{
    if (!m_bRunning)
        TFormDialog::reject();
}

void Tm_ImpExpFrm2::SetRunning(bool running)
{
    m_bRunning = running;
    // A group box passes its state on to its controls and gives each its own state back afterwards.
    ui->GroupBox1->setEnabled(!running);
    ui->GroupBox2->setEnabled(!running);
    ui->m_DoneBtn->setEnabled(!running);
    if (running)
    {
        m_pProgress->Reset();
        ui->m_ProgressLabel->show();
        ui->m_ProgressBar->show();
    }
}

// --- Import ---

void Tm_ImpExpFrm2::m_ImportBtnClick()
{
    const std::string name = lf::qt::ToStdString(ui->m_ImpotrFileNameStr->text());
    if (!IsFile(name))
    {
        MessageDlg(kNoImportFile, MsgKind::Warning, MsgButtons::Ok);
        ui->m_ImpotrFileNameStr->setFocus();
        return;
    }
    const int index = ui->m_ImportFormatList->currentIndex();
    if (index < 0)
        return;

    SetRunning(true);
    const bool imported = RunImport(index, name);
    SetRunning(false);
    if (imported)
    {
        m_DataStorage.GetItemsPtr2()->SetModified(true);
        MessageDlg(kImported, MsgKind::Information, MsgButtons::Ok);
    }
    else
        MessageDlg(kImportFailed, MsgKind::Warning, MsgButtons::Ok);
}

bool Tm_ImpExpFrm2::RunImport(int index, const std::string& name)
{
    CItemsArray2* items = m_DataStorage.GetItemsPtr2();
    if (index == kImportBookV4 && IsContentBookName(name) && m_DataStorage.GetFileName().empty())
    {
        // The content files go into the book's media folder, which a book without a file has not got.
        MessageDlg(kSaveBookFirst, MsgKind::Warning, MsgButtons::Ok);
        if (m_SaveBook)
            m_SaveBook();
        if (m_DataStorage.GetFileName().empty())
            return false;
    }

    const CStatusSinkSwap progress(m_DataStorage, m_pProgress.get());
    switch (index)
    {
    case kImportMoodle:
        return m_DataStorage.LoadMoodleXML(name, items, false);
    case kImportBookV3:
        return m_DataStorage.AppendBook(name);
    case kImportBookV4:
        if (IsContentBookName(name))
            return m_DataStorage.LoadWithContentXML(name, items, items->GetNextCategoryID() - 1, false);
        return m_DataStorage.AppendBook(name);
    case kImportCsv:
    case kImportCsvWithExplanation:
    case kImportFlashCardExchange:
        if (IsTabSeparatedName(name))
            return m_DataStorage.LoadFlashCardExchangeTSV(name, items, "\t", false);
        return m_DataStorage.LoadCSV(name, items, ",", false);
    case kImportQuizlet:
        return m_DataStorage.LoadQuizletTXT(name, items, "\t", false);
    default:
        return false;
    }
}

// --- Export ---

void Tm_ImpExpFrm2::m_ExportBtnClick()
{
    const std::string name = lf::qt::ToStdString(ui->m_ExpotrFileNameStr->text());
    if (name.empty())
    {
        MessageDlg(kNoExportFile, MsgKind::Warning, MsgButtons::Ok);
        ui->m_ExpotrFileNameStr->setFocus();
        return;
    }
    const int index = ui->m_ExportFormatList->currentIndex();
    if (index < 0)
        return;

    SetRunning(true);
    // The question and the backup concern the file the writer really writes, extension added.
    const std::string target = ExportTargetName(index, name);
    if (Exists(target))
    {
        if (MessageDlg("File \"" + target + "\" exists. Overwrite the file?", MsgKind::Confirmation,
                       MsgButtons::YesNo) == lf::qt::mrNo)
        {
            SetRunning(false);
            MessageDlg(kExportAborted, MsgKind::Warning, MsgButtons::Ok);
            return;
        }
        // The old file is copied beside itself first; the writer then replaces it whole, so a failed
        // export leaves it as it was. The copy is best effort.
        std::error_code error;
        fs::copy_file(target, BackupFileName(target), fs::copy_options::overwrite_existing, error);
        if (error)
            WriteLog("Tm_ImpExpFrm2::m_ExportBtnClick - no backup copy of " + target + " (" +
                         error.message() + ")",
                     1, 1);
    }

    const bool exported = RunExport(index, name);
    SetRunning(false);
    MessageDlg(exported ? kExported : kExportFailed, MsgKind::Information, MsgButtons::Ok);
}

bool Tm_ImpExpFrm2::RunExport(int index, const std::string& name)
{
    CItemsArray2* items = m_DataStorage.GetItemsPtr2();
    const CStatusSinkSwap progress(m_DataStorage, m_pProgress.get());
    switch (index)
    {
    case kExportMoodle:
        return m_DataStorage.SaveMooldeXML(name, items, false, false, false);
    case kExportContentBook:
        return m_DataStorage.SaveWithContentXML(name, items, false);
    case kExportCsv:
        return m_DataStorage.SaveToCSV(name, items, ",", false);
    case kExportCsvWithExplanation:
    case kExportFlashCardExchange:
        // Both labels promise the explanation column.
        return m_DataStorage.SaveToCSV(name, items, ",", true);
    case kExportQuizlet:
        return m_DataStorage.SaveToTXT(name, items, "\t", false);
    default:
        return false;
    }
}
