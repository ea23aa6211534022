#include "mainwindow/rules/PrintDocument.h"

#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/collection/Itemsarray.h"
#include "model/formulas/Formulamanager.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/items/Grades.h"
#include "model/storage/Booklist.h"
#include "model/support/Array.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace lf::print
{

namespace
{

using lf::display::FillPrintAnswerRow;
using lf::display::FillPrintMatchingRow;
using lf::display::kPrintCorrectColor;

constexpr int kNumberStyle = 1;

void AddEmptyParagraph(RichDocument& view)
{
    view.content.AddText({}, 0, 0, true);
}

// The number of a question, added at the end of the paragraph the view ends with (a paragraph of its
// own when the view ends with a table or is empty). An empty number adds nothing.
void AddNumber(RichDocument& view, const std::string& number)
{
    if (number.empty())
        return;
    const bool continues = !view.content.Empty() && view.content.items.back().IsText();
    view.content.AddText(number, kNumberStyle, 0, !continues);
}

std::string NumberOf(const SItemLayerSort& entry, int k, bool byLayers)
{
    return byLayers ? entry.layersStr : lf::sys::NumberText(k + 1);
}

// The table as the answers block: the common look of the answer tables, or an empty paragraph when no row
// was filled.
void AddTableOrEmptyParagraph(RichDocument& view, RichTable table)
{
    if (table.RowCount() == 0)
    {
        AddEmptyParagraph(view);
        return;
    }
    view.content.AddTable(std::move(table), lf::display::kAnswerTableName, 0);
}

// Fills a row, or removes the last row of the table when the row cannot be filled: the rows filled so far
// stay at the top, and the table ends up as long as the rows that were filled.
template <class Fill> void FillOrDropRow(RichTable& table, int& row, Fill&& fill)
{
    if (fill())
        ++row;
    else
        table.DeleteLastRow();
}

// --- Multiple choice ---

void AddMultipleChoiceBlock(CMultipleChoiceItem& item, RichDocument& view, EPhase phase)
{
    const int n = item.GetAnswerCount();
    if (n <= 0)
        return;
    const bool review = phase == EPhase::Review;
    const bool flash = phase == EPhase::Flash;
    const bool withFeedback = review && item.IsAnswered();
    const int base =
        item.GetLetMultipleAnswers() != 0 ? lf::display::kSquarePictures : lf::display::kCirclePictures;
    CIntArray order;
    for (int i = 0; i < n; ++i)
    {
        SAnswerItem* a = nullptr;
        if (flash && (!item.GetAnswer(i, a) || !IsCreditedGrade(a->Correct)))
            continue;
        order.Add(i);
    }
    // A Flash sheet of a question without a credited answer has no block at all.
    if (order.GetSize() == 0)
        return;
    if (phase == EPhase::Test && item.GetShuffle() != 0)
        ShuffleIntArray(order);

    RichTable table = lf::display::MakeAnswerTable(order.GetSize(), withFeedback ? 3 : 2);
    int row = 0;
    for (const int index : order)
    {
        FillOrDropRow(table, row,
                      [&]
                      {
                          SAnswerItem* a = nullptr;
                          if (!item.GetAnswer(index, a))
                              return false;
                          table.Cell(row, 0).vAlign = RichCellVAlign::Center;
                          // Every row of a Flash sheet is a credited answer, and shaded as one.
                          const bool right =
                              flash || ((review || phase == EPhase::Edit) && IsCreditedGrade(a->Correct));
                          return FillPrintAnswerRow(table, view.styles, phase, row, index, a->AnswerText,
                                                    review && a->UserAnswer == "1", right, base, withFeedback,
                                                    a->Feedback);
                      });
    }
    AddTableOrEmptyParagraph(view, std::move(table));
}

// --- True/false ---

void AddTrueFalseBlock(CTrueFalseItem& item, RichDocument& view, EPhase phase)
{
    SAnswerItem* a = nullptr;
    if (!item.GetAnswer(0, a))
    {
        AddEmptyParagraph(view);
        return;
    }
    const bool review = phase == EPhase::Review;
    const bool flash = phase == EPhase::Flash;
    const bool showRight = review || phase == EPhase::Edit;
    const bool statementTrue = a->Correct == "1";
    RichTable table = lf::display::MakeAnswerTable(flash ? 1 : 2, 2);
    int row = 0;
    const auto add = [&](const char* text, int index, bool chosen, bool right)
    {
        FillOrDropRow(table, row,
                      [&]
                      {
                          table.Cell(row, 0).vAlign = RichCellVAlign::Center;
                          return FillPrintAnswerRow(table, view.styles, phase, row, index, text, chosen,
                                                    right, lf::display::kCirclePictures, false, {});
                      });
    };
    // A Flash sheet shows only the right row, shaded as the right answer.
    if (!flash || statementTrue)
        add("True", 1, review && a->UserAnswer == "1", flash || (showRight && statementTrue));
    if (!flash || !statementTrue)
        add("False", 0, review && a->UserAnswer == "0", flash || (showRight && !statementTrue));
    AddTableOrEmptyParagraph(view, std::move(table));
}

// --- Typed answers ---

// The one-cell table of a typed answer, shaded when shade is set.
void AddTypedAnswerTable(RichDocument& view, const std::string& text, bool shade)
{
    RichTable table = lf::display::MakeAnswerTable(1, 1);
    SRichCell& cell = table.Cell(0, 0);
    cell.bestWidth = 0; // the one cell takes the table's whole width
    cell.content.Clear();
    cell.content.AddText(text, 0, 0, true);
    if (shade)
        cell.color = kPrintCorrectColor;
    view.content.AddTable(std::move(table), lf::display::kAnswerTableName, 0);
}

// Short answer, numerical and calculated. On the Test and Review sheets the box is there even when the
// question was never answered (a space to write the answer in); the Flash and Edit sheets print the right
// answer only when there is one to print.
void AddTypedBlock(CBaseItem& item, RichDocument& view, EPhase phase, const CFormulaManager& manager)
{
    const bool userSheet = phase == EPhase::Test || phase == EPhase::Review;
    std::string text;
    if (userSheet)
    {
        text = item.GetCommonUserAnswerInfo().UserAnswer;
    }
    else if (CCalculatedItem* calculated = item.GetCalculated())
    {
        SCalculatedAnswerItem* answer = nullptr;
        if (calculated->FindMatchingCalculatedAnswer(answer, false) >= 0 && answer)
            text = phase == EPhase::Flash ? lf::display::TypedFlashAnswer(item, &manager)
                                          : answer->AnswerFormula;
    }
    else if (item.IsAnswered())
    {
        SAnswerItem* answer = nullptr;
        if (item.FindMatchingAnswer(answer, false) >= 0 && answer)
            text = answer->AnswerText;
    }
    if (!userSheet && text.empty())
        return;
    const int result =
        phase == EPhase::Review && item.HasAnswerList() && item.IsAnswered() ? item.GetResult() : -1;
    AddTypedAnswerTable(view, text, result == 1 || result == 2);
}

// --- Matching ---

void AddMatchingBlock(CMatchingItem& item, RichDocument& view, EPhase phase)
{
    const int n = item.GetAnswerCount();
    if (n <= 0)
        return;
    CStringArray matches;
    int subQuestions = 0;
    for (int i = 0; i < n; ++i)
    {
        SAnswerItem* p = nullptr;
        if (!item.GetAnswer(i, p))
            continue;
        if (!p->Correct.empty())
            matches.Add(p->Correct);
        if (!p->AnswerText.empty())
            ++subQuestions;
    }
    if (subQuestions == 0)
        return;
    ShuffleStringArray(matches);

    const bool test = phase == EPhase::Test;
    const bool edit = phase == EPhase::Edit;
    CIntArray order;
    for (int i = 0; i < n; ++i)
        order.Add(i);
    if (test && item.GetShuffle() != 0)
        ShuffleIntArray(order);

    RichTable table = lf::display::MakeMatchingTable(n);
    int row = 0;
    for (const int index : order)
    {
        SAnswerItem* p = nullptr;
        if (!item.GetAnswer(index, p))
        {
            table.DeleteLastRow();
            continue;
        }
        std::string left = p->AnswerText;
        if (left.empty() && !test)
            left = "EMPTY";
        std::string right;
        switch (phase)
        {
        case EPhase::Test:
            if (row < matches.GetSize())
                right = matches[row];
            break;
        case EPhase::Review:
            right = p->UserAnswer;
            break;
        default:
            right = p->Correct;
            break;
        }
        if (right.empty() || !StringArrayContains(matches, right))
            right =
                test || phase == EPhase::Review ? lf::display::kNotSetReview : lf::display::kNoCorrectAnswer;
        const bool skip = (!edit && !test && p->AnswerText.empty()) ||
                          (edit && p->AnswerText.empty() && p->Correct.empty());
        if (skip)
        {
            table.DeleteLastRow();
            continue;
        }
        FillOrDropRow(table, row,
                      [&]
                      {
                          if (!FillPrintMatchingRow(table, view.styles, row, index, left, right))
                              return false;
                          if (phase == EPhase::Review && right == p->Correct)
                              table.Cell(row, 0).color = table.Cell(row, 1).color = kPrintCorrectColor;
                          return true;
                      });
    }
    AddTableOrEmptyParagraph(view, std::move(table));
}

void AppendQuestion(RichDocument& view, const SItemLayerSort& entry, int k, const SPrintSettings& settings,
                    CFormulaManager& manager)
{
    if (!entry.item)
        throw std::invalid_argument("an entry of the print order has no question");
    CBaseItem& item = *entry.item;
    AddNumber(view, NumberOf(entry, k, settings.byLayers));
    AppendXMLToRichView(PrintQuestionText(item, settings.printPhase, manager), view);
    if (settings.presentation)
        AddEmptyParagraph(view);
    AddPrintAnswersBlock(&item, &view, settings.printPhase, manager);
    if (settings.presentation)
        AddEmptyParagraph(view);
    if (settings.printPhase != EPhase::Test)
    {
        AppendXMLToRichView(item.GetGeneralFeedback(), view);
        if (settings.presentation)
            AddEmptyParagraph(view);
    }
    AddEmptyParagraph(view);
    if (settings.presentation)
        AddEmptyParagraph(view);
}

// The Test sheet's key: the explanations under the heading, numbered as the questions are.
void AppendExplanations(RichDocument& view, const CItemLayerSortArray& order, const SPrintSettings& settings)
{
    view.content.AddText("Explanation:", kNumberStyle, 0, true);
    AddEmptyParagraph(view);
    for (std::size_t k = 0; k < order.size(); ++k)
    {
        AddNumber(view, NumberOf(order[k], static_cast<int>(k), settings.byLayers));
        AppendXMLToRichView(order[k].item->GetGeneralFeedback(), view);
        AddEmptyParagraph(view);
        if (settings.presentation)
            AddEmptyParagraph(view);
    }
}

} // namespace

bool PrintFilterAccepts(CBaseItem& item, int filter)
{
    switch (static_cast<EPrintFilter>(filter))
    {
    case EPrintFilter::All:
        return true;
    case EPrintFilter::Marked:
    case EPrintFilter::Selected:
        return item.IsMarkedInEdit();
    case EPrintFilter::Correct:
        return item.IsAnswered() && (item.GetResult() == 1 || item.GetResult() == 2);
    case EPrintFilter::Incorrect:
        return item.IsAnswered() && item.GetResult() == 0;
    case EPrintFilter::Answered:
        return item.IsAnswered();
    case EPrintFilter::Unanswered:
        return !item.IsAnswered();
    }
    WriteLog("Tm_PrintPrefsDlg::FilteredData() - ERROR (PrintFilter unknown parameter.)", 1, 1);
    return false;
}

SPrintChoiceCount MarkItemsForPrinting(CItemsArray2& items, const std::vector<std::int32_t>& chapters,
                                       int filter)
{
    SPrintChoiceCount count;
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        CBaseItem* item = items.GetItem(i);
        if (!item)
        {
            WriteLog("Tm_PrintPrefsDlg::FilteredData() - ERROR (pItem == NULL)", 1, 1);
            continue;
        }
        const bool ticked =
            std::find(chapters.begin(), chapters.end(), item->GetCategoryID()) != chapters.end();
        const bool chosen = ticked && IsActiveItem(item) && PrintFilterAccepts(*item, filter);
        item->SetStatus(qsPrint, chosen);
        if (ticked)
            ++count.inChapters;
        if (chosen)
            ++count.chosen;
    }
    return count;
}

