// GIF files written through giflib: a picture reduced to at most 256 colours by the library's quantiser.
#pragma once

#include "platform/richtext/PictureRaster.h"

#include <string>

namespace lf
{

// The picture as the bytes of a GIF file; false (with the library's reason in error) for an empty
// picture or when the library refuses it.
bool EncodeGif(const SRasterImage& image, std::string& bytes, std::string* error = nullptr);

} // namespace lf
