// "Import/Export": moves questions between the open book and files of other formats. The dialog only
// chooses the format and the file name, runs the book storage's reader or writer and tells the user the
// outcome; a long run shows its progress in the dialog. Made for one modal use by the main window.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDataStorage;
class CPrefs;

namespace Ui
{
class Tm_ImpExpFrm2;
}

class Tm_ImpExpFrm2 final : public TFormDialog
{
    Q_OBJECT

public:
    // The texts the dialog shows.
    static constexpr const char* kNoImportFile = "Please enter the import file name and try again.";
    static constexpr const char* kSaveBookFirst =
        "We will extract content files in the subfolders with book name,\nto make it easy to find and share "
        "your study materials! \n\nPlease save the book first.";
    static constexpr const char* kImported = "Questions were imported.";
    static constexpr const char* kImportFailed = "Unknown Error.\nImport was Unsuccessful.";
    static constexpr const char* kNoExportFile = "Please enter the export file name and try again.";
    static constexpr const char* kExportAborted = "Export aborted.";
    static constexpr const char* kExported = "Questions were exported.";
    static constexpr const char* kExportFailed = "Unknown Error.\nExport Unsuccessful.";

    // saveBook is the main window's save of the open book, which offers Save As for a book that has no
    // file yet.
    Tm_ImpExpFrm2(CDataStorage& storage, const CPrefs& prefs, std::function<void()> saveBook,
                  QWidget* parent = nullptr);
    ~Tm_ImpExpFrm2() override;

    // The entries of the two lists in order, trailing blanks included.
    static const std::vector<std::string>& ImportFormats();
    static const std::vector<std::string>& ExportFormats();
    // The file chooser's filter and default extension for a list entry; empty for no entry.
    struct SFileChoice
    {
        std::string filter;
        std::string defaultExt;
        friend bool operator==(const SFileChoice&, const SFileChoice&) = default;
    };
    static SFileChoice ImportFileChoice(int index);
    static SFileChoice ExportFileChoice(int index);
    // The file an export of that entry really writes for the typed name (the writer's extension added);
    // empty for no entry.
    static std::string ExportTargetName(int index, const std::string& typedName);
    // Where a file about to be replaced is kept: beside it, its name without the extension and ".bak".
    static std::string BackupFileName(const std::string& target);
    // What the name edit shows for a picked file: the bare name when it lies in the program's folder.
    static std::string ShownFileName(const std::string& picked, const std::string& programFolder);
    // A book with embedded content files: the extension ".lnf4" in any letter case.
    static bool IsContentBookName(const std::string& name);
    // A FlashCardExchange tab-separated file: the extension, trimmed and lower-cased, is ".tsv".
    static bool IsTabSeparatedName(const std::string& name);

    // The handlers, as the controls call them.
    void m_ImportFormatListChange();
    void m_ExportFormatListChange();
    void m_OpenBtnClick();
    void m_Open2BtnClick();
    void m_ImportBtnClick();
    void m_ExportBtnClick();

    Ui::Tm_ImpExpFrm2& Form() { return *ui; }
    // True while an import or an export runs.
    bool IsRunning() const { return m_bRunning; }

    // Esc and the close box end the dialog, but not in the middle of a run.
    void reject() override;

protected:
    void FormShow() override {}

private:
    class CProgressSink;

    // The reader of the entry; true when it read the file.
    bool RunImport(int index, const std::string& name);
    bool RunExport(int index, const std::string& name);
    // Both groups and Done are disabled for the length of a run; afterwards each control gets back the
    // state it had.
    void SetRunning(bool running);

    std::unique_ptr<Ui::Tm_ImpExpFrm2> ui;
    CDataStorage& m_DataStorage;
    const CPrefs& m_Prefs;
    std::function<void()> m_SaveBook;
    std::unique_ptr<CProgressSink> m_pProgress;
    bool m_bRunning = false;
};
