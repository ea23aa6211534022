// The clipboard in force and the in-memory clipboard.
#include "platform/sys/Clipboard.h"

namespace lf::sys
{

Clipboard::~Clipboard() = default;

bool MemoryClipboard::HasFormat(const std::string& format)
{
    return m_Formats.find(format) != m_Formats.end();
}

std::string MemoryClipboard::Data(const std::string& format)
{
    const auto found = m_Formats.find(format);
    return found == m_Formats.end() ? std::string() : found->second;
}

void MemoryClipboard::SetData(const std::string& format, const std::string& bytes)
{
    m_Formats[format] = bytes;
}

void MemoryClipboard::Clear()
{
    m_Formats.clear();
}

namespace
{

Clipboard* g_clipboard = nullptr;

MemoryClipboard& ProcessClipboard()
{
    static MemoryClipboard clipboard;
    return clipboard;
}

} // namespace

Clipboard& CurrentClipboard()
{
    return g_clipboard ? *g_clipboard : ProcessClipboard();
}

void SetClipboard(Clipboard* clipboard)
{
    g_clipboard = clipboard;
}

} // namespace lf::sys
