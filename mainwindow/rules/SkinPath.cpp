#include "mainwindow/rules/SkinPath.h"

#include "model/support/Folders.h"
#include "model/support/Prefs.h"
#include "platform/sys/PathText.h"

std::string ResolveSkinPath(const CPrefs& prefs, const std::string& currentFolder)
{
    if (!prefs.m_EnableSkin || prefs.m_UseDefaultSkin || prefs.m_ExternalSkinPath.empty())
        return {};
    std::string path = StoredNameToPath(prefs.m_ExternalSkinPath);
    if (path.front() == '/' && prefs.m_ExternalSkinPath.front() != '\\')
        return path;
    if (path.front() == '/')
        path.erase(0, 1);
    return lf::sys::WithSlash(currentFolder) + "Skins/" + path;
}
