// Every text of a book, chapters and questions, one per line: two readings of a book compare equal
// exactly when their texts do.
#pragma once

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"

#include <string>

namespace lf::test
{

inline std::string BookTexts(CItemsArray2& items)
{
    std::string out;
    for (std::int32_t row = 0; row < items.GetCategoryCount(); ++row)
    {
        SCategoryInfo info;
        if (items.GetCategoryAt(row, info))
            out += "chapter " + info.Name + " | " + info.Description + "\n";
    }
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        CBaseItem* item = items.GetItem(i);
        out += "question " + item->GetName() + " | " + item->GetID_Str() + " | " + item->GetOwnerStr() +
               " | " + item->GetModifierStr() + " | " + item->GetQuestionText() + " | " +
               item->GetGeneralFeedback() + " | " + item->GetKeywords() + "\n";
        for (std::int32_t a = 0; a < item->GetAnswerCount(); ++a)
        {
            SAnswerItem* answer = nullptr;
            if (item->GetAnswer(a, answer))
                out += "answer " + answer->AnswerText + " | " + answer->Feedback + "\n";
        }
    }
    return out;
}

} // namespace lf::test
