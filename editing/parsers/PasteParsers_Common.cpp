// What the clipboard parsers share: the options, the header words, the passage instruction and the
// making of a new question.
#include "editing/parsers/PasteDocument.h"
#include "editing/parsers/PasteParsers.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/sys/NumberText.h"

#include <string_view>

SParserOptions SParserOptions::FromPrefs(const CPrefs& prefs)
{
    SParserOptions options;
    options.numberingType = prefs.GetParserNumberingType();
    options.numberingFormat = prefs.GetParserNumberingFormat();
    options.feedbackExist = prefs.m_ParserFeedbackExist;
    options.feedbackSeparator = prefs.GetParserFeedbackSeparator();
    return options;
}

std::string SParserOptions::Label(int n) const
{
    return GetAnswerNumberLabel(n, numberingType, numberingFormat);
}

bool IsCommonHeader(const std::string& text, bool chaptersOnly)
{
    const std::string_view t(text);
    if (t.starts_with("chapter") || t.starts_with("passage"))
        return true;
    return !chaptersOnly && (t.starts_with("section") || t.starts_with("all sections"));
}

bool GetPassageQuestionRange(const std::string& text, std::vector<std::int32_t>& numbers)
{
    constexpr std::string_view kPhrase = "use the following information";
    if (!std::string_view(text).starts_with(kPhrase))
        return false;
    numbers.clear();

    // first number, the text between the two, second number
    std::string pieces[3];
    int piece = -1;
    for (std::size_t i = kPhrase.size() - 1; i < text.size(); ++i)
    {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (piece == -1 && digit)
            piece = 0;
        else if (piece == 0 && !digit)
            piece = 1;
        else if (piece == 1 && digit)
            piece = 2;
        else if (piece == 2 && !digit)
            break;
        if (piece >= 0)
            pieces[piece] += text[i];
    }
    std::int32_t first = 0;
    std::int32_t second = 0;
    if (pieces[1].empty() || !lf::sys::ReadNumber(pieces[0], first) ||
        !lf::sys::ReadNumber(pieces[2], second))
        return false;
    if (first <= 0 || second <= 0 || first >= second)
        return false;
    if (pieces[1].find("and") != std::string::npos)
    {
        numbers = {first, second};
        return true;
    }
    // A range as wide as a mistyped number would name is no passage of one exam.
    if (second - first >= lf::parsers::detail::kMaxPassageQuestions)
        return false;
    for (std::int32_t n = first; n <= second; ++n)
        numbers.push_back(n);
    return true;
}

namespace lf::parsers::detail
{

CBaseItem* MakeParsedQuestion(CItemsArray2& items, std::int32_t chapter)
{
    const std::int32_t current = items.GetCurrentItem() ? items.GetCurrentIndex() : -1;
    const std::int32_t position = current < 0 || current >= items.GetCount() - 1 ? -1 : current + 1;
    CBaseItem* made = items.AddNewItem(qtMultipleChoice, nullptr, position, chapter);
    if (made)
        items.GetBackupItem().PushRecordAdded(items.GetRecordIndex(made));
    return made;
}

std::int32_t ChapterForNewQuestions(const CItemsArray2& items)
{
    const std::int32_t active = items.GetActiveCategory();
    return active > 0 ? active : 0;
}

void LogParserStep(const std::string& text)
{
    WriteLog(text, 1, 1);
}

} // namespace lf::parsers::detail
