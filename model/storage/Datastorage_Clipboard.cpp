// Question sets on the clipboard: questions travel within and between books as native XML text (without
// chapters, each question naming its chapter), and a paste reads such a text, or a set kept in the
// clipboard archive, into the open book with one undo entry per question.
#include "model/storage/Datastorage.h"

#include "model/storage/NativeBook.h"

#include "model/storage/ClipboardKinds.h"
#include "model/support/Log.h"
#include "platform/sys/Clipboard.h"
#include "platform/sys/Utf8Text.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace
{

// Prints a document into a text.
class CStringWriter : public pugi::xml_writer
{
public:
    void write(const void* data, std::size_t size) override
    {
        m_Text.append(static_cast<const char*>(data), size);
    }
    std::string m_Text;
};

} // namespace

bool CDataStorage::CopyToClipboardAsXML(CItemsArray2* items)
{
    if (!items)
        return false;
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Lernfold");
    root.append_attribute("Version").set_value("1");
    SaveQuestionsToXML(root, items, /*filter=*/true, /*sequenceOnly=*/true, /*selectedOnly=*/true,
                       /*withCategoryName=*/true);

    CStringWriter writer;
    doc.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    // The set replaces whatever the clipboard held, in every format, as a copy in any program does.
    lf::sys::Clipboard& clipboard = lf::sys::CurrentClipboard();
    clipboard.Clear();
    clipboard.SetData(lf::sys::kClipboardText, writer.m_Text);
    return true;
}

bool CDataStorage::PasteFromClipboard(CItemsArray2* items, std::int32_t insertPosition,
                                      std::int32_t archiveIndex, bool mapByName)
{
    if (!items)
        return false;
    std::string text;
    if (archiveIndex < 0)
    {
        text = GetClipboardFormatText(lf::sys::kClipboardText);
        if (text.empty())
            return false;
    }
    else
    {
        SClipboardArchiveItem entry;
        if (!m_ClipboardArchive.GetItem(archiveIndex, entry))
        {
            WriteLog("CDataStorage::PasteFromClipboard. Error - GetItem(ClipboardArchiveIndex, "
                     "ClipboardArchiveItem) == false",
                     1, 1);
            return false;
        }
        text = std::move(entry.RichText);
    }

    pugi::xml_document doc;
    // Attribute values as a book reads them, so a pasted name keeps its blanks.
    constexpr unsigned kProbeOptions =
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_wconv_attribute;
    // References to what is no character would end a value or wrap round to another character.
    if (std::string mended = lf::sys::ReplaceXmlReferencesToNoCharacter(text); !mended.empty())
        text = std::move(mended);
    if (!doc.load_buffer(text.data(), text.size(), kProbeOptions))
        return false;
    lf::sys::MakeXmlTextsValidUtf8(doc);
    const pugi::xml_node root = doc.child("Lernfold");
    if (!root)
        return true;
    const std::int32_t version = ReadNativeBookVersion(root);
    if (version < 1)
        return false;

    // All chapters and the Trash are no place for a new question: it goes to "Unfiled" then.
    std::int32_t chapter = items->GetActiveCategory();
    if (chapter < 0)
        chapter = 0;
    // When nothing is pasted the question on show stays the one to return to.
    if (CBaseItem* current = items->GetCurrentItem())
        items->SetKeptItem(current);
    LoadQuestionsFromXML(root, items, version, /*categoryOffset=*/0, insertPosition,
                         /*fixedCategory=*/!mapByName,
                         /*fixedCategoryID=*/chapter, /*withUndo=*/true, mapByName, /*selectFirst=*/true);
    // The caller rebuilds the sequence, which then returns to the first question actually pasted.
    items->ClearPosition();
    items->SetModified(true);
    return true;
}
