// What the main window's tests share: the windows of the program built on a books folder of the test's
// own, scripted dialogs, a manual clock, and small native books written for the case at hand.
#pragma once

#include "mainwindow/frame/Application.h"
#include "mainwindow/frame/Mainfrm.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QApplication>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lf::test
{

// One question of a test book: its kind and text; multiple-choice questions get the answers "a" (right)
// and "b".
struct SBookQuestion
{
    int kind = 1;
    std::string text;
    int chapter = 0;
};

// Writes a native book with the chapters (IDs 1, 2, ... after "Unfiled") and questions.
inline void WriteBook(const std::string& path, const std::vector<SBookQuestion>& questions,
                      const std::vector<std::string>& chapters = {})
{
    std::string xml = "<?xml version=\"1.0\"?>\n<Lernfold Version=\"1\">\n<Categories>\n"
                      "<Category ID=\"0\" Parent=\"-1\" Name=\"Unfiled\">Default category</Category>\n";
    for (std::size_t i = 0; i < chapters.size(); ++i)
        xml +=
            "<Category ID=\"" + std::to_string(i + 1) + "\" Parent=\"-1\" Name=\"" + chapters[i] + "\"/>\n";
    xml += "</Categories>\n<Questions>\n";
    int id = 1000;
    for (const SBookQuestion& q : questions)
    {
        ++id;
        xml += "<Question ID=\"" + std::to_string(id) + "\" Name=\"" + q.text + "\" QuestionType=\"" +
               std::to_string(q.kind) + "\" CategoryID=\"" + std::to_string(q.chapter) + "\" LayersStr=\"" +
               std::to_string(id - 1000) + "\">\n<QuestionText><![CDATA[" + q.text +
               "]]></QuestionText>\n<GeneralFeedback><![CDATA[Because.]]></GeneralFeedback>\n";
        if (q.kind == 1)
            xml +=
                "<Answers><Answer ID=\"1\" Correct=\"1\"><AnswerText><![CDATA[a]]></AnswerText></Answer>"
                "<Answer ID=\"2\" Correct=\"0\"><AnswerText><![CDATA[b]]></AnswerText></Answer></Answers>\n";
        xml += "</Question>\n";
    }
    xml += "</Questions>\n</Lernfold>\n";
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFile(path, xml);
}

inline std::vector<SBookQuestion> ThreeQuestions()
{
    return {{1, "First?", 1}, {1, "Second?", 1}, {1, "Third?", 2}};
}

// The program's windows on a books folder of the test's own. Options start from the defaults with
// that folder; the options the test needs are written before Start.
class MainWindowFixture
{
public:
    MainWindowFixture()
    {
        // A fresh option store for each test.
        const std::string config = configDir.folder();
        setenv("LERNFOLD_CONFIG_DIR", config.c_str(), 1);
        WriteValueToRegistry2("BooksDirectory", BooksFolder());
        WriteValueToRegistry("EnabledAutoUpdate", 0);
        WriteValueToRegistry("PrefsVersion", 4);
    }
    ~MainWindowFixture()
    {
        windows.reset();
        SetLogBooksDirectory("");
    }
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    std::string BooksFolder() const { return books.folder(); }
    std::string BookPath(const std::string& name) const { return books.folder() + name; }

    // Creates the windows and shows the main window with the book argument.
    Tm_MainFrm& Start(const std::string& bookArgument = {})
    {
        windows = std::make_unique<CApplicationWindows>();
        windows->MainFrm().FormShow(bookArgument);
        windows->MainFrm().show();
        QApplication::processEvents();
        return windows->MainFrm();
    }
    Tm_MainFrm& Main() { return windows->MainFrm(); }

    std::string LogText() const
    {
        const std::string path = books.file("Lernfold.log");
        return std::filesystem::exists(path) ? ReadFile(path) : std::string();
    }
    bool LogHas(const std::string& text) const { return LogText().find(text) != std::string::npos; }

    // The texts of the messages shown so far.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages)
            texts.push_back(message.text);
        return texts;
    }

    TempDir configDir;
    TempDir books;
    ScriptedDialogs dialogs;
    ManualClock clock;
    std::unique_ptr<CApplicationWindows> windows;
};

} // namespace lf::test
