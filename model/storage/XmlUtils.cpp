#include "model/storage/XmlUtils.h"

#include "model/storage/Windows1252.h"
#include "model/support/Folders.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/Utf8Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

void RemoveAllWhitespace(std::string& text)
{
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\t' || c == ' '; });
}

bool SplitTextBySeparator(const std::string& text, CStringArray* list, const std::string& separator,
                          SplitPieceRestorer restore)
{
    // An empty separator would be found everywhere and never move the search on.
    if (!list || separator.empty())
        return false;
    list->RemoveAll();
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t found = text.find(separator, start);
        std::string piece =
            text.substr(start, found == std::string::npos ? std::string::npos : found - start);
        if (restore)
            restore(piece);
        list->Add(piece);
        if (found == std::string::npos)
            break;
        start = found + separator.size();
    }
    return true;
}

void AppendTextElement(const std::string& elementName, const std::string& text, pugi::xml_node parent,
                       bool cdata)
{
    pugi::xml_node element = parent.append_child(elementName.c_str());
    pugi::xml_node node = element.append_child(cdata ? pugi::node_cdata : pugi::node_pcdata);
    std::string valid = text;
    lf::sys::MakeValidUtf8(valid);
    node.set_value(valid.c_str());
}

void AppendFileAsHexElement(const std::string& elementName, const std::string& storedFileName,
                            pugi::xml_node parent, const std::string& bookFileName)
{
    std::string path = storedFileName;
    ResolveMediaFileName(path, bookFileName);
    std::string bytes;
    if (!lf::sys::ReadWholeFile(path, bytes))
        return;

    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes)
        lf::sys::AppendHexByte(hex, static_cast<unsigned char>(c));
    pugi::xml_node element = parent.append_child(elementName.c_str());
    element.append_attribute("FileName").set_value(storedFileName.c_str());
    element.append_child(pugi::node_cdata).set_value(hex.c_str());
}

namespace
{

// The stored name as a path below the target folder, "/" separated; empty when the name could lead
// outside that folder (a full path, a drive or web address, a ".." component) or names nothing.
std::string SafeRelativeName(const std::string& storedFileName)
{
    // One leading "\" is dropped, as ResolveMediaFileName drops it; the remainder counts.
    const std::string_view name =
        std::string_view(storedFileName)
            .substr(!storedFileName.empty() && storedFileName.front() == '\\' ? 1 : 0);
    // A name that ends in a separator names a folder, not a file.
    if (!lf::sys::StaysInFolder(name) || name.back() == '/' || name.back() == '\\')
        return {};
    return StoredNameToPath(std::string(name));
}

} // namespace

bool ExtractHexToFile(const std::string& folder, const std::string& storedFileName,
                      const std::string& hexText)
{
    if (hexText.size() < 2 || hexText.size() % 2 != 0)
        return false;
    const std::string name = SafeRelativeName(storedFileName);
    if (name.empty())
        return false;

    std::string bytes;
    bytes.reserve(hexText.size() / 2);
    for (std::size_t i = 0; i < hexText.size(); i += 2)
    {
        const int high = lf::sys::HexDigitValue(hexText[i]);
        const int low = lf::sys::HexDigitValue(hexText[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<char>((high << 4) | low));
    }

    return lf::sys::WriteFileAtomically(lf::sys::JoinPath(folder, name), bytes);
}

bool IsValidUtf8(std::string_view bytes)
{
    return lf::sys::IsValidUtf8(bytes);
}

namespace
{

// True when the XML declaration at the start names an encoding.
bool DeclaresEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 5) != "<?xml")
        return false;
    const std::size_t end = bytes.find("?>");
    return bytes.substr(0, end).find("encoding") != std::string_view::npos;
}

// What the bytes of a file are: valid UTF-8 or not, and whether they hold a character reference.
struct SByteScan
{
    bool valid = true;
    bool references = false;
};

