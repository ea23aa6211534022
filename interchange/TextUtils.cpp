#include "interchange/TextUtils.h"

#include "model/storage/Windows1252.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Log.h"
#include "platform/richtext/HtmlExport.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace
{

// The UTF-8 form of the character a Windows-1252 byte stands for.
std::string Cp1252Char(unsigned char byte)
{
    return Windows1252ToUtf8(std::string(1, static_cast<char>(byte)));
}

struct SCodeToken
{
    unsigned char code;
    const char* token;
};

// Symbol-font signs in the order they are replaced.
constexpr std::array<SCodeToken, 23> kSymbolSigns{{
    {0xB1, "[+-]"},  {0xA3, "<="},    {0xB3, ">="},   {0xD6, "[sqrt]"}, {0xB9, "[/=]"}, {0xB8, "/"},
    {0xD7, "*"},     {0xBD, "|"},     {0xE7, "|"},    {0xEA, "|"},      {0xEF, "|"},    {0xF4, "|"},
    {0xF7, "|"},     {0xFA, "|"},     {0xE0, "[<>]"}, {0xD8, ""},       {0xA2, "'"},    {0xC4, "[x]"},
    {0xAB, "[<->]"}, {0xB0, "[deg]"}, {0xBB, "[~=]"}, {0xC6, "[diam]"}, {0xD9, "[^]"},
}};

// Typographic Windows-1252 characters in the order they are replaced.
constexpr std::array<SCodeToken, 17> kAnsiPunctuation{{
    {0x92, "'"},
    {0xAD, "-"},
    {0x97, "-"},
    {0x96, "-"},
    {0x93, "\""},
    {0x94, "\""},
    {0xA0, " "},
    {0xD8, " "},
    {0xF0, "[pi]"},
    {0xD0, "[PI]"},
    {0xB0, "[deg]"},
    {0x98, "[~]"},
    {0xB1, "[+-]"},
    {0xB7, "*"},
    {0xA2, "c"},
    {0xB4, "[?]"},
    {0x91, "'"},
}};

// Greek letter names at the Latin letter positions of the Symbol font; "???" where the font has none.
constexpr std::array<const char*, 26> kGreekSmall{
    "alpha", "beta",  "chi",     "delta", "epsilon", "phi",     "gamma", "eta",   "iota",
    "???",   "kappa", "lambda",  "mu",    "nu",      "omicron", "pi",    "theta", "rho",
    "sigma", "tau",   "upsilon", "???",   "omega",   "xi",      "psi",   "zeta"};
constexpr std::array<const char*, 26> kGreekCapital{
    "ALPHA", "BETA",  "CHI",     "DELTA", "EPSILON", "PHI",     "GAMMA", "ETA",   "IOTA",
    "???",   "KAPPA", "LAMBDA",  "MU",    "NU",      "OMICRON", "PI",    "THETA", "RHO",
    "SIGMA", "TAU",   "UPSILON", "???",   "OMEGA",   "XI",      "PSI",   "ZETA"};

// A code table as pairs of the character's UTF-8 form and its token, built once.
template <std::size_t N>
std::vector<std::pair<std::string, std::string>> BuildTable(const std::array<SCodeToken, N>& codes)
{
    std::vector<std::pair<std::string, std::string>> table;
    table.reserve(N);
    for (const SCodeToken& entry : codes)
        table.emplace_back(Cp1252Char(entry.code), entry.token);
    return table;
}

void ApplyTable(std::string& text, const std::vector<std::pair<std::string, std::string>>& table)
{
    for (const auto& [character, token] : table)
        text = ReplaceAllText(text, character, token);
}

// Replaces every occurrence of placeholder by replacement except one that is the last character, which
// is logged with the error number and kept. True when one was replaced.
bool RestorePlaceholder(std::string& text, char placeholder, char replacement, const char* errorNumber)
{
    bool replaced = false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != placeholder)
            continue;
        if (i + 1 == text.size())
        {
            WriteLog(std::string("Tm_ListFrm::ReplaceSymbolsForParsing - ERROR ") + errorNumber, 1, 1);
            break;
        }
        text[i] = replacement;
        replaced = true;
    }
    return replaced;
}

} // namespace

std::string UnescapeXMLText(const std::string& text)
{
    std::string result = ReplaceAllText(text, "\r\n", " ");
    std::replace(result.begin(), result.end(), '\t', ' ');
    result = ReplaceAllText(result, "&lt;", "<");
    result = ReplaceAllText(result, "&gt;", ">");
    result = ReplaceAllText(result, "&apos;", "'");
    return ReplaceAllText(result, "&amp;", "&");
}

void RemoveLineBreaksAndTabs(std::string& text, bool trim)
{
    std::erase_if(text, [](char ch) { return ch == '\r' || ch == '\n' || ch == '\t'; });
    if (trim)
        text = lf::sys::Trim(text);
}

