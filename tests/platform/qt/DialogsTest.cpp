#include "platform/qt/Dialogs.h"
#include "platform/qt/QtFormat.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace
{

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
using lf::test::ScriptedDialogs;

// A window whose button asks before it acts, as the book commands do.
class AskingWindow : public QWidget
{
public:
    AskingWindow()
    {
        button = new QPushButton("Close", this);
        connect(button, &QPushButton::clicked, this,
                [this]
                {
                    answer = lf::qt::MessageDlg("Save changes to \"Bio.lnf\"?\r\nThey are lost otherwise.",
                                                MsgKind::Confirmation, MsgButtons::YesNoCancel);
                });
    }
    QPushButton* button;
    int answer = 0;
};

TEST(ScriptedDialogs, AnswersAQuestionOfAWindowAndRecordsItExactly)
{
    for (const int scripted : {lf::qt::mrYes, lf::qt::mrNo, lf::qt::mrCancel})
    {
        ScriptedDialogs dialogs;
        dialogs.AnswerMessage(scripted);
        AskingWindow window;
        QTest::mouseClick(window.button, Qt::LeftButton);
        EXPECT_EQ(window.answer, scripted);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0],
                  (lf::qt::SMessage{MsgKind::Confirmation,
                                    "Save changes to \"Bio.lnf\"?\r\nThey are lost otherwise.",
                                    MsgButtons::YesNoCancel, ""}));
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }
}

TEST(ScriptedDialogs, UnscriptedQuestionFailsTheTestNamingItAndAnswersCancel)
{
    // The failure is caught here so that this test can check it; in a window test it fails the test.
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            AskingWindow window;
            QTest::mouseClick(window.button, Qt::LeftButton);
            answer = window.answer;
        },
        "Unscripted dialog: confirmation message (Yes, No, Cancel): \"Save changes to \"Bio.lnf\"?");
    EXPECT_EQ(answer, lf::qt::mrCancel);
}

TEST(ScriptedDialogs, AnswerThatIsNoButtonOfTheQuestionFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.AnswerMessage(lf::qt::mrCancel);
            lf::qt::MessageDlg("Delete?", MsgKind::Confirmation, MsgButtons::YesNo);
        },
        "is not a button of confirmation message (Yes, No)");
}

TEST(ScriptedDialogs, FileDialogsRecordTheRequestAndApplyTheDefaultExtension)
{
    ScriptedDialogs dialogs;
    dialogs.AnswerSave("/books/Bio");
    dialogs.AnswerSave(std::nullopt);
    dialogs.AnswerOpen("/books/Chem.pdb");
    lf::qt::SFileDialog save;
    save.filter = "Lernfold v4|*.lnf";
    save.defaultExt = ".lnf";
    save.initialFolder = "/books/";
    EXPECT_EQ(lf::qt::CurrentDialogs().SaveFile(save), "/books/Bio.lnf");
    EXPECT_EQ(lf::qt::CurrentDialogs().SaveFile(save), std::nullopt);
    EXPECT_EQ(lf::qt::CurrentDialogs().OpenFile(save), "/books/Chem.pdb");
    ASSERT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs.saveRequests[0].initialFolder, "/books/");
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
}

TEST(ScriptedDialogs, ModalWindowGetsTheHandlerAndItsResult)
{
    ScriptedDialogs dialogs;
    dialogs.AnswerModal(
        [](QDialog& dialog)
        {
            dialog.setWindowTitle("touched");
            return lf::qt::mrAll;
        });
    QDialog score;
    score.setObjectName("Tm_ScoreDlg");
    EXPECT_EQ(lf::qt::CurrentDialogs().RunModal(score), lf::qt::mrAll);
    EXPECT_EQ(score.windowTitle(), "touched");
    EXPECT_EQ(dialogs.modalWindows, std::vector<std::string>{"Tm_ScoreDlg"});
}

TEST(ScriptedDialogs, PrintAnswerSetsUpThePrinter)
{
    ScriptedDialogs dialogs;
    lf::qt::SPrintChoice answer;
    answer.maxPage = 9;
    answer.range = lf::qt::SPrintChoice::PageNums;
    answer.fromPage = 2;
    answer.toPage = 4;
    answer.copies = 3;
    answer.collate = true;
    dialogs.AnswerPrint(answer);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    lf::qt::SPrintChoice choice;
    choice.maxPage = 9;
    choice.toPage = 9;
    ASSERT_TRUE(lf::qt::CurrentDialogs().ChoosePrint(nullptr, printer, choice));
    EXPECT_EQ(choice, answer);
    EXPECT_EQ(printer.fromPage(), 2);
    EXPECT_EQ(printer.toPage(), 4);
    EXPECT_EQ(printer.copyCount(), 3);
    EXPECT_TRUE(printer.collateCopies());
    EXPECT_EQ(dialogs.printRequests.at(0).toPage, 9);
}

