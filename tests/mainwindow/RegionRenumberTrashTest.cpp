// The small windows other commands open: the screen-region frame, the renumber dialog and the
// move-to-trash question.
#include "mainwindow/dialogs/MoveToTrashAskDlg.h"
#include "mainwindow/dialogs/Renumberdlg.h"
#include "mainwindow/dialogs/Selectionfrm.h"
#include "model/support/Prefs.h"
#include "platform/qt/Dialogs.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

// --- The region frame ---

// Presses at a point of the frame, drags by (dx, dy) in steps and lets go, as the mouse would.
void Drag(QWidget& frame, QPoint at, QPoint by)
{
    const auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(local), QPointF(frame.mapToGlobal(local)), button, buttons, {});
        QApplication::sendEvent(&frame, &event);
    };
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    // Each step is sent where the pointer is over the moved frame; the drag follows the screen position.
    const QPoint globalStart = frame.mapToGlobal(at);
    for (int step = 1; step <= 4; ++step)
    {
        const QPoint global = globalStart + by * step / 4;
        QMouseEvent move(QEvent::MouseMove, QPointF(frame.mapFromGlobal(global)), QPointF(global),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(&frame, &move);
    }
    const QPoint end = globalStart + by;
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(frame.mapFromGlobal(end)), QPointF(end),
                        Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(&frame, &release);
}

class RegionFrame : public testing::Test
{
protected:
    RegionFrame()
    {
        frame.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        start = frame.geometry();
    }
    TCSelectionFrm frame;
    QRect start;
};

TEST_F(RegionFrame, OpensCentredAt391By226WithItsShape)
{
    EXPECT_EQ(start.size(), QSize(391, 226));
    EXPECT_EQ(frame.windowTitle().toStdString(), "Capture selected region");
    EXPECT_TRUE(frame.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(frame.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // The mask: the outline, the corner squares and the centre mark take the mouse; the inside lets it
    // through to the windows beneath.
    const QRegion mask = frame.mask();
    for (const QPoint p :
         {QPoint(0, 0), QPoint(200, 0), QPoint(390, 225), QPoint(3, 3), QPoint(387, 222), QPoint(195, 113)})
        EXPECT_TRUE(mask.contains(p)) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(1, 100), QPoint(100, 60), QPoint(300, 200), QPoint(6, 6)})
        EXPECT_FALSE(mask.contains(p)) << p.x() << "," << p.y();
    EXPECT_EQ(frame.toolTip().toStdString(), "391x226");
}

TEST_F(RegionFrame, CentreMarkMovesRightEdgeSizesWidthCornerSizesBoth)
{
    Drag(frame, QPoint(195, 113), QPoint(30, 20));
    EXPECT_EQ(frame.geometry(), start.translated(30, 20));

    const QRect moved = frame.geometry();
    Drag(frame, QPoint(390, 100), QPoint(9, 50));
    EXPECT_EQ(frame.geometry(), QRect(moved.topLeft(), QSize(400, 226)));

    Drag(frame, QPoint(397, 223), QPoint(0, 74));
    EXPECT_EQ(frame.geometry(), QRect(moved.topLeft(), QSize(400, 300)));
    // The hint above the frame shows the size as it changes, and the shape follows it.
    EXPECT_EQ(frame.toolTip().toStdString(), "400x300");
    ASSERT_NE(frame.SizeHintWindow(), nullptr);
    EXPECT_EQ(frame.SizeHintWindow()->text().toStdString(), "400x300");
    EXPECT_EQ(frame.SizeHintWindow()->geometry().bottom() + 1, frame.geometry().top() - 5);
    EXPECT_EQ(frame.SizeHintWindow()->geometry().left(), frame.geometry().left());
    EXPECT_TRUE(frame.mask().contains(QPoint(399, 299)));
    EXPECT_TRUE(frame.mask().contains(QPoint(200, 150)));
}

TEST(RegionFrameKeys, SpaceAndEnterAcceptEscCancels)
{
    lf::test::ScriptedDialogs dialogs;
    const struct
    {
        Qt::Key key;
        int result;
    } cases[] = {{Qt::Key_Space, 1}, {Qt::Key_Return, 1}, {Qt::Key_Enter, 1}, {Qt::Key_Escape, 2}};
    for (const auto& c : cases)
    {
        TCSelectionFrm frame;
        dialogs.AnswerModal(
            [&](QDialog& shown)
            {
                shown.show();
                QTest::keyClick(&shown, c.key);
                return shown.result();
            });
        EXPECT_EQ(lf::qt::CurrentDialogs().RunModal(frame), c.result) << c.key;
        ASSERT_NE(frame.SizeHintWindow(), nullptr);
        EXPECT_FALSE(frame.SizeHintWindow()->isVisible());
    }
}

// --- Renumber ---

// A key typed into the prefix field, with the Ctrl key of a side held down (a native scan code of 105
// is the right Ctrl, 37 the left one).
class RenumberDialog : public testing::Test
{
protected:
    void Ctrl(QEvent::Type type, std::uint32_t scanCode)
    {
        QKeyEvent event(type, Qt::Key_Control,
                        type == QEvent::KeyPress ? Qt::ControlModifier : Qt::NoModifier, scanCode, 0, 0);
        QApplication::sendEvent(dialog.m_pLayerStr(), &event);
    }
    void CtrlV(std::uint32_t ctrlScanCode)
    {
        Ctrl(QEvent::KeyPress, ctrlScanCode);
        QTest::keyClick(dialog.m_pLayerStr(), Qt::Key_V, Qt::ControlModifier);
        Ctrl(QEvent::KeyRelease, ctrlScanCode);
    }
    std::string Prefix() const { return dialog.m_pLayerStr()->text().toStdString(); }

