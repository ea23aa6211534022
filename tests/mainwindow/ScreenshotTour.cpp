// Takes the main window through its screens on the sample book, then shows the help pages, the about
// box and the one-value dialog, and saves a picture of each, so the look can be checked by eye:
// lf_screenshot_tour <output folder>. Not a test; not part of the program.
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/Booksfilterfrm.h"
#include "mainwindow/dialogs/HelpPages.h"
#include "mainwindow/dialogs/Helpfrm.h"
#include "mainwindow/dialogs/Onevaluefrm.h"
#include "mainwindow/dialogs/Restorefrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/frame/Application.h"
#include "mainwindow/frame/Mainfrm.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/support/Registry.h"
#include "platform/qt/RichView.h"
#include "tests/support/ScratchHome.h"
#include "ui_Mainfrm.h"
#include "ui_Restorefrm.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>

#include <iostream>
#include <string>

namespace
{

void Save(QWidget& widget, const QString& folder, const char* name)
{
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    widget.grab().save(path);
    std::cout << path.toStdString() << "\n";
}

// Clicks an answer row of the question shown, as the user would with the mouse.
void ClickAnswerRow(Tm_MainFrm& main, int row)
{
    lf::qt::RichView* view = main.QuestionView();
    const lf::RichDocument& doc = view->Document();
    for (int i = 0; i < doc.ItemCount(); ++i)
        if (doc.content.items[static_cast<std::size_t>(i)].IsTable())
        {
            const QPoint at =
                view->CellRect(i, row, 1).center() - QPoint(0, view->verticalScrollBar()->value());
            main.m_DescriptionViewStrRVMouseDown(Qt::LeftButton, {}, at);
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
        main.FormShow({});
        main.resize(1100, 760);
        main.show();
        Save(main, out, "1_intro");

        main.m_LearnMaterialBtnClick();
        Save(main, out, "2_flash_session_panel");
        main.BookComboBox()->showPopup();
        Save(*main.TreeViewPopupForm(), out, "3_book_tree");
        main.TreeViewPopupForm()->SelectNode(0, 0);
        main.TreeViewPopupForm()->close();
        QApplication::processEvents();
        Save(main, out, "4_flash_book_chosen");
        main.m_StartSessionBtnClick();
        Save(main, out, "5_flash_first_question");
        main.Form().m_AnswerBtn->click();
        Save(main, out, "6_flash_answers");
        main.Form().m_ExplainBtn->click();
        Save(main, out, "7_flash_explanation");
        main.m_EditBtnClick();
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
        main.RestoreFrm().FormShow();
        main.RestoreFrm().show();
        main.RestoreFrm().Form().m_pBackupFileListView->topLevelItem(1)->setSelected(true);
        Save(main.RestoreFrm(), out, "10_restore_dialog");
        main.RestoreFrm().hide();
        for (const char* name : {"Biology.lnf", "Chemistry.lnf", "History/World History.lnf"})
        {
            QDir().mkpath(QString::fromStdString(books) + "History");
            QFile::copy(QString::fromStdString(sample), QString::fromStdString(books) + name);
        }
        main.DataStorage().ReloadBookList();
        main.BooksFilterFrm().FormShow();
        main.BooksFilterFrm().m_pBooksListViewColumnClick(3);
        main.BooksFilterFrm().show();
        Save(main.BooksFilterFrm(), out, "11_books_filter");
        main.BooksFilterFrm().hide();
        main.OnUpdateSeesionView();
        main.BookComboBox()->showPopup();
        QApplication::processEvents();
        if (QScreen* screen = QGuiApplication::primaryScreen())
        {
            const QRect area = main.frameGeometry().united(main.TreeViewPopupForm()->frameGeometry());
            screen
                ->grabWindow(0, area.x(), area.y(), std::min(area.width(), 700), std::min(area.height(), 520))
                .save(out + "/12_book_tree_under_combo.png");
        }
        main.TreeViewPopupForm()->close();
        main.m_TestBtnClick();
        main.Form().m_pTimerCheckBox->setChecked(true);
        main.m_pSessionViewCheckBoxClick();
        Save(main, out, "9_test_session_panel");
        // A Test session on the multiple-answer question with two rows chosen: the chosen pictures are wider
        // than the letters' column.
        main.Form().m_pTimerCheckBox->setChecked(false);
        main.m_StartSessionBtnClick();
        CItemsArray2& items = *main.DataStorage().GetItemsPtr2();
        items.First();
        for (int skip = 2; !(items.GetCurrentItem()->GetQuestionType() == qtMultipleChoice && skip-- == 0);)
            if (!items.Next())
                break;
        main.SetActiveView(EView::Question, 255, 1);
        main.Form().m_AnswerBtn->click();
        ClickAnswerRow(main, 0);
        ClickAnswerRow(main, 2);
        Save(main, out, "13_test_multiple_chosen");
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
    lf::test::LeaveScratchHome(home);
    return 0;
}
