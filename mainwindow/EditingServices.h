// The services of question editing that the main window calls: the docked edit frames, new, duplicate
// and delete question, Quick Edit, links and media, screen capture, the clipboard notice and the picture
// cache of HTML import. The editing windows provide them; until they exist the main window runs on the
// placeholder below.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>
#include <string>

class CBaseItem;

// The edit frame docked under the editor in Edit phase, as the store of the main window sees it: the
// frames of every kind write their own controls into the question.
class IEditFrame
{
public:
    virtual ~IEditFrame();

    // The Moodle header of the question pane (name, picture, sound, default grade, penalty).
    struct SQuestionHeader
    {
        std::string name;
        std::string image;
        std::string voice;
        std::string grade;
        std::string penalty;
    };
    // False when the frame has no such header.
    virtual bool GetQuestionHeader(SQuestionHeader& header) const = 0;
    // The answers pane of a kind in a question style: writes what differs, sets changed when it wrote;
    // false when a store failed.
    virtual bool StoreAnswers(CBaseItem& item, EQuestionStyle style, bool& changed) = 0;
    // The feedbacks of the explanation pane in the Moodle style.
    virtual bool StoreFeedbacks(CBaseItem& item, bool& changed) = 0;
};

// A key handed to the docked edit frame: Alt and Ctrl held, then the key code (letters 65..90, digits
// 48..57, arrows 37..40).
struct SShortcutKey
{
    std::uint8_t alt = 0;
    std::uint8_t ctrl = 0;
    std::uint8_t reserved = 0;
    std::uint16_t key = 0;
};

class IEditingServices
{
public:
    virtual ~IEditingServices();

    // Docks the frame of a question view for the current question under the editor; DestroyEditFrame
    // removes it.
    virtual void CreateEditFrame(EView view) = 0;
    virtual void DestroyEditFrame() = 0;
    // The frame docked now; null when none is.
    virtual IEditFrame* EditFrame() = 0;
    // The frame forgets the question it last set its answer pages up for.
    virtual void ForgetPagedQuestion() = 0;
    // New question of a kind 1..10 (or of the current question's kind) after the current one.
    virtual void NewQuestionOfKind(int kind, int flag) = 0;
    virtual void NewQuestionOfCurrentKind(int flag) = 0;
    virtual void DeleteCurrentQuestion() = 0;
    // Quick Edit of the current question, starting at a field code (0 question, 1000+n answers, 3000
    // explanation).
    virtual void QuickEdit(int startField) = 0;
    // A link or media name clicked in the question view.
    virtual void OnURLJump(const std::string& target) = 0;
    // The clipboard changed: archive it and refresh the edit buttons.
    virtual void OnClipboardChange() = 0;
    virtual void RegisterHotKeys(bool unregisterFirst) = 0;
    virtual void UnregisterHotKeys() = 0;
    virtual void ClearImportedImageCache() = 0;
    virtual void UpdateEditButtons() = 0;
    // Whether an edit frame is docked, and the frame's answer to a shortcut key (true when it acted).
    virtual bool HasEditFrame() const = 0;
    virtual bool HandleShortcutKey(SShortcutKey key) = 0;
    virtual void DuplicateCurrentQuestion() = 0;
};

// Stands in for the editing windows until they are built: every call writes "<name> - not built yet"
// to the log and does nothing else.
class CPendingEditingServices final : public IEditingServices
{
public:
    void CreateEditFrame(EView view) override;
    void DestroyEditFrame() override;
    IEditFrame* EditFrame() override { return nullptr; }
    void ForgetPagedQuestion() override {}
    void NewQuestionOfKind(int kind, int flag) override;
    void NewQuestionOfCurrentKind(int flag) override;
    void DeleteCurrentQuestion() override;
    void QuickEdit(int startField) override;
    void OnURLJump(const std::string& target) override;
    void OnClipboardChange() override;
    void RegisterHotKeys(bool unregisterFirst) override;
    void UnregisterHotKeys() override;
    void ClearImportedImageCache() override;
    void UpdateEditButtons() override;
    bool HasEditFrame() const override { return false; }
    bool HandleShortcutKey(SShortcutKey key) override;
    void DuplicateCurrentQuestion() override;
};

// Writes the placeholder's log line for a service: "<name> - not built yet".
void LogNotBuiltYet(const std::string& name);
