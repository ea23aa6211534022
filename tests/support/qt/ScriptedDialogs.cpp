#include "tests/support/qt/ScriptedDialogs.h"

#include "platform/sys/PathText.h"

#include <QDialog>
#include <QPrinter>
#include <gtest/gtest.h>

namespace lf::test
{

using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

// Takes the next answer of a queue, or fails the test naming the dialog when there is none.
template <typename Answer> std::optional<Answer> Next(std::deque<Answer>& queue, const std::string& what)
{
    if (queue.empty())
    {
        ADD_FAILURE() << "Unscripted dialog: " << what;
        return std::nullopt;
    }
    Answer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

std::string Describe(const lf::qt::SFileDialog& dialog)
{
    return "filter \"" + dialog.filter + "\", folder \"" + dialog.initialFolder + "\", name \"" +
           dialog.fileName + "\"";
}

bool Offers(MsgButtons buttons, int result)
{
    switch (buttons)
    {
    case MsgButtons::Ok:
        return result == lf::qt::mrOk;
    case MsgButtons::OkCancel:
        return result == lf::qt::mrOk || result == lf::qt::mrCancel;
    case MsgButtons::OkIgnore:
        return result == lf::qt::mrOk || result == lf::qt::mrIgnore;
    case MsgButtons::YesNo:
        return result == lf::qt::mrYes || result == lf::qt::mrNo;
    case MsgButtons::YesNoCancel:
        return result == lf::qt::mrYes || result == lf::qt::mrNo || result == lf::qt::mrCancel;
    }
    return false;
}

} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    lf::qt::SetDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    lf::qt::SetDialogs(nullptr);
}

bool ScriptedDialogs::AllAnswersUsed() const
{
    return m_messageAnswers.empty() && m_openAnswers.empty() && m_saveAnswers.empty() &&
           m_folderAnswers.empty() && m_fontAnswers.empty() && m_printAnswers.empty() &&
           m_modalAnswers.empty();
}

int ScriptedDialogs::Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                             const std::string& caption)
{
    messages.push_back({kind, text, buttons, caption});
    const std::string what = ToString(kind) + " message (" + ToString(buttons) + "): \"" + text + "\"";
    const std::optional<int> answer = Next(m_messageAnswers, what);
    if (!answer || *answer == kEscapeAnswer)
        return lf::qt::EscapeAnswer(buttons);
    if (!Offers(buttons, *answer))
        ADD_FAILURE() << "Scripted answer " << *answer << " is not a button of " << what;
    return *answer;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const lf::qt::SFileDialog& dialog)
{
    openRequests.push_back(dialog);
    const auto answer = Next(m_openAnswers, "open dialog, " + Describe(dialog));
    if (!answer || !*answer)
        return std::nullopt;
    return lf::qt::ApplyDefaultExtension(**answer, dialog.defaultExt);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const lf::qt::SFileDialog& dialog)
{
    saveRequests.push_back(dialog);
    const auto answer = Next(m_saveAnswers, "save dialog, " + Describe(dialog));
    if (!answer || !*answer)
        return std::nullopt;
    return lf::qt::ApplyDefaultExtension(**answer, dialog.defaultExt);
}

std::optional<std::string> ScriptedDialogs::PickFolder(QWidget*, const std::string& title,
                                                       const std::string& initialFolder)
{
    folderRequests.push_back(initialFolder);
    const auto answer = Next(m_folderAnswers, "folder picker \"" + title + "\" at \"" + initialFolder + "\"");
    if (!answer || !*answer)
        return std::nullopt;
    return lf::sys::WithSlash(**answer);
}

bool ScriptedDialogs::ChooseFont(QWidget*, lf::qt::SFontChoice& font)
{
    fontRequests.push_back(font);
    const auto answer = Next(m_fontAnswers, "font dialog starting from \"" + font.name + "\"");
    if (!answer || !*answer)
        return false;
    font = **answer;
    return true;
}

bool ScriptedDialogs::ChoosePrint(QWidget*, QPrinter& printer, lf::qt::SPrintChoice& choice)
{
    printRequests.push_back(choice);
    const auto answer = Next(m_printAnswers, "print dialog for pages " + std::to_string(choice.minPage) +
                                                 " to " + std::to_string(choice.maxPage));
    std::string pdfPath;
    if (!m_printFiles.empty())
    {
        pdfPath = std::move(m_printFiles.front());
        m_printFiles.pop_front();
    }
    if (!answer || !*answer)
        return false;
    choice = **answer;
    if (!pdfPath.empty())
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdfPath));
    }
    lf::qt::ApplyPrintChoice(printer, choice);
    return true;
}

int ScriptedDialogs::RunModal(QDialog& dialog)
{
    const QString name = dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                                       : dialog.objectName();
    modalWindows.push_back(name.toStdString());
    const auto answer = Next(m_modalAnswers, "modal window " + name.toStdString() + " \"" +
                                                 dialog.windowTitle().toStdString() + "\"");
    if (!answer)
        return lf::qt::mrCancel;
    return (*answer)(dialog);
}

std::string ToString(MsgKind kind)
{
    switch (kind)
    {
    case MsgKind::Warning:
        return "warning";
    case MsgKind::Error:
        return "error";
    case MsgKind::Information:
        return "information";
    case MsgKind::Confirmation:
        return "confirmation";
    }
    return "?";
}

std::string ToString(MsgButtons buttons)
{
    switch (buttons)
    {
    case MsgButtons::Ok:
        return "OK";
    case MsgButtons::OkCancel:
        return "OK, Cancel";
    case MsgButtons::OkIgnore:
        return "OK, Ignore";
    case MsgButtons::YesNo:
        return "Yes, No";
    case MsgButtons::YesNoCancel:
        return "Yes, No, Cancel";
    }
    return "?";
}

} // namespace lf::test
