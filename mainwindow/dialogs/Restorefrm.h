// The Restore dialog: the timed backup copies of the open book, newest first, one of which the user picks
// to restore the book from.
#pragma once

#include "model/items/Records.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Ui
{
class Tm_pRestoreFrm;
}
class CDataStorage;
class CPrefs;

// True when name matches pattern, where each "?" stands for any one character and every other character
// stands for itself (letter case counts).
bool MatchesFilePattern(std::string_view name, std::string_view pattern);
// A row of the list: the date and time in the system's format, ", ", whole kilobytes and "kb".
std::string BackupRowText(const SBakupInfo& copy);

class Tm_pRestoreFrm final : public QDialog
{
    Q_OBJECT

public:
    Tm_pRestoreFrm(CDataStorage& storage, CPrefs& prefs, QWidget* parent);
    ~Tm_pRestoreFrm() override;

    // Every showing: the list folder, its copies and the caption. The caller runs it before the dialog
    // is shown modally.
    void FormShow();
    void FillBackupList(const std::string& folder);
    // Restore: the chosen copy's full path and modal result 1, or a warning when no row is selected.
    void m_pRestoreBtnClick();

    Ui::Tm_pRestoreFrm& Form() { return *ui; }
    const std::vector<SBakupInfo>& Copies() const { return m_Copies; }
    const std::string& ListFolder() const { return m_ListFolder; }

    // The full path of the chosen copy, set by Restore.
    std::string m_RestoreFileName;

private:
    std::unique_ptr<Ui::Tm_pRestoreFrm> ui;
    CDataStorage& m_DataStorage;
    CPrefs& m_Prefs;
    std::string m_ListFolder;
    std::vector<SBakupInfo> m_Copies;
};
