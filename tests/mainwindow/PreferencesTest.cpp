// The preferences dialog and the Home Page Books dialog on the program's options, the Preferences
// command with the skins that follow it, and the text zoom of the question view.
#include "mainwindow/dialogs/Prefsfrm.h"
#include "mainwindow/dialogs/Skins.h"
#include "mainwindow/dialogs/Zoomfrm.h"
#include "model/support/Folders.h"
#include "platform/richtext/RichTextOps.h"
#include "tests/mainwindow/MainWindowTestSupport.h"

#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

using lf::test::Named;
using lf::test::TempDir;

const char* const kBooksNotFound =
    "Books are not found. You may need to adjust your preferences to point to the right directory.";

// The program's folder for the test: "Skins" with "Blue/Blue.ssk" (and its preview), "Red.ssk" and
// "Upper/X.SSK", which is no skin.
class PreferencesTest : public testing::Test, public lf::test::MainWindowHarness
{
protected:
    PreferencesTest() : m_PreviousFolder(QDir::currentPath())
    {
        const std::string skins = program.folder() + "Skins/";
        for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
                 {"Blue/Blue.ssk", "QMainWindow { background: #0000ff; }"},
                 {"Red.ssk", "QMainWindow { background: #ff0000; }"},
                 {"Upper/X.SSK", "QWidget {}"}})
        {
            std::filesystem::create_directories(std::filesystem::path(skins + name).parent_path());
            std::ofstream(skins + name) << text;
        }
        QImage(40, 30, QImage::Format_RGB32).save(QString::fromStdString(skins + "Blue/Blue.png"));
        QDir::setCurrent(QString::fromStdString(program.folder()));
        Start();
    }
    ~PreferencesTest() override
    {
        windows.reset();
        QDir::setCurrent(m_PreviousFolder);
        qApp->setStyleSheet(QString());
        lf::RichTextHost() = {};
    }
    std::string Skins() const { return program.folder() + "Skins"; }

    // The dialog as the program shows it (its controls filled), not yet answered.
    std::unique_ptr<Tm_PrefsFrm> ShowDialog()
    {
        auto dialog = std::make_unique<Tm_PrefsFrm>(Prefs(), Storage(), &Main());
        dialog->show();
        return dialog;
    }
    static std::vector<std::string> Rows(Tm_PrefsFrm& dialog)
    {
        std::vector<std::string> rows;
        auto* list = Named<QListWidget>(dialog, "m_pSkinList");
        for (int i = 0; i < list->count(); ++i)
            rows.push_back(list->item(i)->text().toStdString());
        return rows;
    }
    static int RowOf(Tm_PrefsFrm& dialog, const std::string& text)
    {
        const std::vector<std::string> rows = Rows(dialog);
        return static_cast<int>(std::find(rows.begin(), rows.end(), text) - rows.begin());
    }
    static int SelectedRow(Tm_PrefsFrm& dialog)
    {
        return Named<QListWidget>(dialog, "m_pSkinList")->currentRow();
    }
    static void Choose(Tm_PrefsFrm& dialog, const std::string& row)
    {
        Named<QListWidget>(dialog, "m_pSkinList")->setCurrentRow(RowOf(dialog, row));
    }
    static void Ok(Tm_PrefsFrm& dialog) { Named<QPushButton>(dialog, "m_OkBtn")->click(); }

    TempDir program;

private:
    QString m_PreviousFolder;
};

// --- Skins ---

TEST_F(PreferencesTest, SkinListOffersNoneDefaultAndTheSkinFilesOnly)
{
    Prefs().m_EnableSkin = true;
    Prefs().m_UseDefaultSkin = true;
    Prefs().m_ExternalSkinPath = "/Blue/Blue.ssk";
    const auto dialog = ShowDialog();
    std::vector<std::string> rows = Rows(*dialog);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "None");
    EXPECT_EQ(rows[1], "Default");
    std::sort(rows.begin() + 2, rows.end());
    EXPECT_EQ(rows[2], "Blue");
    EXPECT_EQ(rows[3], "Red");
    // The built-in skin asked for: "Default" even though the stored path names a found skin; its preview
    // is the built-in picture.
    EXPECT_EQ(SelectedRow(*dialog), 1);
    EXPECT_TRUE(Named<QLabel>(*dialog, "m_pSkinViewDefImg")->isVisible());
    EXPECT_FALSE(Named<QLabel>(*dialog, "m_pSkinViewImg")->isVisible());
    EXPECT_FALSE(Named<QLabel>(*dialog, "m_NoPreviewLabel")->isVisible());
    // A skin without a preview shows "No preview"; "None" hides the preview box.
    Choose(*dialog, "Red");
    EXPECT_TRUE(Named<QLabel>(*dialog, "m_NoPreviewLabel")->isVisible());
    EXPECT_FALSE(Named<QLabel>(*dialog, "m_pSkinViewDefImg")->isVisible());
    Choose(*dialog, "None");
    EXPECT_FALSE(Named<QScrollArea>(*dialog, "m_pSkinView")->isVisible());
}

