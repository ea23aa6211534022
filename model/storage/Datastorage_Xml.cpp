// The native XML book: one document per book with the root `Lernfold`, its chapters and its questions.
// The writer streams the document into a temporary file that then replaces the file; the reader is
// tolerant, reading missing or malformed values as defaults and skipping questions of unknown kinds. The
// storage's design-named members at the end forward to the free functions.
#include "model/storage/NativeBook.h"

#include "model/storage/Datastorage.h"

#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"
#include "platform/sys/Utf8Text.h"

#include <array>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

namespace
{

// --- Writing ---

void AddText(pugi::xml_node node, const char* name, std::string value)
{
    lf::sys::MakeValidUtf8(value);
    node.append_attribute(name).set_value(value.c_str(), value.size());
}

void AddNumber(pugi::xml_node node, const char* name, std::int64_t value)
{
    node.append_attribute(name).set_value(lf::sys::NumberText(value).c_str());
}

void AddSwitch(pugi::xml_node node, const char* name, bool on)
{
    node.append_attribute(name).set_value(on ? "1" : "0");
}

// Byte fields are written as signed numbers (-128..127).
void AddSignedByte(pugi::xml_node node, const char* name, std::uint8_t value)
{
    AddNumber(node, name, static_cast<std::int8_t>(value));
}

void AddCData(pugi::xml_node parent, const char* name, const std::string& text)
{
    AppendTextElement(name, text, parent, true);
}

// Streams printed XML into the temporary file of an atomic write.
class CFileWriter : public pugi::xml_writer
{
public:
    explicit CFileWriter(lf::sys::AtomicFileWriter& out) : m_Out(out) {}
    void write(const void* data, std::size_t size) override
    {
        m_Out.Write(std::string_view(static_cast<const char*>(data), size));
    }

private:
    lf::sys::AtomicFileWriter& m_Out;
};

// --- Reading ---

// The attribute as a whole number, blanks around it allowed; the default when it is missing, empty, out of
// range or anything but a whole number ("12abc" and "1.0" included).
template <class T> T ReadNumber(pugi::xml_attribute attribute, T defaultValue)
{
    T value = defaultValue;
    lf::sys::ReadNumber(lf::sys::TrimView(attribute.value()), value);
    return value;
}

std::int32_t ReadInt(pugi::xml_attribute attribute, std::int32_t defaultValue)
{
    return ReadNumber<std::int32_t>(attribute, defaultValue);
}

std::int32_t ReadInt(pugi::xml_node node, const char* name, std::int32_t defaultValue)
{
    return ReadInt(node.attribute(name), defaultValue);
}

// A byte written signed (or unsigned, as older books may have it) reads back to the same byte.
std::uint8_t ReadByte(pugi::xml_attribute attribute, std::uint8_t defaultValue)
{
    const std::int32_t value = ReadInt(attribute, defaultValue);
    if (value < -128 || value > 255)
        return defaultValue;
    return static_cast<std::uint8_t>(value);
}

// Only a value that reads as the integer 1 sets a switch.
bool ReadSwitch(pugi::xml_attribute attribute)
{
    return ReadInt(attribute, 0) == 1;
}

std::string ReadAttribute(pugi::xml_node node, const char* name)
{
    return node.attribute(name).value();
}

// The text of a text element: all its text and CDATA children joined, since a text holding "]]>" is
// written as two CDATA sections. Empty when the element is missing.
std::string ElementText(pugi::xml_node element)
{
    std::string text;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
    {
        if (child.type() == pugi::node_cdata || child.type() == pugi::node_pcdata)
            text += child.value();
    }
    return text;
}

std::string ReadText(pugi::xml_node parent, const char* name)
{
    return ElementText(parent.child(name));
}

// The first attribute or child of each name a reader wants, found in one walk over the node instead of
// one walk per name. The names are listed in the order the writer emits them, so in a book this program
// wrote each one is found at the first comparison; any other order or extra names still work.
template <class Handle, std::size_t N> class CNamedParts
{
public:
    explicit CNamedParts(const std::array<const char*, N>& names) : m_Names(names) {}

    void Add(Handle part)
    {
        const char* name = part.name();
        std::size_t slot = m_Expected;
        if (slot >= N || !Same(name, m_Names[slot]))
        {
            slot = 0;
            while (slot < N && !Same(name, m_Names[slot]))
                ++slot;
            if (slot == N)
                return;
        }
        // The first of equal names wins, as with a look-up by name.
        if (!m_Parts[slot])
            m_Parts[slot] = part;
        m_Expected = slot + 1;
    }

    Handle operator[](std::size_t slot) const { return m_Parts[slot]; }

private:
    // The first letters tell most names apart without a call.
    static bool Same(const char* a, const char* b) { return a[0] == b[0] && std::strcmp(a, b) == 0; }

    const std::array<const char*, N>& m_Names;
    std::array<Handle, N> m_Parts{};
    std::size_t m_Expected = 0;
};

// A question's attributes, in the writer's order: those of every question, then those of the kinds.
enum EQuestionAttribute : std::size_t
{
    qaID,
    qaID_Str,
    qaName,
    qaQuestionType,
    qaCategoryID,
    qaCategoryName,
    qaOwnerStr,
    qaModifierStr,
    qaQuestionStatus,
    qaCycleCounter,
    qaFormatQAXData,
    qaEncryptionMethod,
    qaWhenCreated,
    qaLastModified,
    qaLayersStr,
    qaImageToDisplay,
    qaAudioFileName,
    qaDefaultQuestionGrade,
    qaPenaltyFactor,
    qaShuffle,
    qaLetMultipleAnswers,
    qaNumberAnswerType,
    qaCaseSensitivity,
    qaNumberOfQuestionsToSelect,
    qaCount
};

constexpr std::array<const char*, qaCount> kQuestionAttributes = {"ID",
                                                                  "ID_Str",
                                                                  "Name",
                                                                  "QuestionType",
                                                                  "CategoryID",
                                                                  "CategoryName",
                                                                  "OwnerStr",
                                                                  "ModifierStr",
                                                                  "QuestionStatus",
                                                                  "CycleCounter",
                                                                  "FormatQAXData",
                                                                  "EncryptionMethod",
                                                                  "WhenCreated",
                                                                  "LastModified",
                                                                  "LayersStr",
                                                                  "ImageToDisplay",
                                                                  "AudioFileName",
                                                                  "DefaultQuestionGrade",
                                                                  "PenaltyFactor",
                                                                  "Shuffle",
                                                                  "LetMultipleAnswers",
                                                                  "NumberAnswerType",
                                                                  "CaseSensitivity",
                                                                  "NumberOfQuestionsToSelect"};

using CQuestionAttributes = CNamedParts<pugi::xml_attribute, qaCount>;

// A question's text elements, in the writer's order.
enum EQuestionText : std::size_t
{
    qtxQuestionText,
    qtxGeneralFeedback,
    qtxKeywords,
    qtxCount
};

constexpr std::array<const char*, qtxCount> kQuestionTexts = {"QuestionText", "GeneralFeedback", "Keywords"};

// --- The kinds' own fields, both directions side by side ---

// What a kind writes and reads beyond the fields every question has: attributes of its `Question`
// element, the response feedback texts at the end of its `Answers`, and which child lists it has.
struct SKindXml
{
    void (*writeAttributes)(pugi::xml_node question, CBaseItem& item) = nullptr;
    void (*readAttributes)(const CQuestionAttributes& question, CBaseItem& item) = nullptr;
    void (*writeResponseFeedback)(pugi::xml_node answers, CBaseItem& item) = nullptr;
    void (*readResponseFeedback)(pugi::xml_node answers, CBaseItem& item) = nullptr;
    bool answers = true;
    bool units = false;
    bool variables = false;
};

const SKindXml& KindXml(int kind)
{
    static const SKindXml kMultipleChoice{
        [](pugi::xml_node q, CBaseItem& item)
        {
            auto& choice = static_cast<CMultipleChoiceItem&>(item);
            AddSwitch(q, "Shuffle", choice.GetShuffle() != 0);
            AddNumber(q, "LetMultipleAnswers", choice.GetLetMultipleAnswers());
            AddNumber(q, "NumberAnswerType", choice.GetNumberAnswerType());
        },
        [](const CQuestionAttributes& q, CBaseItem& item)
        {
            auto& choice = static_cast<CMultipleChoiceItem&>(item);
            choice.SetLetMultipleAnswers(ReadInt(q[qaLetMultipleAnswers], 0));
            choice.SetNumberAnswerType(ReadInt(q[qaNumberAnswerType], 0));
            choice.SetShuffle(ReadSwitch(q[qaShuffle]) ? 1 : 0);
        },
        [](pugi::xml_node answers, CBaseItem& item)
        {
            auto& choice = static_cast<CMultipleChoiceItem&>(item);
            AddCData(answers, "FeedbackForAnyCorrectResponse", choice.GetFeedbackForAnyCorrectResponse());
            AddCData(answers, "FeedbackForAnyPartiallyCorrectResponse",
                     choice.GetFeedbackForAnyPartiallyCorrectResponse());
            AddCData(answers, "FeedbackForAnyIncorrectResponse", choice.GetFeedbackForAnyIncorrectResponse());
        },
        [](pugi::xml_node answers, CBaseItem& item)
        {
            auto& choice = static_cast<CMultipleChoiceItem&>(item);
            choice.SetFeedbackForAnyCorrectResponse(ReadText(answers, "FeedbackForAnyCorrectResponse"));
            choice.SetFeedbackForAnyPartiallyCorrectResponse(
                ReadText(answers, "FeedbackForAnyPartiallyCorrectResponse"));
            choice.SetFeedbackForAnyIncorrectResponse(ReadText(answers, "FeedbackForAnyIncorrectResponse"));
        },
    };
    static const SKindXml kTrueFalse{
        nullptr,
        nullptr,
        [](pugi::xml_node answers, CBaseItem& item)
        {
            auto& trueFalse = static_cast<CTrueFalseItem&>(item);
            AddCData(answers, "FeedbackForTheResponseTrue", trueFalse.GetFeedbackForTheResponseTrue());
            AddCData(answers, "FeedbackForTheResponseFalse", trueFalse.GetFeedbackForTheResponseFalse());
        },
        [](pugi::xml_node answers, CBaseItem& item)
        {
            auto& trueFalse = static_cast<CTrueFalseItem&>(item);
            trueFalse.SetFeedbackForTheResponseTrue(ReadText(answers, "FeedbackForTheResponseTrue"));
            trueFalse.SetFeedbackForTheResponseFalse(ReadText(answers, "FeedbackForTheResponseFalse"));
        },
    };
    static const SKindXml kShortAnswer{
        [](pugi::xml_node q, CBaseItem& item)
        { AddSwitch(q, "CaseSensitivity", static_cast<CShortAnswerItem&>(item).GetCaseSensitivity() != 0); },
        [](const CQuestionAttributes& q, CBaseItem& item) {
            static_cast<CShortAnswerItem&>(item).SetCaseSensitivity(ReadSwitch(q[qaCaseSensitivity]) ? 1 : 0);
        },
    };
    static const SKindXml kMatching{
        [](pugi::xml_node q, CBaseItem& item)
        { AddSwitch(q, "Shuffle", static_cast<CMatchingItem&>(item).GetShuffle() != 0); },
        [](const CQuestionAttributes& q, CBaseItem& item)
        { static_cast<CMatchingItem&>(item).SetShuffle(ReadSwitch(q[qaShuffle]) ? 1 : 0); },
    };
    static const SKindXml kRandom{
        [](pugi::xml_node q, CBaseItem& item)
        {
            AddNumber(q, "NumberOfQuestionsToSelect",
                      static_cast<CRandomShortAnswerMatchingItem&>(item).GetNumberOfQuestionsToSelect());
        },
        [](const CQuestionAttributes& q, CBaseItem& item)
        {
            static_cast<CRandomShortAnswerMatchingItem&>(item).SetNumberOfQuestionsToSelect(
                ReadInt(q[qaNumberOfQuestionsToSelect], 2));
        },
        nullptr,
        nullptr,
        false,
    };
    static const SKindXml kNoAnswers{nullptr, nullptr, nullptr, nullptr, false};
    static const SKindXml kNumerical{nullptr, nullptr, nullptr, nullptr, true, true};
    static const SKindXml kCalculated{nullptr, nullptr, nullptr, nullptr, true, true, true};
    static const SKindXml kPlain{};
    switch (kind)
    {
    case qtMultipleChoice:
        return kMultipleChoice;
    case qtTrueFalse:
        return kTrueFalse;
    case qtShortAnswer:
        return kShortAnswer;
    case qtMatching:
        return kMatching;
    case qtRandomShortAnswerMatching:
        return kRandom;
    case qtDescription:
    case qtEmbedded:
        return kNoAnswers;
    case qtNumerical:
        return kNumerical;
    case qtCalculated:
        return kCalculated;
    default:
        return kPlain;
    }
}

} // namespace

