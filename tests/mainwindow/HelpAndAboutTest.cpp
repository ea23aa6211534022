// The one-value dialog, the about box, the help pages and the help commands of the main window.
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/HelpPages.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Onevaluefrm.h"
#include "platform/qt/RichView.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/support/qt/RecordingDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{

using lf::test::MainWindowHarness;
using lf::test::Named;

// --- One value ---

TEST(OneValueFrm, PasteFollowsTheClipboardFromTheStart)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("there");
    Tm_OneValueFrm dialog;
    EXPECT_TRUE(Named<QToolButton>(dialog, "m_PasteBtn")->isEnabled());
    clipboard->clear();
    EXPECT_FALSE(Named<QToolButton>(dialog, "m_PasteBtn")->isEnabled());
    clipboard->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_FALSE(Named<QToolButton>(dialog, "m_PasteBtn")->isEnabled());
    clipboard->setText("again");
    EXPECT_TRUE(Named<QToolButton>(dialog, "m_PasteBtn")->isEnabled());
}

TEST(OneValueFrm, CopyWithoutSelectionCopiesTheWholeValueAndLeavesNoSelection)
{
    Tm_OneValueFrm dialog;
    dialog.SetValue("http://example.com/a");
    Named<QToolButton>(dialog, "m_CopyBtn")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "http://example.com/a");
    EXPECT_FALSE(Named<QLineEdit>(dialog, "m_VelueStr")->hasSelectedText());

    // With a selection only the selected part goes.
    Named<QLineEdit>(dialog, "m_VelueStr")->setSelection(7, 7);
    Named<QToolButton>(dialog, "m_CopyBtn")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "example");
}

TEST(OneValueFrm, ValueIsCutToTwoHundredCharactersTypedOrPasted)
{
    Tm_OneValueFrm dialog;
    const QString longText(250, QChar('x'));
    dialog.SetValue(longText);
    EXPECT_EQ(dialog.Value().size(), 200);

    dialog.SetValue("ab");
    Named<QLineEdit>(dialog, "m_VelueStr")->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(longText);
    Named<QToolButton>(dialog, "m_PasteBtn")->click();
    EXPECT_EQ(dialog.Value().size(), 200);
    EXPECT_TRUE(dialog.Value().startsWith("ax"));
    EXPECT_TRUE(dialog.Value().endsWith("b"));

    dialog.SetValue(QString(199, QChar('y')));
    Named<QLineEdit>(dialog, "m_VelueStr")->end(false);
    QTest::keyClicks(Named<QLineEdit>(dialog, "m_VelueStr"), "zzz");
    EXPECT_EQ(dialog.Value().size(), 200);
}

TEST(OneValueFrm, ButtonsAnswerOkAndCancel)
{
    lf::test::ScriptedDialogs dialogs;
    Tm_OneValueFrm dialog;
    dialogs.AnswerModal(
        [](QDialog& shown)
        {
            Named<QPushButton>(static_cast<Tm_OneValueFrm&>(shown), "m_OkBtn")->click();
            return shown.result();
        });
    EXPECT_EQ(lf::qt::CurrentDialogs().RunModal(dialog), 1);
    Named<QPushButton>(dialog, "m_CancelBtn")->click();
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_EQ(dialog.size(), QSize(310, 166));
}

// --- About ---

TEST(AboutFrm, ShowsTheVersionAndOpensItsLinks)
{
    lf::test::RecordingDesktop desktop;
    TCAboutFrm about;
    about.show();
    EXPECT_EQ(about.windowTitle().toStdString(), "About...");
    EXPECT_EQ(Named<QLabel>(about, "m_VersionStr")->text().toStdString(), "Version 4.9.610");
    EXPECT_EQ(Named<QLabel>(about, "m_VersionStr2")->text().toStdString(), "Version 4.9.610");
    EXPECT_EQ(Named<QLabel>(about, "m_EmailStr")->text().toStdString(), SupportEmailAddress());
    EXPECT_EQ(Named<QLabel>(about, "m_WebSiteStr")->text().toStdString(), HomePageAddress());
    EXPECT_FALSE(SupportEmailAddress().empty());

    QTest::mouseClick(Named<QLabel>(about, "m_EmailStr"), Qt::LeftButton);
    QTest::mouseClick(Named<QLabel>(about, "m_WebSiteStr"), Qt::LeftButton);
    EXPECT_EQ(desktop.opened,
              (std::vector<std::string>{"mailto:" + SupportEmailAddress(), HomePageAddress()}));

    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_EQ(about.result(), 1);
}

// --- Help ---

