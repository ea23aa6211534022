#include "model/storage/Palmdatabase.h"

#include "model/collection/Deleteditemsarray.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/items/Datatypes_Lists.h"
#include "model/storage/Windows1252.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/BigEndianIO.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

using lf::sys::WriteBE16;
using lf::sys::WriteBE32;
using lf::sys::WriteByte;
using lf::sys::WriteBytes;
using lf::sys::WriteBytesNul;
using lf::sys::WritePaddedText;

namespace
{

constexpr std::size_t kRecordListGap = 2;
constexpr std::uint16_t kBackupAttribute = 8;
constexpr std::size_t kMaxRecords = 0xFFFF; // the record count is a 16-bit field

std::uint16_t BE16(const std::string& bytes, std::size_t pos)
{
    return lf::sys::LoadBE16(bytes.data() + pos);
}

std::uint32_t BE32(const std::string& bytes, std::size_t pos)
{
    return lf::sys::LoadBE32(bytes.data() + pos);
}

void LogBroken(const std::string& what)
{
    WriteLog("CDataStorage::LoadPDB - ERROR: the file is damaged, " + what, 2, 1);
}

// The last four characters of a name, lower-cased; empty for a name of four characters or fewer.
std::string LowerExtension4(const std::string& name)
{
    return name.size() > 4 ? lf::sys::LowerCase(std::string_view(name).substr(name.size() - 4))
                           : std::string();
}

// The file's name without its folder and its last extension.
std::string BaseNameOf(const std::string& path)
{
    return lf::sys::WithoutExtension(lf::sys::StoredNamePart(path));
}

// A text as it goes to disk: Windows-1252 without zero bytes, which would end it early and shift every
// text after it.
std::string DiskText(const std::string& text)
{
    std::string bytes = Utf8ToWindows1252(text);
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    return bytes;
}

// The four characters of a type or creator code, padded with zeros.
std::string FourCharCode(const std::string& code)
{
    std::string bytes = code.substr(0, 4);
    bytes.resize(4, '\0');
    return bytes;
}

// Collects what is written into a FILE opened on memory, so the whole file exists before any byte goes to
// disk.
class CMemoryFile
{
public:
    CMemoryFile() : m_File(open_memstream(&m_Buffer, &m_Size)) {}
    ~CMemoryFile()
    {
        if (m_File)
            std::fclose(m_File);
        std::free(m_Buffer);
    }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;