TEST_F(PreferencesTest, RelativeSkinPathSelectsItsRowAndOkStoresItRelativeAgain)
{
    Prefs().m_EnableSkin = true;
    Prefs().m_UseDefaultSkin = false;
    Prefs().m_ExternalSkinPath = "/Blue/Blue.ssk";
    auto dialog = ShowDialog();
    EXPECT_EQ(SelectedRow(*dialog), RowOf(*dialog, "Blue"));
    EXPECT_TRUE(Named<QLabel>(*dialog, "m_pSkinViewImg")->isVisible());
    EXPECT_FALSE(Named<QLabel>(*dialog, "m_pSkinViewImg")->pixmap().isNull());
    Prefs().m_ExternalSkinPath = "elsewhere";
    Ok(*dialog);
    EXPECT_EQ(dialog->result(), Tm_PrefsFrm::kOk);
    EXPECT_EQ(Prefs().m_ExternalSkinPath, "/Blue/Blue.ssk");
    EXPECT_TRUE(Prefs().m_EnableSkin);
    EXPECT_FALSE(Prefs().m_UseDefaultSkin);

    // "None" turns skins off and keeps the path; "Default" turns the built-in skin on.
    dialog = ShowDialog();
    Choose(*dialog, "None");
    Ok(*dialog);
    EXPECT_FALSE(Prefs().m_EnableSkin);
    EXPECT_EQ(Prefs().m_ExternalSkinPath, "/Blue/Blue.ssk");
    dialog = ShowDialog();
    EXPECT_EQ(SelectedRow(*dialog), 0);
    Choose(*dialog, "Default");
    Ok(*dialog);
    EXPECT_TRUE(Prefs().m_EnableSkin);
    EXPECT_TRUE(Prefs().m_UseDefaultSkin);
    EXPECT_EQ(Prefs().m_ExternalSkinPath, "/Blue/Blue.ssk");
}

