// The conversions between a rich-text view and a stored item text, in both directions, and the
// re-encoding of stored texts for insertion into other views. Each view, hidden ones included, is a
// RichDocument; the main window's members of these names call these functions.
//
// A stored text has one of three shapes: XML with the root "LFDRoot" (loaded as rich text), HTML-like
// text (loaded through the HTML importer), anything else (one plain text paragraph per line, text
// style 0). Writing always gives the XML shape, or the empty text for an empty view.
#pragma once

#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/RichDocument.h"

#include <string>

namespace lf
{

// The user's font for question texts (the options FieldFontName, FieldFontSize, ...).
struct SRichFieldFont
{
    std::string name = "Arial";
    int size = 12;
    int charSet = 1;
    RichColor color = 0x80000008; // the system colour of window text
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const SRichFieldFont&, const SRichFieldFont&) = default;
};

// What the conversions take from the program around them: the field font that text style 0 gets when
// a view is cleared, and the program's picture loader, which HTML shown in the program's own views asks
// (none: placeholders). The main window fills it from the options; tests set their own. Readers of
// outside files pass a loader of their own to the conversions instead; nobody swaps this one.
struct SRichTextHost
{
    SRichFieldFont fieldFont;
    RichPictureRequest requestPicture;
};

SRichTextHost& RichTextHost();

} // namespace lf

// True when the view counts as empty: no items; or a plain text of fewer than 10 bytes that is blank
// once its line breaks are blanks, with no picture, hot picture or table among the items.
bool IsRichViewEmpty(const lf::RichDocument& view);

// The view as stored text ("LFDRoot" XML), or the empty text for an empty view. Always true here: the
// writer cannot fail short of running out of memory.
bool GetXMLFormRE(std::string& text, const lf::RichDocument& view);

// Loads a stored text of any shape into the view (replace) or at its end. An empty text adds nothing.
// Pictures an HTML-like text names are asked of requestPicture (none: placeholders).
void SetXMLToRE(const std::string& text, lf::RichDocument& view, bool replace, bool purgeStyles,
                bool fetchPictures, const lf::RichPictureRequest& requestPicture);
// The same with the program's picture loader (RichTextHost), for the program's own views.
void SetXMLToRE(const std::string& text, lf::RichDocument& view, bool replace, bool purgeStyles,
                bool fetchPictures);

// True when the text reads differently once the HTML importer has taken it, blanks, tabs and line
// breaks aside (HTML folds them). A text without "<" and "&" is never HTML; a blank one neither.
bool IsHtmlText(const std::string& text);

// Imports HTML into the view (replace) or at its end; pictures are asked of requestPicture with the
// fetch flag given (none: placeholders).
void LoadHtmlToRE(const std::string& text, lf::RichDocument& view, bool replace, bool fetchPictures,
                  const lf::RichPictureRequest& requestPicture);

// Loads the "LFDRoot" element of an XML text into the view (replace: the view is cleared first) or
// at its end; a well-formed text without the root is added as plain text. A text that is not
// well-formed leaves the view as it was.
void LoadXMLToRE(const std::string& text, lf::RichDocument& view, bool replace, bool purgeStyles);

// Turns any stored text into the XML shape (the empty text when it holds nothing); a text that has
// the root already stays as it is. Pictures an HTML-like text names are fetched through requestPicture
// (none: placeholders). The result of the write.
bool NormalizeTextToXML(std::string& text, const lf::RichPictureRequest& requestPicture);
// The same with the program's picture loader (RichTextHost).
bool NormalizeTextToXML(std::string& text);

// The text as a native stream in the display view's style sheet (styles mapped into that sheet,
// which may grow), without a sheet of its own, ready for a table cell of that view. False, with an
// empty stream, when the text holds nothing.
bool XMLToDisplayRVFStream(const std::string& text, std::string& stream, lf::RichStyleSheet& displaySheet);

// The same content handed over as items whose style numbers are those of the sheet, without going
// through a stream: for table cells built off-view. False, with no items, when the text holds nothing.
bool XMLToDisplayContent(const std::string& text, lf::RichContent& content, lf::RichStyleSheet& sheet);

// The text as a native stream for insertion into an editor or view. Without a sheet the stream carries its
// own styles, which the target maps into its sheet on insertion; with one it is re-encoded in that sheet
// (which may grow) and carries none. False, with an empty stream, when content is required and the text
// holds nothing.
bool XMLToRVFStream(const std::string& text, std::string& stream, lf::RichStyleSheet* sheet = nullptr,
                    bool requireContent = false);

// Appends a stored text at the end of the view, re-encoded in the view's sheet; the first appended
// paragraph takes paragraph style 0. A text that holds nothing appends nothing.
void AppendXMLToRichView(const std::string& text, lf::RichDocument& view);

// The two stored texts as one: the first, then, when middle is not empty, an empty paragraph, middle as a
// centred paragraph and another empty paragraph, then the second appended (AppendXMLToRichView). Works in
// the scratch view, whose content it replaces and leaves holding the joined text.
std::string JoinXMLTexts(const std::string& first, const std::string& second, const std::string& middle,
                         lf::RichDocument& scratch);
// The same in a scratch view of its own.
std::string JoinXMLTexts(const std::string& first, const std::string& second, const std::string& middle);

// The view's selection as stored text; false and the empty text without a selection. trimTrailingBlanks
// deletes blank text runs from the end back to the last run with text; removeBold clears bold in the
// styles the runs use.
bool RichSelectionToXML(const lf::RichDocument& view, std::string& text, bool removeBold,
                        bool trimTrailingBlanks);

// Empties the view: margins 5, no background, no items, no selection; with purgeStyles the styles no
// item uses go; text style 0 takes the field font.
void ClearRichView(lf::RichDocument& view, bool purgeStyles);

// Text style 0 takes the host's field font; other styles stay.
void ApplyDefaultFont(lf::RichStyleSheet& sheet);

// Loads the stored text into the view (replace, styles purged, pictures fetched) and gives its plain
// text; with crToLf every CR becomes LF.
void GetPlainTextFromXML(const std::string& text, lf::RichDocument& view, std::string& out, bool crToLf);

// The view's plain text; with crToLf every CR becomes LF; with flatten each tab becomes four blanks and
// each CR and LF one blank.
void GetControlText(const lf::RichDocument& view, std::string& out, bool crToLf, bool flatten);

// True when a stored XML text has a run whose font is "system" or a super/subscript (the conversion of
// symbol lines to pictures is meant for these); false for text that is not such XML.
bool XMLTextNeedsSpecialRendering(const std::string& text);
