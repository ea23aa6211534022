// The header frame's picture, media-file and recording commands: names relative to the book, the
// warnings, and what the recorder's answer does to the file and the field.
#include "editing/frames/Headerframe.h"
#include "editing/frames/Recorderdlg.h"

#include "ui_Headereditquestionframe.h"
#include "ui_Recorderdlg.h"

#include "model/support/Prefs.h"
#include "platform/qt/QtText.h"
#include "tests/editing/frames/FakeMedia.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
namespace fs = std::filesystem;

const std::string kSaveFirst =
    "We recommend keeping your files in the book folder or subfolders,\nto make it easy to "
    "find and share your study materials! \n\nPlease save the book first, and then select "
    "the image again.";
const std::string kKeepBeside =
    "We recommend keeping your files in the book folder or subfolders,\nto make it easy "
    "to find and share books!\n\nPress Ignore that disable this message in future for "
    "current session.";

// A book "Bio.lnf" in a scratch folder (standing for /b/), question 123456.
class HeaderFrameTest : public ::testing::Test
{
protected:
    HeaderFrameTest() : frame(prefs)
    {
        book = dir.file("Bio.lnf");
        lf::test::WriteFile(book, "<book/>");
        prefs.SetBooksDirectory(dir.folder());
        frame.SetQuestionContext(book, "123456");
    }

    std::string Image() const { return lf::qt::ToStdString(frame.Form().m_pImageStr->text()); }
    std::string Voice() const { return lf::qt::ToStdString(frame.Form().m_pVoiceStr->text()); }
    std::string Media(const std::string& name) const { return dir.folder() + "Bio/" + name; }

    lf::test::TempDir dir;
    lf::test::ScriptedDialogs dialogs;
    lf::test::FakeMediaBackend media;
    CPrefs prefs;
    std::string book;
    TCHeaderEditQuestionFrame frame;
};

TEST_F(HeaderFrameTest, KnowsTheBooksFolders)
{
    EXPECT_EQ(frame.m_BookFolder, dir.folder());
    EXPECT_EQ(frame.m_MediaFolder, dir.folder() + "Bio/");
    EXPECT_EQ(frame.m_BookName, "Bio");
    EXPECT_EQ(frame.m_ItemID, "123456");
    // Naming the media folder does not make it.
    EXPECT_FALSE(fs::exists(dir.folder() + "Bio"));
}

struct PictureCase
{
    const char* name;
    const char* chosen; // below the scratch folder, or a full path
    const char* stored; // "" for the full path
    bool warns;
};

