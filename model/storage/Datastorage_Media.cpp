// The book with embedded media (".lnf4"): the native book plus a `Contents` section that carries every
// picture, sound and linked file its questions use as hexadecimal text, so a book and its media travel as
// one file. Reading puts the files back into the open book's media folder before the questions are read.
#include "model/storage/Datastorage.h"

#include "model/storage/NativeBook.h"

#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace
{

// A name worth embedding: a picture, sound or video file that is not a web address and names no "/" path.
bool IsEmbeddableName(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && IsMediaFileName(name);
}

// Collects the names one item uses: its picture and sound, and the files linked from its rich texts.
// False when one of its answers cannot be fetched.
bool CollectItemFileNames(CBaseItem* item, CStringArray& names)
{
    names.Add(item->GetImageToDisplay());
    names.Add(item->GetAudioFileName());
    CollectLinkedFileNames(item->GetQuestionText(), names);
    CollectLinkedFileNames(item->GetGeneralFeedback(), names);
    if (auto* calculated = item->GetCalculated())
    {
        // The answer of a calculated question is a formula, not a rich text.
        for (std::int32_t i = 0; i < calculated->GetAnswerCount(); ++i)
        {
            SCalculatedAnswerItem* answer = nullptr;
            if (!calculated->GetCalculatedAnswer(i, answer) || !answer)
                return false;
            CollectLinkedFileNames(answer->Feedback, names);
        }
    }
    else
    {
        for (std::int32_t i = 0; i < item->GetAnswerCount(); ++i)
        {
            SAnswerItem* answer = nullptr;
            if (!item->GetAnswer(i, answer) || !answer)
                return false;
            CollectLinkedFileNames(answer->Feedback, names);
            CollectLinkedFileNames(answer->AnswerText, names);
        }
    }
    if (auto* choice = dynamic_cast<CMultipleChoiceItem*>(item))
    {
        CollectLinkedFileNames(choice->GetFeedbackForAnyCorrectResponse(), names);
        CollectLinkedFileNames(choice->GetFeedbackForAnyPartiallyCorrectResponse(), names);
        CollectLinkedFileNames(choice->GetFeedbackForAnyIncorrectResponse(), names);
    }
    else if (auto* trueFalse = dynamic_cast<CTrueFalseItem*>(item))
    {
        CollectLinkedFileNames(trueFalse->GetFeedbackForTheResponseTrue(), names);
        CollectLinkedFileNames(trueFalse->GetFeedbackForTheResponseFalse(), names);
    }
    return true;
}

// Every embeddable name of the book (items deleted for good included), sorted byte-wise without exact
// repeats; names differing in letter case are distinct files on disk and are both kept.
bool CollectContentFileNames(const CItemsArray2* items, std::vector<std::string>& result)
{
    CStringArray names;
    for (std::int32_t i = 0; i < items->GetCount(); ++i)
    {
        if (CBaseItem* item = items->GetItem(i); item && !CollectItemFileNames(item, names))
            return false;
    }
    result.clear();
    for (std::int32_t i = 0; i < names.GetSize(); ++i)
    {
        if (IsEmbeddableName(names[i]))
            result.push_back(names[i]);
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return true;
}

// Where the stored name puts its file, relative to the media folder ("/" separated); empty when that place
// is not inside the folder: a full path, a drive or web address, or a name with a ".." part.
std::string ContentPathBelowFolder(const std::string& storedName)
{
    // The writer drops one leading "\" of a stored name; the remainder counts.
    const std::string_view name =
        std::string_view(storedName).substr(!storedName.empty() && storedName.front() == '\\' ? 1 : 0);
    if (!lf::sys::StaysInFolder(name))
        return {};
    const std::filesystem::path place =
        std::filesystem::path(StoredNameToPath(std::string(name))).lexically_normal();
    if (!place.has_filename())
        return {};
    return place.generic_string();
}

} // namespace

// --- Writer ---

std::string CDataStorage::ContentBookFileName(const std::string& fileName, bool keepName)
{
    if (keepName || (fileName.size() > 5 && lf::sys::EndsWithNoCase(fileName, ".lnf4")))
        return fileName;
    return fileName + ".lnf4";
}

bool CDataStorage::SaveWithContentXML(const std::string& fileName, CItemsArray2* items, bool clearModified,
                                      bool keepName)
{
    if (fileName.empty() || !items)
        return false;
    WriteLog("CDataStorage::SaveWithContentXML, File name - " + fileName, 5, 1);

    const std::string target = ContentBookFileName(fileName, keepName);
    ShowStatus("Start save book...");

    std::vector<std::string> names;
    if (!CollectContentFileNames(items, names))
    {
        WriteLog("CDataStorage::SaveWithContentXML - an answer could not be read, the book is not written", 1,
                 1);
        return false;
    }
    // Each file is read, turned into its `Content` and printed on its own after the questions, so only one
    // file's bytes are held at a time.
    const std::string bookFileName = m_FileName;
    const auto writeContents = [this, &names, &bookFileName](pugi::xml_writer& writer)
    {
        constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;
        pugi::xml_document part;
        bool any = false;
        for (const std::string& name : names)
        {
            part.reset();
            AppendFileAsHexElement("Content", name, part, bookFileName);
            const pugi::xml_node content = part.first_child();
            if (!content)
                continue;
            if (!any)
                writer.write("\t<Contents>\n", 12);
            any = true;
            content.print(writer, "\t", kFormat, pugi::encoding_utf8, 2);
            PumpEvents();
        }
        if (any)
            writer.write("\t</Contents>\n", 13);
        else
            writer.write("\t<Contents />\n", 14);
        return true;
    };
    if (!WriteNativeBookFile(target, items, "CDataStorage::SaveWithContentXML", writeContents, Progress()))
        return false;
    if (clearModified)
        items->SetModified(false);
    ShowStatus("Book saved.");
    return true;
}

bool CDataStorage::SaveContentsToXML(pugi::xml_node root, CItemsArray2* items)
{
    std::vector<std::string> names;
    if (!items || !CollectContentFileNames(items, names))
        return false;
    pugi::xml_node contents = root.append_child("Contents");
    for (const std::string& name : names)
        AppendFileAsHexElement("Content", name, contents, m_FileName);
    return true;
}

// --- Reader ---

bool CDataStorage::LoadWithContentXML(const std::string& fileName, CItemsArray2* items,
                                      std::int32_t categoryOffset, bool replace)
{
    WriteLog("CDataStorage::LoadWithContentXML, File name - " + fileName, 5, 1);
    std::error_code error;
    if (!items || !std::filesystem::exists(fileName, error))
    {
        ShowStatus("Book loaded.");
        return false;
    }
    ShowStatus("Start load book...");
    pugi::xml_document doc;
    const bool parsed = LoadXmlFile(doc, fileName, kBookParseOptions);
    // The media go first, and only for a book the reader accepts; their text is dropped from the document
    // before the questions are read, so the hexadecimal copy of the media is not held meanwhile.
    if (parsed)
    {
        pugi::xml_node root = doc.child("Lernfold");
        const std::int32_t version = ReadNativeBookVersion(root);
        if (root && version >= 1)
        {
            LoadContentsFromXML(root, items, version);
            root.remove_child("Contents");
        }
    }
    return ReadParsedNativeBook(doc, parsed, items, {.categoryOffset = categoryOffset, .replace = replace},
                                Progress());
}

bool CDataStorage::LoadContentsFromXML(pugi::xml_node root, CItemsArray2* items, std::int32_t version)
{
    (void)items;
    (void)version;
    const pugi::xml_node contents = root.child("Contents");
    if (!contents)
        return true;
    // Without a file name the open book has no media folder; the files would otherwise land in whatever
    // the working folder happens to be.
    const std::string folder = GetBookMediaFolder(m_FileName);
    if (folder.empty())
    {
        WriteLog("CDataStorage::LoadContentsFromXML - the open book has no file name, media are not written",
                 2, 1);
        return true;
    }
    for (pugi::xml_node content = contents.child("Content"); content;
         content = content.next_sibling("Content"))
    {
        PumpEvents();
        const std::string name = content.attribute("FileName").value();
        const std::string hex = content.first_child().value();
        // An empty file travels as an empty text and has nothing to restore.
        if (hex.empty())
            continue;
        const std::string relative = ContentPathBelowFolder(name);
        if (relative.empty())
        {
            WriteLog("CDataStorage::LoadContentsFromXML - Content skipped, its file would lie outside the "
                     "media folder: " +
                         name,
                     2, 1);
            continue;
        }
        // A name with folders keeps them below the media folder, where the questions look for the file.
        const std::size_t slash = relative.rfind('/');
        if (slash != std::string::npos)
            CreateFolder(folder + relative.substr(0, slash));
        if (!ExtractHexToFile(folder, name, hex))
            WriteLog("CDataStorage::LoadContentsFromXML - Content skipped, not hexadecimal text or not "
                     "writable: " +
                         name,
                     2, 1);
    }
    return true;
}