TEST(FileDialogRules, FilterOfTheDesignBecomesQtNameFilters)
{
    const struct
    {
        const char* filter;
        const char* qt;
    } cases[] = {
        {"Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb",
         "Lernfold v4 (*.lnf);;Lernfold v3 (*.lnf3);;PDB file (*.pdb)"},
        {"Pictures|*.jpg;*.png", "Pictures (*.jpg *.png)"},
        {"RTF file|*.rtf|TXT file|*.txt", "RTF file (*.rtf);;TXT file (*.txt)"},
        {"", ""},
        {"Name without pattern", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lf::qt::ToQtFileFilter(c.filter), c.qt) << c.filter;
}

TEST(FileDialogRules, DefaultExtensionOnlyWhenTheNameHasNone)
{
    const struct
    {
        const char* path;
        const char* ext;
        const char* result;
    } cases[] = {
        {"/b/Bio", ".lnf", "/b/Bio.lnf"},
        {"/b/Bio", "lnf", "/b/Bio.lnf"},
        {"/b/Bio.pdb", ".lnf", "/b/Bio.pdb"},
        {"/b.d/Bio", ".lnf", "/b.d/Bio.lnf"},
        {"/b/.hidden", ".lnf", "/b/.hidden.lnf"},
        {"/b/Bio.", ".lnf", "/b/Bio.lnf"},
        {"/b/Bio", "", "/b/Bio"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lf::qt::ApplyDefaultExtension(c.path, c.ext), c.result) << c.path << " " << c.ext;
}

// The product's dialogs, answered by clicking the modal window once it is up. A window that an answer
// failed to close is closed after a few seconds with a failure, so a broken case never blocks the run.
void ClickWhenModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0,
                       [act = std::move(act)]
                       {
                           QWidget* modal = QApplication::activeModalWidget();
                           ASSERT_NE(modal, nullptr);
                           QTimer::singleShot(5000, modal,
                                              [window = QPointer<QWidget>(modal)]
                                              {
                                                  if (!window || !window->isVisible())
                                                      return;
                                                  ADD_FAILURE() << "a modal window was left open";
                                                  if (auto* dialog = qobject_cast<QDialog*>(window.data()))
                                                      dialog->reject();
                                                  else
                                                      window->close();
                                              });
                           act(modal);
                       });
}

// Clicks one of a message box's buttons; a window that is not a message box, or a box without that button,
// fails the case and is left to the watchdog of ClickWhenModal.
void PressMessageButton(QWidget* modal, QMessageBox::StandardButton which)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << "the modal window is not a message box";
    QAbstractButton* button = box->button(which);
    ASSERT_NE(button, nullptr) << "the message box has no such button";
    button->click();
}

TEST(QtDialogs, MessageBoxShowsKindCaptionAndTextAndAnswersWithTheDesignsValues)
{
    const struct
    {
        MsgButtons buttons;
        QMessageBox::StandardButton press;
        int result;
    } cases[] = {
        {MsgButtons::Ok, QMessageBox::Ok, lf::qt::mrOk},
        {MsgButtons::YesNo, QMessageBox::No, lf::qt::mrNo},
        {MsgButtons::YesNoCancel, QMessageBox::Yes, lf::qt::mrYes},
        {MsgButtons::YesNoCancel, QMessageBox::Cancel, lf::qt::mrCancel},
        {MsgButtons::OkIgnore, QMessageBox::Ignore, lf::qt::mrIgnore},
        {MsgButtons::OkCancel, QMessageBox::Cancel, lf::qt::mrCancel},
    };
    for (const auto& c : cases)
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ClickWhenModal(
            [&](QWidget* modal)
            {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                PressMessageButton(modal, c.press);
            });
        EXPECT_EQ(lf::qt::MessageDlg("Line one\r\nline two", MsgKind::Warning, c.buttons), c.result);
        EXPECT_EQ(title, "Warning");
        EXPECT_EQ(text, "Line one\nline two");
        EXPECT_EQ(icon, QMessageBox::Warning);
    }
    ClickWhenModal(
        [](QWidget* modal)
        {
            EXPECT_EQ(modal->windowTitle(), "Lernfold");
            PressMessageButton(modal, QMessageBox::Ok);
        });
    lf::qt::MessageDlg("x", MsgKind::Error, MsgButtons::Ok, "Lernfold");
}