TEST_F(PreferencesTest, SkinsFollowTheCommandsOkAndNotItsCancel)
{
    const auto answer = [this](const char* row, int result)
    {
        dialogs.AnswerModal(
            [row, result](QDialog& shown)
            {
                auto& prefs = static_cast<Tm_PrefsFrm&>(shown);
                shown.show();
                Choose(prefs, row);
                if (result == Tm_PrefsFrm::kOk)
                    Ok(prefs);
                else
                    shown.reject();
                return shown.result();
            });
    };
    answer("Red", Tm_PrefsFrm::kOk);
    Trigger("m_PrefsBtn");
    EXPECT_EQ(qApp->styleSheet().toStdString(), "QMainWindow { background: #ff0000; }");
    answer("None", Tm_PrefsFrm::kOk);
    Trigger("Preferences1");
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    answer("Blue", Tm_PrefsFrm::kCancel);
    Trigger("Preferences1");
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    answer("Default", Tm_PrefsFrm::kOk);
    Trigger("Preferences1");
    EXPECT_EQ(qApp->styleSheet().toStdString(), BuiltInSkin());
    // A skin whose file went missing falls back to the built-in look.
    answer("Blue", Tm_PrefsFrm::kOk);
    Trigger("Preferences1");
    EXPECT_EQ(qApp->styleSheet().toStdString(), "QMainWindow { background: #0000ff; }");
    std::filesystem::remove(Skins() + "/Blue/Blue.ssk");
    ApplySkin(Prefs());
    EXPECT_EQ(qApp->styleSheet().toStdString(), BuiltInSkin());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

// --- Font, backup, question format ---

TEST_F(PreferencesTest, FontIsWrittenAtOnceAndCancelKeepsIt)
{
    Prefs().m_FieldFontName = "Courier";
    Prefs().m_FieldFontSize = 20;
    Prefs().m_FieldFontStyleBold = true;
    std::string shown;
    dialogs.AnswerModal(
        [&shown](QDialog& dialog)
        {
            dialog.show();
            shown = Named<QLabel>(dialog, "m_FontView")->text().toStdString();
            EXPECT_TRUE(Named<QLabel>(dialog, "m_FontView")->font().bold());
            Named<QPushButton>(dialog, "m_pSetDefaultFontBtn")->click();
            Named<QPushButton>(dialog, "m_CancelBtn")->click();
            return dialog.result();
        });
    Trigger("m_PrefsBtn");
    EXPECT_EQ(shown, "Courier");
    EXPECT_EQ(Prefs().m_FieldFontName, "Arial");
    EXPECT_EQ(Prefs().m_FieldFontSize, 12);
    EXPECT_EQ(Prefs().m_FieldFontCharSet, 1);
    EXPECT_EQ(Prefs().m_FieldFontColor, 0x80000008u);
    EXPECT_FALSE(Prefs().m_FieldFontStyleBold);
    // The texts of the program take the font at once.
    EXPECT_EQ(lf::RichTextHost().fieldFont,
              (lf::SRichFieldFont{"Arial", 12, 1, 0x80000008, false, false, false, false}));

    // The font dialog starts from the options' font; its answer is written at once and shown.
    dialogs.AnswerFont(lf::qt::SFontChoice{"Verdana", 14, 1, 0x0000FF, false, true, false, false});
    dialogs.AnswerModal(
        [&shown](QDialog& dialog)
        {
            dialog.show();
            Named<QPushButton>(dialog, "m_pSelectFontBtn")->click();
            shown = Named<QLabel>(dialog, "m_FontView")->text().toStdString();
            dialog.reject();
            return dialog.result();
        });
    Trigger("Preferences1");
    ASSERT_EQ(dialogs.fontRequests.size(), 1u);
    EXPECT_EQ(dialogs.fontRequests[0].name, "Arial");
    EXPECT_EQ(shown, "Verdana");
    EXPECT_EQ(Prefs().m_FieldFontName, "Verdana");
    EXPECT_EQ(Prefs().m_FieldFontSize, 14);
    EXPECT_TRUE(Prefs().m_FieldFontStyleItalic);
    EXPECT_EQ(Prefs().m_FieldFontColor, 0x0000FFu);
    EXPECT_EQ(lf::RichTextHost().fieldFont.name, "Verdana");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(PreferencesTest, BackupQuestionFormatAndStartUpCheckAreWrittenOnOk)
{
    Prefs().m_BackupAllow = false;
    Prefs().m_BackupTime = 30;
    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Flashcard);
    auto dialog = ShowDialog();
    auto* backup = Named<QCheckBox>(*dialog, "m_pEnableBackupCheck");
    auto* time = Named<QSpinBox>(*dialog, "m_pBackupTimeSpin");
    EXPECT_FALSE(backup->isChecked());
    EXPECT_FALSE(Named<QWidget>(*dialog, "m_pBackupTimeView")->isVisible());
    EXPECT_EQ(time->value(), 30);
    EXPECT_FALSE(Named<QComboBox>(*dialog, "m_pQuestionFormat")->isVisible());
    EXPECT_FALSE(Named<QWidget>(*dialog, "m_pBookModulePrefsGroupBox")->isVisible());
    backup->click();
    EXPECT_TRUE(Named<QWidget>(*dialog, "m_pBackupTimeView")->isVisible());
    time->setValue(0);
    EXPECT_EQ(time->value(), 1);
    time->setValue(5000);
    EXPECT_EQ(time->value(), 3600);
    Named<QCheckBox>(*dialog, "m_ChekNewVersionCheck")->setChecked(true);
    Ok(*dialog);
    EXPECT_TRUE(Prefs().m_BackupAllow);
    EXPECT_EQ(Prefs().m_BackupTime, 3600);
    EXPECT_TRUE(Prefs().m_EnabledAutoUpdate);

    Prefs().m_ViewMode = ToNumber(EQuestionStyle::Moodle);
    dialog = ShowDialog();
    auto* format = Named<QComboBox>(*dialog, "m_pQuestionFormat");
    EXPECT_TRUE(format->isVisible());
    EXPECT_EQ(format->count(), 3);
    EXPECT_EQ(format->itemText(1).toStdString(), "VAD");
    format->setCurrentIndex(1);
    Ok(*dialog);
    EXPECT_EQ(Prefs().m_QAX_TYPE_LEARN, 1);
    EXPECT_EQ(dialog->size(), QSize(692, 524));
}

// --- The books folder ---

TEST_F(PreferencesTest, NewBooksFolderIsCreatedRescannedAndGetsItsBackupFolder)
{
    TempDir elsewhere;
    const std::string b2 = elsewhere.folder() + "B2";
    auto dialog = ShowDialog();
    EXPECT_EQ(Named<QLineEdit>(*dialog, "m_DefaultFolderStr")->text().toStdString(), BooksFolder());
    Named<QLineEdit>(*dialog, "m_DefaultFolderStr")->setText(QString::fromStdString(b2));
    dialogs.AnswerMessage(1);
    Ok(*dialog);
    EXPECT_EQ(dialog->result(), Tm_PrefsFrm::kOk);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kBooksNotFound);
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Warning);
    EXPECT_TRUE(std::filesystem::is_directory(b2));
    EXPECT_EQ(Prefs().GetBooksDirectory(), b2);
    EXPECT_EQ(Prefs().m_BackupDirectory, b2 + "/Temp/");
    EXPECT_TRUE(std::filesystem::is_directory(b2 + "/Temp"));
    EXPECT_EQ(Books().GetCount(), 0);

    // Back to a folder with a book: rescanned without a warning.
    WriteBook(BookPath("Quiz.lnf"), lf::test::ThreeQuestions);
    dialog = ShowDialog();
    Named<QLineEdit>(*dialog, "m_DefaultFolderStr")->setText(QString::fromStdString(BooksFolder()));
    Ok(*dialog);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(Books().GetCount(), 1);
    EXPECT_EQ(Prefs().m_BackupDirectory, BooksFolder() + "Temp/");
}

