// Takes the main window through its screens on the sample book, then shows the help pages, the about
// box and the one-value dialog, and saves a picture of each, so the look can be checked by eye:
// lf_screenshot_tour <output folder>. Not a test; not part of the program.
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/Booksfilterfrm.h"
#include "mainwindow/dialogs/Categoryeditfrm.h"
#include "mainwindow/dialogs/HelpPages.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Impexpfrm2.h"
#include "mainwindow/dialogs/MoveToTrashAskDlg.h"
#include "mainwindow/dialogs/NewVersionNotification.h"
#include "mainwindow/dialogs/Onevaluefrm.h"
#include "mainwindow/dialogs/Prefsfrm.h"
#include "mainwindow/dialogs/PreviewFrm.h"
#include "mainwindow/dialogs/Printprefsdlg.h"
#include "mainwindow/dialogs/Renumberdlg.h"
#include "mainwindow/dialogs/Restorefrm.h"
#include "mainwindow/dialogs/Scoredlg.h"
#include "mainwindow/dialogs/Selectionfrm.h"
#include "mainwindow/dialogs/Skins.h"
#include "mainwindow/dialogs/Timerfrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/frame/Application.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/frame/MainfrmProbe.h"
#include "mainwindow/rules/PrintDocument.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/support/Registry.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/RichPrint.h"
#include "platform/qt/RichView.h"
#include "platform/richtext/RtfExport.h"
#include "tests/support/ScratchHome.h"
#include "ui_Impexpfrm2.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <iostream>
#include <optional>
#include <string>