// --- Writer ---

void SBookProgress::PumpEvents() const
{
    if (pump)
        pump->ProcessPendingEvents();
}

void SBookProgress::ShowStatus(const std::string& text) const
{
    if (statusBar)
        statusBar->SetStatusText(text);
    PumpEvents();
}

bool SaveNativeBook(const std::string& fileName, CItemsArray2* items, bool clearModified, bool keepName,
                    const SBookProgress& progress)
{
    if (fileName.empty() || !items)
        return false;
    WriteLog("CDataStorage::SaveXML, File name - " + fileName, 5, 1);

    const std::string target = BookFileNameToWrite(fileName, keepName);
    progress.ShowStatus("Start save book...");

    if (!WriteNativeBookFile(target, items, "CDataStorage::SaveXML", nullptr, progress))
        return false;
    if (clearModified)
        items->SetModified(false);
    progress.ShowStatus("Book saved.");
    return true;
}

bool WriteNativeBookFile(const std::string& target, CItemsArray2* items, const char* writerName,
                         const std::function<bool(pugi::xml_writer&)>& appendix,
                         const SBookProgress& progress)
{
    // The book goes into a temporary file beside the target, which replaces the target only once it is
    // complete and on disk. Each question's element is made and printed on its own, at the depth it has in
    // the book, so neither the document nor the text of a large book is ever held whole in memory; the text
    // is the one a single document tree would give.
    lf::sys::AtomicFileWriter file(target);
    std::string error;
    if (!file.Open(&error))
    {
        WriteLog(std::string(writerName) + " - " + error, 1, 1);
        return false;
    }
    {
        CFileWriter writer(file);
        constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;
        file.Write("<?xml version=\"1.0\"?>\n<Lernfold Version=\"1\">\n");
        pugi::xml_document part;
        WriteChaptersXml(part, items);
        part.first_child().print(writer, "\t", kFormat, pugi::encoding_utf8, 1);
        if (items->GetCount() == 0)
        {
            file.Write("\t<Questions />\n");
        }
        else
        {
            file.Write("\t<Questions>\n");
            for (std::int32_t i = 0; i < items->GetCount(); ++i)
            {
                part.reset();
                if (CBaseItem* item = items->GetItem(i))
                    WriteQuestionXml(part, items, item, false);
                part.first_child().print(writer, "\t", kFormat, pugi::encoding_utf8, 2);
                progress.PumpEvents();
            }
            file.Write("\t</Questions>\n");
        }
        // What a writer adds after the questions, such as the embedded media; a failure keeps the old file.
        if (appendix && !appendix(writer))
            return false;
        file.Write("</Lernfold>\n");
    }
    // A book file of 0 bytes is never written: the old file stays.
    if (!file.Commit(&error, false))
    {
        WriteLog(std::string(writerName) + " - " + error, 1, 1);
        return false;
    }
    return true;
}

