// The edit frames as the main window finds them: their defaults and panel heights, and the Alt+digit and
// Ctrl+digit keys acting on their controls.
#include "editing/frames/Answerframes.h"
#include "editing/frames/Feedbackframes.h"
#include "editing/frames/Headerframe.h"
#include "editing/frames/Playerframe.h"

#include "ui_Calculatededitanswerframe.h"
#include "ui_Essayeditfeedbackframe.h"
#include "ui_Headereditquestionframe.h"
#include "ui_Matchingeditanswerframe.h"
#include "ui_Multichoiceeditanswerframe.h"
#include "ui_Multichoicev3editanswerframe.h"
#include "ui_Numericaleditanswerframe.h"
#include "ui_Randomshortanswermatchingeditanswerframe.h"
#include "ui_Shortanswereditanswerframe.h"
#include "ui_Truefalseeditanswerframe.h"

#include "model/support/Prefs.h"
#include "platform/qt/RichViewEdit.h"
#include "tests/editing/frames/FakeMedia.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace
{

SShortcutKey Alt(int digit)
{
    return {1, 0, 0, static_cast<std::uint16_t>(0x30 + digit)};
}
SShortcutKey Ctrl(int digit)
{
    return {0, 1, 0, static_cast<std::uint16_t>(0x30 + digit)};
}

// Shows a frame as an active window, so that focus moves as it does for the user.
void ShowActive(QWidget& frame)
{
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
}

QWidget* Focused()
{
    return QApplication::focusWidget();
}

TEST(EditFrames, TrueFalseAltFocusesAndCtrlSwitchesBackAndForth)
{
    TCTrueFalseEditAnswerFrame frame;
    ShowActive(frame);
    QComboBox* combo = frame.Form().m_pTrueFalseComboBox;
    ASSERT_EQ(combo->currentText(), "False");

    EXPECT_TRUE(frame.HandleShortcutKey(Alt(1)));
    EXPECT_EQ(Focused(), combo);
    combo->clearFocus();

    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(1)));
    EXPECT_EQ(combo->currentText(), "True");
    EXPECT_EQ(Focused(), combo);
    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(1)));
    EXPECT_EQ(combo->currentText(), "False");
    // Alt and Ctrl together: the frame stops after focusing.
    EXPECT_TRUE(frame.HandleShortcutKey({1, 1, 0, 0x31}));
    EXPECT_EQ(combo->currentText(), "False");
    EXPECT_FALSE(frame.HandleShortcutKey(Alt(2)));
}

TEST(EditFrames, MultiChoiceGradeKeyTogglesTheSlotAndClearsAPenalty)
{
    TCMultiChoiceEditAnswerFrame frame;
    ShowActive(frame);
    QComboBox* grade = frame.Form().m_pGrade3ComboBox;
    ASSERT_EQ(grade->count(), 41);
    grade->setCurrentText("50 %");

    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(3)));
    EXPECT_EQ(grade->currentText(), "0%");
    EXPECT_EQ(Focused(), grade);
    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(3)));
    EXPECT_EQ(grade->currentText(), "100 %");

    grade->setCurrentText("-50 %");
    ASSERT_EQ(grade->currentIndex(), 32);
    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(3)));
    EXPECT_EQ(grade->currentText(), "0%");
    // Other slots are untouched.
    EXPECT_EQ(frame.Form().m_pGrade2ComboBox->currentText(), "0%");

    EXPECT_TRUE(frame.HandleShortcutKey(Alt(4)));
    EXPECT_EQ(Focused(), frame.Form().m_pAnswer4RVE);
}

TEST(EditFrames, GradeButtonsSetTheirSlot)
{
    TCShortAnswerEditAnswerFrame frame;
    QTest::mouseClick(frame.Form().m_pGrade1002Btn, Qt::LeftButton);
    EXPECT_EQ(frame.Form().m_pGrade2ComboBox->currentText(), "100 %");
    EXPECT_EQ(frame.Form().m_pGrade1ComboBox->currentText(), "0%");
    QTest::mouseClick(frame.Form().m_pGradeNone2Btn, Qt::LeftButton);
    EXPECT_EQ(frame.Form().m_pGrade2ComboBox->currentText(), "0%");
    EXPECT_EQ(frame.Form().m_pGrade5ComboBox->count(), 21);
}

