// Conversion between UTF-8, the program's text, and Windows-1252, the text of handheld database books on
// disk. Every Windows-1252 character has a UTF-8 form; characters without a Windows-1252 form become "?".
#pragma once

#include <string>
#include <string_view>

// The Windows-1252 bytes as UTF-8. The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) become the control characters of the same number, so they survive a round trip.
std::string Windows1252ToUtf8(std::string_view bytes);

// The UTF-8 text as Windows-1252. A character without a Windows-1252 form, and each byte that is not part
// of a valid UTF-8 sequence, becomes "?". Every character gives one byte, so a cut of the result at any
// byte count falls on a character boundary.
std::string Utf8ToWindows1252(std::string_view text);