TEST(HelpPages, PageOfEachPhaseAndItsPath)
{
    EXPECT_EQ(HelpPageOfPhase(EPhase::Test), "Test.rvf");
    EXPECT_EQ(HelpPageOfPhase(EPhase::Review), "Review.rvf");
    EXPECT_EQ(HelpPageOfPhase(EPhase::Flash), "Flash.rvf");
    EXPECT_EQ(HelpPageOfPhase(EPhase::Edit), "Edit.rvf");
    EXPECT_EQ(HelpPageOfPhase(EPhase::None), "Tutorial.rvf");
    EXPECT_EQ(HelpPagePath("/opt/lf", "Test.rvf"), "/opt/lf/Help/Test.rvf");
    EXPECT_EQ(HelpPagePath("/opt/lf/", "Test.rvf"), "/opt/lf/Help/Test.rvf");
}

// Every page the program ships loads as a document with a heading and at least one table.
TEST(HelpPages, ShippedPagesLoadWithHeadingAndTable)
{
    for (const char* page : {"Tutorial.rvf", "Test.rvf", "Review.rvf", "Flash.rvf", "Edit.rvf"})
    {
        Tm_pHelpFrm help;
        ASSERT_TRUE(LoadHelpPage(help.RichView(), std::string(LF_HELP_DIR) + "/" + page)) << page;
        const lf::RichDocument& doc = help.RichView().Document();
        bool table = false;
        for (const lf::SRichItem& item : doc.content.items)
            table = table || item.IsTable();
        EXPECT_TRUE(table) << page;
        EXPECT_FALSE(help.RichView().toPlainText().isEmpty()) << page;
    }
}

class HelpCommandTest : public testing::Test, public MainWindowHarness
{
protected:
    HelpCommandTest() : previous(QDir::currentPath())
    {
        // A phase needs a book in the books folder.
        WriteBook(BookPath("a.lnf"), lf::test::ThreeQuestions);
        QDir::setCurrent(QString::fromStdString(folder.folder()));
        std::filesystem::create_directories(folder.folder() + "Help");
        for (const char* page : {"Tutorial", "Test", "Edit"})
            lf::test::WriteFile(
                folder.folder() + "Help/" + page + ".rvf",
                std::string("<?xml version=\"1.0\"?>\n<LFDRoot><document><text textstyleno=\"0\" "
                            "parastyleno=\"0\" newpara=\"1\" br=\"0\">") +
                    page + " page</text></document></LFDRoot>\n");
    }
    ~HelpCommandTest() override { QDir::setCurrent(previous); }

    // Scripts the help window's showing and returns what it showed.
    std::shared_ptr<std::string> ExpectHelp()
    {
        auto shown = std::make_shared<std::string>();
        dialogs.AnswerModal(
            [shown](QDialog& window)
            {
                *shown = static_cast<Tm_pHelpFrm&>(window).RichView().toPlainText().toStdString();
                return 1;
            });
        return shown;
    }

    lf::test::TempDir folder;
    QString previous;
};

TEST_F(HelpCommandTest, TutorialAndHelpButtonOpenThePageOfThePhase)
{
    Start();
    EXPECT_TRUE(Child<QLabel>("m_pNoticeLabel")->text().isEmpty());
    EXPECT_TRUE(Child<QLabel>("m_pBookPackInfoLabel")->text().isEmpty());
    EXPECT_TRUE(Child<QLabel>("m_pBookPackInfoShadowLabel")->text().isEmpty());

    auto tutorial = ExpectHelp();
    Child<QPushButton>("m_pTutorialBtn")->click();
    EXPECT_EQ(*tutorial, "Tutorial page");

    // No phase chosen yet: the Help button shows the tutorial too.
    auto noPhase = ExpectHelp();
    Child<QAction>("m_HelpBtn")->trigger();
    EXPECT_EQ(*noPhase, "Tutorial page");

    ChoosePhase(EPhase::Test);
    auto test = ExpectHelp();
    Child<QAction>("m_HelpBtn")->trigger();
    EXPECT_EQ(*test, "Test page");
    EXPECT_EQ(dialogs.modalWindows, (std::vector<std::string>(3, "Tm_pHelpFrm")));
}

TEST_F(HelpCommandTest, AMissingPageShowsAnEmptyWindowWithoutAMessage)
{
    Start();
    auto tutorial = ExpectHelp();
    Child<QPushButton>("m_pTutorialBtn")->click();
    ASSERT_EQ(*tutorial, "Tutorial page");
    ChoosePhase(EPhase::Review); // there is no Review page
    auto review = ExpectHelp();
    Child<QAction>("m_HelpBtn")->trigger();
    EXPECT_EQ(*review, "");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(HelpCommandTest, AboutCommandShowsTheAboutBoxOnce)
{
    Start();
    dialogs.AnswerModal(1);
    Child<QAction>("AboutLernfold1")->trigger();
    EXPECT_EQ(dialogs.modalWindows, std::vector<std::string>{"TCAboutFrm"});
}

} // namespace
