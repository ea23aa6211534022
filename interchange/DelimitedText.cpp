#include "interchange/DelimitedText.h"

#include "interchange/ImportFactory.h"
#include "interchange/TextUtils.h"
#include "model/collection/Bacup.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/Windows1252.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/Clipboard.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace
{

// Every doubled quote as one.
std::string Unquote(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        out += text[i];
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
            ++i;
    }
    return out;
}

// The position of the quote that closes a quoted field in text (scanned from from); npos when none.
std::size_t ClosingQuote(std::string_view text, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i)
    {
        if (text[i] != '"')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '"')
        {
            ++i;
            continue;
        }
        return i;
    }
    return std::string_view::npos;
}

// The splitter behind ParceCSVLine and ParceCSVLine2 (lines and index given: quoted fields may go on
// over the following lines). Works along the line without recursion, so any line length is safe.
bool SplitDelimited(const std::string& first, const CStringArray* lines, std::int32_t* index,
                    const std::string& separator, CStringArray* fields, const char* logName)
{
    if (!fields)
        return false;
    if (separator.empty())
    {
        WriteLog(std::string(logName) + " - empty separator", 1, 1);
        return false;
    }
    std::string_view rest = first;
    while (!rest.empty())
    {
        if (rest.front() != '"')
        {
            const std::size_t pos = rest.find(separator);
            if (pos == std::string_view::npos)
            {
                fields->Add(std::string(rest));
                return true;
            }
            fields->Add(std::string(rest.substr(0, pos)));
            rest.remove_prefix(pos + separator.size());
            continue;
        }

        // A quoted field; in the multi-line form its pieces on further lines are gathered.
        rest.remove_prefix(1);
        std::string gathered;
        bool continued = false;
        std::size_t close = ClosingQuote(rest, 0);
        while (close == std::string_view::npos && lines && index && *index + 1 < lines->GetSize())
        {
            if (continued)
                gathered += "\r\n";
            gathered.append(rest);
            continued = true;
            ++*index;
            rest = (*lines)[*index];
            close = ClosingQuote(rest, 0);
        }
        if (continued)
            gathered += "\r\n";
        if (close == std::string_view::npos)
        {
            gathered.append(rest);
            fields->Add(Unquote(gathered));
            return true;
        }
        gathered.append(rest.substr(0, close));
        fields->Add(Unquote(gathered));

        const std::string_view after = rest.substr(close + 1);
        if (after.size() < 2)
            return true;
        const std::size_t pos = after.find(separator);
        if (pos == std::string_view::npos)
        {
            WriteLog(std::string(logName) + " - Wrong line:" + std::string(after), 1, 1);
            return false;
        }
        rest = after.substr(pos + separator.size());
    }
    return true;
}

// The plain text of a stored text as the field writers take it; tabs as four blanks with a tab separator.
std::string FieldPlainText(const std::string& stored, const std::string& separator, lf::RichDocument& view)
{
    std::string plain;
    GetPlainTextFromXML(stored, view, plain, false);
    if (separator == "\t")
        plain = ReplaceAllText(plain, "\t", "    ");
    return plain;
}

// Appends the separator (unless first) and the field, quoted when asked.
void AppendField(std::string& line, const std::string& separator, bool first, const std::string& text,
                 bool quote)
{
    if (!first)
        line += separator;
    if (quote)
        (line += '"').append(text) += '"';
    else
        line += text;
}

// The settings every question made from a row gets.
void SetRowDefaults(CBaseItem* item)
{
    item->SetCategoryID(0);
    item->SetID_Str("");
    item->SetName("");
    item->SetFormatQAXData(2);
    if (auto* choice = dynamic_cast<CMultipleChoiceItem*>(item))
    {
        choice->SetLetMultipleAnswers(0);
        choice->SetNumberAnswerType(0);
        choice->SetShuffle(1);
    }
}

CBaseItem* InsertRowQuestion(std::unique_ptr<CBaseItem> item, CItemsArray2* items, std::int32_t position,
                             bool recordUndo)
{
    CBaseItem* raw = item.get();
    items->InsertItem(std::move(item), true, position);
    if (recordUndo)
        items->GetBackupItem().PushRecordAdded(items->GetRecordIndex(raw));
    return raw;
}

CBaseItem* FieldsQuestion(const CStringArray& fields, CItemsArray2* items, int kind, std::int32_t position,
                          bool recordUndo, CImportFactory* factory)
{
    if (!items || fields.GetSize() < 2)
        return nullptr;
    std::unique_ptr<CBaseItem> item = factory ? factory->Create(kind) : items->CreateItem(kind, true);
    if (!item)
        return nullptr;
    SetRowDefaults(item.get());
    item->SetQuestionText(fields[0]);
    if (fields.GetSize() >= 3)
        item->SetGeneralFeedback(fields[2]);
    SAnswerItem answer;
    answer.AnswerText = fields[1];
    answer.Correct = "1";
    item->AddAnswer(answer);
    return InsertRowQuestion(std::move(item), items, position, recordUndo);
}

