// The list window's stand-in until the question list is built: a window the main window can show, hide
// and place, which says that the list is not there yet. Its notification receivers and commands only
// write "not built yet" to the log.
#pragma once

#include "mainwindow/Managerfrm.h"

#include <QWidget>

class CPrefs;

class Tm_ListFrm final : public QWidget, public IListWindow
{
    Q_OBJECT

public:
    // Tells the main window through the form manager when it closes.
    Tm_ListFrm(CPrefs& prefs, const FormManager& formManager, QWidget* parent = nullptr);

    bool IsListVisible() const override { return isVisible(); }
    void ShowList() override;
    void HideList() override;
    SWindowPlacement GetPlacement(const SWindowPlacement& kept) const override;
    void SetPlacement(const SWindowPlacement& placement) override;
    // The stand-in takes no room from the main window.
    bool SharesScreenWithMain() const override { return false; }
    void ReloadAll() override;
    void IgnoreUpdate() override {}
    void OnUpdateItemRow(CBaseItem* item) override;
    void OnUpdateItemCell(EFormEvent field, CBaseItem* item) override;
    void OnUpdateActiveQuestionByAction(EFormEvent show) override;
    void RefreshSelectionAndButtons() override;
    void ResetSearch(bool find) override;
    bool PasteShortcut() override;
    bool SelectAllRows() override;
    void m_ClearTrush_BtnClick() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CPrefs& m_Prefs;
    const FormManager& m_FormManager;
};
