#include "platform/richtext/GifEncoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>
#include <memory>

namespace lf
{

IPictureRaster::~IPictureRaster() = default;

SRasterImage SRasterImage::Rows(int first, int count) const
{
    SRasterImage band;
    first = std::clamp(first, 0, height);
    count = std::clamp(count, 0, height - first);
    if (count == 0 || width <= 0)
        return band;
    band.width = width;
    band.height = count;
    const auto begin = pixels.begin() + static_cast<std::ptrdiff_t>(first) * width;
    band.pixels.assign(begin, begin + static_cast<std::ptrdiff_t>(count) * width);
    return band;
}

namespace
{

constexpr int kColours = 256;

int AppendBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    return length;
}

struct GifCloser
{
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct MapDeleter
{
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

bool Fail(std::string* error, int code)
{
    if (error)
    {
        const char* text = GifErrorString(code);
        *error = text ? text : "GIF error";
    }
    return false;
}

} // namespace

bool EncodeGif(const SRasterImage& image, std::string& bytes, std::string* error)
{
    bytes.clear();
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.Empty() || image.pixels.size() != count)
    {
        if (error)
            *error = "empty picture";
        return false;
    }

    std::vector<GifByteType> red(count), green(count), blue(count), indexes(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint32_t pixel = image.pixels[i];
        red[i] = static_cast<GifByteType>((pixel >> 16) & 0xFF);
        green[i] = static_cast<GifByteType>((pixel >> 8) & 0xFF);
        blue[i] = static_cast<GifByteType>(pixel & 0xFF);
    }
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(kColours, nullptr));
    if (!map)
        return Fail(error, E_GIF_ERR_NOT_ENOUGH_MEM);
    int colours = kColours;
    if (GifQuantizeBuffer(static_cast<unsigned>(image.width), static_cast<unsigned>(image.height), &colours,
                          red.data(), green.data(), blue.data(), indexes.data(), map->Colors) == GIF_ERROR)
        return Fail(error, E_GIF_ERR_NOT_ENOUGH_MEM);

    int code = 0;
    std::string out;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, AppendBytes, &code));
    if (!gif)
        return Fail(error, code);
    if (EGifPutScreenDesc(gif.get(), image.width, image.height, 8, 0, map.get()) == GIF_ERROR ||
        EGifPutImageDesc(gif.get(), 0, 0, image.width, image.height, false, nullptr) == GIF_ERROR)
        return Fail(error, gif->Error);
    for (int row = 0; row < image.height; ++row)
        if (EGifPutLine(gif.get(), indexes.data() + static_cast<std::size_t>(row) * image.width,
                        image.width) == GIF_ERROR)
            return Fail(error, gif->Error);
    // Closing writes the trailer; the library frees the file whatever the outcome.
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &code) == GIF_ERROR)
        return Fail(error, code);
    bytes = std::move(out);
    return true;
}

} // namespace lf