    Tm_pRenumberDlg dialog;
};

TEST_F(RenumberDialog, PrefixTakesOnlyDigitsAndPoints)
{
    dialog.show();
    dialog.m_pLayerStr()->setFocus();
    QTest::keyClicks(dialog.m_pLayerStr(), "1a.2b.");
    EXPECT_EQ(Prefix(), "1.2.");
    QTest::keyClick(dialog.m_pLayerStr(), Qt::Key_Backspace);
    EXPECT_EQ(Prefix(), "1.2");
    // Enter passes to the field, which keeps one line; it does not close the dialog.
    QTest::keyClick(dialog.m_pLayerStr(), Qt::Key_Return);
    EXPECT_EQ(Prefix(), "1.2");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(RenumberDialog, ClipboardShortcutsWorkWithTheRightCtrlOnly)
{
    QGuiApplication::clipboard()->setText("7.3.");
    dialog.show();
    dialog.m_pLayerStr()->setFocus();
    CtrlV(37);
    EXPECT_EQ(Prefix(), "");
    CtrlV(105);
    EXPECT_EQ(Prefix(), "7.3.");
}

TEST_F(RenumberDialog, SpinLimitsCaptionsAndResults)
{
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Renumber");
    EXPECT_EQ(dialog.m_pStartNum()->minimum(), 1);
    EXPECT_EQ(dialog.m_pStartNum()->maximum(), 1999999999);
    EXPECT_EQ(dialog.m_pStartNum()->value(), 1);
    EXPECT_EQ(dialog.m_pStepNum()->minimum(), -1999999999);
    EXPECT_EQ(dialog.m_pStepNum()->maximum(), 1999999999);
    EXPECT_EQ(dialog.m_pStepNum()->value(), 1);
    dialog.m_pStartNum()->setValue(0);
    EXPECT_EQ(dialog.m_pStartNum()->value(), 1);
    dialog.m_pStepNum()->setValue(-1999999999);
    EXPECT_EQ(dialog.m_pStepNum()->value(), -1999999999);

    lf::test::ScriptedDialogs dialogs;
    for (const auto& [button, result] :
         std::vector<std::pair<const char*, int>>{{"m_ReNumberBtn", 1}, {"m_CancelBtn", 2}})
    {
        dialogs.AnswerModal(
            [button](QDialog& shown)
            {
                shown.findChild<QPushButton*>(button)->click();
                return shown.result();
            });
        EXPECT_EQ(lf::qt::CurrentDialogs().RunModal(dialog), result) << button;
    }
    dialog.show();
    QTest::keyClick(dialog.m_pLayerStr(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), 2);
}

// --- The move-to-trash question ---

TEST(MoveToTrashQuestion, AsksUnlessToldNotToAndStoresTheChoiceOnYes)
{
    lf::test::ScriptedDialogs dialogs;
    CPrefs prefs;
    const std::string text = "Deleting a question in the Trash will permanently delete it from the book. Are "
                             "you sure you want to delete this question?";

    // No: false, and a ticked box is not stored.
    dialogs.AnswerModal(
        [&](QDialog& shown)
        {
            auto& ask = static_cast<TCMoveQuestionToRecycleBinAskDlg&>(shown);
            EXPECT_EQ(ask.windowTitle().toStdString(), "Lernfold");
            EXPECT_EQ(ask.m_pMessage()->text().toStdString(), text);
            EXPECT_EQ(ask.m_pDoNotShowAgainCheckBox()->text().toStdString(), "Do not show again.");
            ask.m_pDoNotShowAgainCheckBox()->setChecked(true);
            shown.findChild<QPushButton*>("m_pNoBtn")->click();
            return shown.result();
        });
    EXPECT_FALSE(AskMoveToRecycleBin(prefs, text));
    EXPECT_FALSE(prefs.m_MoveToTrusShowAskMsg);

    // Yes without the box: true, and the question comes again next time.
    dialogs.AnswerModal(
        [](QDialog& shown)
        {
            shown.findChild<QPushButton*>("m_pYesBtn")->click();
            return shown.result();
        });
    EXPECT_TRUE(AskMoveToRecycleBin(prefs, text));
    EXPECT_FALSE(prefs.m_MoveToTrusShowAskMsg);

    // Yes with the box: true, and the choice is stored.
    dialogs.AnswerModal(
        [](QDialog& shown)
        {
            shown.findChild<QCheckBox*>("m_pDoNotShowAgainCheckBox")->setChecked(true);
            shown.findChild<QPushButton*>("m_pYesBtn")->click();
            return shown.result();
        });
    EXPECT_TRUE(AskMoveToRecycleBin(prefs, text));
    EXPECT_TRUE(prefs.m_MoveToTrusShowAskMsg);

    // Stored: no question, the move goes ahead.
    const std::size_t shown = dialogs.modalWindows.size();
    EXPECT_TRUE(AskMoveToRecycleBin(prefs, text));
    EXPECT_EQ(dialogs.modalWindows.size(), shown);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST(MoveToTrashQuestion, EscAnswersNo)
{
    TCMoveQuestionToRecycleBinAskDlg ask;
    ask.show();
    QTest::keyClick(&ask, Qt::Key_Escape);
    EXPECT_EQ(ask.result(), TCMoveQuestionToRecycleBinAskDlg::kNo);
    EXPECT_EQ(ask.size(), QSize(407, 187));
}

} // namespace
