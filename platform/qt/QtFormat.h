// The program's colours and fonts as Qt sees them: 32-bit colour values (blue-green-red bytes; the high
// bit marks a system colour) and the field font of the options.
#pragma once

#include "platform/richtext/RichTextOps.h"

#include <QColor>
#include <QFont>

#include <cstdint>

namespace lf::qt
{

// The system colour of window text, as the options store it for "the default colour".
inline constexpr std::uint32_t kWindowTextColor = 0x80000008;

// A system colour takes the application palette's counterpart (window text when unknown).
QColor ToQColor(std::uint32_t value);
// An ordinary colour value (never a system colour).
std::uint32_t FromQColor(const QColor& color);

// The font with its size in points and its four style flags (the character set has no counterpart).
QFont ToQFont(const lf::SRichFieldFont& font);
// The font's name, size and style flags into the field font; colour and character set stay.
void FromQFont(const QFont& qfont, lf::SRichFieldFont& font);

} // namespace lf::qt