void WriteChaptersXml(pugi::xml_node parent, const CItemsArray2* items)
{
    pugi::xml_node categories = parent.append_child("Categories");
    for (std::int32_t row = 0; row < items->GetCategoryCount(); ++row)
    {
        SCategoryInfo info;
        if (!items->GetCategoryAt(row, info))
            continue;
        pugi::xml_node category = categories.append_child("Category");
        AddNumber(category, "ID", info.ID);
        AddNumber(category, "Parent", info.Parent);
        AddText(category, "Name", info.Name);
        lf::sys::MakeValidUtf8(info.Description);
        if (!info.Description.empty())
            category.append_child(pugi::node_pcdata)
                .set_value(info.Description.c_str(), info.Description.size());
    }
}

bool WriteQuestionsXml(pugi::xml_node parent, CItemsArray2* items, const SQuestionSelection& selection)
{
    pugi::xml_node questions = parent.append_child("Questions");
    for (std::int32_t i = 0; i < items->GetCount(); ++i)
    {
        CBaseItem* item = items->GetItem(i);
        if (!item)
            continue;
        if (selection.filter && ((selection.sequenceOnly && !item->TestStatus(qsInSequence)) ||
                                 (selection.selectedOnly && !item->TestStatus(qsSelected))))
            continue;

        WriteQuestionXml(questions, items, item, selection.withCategoryName);
    }
    return true;
}

