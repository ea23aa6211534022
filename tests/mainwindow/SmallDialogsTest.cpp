// The small choice windows: the selector list's rows, keys and results, the zoom preview's sizes, the
// scale dialog's setter and getter, the help window's close, the key filter of the Custom spin edits, and
// the base of the dialogs that fill themselves on showing.
#include "mainwindow/dialogs/FormDialog.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Scalefrm.h"
#include "mainwindow/dialogs/Selectorlistfrm.h"
#include "mainwindow/dialogs/SpinKeyFilter.h"
#include "mainwindow/dialogs/Zoomfrm.h"
#include "model/support/Array.h"
#include "platform/qt/RichView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{

class SelectorList : public testing::Test
{
protected:
    SelectorList()
    {
        choices.Add("Paris");
        choices.Add("A partner long enough to need several lines in the list, because it names the whole "
                    "of a river, its sources, its towns and its mouth into the sea far away");
        selector.SetChoices(&choices);
        selector.FormShow();
    }
    QListWidget& List() { return *selector.findChild<QListWidget*>("m_pListBox"); }

    CStringArray choices;
    Tm_pSelectorListFrm selector;
};

TEST_F(SelectorList, RowsFollowTheChoicesWithTheFirstSelected)
{
    ASSERT_EQ(List().count(), 2);
    EXPECT_EQ(List().currentRow(), 0);
    EXPECT_EQ(selector.toolTip().toStdString(), "Paris");
    EXPECT_EQ(selector.size(), QSize(342, 368));
    EXPECT_TRUE(selector.windowFlags() & Qt::FramelessWindowHint);
    // The long choice wraps: its row is several lines tall.
    const int shortRow = List().item(0)->sizeHint().height();
    const int longRow = List().item(1)->sizeHint().height();
    EXPECT_EQ(shortRow, selector.MeasureRow("Paris"));
    EXPECT_GE(longRow, 2 * (shortRow - 3) + 3);
    selector.FormHide();
    selector.FormShow(); // the choices were forgotten when it hid: the rows stay as they are
    EXPECT_EQ(List().count(), 2);
}

TEST_F(SelectorList, KeysChooseOrCancel)
{
    const struct
    {
        int key;
        int row;
        int result;
        const char* choice;
    } cases[] = {{Qt::Key_Return, 0, 1, "Paris"},
                 {Qt::Key_Space, 1, 1, nullptr},
                 {Qt::Key_Enter, 0, 1, "Paris"},
                 {Qt::Key_Escape, 0, 2, ""}};
    for (const auto& c : cases)
    {
        selector.setResult(0);
        List().setCurrentRow(c.row);
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
        QApplication::sendEvent(&List(), &press);
        EXPECT_EQ(selector.result(), c.result) << c.key;
        EXPECT_EQ(selector.GetChoice(), c.choice ? std::string(c.choice) : choices[1]) << c.key;
    }
}

TEST_F(SelectorList, DoubleClickWithoutASelectedRowDoesNothing)
{
    List().clearSelection();
    selector.setResult(0);
    selector.ChooseSelected();
    EXPECT_EQ(selector.result(), 0);
    EXPECT_EQ(selector.GetChoice(), "");
}

TEST(ZoomDialog, PreviewTakesTwelvePointsTimesThePercentage)
{
    const struct
    {
        int percent;
        int points;
    } cases[] = {{150, 18}, {20, 2}, {1000, 120}, {75, 9}, {100, 12}};
    for (const auto& c : cases)
    {
        Tm_pZoomFrm zoom;
        zoom.SetPercent(c.percent);
        zoom.FormShow();
        EXPECT_EQ(zoom.Preview().Document().styles.textStyles.at(0).size, c.points) << c.percent;
        EXPECT_EQ(zoom.Preview().Document().ItemCount(), 3);
        EXPECT_EQ(zoom.GetPercent(), c.percent);
    }
}

TEST(ZoomDialog, SpinChangeTicksCustomAndRedraws)
{
    Tm_pZoomFrm zoom;
    zoom.SetPercent(50);
    zoom.FormShow();
    zoom.CustomValueSpinEdit().setValue(300);
    EXPECT_EQ(zoom.GetPercent(), 300);
    EXPECT_EQ(zoom.Preview().Document().styles.textStyles.at(0).size, 36);
}

