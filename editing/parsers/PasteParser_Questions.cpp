// The many-questions parser: numbered questions with their labelled answers, bold chapter and section
// headers, shared header text and italic passage instructions.
#include "editing/parsers/PasteDocument.h"
#include "editing/parsers/PasteParsers.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"

#include <algorithm>
#include <utility>

using lf::SRichPosition;
using lf::parsers::detail::CPasteDocument;
using lf::parsers::detail::SPasteParagraph;

namespace
{

namespace detail = lf::parsers::detail;

constexpr const char* kLogPrefix = "Tm_MainFrm::ParseAndInsertQuestionsFromClipboard() - ";
// Stands between the shared texts and the question they are put in front of.
constexpr const char* kSharedTextSeparator = "***************";

void AddWrongAnswer(CBaseItem& item, int id, const std::string& text)
{
    SAnswerItem answer;
    answer.ID = id;
    answer.AnswerText = text;
    answer.Correct = "0";
    item.AddAnswer(answer);
}

// The state of one run: what belongs to the current question, and the shared texts, passage numbers and
// chapter count that carry over from one question to the next.
class CQuestionsParser
{
public:
    CQuestionsParser(CPasteDocument& doc, CBaseItem* item, bool single, const SPasteParseContext& context)
        : m_Doc(doc), m_Item(item), m_Single(single), m_Context(context), m_Label(context.options.Label(1))
    {
    }

    SParseResult Run();

private:
    enum class EStep
    {
        Next,   // go on with the next paragraph
        Again,  // look at the same paragraph again as the start of the next question
        Stop,   // a step failed
        Finish, // single mode: the first question is complete
    };

    EStep Examine(const SPasteParagraph& paragraph);
    EStep ExamineFirst(const SPasteParagraph& paragraph, std::string_view trimmed);
    bool TakeHeader(const SPasteParagraph& paragraph);
    EStep OpenAnswer(const SPasteParagraph& paragraph);
    void StoreQuestion(const std::string& questionXml);
    void ResetQuestion();

    CPasteDocument& m_Doc;
    CBaseItem* m_Item; // the caller's item, taken by the first question
    bool m_Single;
    const SPasteParseContext& m_Context;
    SParseResult m_Result;

    // Carried over between questions.
    std::int32_t m_ChapterCount = 0;
    std::string m_CommonXMLStr;
    std::string m_AdditionalXMLStr;
    std::vector<std::int32_t> m_PassageNumbers;

