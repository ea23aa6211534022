// The stored form of a rich text: an XML document with the root "LFDRoot" holding the style sheet and
// the content, and the native stream that moves content between views (the same XML, with or
// without its style element).
//
// Vocabulary (written in this order, one tab of indentation per level):
//
//   <LFDRoot>
//     <style>
//       <font name fontname size charset bold italic underline strikeout color backcolor jump
//             subsuperscripttype standard/>              one per text style, in number order
//       <para name align border borderwidth bordercolor backcolor standard/>   one per paragraph style
//     </style>
//     <document leftmargin rightmargin topmargin bottommargin color background stringtags="1">
//       <text textstyleno parastyleno newpara br [tag]>the run's text</text>
//       <picture parastyleno newpara br [tag] [name] format source width height valign>base64</picture>
//       <hotpicture ...as picture...>base64</hotpicture>       a picture that is a hyperlink
//       <hotspot parastyleno newpara br [tag] [name] imageindex/>
//       <table parastyleno newpara br [tag] [name] rows cols bestwidth borderwidth cellborderwidth
//              cellpadding bordervspacing borderhspacing borderstyle cellborderstyle color>
//         <row><cell color hint valign bestwidth>items as in document</cell>...</row>...
//       </table>
//     </document>
//   </LFDRoot>
//
// Values: flags "1"/"0"; colours as decimal Windows colour values (536870911 for no colour); align
// left|right|center|justify; border none|single|double; subsuperscripttype normal|super|sub; picture
// valign baseline|middle|top|bottom; cell valign default|top|center|bottom; table borders
// raised|lowered|color|flat; background none|color. `newpara` "0" continues the paragraph of the item
// before; `br` "1" continues it on a new line.
//
// The reader is tolerant: unknown elements are looked through (their items and words are kept),
// unknown attributes are skipped, flags also read "true"/"yes", colours also "#RRGGBB", "$BBGGRR" and
// "0x..." forms, and a missing or unknown style number means style 0. The writer never emits "]]>",
// so a stored text can sit in a CDATA section of a book file.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <functional>
#include <string>

namespace lf
{

inline constexpr const char* kRichXmlRoot = "LFDRoot";
// How deep tables and foreign elements may nest before the reader stops descending.
inline constexpr int kRichXmlMaxNesting = 32;
// The XML library's parse options for stored texts.
extern const unsigned kRichXmlReadOptions;

// The document as stored text: the whole view, style sheet included.
std::string WriteRichXml(const RichDocument& doc);

enum class RichXmlResult
{
    Loaded,
    NoRoot, // well-formed XML without an "LFDRoot" element
    NotXml, // not well-formed
};

// Replaces the document's content, view settings and (when the text has one) its style sheet with
// those of a stored text. On NoRoot and NotXml the document is left as it was; beforeLoad, when given,
// runs on the document only once the text is known to be loadable (a view is cleared there).
RichXmlResult ReadRichXml(const std::string& text, RichDocument& doc,
                          const std::function<void(RichDocument&)>& beforeLoad = {});

// --- native stream ---

// The content in the form that moves between views. Without styles its numbers are those of the
// sheet the content will be inserted into.
std::string SaveRichStream(const RichDocument& doc, bool withStyles);
// Appends a stream at the end of the target. A stream with its own styles is mapped into the
// target's sheet (equal styles reused, new ones appended); a stream without takes its numbers as the
// target's. firstParaNo >= 0 sets the paragraph style of the first appended paragraph.
// False (and the target unchanged) when the stream is not one.
bool InsertRichStream(RichDocument& target, const std::string& stream, int firstParaNo = -1);

} // namespace lf

// True when the text parses as XML with default options and its document has a top-level element of
// that name; false for any text that does not parse.
bool XMLTextHasRoot(const std::string& text, const std::string& elementName);
