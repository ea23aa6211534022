// "Print Preference": which chapters, which questions (a filter) and for which phase the questions are
// printed, the numbering and a compact or spaced layout. Its Print answer marks the chosen questions with
// the print bit and writes the print phase into the options.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"
#include "model/support/ModelTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

class CItemsArray2;
class CPrefs;

namespace Ui
{
class Tm_PrintPrefsDlg;
}

class Tm_PrintPrefsDlg : public TFormDialog
{
    Q_OBJECT

public:
    static constexpr int kPrint = 1;
    static constexpr int kCancel = 2;

    // chapterFilter: the chapter ticked when the dialog opens (-2 ticks them all); phase: the phase the
    // type box starts on (none leaves it without a choice).
    Tm_PrintPrefsDlg(CItemsArray2& items, CPrefs& prefs, std::int32_t chapterFilter, EPhase phase,
                     QWidget* owner = nullptr);
    ~Tm_PrintPrefsDlg() override;

    // Fills the chapter list and sets the choices to their starting values.
    void FormShow() override;
    // Checks the choices in order (filter, type, chapters), marks the questions and closes with kPrint;
    // a refused choice keeps the dialog open.
    void m_PrintBtnClick();
    void m_SelectAllCatCheckClick();
    void m_MainCategoryListBoxClickCheck();
    // Writes the print phase and sets the print bit on the chosen questions (clearing it on the others);
    // false, with the warning shown, when nothing was chosen.
    bool FilteredData();

    // The numbering (0 sequential, 1 layers) and the mode (0 page saver, 1 presentation) of the Print answer.
    std::uint8_t GetNumberType() const { return m_NumberTypeChoice; }
    std::uint8_t GetModeType() const { return m_ModeChoice; }

private:
    std::vector<std::int32_t> TickedChapters() const;
    bool AllChaptersTicked() const;

    std::unique_ptr<Ui::Tm_PrintPrefsDlg> ui;
    CItemsArray2& m_Items;
    CPrefs& m_Prefs;
    std::int32_t m_ChapterFilter;
    EPhase m_Phase;
    std::vector<std::int32_t> m_CategoryIDs; // the ticked chapters at the last Print
    std::uint8_t m_NumberTypeChoice = 0;
    std::uint8_t m_ModeChoice = 0;
    // Keeps the select-all box and the chapter list from setting off each other's handlers.
    bool m_bReady = false;
};