void WriteQuestionXml(pugi::xml_node questions, CItemsArray2* items, CBaseItem* item, bool withCategoryName)
{
    pugi::xml_node question = questions.append_child("Question");
    AddNumber(question, "ID", item->GetID());
    AddText(question, "ID_Str", item->GetID_Str());
    AddText(question, "Name", item->GetName());
    AddNumber(question, "QuestionType", item->GetQuestionType());
    AddNumber(question, "CategoryID", item->GetCategoryID());
    if (withCategoryName)
    {
        SCategoryInfo info;
        if (items->GetCategoryInfo(item->GetCategoryID(), info))
            AddText(question, "CategoryName", info.Name);
    }
    AddText(question, "OwnerStr", item->GetOwnerStr());
    AddText(question, "ModifierStr", item->GetModifierStr());
    AddNumber(question, "QuestionStatus", static_cast<std::int32_t>(item->GetQuestionStatus()));
    AddNumber(question, "CycleCounter", item->GetCycleCounter());
    AddSignedByte(question, "FormatQAXData", item->GetFormatQAXData());
    AddSignedByte(question, "EncryptionMethod", item->GetEncryptionMethod());
    AddNumber(question, "WhenCreated", item->GetWhenCreated());
    AddNumber(question, "LastModified", item->GetLastModified());
    // A question deleted for good keeps only its identity.
    if (item->TestStatus(qsDeleted))
        return;

    AddText(question, "LayersStr", item->GetLayersStr());
    AddText(question, "ImageToDisplay", item->GetImageToDisplay());
    AddText(question, "AudioFileName", item->GetAudioFileName());
    AddText(question, "DefaultQuestionGrade", item->GetDefaultQuestionGrade());
    AddText(question, "PenaltyFactor", item->GetPenaltyFactor());
    const SKindXml& kindXml = KindXml(item->GetQuestionType());
    if (kindXml.writeAttributes)
        kindXml.writeAttributes(question, *item);

    AddCData(question, "QuestionText", item->GetQuestionText());
    AddCData(question, "GeneralFeedback", item->GetGeneralFeedback());
    AddCData(question, "Keywords", item->GetKeywords());
    if (kindXml.answers)
        WriteAnswersXml(question, item);
    if (kindXml.units)
        WriteUnitsXml(question, item);
    if (kindXml.variables)
        WriteVariablesXml(question, item);
}

