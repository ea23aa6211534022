// The Import/Export dialog: its two lists, the name checks and fixed messages, imports into the open book
// (the quiz files as the learning platform ships them, CSV, a book with content files), exports with the
// overwrite question and the backup beside the file, the groups held while a run goes on, the main
// window's command, and a round trip of the sample book through every export format.
#include "mainwindow/dialogs/Impexpfrm2.h"

#include "interchange/DelimitedText.h"
#include "model/items/Datatypes.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextTrim.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "ui_Impexpfrm2.h"

#include <QProgressBar>

#include <pugixml.hpp>

#include <filesystem>
#include <map>

namespace lf::test
{
namespace
{

namespace fs = std::filesystem;
using lf::qt::MsgKind;

enum ImportIndex
{
    kImportMoodle = 0,
    kImportBookV4 = 2,
    kImportCsv = 3,
};
enum ExportIndex
{
    kExportMoodle = 0,
    kExportCsv = 2,
    kExportCsvWithExplanation = 3,
};

std::string PlainText(const std::string& stored)
{
    lf::RichDocument view;
    std::string plain;
    GetPlainTextFromXML(stored, view, plain, true);
    return lf::sys::Trim(plain);
}

// Records whether the dialog's controls were enabled whenever the storage let events run.
class StatePump final : public IEventPump
{
public:
    explicit StatePump(Tm_ImpExpFrm2& dialog) : m_dialog(dialog) {}
    void ProcessPendingEvents() override
    {
        Ui::Tm_ImpExpFrm2& form = m_dialog.Form();
        ++calls;
        if (form.m_ImportBtn->isEnabled() || form.m_ExportBtn->isEnabled() || form.m_DoneBtn->isEnabled() ||
            form.m_OpenBtn->isEnabled() || form.m_Open2Btn->isEnabled())
            ++enabledDuringRun;
    }
    int calls = 0;
    int enabledDuringRun = 0;

private:
    Tm_ImpExpFrm2& m_dialog;
};

class ImpExpDialog : public ::testing::Test
{
protected:
    void SetUp() override { app.OpenBook(ThreeQuestions, EPhase::Edit); }

    std::unique_ptr<Tm_ImpExpFrm2> MakeDialog()
    {
        return std::make_unique<Tm_ImpExpFrm2>(
            app.Storage(), app.Prefs(), [this] { ++saves; }, &app.Main());
    }
    static void ChooseImport(Tm_ImpExpFrm2& dialog, int index, const std::string& name)
    {
        dialog.Form().m_ImportFormatList->setCurrentIndex(index);
        emit dialog.Form().m_ImportFormatList->activated(index);
        dialog.Form().m_ImpotrFileNameStr->setText(QString::fromStdString(name));
    }
    static void ChooseExport(Tm_ImpExpFrm2& dialog, int index, const std::string& name)
    {
        dialog.Form().m_ExportFormatList->setCurrentIndex(index);
        emit dialog.Form().m_ExportFormatList->activated(index);
        dialog.Form().m_ExpotrFileNameStr->setText(QString::fromStdString(name));
    }
    std::string File(const std::string& name) { return work.file(name); }
    // OK for the next count notices.
    void Ok(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            app.dialogs.AnswerMessage(lf::qt::mrOk);
    }