TEST(ScaleDialog, SetScaleTicksTheButtonOrCustomAndGetScaleReadsIt)
{
    Tm_pScaleFrm scale;
    const struct
    {
        int percent;
        int spin;
    } cases[] = {{25, 100}, {200, 100}, {90, 90}, {1000, 1000}};
    for (const auto& c : cases)
    {
        scale.SetScale(c.percent, false, false, {});
        EXPECT_EQ(scale.CustomValueSpinEdit().value(), c.spin) << c.percent;
        int percent = -1;
        bool checked = true;
        scale.GetScale(percent, checked);
        EXPECT_EQ(percent, c.percent);
        EXPECT_FALSE(checked);
        EXPECT_FALSE(scale.IsCheckBoxShown());
    }
    scale.SetScale(50, true, true, "Only pictures without a size");
    EXPECT_TRUE(scale.IsCheckBoxShown());
    EXPECT_EQ(scale.CheckBoxCaption(), "Only pictures without a size");
    int percent = 0;
    bool checked = false;
    scale.GetScale(percent, checked);
    EXPECT_EQ(percent, 50);
    EXPECT_TRUE(checked);
}

TEST(ScaleDialog, NothingTickedKeepsTheCallersPercent)
{
    Tm_pScaleFrm scale;
    int percent = 64;
    bool checked = true;
    scale.GetScale(percent, checked);
    EXPECT_EQ(percent, 64);
}

TEST(HelpWindow, CloseAndEscAnswerOne)
{
    Tm_pHelpFrm help;
    EXPECT_EQ(help.windowTitle().toStdString(), "Help");
    help.findChild<QPushButton*>("m_pCloseBtn")->click();
    EXPECT_EQ(help.result(), 1);
    help.setResult(0);
    help.reject();
    EXPECT_EQ(help.result(), 1);
}

TEST(CustomSpinEdit, KeyFilterPassesDigitsAndTheFewSigns)
{
    for (const char32_t ch : {U'0', U'9', U'\b', U'%', U'\'', U'.'})
        EXPECT_TRUE(IsCustomSpinChar(ch)) << static_cast<int>(ch);
    for (const char32_t ch : {U'a', U'Z', U'-', U'+', U' ', U',', U'\u00e9'})
        EXPECT_FALSE(IsCustomSpinChar(ch)) << static_cast<int>(ch);

    // Typed into the zoom dialog's spin edit: "9" arrives, a letter does not.
    Tm_pZoomFrm zoom;
    QLineEdit* edit = zoom.CustomValueSpinEdit().findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->clear();
    for (const auto& [key, text] :
         {std::pair{Qt::Key_9, "9"}, std::pair{Qt::Key_A, "a"}, std::pair{Qt::Key_5, "5"}})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
        QApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(edit->text().toStdString(), "95");
}

// A dialog on the shared base that counts how often it is filled and records every close.
class CountingFormDialog : public TFormDialog
{
public:
    static constexpr int kClosed = 7;

    CountingFormDialog() : TFormDialog(kClosed, nullptr) {}
    void FormShow() override { ++fillings; }
    void done(int result) override
    {
        closes.push_back(result);
        TFormDialog::done(result);
    }

    int fillings = 0;
    std::vector<int> closes;
};

TEST(FormDialog, FillsOnEveryShowingByTheProgramButNotWhenTheWindowSystemShowsItAgain)
{
    CountingFormDialog dialog;
    EXPECT_EQ(dialog.fillings, 0);
    dialog.show();
    EXPECT_EQ(dialog.fillings, 1);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.fillings, 2);

    // As the window system delivers it (sendEvent would mark it as coming from the program).
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    QApplication::instance()->notify(&dialog, &restored);
    EXPECT_EQ(dialog.fillings, 2);
    QShowEvent fromCode;
    QApplication::sendEvent(&dialog, &fromCode);
    EXPECT_EQ(dialog.fillings, 3);
}

TEST(FormDialog, KeepsTheSizeOfItsFormWithoutAHelpButton)
{
    struct SizedDialog : CountingFormDialog
    {
        SizedDialog()
        {
            setWindowFlag(Qt::WindowContextHelpButtonHint, true);
            resize(123, 45);
            FixToFormSize();
        }
    } dialog;
    EXPECT_EQ(dialog.minimumSize(), QSize(123, 45));
    EXPECT_EQ(dialog.maximumSize(), QSize(123, 45));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST(FormDialog, EscAndTheCloseBoxCloseWithTheFixedResultThroughDone)
{
    CountingFormDialog dialog;
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), CountingFormDialog::kClosed);

    dialog.show();
    dialog.setResult(0);
    EXPECT_TRUE(dialog.close()); // the close box
    EXPECT_EQ(dialog.result(), CountingFormDialog::kClosed);
    EXPECT_EQ(dialog.closes, (std::vector<int>{CountingFormDialog::kClosed, CountingFormDialog::kClosed}));
}

} // namespace
