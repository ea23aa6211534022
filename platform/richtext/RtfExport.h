// A rich-text document saved as an RTF file or as plain text: text runs with their font, size, bold,
// italic, underline, strike-out and colours; paragraphs with their alignment; tables with their column
// widths, borders and cell colours; pictures as PNG. Both files are written atomically.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <functional>
#include <string>

namespace lf
{

// A picture as it goes into the RTF file: PNG bytes and the size it is drawn at, in pixels.
struct SRtfPicture
{
    std::string png;
    int width = 0;
    int height = 0;
};

// Gives the PNG of a picture, hot picture or hotspot item; an empty picture leaves the item out. The
// window layer decodes every picture format and draws the hotspots' image list; without a source only
// pictures stored as PNG are written, at the size their header gives.
using RtfPictureSource = std::function<SRtfPicture(const SRichItem& item)>;

// The PNG's own size from its header; false for bytes that are no PNG.
bool PngSize(const std::string& png, int& width, int& height);

// The document as RTF text (ASCII: every other character as a Unicode escape).
std::string WriteRtf(const RichDocument& doc, const RtfPictureSource& pictures = {});

// The document's plain text with every line broken at a blank (or, with none, hard) so that it holds at
// most lineWidth characters; lines end with "\n". A lineWidth below 1 breaks nothing.
std::string WriteRichText(const RichDocument& doc, int lineWidth);

// Saves the RTF or the plain text in place of the file at path; false, with error, when the file
// cannot be written (the old file then stays as it was).
bool SaveRtfFile(const std::string& path, const RichDocument& doc, const RtfPictureSource& pictures,
                 std::string* error = nullptr);
bool SaveTextFile(const std::string& path, const RichDocument& doc, int lineWidth,
                  std::string* error = nullptr);

} // namespace lf