namespace
{

// A control of a window by its object name.
template <class T> T* Named(QObject& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

// A button of the main window clicked, or an action of that name triggered.
void Click(Tm_MainFrm& main, const char* name)
{
    for (auto* button : main.findChildren<QAbstractButton*>(QString::fromLatin1(name)))
        if (button->window() == &main)
        {
            button->click();
            return;
        }
    if (QAction* action = Tm_MainFrmProbe(main).FindAction(name))
        action->trigger();
}

// The screen around a window and the windows over it, where the platform can grab the screen.
void SaveScreen(const QRect& area, const QString& folder, const char* name)
{
    QApplication::processEvents();
    if (QScreen* screen = QGuiApplication::primaryScreen())
    {
        screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .save(folder + "/" + name + ".png");
        std::cout << (folder + "/" + name + ".png").toStdString() << "\n";
    }
}

void Save(QWidget& widget, const QString& folder, const char* name)
{
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    widget.grab().save(path);
    std::cout << path.toStdString() << "\n";
}

// Answers every message with OK and cancels every other dialog, so a window can run its commands
// unattended.
class AnsweringDialogs final : public lf::qt::Dialogs
{
public:
    int Message(lf::qt::MsgKind, const std::string&, lf::qt::MsgButtons, const std::string&) override
    {
        return lf::qt::mrOk;
    }
    std::optional<std::string> OpenFile(const lf::qt::SFileDialog&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const lf::qt::SFileDialog&) override { return std::nullopt; }
    std::optional<std::string> PickFolder(QWidget*, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    bool ChooseFont(QWidget*, lf::qt::SFontChoice&) override { return false; }
    bool ChoosePrint(QWidget*, QPrinter&, lf::qt::SPrintChoice&) override { return false; }
    int RunModal(QDialog&) override { return lf::qt::mrCancel; }
};

// Lets events run as the storage asks, and takes one picture of the dialog once its import is halfway.
class HalfwayPicture final : public IEventPump
{
public:
    HalfwayPicture(Tm_ImpExpFrm2& dialog, QString folder) : m_dialog(dialog), m_folder(std::move(folder)) {}
    void ProcessPendingEvents() override
    {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!m_taken && m_dialog.Form().m_ProgressBar->value() >= 50)
        {
            m_taken = true;
            Save(m_dialog, m_folder, "import_export_2_importing");
        }
    }

private:
    Tm_ImpExpFrm2& m_dialog;
    QString m_folder;
    bool m_taken = false;
};

// Clicks an answer row of the question shown, as the user would with the mouse.
void ClickAnswerRow(Tm_MainFrm& main, int row)
{
    lf::qt::RichView* view = Tm_MainFrmProbe(main).QuestionView();
    const lf::RichDocument& doc = view->Document();
    for (int i = 0; i < doc.ItemCount(); ++i)
        if (doc.content.items[static_cast<std::size_t>(i)].IsTable())
        {
            const QPoint at =
                view->CellRect(i, row, 1).center() - QPoint(0, view->verticalScrollBar()->value());
            const QPointF global = view->viewport()->mapToGlobal(QPointF(at));
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                              {});
            QApplication::sendEvent(view->viewport(), &press);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                                {});
            QApplication::sendEvent(view->viewport(), &release);
            return;
        }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: lf_screenshot_tour <output folder> [sample book]\n";
        return 2;
    }
    const QString out = QDir(argv[1]).absolutePath();
    const std::string sample =
        argc > 2 ? argv[2] : std::string(LF_SOURCE_DIR) + "/samples/The Sample Book.lnf";
    const auto home = lf::test::EnterScratchHome();
    QApplication app(argc, argv);
    PrepareApplication();
    QDir().mkpath(out);
    const std::string books = QDir::homePath().toStdString() + "/Books/";
    QDir().mkpath(QString::fromStdString(books));
    QFile::copy(QString::fromStdString(sample), QString::fromStdString(books + "The Sample Book.lnf"));
    WriteValueToRegistry2("BooksDirectory", books);
    WriteValueToRegistry("EnabledAutoUpdate", 0);
    {
        CApplicationWindows windows;
        Tm_MainFrm& main = windows.MainFrm();
        const Tm_MainFrmProbe probe(main);
        main.FormShow({});
        main.resize(1100, 760);
        main.show();
        Save(main, out, "1_intro");
        // The intro screen in each shipped skin, at half size: the skins' preview pictures are made of these.
        for (const char* skin : {"Graphite.ssk", "Sandstone/Sandstone.ssk"})
        {
            CPrefs& prefs = windows.Prefs();
            prefs.m_EnableSkin = true;
            prefs.m_UseDefaultSkin = false;
            prefs.m_ExternalSkinPath = std::string(LF_SOURCE_DIR) + "/resources/Skins/" + skin;
            ApplySkin(prefs);
            QApplication::processEvents();
            const QString name = QFileInfo(QString::fromLatin1(skin)).baseName();
            main.grab(QRect(0, 0, 660, 456))
                .scaled(330, 228, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .save(out + "/skin_preview_" + name + ".png");
            prefs.m_UseDefaultSkin = true;
            ApplySkin(prefs);
        }

        Click(main, "m_LearnMaterialBtn");
        Save(main, out, "2_flash_session_panel");
        probe.BookComboBox()->showPopup();
        Save(*probe.TreeViewPopupForm(), out, "3_book_tree");
        probe.TreeViewPopupForm()->SelectNode(0, 0);
        probe.TreeViewPopupForm()->close();
        QApplication::processEvents();
        Save(main, out, "4_flash_book_chosen");
        Click(main, "m_StartSessionBtn");
        Save(main, out, "5_flash_first_question");
        Click(main, "m_AnswerBtn");
        Save(main, out, "6_flash_answers");
        Click(main, "m_ExplainBtn");
        Save(main, out, "7_flash_explanation");
        Click(main, "m_EditBtn");
        Save(main, out, "8_edit_session_panel");

        // The book commands' windows: the restore dialog over four copies of the open book, the books
        // filter over a few more books sorted by their modification date, the book tree under its combo.
        const QString temp = QString::fromStdString(books) + "Temp/";
        QDir().mkpath(temp);
        for (int i = 1; i <= 4; ++i)
        {
            const QString copy = temp + QString("The Sample Book_(2026_12_0%1_10_15_3%1).bnf").arg(i);
            QFile::copy(QString::fromStdString(sample), copy);
            QFile file(copy);
            file.open(QIODevice::ReadWrite);
            file.setFileTime(QDateTime(QDate(2026, 12, i), QTime(10, 15, 30 + i)),
                             QFileDevice::FileModificationTime);
        }
        probe.RestoreFrm().FormShow();
        probe.RestoreFrm().show();
        Named<QTreeWidget>(probe.RestoreFrm(), "m_pBackupFileListView")->topLevelItem(1)->setSelected(true);
        Save(probe.RestoreFrm(), out, "10_restore_dialog");
        probe.RestoreFrm().hide();
        for (const char* name : {"Biology.lnf", "Chemistry.lnf", "History/World History.lnf"})
        {
            QDir().mkpath(QString::fromStdString(books) + "History");
            QFile::copy(QString::fromStdString(sample), QString::fromStdString(books) + name);
        }
        windows.DataStorage().ReloadBookList();
        probe.BooksFilterFrm().FormShow();
        emit Named<QTreeWidget>(probe.BooksFilterFrm(), "m_pBooksListView")->header()->sectionClicked(3);
        probe.BooksFilterFrm().show();
        Save(probe.BooksFilterFrm(), out, "11_books_filter");
        probe.BooksFilterFrm().hide();
        probe.OnUpdateSeesionView();
        probe.BookComboBox()->showPopup();
        QApplication::processEvents();
        if (QScreen* screen = QGuiApplication::primaryScreen())
        {
            const QRect area = main.frameGeometry().united(probe.TreeViewPopupForm()->frameGeometry());
            screen
                ->grabWindow(0, area.x(), area.y(), std::min(area.width(), 700), std::min(area.height(), 520))
                .save(out + "/12_book_tree_under_combo.png");
        }
        probe.TreeViewPopupForm()->close();
        Click(main, "m_TestBtn");
        Click(main, "m_pTimerCheckBox");
        Save(main, out, "9_test_session_panel");
        // A Test session on the multiple-answer question with two rows chosen: the chosen pictures are wider
        // than the letters' column.
        Click(main, "m_pTimerCheckBox");
        Click(main, "m_StartSessionBtn");
        CItemsArray2& items = *windows.DataStorage().GetItemsPtr2();
        items.First();
        for (int skip = 2; !(items.GetCurrentItem()->GetQuestionType() == qtMultipleChoice && skip-- == 0);)
            if (!items.Next())
                break;
        probe.SetActiveView(EView::Question, 255, 1);
        Click(main, "m_AnswerBtn");
        ClickAnswerRow(main, 0);
        ClickAnswerRow(main, 2);
        Save(main, out, "13_test_multiple_chosen");
        // The dialogs of a session: the score, the study clock and the chapter editor.
        {
            Tm_ScoreDlg score(windows.DataStorage(), &main);
            score.show();
            Save(score, out, "14_score_dialog");
            // The score sheet as Print Score prints it.
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out + "/print_score.pdf");
            std::vector<QImage> squares;
            for (int square = 0; square < lf::qt::kLegendSquareCount; ++square)
                squares.push_back(lf::qt::LegendSquare(square));
            lf::qt::RichPrint engine;
            engine.AssignSource(&score.Report(), squares);
            engine.FormatPages(printer);
            engine.Print(printer, "Lernfold The Sample Book");
            Tm_TimerFrm clock(items, &main);
            clock.show();
            Save(clock, out, "15_study_clock");
            Tm_CategoryEditFrm chapters(items, &main);
            chapters.show();
            Save(chapters, out, "16_chapter_editor");
        }
        // Printing: the settings dialog, the preview of the questions, and the printed pages of every
        // print phase as PDF files (with the RTF and text files of the same documents) beside the pictures.
        {
            Tm_PrintPrefsDlg settings(items, windows.Prefs(), kAllCategoriesID, EPhase::Test, &main);
            settings.show();
            Save(settings, out, "19_print_settings");
            std::vector<std::int32_t> chapters;
            for (const auto& entry : FillCategoryList(items, false, false, false))
                chapters.push_back(entry.second);
            lf::print::MarkItemsForPrinting(items, chapters, 0);
            std::vector<QImage> pictures;
            for (int i = 0; i < lf::qt::kAnswerPictureCount; ++i)
                pictures.push_back(lf::qt::AnswerPicture(i));
            const char* const phases[] = {"test", "review", "flash", "edit"};
            for (int phase = 0; phase <= 3; ++phase)
            {
                lf::print::SPrintSettings print;
                print.printPhase = PhaseFromNumber(phase);
                lf::print::CItemLayerSortArray order;
                lf::print::BuildPrintOrder(items, print.printPhase, order);
                lf::RichDocument doc(lf::print::PrintStyleSheet());
                CFormulaManager manager;
                lf::print::BuildPrintDocument(doc, order, print, manager);
                QPrinter printer(QPrinter::HighResolution);
                printer.setOutputFormat(QPrinter::PdfFormat);
                const QString base = out + "/print_" + phases[phase];
                printer.setOutputFileName(base + ".pdf");
                lf::qt::RichPrint engine;
                engine.AssignSource(&doc, pictures);
                engine.FormatPages(printer);
                engine.Print(printer, "Lernfold The Sample Book");
                lf::SaveRtfFile((base + ".rtf").toStdString(), doc, lf::qt::RtfPicturesOf(pictures));
                lf::SaveTextFile((base + ".txt").toStdString(), doc, 1024);
                if (phase == 1)
                {
                    QPrinter screenPrinter(QPrinter::HighResolution);
                    engine.FormatPages(screenPrinter);
                    Tm_pPreviewFrm preview(books, &main);
                    preview.SetPrint(&engine, &screenPrinter);
                    preview.SetRichView(&doc);
                    preview.resize(1000, 760);
                    preview.show();
                    preview.hide();
                    preview.showNormal();
                    preview.resize(1000, 760);
                    Save(preview, out, "20_print_preview");
                    Named<QComboBox>(preview, "cmb")->setCurrentText("Page width");
                    preview.cmbExit();
                    preview.m_NextBtnClick();
                    Save(preview, out, "21_print_preview_page_width");
                }
            }
        }
        // The import and export dialog as it opens, and halfway through the import of a long CSV file.
        {
            AnsweringDialogs answers;
            lf::qt::SetDialogs(&answers);
            Tm_ImpExpFrm2 exchange(windows.DataStorage(), windows.Prefs(), {}, &main);
            exchange.show();
            Save(exchange, out, "import_export_1_open");
            const QString csv = out + "/tour-import.csv";
            {
                QFile file(csv);
                file.open(QIODevice::WriteOnly);
                for (int row = 1; row <= 3000; ++row)
                    file.write(QStringLiteral("Question %1?,Answer %1\r\n").arg(row).toUtf8());
            }
            Ui::Tm_ImpExpFrm2& form = exchange.Form();
            form.m_ImportFormatList->setCurrentIndex(3);
            emit form.m_ImportFormatList->activated(3);
            form.m_ImpotrFileNameStr->setText(csv);
            form.m_ExportFormatList->setCurrentIndex(0);
            emit form.m_ExportFormatList->activated(0);
            form.m_ExpotrFileNameStr->setText(out + "/tour-export.xml");
            HalfwayPicture halfway(exchange, out);
            IEventPump* pump = windows.DataStorage().GetEventPump();
            windows.DataStorage().SetEventPump(&halfway);
            exchange.m_ImportBtnClick();
            windows.DataStorage().SetEventPump(pump);
            Save(exchange, out, "import_export_3_done");
            QFile::remove(csv);
            lf::qt::SetDialogs(nullptr);
        }
        // The sample book in a large field font: its texts in the default style follow the options.
        windows.Prefs().m_FieldFontName = "DejaVu Serif";
        windows.Prefs().m_FieldFontSize = 20;
        main.ApplyFieldFont();
        items.First();
        probe.SetActiveView(EView::Question, 255, 1);
        Save(main, out, "17_large_field_font");
        Click(main, "m_AnswerBtn");
        Save(main, out, "18_large_field_font_answers");
        // The preferences over the main window with each skin the program ships.
        {
            const QString kept = QDir::currentPath();
            QDir::setCurrent(QString(LF_SOURCE_DIR) + "/resources");
            CPrefs& prefs = windows.Prefs();
            int shot = 19;
            for (const char* skin : {"None", "Default", "Graphite", "Sandstone"})
            {
                Tm_PrefsFrm dialog(prefs, windows.DataStorage(), &main);
                dialog.show();
                auto* list = Named<QListWidget>(dialog, "m_pSkinList");
                const auto rows = list->findItems(skin, Qt::MatchExactly);
                if (!rows.isEmpty())
                    list->setCurrentItem(rows.front());
                dialog.m_OkBtnClick();
                ApplySkin(prefs);
                dialog.hide();
                dialog.show();
                const std::string name = std::to_string(shot++) + "_preferences_skin_" + skin;
                SaveScreen(main.frameGeometry(), out, name.c_str());
                dialog.hide();
            }
            prefs.m_EnableSkin = true;
            prefs.m_UseDefaultSkin = true;
            ApplySkin(prefs);
            QDir::setCurrent(kept);
        }
        // The filter bar after three moves: its chapter label names the question on show.
        items.First();
        probe.SetActiveView(EView::Question, 255, 1);
        for (int i = 0; i < 3; ++i)
            Click(main, "m_NextBtn");
        Save(main, out, "23_filter_bar_after_three_nexts");
        // A typed answer after key A, in the Moodle style that shows every kind.
        windows.Prefs().m_ViewMode = 3;
        items.Refilter(false);
        items.First();
        while (items.GetCurrentItem() && items.GetCurrentItem()->GetQuestionType() != qtShortAnswer &&
               items.GetCurrentItem()->GetQuestionType() != qtNumerical && items.Next())
        {
        }
        probe.SetActiveView(EView::Question, 255, 1);
        main.activateWindow();
        QApplication::setActiveWindow(&main);
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &main, Qt::Key_A);
        QTest::keyClicks(QApplication::focusWidget(), "Paris");
        Save(main, out, "24_typed_answer_after_key_a");
        // The Edit phase with the list window still a stand-in, in a narrow window.
        Click(main, "m_EditBtn");
        probe.BookComboBox()->showPopup();
        probe.TreeViewPopupForm()->SelectNode(0, 0);
        probe.TreeViewPopupForm()->close();
        QApplication::processEvents();
        Click(main, "m_StartSessionBtn");
        Save(main, out, "25_edit_session");
        main.resize(700, 760);
        Save(main, out, "26_edit_session_narrow");
        main.close();
    }
    // The help pages and the small dialogs.
    for (const char* page : {"Tutorial", "Test", "Review", "Flash", "Edit"})
    {
        Tm_pHelpFrm help;
        LoadHelpPage(help.RichView(), std::string(LF_SOURCE_DIR) + "/resources/Help/" + page + ".rvf");
        help.show();
        Save(help, out, (std::string("help_") + page).c_str());
    }
    {
        TCAboutFrm about;
        about.show();
        Save(about, out, "about");
        Tm_OneValueFrm value;
        value.setWindowTitle("Hyperlink");
        value.SetDescription("Enter the address the link opens, for example a web page:");
        value.SetValue("https://lernfold.example/help");
        value.show();
        Save(value, out, "one_value");
    }
    // The windows other commands open: renumbering, the region frame, the trash question, the new
    // version's notification and Home Page Books.
    {
        Tm_pRenumberDlg renumber;
        renumber.m_pLayerStr()->setText("1.2.");
        renumber.show();
        Save(renumber, out, "renumber");
        TCSelectionFrm region;
        region.show();
        region.resize(400, 300);
        SaveScreen(region.frameGeometry().adjusted(-40, -60, 40, 40), out, "region_frame");
        region.hide();
        TCMoveQuestionToRecycleBinAskDlg ask;
        ask.m_pMessage()->setText(
            "Deleting a question in the Trash will permanently delete it from the book. "
            "Are you sure you want to delete this question?");
        ask.show();
        Save(ask, out, "trash_question");
        CPrefs prefs;
        Tm_NewVersionNotification note(prefs);
        note.SetVersionInfo("4.10 (Build 700)", "https://lernfold.example/download");
        note.show();
        Save(note, out, "new_version");
        prefs.m_BooksDisplay[0] = "Biology";
        prefs.m_BooksPath[0] = "/home/user/Books/Biology.lnf";
        TCBooksPathPrefsFrm books(prefs);
        books.show();
        Save(books, out, "home_page_books");
    }
    lf::test::LeaveScratchHome(home);
    return 0;
}