// The line of one exported or copied question.
using FieldWriter = void (*)(const std::string&, std::string&, const std::string&, bool, lf::RichDocument&);

std::string QuestionLine(CBaseItem* item, FieldWriter write, const std::string& separator,
                         bool withExplanation, lf::RichDocument& view)
{
    std::string line;
    write(item->GetQuestionText(), line, separator, true, view);
    write(DelimitedAnswerText(item), line, separator, false, view);
    if (withExplanation)
        write(item->GetGeneralFeedback(), line, separator, false, view);
    return line;
}

bool IsExportedQuestion(const CBaseItem* item)
{
    return item && item->GetQuestionType() == qtMultipleChoice && !item->TestStatus(qsDeleted | qsInTrash);
}

} // namespace

bool ParceCSVLine(const std::string& line, const std::string& separator, CStringArray* fields)
{
    return SplitDelimited(line, nullptr, nullptr, separator, fields, "ParceCSVLine");
}

bool ParceCSVLine2(const std::string& line, const CStringArray& lines, std::int32_t& index,
                   const std::string& separator, CStringArray* fields)
{
    return SplitDelimited(line, &lines, &index, separator, fields, "ParceCSVLine2");
}

bool ReadTextFile(const std::string& fileName, std::string& text)
{
    if (!lf::sys::ReadWholeFile(fileName, text))
        return false;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    if (!IsValidUtf8(text))
        text = Windows1252ToUtf8(text);
    return true;
}

void AppendCSVField(const std::string& stored, std::string& line, const std::string& separator, bool first,
                    lf::RichDocument& view)
{
    if (stored.empty())
        return AppendField(line, separator, first, "", false);
    const std::string text = ReplaceAllText(FieldPlainText(stored, separator, view), "\"", "\"\"");
    const bool quote =
        text.find(separator) != std::string::npos || text.find_first_of("\r\n\"") != std::string::npos;
    AppendField(line, separator, first, text, quote);
}

void AppendPlainField(const std::string& stored, std::string& line, const std::string& separator, bool first,
                      lf::RichDocument& view)
{
    if (stored.empty())
        return AppendField(line, separator, first, "", false);
    std::string text = FieldPlainText(stored, separator, view);
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    AppendField(line, separator, first, text, false);
}

void AppendExcelField(const std::string& stored, std::string& line, const std::string& separator, bool first,
                      lf::RichDocument& view)
{
    if (stored.empty())
        return AppendField(line, separator, first, "", false);
    std::string text = ReplaceAllText(FieldPlainText(stored, separator, view), "\r\n", "\n");
    std::replace(text.begin(), text.end(), '\r', '\n');
    text = ReplaceAllText(text, "\"", "\"\"");
    const bool quote =
        text.find(separator) != std::string::npos || text.find_first_of("\n\"") != std::string::npos;
    AppendField(line, separator, first, text, quote);
}

std::string DelimitedAnswerText(CBaseItem* item)
{
    SAnswerItem* chosen = nullptr;
    const std::int32_t index = FindShownCreditedAnswer(*item);
    return index >= 0 && item->GetAnswer(index, chosen) ? chosen->AnswerText : std::string();
}

CBaseItem* AddQuestionFromFields(const CStringArray& fields, CItemsArray2* items, int kind,
                                 std::int32_t position, bool recordUndo)
{
    return FieldsQuestion(fields, items, kind, position, recordUndo, nullptr);
}

CBaseItem* AddQuestionFromExcelRow(const CStringArray& fields, CItemsArray2* items, int kind,
                                   std::int32_t position, bool recordUndo)
{
    if (!items || fields.GetSize() < 14)
        return nullptr;
    std::unique_ptr<CBaseItem> item = items->CreateItem(kind, true);
    if (!item)
        return nullptr;
    SetRowDefaults(item.get());
    if (fields.GetSize() >= 15)
    {
        const std::string name = lf::sys::Trim(fields[14]);
        if (!name.empty() && lf::sys::LowerCase(name) != "unfiled")
        {
            const std::int32_t row = items->GetOrAddCategoryByName(name);
            if (row >= 0)
                item->SetCategoryID(items->GetCategoryIDAt(row));
        }
    }
    item->SetLayersStr(fields[0]);
    item->SetQuestionText(fields[1]);
    item->SetGeneralFeedback(fields[13]);
    for (std::int32_t i = 0; i < 5; ++i)
    {
        SAnswerItem answer;
        answer.ID = i;
        answer.AnswerText = fields[2 * i + 2];
        answer.Correct = lf::sys::Trim(fields[2 * i + 3]) == "1" ? "1" : "0";
        item->AddAnswer(answer);
    }
    return InsertRowQuestion(std::move(item), items, position, recordUndo);
}

