// The main window's keyboard and wheel hook: an application-wide event filter that turns each key and
// wheel event into a snapshot of the window, asks the key rules and carries out their actions, and the
// navigation buttons' own key handlers.
#include "mainwindow/EditingServices.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/KeyRules.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/items/Datatypes.h"
#include "platform/qt/RichView.h"
#include "ui_Mainfrm.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QWheelEvent>

using namespace lf::keys;

int lf::keys::KeyCodeOfQt(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey)
    {
    case Qt::Key_Left:
        return kKeyLeft;
    case Qt::Key_Up:
        return kKeyUp;
    case Qt::Key_Right:
        return kKeyRight;
    case Qt::Key_Down:
        return kKeyDown;
    case Qt::Key_Space:
        return kKeySpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

// Sees every key and wheel event of the application. An event that the widget it was sent to ignores
// travels on to the parents, through this filter again: the hook acts only at the first receiver.
class CKeyHook final : public QObject
{
public:
    explicit CKeyHook(Tm_MainFrm& main) : QObject(&main), m_Main(main) { qApp->installEventFilter(this); }
    ~CKeyHook() override { qApp->removeEventFilter(this); }

    std::uint64_t m_Decisions = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyRelease || type == QEvent::MouseButtonPress ||
            type == QEvent::MouseButtonRelease)
        {
            // Another input event: what comes next is a new event, wherever it lies in memory.
            m_LastEvent = nullptr;
            return false;
        }
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::Wheel)
            return false;
        if (!watched->isWidgetType())
            return false;
        // The same event on its way on: up to the parents when a widget ignored it, or handed on by a
        // widget to one of its parts (a scroll area gives the wheel to its scroll bar).
        const auto timestamp = static_cast<QInputEvent*>(event)->timestamp();
        if (event == m_LastEvent && type == m_LastType && timestamp == m_LastTimestamp)
            return false;
        m_LastEvent = event;
        m_LastType = type;
        m_LastTimestamp = timestamp;

        if (type == QEvent::Wheel)
        {
            auto* wheel = static_cast<QWheelEvent*>(event);
            m_WheelRest += wheel->angleDelta().y();
            const int notches = m_WheelRest / 120;
            m_WheelRest -= notches * 120;
            ++m_Decisions;
            return m_Main.ApplicationMessageHook(EInput::Wheel, 0, notches, wheel->modifiers(), false);
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = KeyCodeOfQt(key->key());
        if (code == 0)
            return false;
        const Qt::KeyboardModifiers mods = key->modifiers();
        const EInput input =
            (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) ? EInput::SysKeyDown : EInput::KeyDown;
        if (type == QEvent::ShortcutOverride)
        {
            // Keys the hook takes win over menu mnemonics and shortcuts; the key press follows.
            if (m_Main.ApplicationMessageHook(input, code, 0, mods, true))
            {
                event->accept();
                return true;
            }
            return false;
        }
        ++m_Decisions;
        if (m_Main.ApplicationMessageHook(input, code, 0, mods, false))
        {
            event->accept();
            return true;
        }
        return false;
    }

private:
    Tm_MainFrm& m_Main;
    const QEvent* m_LastEvent = nullptr;
    QEvent::Type m_LastType = QEvent::None;
    quint64 m_LastTimestamp = 0;
    int m_WheelRest = 0;
};

// The key handlers of the navigation buttons, on the buttons themselves.
class CNavigationKeys final : public QObject
{
public:
    explicit CNavigationKeys(Tm_MainFrm& main) : QObject(&main), m_Main(main) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const int code = KeyCodeOfQt(static_cast<QKeyEvent*>(event)->key());
        Ui::Tm_MainFrm& ui = *m_Main.ui;
        bool swallowed = false;
        if (event->type() == QEvent::KeyPress)
            // Right on Next and Left on Previous keep the focus, so that their release clicks them.
            swallowed = m_Main.m_QAXBtnKeyDown(code) || (watched == ui.m_NextBtn && code == kKeyRight) ||
                        (watched == ui.m_PrevBtn && code == kKeyLeft);
        else if (watched == ui.m_NextBtn)
            swallowed = m_Main.m_NextBtnKeyUp(code);
        else if (watched == ui.m_PrevBtn)
            swallowed = m_Main.m_PrevBtnKeyUp(code);
        else
            swallowed = m_Main.m_QAXBtnsKeyUp(static_cast<QWidget*>(watched), code);
        if (swallowed)
            event->accept();
        return swallowed;
    }

private:
    Tm_MainFrm& m_Main;
};

