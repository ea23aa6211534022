#include "platform/qt/Dialogs.h"

#include "platform/qt/Desktop.h"
#include "platform/qt/QtFormat.h"
#include "platform/qt/QtText.h"
#include "platform/sys/PathText.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace lf::qt
{

namespace
{

Dialogs* g_dialogs = nullptr;

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

QMessageBox::Icon IconOf(MsgKind kind)
{
    switch (kind)
    {
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons)
{
    switch (buttons)
    {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::OkIgnore:
        return QMessageBox::Ok | QMessageBox::Ignore;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The font dialog of the platform has no colour; this one puts a colour button under it.
class FontColorDialog : public QDialog
{
public:
    FontColorDialog(QWidget* owner, const QFont& font, const QColor& color) : QDialog(owner), m_color(color)
    {
        setWindowTitle(QStringLiteral("Font"));
        m_font = new QFontDialog(this);
        m_font->setWindowFlags(Qt::Widget);
        m_font->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        m_font->setCurrentFont(font);

        auto* colorRow = new QHBoxLayout;
        colorRow->addWidget(new QLabel(QStringLiteral("Color:"), this));
        m_colorButton = new QPushButton(this);
        m_colorButton->setObjectName(QStringLiteral("colorButton"));
        colorRow->addWidget(m_colorButton);
        colorRow->addStretch();
        ShowColor();
        connect(m_colorButton, &QPushButton::clicked, this,
                [this]
                {
                    CommandGuardSuspend modal;
                    const QColor chosen = QColorDialog::getColor(m_color, this, QStringLiteral("Color"));
                    if (chosen.isValid())
                    {
                        m_color = chosen;
                        m_colorChosen = true;
                        ShowColor();
                    }
                });

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_font);
        layout->addLayout(colorRow);
        layout->addWidget(buttons);
    }

    QFont Font() const { return m_font->currentFont(); }
    QColor Color() const { return m_color; }
    bool ColorChosen() const { return m_colorChosen; }

private:
    void ShowColor()
    {
        m_colorButton->setText(m_color.name());
        m_colorButton->setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                                         .arg(m_color.name(), m_color.lightness() < 128 ? "white" : "black"));
    }

    QFontDialog* m_font;
    QPushButton* m_colorButton;
    QColor m_color;
    bool m_colorChosen = false;
};

class QtDialogs final : public Dialogs
{
public:
    int Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                const std::string& caption) override
    {
        QMessageBox box(IconOf(kind), ToQString(caption.empty() ? DefaultCaption(kind) : caption),
                        ToQString(Replace(text, "\r\n", "\n")), ButtonsOf(buttons),
                        QApplication::activeWindow());
        const int escape = EscapeAnswer(buttons);
        box.setEscapeButton(escape == mrCancel ? QMessageBox::Cancel
                                               : (escape == mrNo ? QMessageBox::No : QMessageBox::Ok));
        CommandGuardSuspend modal;
        box.exec();
        switch (box.standardButton(box.clickedButton()))
        {
        case QMessageBox::Ok:
            return mrOk;
        case QMessageBox::Cancel:
            return mrCancel;
        case QMessageBox::Ignore:
            return mrIgnore;
        case QMessageBox::Yes:
            return mrYes;
        case QMessageBox::No:
            return mrNo;
        default:
            return mrCancel;
        }
    }

    std::optional<std::string> OpenFile(const SFileDialog& dialog) override
    {
        return RunFileDialog(dialog, QFileDialog::AcceptOpen);
    }

    std::optional<std::string> SaveFile(const SFileDialog& dialog) override
    {
        return RunFileDialog(dialog, QFileDialog::AcceptSave);
    }

    std::optional<std::string> PickFolder(QWidget* owner, const std::string& title,
                                          const std::string& initialFolder) override
    {
        CommandGuardSuspend modal;
        const QString folder =
            QFileDialog::getExistingDirectory(owner, ToQString(title), ToQString(initialFolder));
        if (folder.isEmpty())
            return std::nullopt;
        return lf::sys::WithSlash(ToStdString(folder));
    }

    bool ChooseFont(QWidget* owner, SFontChoice& font) override
    {
        // The dialog lists the families this machine has: a name it lacks ("Arial") starts from the
        // family that stands in for it, and stays as it was when the user keeps that family.
        QFont start = ToQFont(font);
        const QString shownFamily = QFontInfo(start).family();
        start.setFamily(shownFamily);
        FontColorDialog dialog(owner, start, ToQColor(font.color));
        CommandGuardSuspend modal;
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const std::string name = font.name;
        FromQFont(dialog.Font(), font);
        if (dialog.Font().family() == shownFamily)
            font.name = name;
        if (dialog.ColorChosen()) // an untouched system colour stays the system colour
            font.color = FromQColor(dialog.Color());
        return true;
    }

    bool ChoosePrint(QWidget* owner, QPrinter& printer, SPrintChoice& choice) override
    {
        if (QPrinterInfo::availablePrinters().isEmpty() && printer.outputFormat() == QPrinter::NativeFormat)
        {
            // No printer: the dialog offers a PDF file (its name proposed by the dialog).
            printer.setOutputFormat(QPrinter::PdfFormat);
        }
        printer.setCopyCount(choice.copies);
        printer.setCollateCopies(choice.collate);
        QPrintDialog dialog(&printer, owner);
        dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                          QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
        dialog.setMinMax(choice.minPage, choice.maxPage);
        dialog.setFromTo(choice.fromPage, choice.toPage);
        dialog.setPrintRange(choice.range == SPrintChoice::PageNums ? QAbstractPrintDialog::PageRange
                                                                    : QAbstractPrintDialog::AllPages);
        CommandGuardSuspend modal;
        if (dialog.exec() != QDialog::Accepted)
            return false;
        choice.range = dialog.printRange() == QAbstractPrintDialog::PageRange ? SPrintChoice::PageNums
                                                                              : SPrintChoice::AllPages;
        choice.fromPage = dialog.fromPage();
        choice.toPage = dialog.toPage();
        choice.copies = printer.copyCount();
        choice.collate = printer.collateCopies();
        ApplyPrintChoice(printer, choice);
        return true;
    }

    int RunModal(QDialog& dialog) override
    {
        CommandGuardSuspend modal;
        const int result = dialog.exec();
        return result == QDialog::Rejected ? mrCancel : result;
    }

private:
    std::optional<std::string> RunFileDialog(const SFileDialog& request, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(request.owner, ToQString(request.title));
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        if (!request.initialFolder.empty())
            dialog.setDirectory(ToQString(request.initialFolder));
        const QString filters = ToQString(ToQtFileFilter(request.filter));
        if (!filters.isEmpty())
            dialog.setNameFilters(filters.split(QStringLiteral(";;")));
        std::string ext = request.defaultExt;
        if (!ext.empty() && ext.front() == '.')
            ext.erase(0, 1);
        dialog.setDefaultSuffix(ToQString(ext));
        if (!request.fileName.empty())
            dialog.selectFile(ToQString(request.fileName));
        CommandGuardSuspend modal;
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return ApplyDefaultExtension(ToStdString(dialog.selectedFiles().constFirst()), request.defaultExt);
    }
};

} // namespace

Dialogs::~Dialogs() = default;

Dialogs& CurrentDialogs()
{
    static QtDialogs real;
    return g_dialogs != nullptr ? *g_dialogs : real;
}

void SetDialogs(Dialogs* dialogs)
{
    g_dialogs = dialogs;
}

int MessageDlg(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& caption)
{
    return CurrentDialogs().Message(kind, text, buttons, caption);
}

void ShowMessage(const std::string& text)
{
    CurrentDialogs().Message(MsgKind::Information, text, MsgButtons::Ok);
}

int EscapeAnswer(MsgButtons buttons)
{
    switch (buttons)
    {
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
        return mrCancel;
    case MsgButtons::YesNo:
        return mrNo;
    case MsgButtons::Ok:
    case MsgButtons::OkIgnore:
        return mrOk;
    }
    return mrCancel;
}

std::string DefaultCaption(MsgKind kind)
{
    switch (kind)
    {
    case MsgKind::Warning:
        return "Warning";
    case MsgKind::Error:
        return "Error";
    case MsgKind::Information:
        return "Information";
    case MsgKind::Confirmation:
        return "Confirm";
    }
    return {};
}

std::string ToQtFileFilter(const std::string& filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size() && !filter.empty())
    {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::string result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
    {
        const std::string& name = parts[i];
        const std::string patterns = Replace(parts[i + 1], ";", " ");
        std::string entry = name;
        const std::string shown = "(" + patterns + ")";
        if (name.size() < shown.size() || name.compare(name.size() - shown.size(), shown.size(), shown) != 0)
            entry += (name.empty() ? "" : " ") + shown;
        if (!result.empty())
            result += ";;";
        result += entry;
    }
    return result;
}

std::string ApplyDefaultExtension(const std::string& path, const std::string& defaultExt)
{
    std::string ext = defaultExt;
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    if (ext.empty() || path.empty())
        return path;
    const std::string name = lf::sys::NamePart(path);
    // A leading dot makes a hidden file, not an extension; a trailing dot is no extension either.
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0 && dot + 1 < name.size())
        return path;
    if (!name.empty() && name.back() == '.')
        return path + ext;
    return path + "." + ext;
}

void ApplyPrintChoice(QPrinter& printer, const SPrintChoice& choice)
{
    if (choice.range == SPrintChoice::PageNums)
        printer.setFromTo(choice.fromPage, choice.toPage);
    else
        printer.setFromTo(0, 0);
    printer.setCopyCount(choice.copies);
    printer.setCollateCopies(choice.collate);
}

} // namespace lf::qt
