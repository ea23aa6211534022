// Builds question items for tests in one expression:
//   MultipleChoice().answer("Paris", "1", "1").answer("Rome", "0").build()
// Answers get the IDs 1, 2, 3, ... in order unless one is given.
#pragma once

#include "model/items/Datatypes.h"

#include <memory>
#include <string>
#include <utility>

namespace lf::test
{

template <class Item> class ItemBuilder
{
public:
    // text: the choice, pattern, value or sub-question; correct: its grade (or match); user: the user's mark
    // or choice for it.
    ItemBuilder& answer(std::string text, std::string correct, std::string user = {},
                        std::string tolerance = {})
    {
        SAnswerItem a;
        a.ID = ++m_NextId;
        a.AnswerText = std::move(text);
        a.Correct = std::move(correct);
        a.UserAnswer = std::move(user);
        a.Tolerance = std::move(tolerance);
        m_Item->AddAnswer(a);
        return *this;
    }
    // A numerical answer: value, grade and tolerance.
    ItemBuilder& value(std::string value, std::string correct, std::string tolerance)
    {
        return answer(std::move(value), std::move(correct), {}, std::move(tolerance));
    }
    ItemBuilder& feedbackOfLast(std::string feedback)
    {
        SAnswerItem* a = nullptr;
        if (m_Item->GetAnswer(m_Item->GetAnswerCount() - 1, a))
            a->Feedback = std::move(feedback);
        return *this;
    }
    // The answer the user typed (short answer, numerical).
    ItemBuilder& typed(std::string text)
    {
        SCommonUserAnswerInfo info = m_Item->GetCommonUserAnswerInfo();
        info.UserAnswer = std::move(text);
        m_Item->SetCommonUserAnswerInfo(info);
        return *this;
    }
    ItemBuilder& name(std::string text)
    {
        m_Item->SetName(text);
        return *this;
    }
    ItemBuilder& question(std::string text)
    {
        m_Item->SetQuestionText(text);
        return *this;
    }
    ItemBuilder& feedback(std::string text)
    {
        m_Item->SetGeneralFeedback(text);
        return *this;
    }
    ItemBuilder& keywords(std::string text)
    {
        m_Item->SetKeywords(text);
        return *this;
    }
    template <class F> ItemBuilder& with(F change)
    {
        change(*m_Item);
        return *this;
    }
    std::unique_ptr<Item> build() { return std::move(m_Item); }

private:
    std::unique_ptr<Item> m_Item = std::make_unique<Item>();
    std::int32_t m_NextId = 0;
};

inline ItemBuilder<CMultipleChoiceItem> MultipleChoice()
{
    return {};
}
inline ItemBuilder<CShortAnswerItem> ShortAnswer()
{
    return {};
}
inline ItemBuilder<CNumericalItem> Numerical()
{
    return {};
}
inline ItemBuilder<CMatchingItem> Matching()
{
    return {};
}

// A true/false item whose statement has the grade correct ("1" true, "0" false) and the user's choice.
inline std::unique_ptr<CTrueFalseItem> TrueFalse(std::string correct, std::string user = {})
{
    auto item = std::make_unique<CTrueFalseItem>();
    SAnswerItem a;
    a.ID = 1;
    a.Correct = std::move(correct);
    a.UserAnswer = std::move(user);
    item->AddAnswer(a);
    return item;
}

// The user's marks or choices over all answers, in order.
inline std::string UserAnswers(CBaseItem& item)
{
    std::string marks;
    for (std::int32_t i = 0; i < item.GetAnswerCount(); ++i)
    {
        SAnswerItem* a = nullptr;
        if (item.GetAnswer(i, a))
            marks += (i ? "," : "") + a->UserAnswer;
    }
    return marks;
}

} // namespace lf::test
