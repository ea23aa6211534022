#include "mainwindow/rules/SkinPath.h"

#include "model/support/Folders.h"
#include "model/support/Prefs.h"
#include "platform/sys/PathText.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string SkinsFolder(const std::string& currentFolder)
{
    return lf::sys::WithSlash(currentFolder) + "Skins";
}

std::string StoredSkinToPath(const std::string& stored, const std::string& skinsFolder)
{
    if (stored.empty())
        return {};
    std::string path = StoredNameToPath(stored);
    if (path.front() == '/' && stored.front() != '\\')
    {
        std::error_code error;
        const std::string inFolder = skinsFolder + path;
        if (!fs::is_regular_file(inFolder, error))
            return path;
        return inFolder;
    }
    if (path.front() == '/')
        path.erase(0, 1);
    return lf::sys::WithSlash(skinsFolder) + path;
}

std::string ResolveSkinPath(const CPrefs& prefs, const std::string& currentFolder)
{
    if (!prefs.m_EnableSkin || prefs.m_UseDefaultSkin || prefs.m_ExternalSkinPath.empty())
        return {};
    return StoredSkinToPath(prefs.m_ExternalSkinPath, SkinsFolder(currentFolder));
}

std::vector<std::string> FindSkinFiles(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error)
        return files;
    for (const fs::recursive_directory_iterator end; it != end; it.increment(error))
    {
        if (error)
            break;
        std::error_code typeError;
        if (it->is_regular_file(typeError) && it->path().extension().string() == ".ssk")
            files.push_back(it->path().string());
    }
    return files;
}

int SkinListSelection(const CPrefs& prefs, const std::vector<std::string>& skinFiles,
                      const std::string& skinsFolder)
{
    int selection = prefs.m_EnableSkin ? 1 : 0;
    const std::string stored = StoredSkinToPath(prefs.m_ExternalSkinPath, skinsFolder);
    if (prefs.m_EnableSkin && !prefs.m_UseDefaultSkin)
        for (std::size_t i = 0; i < skinFiles.size(); ++i)
            if (!stored.empty() && skinFiles[i] == stored)
                selection = static_cast<int>(i) + 2;
    return selection;
}

std::string SkinPathToStore(const std::string& path, const std::string& skinsFolder)
{
    const std::size_t at = path.find(skinsFolder);
    if (at == std::string::npos)
        return path;
    std::string stored = path;
    stored.erase(at, skinsFolder.size());
    return stored;
}

std::string SkinDisplayName(const std::string& path)
{
    return fs::path(path).stem().string();
}

std::string SkinPreviewPath(const std::string& path)
{
    return fs::path(path).replace_extension(".png").string();
}
