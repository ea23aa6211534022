// Paths as texts: joining a folder and a name, and taking a path apart into folder, name and extension.
// The program's paths use "/"; names stored in books may use "\" too, which StoredNamePart accepts.
#pragma once

#include <string>
#include <string_view>

namespace lf::sys
{

// The folder with one "/" at its end ("/a" -> "/a/"); an empty folder stays empty.
std::string WithSlash(std::string folder);
// The name below the folder ("/a" and "b.lnf" -> "/a/b.lnf"); the name alone when the folder is empty.
std::string JoinPath(std::string_view folder, std::string_view name);
// Folder part of a path, ending in "/" ("/a/b.lnf" -> "/a/"); empty when the path has no folder.
std::string FolderOf(std::string_view path);
// The name part after the last "/" ("/a/b.lnf" -> "b.lnf"); the whole path when it has no "/".
std::string NamePart(std::string_view path);
// The name part after the last "/" or "\", for names as books store them ("C:\a\b.png" -> "b.png").
std::string StoredNamePart(std::string_view path);
// The extension of the name part from its last ".", with the point ("/a.b/c.tar.gz" -> ".gz"); empty
// when the name part has no ".".
std::string ExtensionOf(std::string_view path);
// The path without the extension of its name part ("/a/b.lnf" -> "/a/b").
std::string WithoutExtension(std::string_view path);

} // namespace lf::sys