    std::FILE* get() const { return m_File; }
    // Closes the stream and gives its bytes; false when the stream could not be made or flushed.
    bool Finish(std::string& bytes)
    {
        if (!m_File)
            return false;
        const bool closed = std::fclose(m_File) == 0;
        m_File = nullptr;
        if (!closed)
            return false;
        bytes.assign(m_Buffer ? m_Buffer : "", m_Size);
        return true;
    }

private:
    char* m_Buffer = nullptr;
    std::size_t m_Size = 0;
    std::FILE* m_File = nullptr;
};

using CRecordTexts = std::array<std::string, kQaxTextCount>;

// The texts of a record as they will be written: in plain-text mode the first six with every CR turned
// into a blank and the rich ones as plain text (CR as LF); otherwise as they stand.
CRecordTexts TextsAsWritten(const SQaxStruct& record, lf::RichDocument* plainView)
{
    CRecordTexts texts;
    for (std::size_t t = 0; t < texts.size(); ++t)
    {
        std::string text = record.Texts[t];
        if (plainView)
        {
            if (t < SQaxStruct::txQuestion)
            {
                std::replace(text.begin(), text.end(), '\r', ' ');
            }
            else
            {
                std::string plain;
                GetPlainTextFromXML(text, *plainView, plain, true);
                text = std::move(plain);
            }
        }
        texts[t] = DiskText(text);
    }
    return texts;
}

std::size_t RecordLength(const CRecordTexts& texts)
{
    std::size_t length = kQaxFixedSize;
    for (const std::string& text : texts)
        length += text.size() + 1;
    return length;
}

bool WriteRecord(std::FILE* file, const SQaxStruct& record, const CRecordTexts& texts)
{
    const std::uint32_t flags = record.Flags & ~kQaxTransientFlags;
    bool ok = WriteBE32(file, record.QuestionID) && WriteBE32(file, record.Reserved4) &&
              WriteBE32(file, record.WhenCreated) && WriteBE32(file, record.LastModified) &&
              WriteBE32(file, record.Reserved16) && WriteBE32(file, record.Reserved20) &&
              WriteBE16(file, record.Reserved24) && WriteBE32(file, record.Reserved26) &&
              WriteBE32(file, record.AnswerBits) && WriteBE32(file, flags) &&
              WriteBE16(file, record.Category) && WriteBE16(file, record.Depth) &&
              WriteBE16(file, record.Reserved42);
    for (const std::string& text : texts)
        ok = ok && WriteBytesNul(file, text, text.size());
    return ok;
}

// The whole database file of an image.
bool BuildDatabaseBytes(const CItemsArray& image, const std::string& databaseName,
                        const std::string& typeCode, lf::RichDocument* plainView, std::string& bytes)
{
    const std::size_t count = static_cast<std::size_t>(image.GetCount());
    std::vector<CRecordTexts> texts;
    texts.reserve(count);
    for (std::int32_t i = 0; i < image.GetCount(); ++i)
        texts.push_back(TextsAsWritten(*image.GetRecord(i), plainView));

    CMemoryFile out;
    std::FILE* file = out.get();
    if (!file)
        return false;
    const auto date = static_cast<std::uint32_t>(lf::sys::Services().UtcSeconds() + kPdbDateOffset);
    const std::size_t listEnd = kPdbHeaderSize + kPdbRecordEntrySize * count;
    bool ok = WritePaddedText(file, DiskText(databaseName).substr(0, kPdbNameSize - 1), kPdbNameSize) &&
              WriteBE16(file, kBackupAttribute) && WriteBE16(file, 0) && WriteBE32(file, date) &&
              WriteBE32(file, date) && WriteBE32(file, 0) && WriteBE32(file, 0) &&
              WriteBE32(file, static_cast<std::uint32_t>(listEnd + kRecordListGap)) && WriteBE32(file, 0) &&
              WriteBytes(file, FourCharCode(typeCode).data(), 4) && WriteBytes(file, kPdbCreator, 4) &&
              WriteBE32(file, 0) && WriteBE32(file, 0) && WriteBE16(file, static_cast<std::uint16_t>(count));

    std::size_t offset = listEnd + kRecordListGap + kPdbAppInfoSize + kPdbSortInfoSize;
    for (std::size_t i = 0; i < count && ok; ++i)
    {
        const SQaxStruct& record = *image.GetRecord(static_cast<std::int32_t>(i));
        ok = WriteBE32(file, static_cast<std::uint32_t>(offset)) &&
             WriteByte(file, static_cast<std::uint8_t>(record.Category)) && WriteByte(file, 0) &&
             WriteBE16(file, 0);
        offset += RecordLength(texts[i]);
    }
    ok = ok && WriteByte(file, 0xFF) && WriteByte(file, 0xFF) &&
         WriteBytes(file, image.AppInfo().data(), kPdbAppInfoSize) &&
         WriteBytes(file, image.SortInfo().data(), kPdbSortInfoSize);
    for (std::size_t i = 0; i < count && ok; ++i)
        ok = WriteRecord(file, *image.GetRecord(static_cast<std::int32_t>(i)), texts[i]);
    return out.Finish(bytes) && ok;
}

} // namespace

// --- Reading ---