    MainWindowHarness app;
    TempDir work;
    int saves = 0;
};

TEST_F(ImpExpDialog, ListsHoldTheirEntriesExactlyAndNothingIsChosenAtStart)
{
    const auto dialog = MakeDialog();
    Ui::Tm_ImpExpFrm2& form = dialog->Form();
    const std::vector<std::string> imports = {"Moodle XML",
                                              "Lernfold V3",
                                              "Lernfold V4 ",
                                              "CSV Q,A ",
                                              "CSV Q,A,X ",
                                              "FlashCardExchange ",
                                              "Quizlet (with TAB delimiter)"};
    const std::vector<std::string> exports = {"Moodle XML",         "Lernfold V4 ",
                                              "CSV Q,A ",           "CSV Q,A,X ",
                                              "FlashCardExchange ", "Quizlet (with TAB delimiter)"};
    std::vector<std::string> shownImports;
    std::vector<std::string> shownExports;
    for (int i = 0; i < form.m_ImportFormatList->count(); ++i)
        shownImports.push_back(form.m_ImportFormatList->itemText(i).toStdString());
    for (int i = 0; i < form.m_ExportFormatList->count(); ++i)
        shownExports.push_back(form.m_ExportFormatList->itemText(i).toStdString());
    EXPECT_EQ(shownImports, imports);
    EXPECT_EQ(shownExports, exports);
    EXPECT_EQ(Tm_ImpExpFrm2::ImportFormats(), imports);
    EXPECT_EQ(Tm_ImpExpFrm2::ExportFormats(), exports);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Import/Export");

    EXPECT_EQ(form.m_ImportFormatList->currentIndex(), -1);
    EXPECT_EQ(form.m_ExportFormatList->currentIndex(), -1);
    for (QWidget* control :
         std::initializer_list<QWidget*>{form.m_ImpotrFileNameStr, form.m_OpenBtn, form.m_ImportBtn,
                                         form.m_ExpotrFileNameStr, form.m_Open2Btn, form.m_ExportBtn})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(form.m_DoneBtn->isEnabled());
    EXPECT_FALSE(form.m_ProgressBar->isVisibleTo(dialog.get()));

    // A choice enables its own group only.
    ChooseImport(*dialog, kImportCsv, "");
    EXPECT_TRUE(form.m_ImpotrFileNameStr->isEnabled());
    EXPECT_TRUE(form.m_OpenBtn->isEnabled());
    EXPECT_TRUE(form.m_ImportBtn->isEnabled());
    EXPECT_FALSE(form.m_ExportBtn->isEnabled());
}

TEST_F(ImpExpDialog, FileChoicesAndNamesFollowTheChosenEntry)
{
    EXPECT_EQ(Tm_ImpExpFrm2::ImportFileChoice(0), (Tm_ImpExpFrm2::SFileChoice{"Moodle XML|*.xml", ".xml"}));
    EXPECT_EQ(Tm_ImpExpFrm2::ImportFileChoice(6),
              (Tm_ImpExpFrm2::SFileChoice{"Quizlet file(*.txt)|*.txt", ".txt"}));
    EXPECT_EQ(Tm_ImpExpFrm2::ExportFileChoice(1),
              (Tm_ImpExpFrm2::SFileChoice{"Lernfold v4 (*.lnf4)|*.lnf4", ".lnf4"}));
    EXPECT_EQ(Tm_ImpExpFrm2::ImportFileChoice(-1), Tm_ImpExpFrm2::SFileChoice{});

    const struct
    {
        int index;
        const char* typed;
        const char* target;
    } targets[] = {{0, "/b/Week1", "/b/Week1.xml"},
                   {0, "/b/Week1.XML", "/b/Week1.XML"},
                   {1, "/b/a", "/b/a.lnf4"},
                   {2, "/b/quiz.csv", "/b/quiz.csv"},
                   {4, "/b/cards", "/b/cards.csv"},
                   {5, "/b/set.txt", "/b/set.txt"},
                   {-1, "/b/x", ""}};
    for (const auto& t : targets)
        EXPECT_EQ(Tm_ImpExpFrm2::ExportTargetName(t.index, t.typed), t.target) << t.typed;
    EXPECT_EQ(Tm_ImpExpFrm2::BackupFileName("/b/quiz.csv"), "/b/quiz.bak");
    EXPECT_EQ(Tm_ImpExpFrm2::ShownFileName("/opt/lf/quiz.csv", "/opt/lf/"), "quiz.csv");
    EXPECT_EQ(Tm_ImpExpFrm2::ShownFileName("/home/u/quiz.csv", "/opt/lf/"), "/home/u/quiz.csv");
    EXPECT_TRUE(Tm_ImpExpFrm2::IsContentBookName("/b/BOOK.LNF4"));
    EXPECT_FALSE(Tm_ImpExpFrm2::IsContentBookName("/b/book.lnf"));
    EXPECT_TRUE(Tm_ImpExpFrm2::IsTabSeparatedName("/b/cards.TSV "));

    // The chooser opens in the books folder with the entry's filter; the picked file goes into the edit.
    const auto dialog = MakeDialog();
    ChooseImport(*dialog, 5, "");
    app.dialogs.AnswerOpen(File("cards.tsv"));
    dialog->m_OpenBtnClick();
    ASSERT_EQ(app.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(app.dialogs.openRequests[0].initialFolder, app.Prefs().GetBooksDirectory());
    EXPECT_EQ(app.dialogs.openRequests[0].filter, "FlashCardExchange file (*.csv; *.tsv)|*.csv; *.tsv");
    EXPECT_EQ(dialog->Form().m_ImpotrFileNameStr->text().toStdString(), File("cards.tsv"));
}

TEST_F(ImpExpDialog, ImportOfAMissingFileAsksForTheNameAndReadsNothing)
{
    const auto dialog = MakeDialog();
    for (const std::string& name : {std::string(), File("missing.csv")})
    {
        app.dialogs.messages.clear();
        Ok();
        ChooseImport(*dialog, kImportCsv, name);
        dialog->m_ImportBtnClick();
        ASSERT_EQ(app.dialogs.messages.size(), 1u) << name;
        EXPECT_EQ(app.dialogs.messages[0].text, Tm_ImpExpFrm2::kNoImportFile);
        EXPECT_EQ(app.dialogs.messages[0].kind, MsgKind::Warning);
    }
    EXPECT_EQ(app.Items().GetCount(), 3);
}

TEST_F(ImpExpDialog, TwoLineCsvImportAddsTwoQuestionsAndMarksTheBookModified)
{
    WriteFile(File("two.csv"), "Capital of France?,Paris\r\n\"Two, spelled\",2\r\n");
    app.Items().SetModified(false);
    const auto dialog = MakeDialog();
    ChooseImport(*dialog, kImportCsv, File("two.csv"));
    Ok();
    dialog->m_ImportBtnClick();
    EXPECT_EQ(app.MessageTexts(), std::vector<std::string>{Tm_ImpExpFrm2::kImported});
    EXPECT_EQ(app.dialogs.messages.at(0).kind, MsgKind::Information);
    ASSERT_EQ(app.Items().GetCount(), 5);
    EXPECT_EQ(PlainText(app.Items().GetItem(3)->GetQuestionText()), "Capital of France?");
    EXPECT_EQ(PlainText(app.Items().GetItem(4)->GetQuestionText()), "Two, spelled");
    EXPECT_TRUE(app.Items().IsModified());
    // The run showed its progress in the dialog and gave every control back.
    EXPECT_TRUE(dialog->Form().m_ProgressBar->isVisibleTo(dialog.get()));
    EXPECT_EQ(dialog->Form().m_ProgressBar->value(), 100);
    EXPECT_TRUE(dialog->Form().m_ImportBtn->isEnabled());
    EXPECT_TRUE(dialog->Form().m_DoneBtn->isEnabled());
    EXPECT_FALSE(dialog->IsRunning());
}

TEST_F(ImpExpDialog, QuizFilesAsThePlatformShipsThemAreImported)
{
    // tests/data/interchange/moodle holds the two quiz files the platform's own tests use, unchanged.
    const struct
    {
        const char* file;
        int questions;
    } files[] = {{"interchange/moodle/multichoice.xml", 1}, {"interchange/moodle/truefalse.xml", 2}};
    for (const auto& f : files)
    {
        const std::int32_t before = app.Items().GetCount();
        app.dialogs.messages.clear();
        const auto dialog = MakeDialog();
        ChooseImport(*dialog, kImportMoodle, DataFile(f.file));
        Ok();
        dialog->m_ImportBtnClick();
        EXPECT_EQ(app.MessageTexts(), std::vector<std::string>{Tm_ImpExpFrm2::kImported}) << f.file;
        EXPECT_EQ(app.Items().GetCount() - before, f.questions) << f.file;
    }
}

TEST_F(ImpExpDialog, ExportOverAnExistingFileAsksAndKeepsABackupBesideIt)
{
    const std::string quiz = File("quiz.csv");
    WriteFile(quiz, "old,content\r\n");
    const auto dialog = MakeDialog();
    ChooseExport(*dialog, kExportCsv, quiz);

    app.dialogs.AnswerMessage(lf::qt::mrNo);
    Ok();
    dialog->m_ExportBtnClick();
    ASSERT_EQ(app.dialogs.messages.size(), 2u);
    EXPECT_EQ(app.dialogs.messages[0].text, "File \"" + quiz + "\" exists. Overwrite the file?");
    EXPECT_EQ(app.dialogs.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(app.dialogs.messages[1].text, Tm_ImpExpFrm2::kExportAborted);
    EXPECT_EQ(ReadFile(quiz), "old,content\r\n");
    EXPECT_FALSE(fs::exists(File("quiz.bak")));

    app.dialogs.messages.clear();
    app.dialogs.AnswerMessage(lf::qt::mrYes);
    Ok();
    dialog->m_ExportBtnClick();
    EXPECT_EQ(app.MessageTexts().back(), Tm_ImpExpFrm2::kExported);
    EXPECT_EQ(ReadFile(File("quiz.bak")), "old,content\r\n");
    EXPECT_EQ(ReadFile(quiz), "First?,a\r\nSecond?,a\r\nThird?,a\r\n");
    // The export leaves the book's modified flag alone.
    EXPECT_FALSE(app.Items().IsModified());
}

TEST_F(ImpExpDialog, NameWithoutTheWritersExtensionAsksAboutTheFileThatWouldBeReplaced)
{
    WriteFile(File("Week1.xml"), "<quiz/>");
    const auto dialog = MakeDialog();
    ChooseExport(*dialog, kExportMoodle, File("Week1"));
    app.dialogs.AnswerMessage(lf::qt::mrNo);
    Ok();
    dialog->m_ExportBtnClick();
    ASSERT_FALSE(app.dialogs.messages.empty());
    EXPECT_EQ(app.dialogs.messages[0].text, "File \"" + File("Week1.xml") + "\" exists. Overwrite the file?");
    EXPECT_EQ(ReadFile(File("Week1.xml")), "<quiz/>");
}

TEST_F(ImpExpDialog, ExplanationColumnIsWrittenByTheEntriesThatNameIt)
{
    const auto dialog = MakeDialog();
    Ok(2);
    ChooseExport(*dialog, kExportCsv, File("qa.csv"));
    dialog->m_ExportBtnClick();
    ChooseExport(*dialog, kExportCsvWithExplanation, File("qax.csv"));
    dialog->m_ExportBtnClick();
    EXPECT_EQ(ReadFile(File("qa.csv")), "First?,a\r\nSecond?,a\r\nThird?,a\r\n");
    EXPECT_EQ(ReadFile(File("qax.csv")), "First?,a,Because.\r\nSecond?,a,Because.\r\nThird?,a,Because.\r\n");
}

TEST_F(ImpExpDialog, FailedExportLeavesNoFile)
{
    app.OpenBook([](BookBuilder& book) { book.trueFalse("Only true/false?", true); }, EPhase::Edit, "Tf.lnf");
    const auto dialog = MakeDialog();
    ChooseExport(*dialog, kExportCsv, File("none.csv"));
    Ok();
    dialog->m_ExportBtnClick();
    EXPECT_EQ(app.MessageTexts(), std::vector<std::string>{Tm_ImpExpFrm2::kExportFailed});
    EXPECT_EQ(app.dialogs.messages[0].kind, MsgKind::Information);
    EXPECT_TRUE(fs::is_empty(work.path()));
}

TEST_F(ImpExpDialog, ContentBookIntoANeverSavedBookAsksForASaveFirst)
{
    // A book with content files, written from the open book.
    ASSERT_TRUE(app.Storage().SaveWithContentXML(File("pack.lnf4"), &app.Items(), false));
    fs::copy_file(File("pack.lnf4"), File("PACK.LNF4"));
    app.Storage().CloseBook();
    app.Storage().NewBook();
    ASSERT_TRUE(app.Storage().GetFileName().empty());
    const std::int32_t before = app.Items().GetCount();

    // The letter case of the extension does not matter: both names ask for the save, and the user
    // cancelling it leaves the import failed with nothing read.
    for (const char* name : {"pack.lnf4", "PACK.LNF4"})
    {
        app.dialogs.messages.clear();
        const auto dialog = MakeDialog();
        ChooseImport(*dialog, kImportBookV4, File(name));
        Ok(2);
        dialog->m_ImportBtnClick();
        EXPECT_EQ(app.MessageTexts(),
                  (std::vector<std::string>{Tm_ImpExpFrm2::kSaveBookFirst, Tm_ImpExpFrm2::kImportFailed}))
            << name;
        EXPECT_EQ(app.Items().GetCount(), before) << name;
    }
    EXPECT_EQ(saves, 2);
}

TEST_F(ImpExpDialog, BothGroupsAndDoneAreHeldWhileARunGoesOn)
{
    const auto dialog = MakeDialog();
    StatePump pump(*dialog);
    IEventPump* previous = app.Storage().GetEventPump();
    app.Storage().SetEventPump(&pump);
    ChooseImport(*dialog, kImportMoodle, DataFile("interchange/moodle/truefalse.xml"));
    ChooseExport(*dialog, kExportCsv, File("held.csv"));
    Ok(2);
    dialog->m_ExportBtnClick();
    dialog->m_ImportBtnClick();
    app.Storage().SetEventPump(previous);
    EXPECT_GT(pump.calls, 0);
    EXPECT_EQ(pump.enabledDuringRun, 0);
    EXPECT_TRUE(dialog->Form().m_ImportBtn->isEnabled());
    EXPECT_TRUE(dialog->Form().m_ExportBtn->isEnabled());
}

TEST_F(ImpExpDialog, MainWindowCommandRunsTheDialogAndShowsTheBookFromItsStart)
{
    WriteFile(File("one.csv"), "Imported?,Yes\r\n");
    app.dialogs.AnswerModal(
        [this](QDialog& window)
        {
            auto& dialog = dynamic_cast<Tm_ImpExpFrm2&>(window);
            ChooseImport(dialog, kImportCsv, File("one.csv"));
            Ok();
            dialog.m_ImportBtnClick();
            return int(lf::qt::mrOk);
        });
    app.StartSession();
    app.Trigger("ImportandExport1");
    EXPECT_EQ(app.dialogs.modalWindows, std::vector<std::string>{"m_ImpExpFrm2"});
    EXPECT_EQ(app.Items().GetCount(), 4);
    EXPECT_TRUE(app.Items().IsModified());
    ASSERT_NE(app.Items().GetCurrentItem(), nullptr);
    EXPECT_EQ(app.Items().GetCurrentItem()->GetName(), "First?");
}

TEST_F(ImpExpDialog, SaveAsReaderBookWritesItBesideItsPicturesFolderAndKeepsTheBooksName)
{
    const std::string bookName = app.Storage().GetFileName();
    app.dialogs.AnswerSave(File("Reader.lnf2"));
    app.Trigger("SaveBookas1");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(File("Reader.lnf2").c_str()));
    int questions = 0;
    for (pugi::xml_node question : doc.child("book").child("questions").children("question"))
    {
        EXPECT_STREQ(question.child("x").child("tc").child_value("t"), "Because.");
        ++questions;
    }
    EXPECT_EQ(questions, 3);
    EXPECT_TRUE(fs::is_directory(File("Reader")));
    EXPECT_EQ(app.Storage().GetFileName(), bookName);
    EXPECT_EQ(app.Books().IndexOf(File("Reader.lnf2")), -1);
}

// --- Round trip ---

// What a format keeps of the sample book: every question (with its kind, text and grades), or the
// multiple-choice questions as question and right answer, with or without the explanation.
struct RoundTrip
{
    const char* name;
    int exportIndex;
    int importIndex;
    const char* file;
    bool everyKind;
    bool explanation;
};

class ImpExpRoundTrip : public ImpExpDialog, public ::testing::WithParamInterface<RoundTrip>
{
protected:
    void SetUp() override
    {
        app.Start();
        const std::string sample = app.BookPath("Sample.lnf");
        fs::copy_file(fs::path(LF_SOURCE_DIR) / "samples" / "The Sample Book.lnf", sample);
        app.OpenBookFile("Sample.lnf", EPhase::Edit);
    }
};

TEST_P(ImpExpRoundTrip, QuestionsComeBackWithWhatTheFormatKeeps)
{
    const RoundTrip& trip = GetParam();
    // The sample's questions as they were.
    struct SQuestion
    {
        int kind;
        std::string text;
        std::string rightAnswer;
        std::string explanation;
        std::vector<std::string> grades;
    };
    const auto snapshot = [](CItemsArray2& items, int offset)
    {
        std::vector<SQuestion> questions;
        for (std::int32_t i = offset; i < items.GetCount(); ++i)
        {
            CBaseItem* item = items.GetItem(i);
            SQuestion q{item->GetQuestionType(),
                        PlainText(item->GetQuestionText()),
                        "",
                        PlainText(item->GetGeneralFeedback()),
                        {}};
            for (std::int32_t a = 0; a < item->GetAnswerCount(); ++a)
            {
                SAnswerItem* answer = nullptr;
                if (!item->GetAnswer(a, answer))
                    continue;
                q.grades.push_back(answer->Correct);
            }
            if (item->GetQuestionType() == qtMultipleChoice)
                q.rightAnswer = PlainText(DelimitedAnswerText(item));
            questions.push_back(q);
        }
        return questions;
    };
    const std::vector<SQuestion> original = snapshot(app.Items(), 0);

    auto exporter = MakeDialog();
    ChooseExport(*exporter, trip.exportIndex, File(trip.file));
    Ok();
    exporter->m_ExportBtnClick();
    ASSERT_EQ(app.MessageTexts(), std::vector<std::string>{Tm_ImpExpFrm2::kExported});
    exporter.reset();

    app.Storage().CloseBook();
    app.Storage().NewBook();
    const std::int32_t blank = app.Items().GetCount();
    app.dialogs.messages.clear();
    // The new book is saved when the import asks for it (a book with content files needs its folder).
    Tm_ImpExpFrm2 importerDialog(
        app.Storage(), app.Prefs(),
        [this] { ASSERT_TRUE(app.Storage().SaveBookAs(File("Fresh.lnf"), true)); }, &app.Main());
    Tm_ImpExpFrm2* importer = &importerDialog;
    const std::string written = Tm_ImpExpFrm2::ExportTargetName(trip.exportIndex, File(trip.file));
    ChooseImport(*importer, trip.importIndex, written);
    Ok(trip.importIndex == kImportBookV4 ? 2 : 1);
    importer->m_ImportBtnClick();
    const std::vector<SQuestion> back = snapshot(app.Items(), blank);

    std::vector<SQuestion> expected;
    for (const SQuestion& q : original)
        if (trip.everyKind || q.kind == qtMultipleChoice)
            expected.push_back(q);
    EXPECT_EQ(app.MessageTexts().back(), Tm_ImpExpFrm2::kImported);
    ASSERT_EQ(back.size(), expected.size());
    for (std::size_t i = 0; i < back.size(); ++i)
    {
        EXPECT_EQ(back[i].text, expected[i].text) << i;
        if (trip.everyKind)
        {
            EXPECT_EQ(back[i].kind, expected[i].kind) << i;
            EXPECT_EQ(back[i].grades, expected[i].grades) << expected[i].text;
        }
        else
        {
            EXPECT_EQ(back[i].rightAnswer, expected[i].rightAnswer) << i;
            EXPECT_EQ(back[i].grades, std::vector<std::string>{"1"}) << i;
        }
        if (trip.explanation)
        {
            EXPECT_EQ(back[i].explanation, expected[i].explanation) << i;
        }
    }
}

using lf::test::PrintTo;
INSTANTIATE_TEST_SUITE_P(EveryExportFormat, ImpExpRoundTrip,
                         ::testing::Values(RoundTrip{"MoodleXml", 0, 0, "trip", true, true},
                                           RoundTrip{"ContentBook", 1, kImportBookV4, "trip", true, true},
                                           RoundTrip{"CsvQA", 2, 3, "trip.csv", false, false},
                                           RoundTrip{"CsvQAX", 3, 4, "trip.csv", false, true},
                                           RoundTrip{"FlashCardExchange", 4, 5, "trip.csv", false, true},
                                           RoundTrip{"Quizlet", 5, 6, "trip.txt", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lf::test
