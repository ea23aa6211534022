// Test doubles of the window services, in the library lf_platform_qt_testing that window tests link
// (kept under tests/ because they report through GoogleTest). Each double installs itself for its
// lifetime and puts the product's service back when it goes.
//
// ScriptedDialogs answers every dialog from queues the test fills beforehand, one queue per dialog
// kind, and records what was shown. A dialog nobody scripted fails the test at once with what it
// showed, and is answered as if the user cancelled, so the window unwinds.
#pragma once

#include "platform/qt/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lf::test
{

class ScriptedDialogs final : public lf::qt::Dialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Answers, used in the order given.
    void AnswerMessage(int result) { m_messageAnswers.push_back(result); }
    // The answer the Escape key gives, whatever the buttons (Cancel, No or OK).
    static constexpr int kEscapeAnswer = -1;
    // nullopt: the user cancels. The default extension is applied as the real dialog applies it.
    void AnswerOpen(std::optional<std::string> path) { m_openAnswers.push_back(std::move(path)); }
    void AnswerSave(std::optional<std::string> path) { m_saveAnswers.push_back(std::move(path)); }
    void AnswerFolder(std::optional<std::string> folder) { m_folderAnswers.push_back(std::move(folder)); }
    void AnswerFont(std::optional<lf::qt::SFontChoice> font) { m_fontAnswers.push_back(std::move(font)); }
    void AnswerPrint(std::optional<lf::qt::SPrintChoice> choice)
    {
        m_printAnswers.push_back(std::move(choice));
        m_printFiles.emplace_back();
    }
    // The same, with the printer writing a PDF file at pdfPath as the dialog does where no printer is
    // installed.
    void AnswerPrintToPdf(lf::qt::SPrintChoice choice, std::string pdfPath)
    {
        m_printAnswers.push_back(std::move(choice));
        m_printFiles.push_back(std::move(pdfPath));
    }
    // A modal window: the handler gets the window (to fill its controls or call its handlers, without
    // showing it) and returns the modal result.
    void AnswerModal(std::function<int(QDialog&)> handler) { m_modalAnswers.push_back(std::move(handler)); }
    void AnswerModal(int result)
    {
        m_modalAnswers.push_back([result](QDialog&) { return result; });
    }

    // What was shown, in order.
    std::vector<lf::qt::SMessage> messages;
    std::vector<lf::qt::SFileDialog> openRequests;
    std::vector<lf::qt::SFileDialog> saveRequests;
    std::vector<std::string> folderRequests; // initial folders
    std::vector<lf::qt::SFontChoice> fontRequests;
    std::vector<lf::qt::SPrintChoice> printRequests;
    std::vector<std::string> modalWindows; // object names (else class names) of the modal windows

    // True when every scripted answer was used.
    bool AllAnswersUsed() const;

    int Message(lf::qt::MsgKind kind, const std::string& text, lf::qt::MsgButtons buttons,
                const std::string& caption) override;
    std::optional<std::string> OpenFile(const lf::qt::SFileDialog& dialog) override;
    std::optional<std::string> SaveFile(const lf::qt::SFileDialog& dialog) override;
    std::optional<std::string> PickFolder(QWidget* owner, const std::string& title,
                                          const std::string& initialFolder) override;
    bool ChooseFont(QWidget* owner, lf::qt::SFontChoice& font) override;
    bool ChoosePrint(QWidget* owner, QPrinter& printer, lf::qt::SPrintChoice& choice) override;
    int RunModal(QDialog& dialog) override;

private:
    std::deque<int> m_messageAnswers;
    std::deque<std::optional<std::string>> m_openAnswers;
    std::deque<std::optional<std::string>> m_saveAnswers;
    std::deque<std::optional<std::string>> m_folderAnswers;
    std::deque<std::optional<lf::qt::SFontChoice>> m_fontAnswers;
    std::deque<std::optional<lf::qt::SPrintChoice>> m_printAnswers;
    std::deque<std::string> m_printFiles; // beside each print answer: a PDF file to write, or empty
    std::deque<std::function<int(QDialog&)>> m_modalAnswers;
};

// Readable names for failure messages and test output.
std::string ToString(lf::qt::MsgKind kind);
std::string ToString(lf::qt::MsgButtons buttons);

} // namespace lf::test