bool WriteAnswersXml(pugi::xml_node question, CBaseItem* item)
{
    pugi::xml_node answers = question.append_child("Answers");
    const SCommonUserAnswerInfo common = item->GetCommonUserAnswerInfo();
    pugi::xml_node commonNode = answers.append_child("CommonAnswer");
    AddNumber(commonNode, "TimeAnswer", common.TimeAnswer);
    AddCData(commonNode, "UserAnswer", common.UserAnswer);
    AddCData(commonNode, "UserAnswerAdditionalInfo", common.UserAnswerAdditionalInfo);

    const int kind = item->GetQuestionType();
    if (auto* calculated = item->GetCalculated())
    {
        for (std::int32_t i = 0; i < calculated->GetAnswerCount(); ++i)
        {
            SCalculatedAnswerItem* answer = nullptr;
            if (!calculated->GetCalculatedAnswer(i, answer))
                continue;
            pugi::xml_node node = answers.append_child("Answer");
            AddNumber(node, "ID", answer->ID);
            AddText(node, "Correct", answer->Correct);
            AddText(node, "Tolerance", answer->FormulaParams.Tolerance);
            AddNumber(node, "ToleranceType", answer->FormulaParams.ToleranceType);
            AddNumber(node, "CorrectAnswerLength", answer->FormulaParams.CorrectAnswerLength);
            AddNumber(node, "CorrectAnswerFormat", answer->FormulaParams.CorrectAnswerFormat);
            AddCData(node, "AnswerFormula", answer->AnswerFormula);
            AddCData(node, "Feedback", answer->Feedback);
        }
    }
    else
    {
        for (std::int32_t i = 0; i < item->GetAnswerCount(); ++i)
        {
            SAnswerItem* answer = nullptr;
            if (!item->GetAnswer(i, answer))
                continue;
            pugi::xml_node node = answers.append_child("Answer");
            AddNumber(node, "ID", answer->ID);
            AddText(node, "Correct", answer->Correct);
            AddCData(node, "AnswerText", answer->AnswerText);
            AddCData(node, "Feedback", answer->Feedback);
            AddCData(node, "UserAnswer", answer->UserAnswer);
            if (kind == qtNumerical)
                AddCData(node, "Tolerance", answer->Tolerance);
        }
    }

    const SKindXml& kindXml = KindXml(kind);
    if (kindXml.writeResponseFeedback)
        kindXml.writeResponseFeedback(answers, *item);
    return true;
}

bool WriteUnitsXml(pugi::xml_node question, CBaseItem* item)
{
    pugi::xml_node units = question.append_child("Units");
    CUnitList* list = item->GetUnitList();
    for (std::int32_t i = 0; list && i < item->GetUnitCount(); ++i)
    {
        SUnitItem* unit = nullptr;
        if (!list->GetUnit(i, unit))
            continue;
        pugi::xml_node node = units.append_child("Unit");
        AddText(node, "Value", unit->Value);
        AddText(node, "Description", unit->Description);
    }
    return true;
}

bool WriteVariablesXml(pugi::xml_node question, CBaseItem* item)
{
    auto* calculated = item->GetCalculated();
    SCalculatedAnswerItem* answer = nullptr;
    if (!calculated || !calculated->GetCalculatedAnswer(0, answer) || answer->Variables.GetSize() == 0)
        return false;
    // The book keeps one set of data sets per calculated question: the first answer's.
    const std::int32_t rows = GetDatasetSize(*answer);
    pugi::xml_node variables = question.append_child("Variables");
    for (std::int32_t v = 0; v < answer->Variables.GetSize(); ++v)
    {
        const SCalculatedVariableItem& variable = answer->Variables[v];
        pugi::xml_node node = variables.append_child("Variable");
        AddText(node, "Name", variable.Name);
        AddText(node, "MinValue", variable.MinValue);
        AddText(node, "MaxValue", variable.MaxValue);
        for (std::int32_t k = 0; k < rows && k < variable.Values.GetSize(); ++k)
            AddText(node.append_child("Value"), "Value", variable.Values[k]);
    }
    return true;
}

// --- Reader ---

bool LoadNativeBook(const std::string& fileName, CItemsArray2* items, const SBookReadOptions& options,
                    const SBookProgress& progress)
{
    WriteLog("CDataStorage::LoadXML, File name - " + fileName, 5, 1);
    std::error_code error;
    if (!items || !std::filesystem::exists(fileName, error))
    {
        progress.ShowStatus("Book loaded.");
        return false;
    }
    progress.ShowStatus("Start load book...");
    pugi::xml_document doc;
    const bool parsed = LoadXmlFile(doc, fileName, kBookParseOptions);
    return ReadParsedNativeBook(doc, parsed, items, options, progress);
}

bool ReadParsedNativeBook(pugi::xml_document& doc, bool parsed, CItemsArray2* items,
                          const SBookReadOptions& book, const SBookProgress& progress)
{
    bool result = false;
    if (parsed)
    {
        const pugi::xml_node root = doc.child("Lernfold");
        if (book.replace)
            items->Clear();
        if (root)
        {
            const std::int32_t version = ReadInt(root, "Version", -1);
            if (version < 1)
                return false;
            ReadChaptersXml(root, items, book.categoryOffset);
            if (!book.categoriesOnly)
            {
                SQuestionReadOptions options;
                options.categoryOffset = book.categoryOffset;
                options.releaseRead = true;
                ReadQuestionsXml(root, items, version, options);
            }
            items->SetModified(false);
            result = true;
        }
    }
    progress.ShowStatus("Book loaded.");
    return result;
}

