#include "interchange/ReaderBook.h"

#include "interchange/TextUtils.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/richtext/GifEncoder.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

#include <filesystem>
#include <sstream>
#include <system_error>

namespace
{

namespace fs = std::filesystem;

constexpr std::string_view kReaderExtension = ".lnf2";

bool FileExists(const std::string& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

bool WriteGif(const lf::SRasterImage& image, const std::string& fileName)
{
    std::string bytes;
    std::string error;
    if (!lf::EncodeGif(image, bytes, &error) || !lf::sys::WriteFileAtomically(fileName, bytes, &error))
    {
        WriteLog("SaveKindleXML - the picture " + fileName + " was not written (" + error + ")", 1, 1);
        return false;
    }
    return true;
}

const lf::SRichTextStyle* StyleOf(const lf::RichDocument& view, int styleNo)
{
    const auto& styles = view.styles.textStyles;
    return styleNo >= 0 && static_cast<std::size_t>(styleNo) < styles.size() ? &styles[styleNo] : nullptr;
}

// The state of one text's walk.
struct SCellWalk
{
    std::string pending;
    bool firstParagraph = true;
    bool inSuperscript = false;
    bool pendingWritten = false;
};

void AddRun(SCellWalk& walk, const lf::SRichItem& item, const lf::RichDocument& view)
{
    if (item.StartsLine())
    {
        if (walk.firstParagraph)
            walk.firstParagraph = false;
        else
            walk.pending += "\r\n";
    }
    const lf::SRichTextStyle* style = StyleOf(view, item.styleNo);
    std::string text;
    if (style && lf::sys::LowerCase(style->fontName) == "symbol")
        SymbolFontTextToTokens(text, item.text);
    else
        text = item.text;
    if (style && style->subSuper == lf::RichSubSuper::Super)
    {
        if (!walk.inSuperscript)
        {
            text.insert(0, "^");
            walk.inSuperscript = true;
        }
    }
    else
        walk.inSuperscript = false;
    ReplaceAnsiPunctuation(text);
    walk.pending += text;
    if (!walk.pending.empty())
        walk.pendingWritten = false;
}

// Draws one picture into its GIF files and cells; false only when a band cannot be written.
bool AddPicture(SCellWalk& walk, const lf::SRichItem& item, pugi::xml_node element,
                CReaderPictureWriter& pictures)
{
    const lf::IPictureRaster* raster = pictures.Raster();
    int naturalWidth = 0;
    int naturalHeight = 0;
    lf::SRasterImage bitmap;
    SReaderPictureSize size;
    bool drawn = raster && raster->NaturalSize(item.picture, naturalWidth, naturalHeight);
    if (drawn)
    {
        size = ReaderPictureSize(item.width, item.height, naturalWidth, naturalHeight);
        drawn = raster->Draw(item.picture, size.width, size.height, bitmap);
    }
    const std::string time = lf::sys::NumberText(TimeNow());
    if (drawn && size.pieces == 1)
    {
        const std::string name = pictures.NextFileName("img" + time);
        drawn = WriteGif(bitmap, name);
        if (drawn)
        {
            pictures.CountWritten();
            AppendTextCellElement(walk.pending, lf::sys::NamePart(name), element);
        }
    }
    else if (drawn)
    {
        const std::string prefix = "img" + time + "multi_";
        const std::string full = pictures.NextFileName(prefix + "full");
        drawn = WriteGif(bitmap, full);
        if (drawn)
        {
            pictures.CountWritten();
            for (int piece = 1; piece <= size.pieces; ++piece)
            {
                const std::string name = pictures.NextFileName(prefix + lf::sys::NumberText(piece));
                if (!SaveBitmapPieceAsGif(bitmap, piece, name))
                {
                    WriteLog("Troubles with cut images", 1, 1);
                    return false;
                }
                pictures.CountWritten();
                AppendTextCellElement(walk.pending, lf::sys::NamePart(name), element);
                walk.pending.clear();
            }
        }
    }
    if (!drawn)
    {
        WriteLog("MakeKindleCellsFromXML - a picture could not be drawn and is left out", 3, 1);
        AppendTextCellElement(walk.pending, {}, element);
    }
    walk.pending.clear();
    walk.inSuperscript = false;
    walk.pendingWritten = true;
    return true;
}

} // namespace

SReaderPictureSize ReaderPictureSize(int displayWidth, int displayHeight, int naturalWidth, int naturalHeight)
{
    SReaderPictureSize size;
    size.width = displayWidth < 1 ? naturalWidth : displayWidth;
    size.height = displayHeight < 1 ? naturalHeight : displayHeight;
    // A display width within 10 % of the natural one, both limits included, is the natural size.
    const std::int64_t width10 = std::int64_t{size.width} * 10;
    if (width10 >= std::int64_t{naturalWidth} * 9 && width10 <= std::int64_t{naturalWidth} * 11)
    {
        size.width = naturalWidth;
        size.height = naturalHeight;
    }
    if (size.width > kReaderPictureLimit)
    {
        size.height = static_cast<int>(std::int64_t{size.height} * kReaderPictureLimit / size.width);
        size.width = kReaderPictureLimit;
        if (size.height > kReaderPictureLimit)
            size.pieces = (size.height + kReaderPictureLimit - 1) / kReaderPictureLimit;
    }
    // A sliver scaled below one row still makes a picture of one row.
    if (size.height < 1)
        size.height = 1;
    return size;
}

bool ReaderBandRows(int height, int piece, int& firstRow, int& rowCount)
{
    if (height <= kReaderPictureLimit)
        return false;
    const int count = (height + kReaderPictureLimit - 1) / kReaderPictureLimit;
    if (piece < 1 || piece > count)
        return false;
    firstRow = (piece - 1) * kReaderPictureLimit;
    rowCount = piece < count ? kReaderPictureLimit : height - firstRow;
    return true;
}

std::string ReaderBookFileName(const std::string& fileName, bool keepName)
{
    if (keepName)
        return fileName;
    const std::string tail = fileName.size() > kReaderExtension.size()
                                 ? fileName.substr(fileName.size() - kReaderExtension.size())
                                 : "";
    return lf::sys::LowerCase(tail) == kReaderExtension ? fileName : fileName + std::string(kReaderExtension);
}

std::string ReaderBookMediaFolder(const std::string& finalName)
{
    const std::string folder = lf::sys::FolderOf(finalName);
    const std::string name = lf::sys::NamePart(finalName);
    const std::string extension = lf::sys::ExtensionOf(finalName);
    if (extension.empty() || extension.size() >= name.size())
        return folder;
    return folder + lf::sys::WithoutExtension(name) + "/";
}

std::string CReaderPictureWriter::NextFileName(const std::string& prefix)
{
    std::string name;
    do
        name = m_folder + prefix + lf::sys::NumberText(++m_number) + ".gif";
    while (FileExists(name));
    return name;
}

bool SaveBitmapPieceAsGif(const lf::SRasterImage& bitmap, int piece, const std::string& fileName)
{
    int first = 0;
    int count = 0;
    if (!ReaderBandRows(bitmap.height, piece, first, count))
        return false;
    return WriteGif(bitmap.Rows(first, count), fileName);
}

bool MakeKindleCellsFromXML(const std::string& storedText, lf::RichDocument* view, pugi::xml_node element,
                            CReaderPictureWriter& pictures, const SExchangeContext& context)
{
    if (!view)
        return false;
    SetXMLToRE(storedText, *view, true, true, true, context.webPictures);
    SCellWalk walk;
    for (const lf::SRichItem& item : view->content.items)
    {
        if (item.IsText())
            AddRun(walk, item, *view);
        else if (item.IsPicture() && !AddPicture(walk, item, element, pictures))
            return false;
        // Tables, hotspots and breaks have no place in a reader cell.
    }
    if (!walk.pendingWritten)
        AppendTextCellElement(walk.pending, {}, element);
    return true;
}

bool AddReaderChapters(pugi::xml_node book, const CItemsArray2* items, const SExchangeContext& context)
{
    pugi::xml_node chapters = book.append_child("chapters");
    if (!chapters)
        return false;
    for (std::int32_t row = 0; row < items->GetCategoryCount(); ++row)
    {
        SCategoryInfo info;
        if (items->GetCategoryAt(row, info))
        {
            pugi::xml_node chapter = chapters.append_child("chapter");
            chapter.append_attribute("id").set_value(lf::sys::NumberText(info.ID).c_str());
            chapter.append_child(pugi::node_pcdata).set_value(info.Name.c_str());
        }
        context.Pump();
    }
    return true;
}

bool AddReaderQuestions(pugi::xml_node book, CItemsArray2* items, CReaderPictureWriter& pictures,
                        const SExchangeContext& context)
{
    pugi::xml_node questions = book.append_child("questions");
    if (!questions)
        return false;
    const std::int32_t count = items->GetCount();
    for (std::int32_t index = 0; index < count; ++index)
    {
        context.ShowProgress(index, count);
        CBaseItem* item = items->GetItem(index);
        if (!item)
            return false;
        if (item->GetQuestionType() != qtMultipleChoice || item->TestStatus(qsDeleted) ||
            item->TestStatus(qsInTrash))
            continue;
        pugi::xml_node question = questions.append_child("question");
        question.append_attribute("id").set_value(lf::sys::NumberText(item->GetID()).c_str());
        question.append_attribute("chapter").set_value(lf::sys::NumberText(item->GetCategoryID()).c_str());
        question.append_attribute("marked").set_value(item->IsMarked() ? "1" : "0");
        question.append_attribute("answered").set_value(item->IsAnswered() ? "1" : "0");
        question.append_attribute("pid").set_value("0");
        if (!MakeKindleCellsFromXML(item->GetQuestionText(), context.view, question.append_child("q"),
                                    pictures, context))
            return false;
        for (std::int32_t a = 0; a < item->GetAnswerCount(); ++a)
        {
            SAnswerItem* answer = nullptr;
            if (!item->GetAnswer(a, answer) || !answer)
                return false;
            pugi::xml_node element = question.append_child("a");
            element.append_attribute("checked").set_value(answer->Correct == "0" ? "0" : "1");
            element.append_attribute("answer").set_value("0");
            if (!MakeKindleCellsFromXML(answer->AnswerText, context.view, element, pictures, context))
                return false;
        }
        if (!MakeKindleCellsFromXML(item->GetGeneralFeedback(), context.view, question.append_child("x"),
                                    pictures, context))
            return false;
    }
    context.ShowProgress(count, count);
    return true;
}

bool SaveKindleXML(const std::string& fileName, CItemsArray2* items, bool keepName,
                   const SExchangeContext& context)
{
    if (fileName.empty())
        return false;
    WriteLog("CDataStorage::SaveKindleXML, File name - " + fileName, 5, 1);
    if (!items)
        return false;
    const std::string target = ReaderBookFileName(fileName, keepName);

    pugi::xml_document doc;
    doc.append_child("book");
    pugi::xml_node book = doc.child("book");
    if (!book)
        return false;

    std::string mediaFolder = ReaderBookMediaFolder(target);
    std::error_code error;
    if (!mediaFolder.empty() && !fs::is_directory(mediaFolder, error) && !CreateFolder(mediaFolder))
        mediaFolder = lf::sys::FolderOf(target);
    CReaderPictureWriter pictures(mediaFolder, context.pictures);

    context.ShowStatus("Start save book...");
    const bool chapters = AddReaderChapters(book, items, context);
    const bool questions = AddReaderQuestions(book, items, pictures, context);
    if (!chapters || !questions)
        WriteLog("CDataStorage::SaveKindleXML - the book was written as far as it could be built", 1, 1);

    std::ostringstream out;
    doc.save(out, "\t", pugi::format_indent, pugi::encoding_utf8);
    const std::string bytes = out.str();
    std::string writeError;
    if (bytes.empty() || !lf::sys::WriteFileAtomically(target, bytes, &writeError))
    {
        WriteLog("CDataStorage::SaveKindleXML - " + target + " was not written (" + writeError + ")", 1, 1);
        context.ShowStatus("");
        return false;
    }
    context.ShowStatus("Book saved.");
    return chapters && questions;
}
