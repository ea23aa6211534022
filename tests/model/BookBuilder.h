// Builds a book (an item collection) for tests in one expression:
//   BookBuilder().chapter("Bio").multipleChoice("Q?", {"a", "b"}, 0).layer("1.1").marked().build()
// Items are made by the collection's factory and appended in the order written; each item's name is its
// question text unless name() says otherwise. The modifiers after an item apply to that item.
#pragma once

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/support/Log.h"
#include "model/support/Prefs.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace lf::test
{

// Answer i of an item, or nullptr.
inline SAnswerItem* AnswerOf(CBaseItem* item, std::int32_t i)
{
    SAnswerItem* answer = nullptr;
    return item->GetAnswer(i, answer) ? answer : nullptr;
}

// The names of a book's chapters in table order.
inline std::vector<std::string> ChapterNames(const CItemsArray2& items)
{
    std::vector<std::string> names;
    for (std::int32_t row = 0; row < items.GetCategoryCount(); ++row)
    {
        SCategoryInfo info;
        items.GetCategoryAt(row, info);
        names.push_back(info.Name);
    }
    return names;
}

// What a book under test needs around it: a fixed clock, options in the Moodle style (every kind studied)
// with an author name, and a log that goes into a scratch folder.
struct BookEnvironment
{
    BookEnvironment()
    {
        prefs.m_ViewMode = 3;
        prefs.m_AuthorId = "Tester";
        SetLogBooksDirectory(logFolder.folder());
    }
    ~BookEnvironment() { SetLogBooksDirectory(""); }
    BookEnvironment(const BookEnvironment&) = delete;
    BookEnvironment& operator=(const BookEnvironment&) = delete;

    std::string LogText() const
    {
        const std::string path = logFolder.file("Lernfold.log");
        return std::filesystem::exists(path) ? ReadFile(path) : std::string();
    }

    FakeSystem system;
    TempDir logFolder;
    CPrefs prefs;
};

// The session every collection test runs in: the environment and an empty collection that has taken
// the environment's question style and author, as the storage hands them over in the program.
struct BookSession
{
    BookSession()
    {
        items.Clear();
        items.SetQuestionStyle(env.prefs.GetViewMode());
        items.SetAuthorName(env.prefs.m_AuthorId);
    }

    BookEnvironment env;
    CItemsArray2 items;
};

class BookBuilder
{
public:
    // A fresh book, handed over by build().
    BookBuilder() : m_Owned(std::make_unique<CItemsArray2>()), m_Items(m_Owned.get())
    {
        m_Items->Clear();
        ApplyOptions();
    }
    // Adds to an existing collection (emptied first when it has no chapter table yet).
    explicit BookBuilder(CItemsArray2& items) : m_Items(&items)
    {
        if (m_Items->GetCategoryCount() == 0)
            m_Items->Clear();
        ApplyOptions();
    }

    // A new chapter; the items that follow go into it.
    BookBuilder& chapter(const std::string& name)
    {
        const std::int32_t row = m_Items->GetOrAddCategoryByName(name);
        m_Category = m_Items->GetCategoryIDAt(row);
        return *this;
    }
    // The items that follow go into chapter 0 "Unfiled".
    BookBuilder& unfiled()
    {
        m_Category = 0;
        return *this;
    }

    // Any kind with its question text and no answers.
    // An item made elsewhere (an ItemBuilder's), put into the current chapter.
    BookBuilder& add(std::unique_ptr<CBaseItem> made)
    {
        made->SetCategoryID(m_Category);
        m_Last = made.get();
        m_Items->InsertItem(std::move(made), false, -1);
        return *this;
    }
    BookBuilder& item(int kind, const std::string& question)
    {
        std::unique_ptr<CBaseItem> made = m_Items->CreateItem(kind, true);
        made->SetQuestionText(question);
        made->SetName(question);
        made->SetCategoryID(m_Category);
        m_Last = made.get();
        m_Items->InsertItem(std::move(made), false, -1);
        return *this;
    }
    // A multiple-choice question whose answer number correct (0-based) is right; -1 for none.
    BookBuilder& multipleChoice(const std::string& question, std::initializer_list<std::string> answers,
                                int correct)
    {
        item(qtMultipleChoice, question);
        int i = 0;
        for (const std::string& text : answers)
        {
            SAnswerItem a;
            a.ID = i + 1;
            a.AnswerText = text;
            a.Correct = i == correct ? "1" : "0";
            m_Last->AddAnswer(a);
            ++i;
        }
        return *this;
    }
    BookBuilder& trueFalse(const std::string& question, bool statementTrue)
    {
        item(qtTrueFalse, question);
        SAnswerItem a;
        a.ID = 1;
        a.Correct = statementTrue ? "1" : "0";
        m_Last->AddAnswer(a);
        return *this;
    }
    // A matching question with its (sub-question, match) pairs.
    BookBuilder& matching(const std::string& question, std::vector<std::pair<std::string, std::string>> pairs)
    {
        item(qtMatching, question);
        std::int32_t id = 0;
        for (auto& [sub, match] : pairs)
        {
            SAnswerItem a;
            a.ID = ++id;
            a.AnswerText = sub;
            a.Correct = match;
            m_Last->AddAnswer(a);
        }
        return *this;
    }
    // A short-answer question with its patterns and their grades.
    BookBuilder& shortAnswer(const std::string& question,
                             std::vector<std::pair<std::string, std::string>> patterns)
    {
        item(qtShortAnswer, question);
        std::int32_t id = 0;
        for (auto& [pattern, grade] : patterns)
            m_Last->AddAnswer(SAnswerItem{++id, pattern, grade, "", "", ""});
        return *this;
    }
    // A numerical question with its values, their grades and tolerances, and its units.
    struct NumericalAnswer
    {
        std::string value;
        std::string grade;
        std::string tolerance;
    };
    BookBuilder& numerical(const std::string& question, std::vector<NumericalAnswer> values,
                           std::vector<SUnitItem> units = {})
    {
        item(qtNumerical, question);
        std::int32_t id = 0;
        for (auto& v : values)
            m_Last->AddAnswer(SAnswerItem{++id, v.value, v.grade, "", v.tolerance, ""});
        for (const SUnitItem& unit : units)
            m_Last->GetUnitList()->AddUnit(unit);
        return *this;
    }
    // The answer the user typed into the last question (short answer, numerical, calculated, essay).
    BookBuilder& typed(const std::string& text)
    {
        SCommonUserAnswerInfo info = m_Last->GetCommonUserAnswerInfo();
        info.UserAnswer = text;
        m_Last->SetCommonUserAnswerInfo(info);
        return *this;
    }
    BookBuilder& essay(const std::string& question) { return item(qtEssay, question); }
    BookBuilder& description(const std::string& question) { return item(qtDescription, question); }

    // --- Modifiers of the last item ---

    BookBuilder& name(const std::string& text)
    {
        m_Last->SetName(text);
        return *this;
    }
    BookBuilder& explanation(const std::string& text)
    {
        m_Last->SetGeneralFeedback(text);
        return *this;
    }
    BookBuilder& layer(const std::string& text)
    {
        m_Last->SetLayersStr(text);
        return *this;
    }
    BookBuilder& marked()
    {
        m_Last->SetStatus(qsMarked, true);
        return *this;
    }
    BookBuilder& cycles(std::int32_t counter)
    {
        m_Last->SetCycleCounter(counter);
        return *this;
    }
    BookBuilder& created(std::int64_t seconds)
    {
        m_Last->SetWhenCreated(seconds);
        m_Last->SetLastModified(seconds);
        return *this;
    }
    // In the Trash, as a deletion leaves it.
    BookBuilder& trashed()
    {
        m_Last->SetStatus(qsInTrash, true);
        m_Last->SetCategoryID(kTrashCategoryID);
        return *this;
    }
    // Answered right (true) or wrong (false): a multiple-choice question gets its right or a wrong choice
    // marked, a true/false question the matching choice.
    BookBuilder& answered(bool right)
    {
        if (auto* mc = dynamic_cast<CMultipleChoiceItem*>(m_Last))
        {
            for (std::int32_t i = 0; i < mc->GetAnswerCount(); ++i)
            {
                SAnswerItem* a = nullptr;
                mc->GetAnswer(i, a);
                if ((a->Correct == "1") == right)
                {
                    mc->ToggleUserChoice(i, a, true);
                    break;
                }
            }
        }
        else if (auto* tf = dynamic_cast<CTrueFalseItem*>(m_Last))
        {
            SAnswerItem* a = nullptr;
            tf->GetAnswer(0, a);
            const bool truth = a->Correct == "1";
            tf->SetUserAnswer(truth == right ? "1" : "0");
        }
        return *this;
    }
    // An essay answered by the user and, when grade is not empty, graded by hand.
    BookBuilder& essayAnswer(const std::string& text, const std::string& grade)
    {
        SCommonUserAnswerInfo info = m_Last->GetCommonUserAnswerInfo();
        info.UserAnswer = text;
        m_Last->SetCommonUserAnswerInfo(info);
        SAnswerItem* a = nullptr;
        if (m_Last->GetAnswer(0, a))
            a->Correct = grade;
        return *this;
    }
    // The item's plain search text, as the search-text builder would leave it.
    BookBuilder& searchText(const std::string& text)
    {
        m_Last->SetSearchText(text);
        m_Last->SetSearchTextFilled(true);
        return *this;
    }

    CBaseItem* last() const { return m_Last; }
    CItemsArray2& items() { return *m_Items; }
    // The book, not marked modified. Only for a builder that made its own book.
    std::unique_ptr<CItemsArray2> build()
    {
        m_Items->SetModified(false);
        return std::move(m_Owned);
    }

private:
    // The collection takes the style and author of the environment's options, as the storage hands them
    // over in the program.
    void ApplyOptions()
    {
        if (const CPrefs* prefs = CPrefs::GetPrefs())
        {
            m_Items->SetQuestionStyle(prefs->GetViewMode());
            m_Items->SetAuthorName(prefs->m_AuthorId);
        }
    }

    std::unique_ptr<CItemsArray2> m_Owned;
    CItemsArray2* m_Items;
    std::int32_t m_Category = 0;
    CBaseItem* m_Last = nullptr;
};

// The names of the members of the sequence in book order, joined by ",".
inline std::string SequenceNames(const CItemsArray2& items)
{
    std::string names;
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        const CBaseItem* item = items.GetItem(i);
        if (item->IsInSequence())
            names += (names.empty() ? "" : ",") + item->GetName();
    }
    return names;
}

// The names of all items in book order, joined by ",".
inline std::string BookOrderNames(const CItemsArray2& items)
{
    std::string names;
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
        names += (i ? "," : "") + items.GetItem(i)->GetName();
    return names;
}

// The name of the current item, empty when there is none.
inline std::string CurrentName(const CItemsArray2& items)
{
    const CBaseItem* item = items.GetCurrentItem();
    return item ? item->GetName() : std::string();
}

// The item of that name, null when none.
inline CBaseItem* FindByName(const CItemsArray2& items, const std::string& name)
{
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        if (items.GetItem(i)->GetName() == name)
            return items.GetItem(i);
    }
    return nullptr;
}

} // namespace lf::test
