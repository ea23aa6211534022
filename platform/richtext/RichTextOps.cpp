#include "platform/richtext/RichTextOps.h"

#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>

namespace lf
{

SRichTextHost& RichTextHost()
{
    static SRichTextHost host;
    return host;
}

} // namespace lf

using lf::RichDocument;
using lf::RichXmlResult;

namespace
{

constexpr const char* kHtmlPageStart = "<html><head><title>Moodle question</title></head> <body> ";
constexpr const char* kHtmlPageEnd = " </body></html>";

// A hidden view as the main window's are set up: the default sheet with the user's field font.
RichDocument HiddenView()
{
    RichDocument doc;
    ApplyDefaultFont(doc.styles);
    return doc;
}

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) <= ' '; });
}

// Loads an XML text; the view is unchanged unless the result is Loaded.
RichXmlResult LoadXml(const std::string& text, RichDocument& view, bool replace, bool purgeStyles)
{
    // A text that does not name the root cannot hold it: imported texts skip the parse.
    if (text.find(lf::kRichXmlRoot) == std::string::npos)
        return RichXmlResult::NoRoot;
    if (replace)
    {
        return lf::ReadRichXml(text, view,
                               [purgeStyles](RichDocument& cleared) { ClearRichView(cleared, purgeStyles); });
    }
    RichDocument loaded = HiddenView();
    const RichXmlResult result = lf::ReadRichXml(text, loaded);
    if (result == RichXmlResult::Loaded && !IsRichViewEmpty(loaded))
        view.AppendDocument(loaded);
    return result;
}

void AddPlainText(const std::string& text, RichDocument& view, bool replace, bool purgeStyles)
{
    if (replace)
        ClearRichView(view, purgeStyles);
    if (!text.empty())
        view.content.AddTextLines(text, 0, 0, true);
}

// The text as an HTML reader sees its blanks: every run of blanks, tabs and line breaks one blank,
// none at the ends.
std::string CollapseBlanks(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool pending = false;
    for (char ch : text)
    {
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f')
        {
            pending = !out.empty();
            continue;
        }
        if (pending)
            out += ' ';
        pending = false;
        out += ch;
    }
    return out;
}

void ReplaceCr(std::string& text)
{
    std::replace(text.begin(), text.end(), '\r', '\n');
}

} // namespace

bool IsRichViewEmpty(const RichDocument& view)
{
    if (view.content.Empty())
        return true;
    std::string text = lf::RichPlainText(view.content);
    if (text.size() >= 10)
        return false;
    for (char& ch : text)
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    if (!IsBlank(text))
        return false;
    return std::none_of(view.content.items.begin(), view.content.items.end(),
                        [](const lf::SRichItem& item)
                        {
                            return item.styleNo == lf::kRichStylePicture ||
                                   item.styleNo == lf::kRichStyleHotPicture ||
                                   item.styleNo == lf::kRichStyleTable;
                        });
}

bool GetXMLFormRE(std::string& text, const RichDocument& view)
{
    text.clear();
    if (IsRichViewEmpty(view))
        return true;
    text = lf::WriteRichXml(view);
    return true;
}

void SetXMLToRE(const std::string& text, RichDocument& view, bool replace, bool purgeStyles,
                bool fetchPictures, const lf::RichPictureRequest& requestPicture)
{
    if (LoadXml(text, view, replace, purgeStyles) == RichXmlResult::Loaded)
        return;
    if (replace && text.find_first_of("<&") != std::string::npos && !IsBlank(text))
    {
        // The text goes through the HTML importer once: the import that decides whether it reads as
        // HTML is the one that stays. (Fetched pictures cannot change that decision: a text that names
        // a picture holds its tag, which no imported plain text reproduces.) Text that is not HTML
        // leaves the sheet as it was.
        const lf::RichStyleSheet sheet = view.styles;
        LoadHtmlToRE(text, view, true, fetchPictures, requestPicture);
        std::string plain;
        GetControlText(view, plain, true, false);
        if (CollapseBlanks(plain) != CollapseBlanks(text))
            return;
        view.styles = sheet;
        AddPlainText(text, view, true, purgeStyles);
        return;
    }
    if (IsHtmlText(text))
    {
        LoadHtmlToRE(text, view, replace, fetchPictures, requestPicture);
        return;
    }
    // Not the XML shape: plain text, also when it only failed to parse (a stale view must not stay
    // on show in place of the text).
    AddPlainText(text, view, replace, purgeStyles);
}

void SetXMLToRE(const std::string& text, RichDocument& view, bool replace, bool purgeStyles,
                bool fetchPictures)
{
    SetXMLToRE(text, view, replace, purgeStyles, fetchPictures, lf::RichTextHost().requestPicture);
}