std::string EmptyChoiceMessage(const SPrintChoiceCount& count)
{
    if (count.chosen > 0)
        return {};
    return count.inChapters > 0 ? kFilterTooStrict : kNoQuestionsInChapter;
}

void BuildPrintOrder(const CItemsArray2& items, EPhase printPhase, CItemLayerSortArray& order)
{
    order.clear();
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        CBaseItem* item = items.GetItem(i);
        if (!item || !IsActiveItem(item) || !item->IsAnswerableInPhase(ToNumber(printPhase)) ||
            !item->TestStatus(qsPrint))
            continue;
        order.push_back({item, item->GetCategoryID(), item->GetLayersStr()});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const SItemLayerSort& a, const SItemLayerSort& b)
                     {
                         if (a.categoryID != b.categoryID)
                             return a.categoryID < b.categoryID;
                         return CompareLayerNumbers(a.layersStr, b.layersStr, true) < 0;
                     });
}

RichStyleSheet PrintStyleSheet()
{
    RichStyleSheet sheet = RichStyleSheet::Default();
    ApplyDefaultFont(sheet);
    sheet.textStyles.at(kNumberStyle).size = kPrintNumberSize;
    return sheet;
}

std::string PrintQuestionText(CBaseItem& item, EPhase printPhase, CFormulaManager& manager)
{
    // A sheet of the Edit phase shows the formulas; the others show values of a data-set row, the
    // Flash sheet a new row each time, as the question pane does.
    if (printPhase == EPhase::Edit)
        return item.GetQuestionText();
    return lf::display::PrepareQuestionText(item, printPhase, printPhase == EPhase::Flash, manager);
}

