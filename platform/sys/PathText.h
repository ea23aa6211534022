// Paths as texts: joining a folder and a name, taking a path apart into folder, name and extension, and
// telling what a stored name is. The program's paths use "/"; names stored in books may use "\" too, which
// StoredNamePart and StaysInFolder accept.
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

// True for a name that is a web address: it holds "://" anywhere ("file://" included), or starts with
// "www." in any letter case.
bool IsWebAddress(std::string_view name);
// True when a relative name keeps to the folder it is relative to: it is not empty, does not start with
// "/" or "\", holds no ":" (a drive letter or an address), and none of its parts between "/" or "\" is "..".
bool StaysInFolder(std::string_view name);

} // namespace lf::sys
