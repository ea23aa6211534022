#include "mainwindow/dialogs/HelpPages.h"

#include "platform/qt/RichView.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/PathText.h"

#include <QTextCursor>

#include <fstream>
#include <sstream>

std::string HelpPageOfPhase(EPhase phase)
{
    switch (phase)
    {
    case EPhase::Test:
        return "Test.rvf";
    case EPhase::Review:
        return "Review.rvf";
    case EPhase::Flash:
        return "Flash.rvf";
    case EPhase::Edit:
        return "Edit.rvf";
    default:
        return "Tutorial.rvf";
    }
}

std::string HelpPagePath(const std::string& folder, const std::string& page)
{
    return lf::sys::WithSlash(folder) + "Help/" + page;
}

bool LoadHelpPage(lf::qt::RichView& view, const std::string& path)
{
    lf::RichDocument& doc = view.Document();
    doc = lf::RichDocument();
    std::ifstream file(path, std::ios::binary);
    bool loaded = false;
    if (file)
    {
        std::ostringstream text;
        text << file.rdbuf();
        loaded = lf::ReadRichXml(text.str(), doc) == lf::RichXmlResult::Loaded;
    }
    view.Format();
    // A page is read from its top.
    view.moveCursor(QTextCursor::Start);
    view.SetVScrollPos(0);
    return loaded;
}
