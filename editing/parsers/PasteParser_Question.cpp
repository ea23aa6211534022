// The single-question parser: a numbered question, its labelled answers and an optional explanation.
#include "editing/parsers/PasteDocument.h"
#include "editing/parsers/PasteParsers.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"

using lf::SRichPosition;
using lf::parsers::detail::CPasteDocument;
using lf::parsers::detail::SPasteParagraph;

namespace
{

namespace detail = lf::parsers::detail;

constexpr const char* kLogPrefix = "Tm_MainFrm::ParseAndInsertQuestionFromClipboard() - ";

void AddParsedAnswer(CBaseItem& item, int id, const std::string& text, bool right)
{
    SAnswerItem answer;
    answer.ID = id;
    answer.AnswerText = text;
    answer.Correct = right ? "1" : "0";
    item.AddAnswer(answer);
}

} // namespace

SParseResult ParseAndInsertQuestionFromClipboard(lf::RichDocument& view, CBaseItem* item,
                                                 const SPasteParseContext& context)
{
    SParseResult result;
    CPasteDocument doc(view);
    if (doc.Empty())
        return result;
    const SParserOptions& options = context.options;

    bool firstPending = true;
    std::string number;
    SRichPosition partStart{0, 0};
    int n = 1;
    std::string label = options.Label(n);
    bool bold = false;
    int emptyCount = -1;
    bool explanationFound = false;
    SRichPosition explanationStart;
    bool created = false;

    const auto& paragraphs = doc.Paragraphs();
    for (std::size_t p = 0; p < paragraphs.size(); ++p)
    {
        const SPasteParagraph& paragraph = paragraphs[p];
        const std::string_view trimmed = paragraph.Trimmed();
        const bool firstWasPending = firstPending;

        // The first paragraph with visible text opens the question; its number goes to LayersStr. It is
        // never read as an answer, even when it begins with a label.
        if (firstPending && !trimmed.empty())
        {
            firstPending = false;
            const std::size_t visible = paragraph.FirstVisible();
            const std::string_view digits = detail::LeadingNumber(trimmed);
            number = detail::StoredNumber(digits);
            partStart =
                doc.PositionAt(paragraph, detail::SkipBlanks(paragraph.text, visible + digits.size()));
        }

        if (!firstWasPending && detail::StartsWithLabel(trimmed, label))
        {
            const std::size_t labelAt = paragraph.FirstVisible();
            const SRichPosition partEnd = doc.PositionAt(paragraph, labelAt);
            if (!doc.HasContent(partStart, partEnd))
            {
                detail::LogParserStep(std::string(kLogPrefix) + "1 (clear space or layer)");
                return result;
            }
            emptyCount = 0;
            explanationFound = false;

            std::string xml;
            if (n == 1)
            {
                if (doc.ToXML(partStart, partEnd, false, xml))
                {
                    if (!item)
                    {
                        item = detail::MakeParsedQuestion(context.items,
                                                          detail::ChapterForNewQuestions(context.items));
                        if (item)
                            ++result.made;
                    }
                    if (item)
                    {
                        item->SetLayersStr(number);
                        item->SetQuestionText(xml);
                        created = true;
                    }
                }
            }
            else
            {
                if (item && doc.ToXML(partStart, partEnd, true, xml))
                    AddParsedAnswer(*item, n - 1, xml, bold);
            }
            bold = doc.EndsBold(paragraph);
            partStart = doc.PositionAt(paragraph, detail::SkipBlanks(paragraph.text, labelAt + label.size()));
            ++n;
            label = options.Label(n);
        }

        // Where the explanation begins: after the label paragraph itself (separator 0) or at the N-th
        // empty paragraph after the last label (separator N); earlier empty paragraphs stay in the answer.
        if (options.feedbackExist && n > 1)
        {
            if (paragraph.IsEmpty())
                ++emptyCount;
            if (!explanationFound && emptyCount == options.feedbackSeparator)
            {
                if (emptyCount == 0)
                    explanationStart = doc.After(paragraph);
                else
                    explanationStart = CPasteDocument::StartOf(paragraph);
                explanationFound = true;
            }
        }
    }

    if (!created || !item)
        return result;

    std::string xml;
    if (options.feedbackExist && explanationFound && doc.HasContent(partStart, explanationStart))
    {
        if (doc.ToXML(partStart, explanationStart, true, xml))
            AddParsedAnswer(*item, n - 1, xml, bold);
        const SRichPosition start = doc.SkipBlankRuns(explanationStart);
        const SRichPosition end = doc.End();
        if (!doc.HasContent(start, end))
        {
            detail::LogParserStep(std::string(kLogPrefix) + "4 (feedback)");
            return result;
        }
        if (!doc.ToXML(start, end, false, xml))
            xml.clear();
        item->SetGeneralFeedback(xml);
    }
    else
    {
        const SRichPosition end = doc.End();
        if (!doc.HasContent(partStart, end))
        {
            detail::LogParserStep(std::string(kLogPrefix) + "5 (last answer)");
            return result;
        }
        if (doc.ToXML(partStart, end, true, xml))
            AddParsedAnswer(*item, n - 1, xml, bold);
    }
    result.ok = true;
    return result;
}