TEST_F(HeaderFrameTest, PictureNamesRelativeToMediaFolderThenBookFolder)
{
    const std::vector<PictureCase> cases = {
        {"in the media folder", "Bio/cell.png", "cell.png", false},
        {"in a sub-folder of the media folder", "Bio/pics/cell.jpg", "pics\\cell.jpg", false},
        {"in a sub-folder of the book folder", "Pics/cell.png", "Pics\\cell.png", false},
        {"elsewhere", "/elsewhere/cell.png", "", true},
    };
    for (const PictureCase& row : cases)
    {
        const std::string chosen = row.chosen[0] == '/' ? std::string(row.chosen) : dir.folder() + row.chosen;
        dialogs.AnswerOpen(chosen);
        if (row.warns)
            dialogs.AnswerMessage(lf::qt::mrOk);
        dialogs.messages.clear();
        frame.m_pImageBtnClick();
        EXPECT_EQ(Image(), row.stored[0] ? std::string(row.stored) : chosen) << row.name;
        if (row.warns)
        {
            ASSERT_EQ(dialogs.messages.size(), 1u) << row.name;
            EXPECT_EQ(dialogs.messages[0],
                      (lf::qt::SMessage{MsgKind::Warning, kKeepBeside, MsgButtons::OkIgnore, ""}));
        }
        else
            EXPECT_TRUE(dialogs.messages.empty()) << row.name;
    }
    ASSERT_FALSE(dialogs.openRequests.empty());
    const lf::qt::SFileDialog& request = dialogs.openRequests[0];
    EXPECT_EQ(request.title, "Select image");
    EXPECT_EQ(request.initialFolder, dir.folder());
    EXPECT_EQ(request.filter,
              "Graphics(*.bmp;*.wmf;*.emf;*.ico;*.jpg;*.gif;*.png)|*.bmp;*.wmf;*.emf;*.ico;*.jpg;"
              "*.gif;*.png|All(*.*)|*.*");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

// The folder counts only as the leading part of the path.
TEST_F(HeaderFrameTest, BookFolderTextFurtherOnInThePathKeepsTheFullPath)
{
    const std::string chosen = "/mnt" + dir.folder() + "x.png";
    dialogs.AnswerOpen(chosen);
    dialogs.AnswerMessage(lf::qt::mrOk);
    frame.m_pImageBtnClick();
    EXPECT_EQ(Image(), chosen);
}

TEST_F(HeaderFrameTest, IgnoreSilencesTheWarningForTheRun)
{
    dialogs.AnswerOpen("/elsewhere/a.png");
    dialogs.AnswerMessage(lf::qt::mrIgnore);
    frame.m_pImageBtnClick();
    EXPECT_TRUE(prefs.m_IgnoreMediaFolderWarning);
    dialogs.AnswerOpen("/elsewhere/b.mp3");
    frame.m_pVoiceBtnClick();
    EXPECT_EQ(Voice(), "/elsewhere/b.mp3");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(HeaderFrameTest, UnsupportedFormatsAreRefusedWithTheirExtension)
{
    frame.Form().m_pImageStr->setText("old.png");
    dialogs.AnswerOpen(dir.folder() + "scan.TIFF");
    dialogs.AnswerMessage(lf::qt::mrOk);
    frame.m_pImageBtnClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              (lf::qt::SMessage{MsgKind::Warning, "Format '.TIFF' is not supported", MsgButtons::Ok, ""}));
    EXPECT_EQ(Image(), "old.png");

    // A sound is no picture, and a picture is no media file.
    dialogs.AnswerOpen(dir.folder() + "Bio/a.wav");
    dialogs.AnswerMessage(lf::qt::mrOk);
    frame.m_pImageBtnClick();
    EXPECT_EQ(dialogs.messages.back().text, "Format '.WAV' is not supported");
    dialogs.AnswerOpen(dir.folder() + "Bio/a.png");
    dialogs.AnswerMessage(lf::qt::mrOk);
    frame.m_pVoiceBtnClick();
    EXPECT_EQ(dialogs.messages.back().text, "Format '.PNG' is not supported");
    EXPECT_EQ(Voice(), "");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(HeaderFrameTest, MediaFileChoiceStartsInTheMediaFolder)
{
    dialogs.AnswerOpen(dir.folder() + "Bio/talk.AVI");
    frame.m_pVoiceBtnClick();
    EXPECT_EQ(Voice(), "talk.AVI");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, dir.folder() + "Bio/");
    EXPECT_EQ(dialogs.openRequests[0].title, "");
    EXPECT_EQ(dialogs.openRequests[0].filter,
              "Audio(*.mp3;*.wav;*.ogg)|*.mp3;*.wav;*.ogg|Video(*.avi)|*.avi");
    // Cancel in the dialog changes nothing.
    dialogs.AnswerOpen(std::nullopt);
    frame.m_pVoiceBtnClick();
    EXPECT_EQ(Voice(), "talk.AVI");
}

TEST_F(HeaderFrameTest, UnsavedBookRefusesAllThreeCommandsAndMakesNothing)
{
    frame.SetQuestionContext("", "7");
    for (int digit : {1, 2, 3})
    {
        dialogs.AnswerMessage(lf::qt::mrOk);
        EXPECT_TRUE(frame.HandleShortcutKey({0, 1, 0, static_cast<std::uint16_t>(0x30 + digit)}));
    }
    ASSERT_EQ(dialogs.messages.size(), 3u);
    for (const lf::qt::SMessage& message : dialogs.messages)
        EXPECT_EQ(message, (lf::qt::SMessage{MsgKind::Warning, kSaveFirst, MsgButtons::Ok, ""}));
    EXPECT_TRUE(dialogs.openRequests.empty());
    EXPECT_TRUE(dialogs.modalWindows.empty());
    EXPECT_TRUE(media.wave.commands.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1); // Bio.lnf only
}

// The recorder answers with its buttons as the user would press them.
int RecordThen(QDialog& window, const char* button)
{
    auto& recorder = dynamic_cast<TCRecorderDlg&>(window);
    recorder.m_pRecordBtnClick();
    recorder.m_pStopBtnClick();
    QAbstractButton* target = recorder.findChild<QAbstractButton*>(button);
    EXPECT_NE(target, nullptr);
    target->click();
    return recorder.result();
}

TEST_F(HeaderFrameTest, RecordingNamesANewFileAndCancelTakesItAway)
{
    dialogs.AnswerModal([&](QDialog& window) { return RecordThen(window, "m_CancelBtn"); });
    frame.m_pRecordBtnClick();
    EXPECT_TRUE(fs::is_directory(dir.folder() + "Bio"));
    EXPECT_NE(std::find(media.wave.commands.begin(), media.wave.commands.end(),
                        "SAVE lfdsound \"" + Media("Bio_123456_q_1.wav") + "\""),
              media.wave.commands.end());
    EXPECT_FALSE(fs::exists(Media("Bio_123456_q_1.wav")));
    EXPECT_EQ(Voice(), "");
}

TEST_F(HeaderFrameTest, RecordingOkStoresTheBareNameAndTheNextTakesTheNextNumber)
{
    dialogs.AnswerModal([&](QDialog& window) { return RecordThen(window, "m_OkBtn"); });
    frame.m_pRecordBtnClick();
    EXPECT_TRUE(fs::is_regular_file(Media("Bio_123456_q_1.wav")));
    EXPECT_EQ(Voice(), "Bio_123456_q_1.wav");

    // With the field emptied the next recording takes a new name beside the first.
    frame.Form().m_pVoiceStr->clear();
    dialogs.AnswerModal([&](QDialog& window) { return RecordThen(window, "m_OkBtn"); });
    frame.m_pRecordBtnClick();
    EXPECT_EQ(Voice(), "Bio_123456_q_2.wav");
    EXPECT_TRUE(fs::is_regular_file(Media("Bio_123456_q_1.wav")));
}

TEST_F(HeaderFrameTest, RecordingOverAnExistingFileAndDeletingIt)
{
    fs::create_directories(dir.folder() + "Bio");
    lf::test::WriteFile(Media("note.wav"), "old");
    frame.Form().m_pVoiceStr->setText("note.wav");
    // Re-recording asks first; Yes goes on, and Cancel keeps the file the name stood for.
    dialogs.AnswerMessage(lf::qt::mrYes);
    dialogs.AnswerModal([&](QDialog& window) { return RecordThen(window, "m_CancelBtn"); });
    frame.m_pRecordBtnClick();
    EXPECT_TRUE(fs::is_regular_file(Media("note.wav")));
    EXPECT_EQ(Voice(), "note.wav");

    dialogs.AnswerMessage(lf::qt::mrYes); // "Do you want to delete the recording?"
    dialogs.AnswerModal(
        [&](QDialog& window)
        {
            dynamic_cast<TCRecorderDlg&>(window).Form().m_DeleteBtn->click();
            return window.result();
        });
    frame.m_pRecordBtnClick();
    EXPECT_FALSE(fs::exists(Media("note.wav")));
    EXPECT_EQ(Voice(), "");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

// A name in the field whose file is gone gets a new name, and Cancel deletes that new file too.
TEST_F(HeaderFrameTest, CancelDeletesANewlyNamedFileAlsoWhenTheFieldHeldAName)
{
    frame.Form().m_pVoiceStr->setText("gone.wav");
    dialogs.AnswerModal([&](QDialog& window) { return RecordThen(window, "m_CancelBtn"); });
    frame.m_pRecordBtnClick();
    EXPECT_FALSE(fs::exists(Media("Bio_123456_q_1.wav")));
    EXPECT_EQ(Voice(), "gone.wav");
}

TEST_F(HeaderFrameTest, NothingChangesWhenNoFileExistsAfterTheRecorder)
{
    frame.Form().m_pVoiceStr->setText("gone.wav");
    dialogs.AnswerModal(lf::qt::mrOk);
    frame.m_pRecordBtnClick();
    EXPECT_EQ(Voice(), "gone.wav");
}

} // namespace
