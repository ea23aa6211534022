// Small text and XML helpers shared by the book formats, the clipboard parsers and the main window:
// whitespace removal, splitting by a separator, and media files carried as hexadecimal. (The root probe
// XMLTextHasRoot lives with the rich-text XML, platform/richtext/RichXml.h.)
#pragma once

#include "model/support/Array.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

// Deletes every CR, LF, tab and blank from text.
void RemoveAllWhitespace(std::string& text);

// Turns the list window's placeholder characters in one piece back into what they stand for; the list
// window passes its own, every other caller passes nothing.
using SplitPieceRestorer = void (*)(std::string& piece);

// Clears list and fills it with the pieces of text between successive occurrences of separator (a plain
// search; a separator may be longer than one character): k separators give k + 1 pieces, empty ones
// included. With restore given, each piece passes through it first. False when no list is given or the
// separator is empty (the list is then left as it was).
bool SplitTextBySeparator(const std::string& text, CStringArray* list, const std::string& separator,
                          SplitPieceRestorer restore = nullptr);

// Appends to parent a child element elementName holding one text node: a CDATA section when cdata is set,
// else escaped plain text. An empty text still gives the element its (empty) node.
void AppendTextElement(const std::string& elementName, const std::string& text, pugi::xml_node parent,
                       bool cdata);

// Resolves storedFileName as a media file of the open book (bookFileName, its full file name); when that
// file can be read whole, appends an element elementName with the attribute FileName (the stored name
// unchanged) and one CDATA child holding the bytes as upper-case hexadecimal, two characters per byte.
// Otherwise appends nothing.
void AppendFileAsHexElement(const std::string& elementName, const std::string& storedFileName,
                            pugi::xml_node parent, const std::string& bookFileName);

// Writes the bytes that hexText spells into folder + storedFileName, replacing an existing file through a
// temporary file and a rename. One leading "\" of the name is dropped and "\" separates folders; folders
// inside the name are not created. False, with nothing written, when the text has fewer than 2 characters,
// an odd length or a character that is not hexadecimal, when the name is empty, a full path or holds a
// ".." component, or when the file cannot be written.
bool ExtractHexToFile(const std::string& folder, const std::string& storedFileName,
                      const std::string& hexText);

// Parses an XML file into doc. Text is UTF-8 inside the program: a file that is not valid UTF-8 and
// declares no encoding of its own is read as Windows-1252 and converted; any other file is left to the XML
// library's own encoding detection. False when the file cannot be read or does not parse.
bool LoadXmlFile(pugi::xml_document& doc, const std::string& fileName, unsigned parseOptions);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
