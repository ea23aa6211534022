// The freedesktop side of the book file association: a shared-mime-info entry that gives the extension a
// MIME type, and a desktop entry that opens files of that type with the program.
#pragma once

#include <string>

namespace lf::reg
{

// "application/x-lernfold-book" for "lnf"; "application/x-lernfold-<extension>" for any other.
std::string BookMimeType(const std::string& extension);

// The shared-mime-info package text for the extension.
std::string MimePackageText(const std::string& extension);
// The desktop entry text that runs the program with the file; empty when the program path cannot be
// written into a desktop entry (it is empty or holds a line break or another control character).
std::string DesktopEntryText(const std::string& extension, const std::string& programPath);

// $XDG_DATA_HOME, or ~/.local/share; empty when neither can be worked out. No final "/".
std::string DataHomeFolder();

struct SDesktopAssociationResult
{
    bool mimeWritten = false;    // the MIME package was (re)written
    bool desktopWritten = false; // the desktop entry was (re)written
    bool ok = false;             // both files hold their content now
};

// Writes <dataHome>/mime/packages/lernfold-book.xml (for "lnf"; lernfold-<extension>.xml for another) and
// <dataHome>/applications/lernfold.desktop, each only when its content differs from the file's, through a
// temporary file beside it and a rename.
SDesktopAssociationResult WriteDesktopAssociation(const std::string& dataHome, const std::string& extension,
                                                  const std::string& programPath);

// Replaces the file's content atomically (temporary file beside it, then rename) unless it already holds
// exactly these bytes; creates the folder when missing. False when it could not be written.
bool ReplaceFileIfChanged(const std::string& path, const std::string& bytes, bool* written = nullptr);

} // namespace lf::reg