bool ReadPalmDatabase(const std::string& fileName, CItemsArray& image, std::uint8_t phase)
{
    image.Clear();
    std::string bytes;
    if (!lf::sys::ReadWholeFile(fileName, bytes))
    {
        WriteLog("CDataStorage::LoadPDB - ERROR: can't open the file " + fileName, 2, 1);
        return false;
    }
    const std::size_t size = bytes.size();
    if (size < kPdbHeaderSize)
    {
        LogBroken("its header is cut short");
        return false;
    }
    const std::size_t count = BE16(bytes, 76);
    const std::size_t listEnd = kPdbHeaderSize + kPdbRecordEntrySize * count;
    if (listEnd > size)
    {
        LogBroken("its record list runs past the end");
        return false;
    }
    const std::size_t appInfoOffset = BE32(bytes, 52);
    // An offset of 0 means the database has no AppInfo block.
    if (appInfoOffset != 0 && (appInfoOffset > size || size - appInfoOffset < kPdbAppInfoSize))
    {
        LogBroken("its AppInfo block lies outside the file");
        return false;
    }

    std::vector<SQaxStructUniqueID> entries(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::size_t at = kPdbHeaderSize + kPdbRecordEntrySize * i;
        entries[i].Offset = BE32(bytes, at);
        entries[i].Attributes = static_cast<std::uint8_t>(bytes[at + 4]);
        entries[i].UniqueID =
            (std::uint32_t{static_cast<unsigned char>(bytes[at + 5])} << 16) | BE16(bytes, at + 6);
    }
    std::vector<std::size_t> lengths(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::size_t start = entries[i].Offset;
        const std::size_t end = i + 1 < count ? entries[i + 1].Offset : size;
        if (start < listEnd || start > size || end > size || end < start)
        {
            LogBroken("record " + lf::sys::NumberText(static_cast<std::int64_t>(i)) +
                      " lies outside the file");
            return false;
        }
        lengths[i] = end - start;
        if (lengths[i] < kQaxFixedSize)
        {
            LogBroken("record " + lf::sys::NumberText(static_cast<std::int64_t>(i)) +
                      " is shorter than its fixed part");
            return false;
        }
    }

    std::memcpy(image.Header().data(), bytes.data(), kPdbHeaderSize);
    image.Header()[kPdbNameSize - 1] = 0;
    if (appInfoOffset != 0)
        std::memcpy(image.AppInfo().data(), bytes.data() + appInfoOffset, kPdbAppInfoSize);
    image.SetCategoryName(0, "Unfiled");
    image.SetCategoryName(1, "Trash");

    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    image.ReserveRecords(static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i)
    {
        SQaxStruct record;
        if (!record.decompressQAX(data + entries[i].Offset, lengths[i]))
        {
            image.Clear();
            return false;
        }
        record.Flags &= ~kQaxTransientFlags;
        image.AddRecord(record, entries[i]);
    }

    image.SortByLayers();
    image.SetModified(false);
    image.ResetFilter();
    image.SetPhase(static_cast<std::int8_t>(phase), true);
    return true;
}

bool LoadPalmDatabase(const std::string& fileName, CItemsArray2& items, std::int32_t categoryOffset,
                      bool replace, std::uint8_t phase)
{
    WriteLog("CDataStorage::LoadPDB, File name - " + fileName, 5, 1);
    CItemsArray image;
    if (!ReadPalmDatabase(fileName, image, phase))
        return false;
    // Every record was read: only now may the book change.
    if (replace)
        items.Clear();
    if (image.GetCount() > 0)
        RecordsToItems(image, items, categoryOffset);
    return true;
}

namespace
{

// The chapter the reader makes for the records of category 1 (the handheld's trash).
constexpr const char* kReaderTrashName = "Trash";

bool IsReaderTrashChapter(const SCategoryInfo& info)
{
    return info.Name == kReaderTrashName && info.Description == kReaderTrashName;
}

} // namespace