TEST(EditFrames, CalculatedGradeKeysLeaveTheFocus)
{
    TCCalculatedEditAnswerFrame frame;
    ShowActive(frame);
    auto& form = frame.Form();
    ASSERT_EQ(form.m_pGradeComboBox->currentText(), "100 %");
    form.m_pToleranceStr->setFocus();

    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(1)));
    EXPECT_EQ(form.m_pGradeComboBox->currentText(), "0%");
    EXPECT_EQ(Focused(), form.m_pToleranceStr);
    EXPECT_TRUE(frame.HandleShortcutKey(Ctrl(2)));
    EXPECT_EQ(form.m_pGradeComboBox->currentText(), "100 %");
    EXPECT_EQ(Focused(), form.m_pToleranceStr);
    EXPECT_FALSE(frame.HandleShortcutKey(Ctrl(3)));

    EXPECT_TRUE(frame.HandleShortcutKey(Alt(6)));
    EXPECT_EQ(Focused(), form.m_pFormatDropdownList);
    EXPECT_TRUE(frame.HandleShortcutKey(Alt(9)));
    EXPECT_EQ(Focused(), form.m_pUnitDescriptionStr);
}

TEST(EditFrames, CalculatedKeyForAHiddenPageIsAnsweredWithoutMovingTheFocus)
{
    TCCalculatedEditAnswerFrame frame;
    ShowActive(frame);
    frame.m_pViewPanel->hide();
    frame.m_pViewPanelPage2->show();
    frame.Form().m_pCalculateBtn->setFocus();
    EXPECT_TRUE(frame.HandleShortcutKey(Alt(1)));
    EXPECT_EQ(Focused(), frame.Form().m_pCalculateBtn);
}

TEST(EditFrames, NumericalAlt6And7ReachTheUnitWhereShortAnswerHasNone)
{
    TCNumericalEditAnswerFrame numerical;
    ShowActive(numerical);
    EXPECT_TRUE(numerical.HandleShortcutKey(Alt(6)));
    EXPECT_EQ(Focused(), numerical.Form().m_pUnitValueStr);
    EXPECT_TRUE(numerical.HandleShortcutKey(Alt(7)));
    EXPECT_EQ(Focused(), numerical.Form().m_pUnitDescriptionStr);
    EXPECT_TRUE(numerical.HandleShortcutKey(Alt(2)));
    EXPECT_EQ(Focused(), numerical.Form().m_pAnswer2);
    numerical.hide();

    TCShortAnswerEditAnswerFrame shortAnswer;
    ShowActive(shortAnswer);
    shortAnswer.Form().m_pAnswer1->setFocus();
    EXPECT_FALSE(shortAnswer.HandleShortcutKey(Alt(6)));
    EXPECT_EQ(Focused(), shortAnswer.Form().m_pAnswer1);
}

TEST(EditFrames, MatchingAndPlainChoiceKeys)
{
    TCMatchingEditAnswerFrame matching;
    ShowActive(matching);
    EXPECT_TRUE(matching.HandleShortcutKey(Ctrl(5)));
    EXPECT_EQ(Focused(), matching.Form().m_pAnswer5Str);
    EXPECT_TRUE(matching.HandleShortcutKey(Alt(2)));
    EXPECT_EQ(Focused(), matching.Form().m_pQuestion2RVE);
    matching.hide();

    TCMultiChoiceV3EditAnswerFrame plain;
    ShowActive(plain);
    plain.Form().m_pAnswer1RVE->setFocus();
    EXPECT_TRUE(plain.HandleShortcutKey(Ctrl(2)));
    EXPECT_TRUE(plain.Form().m_pGrade2CheckBox->isChecked());
    EXPECT_EQ(Focused(), plain.Form().m_pAnswer1RVE);
    EXPECT_TRUE(plain.HandleShortcutKey(Ctrl(2)));
    EXPECT_FALSE(plain.Form().m_pGrade2CheckBox->isChecked());
}

