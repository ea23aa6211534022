// HTML to rich text: the importer behind pasted HTML, Moodle texts and stored texts that are HTML.
// Pictures come from the caller; this layer never opens a file or a network connection itself.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace lf
{

// Asked for every picture an imported page names: the source as written, the width and height the
// page asks for (0 when it names none) and whether pictures may be fetched. An empty answer leaves
// the picture out.
using RichPictureRequest =
    std::function<SRichPicture(const std::string& source, int width, int height, bool fetch)>;

struct SHtmlImportOptions
{
    RichPictureRequest requestPicture; // none: every picture becomes the placeholder
    bool fetchPictures = false;
    std::string codeFontName = "Courier New"; // for pre, code, tt, kbd, samp
};

// Appends the content of an HTML page or fragment at the end of the document. Text takes text style 0
// of the document's sheet as its base; formatting finds or adds equal styles in that sheet. Headings
// take the sheet's "Heading" (h1, h2) or "Subheading" (h3 to h6) style, links a jump style with the
// address as tag. Lists are flattened into paragraphs; tables become tables; whitespace collapses as a
// browser collapses it; head, title, script and style are ignored.
void ImportHtml(const std::string& html, RichDocument& doc, const SHtmlImportOptions& options);

// The page with markup nested deeper than maxDepth taken out, its text kept: start and end tags below
// that depth are dropped, everything else stays byte for byte. The HTML library's work grows with the
// square of the nesting depth, so the importer hands it only pages flattened this way. Elements that
// close themselves (void elements, and p, li, td and the like, which a sibling closes) do not count as
// nesting; comments and the text of script, style and similar elements are passed through unread.
std::string FlattenDeepHtml(std::string_view html, int maxDepth);

// The picture shown for one that could not be had: a red-crossed rectangle of the requested size,
// 23 x 22 when no size is asked for (an SVG picture).
SRichPicture MakePlaceholderPicture(int width, int height);

// Pictures fetched for imported HTML, by source name (compared case-insensitively), so one import
// fetches each name once. Only a fetch that was really made is remembered: a placeholder handed out
// while fetching is off never stands in for the picture later.
class RichPictureCache
{
public:
    // The picture for a source: from the cache, else through fetch (when fetching is on). A failed
    // fetch is remembered as the placeholder of the requested size; with fetching off the answer is
    // a placeholder and nothing is cached.
    SRichPicture Get(const std::string& source, int width, int height, bool fetching,
                     const std::function<SRichPicture(const std::string&)>& fetch);
    void Clear() { m_pictures.clear(); }
    int Count() const { return static_cast<int>(m_pictures.size()); }

private:
    std::map<std::string, SRichPicture> m_pictures; // keyed by the lower-cased source
};

} // namespace lf
