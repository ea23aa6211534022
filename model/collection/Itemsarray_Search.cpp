// The question list's search box: plain text searches over the items' built search texts, and the problem
// queries an author runs to check a book ("?#correct=1", "?#answer!4", "?#=#", "?#=@", "?#=").
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "model/support/SearchText.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <string_view>

namespace
{

constexpr std::string_view kCorrectPhrase = "number of correct answers";
constexpr std::string_view kCorrectShort = "#correct";
constexpr std::string_view kAnswerPhrase = "number of answer choices";
constexpr std::string_view kAnswerShort = "#answer";
constexpr std::string_view kDuplicatePhrase = "duplicate questions";
constexpr std::string_view kDuplicateShort = "#=#";
constexpr std::string_view kSpecialPhrase = "special characters";
constexpr std::string_view kSpecialShort = "#=@";
constexpr std::string_view kEmptyPhrase = "empty answer choices";
constexpr std::string_view kEmptyShort = "#=";

// Problem query codes (`problemKind`).
constexpr std::uint8_t kQueryNone = ToNumber(EProblemQuery::None);
constexpr std::uint8_t kQueryCorrectEqual = ToNumber(EProblemQuery::CorrectCountEqual);
constexpr std::uint8_t kQueryAnswersEqual = ToNumber(EProblemQuery::AnswerCountEqual);
constexpr std::uint8_t kQueryDuplicates = ToNumber(EProblemQuery::Duplicates);
constexpr std::uint8_t kQuerySpecial = ToNumber(EProblemQuery::SpecialCharacters);
constexpr std::uint8_t kQueryEmptyChoices = ToNumber(EProblemQuery::EmptyAnswerChoices);

bool Contains(std::string_view text, std::string_view word)
{
    return text.find(word) != std::string_view::npos;
}

// A whole decimal integer, an optional sign allowed; 0 for anything else.
std::int32_t IntegerOrZero(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    return lf::sys::ReadNumber(text, value) ? value : 0;
}

// Reads the operator and number of a count query. The keyword is expected at the start of the query:
// as many characters as the keyword has are cut from the front. The operators "=", "!", ">", "<" give
// firstCode + 0, 1, 2, 3; anything else gives no code.
void ReadCountQuery(const std::string& query, std::string_view phrase, std::string_view shortForm,
                    std::uint8_t firstCode, std::uint8_t& code, std::int32_t& number)
{
    const std::size_t keywordLength = Contains(query, phrase) ? phrase.size() : shortForm.size();
    std::string rest = lf::sys::Trim(std::string_view(query).substr(std::min(keywordLength, query.size())));
    code = kQueryNone;
    number = 0;
    if (rest.empty())
        return;
    switch (rest.front())
    {
    case '=':
        code = firstCode;
        break;
    case '!':
        code = static_cast<std::uint8_t>(firstCode + 1);
        break;
    case '>':
        code = static_cast<std::uint8_t>(firstCode + 2);
        break;
    case '<':
        code = static_cast<std::uint8_t>(firstCode + 3);
        break;
    default:
        return;
    }
    number = IntegerOrZero(lf::sys::Trim(std::string_view(rest).substr(1)));
}

} // namespace

