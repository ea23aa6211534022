// The one notification path between the main window and the list window: FormManager::OnUpdateDate with
// a target (1 the list window, 2 the main window), an event code and a record (a question, a value, or
// nothing). Each side registers the object that receives its codes.
#pragma once

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
    const std::int32_t* value = nullptr; // a chapter ID (code 1) or a question kind (code 23)
};

// Event codes.
enum EFormEvent : std::uint8_t
{
    efeReload = 1,
    efeNothing = 2,
    efeRowChanged = 3,
    efeNameChanged = 4,
    efeQuestionChanged = 5,
    efeAnswersChanged = 6,
    efeExplanationChanged = 7,
    efeKeyChanged = 8,
    efeLayerChanged = 9,
    efeChapterChanged = 10,
    efeMarkChanged = 11,
    efeShowFirst = 12,
    efeShowLast = 20,
    efeClipboardChanged = 21,
    efeNewOfCurrentKind = 22,
    efeNewOfKind = 23,
    efeRefilter = 24,
    efeDeleteCurrent = 25,
    efeItemsDeleted = 26,
    efeSort = 27,
    efeListClosed = 28,
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
    // Notification receivers.
    virtual void ReloadAll() = 0;                                          // code 1
    virtual void IgnoreUpdate() = 0;                                       // code 2
    virtual void OnUpdateItemRow(CBaseItem* item) = 0;                     // code 3
    virtual void OnUpdateItemCell(std::uint8_t code, CBaseItem* item) = 0; // codes 4..11
    virtual void OnUpdateActiveQuestionByAction(std::uint8_t code) = 0;    // codes 12..20
    virtual void RefreshSelectionAndButtons() = 0;                         // code 21
    // Commands.
    virtual void ResetSearch(bool find) = 0;
    virtual bool PasteShortcut() = 0;
    virtual bool SelectAllRows() = 0;
    virtual void m_ClearTrush_BtnClick() = 0;
};

// The main window's receivers of the list window's notifications.
class IMainWindowReceiver
{
public:
    virtual ~IMainWindowReceiver();

    virtual void SelectChapterFromList(std::int32_t chapterID) = 0; // code 1 with a chapter
    virtual void OnItemFieldChanged(CBaseItem* item) = 0;           // codes 4..11
    virtual void OnShowFieldRequest(std::uint8_t code) = 0;         // codes 12..20
    virtual void NewQuestionOfCurrentKind(int flag) = 0;            // code 22
    virtual void NewQuestionOfKind(int kind, int flag) = 0;         // code 23
    virtual void OnRefilterRequest() = 0;                           // code 24
    virtual void DeleteCurrentQuestion() = 0;                       // code 25
    virtual void OnItemsChanged() = 0;                              // code 26
    virtual void OnSortRequest() = 0;                               // code 27
    virtual void OnListWindowClosed() = 0;                          // code 28
};

class FormManager
{
public:
    static constexpr std::uint8_t kListWindow = 1;
    static constexpr std::uint8_t kMainWindow = 2;

    // Registers the receivers (not owned; null unregisters).
    static void SetMainWindow(IMainWindowReceiver* main);
    static void SetListWindow(IListWindow* list);

    // Delivers a notification. To the list window only while it is shown; codes 2, 3 and 21 ask nothing
    // of the main window; any other target does nothing.
    static void OnUpdateDate(std::uint8_t target, std::uint8_t code, SFormRecord record = {});
};
