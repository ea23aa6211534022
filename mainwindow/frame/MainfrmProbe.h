// What the window tests read of the main window that no control shows (the phase's view, flags, timers,
// the highlighted row, the pane views, the windows it keeps), and the few internal steps they reach that no
// control offers. Only tests use it; the window names it as a friend.
#pragma once

#include "mainwindow/frame/Mainfrm.h"

#include <QAction>

#include <cstdint>
#include <string>

class Tm_MainFrmProbe
{
public:
    explicit Tm_MainFrmProbe(Tm_MainFrm& main) : m(main) {}

    // --- Controls ---

    // An action of the window (toolbar buttons and menu entries) by its object name; null for none.
    QAction* FindAction(const char* name) const { return m.FindAction(name); }
    // The pane's read-only view and editor, and the session panel's book chooser with its tree.
    lf::qt::RichView* QuestionView() const { return m.m_DescriptionViewStr; }
    lf::qt::RichViewEdit* DescriptionEditor() const { return m.m_DescriptionStr; }
    TMyComboBox* BookComboBox() const { return m.m_pBookComboBox.get(); }
    TTreeViewPopupForm* TreeViewPopupForm() const { return m.m_pTreeViewPopupForm.get(); }
    QMenu* ViewModePopupMenu() const { return m.m_pViewModePopupMenu; }
    // The hidden scratch views and editor, and the editor the font action acts on.
    lf::RichDocument& RichViewTMP() const { return m.m_RichViewTMP; }
    lf::RichDocument& RichViewTMP2() const { return m.m_RichViewTMP2; }
    lf::qt::RichViewEdit* RichViewEditTMP() const { return m.m_pRichViewEditTMP; }
    lf::qt::RichViewEdit* ActiveRichEdit() const { return m.m_pActiveRichEdit; }

    // --- The windows the main window makes and keeps ---

    Tm_pHelpFrm& HelpFrm() const { return *m.m_pHelpFrm; }
    Tm_pScaleFrm& ScaleFrm() const { return *m.m_pScaleFrm; }
    Tm_pRestoreFrm& RestoreFrm() const { return *m.m_pRestoreFrm; }
    Tm_BooksFilterFrm& BooksFilterFrm() const { return *m.m_BooksFilterFrm; }

    // --- State ---

    EView ActiveView() const { return m.m_ActiveView; }
    std::uint8_t RestartClock() const { return m.m_bRestartClock; }
    bool IsClockPaused() const { return m.m_bClockPaused != 0; }
    std::uint8_t IsHintShown() const { return m.m_bHintShown; }
    int WheelScrollLines() const { return m.m_WheelScrollLines; }
    std::int32_t HighlightedRow() const { return m.m_HighlightedRow; }
    std::int32_t FlashAnswerRow() const { return m.m_FlashAnswerRow; }
    lf::RichTable* AnswerTable() const { return m.AnswerTable(); }
    lf::SRichCell* HighlightedCell() const { return m.HighlightedCell(); }
    std::string StatusText() const { return m.StatusText(); }
    std::uint64_t KeyHookDecisions() const { return m.KeyHookDecisions(); }
    lf::keys::SKeySnapshot KeySnapshot() const { return m.KeySnapshot(); }

    lf::qt::Timer& TestTimer() const { return m.m_TestTimer; }
    lf::qt::Timer& BackupTimer() const { return m.m_pBackupTimer; }
    lf::qt::Timer& DelayBeforeHintTimer() const { return m.m_DelayBegoreShowHintTimer; }

    // --- Internal steps no control reaches ---

    // The phase change without the session panel (noPanel), as the score dialog's answers make it.
    bool SetPhase(EPhase phase, std::uint8_t noPanel) const { return m.SetPhase(phase, noPanel); }
    void PostMessage(int message) const { m.PostMessage(message); }
    // A whole book (or its chapters) loaded and the session panel filled, as a chosen book leaves it.
    bool LoadBook(std::int32_t index, bool categoriesOnly) const { return m.LoadBook(index, categoriesOnly); }
    void OnUpdateSeesionView() const { m.OnUpdateSeesionView(); }
    void RefreshCategoryLists() const { m.RefreshCategoryLists(); }
    void SetActiveView(EView view, std::uint8_t flags, std::uint8_t redraw) const
    {
        m.SetActiveView(view, flags, redraw);
    }
    void OnUpdateForm(std::uint8_t flags, std::uint8_t focus) const { m.OnUpdateForm(flags, focus); }
    void ShowQuestionView(CBaseItem* item, bool resetDataset, bool noMedia) const
    {
        m.ShowQuestionView(item, resetDataset, noMedia);
    }
    void ClearQuestionDisplay() const { m.ClearQuestionDisplay(); }
    bool ApplyFontToActiveEditor(unsigned properties, const lf::qt::SFontChoice& font) const
    {
        return m.ApplyFontToActiveEditor(properties, font);
    }
    // Stores what the user typed into the current question (see Tm_MainFrm::OnStorageData).
    bool OnStorageData(std::uint8_t* changed) const { return m.OnStorageData(changed); }
    void SaveBook(bool toIntro, bool ask) const { m.SaveBook(toIntro, ask); }
    void StopHintTimers() const { m.StopHintTimers(); }
    void StartCorrectAnswerHint(EView view, std::uint8_t flags, std::uint8_t focus) const
    {
        m.StartCorrectAnswerHint(view, flags, focus);
    }
    void HighlightAnswerRow(const lf::qt::SRichHit& cell) const { m.HighlightAnswerRow(cell); }
    void ScrollViewDown(lf::qt::RichView* view) const { m.ScrollViewDown(view); }
    void ScrollViewUp(lf::qt::RichView* view) const { m.ScrollViewUp(view); }
    void ScrollViewToTop(lf::qt::RichView* view) const { m.ScrollViewToTop(view); }
    // The hook's answer to an input, as the key and wheel filter asks it.
    bool ApplicationMessageHook(lf::keys::EInput input, int key, int notches, Qt::KeyboardModifiers modifiers,
                                bool dryRun) const
    {
        return m.ApplicationMessageHook(input, key, notches, modifiers, dryRun);
    }

private:
    Tm_MainFrm& m;
};
