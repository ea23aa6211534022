#include "interchange/MoodleXml.h"

#include "interchange/ImportFactory.h"
#include "interchange/TextUtils.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/items/Grades.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;

namespace
{

constexpr std::array<const char*, 10> kTypeNames{"multichoice",   "truefalse", "description", "essay",
                                                 "shortanswer",   "matching",  "calculated",  "numerical",
                                                 "randomsamatch", "cloze"};

// The value of an element's first child (text or CDATA); empty for a missing element or one whose first
// child is an element.
std::string TextOf(pugi::xml_node node)
{
    return node.first_child().value();
}

// The text of the `text` child of a quiz text field.
std::string FieldText(pugi::xml_node parent, const char* field)
{
    return TextOf(parent.child(field).child("text"));
}

std::string Rich(std::string text, const lf::RichPictureRequest& pictures)
{
    NormalizeImportedText(text, pictures);
    return text;
}

std::string Stripped(std::string text)
{
    RemoveLineBreaksAndTabs(text, true);
    return text;
}

// A text that reads as a whole number (blanks around it allowed); fallback otherwise.
int WholeNumber(const std::string& text, int fallback)
{
    int value = fallback;
    lf::sys::ReadNumber(lf::sys::TrimView(text), value);
    return value;
}

// A switch of a quiz file: "true" (as the learning platform writes it, any case) or "1" sets it, blanks
// around it allowed; anything else clears it.
bool SwitchOn(pugi::xml_node element)
{
    const std::string value = TextOf(element);
    const std::string_view text = lf::sys::TrimView(value);
    return text == "1" || lf::sys::SameTextAsciiNoCase(text, "true");
}

bool ReadDecimal(std::string_view text, double& value)
{
    text = lf::sys::TrimView(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    // Written out in full: no exponent.
    return text.find_first_of("eE") == std::string_view::npos && lf::sys::ReadNumber(text, value);
}

std::string Grade(pugi::xml_node answer)
{
    return MoodlePercentToFraction(answer.attribute("fraction").value());
}

// A picture on the web, for the program's own loader. A "file:" address names a local file, which the
// loader would open wherever it lies, so it counts as a local name and has to keep to the quiz folder.
bool IsWebPicture(const std::string& name)
{
    return lf::sys::IsWebAddress(name) && !lf::sys::StartsWithNoCase(name, "file:");
}

// The pictures a quiz file's texts name: taken from its folder; web addresses go to the program's own
// loader (none: placeholders); any other name gives the placeholder and is never opened.
lf::RichPictureRequest QuizPictures(std::string folder, lf::RichPictureRequest webPictures)
{
    return [folder = std::move(folder), web = std::move(webPictures)](const std::string& source, int width,
                                                                      int height, bool fetch)
    {
        if (IsWebPicture(source))
            return web ? web(source, width, height, fetch) : lf::MakePlaceholderPicture(width, height);
        std::string name = DecodePercentEscapes(source);
        if (!lf::sys::StaysInFolder(name))
        {
            WriteLog("LoadMoodleXML - picture name refused: " + name, 1, 1);
            return lf::MakePlaceholderPicture(width, height);
        }
        std::replace(name.begin(), name.end(), '\\', '/');
        lf::SRichPicture picture;
        if (!lf::sys::ReadWholeFile(folder + name, picture.data) || picture.data.empty())
            return lf::MakePlaceholderPicture(width, height);
        std::string extension = lf::sys::AsciiLower(lf::sys::ExtensionOf(name));
        if (!extension.empty())
            extension.erase(0, 1);
        picture.format = extension == "jpg" ? "jpeg" : extension;
        return picture;
    };
}

void ReadKindElements(pugi::xml_node question, CBaseItem* item, const lf::RichPictureRequest& pictures)
{
    if (auto* choice = dynamic_cast<CMultipleChoiceItem*>(item))
    {
        choice->SetLetMultipleAnswers(TextOf(question.child("single")) == "false" ? 1 : 0);
        choice->SetShuffle(SwitchOn(question.child("shuffleanswers")) ? 1 : 0);
        choice->SetFeedbackForAnyCorrectResponse(Rich(FieldText(question, "correctfeedback"), pictures));
        choice->SetFeedbackForAnyPartiallyCorrectResponse(
            Rich(FieldText(question, "partiallycorrectfeedback"), pictures));
        choice->SetFeedbackForAnyIncorrectResponse(Rich(FieldText(question, "incorrectfeedback"), pictures));
        const std::string numbering = TextOf(question.child("answernumbering"));
        constexpr std::array<const char*, 4> kNumbering{"abc", "ABCD", "123", "none"};
        std::int32_t type = -1;
        for (std::size_t i = 0; i < kNumbering.size(); ++i)
            if (numbering == kNumbering[i])
                type = static_cast<std::int32_t>(i);
        choice->SetNumberAnswerType(type);
    }
    else if (auto* shortAnswer = dynamic_cast<CShortAnswerItem*>(item))
    {
        shortAnswer->SetCaseSensitivity(WholeNumber(TextOf(question.child("usecase")), 0) == 1 ? 1 : 0);
    }
    else if (auto* matching = dynamic_cast<CMatchingItem*>(item))
    {
        matching->SetShuffle(SwitchOn(question.child("shuffleanswers")) ? 1 : 0);
    }
}

void ReadDatasets(pugi::xml_node question, CCalculatedItem* item)
{
    SCalculatedAnswerItem* first = nullptr;
    if (item->GetAnswerCount() < 1 || !item->GetCalculatedAnswer(0, first))
        return;
    for (pugi::xml_node definition : question.child("dataset_definitions").children("dataset_definition"))
    {
        SCalculatedVariableItem variable;
        variable.Name = FieldText(definition, "name");
        variable.MinValue = FieldText(definition, "minimum");
        variable.MaxValue = FieldText(definition, "maximum");
        for (pugi::xml_node row : definition.child("dataset_items").children("dataset_item"))
            variable.Values.Add(TextOf(row.child("value")));
        first->Variables.Add(std::move(variable));
    }
}

// --- Writer ---

// The picture-name prefix of the running export, kept by the storage for the length of the export (so every
// step that writes a picture of this export names it alike) and put back afterwards.
class ExportPicturePrefix
{
public:
    ExportPicturePrefix(CDataStorage* storage, const std::string& prefix)
        : m_storage(storage), m_prefix(prefix)
    {
        if (m_storage)
        {
            m_previous = m_storage->GetMoodlePicturePrefix();
            m_storage->SetMoodlePicturePrefix(prefix);
        }
    }
    ~ExportPicturePrefix()
    {
        if (m_storage)
            m_storage->SetMoodlePicturePrefix(std::move(m_previous));
    }
    ExportPicturePrefix(const ExportPicturePrefix&) = delete;
    ExportPicturePrefix& operator=(const ExportPicturePrefix&) = delete;

    // The prefix as the storage holds it while the export runs.
    const std::string& Get() const { return m_storage ? m_storage->GetMoodlePicturePrefix() : m_prefix; }

private:
    CDataStorage* m_storage;
    std::string m_prefix;
    std::string m_previous;
};

// Renders stored texts into quiz HTML with the export's picture settings.
class HtmlRenderer
{
public:
    HtmlRenderer(lf::RichDocument* view, std::string folder, const ExportPicturePrefix& prefix)
        : m_view(view), m_folder(std::move(folder)), m_prefix(prefix)
    {
    }
    std::string operator()(const std::string& stored) const
    {
        std::string html;
        RichTextToMoodleHTML(html, stored, m_view, m_folder, m_prefix.Get());
        return html;
    }

private:
    lf::RichDocument* m_view;
    std::string m_folder;
    const ExportPicturePrefix& m_prefix;
};

pugi::xml_node AppendAnswer(pugi::xml_node question, const char* fraction)
{
    pugi::xml_node answer = question.append_child("answer");
    answer.append_attribute("fraction").set_value(fraction);
    return answer;
}

void WriteKindElements(pugi::xml_node question, CBaseItem* item, const HtmlRenderer& html)
{
    switch (item->GetQuestionType())
    {
    case qtMultipleChoice:
    {
        auto* choice = static_cast<CMultipleChoiceItem*>(item);
        const bool shuffle = choice->GetShuffle() != 0;
        AppendTextElement("shuffleanswers", shuffle ? "1" : "0", question, false);
        AppendTextElement("single", choice->GetLetMultipleAnswers() ? "false" : "true", question, false);
        AppendTextElement("shuffleanswers", shuffle ? "true" : "false", question, false);
        AppendMoodleTextElement(question, "correctfeedback", html(choice->GetFeedbackForAnyCorrectResponse()),
                                "", true);
        AppendMoodleTextElement(question, "partiallycorrectfeedback",
                                html(choice->GetFeedbackForAnyPartiallyCorrectResponse()), "", true);
        AppendMoodleTextElement(question, "incorrectfeedback",
                                html(choice->GetFeedbackForAnyIncorrectResponse()), "", true);
        constexpr std::array<const char*, 3> kNumbering{"abc", "ABCD", "123"};
        const std::int32_t type = choice->GetNumberAnswerType();
        AppendTextElement("answernumbering",
                          type >= 0 && type < 3 ? kNumbering[static_cast<std::size_t>(type)] : "none",
                          question, false);
        break;
    }
    case qtShortAnswer:
        AppendTextElement("shuffleanswers", "0", question, false);
        AppendTextElement("usecase", static_cast<CShortAnswerItem*>(item)->GetCaseSensitivity() ? "1" : "0",
                          question, false);
        break;
    case qtMatching:
        AppendTextElement("shuffleanswers", static_cast<CMatchingItem*>(item)->GetShuffle() ? "1" : "0",
                          question, false);
        break;
    default:
        AppendTextElement("shuffleanswers", "0", question, false);
        break;
    }
}

void WriteAnswers(pugi::xml_node question, CBaseItem* item, const HtmlRenderer& html)
{
    const int kind = item->GetQuestionType();
    if (kind == qtCalculated)
    {
        auto* calculated = static_cast<CCalculatedItem*>(item);
        for (std::int32_t i = 0; i < calculated->GetAnswerCount(); ++i)
        {
            SCalculatedAnswerItem* a = nullptr;
            if (!calculated->GetCalculatedAnswer(i, a))
                continue;
            pugi::xml_node answer = AppendAnswer(question, GradeFractionToPercent(a->Correct).c_str());
            AppendTextElement("text", a->AnswerFormula, answer, false);
            AppendTextElement("tolerance", a->FormulaParams.Tolerance, answer, false);
            AppendTextElement("tolerance", a->FormulaParams.Tolerance, answer, false);
            AppendTextElement("tolerancetype", lf::sys::NumberText(a->FormulaParams.ToleranceType + 1),
                              answer, false);
            AppendTextElement("correctanswerformat",
                              lf::sys::NumberText(a->FormulaParams.CorrectAnswerFormat + 1), answer, false);
            AppendTextElement("correctanswerlength",
                              lf::sys::NumberText(a->FormulaParams.CorrectAnswerLength), answer, false);
            AppendMoodleTextElement(answer, "feedback", html(a->Feedback), "", true);
        }
        return;
    }
    if (kind == qtDescription || kind == qtRandomShortAnswerMatching || kind == qtEmbedded)
        return;
    for (std::int32_t i = 0; i < item->GetAnswerCount(); ++i)
    {
        SAnswerItem* a = nullptr;
        if (!item->GetAnswer(i, a))
            continue;
        switch (kind)
        {
        case qtMultipleChoice:
        {
            pugi::xml_node answer = AppendAnswer(question, GradeFractionToPercent(a->Correct).c_str());
            AppendTextElement("text", html(a->AnswerText), answer, true);
            AppendMoodleTextElement(answer, "feedback", html(a->Feedback), "", true);
            break;
        }
        case qtTrueFalse:
        {
            auto* trueFalse = static_cast<CTrueFalseItem*>(item);
            const bool isTrue = a->Correct == "1";
            pugi::xml_node yes = AppendAnswer(question, isTrue ? "100" : "0");
            AppendTextElement("text", "true", yes, false);
            AppendMoodleTextElement(yes, "feedback", html(trueFalse->GetFeedbackForTheResponseTrue()), "",
                                    true);
            pugi::xml_node no = AppendAnswer(question, isTrue ? "0" : "100");
            AppendTextElement("text", "false", no, false);
            AppendMoodleTextElement(no, "feedback", html(trueFalse->GetFeedbackForTheResponseFalse()), "",
                                    true);
            return;
        }
        case qtEssay:
        {
            pugi::xml_node answer = AppendAnswer(question, "0");
            AppendMoodleTextElement(answer, "feedback", html(a->Feedback), "", true);
            return;
        }
        case qtShortAnswer:
        case qtNumerical:
        {
            pugi::xml_node answer = AppendAnswer(question, GradeFractionToPercent(a->Correct).c_str());
            AppendTextElement("text", a->AnswerText, answer, false);
            if (kind == qtNumerical)
                AppendTextElement("tolerance", a->Tolerance, answer, false);
            AppendMoodleTextElement(answer, "feedback", html(a->Feedback), "", true);
            break;
        }
        case qtMatching:
        {
            pugi::xml_node sub = question.append_child("subquestion");
            AppendTextElement("text", a->AnswerText, sub, false);
            AppendMoodleTextElement(sub, "answer", a->Correct, "", false);
            break;
        }
        default:
            return;
        }
    }
}

void WriteUnits(pugi::xml_node question, CBaseItem* item)
{
    pugi::xml_node units = question.append_child("units");
    for (std::int32_t i = 0; i < item->GetUnitCount(); ++i)
    {
        SUnitItem* unit = nullptr;
        bool found = false;
        if (auto* numerical = dynamic_cast<CNumericalItem*>(item))
            found = numerical->GetUnit(i, unit);
        else if (auto* calculated = item->GetCalculated())
            found = calculated->GetUnit(i, unit);
        if (!found)
            continue;
        pugi::xml_node element = units.append_child("unit");
        AppendTextElement("multiplier", unit->Value, element, false);
        AppendTextElement("unit_name", unit->Description, element, false);
    }
}

void WriteDatasets(pugi::xml_node question, CCalculatedItem* item)
{
    SCalculatedAnswerItem* first = nullptr;
    if (item->GetAnswerCount() < 1 || !item->GetCalculatedAnswer(0, first) || first->Variables.GetSize() == 0)
        return;
    const std::int32_t rows = GetDatasetSize(*first);
    const std::string count = lf::sys::NumberText(rows);
    pugi::xml_node definitions = question.append_child("dataset_definitions");
    for (std::int32_t v = 0; v < first->Variables.GetSize(); ++v)
    {
        const SCalculatedVariableItem& variable = first->Variables[v];
        pugi::xml_node definition = definitions.append_child("dataset_definition");
        AppendMoodleTextElement(definition, "status", "private", "", false);
        AppendMoodleTextElement(definition, "name", variable.Name, "", false);
        AppendTextElement("type", "calculated", definition, false);
        AppendMoodleTextElement(definition, "distribution", "uniform", "", false);
        AppendMoodleTextElement(definition, "minimum", variable.MinValue, "", false);
        AppendMoodleTextElement(definition, "maximum", variable.MaxValue, "", false);
        AppendMoodleTextElement(definition, "decimals", "1", "", false);
        AppendTextElement("itemcount", count, definition, false);
        if (rows > 0)
        {
            pugi::xml_node items = definition.append_child("dataset_items");
            for (std::int32_t r = 0; r < rows; ++r)
            {
                pugi::xml_node row = items.append_child("dataset_item");
                AppendTextElement("number", lf::sys::NumberText(r + 1), row, false);
                AppendTextElement("value", variable.Values[r], row, false);
            }
        }
        AppendTextElement("number_of_items", count, definition, false);
    }
}

struct StringWriter : pugi::xml_writer
{
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
    std::string text;
};

} // namespace

// --- Reader ---

bool MoodleTypeNameToKind(const std::string& typeName, std::uint8_t& kind)
{
    const std::string lower = lf::sys::LowerCase(typeName);
    for (std::size_t i = 0; i < kTypeNames.size(); ++i)
    {
        if (lower == kTypeNames[i])
        {
            kind = static_cast<std::uint8_t>(i + 1);
            return true;
        }
    }
    return false;
}

bool KindToMoodleTypeName(std::uint8_t kind, std::string& typeName)
{
    if (kind < 1 || kind > kTypeNames.size())
        return false;
    typeName = kTypeNames[kind - 1u];
    return true;
}

std::string MoodlePercentToFraction(const std::string& percent)
{
    const std::string exact = GradePercentToFraction(percent);
    if (exact != "0")
        return exact;
    double value = 0.0;
    if (!ReadDecimal(percent, value))
        return "0";
    for (int i = 0; i < kGradeCount; ++i)
    {
        double entry = 0.0;
        if (ReadDecimal(GradeIndexToPercent(i), entry) && std::fabs(entry - value) <= 0.01 + 1e-9)
            return GradeIndexToFraction(i);
    }
    return "0";
}

bool LoadMoodleAnswersFromXML(pugi::xml_node question, CBaseItem* item,
                              const lf::RichPictureRequest& pictures)
{
    if (!item)
        return false;
    const int kind = item->GetQuestionType();
    std::int32_t counter = 0;
    if (kind == qtMatching)
    {
        for (pugi::xml_node sub : question.children("subquestion"))
        {
            SAnswerItem answer;
            answer.ID = ++counter;
            answer.AnswerText = Rich(TextOf(sub.child("text")), pictures);
            answer.Correct = FieldText(sub, "answer");
            item->AddAnswer(answer);
        }
        return true;
    }
    for (pugi::xml_node element : question.children("answer"))
    {
        const std::string text = TextOf(element.child("text"));
        switch (kind)
        {
        case qtMultipleChoice:
        {
            SAnswerItem answer;
            answer.ID = ++counter;
            answer.Correct = Grade(element);
            answer.AnswerText = Rich(text, pictures);
            answer.Feedback = Rich(FieldText(element, "feedback"), pictures);
            item->AddAnswer(answer);
            break;
        }
        case qtTrueFalse:
        {
            auto* trueFalse = static_cast<CTrueFalseItem*>(item);
            if (text == "true")
            {
                SAnswerItem answer;
                answer.AnswerText = "true";
                answer.Correct = Grade(element);
                item->AddAnswer(answer);
                trueFalse->SetFeedbackForTheResponseTrue(Rich(FieldText(element, "feedback"), pictures));
            }
            else
            {
                trueFalse->SetFeedbackForTheResponseFalse(Rich(FieldText(element, "feedback"), pictures));
            }
            break;
        }
        case qtEssay:
        {
            SAnswerItem answer;
            answer.Feedback = Rich(FieldText(element, "feedback"), pictures);
            item->AddAnswer(answer);
            break;
        }
        case qtShortAnswer:
        case qtNumerical:
        {
            SAnswerItem answer;
            answer.ID = ++counter;
            answer.Correct = Grade(element);
            answer.AnswerText = Stripped(text);
            if (kind == qtNumerical)
                answer.Tolerance = TextOf(element.child("tolerance"));
            answer.Feedback = Rich(FieldText(element, "feedback"), pictures);
            item->AddAnswer(answer);
            break;
        }
        case qtCalculated:
        {
            SCalculatedAnswerItem answer;
            answer.ID = ++counter;
            answer.Correct = Grade(element);
            answer.AnswerFormula = text;
            answer.FormulaParams.Tolerance = TextOf(element.child("tolerance"));
            answer.FormulaParams.ToleranceType =
                static_cast<std::uint8_t>(WholeNumber(TextOf(element.child("tolerancetype")), 1) - 1);
            answer.FormulaParams.CorrectAnswerFormat =
                static_cast<std::uint8_t>(WholeNumber(TextOf(element.child("correctanswerformat")), 1) - 1);
            answer.FormulaParams.CorrectAnswerLength =
                WholeNumber(TextOf(element.child("correctanswerlength")), 0);
            answer.Feedback = Rich(FieldText(element, "feedback"), pictures);
            static_cast<CCalculatedItem*>(item)->AddCalculatedAnswer(answer);
            break;
        }
        default:
            return true; // the other kinds keep no answers from the file
        }
    }
    return true;
}

bool LoadMoodleUnitsFromXML(pugi::xml_node units, CBaseItem* item)
{
    if (!item)
        return false;
    for (pugi::xml_node element : units.children("unit"))
    {
        const SUnitItem unit{TextOf(element.child("multiplier")), TextOf(element.child("unit_name"))};
        if (auto* numerical = dynamic_cast<CNumericalItem*>(item))
            numerical->AddUnit(unit);
        else if (auto* calculated = item->GetCalculated())
            calculated->AddUnit(unit);
    }
    return true;
}

bool LoadMoodleQuestionsFromXML(pugi::xml_node quiz, CItemsArray2* items, const SExchangeContext& context,
                                const lf::RichPictureRequest& pictures)
{
    CImportFactory factory(*items);
    std::int64_t total = 0;
    for (pugi::xml_node question = quiz.child("question"); question;
         question = question.next_sibling("question"))
        ++total;
    std::int64_t done = 0;
    for (pugi::xml_node question : quiz.children("question"))
    {
        context.ShowProgress(done++, total);
        std::uint8_t kind = 0;
        if (!MoodleTypeNameToKind(question.attribute("type").value(), kind))
            continue;
        std::unique_ptr<CBaseItem> item = factory.Create(kind);
        if (!item)
            continue;
        item->SetCategoryID(0);
        item->SetID_Str("");
        item->SetName(FieldText(question, "name"));
        item->SetQuestionText(Rich(FieldText(question, "questiontext"), pictures));
        item->SetImageToDisplay(TextOf(question.child("image")));
        item->SetGeneralFeedback(Rich(FieldText(question, "generalfeedback"), pictures));
        item->SetDefaultQuestionGrade(TextOf(question.child("defaultgrade")));
        item->SetPenaltyFactor(TextOf(question.child("penalty")));
        if (TextOf(question.child("hidden")) == "1")
        {
            // A hidden question goes to the Trash whole: the bit and the Trash chapter together.
            item->SetStatus(qsInTrash, true);
            item->SetCategoryID(kTrashCategoryID);
        }
        item->SetFormatQAXData(
            MoodleFormatNameToCode(question.child("questiontext").attribute("format").value()));
        ReadKindElements(question, item.get(), pictures);

        LoadMoodleAnswersFromXML(question, item.get(), pictures);
        if (item->HasUnits())
            if (pugi::xml_node units = question.child("units"))
                LoadMoodleUnitsFromXML(units, item.get());
        if (auto* calculated = item->GetCalculated())
            ReadDatasets(question, calculated);
        items->InsertItem(std::move(item), false, -1);
    }
    context.ShowProgress(total, total);
    return true;
}

bool LoadMoodleXML(const std::string& fileName, CItemsArray2* items, bool clearFirst,
                   const SExchangeContext& context)
{
    WriteLog("CDataStorage::LoadMoodleXML, File name - " + fileName, 5, 1);
    bool result = false;
    std::error_code error;
    if (items && fs::is_regular_file(fileName, error))
    {
        context.ShowStatus("Start load book...");
        pugi::xml_document doc;
        const pugi::xml_node quiz =
            LoadXmlFile(doc, fileName, pugi::parse_default) ? doc.child("quiz") : pugi::xml_node();
        if (quiz)
        {
            if (clearFirst)
                items->Clear();
            result = LoadMoodleQuestionsFromXML(
                quiz, items, context, QuizPictures(lf::sys::FolderOf(fileName), context.webPictures));
        }
    }
    context.ShowStatus("Book loaded.");
    return result;
}

// --- Writer ---

void SaveMoodleQuestionsToXML(pugi::xml_node quiz, CItemsArray2* items, const SExchangeContext& context,
                              const std::string& pictureFolder, const std::string& picturePrefix)
{
    const ExportPicturePrefix prefix(context.storage, picturePrefix);
    const HtmlRenderer html(context.view, pictureFolder, prefix);
    for (std::int32_t i = 0; i < items->GetCount(); ++i)
    {
        context.ShowProgress(i, items->GetCount());
        CBaseItem* item = items->GetItem(i);
        std::string typeName;
        if (!item || item->TestStatus(qsDeleted | qsInTrash) ||
            !KindToMoodleTypeName(item->GetQuestionType(), typeName))
            continue;
        pugi::xml_node question = quiz.append_child("question");
        question.append_attribute("type").set_value(typeName.c_str());
        AppendMoodleTextElement(question, "name", item->GetName(), "", false);
        AppendMoodleTextElement(question, "questiontext", html(item->GetQuestionText()), "moodle_auto_format",
                                true);
        AppendTextElement("image", item->GetImageToDisplay(), question, false);
        AppendMoodleTextElement(question, "generalfeedback", html(item->GetGeneralFeedback()), "", true);
        AppendTextElement("defaultgrade", item->GetDefaultQuestionGrade(), question, false);
        AppendTextElement("penalty", item->GetPenaltyFactor(), question, false);
        AppendTextElement("hidden", "0", question, false);
        WriteKindElements(question, item, html);
        WriteAnswers(question, item, html);
        if (item->HasUnits())
            WriteUnits(question, item);
        if (auto* calculated = item->GetCalculated())
            WriteDatasets(question, calculated);
    }
}

std::string MoodleXmlFileName(const std::string& fileName, bool keepName)
{
    if (keepName || lf::sys::SameTextAsciiNoCase(lf::sys::ExtensionOf(fileName), ".xml"))
        return fileName;
    return fileName + ".xml";
}

bool SaveMooldeXML(const std::string& fileName, CItemsArray2* items, bool keepName,
                   const SExchangeContext& context)
{
    if (fileName.empty() || !items)
        return false;
    WriteLog("CDataStorage::SaveMooldeXML, File name - " + fileName, 5, 1);
    std::string target = fileName;
    target = MoodleXmlFileName(target, keepName);

    pugi::xml_document doc;
    pugi::xml_node quiz = doc.append_child("quiz");
    // Pictures are named after the file and go beside it, whatever the current folder is.
    // Only an exact ".xml" is cut: Week1.XML names its pictures Week1.XML_1.png.
    std::string base = lf::sys::NamePart(target);
    if (lf::sys::ExtensionOf(base) == ".xml")
        base = lf::sys::WithoutExtension(base);
    const std::string folder = lf::sys::FolderOf(target);
    SaveMoodleQuestionsToXML(quiz, items, context, folder, base + "_");

    StringWriter writer;
    doc.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    std::string error;
    if (!lf::sys::WriteFileAtomically(target, writer.text, &error))
    {
        WriteLog("CDataStorage::SaveMooldeXML - the file could not be written: " + error, 1, 1);
        return false;
    }
    return true;
}