    // The current question.
    bool m_FirstPending = true;
    bool m_HeaderPending = false;
    int m_HeaderStart = -1; // item
    std::string m_Number;
    std::string m_PlainNumber;
    int m_N = 1;
    std::string m_Label;
    SRichPosition m_PartStart{0, 0};
    CBaseItem* m_Open = nullptr;
    bool m_AnyQuestion = false;
};

SParseResult CQuestionsParser::Run()
{
    for (const SPasteParagraph& paragraph : m_Doc.Paragraphs())
    {
        EStep step = Examine(paragraph);
        if (step == EStep::Again)
            step = Examine(paragraph);
        if (step == EStep::Stop)
            return m_Result;
        if (step == EStep::Finish)
        {
            m_Result.ok = true;
            return m_Result;
        }
    }
    if (m_Open)
    {
        const SRichPosition end = m_Doc.End();
        if (!m_Doc.HasContent(m_PartStart, end))
        {
            detail::LogParserStep("Tm_MainFrm::ParseAndInsertQuestionFromClipboard() - 5 (last answer)");
            return m_Result;
        }
        std::string xml;
        if (m_Doc.ToXML(m_PartStart, end, true, xml))
            AddWrongAnswer(*m_Open, m_N - 1, xml);
    }
    m_Result.ok = m_AnyQuestion;
    return m_Result;
}

CQuestionsParser::EStep CQuestionsParser::Examine(const SPasteParagraph& paragraph)
{
    const std::string_view trimmed = paragraph.Trimmed();
    if (m_FirstPending)
        return trimmed.empty() ? EStep::Next : ExamineFirst(paragraph, trimmed);

    if (detail::StartsWithLabel(trimmed, m_Label))
        return OpenAnswer(paragraph);

    if (m_N == 1)
        return EStep::Next; // more of the question's text

    // Any other paragraph after an answer ends the question. One with text is looked at again, so a
    // question or header that follows without an empty paragraph is not lost.
    if (m_Open)
    {
        const SRichPosition end = CPasteDocument::StartOf(paragraph);
        if (!m_Doc.HasContent(m_PartStart, end))
        {
            detail::LogParserStep(std::string(kLogPrefix) + "5 (Wrong selection range)");
            return EStep::Stop;
        }
        std::string xml;
        if (m_Doc.ToXML(m_PartStart, end, true, xml))
            AddWrongAnswer(*m_Open, m_N - 1, xml);
        if (m_Single)
            return EStep::Finish;
    }
    ResetQuestion();
    return trimmed.empty() ? EStep::Next : EStep::Again;
}

CQuestionsParser::EStep CQuestionsParser::ExamineFirst(const SPasteParagraph& paragraph,
                                                       std::string_view trimmed)
{
    const std::string lower = lf::sys::LowerCase(trimmed);
    const int lead = paragraph.contentItem;

    if (m_Doc.IsBold(lead) && IsCommonHeader(lower, false))
    {
        m_PassageNumbers.clear();
        m_AdditionalXMLStr.clear();
        m_CommonXMLStr.clear();
        if (IsCommonHeader(lower, true))
            ++m_ChapterCount;
        return EStep::Next;
    }
    if (m_Doc.IsItalic(lead) && GetPassageQuestionRange(lower, m_PassageNumbers))
    {
        m_HeaderPending = true;
        return EStep::Next;
    }
    const std::string_view digits = detail::LeadingNumber(trimmed);
    if (digits.empty())
    {
        m_HeaderPending = true;
        if (m_HeaderStart < 0)
            m_HeaderStart = paragraph.first;
        return EStep::Next;
    }

    m_FirstPending = false;
    if (m_HeaderPending && !TakeHeader(paragraph))
        return EStep::Stop;
    m_PartStart = m_Doc.PositionAt(
        paragraph, detail::SkipBlanks(paragraph.text, paragraph.FirstVisible() + digits.size()));
    m_PlainNumber = detail::StoredNumber(digits);
    m_Number = m_ChapterCount > 0 ? lf::sys::NumberText(m_ChapterCount) + "." + m_PlainNumber : m_PlainNumber;
    return EStep::Next;
}

// The header or passage text seen since the last question becomes the passage (when a passage
// instruction named questions) or the common header text.
bool CQuestionsParser::TakeHeader(const SPasteParagraph& paragraph)
{
    m_HeaderPending = false;
    const SRichPosition end = CPasteDocument::StartOf(paragraph);
    std::string xml;
    bool converted = false;
    if (m_HeaderStart >= 0)
    {
        const SRichPosition start{m_HeaderStart, 0};
        if (!m_Doc.HasContent(start, end))
        {
            detail::LogParserStep(std::string(kLogPrefix) + "0.1 (Wrong selectection range)");
            return false;
        }
        converted = m_Doc.ToXML(start, end, false, xml);
    }
    if (!m_PassageNumbers.empty())
    {
        m_AdditionalXMLStr = converted ? xml : std::string();
        if (!converted)
        {
            m_PassageNumbers.clear();
            detail::LogParserStep(std::string(kLogPrefix) + "0.2 (AdditionalXMLStr)");
        }
    }
    else
    {
        m_CommonXMLStr = converted ? xml : std::string();
        if (!converted)
            detail::LogParserStep(std::string(kLogPrefix) + "0.3 (CommonXMLStr)");
    }
    return true;
}

CQuestionsParser::EStep CQuestionsParser::OpenAnswer(const SPasteParagraph& paragraph)
{
    const std::size_t labelAt = paragraph.FirstVisible();
    const SRichPosition partEnd = m_Doc.PositionAt(paragraph, labelAt);
    if (!m_Doc.HasContent(m_PartStart, partEnd))
    {
        detail::LogParserStep(std::string(kLogPrefix) + "1 (Wrong selection range)");
        return EStep::Stop;
    }
    std::string xml;
    if (m_N == 1)
    {
        if (m_Doc.ToXML(m_PartStart, partEnd, false, xml))
            StoreQuestion(xml);
    }
    else if (m_Open && m_Doc.ToXML(m_PartStart, partEnd, true, xml))
    {
        AddWrongAnswer(*m_Open, m_N - 1, xml);
    }
    m_PartStart = m_Doc.PositionAt(paragraph, detail::SkipBlanks(paragraph.text, labelAt + m_Label.size()));
    ++m_N;
    m_Label = m_Context.options.Label(m_N);
    return EStep::Next;
}

void CQuestionsParser::StoreQuestion(const std::string& questionXml)
{
    CBaseItem* item = std::exchange(m_Item, nullptr);
    if (!item)
    {
        item = detail::MakeParsedQuestion(m_Context.items, detail::ChapterForNewQuestions(m_Context.items));
        if (!item)
            return;
        ++m_Result.made;
    }
    std::int32_t plain = -1;
    if (!lf::sys::ReadNumber(m_PlainNumber, plain))
        plain = -1;
    const bool inPassage =
        !m_AdditionalXMLStr.empty() &&
        std::find(m_PassageNumbers.begin(), m_PassageNumbers.end(), plain) != m_PassageNumbers.end();
    std::string text = questionXml;
    if (!m_CommonXMLStr.empty() && inPassage)
        text = JoinXMLTexts(JoinXMLTexts(m_CommonXMLStr, m_AdditionalXMLStr, kSharedTextSeparator), text,
                            kSharedTextSeparator);
    else if (!m_CommonXMLStr.empty())
        text = JoinXMLTexts(m_CommonXMLStr, text, kSharedTextSeparator);
    else if (inPassage)
        text = JoinXMLTexts(m_AdditionalXMLStr, text, kSharedTextSeparator);
    item->SetLayersStr(m_Number);
    item->SetQuestionText(text);
    m_Open = item;
    m_AnyQuestion = true;
}

void CQuestionsParser::ResetQuestion()
{
    m_N = 1;
    m_Label = m_Context.options.Label(1);
    m_HeaderStart = -1;
    m_FirstPending = true;
    m_HeaderPending = false;
    m_Number.clear();
    m_PlainNumber.clear();
    m_Open = nullptr;
}

} // namespace

SParseResult ParseAndInsertQuestionsFromClipboard(lf::RichDocument& view, CBaseItem* item, bool single,
                                                  const SPasteParseContext& context)
{
    CPasteDocument doc(view);
    if (doc.Empty())
        return {};
    return CQuestionsParser(doc, item, single, context).Run();
}
