// What the book storage tests share: a storage with captured status texts and warnings, and a book that
// holds every kind of question with chapters, marks, the Trash, user answers, units and data sets.
#pragma once

#include "model/items/Datatypes_Kinds.h"
#include "model/storage/Datastorage.h"
#include "tests/model/BookBuilder.h"

#include <string>
#include <vector>

namespace lf::test
{

class CapturedSinks : public IStatusTextSink, public IMessageSink, public IEventPump
{
public:
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
    void ProcessPendingEvents() override { ++pumped; }

    std::vector<std::string> statusTexts;
    std::vector<std::string> warnings;
    int pumped = 0;
};

// A storage wired to captured sinks, in a book environment with a fixed clock and a scratch log.
struct StorageFixture
{
    StorageFixture()
    {
        storage.SetStatusBar(&sinks);
        storage.SetMessageSink(&sinks);
        storage.SetEventPump(&sinks);
    }

    BookEnvironment env;
    TempDir dir;
    CapturedSinks sinks;
    CDataStorage storage{env.prefs};
};

// Fills items with one question of every kind and the features the book file carries.
inline void FillEveryKindBook(CItemsArray2& items)
{
    BookBuilder book(items);
    book.chapter("Biology");
    SCategoryInfo sub{0, 1, "Cells", "Inside <the> cell & more"};
    items.AddCategory(sub, true, false);

    book.multipleChoice("<LFDRoot>rich & \"quoted\"</LFDRoot>", {"Paris", "Rome", "a]]>b"}, 0)
        .name("choice")
        .layer("1.2")
        .marked()
        .cycles(3)
        .answered(true);
    auto* choice = static_cast<CMultipleChoiceItem*>(book.last());
    choice->SetFeedbackForAnyCorrectResponse("Well done");
    choice->SetFeedbackForAnyIncorrectResponse("line one\r\nline two");
    choice->SetLetMultipleAnswers(0);
    choice->SetNumberAnswerType(2);
    choice->SetShuffle(1);
    choice->SetFormatQAXData(200); // written as -56
    choice->SetEncryptionMethod(255);
    choice->SetGeneralFeedback("split ]]> in the middle ]]>");
    choice->SetKeywords("cells; organelles");
    choice->SetImageToDisplay("pics\\cell.png");
    choice->SetAudioFileName("/home/a/sound.wav");
    choice->SetID_Str("Q-1");

    book.trueFalse("The sky is blue", true).answered(false);
    static_cast<CTrueFalseItem*>(book.last())->SetFeedbackForTheResponseFalse("It is blue");
    book.description("Read this first").trashed();
    book.essay("Explain osmosis").essayAnswer("Water moves", "1");
    book.unfiled();
    book.item(qtShortAnswer, "Capital of France?");
    {
        auto* shortAnswer = static_cast<CShortAnswerItem*>(book.last());
        shortAnswer->SetCaseSensitivity(1);
        SAnswerItem a;
        a.ID = 7;
        a.AnswerText = "Par*";
        a.Correct = "1";
        a.Feedback = "Yes";
        shortAnswer->AddAnswer(a);
        SCommonUserAnswerInfo info;
        info.TimeAnswer = 42;
        info.UserAnswer = "paris";
        shortAnswer->SetCommonUserAnswerInfo(info);
    }
    book.matching("Match them", {{"H2O", "water"}, {"NaCl", "salt"}});
    static_cast<CMatchingItem*>(book.last())->SetShuffle(1);

    book.item(qtCalculated, "Area of {a} by {b}");
    {
        auto* calculated = static_cast<CCalculatedItem*>(book.last());
        SCalculatedAnswerItem answer;
        answer.ID = 1;
        answer.AnswerFormula = "{a}*{b}";
        answer.Correct = "1";
        answer.Feedback = "Multiply";
        answer.FormulaParams.Tolerance = "0.01";
        answer.FormulaParams.ToleranceType = 1;
        answer.FormulaParams.CorrectAnswerLength = 2;
        answer.FormulaParams.CorrectAnswerFormat = 1;
        SetVariableRange(answer, "a", "1", "10");
        SetVariableRange(answer, "b", "2.5", "7");
        answer.Variables[0].Values.Add("3.1");
        answer.Variables[0].Values.Add("4.2");
        answer.Variables[1].Values.Add("5.5");
        answer.Variables[1].Values.Add("6.6");
        answer.Variables[1].Values.Add("7.7"); // beyond the complete rows: not written
        calculated->AddCalculatedAnswer(answer);
        calculated->AddUnit(SUnitItem{"1", "m2"});
        SCommonUserAnswerInfo info;
        info.UserAnswer = "17.05";
        info.UserAnswerAdditionalInfo = "0";
        calculated->SetCommonUserAnswerInfo(info);
    }
    book.item(qtNumerical, "Speed of light in km/s?");
    {
        auto* numerical = static_cast<CNumericalItem*>(book.last());
        SAnswerItem a;
        a.ID = 1;
        a.AnswerText = "300000";
        a.Correct = "1";
        a.Tolerance = "500";
        numerical->AddAnswer(a);
        numerical->AddUnit(SUnitItem{"1", "km/s"});
        numerical->AddUnit(SUnitItem{"1000", "m/s"});
    }
    book.item(qtNumerical, "Without units");
    book.item(qtRandomShortAnswerMatching, "Draw some");
    static_cast<CRandomShortAnswerMatchingItem*>(book.last())->SetNumberOfQuestionsToSelect(5);
    book.item(qtEmbedded, "{1:SHORTANSWER:=Berlin}");
    book.item(qtDescription, "Negative times").created(-5);
    book.last()->SetDefaultQuestionGrade("");
    book.last()->SetPenaltyFactor("0.3333333");
}

} // namespace lf::test
