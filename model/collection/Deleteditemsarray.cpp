#include "model/collection/Deleteditemsarray.h"

#include "platform/sys/AtomicFile.h"

namespace
{

constexpr std::size_t kMaxTextBytes = 255;

void PutInt32(std::string& out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

bool GetInt32(const std::string& in, std::size_t& pos, std::int32_t& value)
{
    if (in.size() - pos < 4)
        return false;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[pos + static_cast<std::size_t>(i)]))
             << (8 * i);
    pos += 4;
    value = static_cast<std::int32_t>(v);
    return true;
}

// Cuts UTF-8 text to at most limit bytes without splitting a character.
std::string CutOnCharacter(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace

CDelQuestionList::~CDelQuestionList() = default;

void CDelQuestionList::Add(std::int32_t first, std::int32_t second, const std::string& text)
{
    m_Entries.push_back({first, second, CutOnCharacter(text, kMaxTextBytes)});
}

void CDelQuestionList::Clear()
{
    m_Entries.clear();
}

bool CDelQuestionList::Write(const std::string& path, std::string& errorText) const
{
    std::string bytes;
    PutInt32(bytes, GetCount());
    for (const auto& entry : m_Entries)
    {
        PutInt32(bytes, entry.First);
        PutInt32(bytes, entry.Second);
        bytes += static_cast<char>(entry.Text.size());
        bytes += entry.Text;
    }
    std::string reason;
    if (!lf::sys::WriteFileAtomically(path, bytes, &reason))
    {
        errorText = "File dont created! \n " + path;
        return false;
    }
    return true;
}

bool CDelQuestionList::Read(const std::string& path, std::string& errorText)
{
    std::string bytes;
    if (!lf::sys::ReadWholeFile(path, bytes))
    {
        errorText = "Can't open " + path;
        return false;
    }
    std::size_t pos = 0;
    std::int32_t count = 0;
    if (!GetInt32(bytes, pos, count) || count < 0)
    {
        errorText = "Broken deleted-items file " + path;
        return false;
    }
    std::vector<SEntry> entries;
    for (std::int32_t i = 0; i < count; ++i)
    {
        SEntry entry;
        if (!GetInt32(bytes, pos, entry.First) || !GetInt32(bytes, pos, entry.Second) || pos >= bytes.size())
        {
            errorText = "Broken deleted-items file " + path;
            return false;
        }
        const auto length = static_cast<unsigned char>(bytes[pos++]);
        if (bytes.size() - pos < length)
        {
            errorText = "Broken deleted-items file " + path;
            return false;
        }
        entry.Text = bytes.substr(pos, length);
        pos += length;
        entries.push_back(std::move(entry));
    }
    if (pos != bytes.size())
    {
        errorText = "Broken deleted-items file " + path;
        return false;
    }
    m_Entries = std::move(entries);
    return true;
}