void ReplaceCharacter(std::string& text, char from, char to)
{
    if (from != to)
        std::replace(text.begin(), text.end(), from, to);
}

std::string ReplaceAllText(const std::string& text, const std::string& oldText, const std::string& newText)
{
    if (oldText.empty())
        return text;
    std::string result;
    std::size_t start = 0;
    for (std::size_t found = text.find(oldText); found != std::string::npos;
         found = text.find(oldText, start))
    {
        result.append(text, start, found - start);
        result += newText;
        start = found + oldText.size();
    }
    result.append(text, start, std::string::npos);
    return result;
}

void ReplaceSymbolsForParsing(std::string& text)
{
    bool replaced = RestorePlaceholder(text, '\x01', '\t', "2");
    replaced = RestorePlaceholder(text, '\x02', '\n', "2") || replaced;
    replaced = RestorePlaceholder(text, '\x03', '\r', "3") || replaced;
    if (replaced && text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
}

void RichTextToMoodleHTML(std::string& out, const std::string& storedText, lf::RichDocument* view,
                          const std::string& pictureFolder, const std::string& picturePrefix)
{
    if (!view)
    {
        out = "Error!!! pRichViewVoid == NULL";
        return;
    }
    SetXMLToRE(storedText, *view, true, true, false);
    if (IsRichViewEmpty(*view))
    {
        out.clear();
        return;
    }
    lf::SHtmlExportOptions options;
    options.title = "Moodle HTML";
    options.pictureFolder = pictureFolder;
    options.picturePrefix = picturePrefix;
    std::string html;
    if (!lf::ExportHtml(*view, options, html))
        WriteLog("RichTextToMoodleHTML - a picture file could not be written", 1, 1);

    // The body of the page, without the line break that follows its tag.
    // ASCII lower-casing keeps every byte in its place, so positions carry over to html.
    const std::string lower = lf::sys::AsciiLower(html);
    const std::size_t bodyStart = lower.find("<body");
    const std::size_t bodyEnd = lower.find("</body>");
    if (bodyStart != std::string::npos && bodyEnd != std::string::npos && bodyStart < bodyEnd)
    {
        const std::size_t tagEnd = lower.find('>', bodyStart + 5);
        if (tagEnd != std::string::npos && tagEnd + 2 <= bodyEnd)
        {
            out = html.substr(tagEnd + 2, bodyEnd - tagEnd - 2);
            return;
        }
    }
    out = std::move(html);
}

bool NormalizeImportedText(std::string& text, const lf::RichPictureRequest& requestPicture)
{
    if (lf::sys::TrimView(text).empty())
    {
        text.clear();
        return true;
    }
    return NormalizeTextToXML(text, requestPicture);
}

bool SetFontSizeInXMLText(std::string& text, lf::RichDocument* view, int size)
{
    if (text.empty())
        return true;
    if (!view)
        return false;
    SetXMLToRE(text, *view, true, false, false);
    for (lf::SRichTextStyle& style : view->styles.textStyles)
        style.size = size;
    return GetXMLFormRE(text, *view);
}

void SymbolFontTextToTokens(std::string& out, const std::string& text)
{
    static const auto signs = BuildTable(kSymbolSigns);
    out.clear();
    out.reserve(text.size() * 2);
    for (char ch : text)
    {
        const char* name = nullptr;
        if (ch >= 'a' && ch <= 'z')
            name = kGreekSmall[static_cast<std::size_t>(ch - 'a')];
        else if (ch >= 'A' && ch <= 'Z')
            name = kGreekCapital[static_cast<std::size_t>(ch - 'A')];
        if (name && std::string_view(name) != "???")
            (out += '[').append(name) += ']';
        else
            out += ch;
    }
    ApplyTable(out, signs);
}

void ReplaceAnsiPunctuation(std::string& text)
{
    static const auto punctuation = BuildTable(kAnsiPunctuation);
    ApplyTable(text, punctuation);
}

std::uint8_t MoodleFormatNameToCode(const std::string& formatName)
{
    if (formatName == "plain_text")
        return 2;
    if (formatName == "html")
        return 3;
    if (formatName == "moodle_auto_format")
        return 5;
    if (formatName == "markdown")
        return 4;
    return 5;
}

void AppendMoodleTextElement(pugi::xml_node parent, const std::string& elementName, const std::string& text,
                             const std::string& format, bool cdata)
{
    pugi::xml_node element = parent.append_child(elementName.c_str());
    if (!format.empty())
        element.append_attribute("format").set_value(format.c_str());
    AppendTextElement("text", text, element, cdata);
}

void AppendTextCellElement(const std::string& text, const std::string& pictureName, pugi::xml_node parent)
{
    if (text.empty() && pictureName.empty())
        return;
    pugi::xml_node cell = parent.append_child("tc");
    if (!text.empty())
        AppendTextElement("t", text, cell, false);
    if (!pictureName.empty())
        AppendTextElement("img", pictureName, cell, false);
}
