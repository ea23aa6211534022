// "Preferences": the user's options of the single options object: the font of question texts (written
// the moment it is chosen), the skin, timed backups, the question format, the books folder and the
// new-version check at start-up (written on OK, in that order, stopping at the first refusal with the
// dialog still open). "Home Page Books" edits the eleven quick-open book entries.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDataStorage;
class CPrefs;

namespace lf
{
struct SRichFieldFont;
}

// The field font as the options keep it, and back.
lf::SRichFieldFont FieldFontOf(const CPrefs& prefs);
void SetFieldFont(CPrefs& prefs, const lf::SRichFieldFont& font);

namespace Ui
{
class Tm_PrefsFrm;
class TCBooksPathPrefsFrm;
} // namespace Ui

class Tm_PrefsFrm : public TFormDialog
{
    Q_OBJECT

public:
    // Modal results: OK after the options were written, Cancel (and Esc, the close box) otherwise.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    // The row objects of the skin list beside the skin files' indexes.
    static constexpr int kNoneRow = -2;
    static constexpr int kDefaultRow = -3;

    Tm_PrefsFrm(CPrefs& prefs, CDataStorage& storage, QWidget* parent = nullptr);
    ~Tm_PrefsFrm() override;

    void FormShow() override;
    // The options into the controls.
    void FillControls();
    // The font panel shows the field font's name in that font.
    void ShowFieldFont();
    // "None", "Default" and the skin files under the current folder's "Skins", the options' one selected.
    void FillSkinList();
    void ShowSkinPreview();
    // The preview picture of the selected skin file; false for "None", "Default" and a skin without one.
    bool LoadSkinPreview();
    const std::vector<std::string>& SkinFiles() const { return m_SkinFiles; }

    // Runs whenever the field font options were written (the main window shows its texts in the new font).
    std::function<void()> OnFieldFontChanged;

    // Handlers.
    void m_pSkinListClick();
    void m_pEnableBackupCheckClick();
    void m_pSelectFontBtnClick();
    void m_pSetDefaultFontBtnClick();
    void m_BrowseBtnClick();
    void m_DefaultBtnClick();
    void m_pReinstallBooksBtnClick();
    void Button1Click();
    // Writes the options; true (and the dialog closes with OK) when every step succeeded.
    bool m_OkBtnClick();

private:
    // The row of the skin list the dialog acts on: the selected one, else the first; -1 for none.
    int ActiveSkinRow() const;
    // The program folder's book installer.
    static std::string BookInstallerPath();

    std::unique_ptr<Ui::Tm_PrefsFrm> ui;
    CPrefs& m_Prefs;
    CDataStorage& m_DataStorage;
    std::vector<std::string> m_SkinFiles;
    std::string m_SkinsFolder;
};

class TCBooksPathPrefsFrm : public TFormDialog
{
    Q_OBJECT

public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kRows = 11;

    explicit TCBooksPathPrefsFrm(CPrefs& prefs, QWidget* parent = nullptr);
    ~TCBooksPathPrefsFrm() override;

    // Row i (1..11) shows book i - 1 of the options.
    void FormShow() override;
    // The rows into the options; the word "empty" in any letter case stores no text.
    void m_pOkBtnClick();
    // The clear button of a row empties its two edits; any other sender does nothing.
    void ClearFildsClick(QObject* sender);
    // The "..." button of a row puts a chosen book file into its link edit.
    void BrowseFileClick(QObject* sender);

private:
    // The row (1..11) a button belongs to; 0 for none.
    int RowOf(QObject* sender, const char* prefix) const;

    std::unique_ptr<Ui::TCBooksPathPrefsFrm> ui;
    CPrefs& m_Prefs;
};
