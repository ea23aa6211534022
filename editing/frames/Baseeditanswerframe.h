// The base of the edit frames: a panel at the top that holds the frame's controls, the frame's rich
// editors with their own style sheets, and the Alt+digit and Ctrl+digit keys every frame answers. The
// frames are passive: the main window fills them, binds its editor events to their editors and its
// paging and calculation handlers to their buttons, and reads them back; a frame never touches a
// question.
#pragma once

#include "editing/frames/FrameKeys.h"

#include <QFrame>

#include <array>
#include <vector>

class QAbstractButton;
class QComboBox;

namespace lf::qt
{
class RichViewEdit;
}

class TCBaseEditAnswerFrame : public QFrame
{
    Q_OBJECT

public:
    ~TCBaseEditAnswerFrame() override;

    EEditFrame Kind() const { return m_Kind; }
    // The panel at the top of the frame; the main window lays its editor out around its height.
    QWidget* m_pViewPanel = nullptr;

    // Acts on an Alt+digit or Ctrl+digit key of the main keyboard row: true when the frame took it.
    virtual bool HandleShortcutKey(SShortcutKey key);
    // A button's glyph from the desktop's icon theme (its plain or its symbolic form); without one, the
    // style's own glyph, or else the short text.
    static void SetGlyph(QAbstractButton* button, const char* iconName, const char* fallbackText);
    // Every rich editor of the frame, in the order of its panel.
    const std::vector<lf::qt::RichViewEdit*>& RichEditors() const { return m_RichEditors; }

protected:
    TCBaseEditAnswerFrame(EEditFrame kind, QWidget* parent);

    // Called by each frame after its form is set up: takes the panel and the rich editors.
    void TakeForm(QWidget* viewPanel);
    // The control an Alt digit focuses; nullptr for a digit without one.
    virtual QWidget* AltTarget(int digit) const = 0;
    // Runs the command of a Ctrl digit.
    virtual void RunCommand(EFrameCommand command, int slot);

    // A slot's grade box with its "100%" and "0%" buttons, which set it to "100 %" and "0%".
    struct SGradeSlot
    {
        QComboBox* grade = nullptr;
        QAbstractButton* full = nullptr;
        QAbstractButton* none = nullptr;
    };
    // Fills the grade box with the 21 or 41 grades at "0%" (or "100 %") and wires its buttons.
    void SetUpGradeSlot(const SGradeSlot& slot, bool withPenalties, int startIndex = kGradeIndexNone);
    static void SetGrade(QComboBox* grade, int index);
    // The four page (or unit) buttons: previous, add, delete, next, with their glyphs; previous, delete
    // and next start disabled. The main window attaches their handlers.
    static void SetUpPageButtons(QAbstractButton* previous, QAbstractButton* add, QAbstractButton* remove,
                                 QAbstractButton* next);
    // Gives a widget the keyboard focus when it can take it now (a paged-out slot is left alone).
    static void FocusControl(QWidget* control);

private:
    EEditFrame m_Kind;
    std::vector<lf::qt::RichViewEdit*> m_RichEditors;
};

// The frames with five grade slots to a page answer Ctrl+1..5 alike: toggle that slot's grade, then
// focus its grade box.
class TCGradedSlotsFrame : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    ~TCGradedSlotsFrame() override;
    // Slot 1..5.
    QComboBox* GradeComboBox(int slot) const
    {
        return m_GradeSlots.at(static_cast<std::size_t>(slot - 1)).grade;
    }

protected:
    TCGradedSlotsFrame(EEditFrame kind, QWidget* parent) : TCBaseEditAnswerFrame(kind, parent) {}
    void RunCommand(EFrameCommand command, int slot) override;
    // Takes the five grade slots and the page buttons of a form that names them alike.
    template <class Form> void TakeGradeSlots(Form& form, bool withPenalties)
    {
        m_GradeSlots = {{{form.m_pGrade1ComboBox, form.m_pGrade1001Btn, form.m_pGradeNone1Btn},
                         {form.m_pGrade2ComboBox, form.m_pGrade1002Btn, form.m_pGradeNone2Btn},
                         {form.m_pGrade3ComboBox, form.m_pGrade1003Btn, form.m_pGradeNone3Btn},
                         {form.m_pGrade4ComboBox, form.m_pGrade1004Btn, form.m_pGradeNone4Btn},
                         {form.m_pGrade5ComboBox, form.m_pGrade1005Btn, form.m_pGradeNone5Btn}}};
        for (const SGradeSlot& slot : m_GradeSlots)
            SetUpGradeSlot(slot, withPenalties);
        SetUpPageButtons(form.m_pQuestionGroupDec, form.m_pQuestionGroupAdd, form.m_pQuestionGroupDelete,
                         form.m_pQuestionGroupInc);
    }

    std::array<SGradeSlot, 5> m_GradeSlots;
};