std::int32_t ReadNativeBookVersion(pugi::xml_node root)
{
    const std::string_view text = lf::sys::TrimView(root.attribute("Version").value());
    // A leading number counts ("12abc" is 12), but only at the start of the text.
    std::int32_t version = -1;
    if (text.empty() || text.front() == '+')
        return -1;
    return lf::sys::ReadNumberLenient(text, version) ? version : -1;
}

bool ReadChaptersXml(pugi::xml_node root, CItemsArray2* items, std::int32_t categoryOffset)
{
    const pugi::xml_node categories = root.child("Categories");
    if (!categories)
        return true;
    if (categoryOffset == 0)
        items->AddCategory(SCategoryInfo{0, -1, "Unfiled", "Default category"}, false, false);
    for (pugi::xml_node node = categories.child("Category"); node; node = node.next_sibling("Category"))
    {
        SCategoryInfo info;
        info.ID = ReadInt(node, "ID", 0);
        info.Parent = ReadInt(node, "Parent", -1);
        info.Name = ReadAttribute(node, "Name");
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
                info.Description += child.value();
        }
        if (info.ID < 0)
        {
            WriteLog("CDataStorage::AddCategoriesFromArrayToXML - Category ERROR Cat = " +
                         lf::sys::NumberText(info.ID),
                     2, 1);
            continue;
        }
        if (info.ID == 0)
            continue;
        info.ID += categoryOffset;
        // A merged chapter stays under its own parent, which moved by the same offset.
        if (info.Parent > 0)
            info.Parent += categoryOffset;
        items->AddCategory(info, false, false);
    }
    return true;
}

bool ReadQuestionsXml(pugi::xml_node root, CItemsArray2* items, std::int32_t version,
                      const SQuestionReadOptions& options)
{
    // The items come from the plain factory: every field the open book would stamp is read from the file
    // below. The open book still hands out the new ID, so its ID sequence moves on as with any item.
    bool firstInserted = false;
    std::int32_t position = options.insertPosition;
    pugi::xml_node questions = root.child("Questions");
    std::int32_t count = 0;
    for (pugi::xml_node node = questions.child("Question"); node; node = node.next_sibling("Question"))
        ++count;
    items->ReserveItems(count);
    pugi::xml_node next;
    for (pugi::xml_node node = questions.child("Question"); node; node = next)
    {
        next = node.next_sibling("Question");
        std::unique_ptr<CBaseItem> item = ReadQuestionXml(node, items, version, options);
        if (options.releaseRead)
            questions.remove_child(node);
        if (!item)
            continue;
        CBaseItem* inserted = item.get();
        items->InsertItem(std::move(item), false, position);
        if (position >= 0)
            ++position;
        // Remembered only once it is in the book, so the pointer always names a question the book holds.
        if (options.selectFirst && !firstInserted)
            items->SetKeptItem(inserted);
        firstInserted = true;
        if (options.withUndo)
            items->GetBackupItem().PushRecordAdded(items->GetRecordIndex(inserted));
    }
    return true;
}