TEST(QtDialogs, EscapeAnswersCancelElseNoElseOk)
{
    for (const MsgButtons buttons : {MsgButtons::Ok, MsgButtons::OkCancel, MsgButtons::OkIgnore,
                                     MsgButtons::YesNo, MsgButtons::YesNoCancel})
    {
        ClickWhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        EXPECT_EQ(lf::qt::MessageDlg("?", MsgKind::Confirmation, buttons), lf::qt::EscapeAnswer(buttons));
    }
    const int expected[] = {lf::qt::mrOk, lf::qt::mrCancel, lf::qt::mrOk, lf::qt::mrNo, lf::qt::mrCancel};
    const MsgButtons all[] = {MsgButtons::Ok, MsgButtons::OkCancel, MsgButtons::OkIgnore, MsgButtons::YesNo,
                              MsgButtons::YesNoCancel};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lf::qt::EscapeAnswer(all[i]), expected[i]);
}

TEST(QtDialogs, SaveDialogOffersTheFiltersAndAddsTheDefaultExtensionToATypedName)
{
    lf::test::TempDir dir;
    const struct
    {
        const char* typed;
        std::string result;
    } cases[] = {{"Bio", dir.file("Bio.lnf")}, {"Bio.pdb", dir.file("Bio.pdb")}};
    for (const auto& c : cases)
    {
        QStringList filters;
        QString proposed;
        ClickWhenModal(
            [&](QWidget* modal)
            {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                ASSERT_NE(dialog, nullptr);
                filters = dialog->nameFilters();
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                ASSERT_NE(name, nullptr);
                proposed = name->text();
                name->setText(c.typed);
                QMetaObject::invokeMethod(dialog, "accept");
            });
        lf::qt::SFileDialog request;
        request.initialFolder = dir.folder();
        request.filter = "Lernfold v4|*.lnf|PDB file (*.pdb)|*.pdb";
        request.defaultExt = ".lnf";
        request.fileName = "Unnamed";
        EXPECT_EQ(lf::qt::CurrentDialogs().SaveFile(request), c.result);
        EXPECT_EQ(filters, QStringList({"Lernfold v4 (*.lnf)", "PDB file (*.pdb)"}));
        EXPECT_EQ(proposed, "Unnamed");
    }
}

TEST(QtDialogs, RunModalGivesTheWindowsResultAndCancelForTheCloseBox)
{
    const struct
    {
        std::function<void(QDialog*)> close;
        int result;
    } cases[] = {
        {[](QDialog* d) { d->accept(); }, lf::qt::mrOk},
        {[](QDialog* d) { d->reject(); }, lf::qt::mrCancel},
        {[](QDialog* d) { d->close(); }, lf::qt::mrCancel},
        {[](QDialog* d) { d->done(lf::qt::mrIgnore); }, lf::qt::mrIgnore},
    };
    for (const auto& c : cases)
    {
        QDialog dialog;
        ClickWhenModal([&](QWidget* modal) { c.close(qobject_cast<QDialog*>(modal)); });
        EXPECT_EQ(lf::qt::CurrentDialogs().RunModal(dialog), c.result);
    }
}

TEST(QtDialogs, FontDialogKeepsStyleFlagsAndTheUntouchedSystemColour)
{
    if (!QFontDatabase::hasFamily("DejaVu Sans"))
        GTEST_SKIP() << "needs the DejaVu fonts (scripts/install-deps installs them)";
    lf::qt::SFontChoice font;
    font.name = "Arial"; // found as a stand-in family, which must not take its name or lose the bold
    font.size = 14;
    font.charSet = 238;
    font.color = lf::qt::kWindowTextColor;
    font.bold = true;
    font.strikeOut = true;
    ClickWhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
    lf::qt::SFontChoice chosen = font;
    ASSERT_TRUE(lf::qt::CurrentDialogs().ChooseFont(nullptr, chosen));
    EXPECT_EQ(chosen, font);

    ClickWhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(lf::qt::CurrentDialogs().ChooseFont(nullptr, chosen));
}

TEST(QtDialogs, FontDialogColourComesBackInBlueGreenRedOrder)
{
    ClickWhenModal(
        [](QWidget* fontDialog)
        {
            ClickWhenModal(
                [fontDialog](QWidget* colorDialog)
                {
                    auto* picker = qobject_cast<QColorDialog*>(colorDialog);
                    ASSERT_NE(picker, nullptr);
                    picker->setCurrentColor(QColor(0x10, 0x80, 0xF0));
                    picker->accept();
                    QTimer::singleShot(0, fontDialog,
                                       [fontDialog] { qobject_cast<QDialog*>(fontDialog)->accept(); });
                });
            fontDialog->findChild<QPushButton*>("colorButton")->click();
        });
    lf::qt::SFontChoice font;
    font.color = 0x000000;
    ASSERT_TRUE(lf::qt::CurrentDialogs().ChooseFont(nullptr, font));
    EXPECT_EQ(font.color, 0xF08010u);
}

} // namespace
