// Printing as the user meets it: File > Print with its settings dialog, the shared preview with its page
// moves, zoom box and Save, the print dialog's choices written to PDF files, and Print Score.
#include "mainwindow/dialogs/PreviewFrm.h"
#include "mainwindow/dialogs/Printprefsdlg.h"
#include "mainwindow/dialogs/Scoredlg.h"
#include "platform/qt/RichPrint.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/support/qt/RecordingDesktop.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <filesystem>
#include <regex>

namespace lf::test
{
namespace
{

using lf::qt::MsgKind;

// The number of pages of a PDF file written by Qt's PDF engine.
int PdfPageCount(const std::string& path)
{
    const std::string pdf = ReadFile(path);
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u) << path;
    const std::regex page("/Type\\s*/Page[^s]");
    return static_cast<int>(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// A book long enough for several pages: forty questions with five answers each.
void ManyQuestions(BookBuilder& book)
{
    book.chapter("Long");
    for (int i = 1; i <= 40; ++i)
        book.multipleChoice("Question number " + std::to_string(i) + "?",
                            {"one", "two", "three", "four", "five"}, 1)
            .explanation("Explanation " + std::to_string(i) + ".");
}

lf::qt::SPrintChoice AllPages(int pages)
{
    lf::qt::SPrintChoice choice;
    choice.maxPage = pages;
    choice.toPage = pages;
    return choice;
}

class Printing : public ::testing::Test
{
protected:
    // The settings dialog's answer: the dialog filled as it shows, the type set, then Print clicked.
    void AnswerSettings(int phase, int filter = 0, int numbers = 0, int mode = 0)
    {
        h.dialogs.AnswerModal(
            [=](QDialog& dialog)
            {
                auto& settings = static_cast<Tm_PrintPrefsDlg&>(dialog);
                settings.FormShow();
                Named<QComboBox>(dialog, "m_pAvtiveModeComboBox")->setCurrentIndex(phase);
                Named<QComboBox>(dialog, "m_pFilterComboBox")->setCurrentIndex(filter);
                Named<QComboBox>(dialog, "m_NumberType")->setCurrentIndex(numbers);
                Named<QComboBox>(dialog, "m_pModeComoBox")->setCurrentIndex(mode);
                Named<QPushButton>(dialog, "m_PrintBtn")->click();
                return dialog.result();
            });
    }
    // The preview's answer: Print, after noting its page count.
    void AnswerPreviewPrint()
    {
        h.dialogs.AnswerModal(
            [this](QDialog& dialog)
            {
                previewPages = static_cast<Tm_pPreviewFrm&>(dialog).PageCount();
                return Tm_pPreviewFrm::kPrint;
            });
    }

    MainWindowHarness h;
    TempDir out;
    int previewPages = 0;
};

TEST_F(Printing, PrintWithoutABookAsksForOneAndGoesToTheEditPhase)
{
    h.OpenBook(ThreeQuestions, EPhase::Test);
    h.Trigger("CloseBook1");
    h.dialogs.AnswerMessage(lf::qt::mrOk);
    h.Trigger("m_PrintBtn");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].text, "Please select a book.");
    EXPECT_EQ(h.dialogs.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(h.Storage().GetPhase(), EPhase::Edit);
    EXPECT_TRUE(h.dialogs.modalWindows.empty());
}

TEST_F(Printing, EachPrintPhaseWritesAPdfOfTheChosenQuestions)
{
    h.OpenBook(ManyQuestions, EPhase::Review);
    int lastPages = 0;
    for (int phase = 0; phase <= 3; ++phase)
    {
        SCOPED_TRACE(phase);
        const std::string pdf = out.file("phase" + std::to_string(phase) + ".pdf");
        AnswerSettings(phase);
        AnswerPreviewPrint();
        // The print dialog is offered pages 1 to the count, all of them chosen.
        h.dialogs.AnswerPrintToPdf(AllPages(0), pdf);
        h.Trigger("Print1");
        ASSERT_TRUE(h.dialogs.AllAnswersUsed());
        ASSERT_GT(previewPages, 1);
        const lf::qt::SPrintChoice offered = h.dialogs.printRequests.back();
        EXPECT_EQ(offered.minPage, 1);
        EXPECT_EQ(offered.maxPage, previewPages);
        EXPECT_EQ(offered.range, lf::qt::SPrintChoice::AllPages);
        EXPECT_EQ(PdfPageCount(pdf), previewPages);
        EXPECT_EQ(h.Prefs().GetPrintPhase(), phase);
        lastPages = previewPages;
    }
    EXPECT_GT(lastPages, 0);
    // The print bit stays on the chosen questions.
    EXPECT_TRUE(h.Items().GetItem(0)->TestStatus(qsPrint));
}

TEST_F(Printing, APageRangePrintsThosePagesOnly)
{
    h.OpenBook(ManyQuestions, EPhase::Test);
    const std::string pdf = out.file("range.pdf");
    AnswerSettings(3);
    AnswerPreviewPrint();
    lf::qt::SPrintChoice range;
    range.range = lf::qt::SPrintChoice::PageNums;
    range.fromPage = 2;
    range.toPage = 3;
    h.dialogs.AnswerPrintToPdf(range, pdf);
    h.Trigger("m_PrintBtn");
    ASSERT_GT(previewPages, 3);
    EXPECT_EQ(PdfPageCount(pdf), 2);
}

TEST_F(Printing, CancellingThePreviewOrThePrintDialogPrintsNothing)
{
    h.OpenBook(ThreeQuestions, EPhase::Test);
    const std::string pdf = out.file("never.pdf");
    AnswerSettings(0);
    h.dialogs.AnswerModal(Tm_pPreviewFrm::kCancel);
    h.Trigger("m_PrintBtn");
    EXPECT_TRUE(h.dialogs.printRequests.empty());

    AnswerSettings(0);
    AnswerPreviewPrint();
    h.dialogs.AnswerPrint(std::nullopt);
    h.Trigger("m_PrintBtn");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(h.dialogs.AllAnswersUsed());

    // Cancel in the settings dialog ends the command before any preview.
    h.dialogs.AnswerModal(Tm_PrintPrefsDlg::kCancel);
    h.Trigger("m_PrintBtn");
    EXPECT_EQ(h.dialogs.modalWindows.back(), "Tm_PrintPrefsDlg");
}

// --- The settings dialog ---

class PrintSettings : public Printing
{
protected:
    void SetUp() override { h.OpenBook(ThreeQuestions, EPhase::Review); }
    std::unique_ptr<Tm_PrintPrefsDlg> Dialog(std::int32_t chapterFilter, EPhase phase)
    {
        auto dialog = std::make_unique<Tm_PrintPrefsDlg>(h.Items(), h.Prefs(), chapterFilter, phase);
        dialog->FormShow();
        return dialog;
    }
    static std::vector<bool> Ticks(Tm_PrintPrefsDlg& dialog)
    {
        std::vector<bool> ticks;
        auto* list = Named<QListWidget>(dialog, "m_MainCategoryListBox");
        for (int i = 0; i < list->count(); ++i)
            ticks.push_back(list->item(i)->checkState() == Qt::Checked);
        return ticks;
    }
};

TEST_F(PrintSettings, OpensOnTheChaptersOfTheFilterAndThePhaseWithItsTextsAsWritten)
{
    auto all = Dialog(kAllCategoriesID, EPhase::Review);
    EXPECT_EQ(all->windowTitle(), "Print Preference");
    // "Unfiled", "One" and "Two".
    EXPECT_EQ(Ticks(*all), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(Named<QCheckBox>(*all, "m_SelectAllCatCheck")->isChecked());
    auto* type = Named<QComboBox>(*all, "m_pAvtiveModeComboBox");
    EXPECT_EQ(type->currentIndex(), 1);
    const std::vector<std::pair<const char*, std::vector<std::string>>> combos = {
        {"m_pAvtiveModeComboBox", {"Test ", "Review", "Flash", "Edit."}},
        {"m_pFilterComboBox",
         {"All", "Marked", "Selected", "Correct", "Incorrect", "Answered", "Unanswered"}},
        {"m_NumberType",
         {"Sequential (1, 2, 3, 4, 5, 6,...)", "Layers (1, 1.1, 1.2, 1.2.1, 1.2.2, 2,  2.1, 2.2,...) "}},
        {"m_pModeComoBox", {"Page Saver", "Presentation"}},
    };
    for (const auto& [name, entries] : combos)
    {
        auto* combo = Named<QComboBox>(*all, name);
        std::vector<std::string> shown;
        for (int i = 0; i < combo->count(); ++i)
            shown.push_back(combo->itemText(i).toStdString());
        EXPECT_EQ(shown, entries) << name;
        EXPECT_FALSE(combo->isEditable()) << name;
    }

    const std::int32_t two = h.Items().GetCategoryIDAt(h.Items().GetOrAddCategoryByName("Two"));
    auto one = Dialog(two, EPhase::None);
    EXPECT_EQ(Ticks(*one), (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(Named<QCheckBox>(*one, "m_SelectAllCatCheck")->isChecked());
    EXPECT_EQ(Named<QComboBox>(*one, "m_pAvtiveModeComboBox")->currentIndex(), -1);
}

TEST_F(PrintSettings, SelectAllAndTheChapterTicksFollowEachOther)
{
    auto dialog = Dialog(kAllCategoriesID, EPhase::Test);
    auto* all = Named<QCheckBox>(*dialog, "m_SelectAllCatCheck");
    all->click();
    EXPECT_EQ(Ticks(*dialog), (std::vector<bool>{false, false, false}));
    auto* list = Named<QListWidget>(*dialog, "m_MainCategoryListBox");
    list->item(0)->setCheckState(Qt::Checked);
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_FALSE(all->isChecked());
    list->item(2)->setCheckState(Qt::Checked);
    EXPECT_TRUE(all->isChecked());
    EXPECT_EQ(Ticks(*dialog), (std::vector<bool>{true, true, true}));
}

TEST_F(PrintSettings, PrintChecksFilterThenTypeThenChaptersAndStaysOpen)
{
    auto dialog = Dialog(kAllCategoriesID, EPhase::None);
    Named<QComboBox>(*dialog, "m_pFilterComboBox")->setCurrentIndex(-1);
    Named<QCheckBox>(*dialog, "m_SelectAllCatCheck")->click();
    auto* print = Named<QPushButton>(*dialog, "m_PrintBtn");
    for (int i = 0; i < 3; ++i)
        h.dialogs.AnswerMessage(lf::qt::mrOk);
    print->click();
    Named<QComboBox>(*dialog, "m_pFilterComboBox")->setCurrentIndex(0);
    print->click();
    Named<QComboBox>(*dialog, "m_pAvtiveModeComboBox")->setCurrentIndex(2);
    print->click();
    EXPECT_EQ(h.MessageTexts(),
              (std::vector<std::string>{"Please select a filter.", "Please select a print mode.",
                                        "Please select the chapter(s)."}));
    for (const auto& message : h.dialogs.messages)
        EXPECT_EQ(message.kind, MsgKind::Warning);
    EXPECT_EQ(dialog->result(), 0); // still open
}

TEST_F(PrintSettings, AChoiceThatTakesNothingIsRefusedWithTheReason)
{
    auto dialog = Dialog(kAllCategoriesID, EPhase::Test);
    Named<QComboBox>(*dialog, "m_pFilterComboBox")->setCurrentIndex(1); // Marked: none is
    h.dialogs.AnswerMessage(lf::qt::mrOk);
    Named<QPushButton>(*dialog, "m_PrintBtn")->click();
    EXPECT_EQ(h.MessageTexts(),
              (std::vector<std::string>{
                  "Your filter was too strict. \n\n Change your filter, and then repeat your request."}));
    EXPECT_EQ(dialog->result(), 0);

    // An empty chapter has no questions at all.
    auto empty = Dialog(h.Items().GetCategoryIDAt(h.Items().GetOrAddCategoryByName("Empty")), EPhase::Test);
    h.dialogs.AnswerMessage(lf::qt::mrOk);
    Named<QPushButton>(*empty, "m_PrintBtn")->click();
    EXPECT_EQ(h.MessageTexts().back(), "There are no questions in that chapter.");

    // A choice that takes questions closes with Print and keeps the numbering and mode.
    auto good = Dialog(kAllCategoriesID, EPhase::Test);
    Named<QComboBox>(*good, "m_NumberType")->setCurrentIndex(1);
    Named<QComboBox>(*good, "m_pModeComoBox")->setCurrentIndex(1);
    Named<QComboBox>(*good, "m_pAvtiveModeComboBox")->setCurrentIndex(3);
    Named<QPushButton>(*good, "m_PrintBtn")->click();
    EXPECT_EQ(good->result(), Tm_PrintPrefsDlg::kPrint);
    EXPECT_EQ(good->GetNumberType(), 1);
    EXPECT_EQ(good->GetModeType(), 1);
    EXPECT_EQ(h.Prefs().GetPrintPhase(), 3);
}

// --- The preview ---

class Preview : public Printing
{
protected:
    Preview() : printer(QPrinter::HighResolution)
    {
        doc.content.AddText("Printed text", 0, 0);
        for (int i = 0; i < 150; ++i)
            doc.content.AddText("Line " + std::to_string(i), 0, 0);
        engine.AssignSource(&doc);
        engine.FormatPages(printer);
        preview = std::make_unique<Tm_pPreviewFrm>(out.folder());
        preview->SetPrint(&engine, &printer);
        preview->SetRichView(&doc);
    }
    QComboBox* Zoom() { return Named<QComboBox>(*preview, "cmb"); }
    void TypeZoom(const char* text)
    {
        Zoom()->setCurrentText(QString::fromLatin1(text));
        preview->cmbExit();
    }
    QLineEdit* PageEdit() { return Named<QLineEdit>(*preview, "m_pPageNum"); }
    void Key(QWidget* target, int key, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
    }

    lf::RichDocument doc;
    QPrinter printer;
    lf::qt::RichPrint engine;
    std::unique_ptr<Tm_pPreviewFrm> preview;
};

TEST_F(Preview, ShowsTheEnginesPagesAndMovesBetweenThem)
{
    ASSERT_GT(engine.PagesCount(), 2);
    EXPECT_EQ(preview->PageCount(), engine.PagesCount());
    EXPECT_EQ(preview->windowTitle(), "Print Preview");
    EXPECT_EQ(Named<QLabel>(*preview, "m_pPagesInfo")->text().toStdString(),
              "of " + std::to_string(engine.PagesCount()));
    auto* first = Named<QToolButton>(*preview, "m_FirstBtn");
    auto* prev = Named<QToolButton>(*preview, "m_PrevBtn");
    auto* next = Named<QToolButton>(*preview, "m_NextBtn");
    auto* last = Named<QToolButton>(*preview, "m_LastBtn");
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(prev->isEnabled());
    next->click();
    EXPECT_EQ(preview->CurrentPage(), 2);
    EXPECT_EQ(PageEdit()->text(), "2");
    EXPECT_TRUE(prev->isEnabled());
    last->click();
    EXPECT_EQ(preview->CurrentPage(), engine.PagesCount());
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(last->isEnabled());
    first->click();
    EXPECT_EQ(preview->CurrentPage(), 1);
}

TEST_F(Preview, ThePageEditTakesDigitsAndJumpsWithinThePages)
{
    RecordingDesktop desktop;
    Key(PageEdit(), Qt::Key_A, "a");
    EXPECT_EQ(desktop.beeps, 1);
    const struct
    {
        const char* typed;
        int page;
    } cases[] = {{"2", 2}, {"0", 1}, {"-4", 1}, {"999", engine.PagesCount()}, {"", engine.PagesCount()}};
    for (const auto& c : cases)
    {
        PageEdit()->setText(QString::fromLatin1(c.typed));
        Key(PageEdit(), Qt::Key_Return);
        EXPECT_EQ(preview->CurrentPage(), c.page) << c.typed;
    }
}

TEST_F(Preview, TheZoomBoxTakesPercentagesAndTheTwoFits)
{
    TypeZoom("75%");
    EXPECT_NEAR(preview->Preview()->zoomFactor(), 0.75, 1e-9);
    EXPECT_EQ(Zoom()->currentText(), "75%");
    TypeZoom("150");
    EXPECT_NEAR(preview->Preview()->zoomFactor(), 1.5, 1e-9);
    EXPECT_EQ(Zoom()->currentText(), "150%");
    TypeZoom("75");
    EXPECT_NEAR(preview->Preview()->zoomFactor(), 0.75, 1e-9);

    h.dialogs.AnswerMessage(lf::qt::mrOk);
    h.dialogs.AnswerMessage(lf::qt::mrOk);
    TypeZoom("5%");
    TypeZoom("many");
    ASSERT_EQ(h.dialogs.messages.size(), 2u);
    EXPECT_EQ(h.dialogs.messages[0], (lf::qt::SMessage{MsgKind::Error, "Please enter number from 10 to 500",
                                                       lf::qt::MsgButtons::Ok, "Scale"}));
    EXPECT_NEAR(preview->Preview()->zoomFactor(), 0.75, 1e-9); // a refused number changes nothing

    TypeZoom("Page width");
    EXPECT_EQ(preview->Preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    TypeZoom(" Full page ");
    EXPECT_EQ(preview->Preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    // Enter in the box applies it and goes no further.
    Zoom()->setCurrentText("50%");
    Key(Zoom(), Qt::Key_Return);
    EXPECT_NEAR(preview->Preview()->zoomFactor(), 0.5, 1e-9);
}

TEST_F(Preview, SaveWritesRtfOrTextByTheExtension)
{
    const std::string folder = out.folder();
    // "x.doc" is no format of the preview's.
    h.dialogs.AnswerSave(folder + "x.doc");
    h.dialogs.AnswerMessage(lf::qt::mrOk);
    Named<QToolButton>(*preview, "m_pSaveBtn")->click();
    EXPECT_EQ(h.dialogs.messages.back(),
              (lf::qt::SMessage{MsgKind::Error, "Unknown file format.", lf::qt::MsgButtons::Ok, {}}));
    EXPECT_FALSE(std::filesystem::exists(folder + "x.doc"));
    const lf::qt::SFileDialog asked = h.dialogs.saveRequests.back();
    EXPECT_EQ(asked.filter, "RTF file|*.rtf|TXT file|*.txt");
    EXPECT_EQ(asked.defaultExt, ".rtf");
    EXPECT_EQ(asked.initialFolder, folder);

    // A bare name takes the default extension and becomes an RTF file.
    h.dialogs.AnswerSave(folder + "x");
    preview->m_pSaveBtnClick();
    ASSERT_TRUE(std::filesystem::exists(folder + "x.rtf"));
    EXPECT_EQ(ReadFile(folder + "x.rtf").rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(ReadFile(folder + "x.rtf").find("Printed text"), std::string::npos);

    h.dialogs.AnswerSave(folder + "x.TXT ");
    h.dialogs.AnswerSave(folder + "x.txt");
    preview->m_pSaveBtnClick();
    preview->m_pSaveBtnClick();
    EXPECT_EQ(ReadFile(folder + "x.txt").rfind("Printed text\nLine 0\n", 0), 0u);

    // An existing file is overwritten only when the user says Yes.
    WriteFile(folder + "x.txt", "old");
    h.dialogs.AnswerSave(folder + "x.txt");
    h.dialogs.AnswerMessage(lf::qt::mrNo);
    preview->m_pSaveBtnClick();
    EXPECT_EQ(h.dialogs.messages.back().text, "File \"" + folder + "x.txt\" exists. Overwrite the file?");
    EXPECT_EQ(h.dialogs.messages.back().kind, MsgKind::Confirmation);
    EXPECT_EQ(ReadFile(folder + "x.txt"), "old");
    h.dialogs.AnswerSave(folder + "x.txt");
    h.dialogs.AnswerMessage(lf::qt::mrYes);
    preview->m_pSaveBtnClick();
    EXPECT_NE(ReadFile(folder + "x.txt"), "old");

    // A file that cannot be written is said to be so.
    h.dialogs.AnswerSave(folder + "missing/x.rtf");
    h.dialogs.AnswerMessage(lf::qt::mrOk);
    preview->m_pSaveBtnClick();
    EXPECT_EQ(h.dialogs.messages.back().text, "Can't save the file \"" + folder + "missing/x.rtf\".");
    EXPECT_EQ(h.dialogs.messages.back().kind, MsgKind::Error);
    EXPECT_TRUE(h.dialogs.AllAnswersUsed());
}

TEST_F(Preview, PrintAndCloseAnswerOneAndTwo)
{
    Named<QToolButton>(*preview, "m_pPrintBtn")->click();
    EXPECT_EQ(preview->result(), Tm_pPreviewFrm::kPrint);
    Named<QToolButton>(*preview, "m_pCancelBtn")->click();
    EXPECT_EQ(preview->result(), Tm_pPreviewFrm::kCancel);
}

// --- Print Score ---

TEST_F(Printing, PrintScoreGoesThroughThePreviewAndPrintsTheReport)
{
    h.OpenBook(ThreeQuestions, EPhase::Test);
    h.StartSession();
    Tm_ScoreDlg score(h.Storage());
    score.FormShow();
    const std::string pdf = out.file("score.pdf");
    h.dialogs.AnswerModal(
        [this](QDialog& dialog)
        {
            auto& preview = static_cast<Tm_pPreviewFrm&>(dialog);
            previewPages = preview.PageCount();
            // No document is given to the score sheet's preview: Save writes only its log line.
            preview.m_pSaveBtnClick();
            return Tm_pPreviewFrm::kPrint;
        });
    h.dialogs.AnswerPrintToPdf(AllPages(0), pdf);
    Named<QPushButton>(score, "m_pPrintBtn")->click();
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(h.LogHas("Tm_pPreviewFrm::m_pSaveBtnClick - ERROR m_pRichView == NULL!"));
    EXPECT_FALSE(h.LogHas("printing is not built yet"));
    EXPECT_TRUE(h.dialogs.saveRequests.empty());
}

} // namespace
} // namespace lf::test
