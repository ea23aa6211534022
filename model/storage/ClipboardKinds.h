// What the clipboard holds for the paste commands: question sets, spreadsheet and delimited tables, plain
// text, and the rich formats a rich-text field accepts. Every function reads the clipboard in force
// (lf::sys::CurrentClipboard) and leaves it unchanged.
#pragma once

#include "model/support/Array.h"

#include <string>

// Kinds for pasting questions.
enum EClipboardKind
{
    CLIPBOARD_KIND_NONE = 0,
    CLIPBOARD_KIND_OWN_XML = 1,     // the program's own question XML
    CLIPBOARD_KIND_SPREADSHEET = 2, // a spreadsheet table in the Data Interchange Format
    CLIPBOARD_KIND_DELIMITED = 3,   // a table of text split by a separator
    CLIPBOARD_KIND_TEXT = 4,        // plain text
};

// Kinds for pasting into a rich-text field.
enum ERichClipboardKind
{
    RICH_CLIPBOARD_NONE = 0,
    RICH_CLIPBOARD_TEXT = 3,
    RICH_CLIPBOARD_RICHVIEW = 5,
    RICH_CLIPBOARD_RTF = 6,
    RICH_CLIPBOARD_HTML = 7,
};

// The bytes of one clipboard format up to the first zero byte; empty when the format is absent.
std::string GetClipboardFormatText(const std::string& format);
// True when the clipboard holds a spreadsheet's DIF table ("EXCEL" and "TUPLES\r\n0,"); rows gets the
// number after that marker up to the line end, 0 when it is not a number.
bool GetExcelClipboardRowCount(int& rows);
// Replaces the list by the lines of the clipboard's plain text; false without a list or plain text.
bool ClipboardTextToStringList(CStringArray* list);
// True when the plain text parses as XML with the root element "Lernfold" whose "Version" is above 0.
bool IsOwnXmlOnClipboard();
// The number of pieces of the plain text's first line split at the separator (quotes mean nothing);
// false when there is no plain text or it has no line.
bool GetClipboardColumnCount(int& count, const std::string& separator);
// The kind of what can be pasted as questions, first match: 2 (number = rows), 1, 3 (when the separator is
// not empty; number = columns), 4, else 0. The number is 0 for the other kinds.
int GetClipboardKind(int& number, const std::string& separator);
// The kind of what can be pasted into a rich-text field, first match: 5, 7, 6, 3, else 0.
int GetRichClipboardKind();
