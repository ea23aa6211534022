// Clipboard kinds for the paste commands.
#include "model/storage/ClipboardKinds.h"
#include "model/support/Utils.h"

#include "platform/sys/Clipboard.h"
#include "platform/sys/NumberText.h"

#include <pugixml.hpp>

namespace
{

// A whole text read as a decimal integer (an optional sign, then digits only).
bool ParseInteger(const std::string& text, int& value)
{
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    return lf::sys::ReadNumber(digits, value);
}

bool HasText()
{
    return lf::sys::CurrentClipboard().HasFormat(lf::sys::kClipboardText);
}

} // namespace

std::string GetClipboardFormatText(const std::string& format)
{
    lf::sys::Clipboard& clipboard = lf::sys::CurrentClipboard();
    if (!clipboard.HasFormat(format))
        return {};
    std::string bytes = clipboard.Data(format);
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string::npos)
        bytes.resize(zero);
    return bytes;
}

bool GetExcelClipboardRowCount(int& rows)
{
    if (!lf::sys::CurrentClipboard().HasFormat(lf::sys::kClipboardDif))
        return false;
    const std::string text = GetClipboardFormatText(lf::sys::kClipboardDif);
    static const std::string kMarker = "TUPLES\r\n0,";
    const std::size_t marker = text.find(kMarker);
    if (text.find("EXCEL") == std::string::npos || marker == std::string::npos)
        return false;
    const std::size_t start = marker + kMarker.size();
    const std::size_t lineEnd = text.find("\r\n", start);
    int value = 0;
    if (lineEnd == std::string::npos || !ParseInteger(text.substr(start, lineEnd - start), value))
        value = 0;
    rows = value;
    return true;
}

bool ClipboardTextToStringList(CStringArray* list)
{
    if (!list || !HasText())
        return false;
    *list = SplitTextLines(GetClipboardFormatText(lf::sys::kClipboardText));
    return true;
}

bool IsOwnXmlOnClipboard()
{
    if (!HasText())
        return false;
    const std::string text = GetClipboardFormatText(lf::sys::kClipboardText);
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size(), pugi::parse_default))
        return false;
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "Lernfold")
        return false;
    int version = -1;
    if (!ParseInteger(root.attribute("Version").value(), version))
        version = -1;
    return version > 0;
}

bool GetClipboardColumnCount(int& count, const std::string& separator)
{
    if (!HasText())
        return false;
    const CStringArray lines = SplitTextLines(GetClipboardFormatText(lf::sys::kClipboardText));
    if (lines.GetSize() < 1)
        return false;
    const std::string& line = lines[0];
    int pieces = 1;
    if (!separator.empty())
    {
        for (std::size_t pos = line.find(separator); pos != std::string::npos;
             pos = line.find(separator, pos + separator.size()))
            ++pieces;
    }
    count = pieces;
    return true;
}

int GetClipboardKind(int& number, const std::string& separator)
{
    number = 0;
    int value = 0;
    if (GetExcelClipboardRowCount(value))
    {
        number = value;
        return CLIPBOARD_KIND_SPREADSHEET;
    }
    if (IsOwnXmlOnClipboard())
        return CLIPBOARD_KIND_OWN_XML;
    if (!separator.empty() && GetClipboardColumnCount(value, separator))
    {
        number = value;
        return CLIPBOARD_KIND_DELIMITED;
    }
    if (HasText())
        return CLIPBOARD_KIND_TEXT;
    return CLIPBOARD_KIND_NONE;
}

int GetRichClipboardKind()
{
    lf::sys::Clipboard& clipboard = lf::sys::CurrentClipboard();
    if (clipboard.HasFormat(lf::sys::kClipboardRichView))
        return RICH_CLIPBOARD_RICHVIEW;
    if (clipboard.HasFormat(lf::sys::kClipboardHtml))
        return RICH_CLIPBOARD_HTML;
    if (clipboard.HasFormat(lf::sys::kClipboardRtf))
        return RICH_CLIPBOARD_RTF;
    if (HasText())
        return RICH_CLIPBOARD_TEXT;
    return RICH_CLIPBOARD_NONE;
}