bool LoadDelimitedText(EDelimitedFormat format, const std::string& fileName, CItemsArray2* items,
                       const std::string& separator, bool clearFirst, const SExchangeContext& context)
{
    WriteLog("CDataStorage::LoadDictionaryXML, File name - " + fileName, 5, 1);
    std::error_code error;
    std::string text;
    if (!items || !std::filesystem::is_regular_file(fileName, error) || !ReadTextFile(fileName, text))
    {
        context.ShowStatus("Book loaded.");
        return false;
    }
    context.ShowStatus("Start load book...");
    if (clearFirst)
        items->Clear();
    if (format == EDelimitedFormat::FlashCardExchange)
    {
        // A line break inside a card shows as the escape text; records end at a bare LF.
        text = ReplaceAllText(text, "\r\n", "\\r\\n");
        text = ReplaceAllText(text, "\n", "\r\n");
    }
    const CStringArray lines = SplitTextLines(text);
    text.clear();

    CImportFactory factory(*items);
    CStringArray fields;
    bool imported = false;
    for (std::int32_t i = 0; i < lines.GetSize(); ++i)
    {
        if (i % 64 == 0)
            context.ShowProgress(i, lines.GetSize());
        fields.RemoveAll();
        const bool split = format == EDelimitedFormat::Csv
                               ? ParceCSVLine2(lines[i], lines, i, separator, &fields)
                               : ParceCSVLine(lines[i], separator, &fields);
        // Success means that some row made a question, whatever the last row held.
        if (split && FieldsQuestion(fields, items, qtMultipleChoice, -1, false, &factory))
            imported = true;
    }
    context.ShowProgress(lines.GetSize(), lines.GetSize());
    context.ShowStatus("Book loaded.");
    return imported;
}

std::string DelimitedTextFileName(const std::string& fileName, bool keepName)
{
    if (keepName)
        return fileName;
    const std::string extension = lf::sys::AsciiLower(lf::sys::ExtensionOf(fileName));
    return extension == ".txt" || extension == ".csv" ? fileName : fileName + ".csv";
}

bool SaveDelimitedText(bool csv, const std::string& fileName, CItemsArray2* items,
                       const std::string& separator, bool withExplanation, bool keepName,
                       const SExchangeContext& context)
{
    if (fileName.empty() || !items)
        return false;
    const char* writerName = csv ? "CDataStorage::SaveToCSV" : "CDataStorage::SaveToTXT";
    WriteLog(std::string(writerName) + ", File name - " + fileName, 5, 1);
    const std::string target = DelimitedTextFileName(fileName, keepName);

    lf::RichDocument scratch;
    lf::RichDocument& view = context.view ? *context.view : scratch;
    const FieldWriter write = csv ? AppendCSVField : AppendPlainField;
    std::string text;
    for (std::int32_t i = 0; i < items->GetCount(); ++i)
    {
        context.ShowProgress(i, items->GetCount());
        CBaseItem* item = items->GetItem(i);
        if (IsExportedQuestion(item))
            (text += QuestionLine(item, write, separator, withExplanation, view)) += "\r\n";
    }
    if (text.empty())
    {
        WriteLog(std::string(writerName) + " - no multiple-choice question to export", 1, 1);
        return false;
    }
    std::string error;
    if (!lf::sys::WriteFileAtomically(target, text, &error))
    {
        WriteLog(std::string(writerName) + " - the file could not be written: " + error, 1, 1);
        return false;
    }
    return true;
}

bool CopySelectionToClipboard(bool excel, CItemsArray2* items, const std::string& separator,
                              bool withExplanation, const SExchangeContext& context)
{
    if (!items)
        return false;
    lf::RichDocument scratch;
    lf::RichDocument& view = context.view ? *context.view : scratch;
    const FieldWriter write = excel ? AppendExcelField : AppendPlainField;
    std::string text;
    for (std::int32_t row = 0; row < items->GetGridCount(); ++row)
    {
        context.Pump();
        CBaseItem* item = items->GetGridListItem(row);
        if (!item)
            return false;
        if (IsExportedQuestion(item) && item->TestStatus(qsInSequence) && item->TestStatus(qsSelected))
            (text += QuestionLine(item, write, separator, withExplanation, view)) += "\r\n";
    }
    lf::sys::CurrentClipboard().SetData(lf::sys::kClipboardText, text);
    return true;
}