std::unique_ptr<CBaseItem> ReadQuestionXml(pugi::xml_node node, CItemsArray2* items, std::int32_t version,
                                           const SQuestionReadOptions& options)
{
    CQuestionAttributes attributes(kQuestionAttributes);
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
         attribute = attribute.next_attribute())
        attributes.Add(attribute);

    std::unique_ptr<CBaseItem> item = MakeItemOfKind(ReadInt(attributes[qaQuestionType], 0));
    if (!item)
        return nullptr;
    item->SetID(static_cast<std::int32_t>(items->NewItemID()));

    std::int32_t category = 0;
    if (options.fixedCategory)
    {
        category = options.fixedCategoryID;
    }
    else
    {
        category = ReadInt(attributes[qaCategoryID], 0);
        if (category > 0 && options.categoryOffset > 0)
            category += options.categoryOffset;
        if (options.mapByName)
        {
            const std::string name = attributes[qaCategoryName].value();
            if (!name.empty())
            {
                const std::int32_t id = items->GetCategoryIDAt(items->GetOrAddCategoryByName(name));
                if (id > 0)
                    category = id;
            }
        }
    }
    item->SetCategoryID(category);

    item->SetID(ReadInt(attributes[qaID], 0));
    item->SetID_Str(attributes[qaID_Str].value());
    item->SetName(attributes[qaName].value());
    item->SetOwnerStr(attributes[qaOwnerStr].value());
    item->SetModifierStr(attributes[qaModifierStr].value());
    const std::int64_t status = ReadNumber<std::int64_t>(attributes[qaQuestionStatus], 0);
    item->SetQuestionStatus(status >= std::numeric_limits<std::int32_t>::min() &&
                                    status <= std::numeric_limits<std::uint32_t>::max()
                                ? static_cast<std::uint32_t>(status)
                                : 0);
    item->SetCycleCounter(ReadInt(attributes[qaCycleCounter], 0));
    item->SetFormatQAXData(ReadByte(attributes[qaFormatQAXData], 1));
    item->SetEncryptionMethod(ReadByte(attributes[qaEncryptionMethod], 0));
    item->SetWhenCreated(ReadNumber<std::int64_t>(attributes[qaWhenCreated], 0));
    item->SetLastModified(ReadNumber<std::int64_t>(attributes[qaLastModified], 0));
    // Questions deleted for good are not read back.
    if (item->TestStatus(qsDeleted))
        return nullptr;

    item->SetLayersStr(attributes[qaLayersStr].value());
    item->SetImageToDisplay(attributes[qaImageToDisplay].value());
    item->SetAudioFileName(attributes[qaAudioFileName].value());
    item->SetDefaultQuestionGrade(attributes[qaDefaultQuestionGrade].value());
    item->SetPenaltyFactor(attributes[qaPenaltyFactor].value());
    const SKindXml& kindXml = KindXml(item->GetQuestionType());
    if (kindXml.readAttributes)
        kindXml.readAttributes(attributes, *item);
    CNamedParts<pugi::xml_node, qtxCount> texts(kQuestionTexts);
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        texts.Add(child);
    item->SetQuestionText(ElementText(texts[qtxQuestionText]));
    item->SetGeneralFeedback(ElementText(texts[qtxGeneralFeedback]));
    item->SetKeywords(ElementText(texts[qtxKeywords]));
    ReadAnswersXml(node, item.get(), version);
    ReadUnitsXml(node, item.get(), version);
    if (kindXml.variables)
        ReadVariablesXml(node, item.get(), version);

    return item;
}

bool ReadAnswersXml(pugi::xml_node question, CBaseItem* item, std::int32_t version)
{
    if (version < 1 || !item)
        return false;
    const pugi::xml_node answers = question.child("Answers");
    if (!answers)
        return true;
    if (const pugi::xml_node common = answers.child("CommonAnswer"))
    {
        SCommonUserAnswerInfo info;
        info.TimeAnswer = ReadInt(common, "TimeAnswer", 0);
        info.UserAnswer = ReadText(common, "UserAnswer");
        info.UserAnswerAdditionalInfo = ReadText(common, "UserAnswerAdditionalInfo");
        item->SetCommonUserAnswerInfo(info);
    }
    const int kind = item->GetQuestionType();
    auto* calculated = item->GetCalculated();
    for (pugi::xml_node node = answers.child("Answer"); node; node = node.next_sibling("Answer"))
    {
        if (calculated)
        {
            SCalculatedAnswerItem answer;
            answer.ID = ReadInt(node, "ID", 0);
            answer.Correct = ReadAttribute(node, "Correct");
            answer.FormulaParams.Tolerance = ReadAttribute(node, "Tolerance");
            answer.FormulaParams.ToleranceType = static_cast<std::uint8_t>(ReadInt(node, "ToleranceType", 0));
            answer.FormulaParams.CorrectAnswerLength = ReadInt(node, "CorrectAnswerLength", 0);
            answer.FormulaParams.CorrectAnswerFormat =
                static_cast<std::uint8_t>(ReadInt(node, "CorrectAnswerFormat", 0));
            answer.AnswerFormula = ReadText(node, "AnswerFormula");
            answer.Feedback = ReadText(node, "Feedback");
            calculated->AddCalculatedAnswer(answer);
        }
        else
        {
            SAnswerItem answer;
            answer.ID = ReadInt(node, "ID", 0);
            answer.Correct = ReadAttribute(node, "Correct");
            answer.AnswerText = ReadText(node, "AnswerText");
            answer.Feedback = ReadText(node, "Feedback");
            answer.UserAnswer = ReadText(node, "UserAnswer");
            if (kind == qtNumerical)
                answer.Tolerance = ReadText(node, "Tolerance");
            item->AddAnswer(answer);
        }
    }
    const SKindXml& kindXml = KindXml(kind);
    if (kindXml.readResponseFeedback)
        kindXml.readResponseFeedback(answers, *item);
    return true;
}

bool ReadUnitsXml(pugi::xml_node question, CBaseItem* item, std::int32_t version)
{
    if (version < 1 || !item)
        return false;
    CUnitList* list = item->GetUnitList();
    if (!list)
        return true;
    const pugi::xml_node units = question.child("Units");
    for (pugi::xml_node node = units.child("Unit"); node; node = node.next_sibling("Unit"))
    {
        SUnitItem unit;
        unit.Value = ReadAttribute(node, "Value");
        unit.Description = ReadAttribute(node, "Description");
        list->AddUnit(unit);
    }
    return true;
}

