#include "mainwindow/rules/QuestionPane.h"

#include "mainwindow/rules/AnswerTables.h"
#include "model/formulas/Formulamanager.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"

namespace lf::display
{

namespace
{

// The whole text as a number, or -1.
int RowOf(const std::string& text)
{
    int value = -1;
    lf::sys::ReadNumber(text, value);
    return value;
}

} // namespace

std::string PrepareQuestionText(CBaseItem& item, EPhase phase, bool resetDataset, CFormulaManager& manager)
{
    std::string text = item.GetQuestionText();
    auto* calculated = item.GetCalculated();
    if (!calculated)
        return text;
    const bool flash = phase == EPhase::Flash;
    SCommonUserAnswerInfo info = calculated->GetCommonUserAnswerInfo();
    SCalculatedAnswerItem* answer = nullptr;
    if (calculated->GetAnswerCount() <= 0 || text.empty() || text.find('{') == std::string::npos ||
        text.find('}') == std::string::npos || !calculated->GetCalculatedAnswer(0, answer))
        return text;

    const int rows = GetDatasetSize(*answer);
    int row =
        flash ? (resetDataset ? -1 : calculated->GetCurrentDataset()) : RowOf(info.UserAnswerAdditionalInfo);
    // A row the data sets no longer have is drawn again like a missing one.
    const bool keep = row >= 0 && row < rows && (flash || !info.UserAnswer.empty());
    if (!keep)
        row = lf::sys::Random(rows);
    if (flash)
    {
        calculated->SetCurrentDataset(row);
    }
    else
    {
        info.UserAnswerAdditionalInfo = lf::sys::NumberText(row);
        calculated->SetCommonUserAnswerInfo(info);
    }
    if (calculated->PrepareFormulaManager(answer, manager, flash))
        manager.InsertValuesInText(text);
    return text;
}

void AddPictureParagraph(RichDocument& view, SRichPicture picture)
{
    constexpr int kCentered = 1;
    view.content.AddPicture(std::move(picture), 0, 0, kCentered, true);
}

std::string PaneCaption(EView activeView, const std::string& kindName)
{
    const char* caption = activeView == EView::Question      ? "Question"
                          : activeView == EView::Answers     ? "Answers"
                          : activeView == EView::Explanation ? "Explanation"
                                                             : "";
    if (*caption == '\0')
        return {};
    return std::string(caption) + " (" + kindName + ") " + ": ";
}

std::string CounterText(int number, int count)
{
    return lf::sys::NumberText(number) + "/" + lf::sys::NumberText(count);
}

SVerdict ReviewVerdict(CBaseItem& item)
{
    if (!item.HasAnswerList() || !item.IsAnswered())
        return {};
    switch (item.GetResult())
    {
    case 1:
        return {"Correct", kVerdictBlue};
    case 2:
        return {"Partially correct", kVerdictRed};
    case 0:
        return {"Incorrect", kVerdictRed};
    default:
        return {"Unknown", kVerdictRed};
    }
}

bool AnswersUnderQuestion(int qaxFormat, EQuestionStyle viewMode)
{
    return qaxFormat == 0 &&
           (viewMode == EQuestionStyle::MultipleChoice || viewMode == EQuestionStyle::Moodle);
}

bool TypedInTest(int kind)
{
    return kind == qtEssay || kind == qtShortAnswer || kind == qtCalculated || kind == qtNumerical;
}

SPaneButtons PaneButtons(const SPaneButtonsInput& in)
{
    const bool flashcard = IsFlashcardStyle(in.viewMode);
    const bool answersStyle =
        in.viewMode == EQuestionStyle::MultipleChoice || in.viewMode == EQuestionStyle::Moodle;
    SPaneButtons b;
    b.prev = in.number > 1;
    b.next = !(in.phase == EPhase::Edit && in.number >= in.count);
    b.answer = in.phase == EPhase::Edit || flashcard || (in.qaxFormat == 1 && in.hasAnswerList) ||
               (in.qaxFormat == 0 && in.phase == EPhase::Test && in.typedAnswer);
    if (in.phase == EPhase::Flash && in.kind == qtEssay)
        b.answer = false;
    b.explain = in.phase != EPhase::Test &&
                ((in.phase == EPhase::Edit && in.viewMode != EQuestionStyle::Flashcard) || answersStyle);
    return b;
}

bool FilterBarLayout(EPhase phase, SFilterBarLayout& layout)
{
    switch (phase)
    {
    case EPhase::Test:
        layout = {true, false, true, 100, 205, false, false};
        return true;
    case EPhase::Review:
    case EPhase::Flash:
        layout = {true, false, true, 110, 215, false, false};
        return true;
    case EPhase::Edit:
        layout = {false, true, false, -11, 95, true, true};
        return true;
    default:
        return false;
    }
}

std::string ChapterLabel(const std::string& chapterName, int numberInChapter)
{
    return numberInChapter > 0 ? chapterName + " - " + lf::sys::NumberText(numberInChapter) : chapterName;
}

} // namespace lf::display
