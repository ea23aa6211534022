// The list of deleted questions written beside every handheld database book as "Lernfold.del":
// little-endian, a 32-bit count, then per entry two 32-bit values, a length byte and that many text bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDelQuestionList
{
public:
    struct SEntry
    {
        std::int32_t First = 0;
        std::int32_t Second = 0;
        std::string Text; // at most 255 bytes; longer texts are cut on a character boundary
    };

    virtual ~CDelQuestionList();

    void Add(std::int32_t first, std::int32_t second, const std::string& text);
    void Clear();
    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_Entries.size()); }
    const SEntry& GetEntry(std::int32_t index) const { return m_Entries[static_cast<std::size_t>(index)]; }

    // Writes the list to path, replacing the file as a whole. False with errorText on failure.
    bool Write(const std::string& path, std::string& errorText) const;
    // Reads a list written by Write, replacing this list's entries. A missing, truncated or overlong file is
    // refused (false with errorText) and leaves the list as it was.
    bool Read(const std::string& path, std::string& errorText);

private:
    std::vector<SEntry> m_Entries;
};