bool IsHtmlText(const std::string& text)
{
    if (text.find_first_of("<&") == std::string::npos || IsBlank(text))
        return false;
    // Pictures add nothing to the plain text: placeholders do.
    RichDocument probe = HiddenView();
    LoadHtmlToRE(text, probe, true, false, {});
    std::string plain;
    GetControlText(probe, plain, true, false);
    // HTML folds blanks and line breaks, so a plain text with line breaks, tabs or double blanks
    // reads differently without holding any markup; only a difference in its other characters
    // makes it HTML. Otherwise it stays plain text and keeps its lines.
    return CollapseBlanks(plain) != CollapseBlanks(text);
}

void LoadHtmlToRE(const std::string& text, RichDocument& view, bool replace, bool fetchPictures,
                  const lf::RichPictureRequest& requestPicture)
{
    lf::SHtmlImportOptions options;
    options.requestPicture = requestPicture;
    options.fetchPictures = fetchPictures;
    const std::string page = kHtmlPageStart + text + kHtmlPageEnd;
    if (replace)
    {
        view.content.Clear();
        view.selection.reset();
        lf::ImportHtml(page, view, options);
        return;
    }
    RichDocument imported = HiddenView();
    lf::ImportHtml(page, imported, options);
    if (!IsRichViewEmpty(imported))
        view.AppendDocument(imported);
}

void LoadXMLToRE(const std::string& text, RichDocument& view, bool replace, bool purgeStyles)
{
    if (LoadXml(text, view, replace, purgeStyles) == RichXmlResult::NoRoot)
        AddPlainText(text, view, replace, purgeStyles);
}

bool NormalizeTextToXML(std::string& text, const lf::RichPictureRequest& requestPicture)
{
    if (text.find(lf::kRichXmlRoot) != std::string::npos && XMLTextHasRoot(text, lf::kRichXmlRoot))
        return true;
    RichDocument view = HiddenView();
    SetXMLToRE(text, view, true, true, true, requestPicture);
    return GetXMLFormRE(text, view);
}

bool NormalizeTextToXML(std::string& text)
{
    return NormalizeTextToXML(text, lf::RichTextHost().requestPicture);
}

namespace
{

// Loads a stored text into a scratch view for re-encoding. A text that counts as empty (blanks and line
// breaks only) carries nothing, as its stored form is the empty text; false for it when content is
// required.
bool LoadForStream(const std::string& text, RichDocument& scratch, bool requireContent)
{
    SetXMLToRE(text, scratch, true, false, true);
    if (!IsRichViewEmpty(scratch))
        return true;
    scratch.content.Clear();
    return !requireContent;
}

// Loads a stored text into a scratch view and maps it into the target sheet. False when content is
// required and the text holds none.
bool ToContent(const std::string& text, lf::RichContent& content, lf::RichStyleSheet& sheet,
               bool requireContent)
{
    content.Clear();
    RichDocument scratch = HiddenView();
    if (!LoadForStream(text, scratch, requireContent))
        return false;
    RichDocument target(std::move(sheet));
    target.AppendDocument(scratch);
    sheet = std::move(target.styles);
    content = std::move(target.content);
    return true;
}

// The same as a stream without a sheet of its own.
bool ToStream(const std::string& text, std::string& stream, lf::RichStyleSheet& sheet, bool requireContent)
{
    stream.clear();
    RichDocument target(lf::RichStyleSheet{});
    if (!ToContent(text, target.content, sheet, requireContent))
        return false;
    stream = lf::SaveRichStream(target, false);
    return true;
}

} // namespace

bool XMLToDisplayContent(const std::string& text, lf::RichContent& content, lf::RichStyleSheet& sheet)
{
    return ToContent(text, content, sheet, true);
}

bool XMLToDisplayRVFStream(const std::string& text, std::string& stream, lf::RichStyleSheet& displaySheet)
{
    return ToStream(text, stream, displaySheet, true);
}

bool XMLToRVFStream(const std::string& text, std::string& stream, lf::RichStyleSheet* sheet,
                    bool requireContent)
{
    if (sheet)
        return ToStream(text, stream, *sheet, requireContent);
    stream.clear();
    RichDocument scratch = HiddenView();
    if (!LoadForStream(text, scratch, requireContent))
        return false;
    stream = lf::SaveRichStream(scratch, true);
    return true;
}

void AppendXMLToRichView(const std::string& text, RichDocument& view)
{
    std::string stream;
    if (XMLToRVFStream(text, stream, &view.styles, false))
        lf::InsertRichStream(view, stream, 0);
}

