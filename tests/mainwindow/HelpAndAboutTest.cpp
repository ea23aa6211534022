// The one-value dialog, the about box, the help pages and the help commands of the main window.
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/HelpPages.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Onevaluefrm.h"
#include "platform/qt/RichView.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/support/qt/RecordingDesktop.h"
#include "ui_Aboutfrm.h"
#include "ui_Mainfrm.h"
#include "ui_Onevaluefrm.h"

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

using lf::test::MainWindowFixture;

// --- One value ---

TEST(OneValueFrm, PasteFollowsTheClipboardFromTheStart)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("there");
    Tm_OneValueFrm dialog;
    EXPECT_TRUE(dialog.Form().m_PasteBtn->isEnabled());
    clipboard->clear();
    EXPECT_FALSE(dialog.Form().m_PasteBtn->isEnabled());
    clipboard->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_FALSE(dialog.Form().m_PasteBtn->isEnabled());
    clipboard->setText("again");
    EXPECT_TRUE(dialog.Form().m_PasteBtn->isEnabled());
}

TEST(OneValueFrm, CopyWithoutSelectionCopiesTheWholeValueAndLeavesNoSelection)
{
    Tm_OneValueFrm dialog;
    dialog.SetValue("http://example.com/a");
    dialog.m_CopyBtnClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "http://example.com/a");
    EXPECT_FALSE(dialog.Form().m_VelueStr->hasSelectedText());

    // With a selection only the selected part goes.
    dialog.Form().m_VelueStr->setSelection(7, 7);
    dialog.m_CopyBtnClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "example");
}

TEST(OneValueFrm, ValueIsCutToTwoHundredCharactersTypedOrPasted)
{
    Tm_OneValueFrm dialog;
    const QString longText(250, QChar('x'));
    dialog.SetValue(longText);
    EXPECT_EQ(dialog.Value().size(), 200);

    dialog.SetValue("ab");
    dialog.Form().m_VelueStr->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(longText);
    dialog.m_PasteBtnClick();
    EXPECT_EQ(dialog.Value().size(), 200);
    EXPECT_TRUE(dialog.Value().startsWith("ax"));
    EXPECT_TRUE(dialog.Value().endsWith("b"));

    dialog.SetValue(QString(199, QChar('y')));
    dialog.Form().m_VelueStr->end(false);
    QTest::keyClicks(dialog.Form().m_VelueStr, "zzz");
    EXPECT_EQ(dialog.Value().size(), 200);
}

TEST(OneValueFrm, ButtonsAnswerOkAndCancel)
{
    lf::test::ScriptedDialogs dialogs;
    Tm_OneValueFrm dialog;
    dialogs.AnswerModal(
        [](QDialog& shown)
        {
            static_cast<Tm_OneValueFrm&>(shown).Form().m_OkBtn->click();
            return shown.result();
        });
    EXPECT_EQ(lf::qt::CurrentDialogs().RunModal(dialog), 1);
    dialog.Form().m_CancelBtn->click();
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
    EXPECT_EQ(about.Form().m_VersionStr->text().toStdString(), "Version 4.9.610");
    EXPECT_EQ(about.Form().m_VersionStr2->text().toStdString(), "Version 4.9.610");
    EXPECT_EQ(about.Form().m_EmailStr->text().toStdString(), SupportEmailAddress());
    EXPECT_EQ(about.Form().m_WebSiteStr->text().toStdString(), HomePageAddress());
    EXPECT_FALSE(SupportEmailAddress().empty());

    QTest::mouseClick(about.Form().m_EmailStr, Qt::LeftButton);
    QTest::mouseClick(about.Form().m_WebSiteStr, Qt::LeftButton);
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

class HelpCommandTest : public testing::Test, public MainWindowFixture
{
protected:
    HelpCommandTest() : previous(QDir::currentPath())
    {
        // A phase needs a book in the books folder.
        lf::test::WriteBook(BookPath("a.lnf"), lf::test::ThreeQuestions());
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
    Tm_MainFrm& main = Start();
    EXPECT_TRUE(main.Form().m_pNoticeLabel->text().isEmpty());
    EXPECT_TRUE(main.Form().m_pBookPackInfoLabel->text().isEmpty());
    EXPECT_TRUE(main.Form().m_pBookPackInfoShadowLabel->text().isEmpty());

    auto tutorial = ExpectHelp();
    main.Form().m_pTutorialBtn->click();
    EXPECT_EQ(*tutorial, "Tutorial page");

    // No phase chosen yet: the Help button shows the tutorial too.
    auto noPhase = ExpectHelp();
    main.Form().m_HelpBtn->trigger();
    EXPECT_EQ(*noPhase, "Tutorial page");

    main.SetPhase(EPhase::Test, 0);
    auto test = ExpectHelp();
    main.Form().m_HelpBtn->trigger();
    EXPECT_EQ(*test, "Test page");
    EXPECT_EQ(dialogs.modalWindows, (std::vector<std::string>(3, "Tm_pHelpFrm")));
}

TEST_F(HelpCommandTest, AMissingPageShowsAnEmptyWindowWithoutAMessage)
{
    Tm_MainFrm& main = Start();
    auto tutorial = ExpectHelp();
    main.Form().m_pTutorialBtn->click();
    ASSERT_EQ(*tutorial, "Tutorial page");
    main.SetPhase(EPhase::Review, 0); // there is no Review page
    auto review = ExpectHelp();
    main.Form().m_HelpBtn->trigger();
    EXPECT_EQ(*review, "");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(HelpCommandTest, AboutCommandShowsTheAboutBoxOnce)
{
    Tm_MainFrm& main = Start();
    dialogs.AnswerModal(1);
    main.Form().AboutLernfold1->trigger();
    EXPECT_EQ(dialogs.modalWindows, std::vector<std::string>{"TCAboutFrm"});
}

} // namespace
