// Big-endian reads and writes on binary files.
#include "platform/sys/BigEndianIO.h"

#include <cstring>
#include <string>

namespace lf::sys
{

int ReadBytes(std::FILE* file, void* buffer, std::size_t n)
{
    if (n == 0)
        return 1;
    if (!file || !buffer)
        return 0;
    const std::size_t got = std::fread(buffer, 1, n, file);
    if (got < n)
        std::memset(static_cast<unsigned char*>(buffer) + got, 0, n - got);
    return got == n ? 1 : 0;
}

std::uint16_t ReadBE16(std::FILE* file)
{
    unsigned char bytes[2] = {0, 0};
    ReadBytes(file, bytes, sizeof bytes);
    return LoadBE16(bytes);
}

std::uint32_t ReadBE32(std::FILE* file)
{
    unsigned char bytes[4] = {0, 0, 0, 0};
    ReadBytes(file, bytes, sizeof bytes);
    return LoadBE32(bytes);
}

bool WriteBytes(std::FILE* file, const void* data, std::size_t n)
{
    if (n == 0)
        return true;
    if (!file || !data)
        return false;
    return std::fwrite(data, 1, n, file) == n;
}

bool WriteByte(std::FILE* file, std::uint8_t value)
{
    return WriteBytes(file, &value, 1);
}

bool WriteBE16(std::FILE* file, std::uint16_t value)
{
    unsigned char bytes[2];
    StoreBE16(bytes, value);
    return WriteBytes(file, bytes, sizeof bytes);
}

bool WriteBE32(std::FILE* file, std::uint32_t value)
{
    unsigned char bytes[4];
    StoreBE32(bytes, value);
    return WriteBytes(file, bytes, sizeof bytes);
}

bool WriteTextCR(std::FILE* file, std::string_view text, std::size_t n)
{
    std::string bytes(text.substr(0, n));
    for (char& c : bytes)
        if (c == '\r')
            c = ' ';
    bytes += '\0';
    return WriteBytes(file, bytes.data(), bytes.size());
}

bool WriteBytesNul(std::FILE* file, std::string_view data, std::size_t n)
{
    std::string bytes(data.substr(0, n));
    bytes += '\0';
    return WriteBytes(file, bytes.data(), bytes.size());
}

bool WritePaddedText(std::FILE* file, std::string_view text, std::size_t width)
{
    std::string bytes(text);
    bytes += '\0';
    if (bytes.size() < width)
        bytes.resize(width, '\0');
    return WriteBytes(file, bytes.data(), bytes.size());
}

} // namespace lf::sys
