#include "mainwindow/rules/PrefsRules.h"

#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

std::string BackupFolderOfBooks(const std::string& booksFolder)
{
    return (booksFolder.empty() ? std::string() : lf::sys::WithSlash(booksFolder)) + "Temp/";
}

std::string HomePageBookText(const std::string& typed)
{
    return lf::sys::SameTextAsciiNoCase(typed, "empty") ? std::string() : typed;
}
