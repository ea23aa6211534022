// The text helpers the exchange formats share: clean-up of plain texts, stored rich text to and from the
// HTML of quiz files, the token forms of Symbol-font and typographic characters, the quiz text formats,
// and the small XML element writers of the quiz and reader-book files.
#pragma once

#include "platform/richtext/HtmlImport.h"

#include <pugixml.hpp>

#include <cstdint>
#include <string>

namespace lf
{
class RichDocument;
}

// --- Plain-text clean-up ---

// Every CR LF pair and then every tab becomes one blank; then "&lt;", "&gt;", "&apos;" and last "&amp;"
// are resolved ("&quot;" is left alone), each over the whole text.
std::string UnescapeXMLText(const std::string& text);

// Deletes every CR, LF and tab; with trim, then the blanks and control characters around the text.
void RemoveLineBreaksAndTabs(std::string& text, bool trim);

// Replaces every occurrence of from by to; nothing happens when the two are the same character.
void ReplaceCharacter(std::string& text, char from, char to);

// The text with every occurrence of oldText replaced by newText, left to right, never looking again into
// inserted text. An empty oldText changes nothing.
std::string ReplaceAllText(const std::string& text, const std::string& oldText, const std::string& newText);

// Turns the question list's placeholder bytes back into what they stand for: 0x01 a tab, 0x02 a line feed,
// 0x03 a carriage return. When one was replaced and the text is enclosed in double quotes, they go. A
// placeholder that is the last character of the text is logged and kept.
void ReplaceSymbolsForParsing(std::string& text);

// --- Stored rich text ---

// The HTML of a stored rich text as the body of a quiz file's text field: the text is loaded into view
// and exported; its pictures are written into pictureFolder ("/" path ending in "/", empty: the current
// folder) as picturePrefix + number + extension. The empty text for a text that holds nothing; an error
// text without a view.
void RichTextToMoodleHTML(std::string& out, const std::string& storedText, lf::RichDocument* view,
                          const std::string& pictureFolder = std::string(),
                          const std::string& picturePrefix = std::string());

// Turns an imported text (HTML, plain text or stored rich text) into stored rich text; a blank text
// becomes the empty text. Pictures an HTML text names are asked of requestPicture (none: placeholders).
// The result of the conversion.
bool NormalizeImportedText(std::string& text, const lf::RichPictureRequest& requestPicture);

// Gives every text style of a stored rich text the font size; an empty text stays as it is. False when
// there is no view.
bool SetFontSizeInXMLText(std::string& text, lf::RichDocument* view, int size);

// --- Token forms ---

// The text of a Symbol-font run as readable tokens: Greek letters by name in brackets ("[alpha]"), signs
// by their tokens ("[+-]", "<=", ...). The signs are taken as the Windows-1252 characters of their
// Symbol-font codes.
void SymbolFontTextToTokens(std::string& out, const std::string& text);

// Replaces the typographic Windows-1252 characters (curly quotes, dashes, no-break space, degree sign,
// ...) by plain ASCII or bracketed tokens.
void ReplaceAnsiPunctuation(std::string& text);

// The format code of a quiz text format name: "plain_text" 2, "html" 3, "markdown" 4, any other 5.
std::uint8_t MoodleFormatNameToCode(const std::string& formatName);

// --- XML element writers (each appends to parent) ---

// An element elementName carrying the attribute format when format is not empty, holding an element
// "text" with the text (a CDATA section when cdata is set).
void AppendMoodleTextElement(pugi::xml_node parent, const std::string& elementName, const std::string& text,
                             const std::string& format, bool cdata);

// A `tc` element holding `t` with the text and `img` with the picture name, each only when not empty;
// nothing at all when both are empty.
void AppendTextCellElement(const std::string& text, const std::string& pictureName, pugi::xml_node parent);
