// Big-endian reads and writes on a file opened in binary mode: the byte order of the handheld database
// book format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

// Reads n bytes as one block: 1 when the whole block was read, else 0. Bytes past the end of the file
// are left as zeros, so a short read never leaves part of the buffer undefined.
int ReadBytes(std::FILE* file, void* buffer, std::size_t n);
// Two bytes, the high byte first; the missing bytes of a short read count as zero.
std::uint16_t ReadBE16(std::FILE* file);
// Four bytes, the most significant first; the missing bytes of a short read count as zero.
std::uint32_t ReadBE32(std::FILE* file);

// The writers answer true when every byte was written.
bool WriteBE16(std::FILE* file, std::uint16_t value);
bool WriteBE32(std::FILE* file, std::uint32_t value);
bool WriteByte(std::FILE* file, std::uint8_t value);
bool WriteBytes(std::FILE* file, const void* data, std::size_t n);
// The first n bytes of the text (at most all of it), every CR written as a blank, then one zero byte.
bool WriteTextCR(std::FILE* file, std::string_view text, std::size_t n);
// The first n bytes of the data (at most all of it), then one zero byte.
bool WriteBytesNul(std::FILE* file, std::string_view data, std::size_t n);
// The text and its zero byte, then zero bytes up to width bytes in all; a text of width bytes or more is
// written whole with its zero byte and nothing is added.
bool WritePaddedText(std::FILE* file, std::string_view text, std::size_t width);
