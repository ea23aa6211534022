// The program log "Lernfold.log": one free function that opens, appends and closes the file on every
// call, so each line is on disk before the next one is written.
#pragma once

#include <cstdint>
#include <string>

// Appends a line to the log. Levels above 10 (taken as an unsigned 16-bit number) write nothing.
// Kind 0: the session-start banner; 1: six blanks and the text; 2: six blanks, date and time, the text;
// 3: the session-end line; any other kind: an empty line. Never reports a failure.
void WriteLog(const std::string& text, int level = 1, int kind = 1);

// The books folder the log file goes into (the option BooksDirectory as stored); empty means the
// current directory. The options object keeps it up to date.
void SetLogBooksDirectory(const std::string& folder);

// Screen width and height in pixels and its dots per inch, for the start banner; the main window sets them.
void SetLogScreenInfo(int width, int height, int dpi);
