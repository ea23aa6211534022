// Shows the help pages, the about box and the one-value dialog and saves a picture of each, so their
// look can be checked by eye: lf_help_shots <output folder>. Not a test; not part of the program.
#include "mainwindow/Aboutfrm.h"
#include "mainwindow/Application.h"
#include "mainwindow/Helpfrm.h"
#include "mainwindow/Onevaluefrm.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <iostream>
#include <string>

namespace
{

void Save(QWidget& widget, const QString& folder, const QString& name)
{
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    widget.grab().save(path);
    std::cout << path.toStdString() << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: lf_help_shots <output folder>\n";
        return 2;
    }
    QApplication app(argc, argv);
    PrepareApplication();
    const QString out = QDir(argv[1]).absolutePath();
    QDir().mkpath(out);
    for (const char* page : {"Tutorial", "Test", "Review", "Flash", "Edit"})
    {
        Tm_pHelpFrm help;
        help.LoadPage(std::string(LF_HELP_DIR) + "/" + page + ".rvf");
        help.show();
        Save(help, out, QString("help_") + page);
    }
    TCAboutFrm about;
    about.show();
    Save(about, out, "about");
    Tm_OneValueFrm value;
    value.setWindowTitle("Hyperlink");
    value.SetDescription("Enter the address the link opens, for example a web page:");
    value.SetValue("https://lernfold.example/help");
    value.show();
    Save(value, out, "one_value");
    return 0;
}
