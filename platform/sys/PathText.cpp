// Paths as texts.
#include "platform/sys/PathText.h"

#include "platform/sys/TextCase.h"

namespace lf::sys
{

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path = WithSlash(std::string(folder));
    path += name;
    return path;
}

std::string FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string NamePart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string StoredNamePart(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtensionOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return std::string(path.substr(dot));
}

std::string WithoutExtension(std::string_view path)
{
    return std::string(path.substr(0, path.size() - ExtensionOf(path).size()));
}

bool IsWebAddress(std::string_view name)
{
    return name.find("://") != std::string_view::npos || StartsWithNoCase(name, "www.");
}

bool StaysInFolder(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.front() == '\\' ||
        name.find(':') != std::string_view::npos)
        return false;
    for (;;)
    {
        const std::size_t separator = name.find_first_of("/\\");
        if (name.substr(0, separator) == "..")
            return false;
        if (separator == std::string_view::npos)
            return true;
        name.remove_prefix(separator + 1);
    }
}

} // namespace lf::sys