void Tm_MainFrm::InstallKeyHook()
{
    m_pKeyHook = new CKeyHook(*this);
    auto* buttons = new CNavigationKeys(*this);
    for (QWidget* button :
         {ui->m_PrevBtn, ui->m_QuestionBtn, ui->m_AnswerBtn, ui->m_ExplainBtn, ui->m_NextBtn})
        button->installEventFilter(buttons);
}

std::uint64_t Tm_MainFrm::KeyHookDecisions() const
{
    return m_pKeyHook ? m_pKeyHook->m_Decisions : 0;
}

lf::qt::RichView* Tm_MainFrm::PaneView(const char* name) const
{
    return std::string_view(name) == "m_DescriptionStr" ? m_DescriptionStr : m_DescriptionViewStr;
}

SKeySnapshot Tm_MainFrm::KeySnapshot() const
{
    SKeySnapshot s;
    s.phase = m_DataStorage.GetPhase();
    s.activeView = m_ActiveView;
    s.questionFormat = static_cast<std::uint8_t>(m_Prefs.m_QAX_TYPE_LEARN);
    s.viewMode = m_Prefs.GetQuestionStyle();
    s.mainWindowActive = QApplication::activeWindow() == this && !QApplication::activePopupWidget();
    s.listWindowActive = m_Prefs.m_bListFormActive && m_pListWindow && m_pListWindow->IsListVisible();
    s.editFrameDocked = m_pEditing->HasEditFrame();

    const QWidget* focus = QApplication::focusWidget();
    if (const lf::qt::RichView* editor = PaneView("m_DescriptionStr"))
    {
        s.editorVisible = editor->isVisible();
        s.editorFocused = focus == editor;
    }
    if (const lf::qt::RichView* view = PaneView("m_DescriptionViewStr"))
    {
        s.readOnlyViewVisible = view->isVisible();
        s.readOnlyViewFocused = focus == view;
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(focus))
        s.editableRichTextFocused = !text->isReadOnly();

    s.prevBtnFocused = focus == ui->m_PrevBtn;
    s.nextBtnFocused = focus == ui->m_NextBtn;
    s.questionBtnFocused = focus == ui->m_QuestionBtn;
    s.answerBtnFocused = focus == ui->m_AnswerBtn;
    s.explainBtnFocused = focus == ui->m_ExplainBtn;
    s.prevBtnEnabled = ui->m_PrevBtn->isEnabled();
    s.questionBtnVisible = ui->m_QuestionBtn->isVisible();
    s.answerBtnVisible = ui->m_AnswerBtn->isVisible();
    s.explainBtnVisible = ui->m_ExplainBtn->isVisible();

    if (const CBaseItem* item = m_DataStorage.GetItemsPtr2()->GetCurrentItem())
        s.typedAnswer = lf::display::TypedInTest(item->GetQuestionType());
    s.rowCount = AnswerTableRowCount();
    s.answerTable = s.rowCount > 0;
    s.highlightedRow = m_HighlightedRow;
    return s;
}

bool Tm_MainFrm::ApplicationMessageHook(EInput input, int key, int notches, Qt::KeyboardModifiers modifiers,
                                        bool dryRun)
{
    // A modal dialog owns the keyboard: nothing is done behind it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this)
        return false;
    SKeySnapshot s = KeySnapshot();
    s.input = input;
    s.key = key;
    s.notches = notches;
    s.ctrl = modifiers & Qt::ControlModifier;
    s.alt = modifiers & Qt::AltModifier;
    SKeyDecision decision = DecideKey(s);
    if (dryRun)
        return decision.handled || decision.conditional;
    // A conditional action that answers false lets the search go on past its rule.
    while (true)
    {
        for (const SKeyAction& action : decision.actions)
        {
            const bool took = RunKeyAction(action, s);
            if (decision.conditional && &action == &decision.actions.back())
            {
                if (took)
                    return true;
                (action.kind == EKeyAction::FrameShortcut ? s.frameDeclined : s.listDeclined) = true;
            }
        }
        if (!decision.conditional)
            return decision.handled;
        decision = DecideKey(s);
    }
}

