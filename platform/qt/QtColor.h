// The program's 32-bit colour values (blue-green-red bytes; the high bit marks a system colour) as Qt
// colours and back.
#pragma once

#include <QColor>

#include <cstdint>

namespace lf::qt
{

// The system colour of window text, as the options store it for "the default colour".
inline constexpr std::uint32_t kWindowTextColor = 0x80000008;

// A system colour takes the application palette's counterpart (window text when unknown).
QColor ToQColor(std::uint32_t value);
// An ordinary colour value (never a system colour).
std::uint32_t FromQColor(const QColor& color);

} // namespace lf::qt