bool RecordsToItems(const CItemsArray& image, CItemsArray2& items, std::int32_t categoryOffset)
{
    // The chapter each category index leads to; a chapter that could not be added and does not exist
    // leaves its questions in chapter 0.
    std::array<std::int32_t, kPdbCategoryCount> chapterOf{};
    const auto addChapter = [&](std::int32_t index, const std::string& name, const std::string& description)
    {
        SCategoryInfo info;
        info.ID = categoryOffset + index;
        info.Name = name;
        info.Description = description;
        if (items.AddCategory(info, false, false) || items.CategoryExists(info.ID))
            chapterOf[static_cast<std::size_t>(index)] = info.ID;
    };
    addChapter(1, kReaderTrashName, kReaderTrashName);
    for (std::int32_t i = 2; i < static_cast<std::int32_t>(kPdbCategoryCount); ++i)
    {
        std::string name;
        if (image.GetCategoryName(i, name))
            addChapter(i, name, "");
    }

    for (std::int32_t r = 0; r < image.GetCount(); ++r)
    {
        const SQaxStruct& record = *image.GetRecord(r);
        std::unique_ptr<CBaseItem> item = MakeItemOfKind(qtMultipleChoice);
        if (!item)
            continue;
        item->SetCategoryID(chapterOf[record.Category]);
        item->SetID(static_cast<std::int32_t>(record.QuestionID));
        item->SetID_Str("");
        item->SetLayersStr(record.Texts[SQaxStruct::txLayers]);
        item->SetOwnerStr(record.Texts[SQaxStruct::txOwner]);
        item->SetModifierStr(record.Texts[SQaxStruct::txModifier]);
        item->SetWhenCreated(record.WhenCreated);
        item->SetLastModified(record.LastModified);
        item->SetQuestionText(record.Texts[SQaxStruct::txQuestion]);
        item->SetGeneralFeedback(record.Texts[SQaxStruct::txExplanation]);
        item->SetKeywords(record.Texts[SQaxStruct::txKeywords]);
        item->SetName("No name");
        item->SetQuestionStatus(0);
        item->SetCycleCounter(0);
        item->SetFormatQAXData(1);
        item->SetEncryptionMethod(0);
        for (int a = 0; a < kQaxAnswerCount; ++a)
        {
            if (record.Answer(a).empty())
                continue;
            SAnswerItem answer;
            answer.ID = a + 1;
            answer.AnswerText = record.Answer(a);
            answer.Correct = (record.CorrectBits() & (1u << a)) ? "1" : "0";
            item->AddAnswer(answer);
        }
        items.InsertItem(std::move(item), false, -1);
    }
    return true;
}

// --- Writing ---

