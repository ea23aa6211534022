// Small rules of the preferences: the backup folder that follows the books folder, and the word that
// clears a Home Page Books entry.
#pragma once

#include <string>

// The books folder + "Temp/" (a "/" put between when missing); "Temp/" alone for an empty books folder.
std::string BackupFolderOfBooks(const std::string& booksFolder);

// A Home Page Books entry as stored: the word "empty" in any letter case stands for no text.
std::string HomePageBookText(const std::string& typed);
