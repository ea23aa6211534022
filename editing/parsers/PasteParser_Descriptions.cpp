// The answer-key parser: numbered explanations stored into the book's questions one after the other.
#include "editing/parsers/PasteDocument.h"
#include "editing/parsers/PasteParsers.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <optional>

using lf::SRichPosition;
using lf::parsers::detail::CPasteDocument;
using lf::parsers::detail::SPasteParagraph;

namespace
{

namespace detail = lf::parsers::detail;

// A description read but not stored yet.
struct SPendingDescription
{
    std::string number; // as the question's LayersStr must read
    SRichPosition start;
    int mark = -1; // index of the answer the letter names
};

class CDescriptionsParser
{
public:
    CDescriptionsParser(CPasteDocument& doc, CBaseItem* item, bool single, const SPasteParseContext& context)
        : m_Doc(doc), m_Item(item), m_Single(single), m_Context(context)
    {
    }

    SParseResult Run();

private:
    enum class EStore
    {
        Go,   // stored or skipped: go on
        Stop, // the parse ends with false
        Done, // single mode: the parse ends with what was stored
    };

    EStore Store(SRichPosition end, bool atLast);
    void Show(const std::string& text) const;

    CPasteDocument& m_Doc;
    CBaseItem* m_Item;
    bool m_Single;
    const SPasteParseContext& m_Context;
    SParseResult m_Result;
    bool m_Stored = false;
    std::optional<SPendingDescription> m_Pending;
    std::int32_t m_ChapterCount = 0;
};

SParseResult CDescriptionsParser::Run()
{
    CItemsArray2& items = m_Context.items;
    items.First();
    const bool letters = m_Context.options.numberingType == 1;
    const auto& paragraphs = m_Doc.Paragraphs();
    for (std::size_t p = 0; p < paragraphs.size(); ++p)
    {
        const SPasteParagraph& paragraph = paragraphs[p];
        const bool atLast = p + 1 == paragraphs.size();
        const std::string_view trimmed = paragraph.Trimmed();
        if (trimmed.empty() && !atLast)
            continue;
        const std::string lower = lf::sys::LowerCase(trimmed);

        if (m_Doc.IsBold(paragraph.contentItem) && IsCommonHeader(lower, false))
        {
            if (m_Pending)
            {
                const EStore stored = Store(CPasteDocument::StartOf(paragraph), atLast);
                if (stored != EStore::Go)
                    break;
            }
            if (IsCommonHeader(lower, true))
                ++m_ChapterCount;
            continue;
        }

        std::string_view digits = detail::LeadingNumber(trimmed);
        const std::size_t textAt = detail::SkipBlanks(trimmed, digits.size());
        if (!digits.empty() && letters && m_Context.options.numberingFormat == 0)
        {
            // With lettered answers a key line reads "15. c. ...": a number alone begins no description.
            const std::string_view rest = trimmed.substr(textAt);
            const char letter = rest.empty() ? '\0' : lf::sys::AsciiLower(rest[0]);
            if (!(letter >= 'a' && letter <= 'z' && rest.size() > 1 && rest[1] == '.'))
                digits = {};
        }
        if (digits.empty() && !atLast)
            continue;

        if (m_Pending)
        {
            const SRichPosition end = digits.empty() ? m_Doc.End() : CPasteDocument::StartOf(paragraph);
            if (Store(end, atLast) != EStore::Go)
                break;
        }
        if (digits.empty())
            break;

        SPendingDescription description;
        const std::size_t visible = paragraph.FirstVisible();
        description.start = m_Doc.PositionAt(paragraph, visible + textAt);
        const std::string_view rest = trimmed.substr(textAt);
        if (letters && rest.size() > 1 && rest[1] == '.')
            description.mark = lf::sys::AsciiLower(rest[0]) - 'a';
        const std::string number = detail::StoredNumber(digits);
        description.number = m_ChapterCount > 0 ? lf::sys::NumberText(m_ChapterCount) + "." + number : number;
        m_Pending = description;
        if (atLast && Store(m_Doc.End(), atLast) != EStore::Go)
            break;
    }
    m_Result.ok = m_Result.ok || m_Stored;
    return m_Result;
}

// Stores the pending description up to `end` into the next question.
CDescriptionsParser::EStore CDescriptionsParser::Store(SRichPosition end, bool atLast)
{
    const SPendingDescription description = *m_Pending;
    m_Pending.reset();
    if (!m_Doc.HasContent(description.start, end))
    {
        detail::LogParserStep(
            "Tm_MainFrm::ParseAndInsertQuestionsFromClipboard() - 1 (Wrong selection range)");
        m_Stored = false;
        return EStore::Stop;
    }
    std::string xml;
    if (!m_Doc.ToXML(description.start, end, false, xml))
        return EStore::Go;

    CItemsArray2& items = m_Context.items;
    CBaseItem* target = m_Single ? m_Item : items.GetCurrentItem();
    if (target && target->GetQuestionType() == qtMultipleChoice)
    {
        if (target->GetLayersStr() != description.number)
        {
            Show("Wrong Later (temp message) - Item Layer is = " + target->GetLayersStr() +
                 "  Feedback Layer = " + description.number);
            m_Stored = false;
            return EStore::Stop;
        }
        // The question as it was goes into the undo history, and the book counts as changed, so the
        // key is neither lost unsaved nor beyond taking back.
        const std::int32_t record = items.GetRecordIndex(target);
        if (record >= 0)
        {
            items.GetBackupItem().PushWholeItem(record, items.CopyItemForUndo(target));
            items.SetModified(true);
            ++m_Result.changed;
        }
        target->SetGeneralFeedback(xml);
        SAnswerItem* answer = nullptr;
        if (description.mark >= 0 && target->GetAnswer(description.mark, answer))
            answer->Correct = "1";
        m_Stored = true;
    }
    if (!atLast && !items.Next())
        Show("GetItemsPtr2->Next() == false (temp message)");
    return m_Single ? EStore::Done : EStore::Go;
}

void CDescriptionsParser::Show(const std::string& text) const
{
    if (m_Context.showMessage)
        m_Context.showMessage(text);
    else
        detail::LogParserStep(text);
}

} // namespace

SParseResult ParseAndInsertDescriptionsFromClipboard(lf::RichDocument& view, CBaseItem* item, bool single,
                                                     const SPasteParseContext& context)
{
    CPasteDocument doc(view);
    if (doc.Empty())
        return {};
    return CDescriptionsParser(doc, item, single, context).Run();
}