bool CItemsArray2::Search(const std::string& text, bool markedOnly, bool refilter, bool inQuestion,
                          bool inAnswers, bool inFeedback, bool inKeywords)
{
    SFilterOptions work = m_Preferences;
    SaveFilter();
    work.problemKind = kQueryNone;
    work.problemNumber = 0;

    std::string searchText = text;
    const std::string trimmed = lf::sys::Trim(text);
    if (!trimmed.empty() && trimmed.front() == '?')
    {
        const std::string_view q = std::string_view(trimmed).substr(1);
        const std::size_t second = q.find('?');
        std::string tail;
        bool hasTail = false;
        std::string_view queryPart = q;
        if (second != std::string_view::npos)
        {
            queryPart = q.substr(0, second);
            tail = std::string(q.substr(second + 1));
            hasTail = true;
        }
        const std::string query = lf::sys::Trim(lf::sys::LowerCase(queryPart));

        std::uint8_t code = kQueryNone;
        std::int32_t number = 0;
        if (Contains(query, kDuplicatePhrase) || Contains(query, kDuplicateShort))
        {
            code = kQueryDuplicates;
        }
        else if (Contains(query, kSpecialPhrase) || Contains(query, kSpecialShort))
        {
            code = kQuerySpecial;
        }
        else if (!Contains(query, kCorrectPhrase) && !Contains(query, kCorrectShort) &&
                 !Contains(query, kAnswerPhrase) && !Contains(query, kAnswerShort) &&
                 !Contains(query, kEmptyPhrase) && !Contains(query, kEmptyShort))
        {
            WriteLog("CItemsArray2::Search - ERROR 1", 1, 1);
            return false;
        }
        else if (Contains(query, kCorrectPhrase) || Contains(query, kCorrectShort))
        {
            ReadCountQuery(query, kCorrectPhrase, kCorrectShort, kQueryCorrectEqual, code, number);
        }
        else if (Contains(query, kAnswerPhrase) || Contains(query, kAnswerShort))
        {
            ReadCountQuery(query, kAnswerPhrase, kAnswerShort, kQueryAnswersEqual, code, number);
        }
        else
        {
            code = kQueryEmptyChoices;
        }

        // A query searches its tail as well; a count query without an operator searches the words typed.
        if (code != kQueryNone)
            searchText = hasTail && !tail.empty() ? tail : std::string();
        work.problemKind = code;
        work.problemNumber = number;
    }

    work.searchText = searchText;
    work.markedOnly = markedOnly ? 1 : 0;
    work.searchInQuestion = inQuestion ? 1 : 0;
    work.searchInAnswers = inAnswers ? 1 : 0;
    work.searchInFeedback = inFeedback ? 1 : 0;
    work.searchInKeywords = inKeywords ? 1 : 0;
    SetFilterOptions(work);

    if (!refilter)
        return true;
    const bool rebuilt = SetFilterQuestion(false);
    if (GetGridCount() == 0)
    {
        RestoreFilterAfterEmptySearch(rebuilt);
        return false;
    }
    if (!SetCurrentItem(m_SavedFilter.currentItem) && !First())
        WriteLog("CItemsArray::Search - WARRING!", 1, 1);
    return true;
}

void PrepareItemSearchInfo(CBaseItem* item, lf::RichDocument* view, bool force, bool question, bool answers,
                           bool feedback, bool keywords)
{
    if (!view)
    {
        WriteLog("PrepareItemSearchInfo - pRichViewVoid == NULL", 1, 1);
        return;
    }
    if (!item)
    {
        WriteLog("PrepareItemSearchInfo - pBaseItem == NULL", 1, 1);
        return;
    }
    if (item->IsSearchTextFilled() && !force)
        return;

    // One reader and one buffer serve every question: each search text is built in one pass from the
    // stored texts' runs, already lower case and without what a search leaves out.
    thread_local CSearchTextReader reader;
    thread_local std::string text;
    text.clear();
    AppendSearchForm(text, item->GetName());
    if (question)
    {
        reader.AppendStoredText(text, item->GetQuestionText(), *view);
        item->SetSearchTextFilled(true);
    }
    const int kind = item->GetQuestionType();
    if (answers && item->HasAnswerList() && kind != qtCalculated)
    {
        const bool typedAnswer = kind == qtShortAnswer || kind == qtNumerical;
        for (std::int32_t i = 0; i < item->GetAnswerCount(); ++i)
        {
            SAnswerItem* answer = nullptr;
            if (!item->GetAnswer(i, answer))
                continue;
            if (typedAnswer)
                AppendSearchForm(text, answer->AnswerText);
            else
                reader.AppendStoredText(text, answer->AnswerText, *view);
            if (kind == qtMatching)
                AppendSearchForm(text, answer->Correct);
            reader.AppendStoredText(text, answer->Feedback, *view);
        }
    }
    if (feedback)
    {
        reader.AppendStoredText(text, item->GetGeneralFeedback(), *view);
        item->SetSearchTextFilled(true);
    }
    if (keywords)
    {
        reader.AppendStoredText(text, item->GetKeywords(), *view);
        item->SetSearchTextFilled(true);
    }
    item->SetSearchText(text);
}
