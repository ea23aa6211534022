// The dialog service: every message box, file, folder, font and print dialog and every modal window of
// the program goes through the dialogs in force, so a test installs a scripted double and never blocks.
#pragma once

#include "platform/richtext/RichTextOps.h"

#include <cstdint>
#include <optional>
#include <string>

class QDialog;
class QPrinter;
class QWidget;

namespace lf::qt
{

// Modal results, with the values the windows compare against.
enum EModalResult
{
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
};

enum class MsgKind
{
    Warning,
    Error,
    Information,
    Confirmation,
};

enum class MsgButtons
{
    Ok,
    OkCancel,
    OkIgnore,
    YesNo,
    YesNoCancel,
};

// One message as shown: what a test reads back from the scripted double.
struct SMessage
{
    MsgKind kind = MsgKind::Information;
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    std::string caption; // empty: the kind's own caption
    friend bool operator==(const SMessage&, const SMessage&) = default;
};

// An open or save dialog. The filter has the form "Name|pattern|Name|pattern" (patterns split by ";").
struct SFileDialog
{
    QWidget* owner = nullptr;
    std::string title;         // empty: the dialog's own title
    std::string initialFolder; // empty: the dialog's default
    std::string filter;
    std::string defaultExt; // ".lnf" or "lnf"; added only when the chosen name has no extension
    std::string fileName;   // proposed name
};

// A font as the options keep it (the field font's shape). The character set has no counterpart on
// this platform and passes through the font dialog unchanged.
using SFontChoice = lf::SRichFieldFont;

// A print dialog with page numbers allowed; a selection range is never offered.
struct SPrintChoice
{
    enum Range
    {
        AllPages,
        PageNums,
    };
    int minPage = 1;
    int maxPage = 1;
    Range range = AllPages;
    int fromPage = 1;
    int toPage = 1;
    int copies = 1;
    bool collate = false;
    friend bool operator==(const SPrintChoice&, const SPrintChoice&) = default;
};

class Dialogs
{
public:
    virtual ~Dialogs();

    // A message box; the answer is the button's modal result (mrOk, mrCancel, mrIgnore, mrYes, mrNo).
    // Esc and the close box answer as EscapeAnswer says.
    virtual int Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                        const std::string& caption = {}) = 0;
    // The chosen file with the default extension applied; nothing when the user cancels.
    virtual std::optional<std::string> OpenFile(const SFileDialog& dialog) = 0;
    virtual std::optional<std::string> SaveFile(const SFileDialog& dialog) = 0;
    // The chosen folder ending in "/"; nothing when the user cancels.
    virtual std::optional<std::string> PickFolder(QWidget* owner, const std::string& title,
                                                  const std::string& initialFolder) = 0;
    // Starts from font; true and font changed when the user confirms.
    virtual bool ChooseFont(QWidget* owner, SFontChoice& font) = 0;
    // Starts from choice and sets up the printer from the answer; true when the user confirms.
    virtual bool ChoosePrint(QWidget* owner, QPrinter& printer, SPrintChoice& choice) = 0;
    // Shows a window modally and returns its modal result (the close box gives mrCancel).
    virtual int RunModal(QDialog& dialog) = 0;
};

// The dialogs in force: the Qt dialogs unless a test installed others.
Dialogs& CurrentDialogs();
// Installs dialogs (not owned); nullptr goes back to the Qt dialogs.
void SetDialogs(Dialogs* dialogs);

// Shorthands over the dialogs in force.
int MessageDlg(const std::string& text, MsgKind kind, MsgButtons buttons, const std::string& caption = {});
void ShowMessage(const std::string& text); // information; OK

// What Esc and the close box answer: Cancel, else No, else OK, whichever the box has first.
int EscapeAnswer(MsgButtons buttons);
// The caption a message box of that kind gets when the caller names none.
std::string DefaultCaption(MsgKind kind);
// "Name|*.a;*.b|Other|*.c" as Qt's name filters ("Name (*.a *.b)"); a name that already ends in its
// pattern in parentheses keeps it once. An empty filter gives no filters.
std::string ToQtFileFilter(const std::string& filter);
// The path with the default extension appended when its file name has no extension ("a" -> "a.lnf",
// "a.txt" stays, ".lnf" or "lnf" both accepted); an empty extension changes nothing.
std::string ApplyDefaultExtension(const std::string& path, const std::string& defaultExt);
// Sets the printer's page range, copies and collation from an answered print dialog.
void ApplyPrintChoice(QPrinter& printer, const SPrintChoice& choice);

} // namespace lf::qt