// Alt+0 and keypad digits go to no frame, whatever it is.
TEST(EditFrames, ZeroAndKeypadDigitsAreRefusedByEveryFrame)
{
    lf::test::FakeMediaBackend media;
    CPrefs prefs;
    std::vector<std::unique_ptr<TCBaseEditAnswerFrame>> frames;
    frames.push_back(std::make_unique<TCTrueFalseEditAnswerFrame>());
    frames.push_back(std::make_unique<TCEssayEditFeedbackFrame>());
    frames.push_back(std::make_unique<TCShortAnswerEditAnswerFrame>());
    frames.push_back(std::make_unique<TCMatchingEditAnswerFrame>());
    frames.push_back(std::make_unique<TCMultiChoiceEditAnswerFrame>());
    frames.push_back(std::make_unique<TCNumericalEditAnswerFrame>());
    frames.push_back(std::make_unique<TCRandomShortAnswerMatchingEditAnswerFrame>());
    frames.push_back(std::make_unique<TCCalculatedEditAnswerFrame>());
    frames.push_back(std::make_unique<TCHeaderEditQuestionFrame>(prefs));
    frames.push_back(std::make_unique<TCMultiChoiceEditFeedbackFrame>());
    frames.push_back(std::make_unique<TCTrueFalseEditFeedbackFrame>());
    frames.push_back(std::make_unique<TCMultiChoiceV3EditAnswerFrame>());
    frames.push_back(std::make_unique<TCPlayerFrame>());
    for (auto& frame : frames)
        for (std::uint16_t key : {0x30, 0x60, 0x61, 0x65, 0x69})
        {
            EXPECT_FALSE(frame->HandleShortcutKey({1, 0, 0, key}))
                << frame->objectName().toStdString() << key;
            EXPECT_FALSE(frame->HandleShortcutKey({0, 1, 0, key}))
                << frame->objectName().toStdString() << key;
        }
}

struct PanelCase
{
    const char* name;
    std::function<std::unique_ptr<TCBaseEditAnswerFrame>(CPrefs&)> make;
    int height;
    int richEditors;
};

TEST(EditFrames, PanelHeightsAndRichEditors)
{
    lf::test::FakeMediaBackend media;
    CPrefs prefs;
    const std::vector<PanelCase> cases = {
        {"true/false", [](CPrefs&) { return std::make_unique<TCTrueFalseEditAnswerFrame>(); }, 281, 0},
        {"essay feedback", [](CPrefs&) { return std::make_unique<TCEssayEditFeedbackFrame>(); }, 108, 1},
        {"short answer", [](CPrefs&) { return std::make_unique<TCShortAnswerEditAnswerFrame>(); }, 615, 5},
        {"matching", [](CPrefs&) { return std::make_unique<TCMatchingEditAnswerFrame>(); }, 550, 5},
        {"multiple choice", [](CPrefs&) { return std::make_unique<TCMultiChoiceEditAnswerFrame>(); }, 787,
         10},
        {"numerical", [](CPrefs&) { return std::make_unique<TCNumericalEditAnswerFrame>(); }, 667, 5},
        {"random matching",
         [](CPrefs&) { return std::make_unique<TCRandomShortAnswerMatchingEditAnswerFrame>(); }, 38, 0},
        {"calculated", [](CPrefs&) { return std::make_unique<TCCalculatedEditAnswerFrame>(); }, 297, 1},
        {"header", [](CPrefs& p) { return std::make_unique<TCHeaderEditQuestionFrame>(p); }, 98, 0},
        {"choice feedback", [](CPrefs&) { return std::make_unique<TCMultiChoiceEditFeedbackFrame>(); }, 173,
         3},
        {"true/false feedback", [](CPrefs&) { return std::make_unique<TCTrueFalseEditFeedbackFrame>(); }, 169,
         2},
        {"plain choice", [](CPrefs&) { return std::make_unique<TCMultiChoiceV3EditAnswerFrame>(); }, 504, 5},
        {"player", [](CPrefs&) { return std::make_unique<TCPlayerFrame>(); }, 41, 0},
    };
    for (const PanelCase& row : cases)
    {
        const auto frame = row.make(prefs);
        frame->resize(430, 1000);
        frame->show();
        QApplication::processEvents();
        EXPECT_EQ(frame->m_pViewPanel->height(), row.height) << row.name;
        EXPECT_GE(frame->m_pViewPanel->width(), 430) << row.name;
        EXPECT_EQ(static_cast<int>(frame->RichEditors().size()), row.richEditors) << row.name;
        for (lf::qt::RichViewEdit* editor : frame->RichEditors())
        {
            EXPECT_FALSE(editor->isReadOnly()) << row.name;
            EXPECT_EQ(editor->Document().styles, lf::RichStyleSheet::Default()) << row.name;
        }
    }
}

