#include "mainwindow/rules/AnswerTables.h"

#include "model/formulas/Formulamanager.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/items/Grades.h"
#include "model/support/Array.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/NumberText.h"

namespace lf::display
{

namespace
{

constexpr const char* kAnswersHeading = "Answer(s):";

void AddEmptyParagraph(RichDocument& doc)
{
    doc.content.AddText({}, 0, 0, true);
}

// Replace clears the view with its styles purged; append puts the heading under what it shows.
void StartBlock(RichDocument& view, bool replace)
{
    if (replace)
    {
        ClearRichView(view, true);
        return;
    }
    AddEmptyParagraph(view);
    view.content.AddText(kAnswersHeading, 0, 0, true);
}

// Appends converted content whose style numbers are the view's already, then an empty paragraph.
void AppendConverted(RichDocument& view, RichContent&& converted)
{
    bool first = true;
    for (auto& item : converted.items)
    {
        if (first)
            item.newParagraph = true;
        first = false;
        view.content.items.push_back(std::move(item));
    }
    AddEmptyParagraph(view);
}

// A stored text inserted after the last item of the view, followed by an empty paragraph; nothing when
// the text holds nothing.
void InsertFeedback(RichDocument& view, const std::string& feedback)
{
    RichContent converted;
    if (XMLToDisplayContent(feedback, converted, view.styles))
        AppendConverted(view, std::move(converted));
}

bool IsAnsweredWithList(const CBaseItem& item)
{
    return item.HasAnswerList() && item.IsAnswered();
}

// The feedback paragraph and the verdict that end a Review block.
void AddReviewEnd(RichDocument& view, int result, const std::string& feedback)
{
    AddEmptyParagraph(view);
    InsertFeedback(view, feedback);
    AddVerdictParagraph(view, result);
}

void HighlightFirstRow(RichTable& table, SAnswerBlock& block)
{
    SetRowColour(table, 0, kHighlightColor);
    block.highlightedRow = 0;
}

// Table look, then the table as one item of the view.
void AddAnswerTable(RichDocument& view, RichTable table, const char* name, SAnswerBlock& block)
{
    view.content.AddTable(std::move(table), name, 0);
    block.tableItem = view.ItemCount() - 1;
}

void SetCellsColour(RichTable& table, int row, RichColor colour, bool withFeedback)
{
    const int cols = std::min(table.ColCount(), withFeedback ? 3 : 2);
    for (int c = 0; c < cols; ++c)
        table.Cell(row, c).color = colour;
}

// Fills cells 0 to 2 of an answer row; the colour is the caller's.
bool FillRowCells(RichTable& table, RichStyleSheet& sheet, int row, int answerIndex,
                  const std::string& answerText, bool chosen, int base, bool withFeedback,
                  const std::string& feedback)
{
    RichContent converted;
    if (!XMLToDisplayContent(answerText, converted, sheet))
        return false;
    table.Cell(row, 1).content = std::move(converted);
    // The text stands level with the picture beside it.
    table.Cell(row, 1).vAlign = RichCellVAlign::Center;
    if (withFeedback && chosen && table.ColCount() > 2)
    {
        RichContent& cell = table.Cell(row, 2).content;
        cell.Clear();
        XMLToDisplayContent(feedback, cell, sheet);
    }
    SRichCell& picture = table.Cell(row, 0);
    picture.content.Clear();
    picture.content.AddHotspot(AnswerPictureIndex(row, base, chosen), 0, true);
    picture.hint = lf::sys::NumberText(answerIndex);
    return true;
}

// --- Multiple choice ---

void AddMultipleChoiceReview(CMultipleChoiceItem& item, RichDocument& view)
{
    if (!IsAnsweredWithList(item))
        return;
    const int result = item.GetResult();
    const std::string& feedback = result == 1   ? item.GetFeedbackForAnyCorrectResponse()
                                  : result == 2 ? item.GetFeedbackForAnyPartiallyCorrectResponse()
                                                : item.GetFeedbackForAnyIncorrectResponse();
    AddReviewEnd(view, result, feedback);
}

void ShowMultipleChoiceAnswers(CMultipleChoiceItem& item, RichDocument& view, const SAnswerBlockState& state,
                               SAnswerBlock& block)
{
    const bool flash = state.phase == EPhase::Flash;
    const bool test = state.phase == EPhase::Test;
    const int base = item.GetLetMultipleAnswers() != 0 ? kSquarePictures : kCirclePictures;

    if (IsFlashcardStyle(state.viewMode))
    {
        const int shown = DisplayedCorrectAnswer(item);
        SAnswerItem* a = nullptr;
        if (shown < 0 || !item.GetAnswer(shown, a))
            return;
        RichTable table = MakeAnswerTable(1, 2);
        const bool chosen = a->UserAnswer == "1" && !flash;
        if (!FillAnswerRow(table, view.styles, state, 0, shown, a->AnswerText, chosen,
                           IsCreditedGrade(a->Correct), kSquarePictures, false, {}))
            return;
        if (test)
            HighlightFirstRow(table, block);
        AddAnswerTable(view, std::move(table), kAnswerTableName, block);
        if (state.viewMode == EQuestionStyle::FlashcardPlus && !item.GetGeneralFeedback().empty())
        {
            AddEmptyParagraph(view);
            view.content.AddText("Explanation:", 0, 0, true);
            SetXMLToRE(item.GetGeneralFeedback(), view, /*replace=*/false, /*purgeStyles=*/false,
                       /*fetchPictures=*/true);
        }
        if (state.phase == EPhase::Review)
            AddMultipleChoiceReview(item, view);
        return;
    }

    const int n = item.GetAnswerCount();
    if (n > 0)
    {
        const bool withFeedback = state.phase == EPhase::Review && IsAnsweredWithList(item);
        CIntArray order;
        for (int i = 0; i < n; ++i)
            order.Add(i);
        if (test && item.GetShuffle() != 0)
            ShuffleIntArray(order);
        RichTable table = MakeAnswerTable(n, withFeedback ? 3 : 2);
        int row = 0;
        for (const int index : order)
        {
            SAnswerItem* a = nullptr;
            table.Cell(row, 0).vAlign = RichCellVAlign::Center;
            const bool filled = item.GetAnswer(index, a) &&
                                FillAnswerRow(table, view.styles, state, row, index, a->AnswerText,
                                              a->UserAnswer == "1" && !flash, IsCreditedGrade(a->Correct),
                                              base, withFeedback, withFeedback ? a->Feedback : std::string());
            if (filled)
                ++row;
            else
                table.DeleteLastRow();
        }
        if (row > 0)
        {
            if (test)
                HighlightFirstRow(table, block);
            AddAnswerTable(view, std::move(table), kAnswerTableName, block);
        }
    }
    if (state.phase == EPhase::Review)
        AddMultipleChoiceReview(item, view);
}

// --- True/false ---

void ShowTrueFalseAnswers(CTrueFalseItem& item, RichDocument& view, const SAnswerBlockState& state,
                          SAnswerBlock& block)
{
    SAnswerItem* a = nullptr;
    if (!item.GetAnswer(0, a))
        return;
    const bool flash = state.phase == EPhase::Flash;
    RichTable table = MakeAnswerTable(2, 2);
    int row = 0;
    const auto fill = [&](const char* text, int index, bool chosen, bool correct)
    {
        if (FillAnswerRow(table, view.styles, state, row, index, text, chosen && !flash, correct,
                          kCirclePictures, false, {}))
            ++row;
        else
            table.DeleteLastRow();
    };
    fill("True", 1, a->UserAnswer == "1", a->Correct == "1");
    fill("False", 0, a->UserAnswer == "0", a->Correct != "1");
    if (row > 0)
    {
        if (state.phase == EPhase::Test)
            HighlightFirstRow(table, block);
        AddAnswerTable(view, std::move(table), kTrueFalseTableName, block);
    }
    if (state.phase == EPhase::Review && IsAnsweredWithList(item))
    {
        const std::string& user = a->UserAnswer;
        const std::string feedback = user == "1"   ? item.GetFeedbackForTheResponseTrue()
                                     : user == "0" ? item.GetFeedbackForTheResponseFalse()
                                                   : std::string();
        AddReviewEnd(view, item.GetResult(), feedback);
    }
}

// --- Matching ---

// Without a sub-question in any pair no table is drawn and the drawing ends there.
void ShowMatchingAnswers(CMatchingItem& item, RichDocument& view, const SAnswerBlockState& state,
                         SAnswerBlock& block)
{
    const int n = item.GetAnswerCount();
    CStringArray partners;
    bool anySubQuestion = false;
    for (int i = 0; i < n; ++i)
    {
        SAnswerItem* p = nullptr;
        if (!item.GetAnswer(i, p))
            continue;
        if (!p->Correct.empty())
            partners.Add(p->Correct);
        anySubQuestion = anySubQuestion || !p->AnswerText.empty();
    }
    if (!anySubQuestion)
        return;

    CIntArray order;
    for (int i = 0; i < n; ++i)
        order.Add(i);
    if (state.phase == EPhase::Test && item.GetShuffle() != 0)
        ShuffleIntArray(order);
    const bool hints = state.hintDelayForLearnMode > 0;
    RichTable table = MakeMatchingTable(n);
    int row = 0;
    for (const int index : order)
    {
        SAnswerItem* p = nullptr;
        if (!item.GetAnswer(index, p))
        {
            table.DeleteLastRow();
            continue;
        }
        std::string shown =
            state.phase == EPhase::Flash ? (hints ? p->Correct : std::string()) : p->UserAnswer;
        if (shown.empty() || !StringArrayContains(partners, shown))
        {
            switch (state.phase)
            {
            case EPhase::Test:
                shown = kNotSetTest;
                break;
            case EPhase::Review:
                shown = kNotSetReview;
                break;
            default:
                shown = hints ? kNoCorrectAnswer : "";
                break;
            }
        }
        if (!FillMatchingRow(table, view.styles, row, index, p->AnswerText, shown))
        {
            table.DeleteLastRow();
            continue;
        }
        if (state.phase == EPhase::Review && shown == p->Correct)
            SetRowColour(table, row, kCorrectChosenColor);
        ++row;
    }
    if (row > 0)
    {
        if (state.phase == EPhase::Test)
            HighlightFirstRow(table, block);
        AddAnswerTable(view, std::move(table), kAnswerTableName, block);
    }
    if (state.phase == EPhase::Review && IsAnsweredWithList(item))
    {
        AddEmptyParagraph(view);
        AddVerdictParagraph(view, item.GetResult());
    }
}

// --- Typed answers ---

// The answer a calculated flash card shows: the formula manager's answer as formatted for display, else
// its plain result.
std::string CalculatedAnswerText(const CFormulaManager* manager)
{
    if (!manager)
        return {};
    std::string result;
    std::string formatted;
    if (manager->Calculate(&result, nullptr, nullptr, nullptr, &formatted) && !formatted.empty())
        return formatted;
    if (manager->Calculate(&result))
        return result;
    return {};
}

std::string AnswerLineText(CBaseItem& item, const SAnswerBlockState& state)
{
    if (state.phase == EPhase::Review)
        return item.GetCommonUserAnswerInfo().UserAnswer;
    if (state.phase != EPhase::Flash || state.hintDelayForLearnMode <= 0)
        return {};
    return TypedFlashAnswer(item, state.formulaManager);
}

// The feedback of the answer that matched the user's typed answer.
std::string MatchedFeedback(CBaseItem& item)
{
    if (auto* calculated = item.GetCalculated())
    {
        SCalculatedAnswerItem* answer = nullptr;
        return calculated->FindMatchingCalculatedAnswer(answer, true) >= 0 && answer ? answer->Feedback
                                                                                     : std::string();
    }
    SAnswerItem* answer = nullptr;
    return item.FindMatchingAnswer(answer, true) >= 0 && answer ? answer->Feedback : std::string();
}

void ShowAnswerLine(CBaseItem& item, RichDocument& view, const SAnswerBlockState& state)
{
    view.content.AddText(AnswerLineText(item, state), 0, 0, true).tag = kAnswerTag;
    if (state.phase != EPhase::Review || !IsAnsweredWithList(item))
        return;
    const int result = item.GetResult();
    AddReviewEnd(view, result, result == 1 || result == 2 ? MatchedFeedback(item) : std::string());
}

void ShowTypedAnswerField(CBaseItem& item, RichDocument& editor, SAnswerBlock& block)
{
    ClearRichView(editor, true);
    editor.content.AddText(item.GetCommonUserAnswerInfo().UserAnswer, 0, 0, true).tag = kAnswerTag;
    block.target = SAnswerBlock::ETarget::Editor;
    block.caretAtStart = true;
}

// --- Essay ---

void ShowEssayAnswer(CBaseItem& item, bool replace, RichDocument* target, RichDocument* editor,
                     const SAnswerBlockState& state, SAnswerBlock& block)
{
    const std::string& answer = item.GetCommonUserAnswerInfo().UserAnswer;
    if (state.phase == EPhase::Test)
    {
        if (!editor)
            return;
        SetXMLToRE(answer, *editor, /*replace=*/true, /*purgeStyles=*/true, /*fetchPictures=*/true);
        block.target = SAnswerBlock::ETarget::Editor;
        return;
    }
    if (state.phase != EPhase::Review || !target)
        return;
    block.target = SAnswerBlock::ETarget::View;
    if (replace)
    {
        SetXMLToRE(answer, *target, /*replace=*/true, /*purgeStyles=*/true, /*fetchPictures=*/true);
        return;
    }
    RichContent converted;
    if (answer.empty() || !XMLToDisplayContent(answer, converted, target->styles))
        return;
    AddEmptyParagraph(*target);
    target->content.AddText(kAnswersHeading, 0, 0, true);
    AppendConverted(*target, std::move(converted));
}

} // namespace

int AnswerPictureIndex(int row, int base, bool chosen)
{
    const int lettered = row >= 0 && row < 9 ? row + 1 : 0;
    return base + lettered + (chosen ? 10 : 0);
}

RichColor AnswerRowColour(const SAnswerBlockState& state, int row, bool chosen, bool correct)
{
    if (chosen && state.phase == EPhase::Test)
        return kNoColor;
    if (state.phase == EPhase::Review || (state.phase == EPhase::Flash && state.hintShown))
    {
        if (!correct)
            return kNoColor;
        return chosen && !state.hintShown ? kCorrectChosenColor : kCorrectColor;
    }
    if (state.phase == EPhase::Flash && row == state.flashAnswerRow)
        return correct ? kCorrectColor : kWrongClickColor;
    return kNoColor;
}

void SetRowColour(RichTable& table, int row, RichColor colour)
{
    if (row < 0 || row >= table.RowCount())
        return;
    SetCellsColour(table, row, colour, false);
}

void ColourAnswerRow(RichTable& table, const SAnswerBlockState& state, int row, bool chosen, bool correct,
                     bool withFeedback)
{
    if (row < 0 || row >= table.RowCount())
        return;
    const RichColor colour = AnswerRowColour(state, row, chosen, correct);
    if (colour != kNoColor)
        SetCellsColour(table, row, colour, withFeedback);
}

bool FillAnswerRow(RichTable& table, RichStyleSheet& sheet, const SAnswerBlockState& state, int row,
                   int answerIndex, const std::string& answerText, bool chosen, bool correct, int base,
                   bool withFeedback, const std::string& feedback)
{
    if (row < 0 || row >= table.RowCount() || table.ColCount() < 2)
        return false;
    if (!FillRowCells(table, sheet, row, answerIndex, answerText, chosen, base, withFeedback, feedback))
        return false;
    ColourAnswerRow(table, state, row, chosen, correct, withFeedback);
    return true;
}

bool FillMatchingRow(RichTable& table, RichStyleSheet& sheet, int row, int answerIndex,
                     const std::string& subQuestion, const std::string& partner)
{
    if (row < 0 || row >= table.RowCount() || table.ColCount() < 2)
        return false;
    RichContent converted;
    if (!XMLToDisplayContent(subQuestion, converted, sheet))
        return false;
    SRichCell& left = table.Cell(row, 0);
    left.content = std::move(converted);
    left.hint = lf::sys::NumberText(answerIndex);
    RichContent& right = table.Cell(row, 1).content;
    right.Clear();
    right.AddText(partner, 0, 0, true);
    return true;
}

bool FillPrintAnswerRow(RichTable& table, RichStyleSheet& printSheet, EPhase printPhase, int row,
                        int answerIndex, const std::string& answerText, bool chosen, bool correct, int base,
                        bool withFeedback, const std::string& feedback)
{
    if (row < 0 || row >= table.RowCount() || table.ColCount() < 2)
        return false;
    if (!FillRowCells(table, printSheet, row, answerIndex, answerText, chosen, base, withFeedback, feedback))
        return false;
    if (correct && printPhase >= EPhase::Review && printPhase <= EPhase::Edit)
        SetCellsColour(table, row, kPrintCorrectColor, withFeedback);
    return true;
}

bool FillPrintMatchingRow(RichTable& table, RichStyleSheet& printSheet, int row, int answerIndex,
                          const std::string& subQuestion, const std::string& partner)
{
    return FillMatchingRow(table, printSheet, row, answerIndex, subQuestion, partner);
}

RichTable MakeAnswerTable(int rows, int cols)
{
    RichTable table(rows, cols);
    table.bestWidth = -100;
    table.borderVSpacing = 5;
    table.borderHSpacing = 10;
    table.cellPadding = 4;
    table.borderWidth = 0;
    table.cellBorderWidth = 0;
    table.borderStyle = RichTableBorder::Color;
    table.cellBorderStyle = RichTableBorder::Color;
    for (auto& cells : table.rows)
    {
        if (cols > 0)
            cells[0].bestWidth = 20;
        if (cols > 2)
            cells[2].bestWidth = -25;
    }
    return table;
}

int DisplayedCorrectAnswer(CBaseItem& item)
{
    return FindShownCreditedAnswer(item);
}

int EditedFlashcardAnswer(CBaseItem& item)
{
    const int credited = FindFirstCreditedAnswer(item);
    if (credited >= 0)
        return credited;
    return item.GetAnswerCount() > 0 ? 0 : -1;
}

std::string TypedFlashAnswer(CBaseItem& item, const CFormulaManager* formulaManager)
{
    if (item.GetQuestionType() == qtCalculated)
        return CalculatedAnswerText(formulaManager);
    const SAnswerItem* credited = FindCreditedAnswer(item);
    return credited ? credited->AnswerText : std::string();
}

RichTable MakeMatchingTable(int rows)
{
    RichTable table = MakeAnswerTable(rows, 2);
    for (auto& cells : table.rows)
    {
        cells[0].bestWidth = 0;
        cells[1].bestWidth = -50;
    }
    return table;
}

const SAnswerItem* FindCreditedAnswer(CBaseItem& item)
{
    const int index = FindFirstCreditedAnswer(item);
    SAnswerItem* answer = nullptr;
    return index >= 0 && item.GetAnswer(index, answer) ? answer : nullptr;
}

const char* VerdictText(int result)
{
    switch (result)
    {
    case 1:
        return "Correct";
    case 2:
        return "Partially correct";
    default:
        return "Incorrect";
    }
}

void AddVerdictParagraph(RichDocument& doc, int result)
{
    const RichColor colour = result == 1 ? 0x008000 : result == 2 ? 0x00FFFF : 0x0000FF;
    SRichParaStyle style;
    style.name = "Verdict";
    style.border = RichBorderStyle::Single;
    style.borderWidth = 10;
    style.borderColor = colour;
    style.backColor = colour;
    const int paraNo = doc.styles.FindOrAddParaStyle(style);
    doc.content.AddText(VerdictText(result), 0, paraNo, true);
}

SAnswerBlock RenderAnswerBlock(CBaseItem& item, bool replace, RichDocument* target, RichDocument* editor,
                               const SAnswerBlockState& state)
{
    SAnswerBlock block;
    const int kind = item.GetQuestionType();
    if (kind == qtEssay)
    {
        ShowEssayAnswer(item, replace, target, editor, state, block);
        return block;
    }
    const bool typed = kind == qtShortAnswer || kind == qtNumerical || kind == qtCalculated;
    if (typed && state.phase == EPhase::Test)
    {
        if (editor)
            ShowTypedAnswerField(item, *editor, block);
        return block;
    }
    const bool table = kind == qtMultipleChoice || kind == qtTrueFalse || kind == qtMatching;
    if (!target || (!typed && !table))
        return block;

    StartBlock(*target, replace);
    block.target = SAnswerBlock::ETarget::View;
    if (CMultipleChoiceItem* choice = item.GetMultipleChoice())
        ShowMultipleChoiceAnswers(*choice, *target, state, block);
    else if (CTrueFalseItem* trueFalse = item.GetTrueFalse())
        ShowTrueFalseAnswers(*trueFalse, *target, state, block);
    else if (CMatchingItem* matching = item.GetMatching())
        ShowMatchingAnswers(*matching, *target, state, block);
    else if (typed)
        ShowAnswerLine(item, *target, state);
    return block;
}

} // namespace lf::display