std::string JoinXMLTexts(const std::string& first, const std::string& second, const std::string& middle,
                         RichDocument& scratch)
{
    SetXMLToRE(first, scratch, true, true, true);
    if (!middle.empty())
    {
        // The separator stands centred between empty lines, in the sheet's centred paragraph style.
        const int centred = scratch.styles.FindOrAddParaStyle(lf::RichStyleSheet::Default().paraStyles.at(1));
        scratch.content.AddText({}, 0, 0, true);
        scratch.content.AddTextLines(middle, 0, centred, true);
        scratch.content.AddText({}, 0, 0, true);
    }
    AppendXMLToRichView(second, scratch);
    std::string joined;
    GetXMLFormRE(joined, scratch);
    return joined;
}

std::string JoinXMLTexts(const std::string& first, const std::string& second, const std::string& middle)
{
    RichDocument scratch = HiddenView();
    return JoinXMLTexts(first, second, middle, scratch);
}

bool RichSelectionToXML(const RichDocument& view, std::string& text, bool removeBold, bool trimTrailingBlanks)
{
    text.clear();
    if (!view.selection)
        return false;
    RichDocument part = view.CopySelection();
    auto& items = part.content.items;
    if (trimTrailingBlanks)
    {
        for (std::size_t i = items.size(); i-- > 0;)
        {
            if (!items[i].IsText())
                continue;
            if (!IsBlank(items[i].text))
                break;
            // An item that went on the deleted one's line now starts that line itself.
            if (items[i].StartsLine() && i + 1 < items.size() && !items[i + 1].StartsLine())
            {
                items[i + 1].newParagraph = items[i].newParagraph;
                items[i + 1].lineBreak = items[i].lineBreak;
            }
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (!items.empty())
            items.front().newParagraph = true;
    }
    if (removeBold)
    {
        for (const auto& item : items)
            if (item.IsText() && part.styles.HasTextStyle(item.styleNo))
                part.styles.textStyles[static_cast<std::size_t>(item.styleNo)].bold = false;
    }
    return GetXMLFormRE(text, part);
}

void ClearRichView(RichDocument& view, bool purgeStyles)
{
    view.view = lf::SRichViewSettings{};
    view.content.Clear();
    view.selection.reset();
    if (purgeStyles)
        view.PurgeUnusedStyles();
    ApplyDefaultFont(view.styles);
}

void ApplyDefaultFont(lf::RichStyleSheet& sheet)
{
    if (sheet.textStyles.empty())
        sheet.textStyles.emplace_back();
    const lf::SRichFieldFont& font = lf::RichTextHost().fieldFont;
    lf::SRichTextStyle& s = sheet.textStyles.front();
    s.fontName = font.name;
    s.size = font.size;
    s.charSet = font.charSet;
    s.color = font.color;
    s.bold = font.bold;
    s.italic = font.italic;
    s.underline = font.underline;
    s.strikeOut = font.strikeOut;
}

void GetPlainTextFromXML(const std::string& text, RichDocument& view, std::string& out, bool crToLf)
{
    SetXMLToRE(text, view, true, true, true);
    GetControlText(view, out, crToLf, false);
}

void GetControlText(const RichDocument& view, std::string& out, bool crToLf, bool flatten)
{
    out = lf::RichPlainText(view.content);
    if (crToLf)
        ReplaceCr(out);
    if (flatten)
        FlattenTabsAndLineBreaks(out, false);
}

namespace
{

std::string LowerTrimmed(const char* value)
{
    return lf::sys::AsciiLower(lf::sys::TrimView(value));
}

} // namespace

bool XMLTextNeedsSpecialRendering(const std::string& text)
{
    pugi::xml_document xml;
    if (!xml.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto))
        return false;
    const pugi::xml_node root = xml.child(lf::kRichXmlRoot);
    if (!root)
        return false;
    std::vector<long long> special;
    long long index = 0;
    for (pugi::xml_node font = root.child("style").child("font"); font;
         font = font.next_sibling("font"), ++index)
    {
        const std::string face = LowerTrimmed(font.attribute("fontname").value());
        const std::string subSuper = LowerTrimmed(font.attribute("subsuperscripttype").value());
        if (face == "system" || subSuper == "super" || subSuper == "sub")
            special.push_back(index);
    }
    if (special.empty())
        return false;
    for (pugi::xml_node run = root.child("document").child("text"); run; run = run.next_sibling("text"))
    {
        long long value = 0;
        lf::sys::ReadNumber(run.attribute("textstyleno").value(), value);
        if (std::find(special.begin(), special.end(), value) != special.end())
            return true;
    }
    return false;
}