void AddPrintAnswersBlock(CBaseItem* item, RichDocument* view, EPhase printPhase,
                          const CFormulaManager& manager)
{
    if (!view)
        return;
    if (!item || !item->HasAnswerList())
    {
        AddEmptyParagraph(*view);
        return;
    }
    switch (item->GetQuestionType())
    {
    case qtMultipleChoice:
        AddMultipleChoiceBlock(*item->GetMultipleChoice(), *view, printPhase);
        break;
    case qtTrueFalse:
        AddTrueFalseBlock(*item->GetTrueFalse(), *view, printPhase);
        break;
    case qtEssay:
        if (printPhase == EPhase::Test || printPhase == EPhase::Review)
            AppendXMLToRichView(item->GetCommonUserAnswerInfo().UserAnswer, *view);
        break;
    case qtShortAnswer:
    case qtNumerical:
    case qtCalculated:
        AddTypedBlock(*item, *view, printPhase, manager);
        break;
    case qtMatching:
        AddMatchingBlock(*item->GetMatching(), *view, printPhase);
        break;
    default:
        AddEmptyParagraph(*view);
        break;
    }
}

bool BuildPrintDocument(RichDocument& view, const CItemLayerSortArray& order, const SPrintSettings& settings,
                        CFormulaManager& manager)
{
    try
    {
        for (std::size_t k = 0; k < order.size(); ++k)
            AppendQuestion(view, order[k], static_cast<int>(k), settings, manager);
        if (settings.printPhase == EPhase::Test)
            AppendExplanations(view, order, settings);
        return true;
    }
    catch (const std::exception& error)
    {
        WriteLog(std::string("Tm_MainFrm::BuildPrintDocument - ERROR! ") + error.what(), 1, 1);
        return false;
    }
}

std::string PrintTitle(const CBookList& books, std::int32_t bookIndex)
{
    std::string title = "Lernfold ";
    if (bookIndex >= 0 && bookIndex < books.GetCount())
        title += books.GetName(bookIndex);
    return title;
}

} // namespace lf::print
