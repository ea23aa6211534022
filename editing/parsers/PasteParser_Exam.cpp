// The numbered-exam parser: blocks that begin "Question #12 Torts", with labelled answers each followed
// by a paragraph that says whether it is correct.
#include "editing/parsers/PasteDocument.h"
#include "editing/parsers/PasteParsers.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

using lf::SRichPosition;
using lf::parsers::detail::CPasteDocument;
using lf::parsers::detail::SPasteParagraph;

namespace
{

namespace detail = lf::parsers::detail;

constexpr const char* kRangeFailure =
    "Tm_MainFrm::ParseAndInsertQuestionsFromClipboard() - 1 (Wrong selection range)";
constexpr std::string_view kHeaderWord = "Question #";

// 1-based place of the word in the text, 0 when it is absent.
std::size_t PlaceOf(const std::string& text, std::string_view word)
{
    const std::size_t at = text.find(word);
    return at == std::string::npos ? 0 : at + 1;
}

} // namespace

SParseResult ParseAndInsertQuestionsMBEFromClipboard(lf::RichDocument& view, CBaseItem* item,
                                                     const SPasteParseContext& context)
{
    SParseResult result;
    CPasteDocument doc(view);
    if (doc.Empty())
        return result;
    CItemsArray2& items = context.items;

    std::string number;
    std::string chapter;
    int questionStart = -1; // item after the header line; -1 before the first header
    const SPasteParagraph* firstLabel = nullptr;
    int n = 1;
    std::string label = context.options.Label(n);
    bool waiting = false;
    CBaseItem* open = nullptr;
    bool any = false;

    // The block's answers and their explanations become its explanation.
    const auto closeBlock = [&](SRichPosition end)
    {
        CBaseItem* question = std::exchange(open, nullptr);
        const SRichPosition start = CPasteDocument::StartOf(*firstLabel);
        if (!doc.HasContent(start, end))
        {
            detail::LogParserStep(kRangeFailure);
            return false;
        }
        std::string xml;
        if (doc.ToXML(start, end, true, xml))
            question->SetGeneralFeedback(xml);
        return true;
    };

    const auto& paragraphs = doc.Paragraphs();
    for (std::size_t p = 0; p < paragraphs.size(); ++p)
    {
        const SPasteParagraph& paragraph = paragraphs[p];
        const bool atLast = p + 1 == paragraphs.size();
        const std::string_view trimmed = paragraph.Trimmed();
        const bool header = trimmed.starts_with(kHeaderWord);

        // The paragraph after an answer says whether it is right: "Correct" or "Incorrect" near its start.
        if (waiting && open && !trimmed.empty())
        {
            const std::string lower = lf::sys::LowerCase(trimmed);
            const std::size_t pc = PlaceOf(lower, "correct");
            const std::size_t pi = PlaceOf(lower, "incorrect");
            if (!(pc >= 6 && pi >= 6))
            {
                SAnswerItem* answer = nullptr;
                if (open->GetAnswer(open->GetAnswerCount() - 1, answer))
                    answer->Correct = pc >= 1 && pc <= 5 && !(pi >= 1 && pi <= 5) ? "1" : "0";
                waiting = false;
            }
        }

        if (open && header && !closeBlock(CPasteDocument::StartOf(paragraph)))
            return result;

        if (header)
        {
            const std::string_view rest = lf::sys::TrimView(trimmed.substr(kHeaderWord.size()));
            const std::string_view digits = detail::LeadingNumber(rest);
            number = std::string(digits);
            std::string_view name = lf::sys::TrimView(rest.substr(digits.size()));
            while (!name.empty() && (name.front() == '-' || static_cast<unsigned char>(name.front()) <= ' '))
                name.remove_prefix(1);
            chapter = name.empty() ? "Unfiled" : std::string(name);
            questionStart = atLast ? -1 : paragraph.last + 1;
            n = 1;
            label = context.options.Label(n);
            firstLabel = nullptr;
            waiting = false;
            continue;
        }

        // Label paragraphs before the first header line belong to no block and are passed over.
        if (questionStart >= 0 && detail::StartsWithLabel(trimmed, label))
        {
            const std::size_t labelAt = paragraph.FirstVisible();
            if (n == 1)
            {
                firstLabel = &paragraph;
                const SRichPosition start = doc.SkipBlankRuns({questionStart, 0});
                const SRichPosition end = CPasteDocument::StartOf(paragraph);
                if (!doc.HasContent(start, end))
                {
                    detail::LogParserStep(kRangeFailure);
                    return result;
                }
                std::string xml;
                if (doc.ToXML(start, end, false, xml))
                {
                    CBaseItem* question = std::exchange(item, nullptr);
                    if (!question)
                    {
                        const std::int32_t row = items.GetOrAddCategoryByName(chapter);
                        question = detail::MakeParsedQuestion(items, items.GetCategoryIDAt(row));
                        if (question)
                            ++result.made;
                    }
                    if (question)
                    {
                        question->SetLayersStr(number);
                        question->SetQuestionText(xml);
                        open = question;
                        any = true;
                    }
                }
            }
            if (open)
            {
                const SRichPosition start =
                    doc.PositionAt(paragraph, detail::SkipBlanks(paragraph.text, labelAt + label.size()));
                const SRichPosition end = doc.After(paragraph);
                if (!doc.HasContent(start, end))
                {
                    detail::LogParserStep(kRangeFailure);
                    return result;
                }
                std::string xml;
                if (doc.ToXML(start, end, true, xml))
                {
                    SAnswerItem answer;
                    answer.ID = n - 1;
                    answer.AnswerText = xml;
                    answer.Correct = "0";
                    open->AddAnswer(answer);
                    waiting = true;
                }
            }
            ++n;
            label = context.options.Label(n);
        }

        // The last block runs to the end of the text, its last answer included.
        if (open && atLast && !closeBlock(doc.End()))
            return result;
    }
    result.ok = any;
    return result;
}