void ScanBytes(const char* buffer, std::size_t from, std::size_t to, SByteScan& scan)
{
    if (from >= to)
        return;
    if (scan.valid && !lf::sys::IsValidUtf8(std::string_view(buffer + from, to - from)))
        scan.valid = false;
    // From one byte back, so a reference cut after its "&" is found.
    const std::size_t back = from > 0 ? 1 : 0;
    if (!scan.references)
        scan.references =
            std::string_view(buffer + from - back, to - from + back).find("&#") != std::string_view::npos;
}

// Reads size bytes of file into buffer a block at a time and scans each block while it is still in the
// cache: a book is read once from memory instead of once per check. False when the file is shorter.
bool ReadAndScan(std::FILE* file, char* buffer, std::size_t size, SByteScan& scan)
{
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::size_t filled = 0;
    std::size_t scanned = 0;
    while (filled < size)
    {
        const std::size_t want = std::min(kBlock, size - filled);
        const std::size_t got = std::fread(buffer + filled, 1, want, file);
        filled += got;
        if (got != want)
            return false;
        // Scanned up to the last ASCII byte, which no UTF-8 sequence holds, so no sequence is cut in two;
        // the rest is scanned with the next block.
        std::size_t cut = filled;
        if (filled < size)
            while (cut > scanned && static_cast<unsigned char>(buffer[cut - 1]) >= 0x80)
                --cut;
        ScanBytes(buffer, scanned, cut, scan);
        scanned = std::max(scanned, cut);
    }
    return true;
}

// A buffer the XML document takes over, allocated the way the XML library frees it.
char* LibraryBuffer(std::size_t size)
{
    return static_cast<char*>(pugi::get_memory_allocation_function()(size == 0 ? 1 : size));
}

} // namespace

bool LoadXmlFile(pugi::xml_document& doc, const std::string& fileName, unsigned parseOptions)
{
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        return false;
    std::error_code error;
    auto size = static_cast<std::size_t>(std::filesystem::file_size(fileName, error));
    if (error)
    {
        std::fclose(file);
        return false;
    }
    char* buffer = LibraryBuffer(size);
    if (!buffer)
    {
        std::fclose(file);
        return false;
    }
    SByteScan scan;
    const bool complete = ReadAndScan(file, buffer, size, scan);
    std::fclose(file);
    if (!complete)
    {
        pugi::get_memory_deallocation_function()(buffer);
        return false;
    }
    const std::string_view bytes(buffer, size);
    const bool hasBom = size >= 2 && (static_cast<unsigned char>(buffer[0]) >= 0xFE ||
                                      (size >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF"));
    // Bytes checked to be valid UTF-8 (or made so) stay valid through the parse unless a character
    // reference names what is no character; only then does the tree need mending afterwards.
    const bool checkedBytes = !hasBom && !DeclaresEncoding(bytes);
    bool needsMending = !checkedBytes || scan.references;
    // The bytes to parse where they differ from the file's: a text that is not UTF-8 converted, and
    // references to what is no character rewritten, so that the library neither ends a value at a 0 nor
    // wraps a number round to another character.
    const bool converted = checkedBytes && !scan.valid;
    std::string replaced = converted ? Windows1252ToUtf8(bytes) : std::string();
    if (scan.references)
    {
        std::string mended =
            lf::sys::ReplaceXmlReferencesToNoCharacter(converted ? std::string_view(replaced) : bytes);
        if (!mended.empty())
            replaced = std::move(mended);
    }
    if (converted || !replaced.empty())
    {
        pugi::get_memory_deallocation_function()(buffer);
        buffer = LibraryBuffer(replaced.size());
        if (!buffer)
            return false;
        std::memcpy(buffer, replaced.data(), replaced.size());
        size = replaced.size();
    }
    const pugi::xml_parse_result result = doc.load_buffer_inplace_own(
        buffer, size, parseOptions, converted ? pugi::encoding_utf8 : pugi::encoding_auto);
    if (!result)
        return false;
    // Bytes the library took for another encoding were converted, not checked: mended to be sure.
    needsMending = needsMending || result.encoding != pugi::encoding_utf8;
    // A declared or marked encoding does not make the bytes valid, and character references can name
    // what is no character: everything read is made valid UTF-8 before the program sees it.
    if (needsMending)
        lf::sys::MakeXmlTextsValidUtf8(doc);
    return true;
}
