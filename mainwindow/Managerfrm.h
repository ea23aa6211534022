// The one notification path between the main window and the list window: FormManager::OnUpdateDate with
// a target (the list window or the main window), an event (EFormEvent) and a record (a question, a value,
// or nothing). The program owns one form manager and hands it to both windows; each side registers the
// object that receives its events.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>

class CBaseItem;
struct SWindowPlacement;

// The record argument of a notification.
struct SFormRecord
{
    SFormRecord() = default;
    SFormRecord(CBaseItem* question) : item(question) {}
    SFormRecord(const std::int32_t* number) : value(number) {}

    CBaseItem* item = nullptr;
    const std::int32_t* value = nullptr; // a chapter ID (Reload) or a question kind (NewOfKind)
};

// What the list window offers the main window (its commands and its side of the notifications).
class IListWindow
{
public:
    virtual ~IListWindow();

    virtual bool IsListVisible() const = 0;
    virtual void ShowList() = 0;
    virtual void HideList() = 0;
    // Its place on screen as the options keep it: where it stands (kept where it does not tell), and
    // moving it to a kept place. A list that is no window on screen keeps what is kept and goes nowhere.
    virtual SWindowPlacement GetPlacement(const SWindowPlacement& kept) const;
    virtual void SetPlacement(const SWindowPlacement& placement);
    // Whether the main window makes room for the list beside it; a stand-in for the list takes none.
    virtual bool SharesScreenWithMain() const { return true; }
    // Notification receivers.
    virtual void ReloadAll() = 0;                                         // Reload
    virtual void IgnoreUpdate() = 0;                                      // Nothing
    virtual void OnUpdateItemRow(CBaseItem* item) = 0;                    // RowChanged
    virtual void OnUpdateItemCell(EFormEvent field, CBaseItem* item) = 0; // a field change
    virtual void OnUpdateActiveQuestionByAction(EFormEvent show) = 0;     // a show request
    virtual void RefreshSelectionAndButtons() = 0;                        // ClipboardChanged
    // Commands.
    virtual void ResetSearch(bool find) = 0;
    virtual bool PasteShortcut() = 0;
    virtual bool SelectAllRows() = 0;
    virtual void m_ClearTrush_BtnClick() = 0;
};

// A list window that is never shown and does nothing: the base of test doubles, which override only what
// they look at.
class CNullListWindow : public IListWindow
{
public:
    bool IsListVisible() const override { return false; }
    void ShowList() override {}
    void HideList() override {}
    void ReloadAll() override {}
    void IgnoreUpdate() override {}
    void OnUpdateItemRow(CBaseItem*) override {}
    void OnUpdateItemCell(EFormEvent, CBaseItem*) override {}
    void OnUpdateActiveQuestionByAction(EFormEvent) override {}
    void RefreshSelectionAndButtons() override {}
    void ResetSearch(bool) override {}
    bool PasteShortcut() override { return false; }
    bool SelectAllRows() override { return false; }
    void m_ClearTrush_BtnClick() override {}
};

// The main window's receivers of the list window's notifications.
class IMainWindowReceiver
{
public:
    virtual ~IMainWindowReceiver();

    virtual void SelectChapterFromList(std::int32_t chapterID) = 0; // Reload with a chapter
    virtual void OnItemFieldChanged(CBaseItem* item) = 0;           // a field change
    virtual void OnShowFieldRequest(EFormEvent show) = 0;           // a show request
    virtual void NewQuestionOfCurrentKind(int flag) = 0;            // NewOfCurrentKind
    virtual void NewQuestionOfKind(int kind, int flag) = 0;         // NewOfKind
    virtual void OnRefilterRequest() = 0;                           // Refilter
    virtual void DeleteCurrentQuestion() = 0;                       // DeleteCurrent
    virtual void OnItemsChanged() = 0;                              // ItemsDeleted
    virtual void OnSortRequest() = 0;                               // Sort
    virtual void OnListWindowClosed() = 0;                          // ListClosed
};

class FormManager
{
public:
    // Registers the receivers (not owned; null unregisters).
    void SetMainWindow(IMainWindowReceiver* main) { m_pMain = main; }
    void SetListWindow(IListWindow* list) { m_pList = list; }

    // Delivers an event. To the list window only while it is shown; Nothing, RowChanged and
    // ClipboardChanged ask nothing of the main window.
    void OnUpdateDate(EFormTarget target, EFormEvent event, SFormRecord record = {}) const;

private:
    IMainWindowReceiver* m_pMain = nullptr; // not owned
    IListWindow* m_pList = nullptr;         // not owned
};