TEST(EditFrames, FormDefaultsUntilTheMainWindowFillsThem)
{
    CPrefs prefs;
    TCMultiChoiceEditAnswerFrame choice;
    EXPECT_EQ(choice.Form().m_pLetMultipleAnswersComboBox->currentText(), "One answer only");
    EXPECT_EQ(choice.Form().m_pNumberTypeComboBox->currentText(), "a., b., c., ...");
    EXPECT_EQ(choice.Form().m_pShuffleCheck->text(), "Shuffle the choices");
    EXPECT_EQ(choice.Form().m_pChoiceGroup5->title(), "Choice 5 ");
    EXPECT_FALSE(choice.Form().m_pQuestionGroupDec->isEnabled());
    EXPECT_TRUE(choice.Form().m_pQuestionGroupAdd->isEnabled());
    EXPECT_FALSE(choice.Form().m_pQuestionGroupDelete->isEnabled());
    EXPECT_FALSE(choice.Form().m_pQuestionGroupInc->isEnabled());

    TCShortAnswerEditAnswerFrame shortAnswer;
    EXPECT_EQ(shortAnswer.Form().m_pCaseSensitivityComboBox->currentText(), "No, case is unimportant");

    TCCalculatedEditAnswerFrame calculated;
    auto& calc = calculated.Form();
    EXPECT_EQ(calc.m_pToleranceStr->text(), "0.01");
    EXPECT_EQ(calc.m_pToleranceTypeDropdownList->itemText(2), "Geometric ");
    EXPECT_EQ(calc.m_pCorrctAnswerShowsDropdownList->currentText(), "2");
    EXPECT_EQ(calc.m_pFormatDropdownList->currentText(), "decimals");
    EXPECT_TRUE(calc.m_pFormatDropdownList->isEditable());
    EXPECT_EQ(calc.m_pCountItemsList->count(), 11);
    EXPECT_EQ(calc.m_pCountItemsList->currentText(), "1");
    EXPECT_EQ(calc.m_pVariablesGrid->columnCount(), 2);
    EXPECT_EQ(calc.m_pVariablesGrid->rowCount(), 4);
    EXPECT_EQ(calc.m_pCalculateBtn->text(), "Calulate");
    EXPECT_TRUE(calculated.m_pViewPanelPage2->isHidden());
    EXPECT_TRUE(calc.m_pAnswerPageButtons->isHidden());

    TCRandomShortAnswerMatchingEditAnswerFrame random;
    EXPECT_EQ(random.Form().m_pQuestionNumberComboBox->count(), 9);
    EXPECT_EQ(random.Form().m_pQuestionNumberComboBox->currentText(), "2");

    TCHeaderEditQuestionFrame header(prefs);
    EXPECT_EQ(header.Form().m_pDefaultQuestionGrade->text(), "1");
    EXPECT_EQ(header.Form().m_pPenaltyFactor->text(), "0.1");
    EXPECT_EQ(header.m_RecordPrefix, "q");
    EXPECT_EQ(header.m_RecordExt, ".wav");
}

} // namespace