TEST_F(PreferencesTest, FolderThatCannotBeMadeOrWrittenIsRefusedAndTheDialogStays)
{
    const std::string kept = Prefs().GetBooksDirectory();
    Prefs().m_EnabledAutoUpdate = false;
    const std::string file = program.file("plain.txt");
    std::ofstream(file) << "x";
    auto dialog = ShowDialog();
    auto* folder = Named<QLineEdit>(*dialog, "m_DefaultFolderStr");
    Named<QCheckBox>(*dialog, "m_ChekNewVersionCheck")->setChecked(true);

    // A folder that cannot be made: nothing is stored.
    folder->setText(QString::fromStdString(file + "/Books"));
    dialogs.AnswerMessage(1);
    Ok(*dialog);
    // A folder that cannot be written (not even by the system's administrator): the old one comes back.
    folder->setText("/proc");
    dialogs.AnswerMessage(1);
    Ok(*dialog);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Can't create the book folder.");
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Error);
    EXPECT_EQ(dialogs.messages[1].text,
              "You do not have write permission in /proc folder. Please try a different location.");
    EXPECT_EQ(dialogs.messages[1].kind, lf::qt::MsgKind::Error);
    EXPECT_EQ(Prefs().GetBooksDirectory(), kept);
    EXPECT_EQ(folder->text().toStdString(), kept);
    EXPECT_FALSE(Prefs().m_EnabledAutoUpdate);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
}

TEST_F(PreferencesTest, BrowseAndDefaultFillTheFolderEdit)
{
    auto dialog = ShowDialog();
    dialogs.AnswerFolder(std::string("/srv/books/"));
    Named<QPushButton>(*dialog, "m_BrowseBtn")->click();
    EXPECT_EQ(Named<QLineEdit>(*dialog, "m_DefaultFolderStr")->text().toStdString(), "/srv/books/");
    Named<QPushButton>(*dialog, "m_DefaultBtn")->click();
    EXPECT_EQ(Named<QLineEdit>(*dialog, "m_DefaultFolderStr")->text().toStdString(), GetDefaultBooksFolder());
}

// --- Home Page Books ---

TEST_F(PreferencesTest, HomePageBooksEditsTheElevenEntriesAndEmptyClearsOne)
{
    Prefs().m_BooksDisplay[0] = "Biology";
    Prefs().m_BooksPath[0] = "/b/Biology.lnf";
    Prefs().m_BooksDisplay[10] = "Last";
    TCBooksPathPrefsFrm books(Prefs());
    books.show();
    EXPECT_EQ(books.windowTitle().toStdString(), "Home Page Books");
    EXPECT_EQ(Named<QLineEdit>(books, "m_pDislpayEdit1")->text().toStdString(), "Biology");
    EXPECT_EQ(Named<QLineEdit>(books, "m_pLinkEdit1")->text().toStdString(), "/b/Biology.lnf");
    EXPECT_EQ(Named<QLineEdit>(books, "m_pDislpayEdit11")->text().toStdString(), "Last");

    Named<QLineEdit>(books, "m_pDislpayEdit2")->setText("Empty");
    Named<QLineEdit>(books, "m_pLinkEdit2")->setText("/b/Two.lnf");
    Named<QToolButton>(books, "ClearBtn11")->click();
    EXPECT_TRUE(Named<QLineEdit>(books, "m_pDislpayEdit11")->text().isEmpty());
    dialogs.AnswerOpen(BooksFolder() + "Chem.lnf");
    Named<QToolButton>(books, "BrowseBtn3")->click();
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter, "Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb");
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, BooksFolder());
    books.ClearFildsClick(&books); // not one of the buttons: nothing happens
    Named<QPushButton>(books, "m_pOkBtn")->click();
    EXPECT_EQ(books.result(), TCBooksPathPrefsFrm::kOk);
    EXPECT_EQ(Prefs().m_BooksDisplay[1], "");
    EXPECT_EQ(Prefs().m_BooksPath[1], "/b/Two.lnf");
    EXPECT_EQ(Prefs().m_BooksPath[2], BooksFolder() + "Chem.lnf");
    EXPECT_EQ(Prefs().m_BooksDisplay[0], "Biology");
    EXPECT_EQ(Prefs().m_BooksDisplay[10], "");
}

