// Where things live on disk and what a file is: book file names, the books folder and its scan, folder
// creation and a write probe, moving files to the desktop trash, the media folder of a book and the
// resolution of the media names stored in books, temporary file names and file addresses.
//
// Paths are "/" paths. Media names stored in books keep the form they were written in: readers accept "\"
// and "/", and new relative names are written with "\" (MakeStoredMediaName). The functions that concern
// the open book take its full file name; an empty name means no book is open.
#pragma once

#include "model/items/Records.h"
#include "model/support/Array.h"

#include <cstdint>
#include <functional>
#include <string>

// True for a book file name: at least 5 characters, not the handheld's "VAD-DIDU.PDB" (any letter case),
// and ending in ".lnf" in any letter case or in ".pdb" in lower case. A path is judged by its name part.
bool IsBookFileName(const std::string& fileName);

// The name a book writer writes under: the name itself when keepName is set or its last four characters
// (of a name longer than four), lower-cased, are ".lnf" or ".pdb"; otherwise the name with ".lnf" appended.
std::string BookFileNameToWrite(const std::string& fileName, bool keepName);

// A file time (seconds and milliseconds since 1970-01-01 00:00 UTC) as a local date-time value.
TDateTime FileTimeToLocalDateTime(std::int64_t utcSeconds, int milliseconds = 0);

struct SFileTimes
{
    TDateTime Created = 0.0; // the birth time where the file system keeps one, else the last write
    TDateTime Accessed = 0.0;
    TDateTime Modified = 0.0;
};
// The three local dates of a file; false (and all zero) when it is missing or is a folder.
bool GetFileTimes(const std::string& path, SFileTimes& times);

// Calls addBook for every book file in the folder and all its sub-folders, in name order per folder. Each
// record has the file name, the folder (ending in "/") and the three dates; the display name and the
// always-shown flag are the book list's to set. Symbolic links to folders are not followed.
void ScanBookFolder(const std::string& folder, const std::function<void(SBookInfo&&)>& addBook);

// Moves a file (or folder, with or without its final "/") to the user's trash, $XDG_DATA_HOME/Trash, with
// its ".trashinfo" record so the desktop can put it back. False when the path does not exist or the move
// fails; nothing is left behind then, except for a folder on another file system that was copied into the
// trash but could be removed only in part: its copy and record stay in the trash so nothing is lost.
bool DeleteFileToRecycleBin(const std::string& path);

// The user's documents folder (ending in "/"); false when there is none.
bool GetDocumentsFolder(std::string& folder);
// Folder of the running program, ending in "/".
std::string GetProgramFolder();
// The default books folder, created when missing: documents folder + "Korvanta/Lernfold/Books/", else the
// program folder + "Books/", else the program folder itself. Never fails.
std::string GetDefaultBooksFolder();
// Program folder + the installer of a book pack edition 0..6; the folder alone for any other edition.
std::string GetBookPackInstallerPath(int edition);

// Creates the folder with any missing parents; true when it exists as a folder afterwards.
bool CreateFolder(const std::string& folder);
// True when a probe file can be written into the folder (the probe is removed again).
bool IsFolderWritable(const std::string& folder);

// True when the name starts with "/", or with a drive letter and ":" (written on another system).
bool IsFullPathName(const std::string& name);
// True for ".mp3", ".wav", ".ogg" and ".avi" in any letter case; isWeb tells whether it is a web address.
bool IsSoundOrVideoFile(const std::string& name, bool* isWeb = nullptr);
// The sound and video extensions plus the picture ones (".jpg", ".jpeg", ".gif", ".png", ".bmp", ".dib",
// ".ico", ".wmf", ".emf"); isWeb as above.
bool IsMediaFileName(const std::string& name, bool* isWeb = nullptr);

// Folder of the book file, ending in "/"; empty when no book is open.
std::string GetBookFolder(const std::string& bookFileName);
// The book file name without its extension plus "/" (the book "/b/Bio.lnf" has "/b/Bio/"), created when
// missing; empty when no book is open or the book has no file yet, and then nothing is created.
std::string GetBookMediaFolder(const std::string& bookFileName);
// The book's file name without folder and extension.
std::string GetBookNameWithoutExt(const std::string& bookFileName);
// The part of a backup name before "_(": the book's file name without folder ("/" or "\") and without its
// last four characters ("Unnamed" for a book without a file), and "_palm_format" for a ".pdb" book (lower
// case only).
std::string BackupBaseName(const std::string& bookFileName);

// base + the non-empty parts joined by "_" + "_" + n + extension, with the first n from 1 for which no file
// or folder exists.
std::string MakeUniqueMediaFileName(const std::string& base, const std::string& part1,
                                    const std::string& part2, const std::string& part3,
                                    const std::string& extension);
// A stored media name as a "/" path ("\" separators become "/").
std::string StoredNameToPath(const std::string& storedName);
// A relative media path in the form books store it ("/" separators become "\").
std::string MakeStoredMediaName(const std::string& relativePath);
// Resolves a stored media name in place: trimmed; web addresses and full paths (drive paths written on
// another system included: kept, and not found) stay as they are; a relative name (one leading "\"
// dropped, "\" read as "/") becomes the file in the book's media folder when it exists there, else the
// same name in the book's folder. A book without a file resolves a relative name to the empty text. No
// folder is created.
void ResolveMediaFileName(std::string& name, const std::string& bookFileName);
// The name under which a chosen file is stored: relative to the book's media folder when the path lies in
// it, else relative to the book's folder, in the stored form ("\" separators); any other path (and every
// path of a book without a file) stays whole. A folder counts only as the leading part of the path, never
// where its text happens to appear further on.
std::string MakeRelativeMediaName(const std::string& path, const std::string& bookFileName);
// Appends the local media file names tagged in a stored rich text ("LFDRoot"/"document"/"text"@"tag");
// web addresses and other files are skipped, repeats are kept.
void CollectLinkedFileNames(const std::string& richText, CStringArray& list);

// The whole file up to its first zero byte; false when it cannot be opened or read.
bool ReadFileToBuffer(const std::string& path, std::string& text);
// The system's folder for temporary files, ending in "/".
std::string GetTempFolder();
// A new empty file in the user's temporary folder, named "tmp", six random characters and the extension;
// it is created exclusively, so the name is the caller's alone. Its path, or the empty text (logged) when
// no file can be made there.
std::string GetUniqueTempFileName(const std::string& extension);
// A file address as a path: "file:///home/a.png" and "file://localhost/home/a.png" give "/home/a.png",
// "file:///C:/a.png" gives "C:/a.png", "file://host/a" gives "host/a"; a leading "\" is dropped; anything
// else stays.
std::string FileUrlToPath(const std::string& text);
