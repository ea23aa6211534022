// Book file association the way a Linux desktop finds it: shared-mime-info maps "*.lnf" to the book type,
// and the desktop entry tells the file manager to open that type with the program.
#include "platform/registry/DesktopAssociation.h"

#include "platform/sys/AtomicFile.h"
#include "platform/sys/TextCase.h"

#include <cstdlib>
#include <filesystem>
#include <pugixml.hpp>
#include <sstream>

namespace lf::reg
{

namespace fs = std::filesystem;

namespace
{

// Extensions that make a sound MIME subtype and glob: letters, digits and "._+-".
bool IsPlainExtension(const std::string& extension)
{
    if (extension.empty())
        return false;
    for (const char c : extension)
    {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '_' || c == '+' || c == '-';
        if (!plain)
            return false;
    }
    return true;
}

std::string PackageFileName(const std::string& extension)
{
    const std::string lower = lf::sys::AsciiLower(extension);
    return lower == "lnf" ? "lernfold-book.xml" : "lernfold-" + lower + ".xml";
}

// One argument of an Exec line: quoted when it holds a reserved character, with the desktop entry's
// escaping of string values applied on top, and "%" doubled so it is not taken for a field code.
std::string ExecArgument(const std::string& argument)
{
    const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    if (argument.find_first_of(reserved) == std::string::npos)
        quoted = argument;
    else
    {
        quoted = "\"";
        for (const char c : argument)
        {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    }
    std::string escaped;
    for (const char c : quoted)
    {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '%')
            escaped += "%%";
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

std::string BookMimeType(const std::string& extension)
{
    const std::string lower = lf::sys::AsciiLower(extension);
    return lower == "lnf" ? "application/x-lernfold-book" : "application/x-lernfold-" + lower;
}

std::string MimePackageText(const std::string& extension)
{
    if (!IsPlainExtension(extension))
        return {};
    pugi::xml_document doc;
    auto declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node info = doc.append_child("mime-info");
    info.append_attribute("xmlns").set_value("http://www.freedesktop.org/standards/shared-mime-info");
    pugi::xml_node type = info.append_child("mime-type");
    type.append_attribute("type").set_value(BookMimeType(extension).c_str());
    const std::string comment =
        lf::sys::AsciiLower(extension) == "lnf" ? "Lernfold book" : "Lernfold book (." + extension + ")";
    type.append_child("comment").text().set(comment.c_str());
    type.append_child("glob").append_attribute("pattern").set_value(("*." + extension).c_str());
    std::ostringstream out;
    doc.save(out, "\t", pugi::format_default | pugi::format_no_declaration, pugi::encoding_utf8);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + out.str();
}

std::string DesktopEntryText(const std::string& extension, const std::string& programPath)
{
    if (programPath.empty() || !IsPlainExtension(extension))
        return {};
    for (const char c : programPath)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Lernfold\n"
           "Comment=Study with books of questions\n"
           "Exec=" +
           ExecArgument(programPath) +
           " %f\n"
           "MimeType=" +
           BookMimeType(extension) +
           ";\n"
           "Terminal=false\n"
           "Categories=Education;\n";
}

std::string DataHomeFolder()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return dataHome;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return {};
    return (fs::path(home) / ".local" / "share").string();
}

bool ReplaceFileIfChanged(const std::string& path, const std::string& bytes, bool* written)
{
    if (written != nullptr)
        *written = false;
    std::string current;
    if (lf::sys::ReadWholeFile(path, current) && current == bytes)
        return true;
    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    if (!lf::sys::WriteFileAtomically(path, bytes))
        return false;
    if (written != nullptr)
        *written = true;
    return true;
}

SDesktopAssociationResult WriteDesktopAssociation(const std::string& dataHome, const std::string& extension,
                                                  const std::string& programPath)
{
    SDesktopAssociationResult result;
    const std::string package = MimePackageText(extension);
    const std::string entry = DesktopEntryText(extension, programPath);
    if (dataHome.empty() || package.empty() || entry.empty())
        return result;
    const fs::path base(dataHome);
    const bool mimeOk = ReplaceFileIfChanged(
        (base / "mime" / "packages" / PackageFileName(extension)).string(), package, &result.mimeWritten);
    const bool desktopOk = ReplaceFileIfChanged((base / "applications" / "lernfold.desktop").string(), entry,
                                                &result.desktopWritten);
    result.ok = mimeOk && desktopOk;
    return result;
}

} // namespace lf::reg