bool ReadVariablesXml(pugi::xml_node question, CBaseItem* item, std::int32_t version)
{
    if (version < 1 || !item)
        return false;
    auto* calculated = item->GetCalculated();
    SCalculatedAnswerItem* answer = nullptr;
    if (!calculated || !calculated->GetCalculatedAnswer(0, answer))
        return true;
    const pugi::xml_node variables = question.child("Variables");
    for (pugi::xml_node node = variables.child("Variable"); node; node = node.next_sibling("Variable"))
    {
        SCalculatedVariableItem variable;
        variable.Name = ReadAttribute(node, "Name");
        variable.MinValue = ReadAttribute(node, "MinValue");
        variable.MaxValue = ReadAttribute(node, "MaxValue");
        for (pugi::xml_node value = node.child("Value"); value; value = value.next_sibling("Value"))
            variable.Values.Add(ReadAttribute(value, "Value"));
        answer->Variables.Add(variable);
    }
    return true;
}

// --- The storage's members ---

bool CDataStorage::SaveXML(const std::string& fileName, CItemsArray2* items, bool clearModified,
                           bool keepName)
{
    return SaveNativeBook(fileName, items, clearModified, keepName, Progress());
}

void CDataStorage::SaveCategoriesToXML(pugi::xml_node parent, const CItemsArray2* items)
{
    WriteChaptersXml(parent, items);
}

bool CDataStorage::SaveQuestionsToXML(pugi::xml_node parent, CItemsArray2* items, bool filter,
                                      bool sequenceOnly, bool selectedOnly, bool withCategoryName)
{
    return WriteQuestionsXml(parent, items, {filter, sequenceOnly, selectedOnly, withCategoryName});
}

bool CDataStorage::SaveAnswersToXML(pugi::xml_node question, CBaseItem* item)
{
    return WriteAnswersXml(question, item);
}

bool CDataStorage::SaveUnitsToXML(pugi::xml_node question, CBaseItem* item)
{
    return WriteUnitsXml(question, item);
}

bool CDataStorage::SaveVariablesToXML(pugi::xml_node question, CBaseItem* item)
{
    return WriteVariablesXml(question, item);
}

bool CDataStorage::LoadXML(const std::string& fileName, CItemsArray2* items, std::int32_t categoryOffset,
                           bool replace, bool categoriesOnly)
{
    return LoadNativeBook(
        fileName, items,
        {.categoryOffset = categoryOffset, .replace = replace, .categoriesOnly = categoriesOnly}, Progress());
}

bool CDataStorage::AddCategoriesFromArrayToXML(pugi::xml_node root, CItemsArray2* items, std::int32_t version,
                                               std::int32_t categoryOffset)
{
    (void)version;
    return ReadChaptersXml(root, items, categoryOffset);
}

bool CDataStorage::LoadQuestionsFromXML(pugi::xml_node root, CItemsArray2* items, std::int32_t version,
                                        std::int32_t categoryOffset, std::int32_t insertPosition,
                                        bool fixedCategory, std::int32_t fixedCategoryID, bool withUndo,
                                        bool mapByName, bool selectFirst, bool releaseRead)
{
    SQuestionReadOptions options;
    options.categoryOffset = categoryOffset;
    options.insertPosition = insertPosition;
    options.fixedCategory = fixedCategory;
    options.fixedCategoryID = fixedCategoryID;
    options.withUndo = withUndo;
    options.mapByName = mapByName;
    options.selectFirst = selectFirst;
    options.releaseRead = releaseRead;
    return ReadQuestionsXml(root, items, version, options);
}

bool CDataStorage::LoadAnswersFromXML(pugi::xml_node question, CBaseItem* item, std::int32_t version)
{
    return ReadAnswersXml(question, item, version);
}

bool CDataStorage::LoadUnitsFromXML(pugi::xml_node question, CBaseItem* item, std::int32_t version)
{
    return ReadUnitsXml(question, item, version);
}

bool CDataStorage::LoadVariablesFromXML(pugi::xml_node question, CBaseItem* item, std::int32_t version)
{
    return ReadVariablesXml(question, item, version);
}

bool CDataStorage::ReadBookFile(const std::string& fileName, CItemsArray2* items,
                                const SBookReadOptions& options, bool* asNative)
{
    // One parse serves both the recognition by content and the read of a native book; the recognition
    // probe normalises line ends, which changes no element name, so it recognises the same files.
    pugi::xml_document doc;
    const bool parsed = LoadXmlFile(doc, fileName, kBookParseOptions);
    const bool native = parsed && doc.child("Lernfold");
    if (asNative)
        *asNative = native;
    if (native)
    {
        WriteLog("CDataStorage::LoadXML, File name - " + fileName, 5, 1);
        ShowStatus("Start load book...");
        return ReadParsedNativeBook(doc, true, items, options, Progress());
    }
    if (options.moodle && parsed && doc.child("quiz"))
    {
        doc.reset();
        return LoadMoodleXML(fileName, items, /*clearFirst=*/false);
    }
    doc.reset();
    return LoadPDB(fileName, items, options.categoryOffset, options.replace);
}
