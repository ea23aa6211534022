#include "bench/GeneratedBook.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes_Kinds.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/NumberText.h"

#include <memory>

namespace lf::bench
{

std::string RichText(std::int64_t n, const char* topic)
{
    lf::RichDocument doc;
    doc.styles.textStyles.resize(2);
    doc.styles.paraStyles.resize(2);
    doc.content.AddText(std::string("Question ") + lf::sys::NumberText(n) + " about " + topic +
                            ": which statement is ",
                        0, 0);
    doc.content.AddText("correct", 1, 0, false);
    doc.content.AddText("?", 0, 0, false);
    doc.content.AddText("Think about the mitochondrial matrix, NADH and FADH2 before you answer.", 0, 1);
    return lf::WriteRichXml(doc);
}

void BuildBook(CItemsArray2& items, std::int64_t count)
{
    items.Clear();
    const char* chapters[] = {"Cells", "Plants", "Animals"};
    for (const char* name : chapters)
        items.GetOrAddCategoryByName(name);
    // An empty collection makes the items; the book's own factory would walk the whole book per item.
    CItemsArray2 factory;
    const int kinds[] = {qtMultipleChoice, qtMultipleChoice, qtMultipleChoice, qtMultipleChoice, qtTrueFalse,
                         qtShortAnswer,    qtNumerical,      qtCalculated,     qtEssay,          qtMatching};
    for (std::int64_t n = 0; n < count; ++n)
    {
        const int kind = n % 23 == 0 ? qtDescription : kinds[n % 10];
        std::unique_ptr<CBaseItem> item = factory.CreateItem(kind, true);
        const char* topic = chapters[n % 3];
        item->SetCategoryID(static_cast<std::int32_t>(1 + n % 3));
        item->SetName("Question " + lf::sys::NumberText(n));
        item->SetLayersStr(lf::sys::NumberText(1 + n / 100) + "." + lf::sys::NumberText(n % 100));
        item->SetQuestionText(RichText(n, topic));
        item->SetGeneralFeedback(RichText(n + 1, "the explanation"));
        item->SetKeywords(topic);
        if (n % 7 == 0)
            item->SetStatus(qsMarked, true);
        if (auto* calculated = dynamic_cast<CCalculatedItem*>(item.get()))
        {
            SCalculatedAnswerItem answer;
            answer.ID = 1;
            answer.AnswerFormula = "{a}*{b}";
            answer.Correct = "1";
            answer.FormulaParams.Tolerance = "0.01";
            SetVariableRange(answer, "a", "1", "10");
            SetVariableRange(answer, "b", "1", "10");
            GenerateDatasets(answer, 3);
            calculated->AddCalculatedAnswer(answer);
            calculated->AddUnit(SUnitItem{"1", "m2"});
        }
        else if (auto* numerical = dynamic_cast<CNumericalItem*>(item.get()))
        {
            numerical->AddAnswer(SAnswerItem{1, "42", "1", "", "0.5", ""});
            numerical->AddUnit(SUnitItem{"1", "km"});
        }
        else if (auto* matching = dynamic_cast<CMatchingItem*>(item.get()))
        {
            matching->AddAnswer(SAnswerItem{1, "H2O", "water", "", "", ""});
            matching->AddAnswer(SAnswerItem{2, "NaCl", "salt", "", "", ""});
        }
        else if (kind == qtMultipleChoice || kind == qtShortAnswer || kind == qtTrueFalse || kind == qtEssay)
        {
            const int answers = kind == qtMultipleChoice ? 4 : 1;
            for (int a = 0; a < answers; ++a)
                item->AddAnswer(SAnswerItem{
                    a + 1, "Choice " + lf::sys::NumberText(a) + " of question " + lf::sys::NumberText(n),
                    a == 0 ? "1" : "0", a == 0 ? "Right, because" : "", "", ""});
        }
        items.InsertItem(std::move(item), false, -1);
    }
}

} // namespace lf::bench