// --- Text zoom ---

class ZoomTest : public testing::Test, public lf::test::MainWindowHarness
{
protected:
    ZoomTest()
    {
        OpenBook(lf::test::ThreeQuestions, EPhase::Flash);
        StartSession();
    }
    int Step() { return Probe().FontSizeStep(); }
    bool Enabled(const char* button) { return Child<QToolButton>(button)->isEnabled(); }
    // The smallest text size the question view draws.
    int SmallestDrawn()
    {
        int smallest = 1000;
        for (const auto& style : Probe().QuestionView()->Document().styles.textStyles)
            smallest = std::min(smallest, std::max(1, style.size + Probe().QuestionView()->ZoomStep()));
        return smallest;
    }
};

TEST_F(ZoomTest, IncreaseStopsAtFiftyAndNormalUndoesTheZoom)
{
    for (int i = 0; i < 50; ++i)
        Click("m_IncreaseBtn");
    EXPECT_EQ(Step(), 50);
    EXPECT_FALSE(Enabled("m_IncreaseBtn"));
    Click("m_IncreaseBtn");
    EXPECT_EQ(Step(), 50);
    EXPECT_EQ(Probe().QuestionView()->ZoomStep(), 50);

    Click("m_FontNormalBtn");
    for (int i = 0; i < 3; ++i)
        Click("m_IncreaseBtn");
    EXPECT_EQ(Probe().QuestionView()->ZoomStep(), 3);
    Click("m_FontNormalBtn");
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Probe().QuestionView()->ZoomStep(), 0);
    EXPECT_TRUE(Enabled("m_IncreaseBtn"));
}

TEST_F(ZoomTest, DecreaseStopsAtTheSmallestSizeAllowed)
{
    int presses = 0;
    while (Enabled("m_DecreaseBtn") && presses < 100)
    {
        Click("m_DecreaseBtn");
        ++presses;
    }
    EXPECT_LT(presses, 100);
    EXPECT_EQ(SmallestDrawn(), 3);
    const int stopped = Step();
    Probe().OnUpdateForm(255, 0);
    EXPECT_FALSE(Enabled("m_DecreaseBtn"));
    EXPECT_EQ(Step(), stopped);
}

TEST_F(ZoomTest, StepIsKeptAcrossARestartWithinItsLimits)
{
    for (int i = 0; i < 5; ++i)
        Click("m_IncreaseBtn");
    Trigger("CloseBook1");
    ASSERT_TRUE(Main().close());
    windows.reset();
    Start();
    EXPECT_EQ(Step(), 5);
    OpenBookFile("Quiz.lnf", EPhase::Flash);
    StartSession();
    EXPECT_EQ(Probe().QuestionView()->ZoomStep(), 5);

    windows.reset();
    WriteValueToRegistry("MainFormFontSize", -40);
    Start();
    EXPECT_EQ(Step(), -25);
}

TEST_F(ZoomTest, ZoomWindowShowsTheStepAsAPercentageAndSetsIt)
{
    for (int i = 0; i < 6; ++i)
        Click("m_IncreaseBtn");
    dialogs.AnswerModal(
        [](QDialog& shown)
        {
            auto& zoom = static_cast<Tm_pZoomFrm&>(shown);
            EXPECT_EQ(zoom.GetPercent(), 150);
            EXPECT_TRUE(Named<QRadioButton>(zoom, "m_150_RadioButton")->isChecked());
            Named<QRadioButton>(zoom, "m_200_RadioButton")->setChecked(true);
            return 1;
        });
    Trigger("Zoom1");
    EXPECT_EQ(Step(), 12);
    EXPECT_EQ(Probe().QuestionView()->ZoomStep(), 12);
    // Cancel changes nothing.
    dialogs.AnswerModal(2);
    Trigger("Zoom1");
    EXPECT_EQ(Step(), 12);
}

} // namespace