void ItemsToRecords(CItemsArray2& items, CItemsArray& image)
{
    image.Clear();
    image.ClearCategoryNames();
    image.SetCategoryName(0, "Unfiled");
    image.SetCategoryName(1, "Trash");

    // Chapter rows from 1 on become categories 2 to 14; the rest cannot be carried. Chapters are matched on
    // their whole IDs. The chapter the reader makes for category 1 goes back there, so reading and
    // writing a book again leaves its chapters where they were.
    constexpr std::int32_t kFirstChapterIndex = 2;
    constexpr std::int32_t kLastChapterIndex = 14;
    std::array<std::int32_t, kPdbCategoryCount> chapterIDs;
    chapterIDs.fill(-1);
    std::int32_t trashChapterID = -1;
    std::int32_t index = kFirstChapterIndex;
    for (std::int32_t row = 1; index <= kLastChapterIndex; ++row)
    {
        SCategoryInfo info;
        if (!items.GetCategoryAt(row, info))
            break;
        if (trashChapterID < 0 && IsReaderTrashChapter(info))
        {
            trashChapterID = info.ID;
            continue;
        }
        image.SetCategoryName(index, info.Name);
        chapterIDs[static_cast<std::size_t>(index)] = info.ID;
        ++index;
    }

    image.ReserveRecords(items.GetCount());
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        CBaseItem* item = items.GetItem(i);
        if (!item || item->GetQuestionType() != qtMultipleChoice || item->TestStatus(qsDeleted))
            continue;
        SQaxStruct record;
        if (item->TestStatus(qsInTrash) || (trashChapterID > 0 && item->GetCategoryID() == trashChapterID))
        {
            record.Category = 1;
        }
        else if (item->GetCategoryID() > 0)
        {
            for (std::int32_t slot = kFirstChapterIndex; slot <= kLastChapterIndex; ++slot)
                if (chapterIDs[static_cast<std::size_t>(slot)] == item->GetCategoryID())
                {
                    record.Category = static_cast<std::uint16_t>(slot);
                    break;
                }
        }
        record.QuestionID = static_cast<std::uint32_t>(item->GetID());
        record.WhenCreated = static_cast<std::uint32_t>(item->GetWhenCreated());
        record.LastModified = static_cast<std::uint32_t>(item->GetLastModified());
        record.Texts[SQaxStruct::txOwner] = item->GetOwnerStr();
        record.Texts[SQaxStruct::txModifier] = item->GetModifierStr();
        record.Texts[SQaxStruct::txKeywords] = item->GetKeywords();
        record.Texts[SQaxStruct::txLayers] = item->GetLayersStr();
        record.Texts[SQaxStruct::txQuestion] = item->GetQuestionText();
        record.Texts[SQaxStruct::txExplanation] = item->GetGeneralFeedback();

        std::uint32_t correctBits = 0;
        int carried = 0;
        for (std::int32_t a = 0; a < item->GetAnswerCount() && carried < kQaxAnswerCount; ++a)
        {
            SAnswerItem* answer = nullptr;
            if (!item->GetAnswer(a, answer) || !answer)
                continue;
            const std::string grade = lf::sys::Trim(answer->Correct);
            const bool correct = grade == "1" || lf::sys::LowerCase(grade) == "true";
            if (lf::sys::Trim(answer->AnswerText).empty() && !correct)
                continue;
            record.Texts[static_cast<std::size_t>(SQaxStruct::txAnswer1 + carried)] = answer->AnswerText;
            if (correct)
                correctBits |= 1u << carried;
            ++carried;
        }
        record.AnswerBits = correctBits << 8;
        image.AddRecord(record);
    }
    image.SortByLayers();
}

bool SavePalmDatabase(const std::string& fileName, CItemsArray2& items, const SPalmWriteContext& context)
{
    if (fileName.empty())
        return false;
    WriteLog("CDataStorage::SavePDB, File name - " + fileName, 5, 1);

    CItemsArray image;
    ItemsToRecords(items, image);
    if (static_cast<std::size_t>(image.GetCount()) > kMaxRecords)
    {
        WriteLog("CDataStorage::SavePDB - ERROR: too many questions for the format (" +
                     lf::sys::NumberText(image.GetCount()) + ")",
                 1, 1);
        return false;
    }
    const std::string target = BookFileNameToWrite(fileName, context.keepName);
    const bool plainText = context.hiddenView && LowerExtension4(fileName) == ".pdb";

    std::string bytes;
    if (!BuildDatabaseBytes(image, BaseNameOf(target), context.typeCode,
                            plainText ? context.hiddenView : nullptr, bytes) ||
        bytes.empty())
    {
        WriteLog("CDataStorage::SavePDB - ERROR: the file could not be built", 1, 1);
        return false;
    }
    std::string error;
    if (!lf::sys::WriteFileAtomically(target, bytes, &error))
    {
        WriteLog("CDataStorage::SavePDB - ERROR: " + error, 1, 1);
        return false;
    }
    if (context.deletedItems)
        WriteDeletedItemsFile(*context.deletedItems, context.booksFolder);
    return true;
}

void WriteDeletedItemsFile(const CDelQuestionList& list, const std::string& booksFolder)
{
    std::string path = lf::sys::Trim(ReadValueFromRegistry2("DeleteQuestionList", ""));
    if (path.empty())
    {
        path = lf::sys::JoinPath(booksFolder, "Lernfold.del");
        WriteValueToRegistry2("DeleteQuestionList", path);
    }
    std::string error;
    if (!list.Write(path, error))
        WriteLog("Can't save data to file for storage deleted ID. Error - " + error, 1, 1);
}
