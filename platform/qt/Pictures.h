// Pictures of the windows: picture files opened by their extension, the answer rows' image list and the
// score report's legend squares, drawn in code.
#pragma once

#include "platform/richtext/PictureRaster.h"
#include "platform/richtext/RichDocument.h"

#include <QImage>

#include <string>

namespace lf::qt
{

// The picture format a file's upper-cased extension stands for: "jpeg" (".JPG", ".JPEG"), "gif",
// "png", "bmp" (".BMP", ".DIB"), "ico"; empty for any other extension, metafiles (".WMF", ".EMF")
// included, which cannot be drawn here.
std::string PictureFormatOf(const std::string& path);

// The image as PNG bytes for a rich-text view; empty bytes for a null image.
lf::SRichPicture ToPng(const QImage& image);

struct SPictureFile
{
    bool ok = false;
    QImage image;
    lf::SRichPicture picture; // the file's bytes and their format, for a rich-text view
    std::string error;        // the text to show when not ok
};

// The warning for a picture file that is not there: "File '<name>' is not exist!".
std::string MissingPictureText(const std::string& name);

// Opens a picture file. A missing file gives "File '<path>' is not exist!", an extension of no
// picture format "Format '<extension as written>' is not supported!", a file that does not decode
// the reader's own explanation.
SPictureFile LoadPictureFile(const std::string& path);

// The answer rows' image list: 40 pictures of 32 x 32. 0 an empty square, 1 to 9 empty squares
// lettered "a" to "i", 10 a ticked square, 11 to 19 ticked squares lettered "a" to "i"; 20 to 39 the
// same four runs as round buttons (20 empty, 21 to 29 lettered, 30 selected, 31 to 39 selected and
// lettered).
inline constexpr int kAnswerPictureCount = 40;
inline constexpr int kAnswerPictureSize = 32;
inline constexpr int kSquarePictures =
    0; // the base of the squares, for answers of which several may be chosen
inline constexpr int kRoundPictures = 20; // the base of the round buttons, for a single answer

// Picture index -> picture; an index outside the list gives a null image.
QImage AnswerPicture(int index);
// The same as PNG bytes for a rich-text view.
lf::SRichPicture AnswerRichPicture(int index);
// The picture of an answer row: lettered "a" to "i" for rows 0 to 8 (row + base + 1, or row + base +
// 11 when chosen); later rows have no letter of their own and take the unlettered picture of the run.
int AnswerPictureIndex(int row, int base, bool chosen);

// The score report's legend squares, 14 x 14 in two tones (upper and lower seven pixel rows): 0
// correct (green), 1 partly correct (yellow), 2 incorrect (red), 3 unanswered (grey).
inline constexpr int kLegendSquareCount = 4;
inline constexpr int kLegendSquareSize = 14;
QImage LegendSquare(int index);
lf::SRichPicture LegendRichPicture(int index);

// The program's picture raster: the pictures of stored texts decoded by Qt's image readers and stretched
// smoothly, for the exports that write picture files of their own.
class PictureRaster final : public lf::IPictureRaster
{
public:
    bool NaturalSize(const lf::SRichPicture& picture, int& width, int& height) const override;
    bool Draw(const lf::SRichPicture& picture, int width, int height, lf::SRasterImage& out) const override;
};

} // namespace lf::qt
