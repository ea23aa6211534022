// Big-endian reads and writes, on byte buffers and on a file opened in binary mode: the byte order of the
// handheld database book format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace lf::sys
{

// --- On buffers: the caller guarantees two or four bytes at p ---

// Two bytes, the high byte first.
constexpr std::uint16_t LoadBE16(const unsigned char* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
// Four bytes, the most significant first.
constexpr std::uint32_t LoadBE32(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}
inline std::uint16_t LoadBE16(const char* p)
{
    return LoadBE16(reinterpret_cast<const unsigned char*>(p));
}
inline std::uint32_t LoadBE32(const char* p)
{
    return LoadBE32(reinterpret_cast<const unsigned char*>(p));
}
constexpr void StoreBE16(unsigned char* p, std::uint16_t value)
{
    p[0] = static_cast<unsigned char>(value >> 8);
    p[1] = static_cast<unsigned char>(value);
}
constexpr void StoreBE32(unsigned char* p, std::uint32_t value)
{
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

// --- On files ---

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

} // namespace lf::sys