bool Tm_MainFrm::RunKeyAction(const SKeyAction& action, const SKeySnapshot& s)
{
    switch (action.kind)
    {
    case EKeyAction::SaveBook:
        SaveBook(false, false);
        return true;
    case EKeyAction::OpenBook:
        m_OpenBookBtnClick();
        return true;
    case EKeyAction::ListPaste:
        return m_pListWindow && m_pListWindow->PasteShortcut();
    case EKeyAction::ListSelectAll:
        return m_pListWindow && m_pListWindow->SelectAllRows();
    case EKeyAction::FrameShortcut:
        return m_pEditing->HandleShortcutKey({static_cast<std::uint8_t>(s.alt),
                                              static_cast<std::uint8_t>(s.ctrl), 0,
                                              static_cast<std::uint16_t>(s.key)});
    case EKeyAction::ClickView:
    {
        QPushButton* buttons[] = {ui->m_QuestionBtn, ui->m_AnswerBtn, ui->m_ExplainBtn};
        m_QAXBtnsClick(buttons[std::clamp(action.arg, 0, 2)]);
        return true;
    }
    case EKeyAction::FocusEditor:
        if (lf::qt::RichView* editor = PaneView("m_DescriptionStr"))
            editor->setFocus();
        return true;
    case EKeyAction::FocusViewButton:
    {
        QPushButton* buttons[] = {ui->m_QuestionBtn, ui->m_AnswerBtn, ui->m_ExplainBtn};
        buttons[std::clamp(action.arg, 0, 2)]->setFocus();
        return true;
    }
    case EKeyAction::EditMove:
        if (MoveBy(action.arg))
        {
            OnUpdateForm(1, 1);
            SyncListView(ListSyncCode(m_ActiveView), 1);
        }
        return true;
    case EKeyAction::StudyMove:
        if (MoveBy(action.arg))
        {
            if (action.arg > 0)
                AdvanceAfterAnswer();
            else
                ShowQuestionAfterMove(EMoveKind::Back);
        }
        return true;
    case EKeyAction::NewQuestion:
        NewQuestionOfCurrentKind(0);
        return true;
    case EKeyAction::DuplicateQuestion:
        m_pEditing->DuplicateCurrentQuestion();
        return true;
    case EKeyAction::ChooseRow:
        HighlightAnswerRow(AnswerRowHit(action.arg));
        return true;
    case EKeyAction::RecordRow:
        RecordAnswerChoice(AnswerRowHit(action.arg));
        return true;
    case EKeyAction::FlashFeedback:
        ShowFlashFeedback(AnswerRowHit(action.arg));
        return true;
    case EKeyAction::ScrollUp:
    case EKeyAction::ScrollDown:
    case EKeyAction::ScrollToTop:
        for (lf::qt::RichView* view : {static_cast<lf::qt::RichView*>(m_DescriptionViewStr),
                                       static_cast<lf::qt::RichView*>(m_DescriptionStr)})
        {
            if (action.kind == EKeyAction::ScrollDown)
                ScrollViewDown(view);
            else if (action.kind == EKeyAction::ScrollUp)
                ScrollViewUp(view);
            else
                ScrollViewToTop(view);
        }
        return true;
    }
    return true;
}

bool Tm_MainFrm::MoveBy(int count)
{
    OnStorageData();
    CItemsArray2& items = *m_DataStorage.GetItemsPtr2();
    int moved = 0;
    for (int i = 0; i < std::abs(count); ++i)
    {
        if (!(count > 0 ? items.Next() : items.Prev()))
            break;
        ++moved;
    }
    return moved > 0;
}

// The first cell of an answer-table row of the read-only view, as a click on it would hit it.
lf::qt::SRichHit Tm_MainFrm::AnswerRowHit(int row) const
{
    lf::qt::SRichHit hit;
    if (m_pAnswerTable.Document() != &m_DescriptionViewStr->Document())
        return hit;
    hit.table = m_pAnswerTable.Item();
    hit.row = row;
    hit.col = 0;
    return hit;
}

int Tm_MainFrm::AnswerTableRowCount() const
{
    const lf::RichTable* table = AnswerTable();
    return table ? table->RowCount() : 0;
}

// --- The navigation buttons' keys ---

bool Tm_MainFrm::m_QAXBtnKeyDown(int key)
{
    return key == kKeyUp || key == kKeyDown;
}

bool Tm_MainFrm::m_QAXBtnsKeyUp(QWidget* button, int key)
{
    if (key == kKeyLeft || key == kKeyRight)
    {
        static_cast<QPushButton*>(button)->click();
        return true;
    }
    return key == kKeyUp || key == kKeyDown;
}

bool Tm_MainFrm::m_NextBtnKeyUp(int key)
{
    if (key != kKeyRight)
        return false;
    m_NextBtnClick();
    return true;
}

bool Tm_MainFrm::m_PrevBtnKeyUp(int key)
{
    if (key != kKeyLeft)
        return false;
    m_PrevBtnClick();
    return true;
}
