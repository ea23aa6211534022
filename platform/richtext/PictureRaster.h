// Pictures of stored texts drawn into pixels, for the exports that write picture files of their own (the
// reader book's GIF files). The program hands over a raster built on its picture decoders; the pure
// exports only see this interface.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <cstdint>
#include <vector>

namespace lf
{

// An opaque picture: width x height pixels, row by row, each 0xRRGGBB.
struct SRasterImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    // The rows first .. first + count - 1 as a picture of their own (clipped to the picture).
    SRasterImage Rows(int first, int count) const;
};

class IPictureRaster
{
public:
    virtual ~IPictureRaster();
    // The picture's own size in pixels; false when its bytes do not decode.
    virtual bool NaturalSize(const SRichPicture& picture, int& width, int& height) const = 0;
    // The picture stretched smoothly over width x height pixels on white (transparent parts become
    // white); false when it cannot be decoded or the size is not positive.
    virtual bool Draw(const SRichPicture& picture, int width, int height, SRasterImage& out) const = 0;
};

} // namespace lf
