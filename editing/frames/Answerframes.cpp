#include "editing/frames/Answerframes.h"

#include "ui_Calculatededitanswerframe.h"
#include "ui_Matchingeditanswerframe.h"
#include "ui_Multichoiceeditanswerframe.h"
#include "ui_Multichoicev3editanswerframe.h"
#include "ui_Numericaleditanswerframe.h"
#include "ui_Randomshortanswermatchingeditanswerframe.h"
#include "ui_Shortanswereditanswerframe.h"
#include "ui_Truefalseeditanswerframe.h"

#include <initializer_list>

namespace
{

// The control of digit n among the listed ones (1 is the first); nullptr past the end.
QWidget* Nth(std::initializer_list<QWidget*> controls, int digit)
{
    if (digit < 1 || digit > static_cast<int>(controls.size()))
        return nullptr;
    return *(controls.begin() + (digit - 1));
}

} // namespace

// --- true/false ---

TCTrueFalseEditAnswerFrame::TCTrueFalseEditAnswerFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::TrueFalseAnswer, parent),
      ui(std::make_unique<Ui::TCTrueFalseEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
}

TCTrueFalseEditAnswerFrame::~TCTrueFalseEditAnswerFrame() = default;

QWidget* TCTrueFalseEditAnswerFrame::AltTarget(int digit) const
{
    return Nth({ui->m_pTrueFalseComboBox}, digit);
}

void TCTrueFalseEditAnswerFrame::RunCommand(EFrameCommand command, int)
{
    if (command != EFrameCommand::SwitchTrueFalse)
        return;
    ui->m_pTrueFalseComboBox->setCurrentIndex(
        SwitchedTrueFalseIndex(ui->m_pTrueFalseComboBox->currentIndex()));
    FocusControl(ui->m_pTrueFalseComboBox);
}

// --- short answer ---

TCShortAnswerEditAnswerFrame::TCShortAnswerEditAnswerFrame(QWidget* parent)
    : TCGradedSlotsFrame(EEditFrame::ShortAnswer, parent),
      ui(std::make_unique<Ui::TCShortAnswerEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    TakeGradeSlots(*ui, /*withPenalties=*/false);
}

TCShortAnswerEditAnswerFrame::~TCShortAnswerEditAnswerFrame() = default;

QWidget* TCShortAnswerEditAnswerFrame::AltTarget(int digit) const
{
    return Nth({ui->m_pAnswer1, ui->m_pAnswer2, ui->m_pAnswer3, ui->m_pAnswer4, ui->m_pAnswer5}, digit);
}

// --- matching ---

TCMatchingEditAnswerFrame::TCMatchingEditAnswerFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::Matching, parent),
      ui(std::make_unique<Ui::TCMatchingEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    SetUpPageButtons(ui->m_pQuestionGroupDec, ui->m_pQuestionGroupAdd, ui->m_pQuestionGroupDelete,
                     ui->m_pQuestionGroupInc);
}

TCMatchingEditAnswerFrame::~TCMatchingEditAnswerFrame() = default;

QWidget* TCMatchingEditAnswerFrame::AltTarget(int digit) const
{
    return Nth({ui->m_pQuestion1RVE, ui->m_pQuestion2RVE, ui->m_pQuestion3RVE, ui->m_pQuestion4RVE,
                ui->m_pQuestion5RVE},
               digit);
}

void TCMatchingEditAnswerFrame::RunCommand(EFrameCommand command, int slot)
{
    if (command == EFrameCommand::FocusAnswerText)
        FocusControl(Nth(
            {ui->m_pAnswer1Str, ui->m_pAnswer2Str, ui->m_pAnswer3Str, ui->m_pAnswer4Str, ui->m_pAnswer5Str},
            slot));
}

// --- multiple choice with grades ---

TCMultiChoiceEditAnswerFrame::TCMultiChoiceEditAnswerFrame(QWidget* parent)
    : TCGradedSlotsFrame(EEditFrame::MultiChoice, parent),
      ui(std::make_unique<Ui::TCMultiChoiceEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    ui->m_pLetMultipleAnswersComboBox->setCurrentIndex(1); // "One answer only"
    TakeGradeSlots(*ui, /*withPenalties=*/true);
}

TCMultiChoiceEditAnswerFrame::~TCMultiChoiceEditAnswerFrame() = default;

QWidget* TCMultiChoiceEditAnswerFrame::AltTarget(int digit) const
{
    return Nth(
        {ui->m_pAnswer1RVE, ui->m_pAnswer2RVE, ui->m_pAnswer3RVE, ui->m_pAnswer4RVE, ui->m_pAnswer5RVE},
        digit);
}

// --- numerical ---

TCNumericalEditAnswerFrame::TCNumericalEditAnswerFrame(QWidget* parent)
    : TCGradedSlotsFrame(EEditFrame::Numerical, parent),
      ui(std::make_unique<Ui::TCNumericalEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    TakeGradeSlots(*ui, /*withPenalties=*/false);
    SetUpPageButtons(ui->m_pUnitNumberDec, ui->m_pUnitNumberAdd, ui->m_pUnitNumberDelete,
                     ui->m_pUnitNumberInc);
}

TCNumericalEditAnswerFrame::~TCNumericalEditAnswerFrame() = default;

QWidget* TCNumericalEditAnswerFrame::AltTarget(int digit) const
{
    return Nth({ui->m_pAnswer1, ui->m_pAnswer2, ui->m_pAnswer3, ui->m_pAnswer4, ui->m_pAnswer5,
                ui->m_pUnitValueStr, ui->m_pUnitDescriptionStr},
               digit);
}

// --- random short-answer matching ---

TCRandomShortAnswerMatchingEditAnswerFrame::TCRandomShortAnswerMatchingEditAnswerFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::RandomShortAnswerMatching, parent),
      ui(std::make_unique<Ui::TCRandomShortAnswerMatchingEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
}

TCRandomShortAnswerMatchingEditAnswerFrame::~TCRandomShortAnswerMatchingEditAnswerFrame() = default;

QWidget* TCRandomShortAnswerMatchingEditAnswerFrame::AltTarget(int digit) const
{
    return Nth({ui->m_pQuestionNumberComboBox}, digit);
}

// --- calculated ---

TCCalculatedEditAnswerFrame::TCCalculatedEditAnswerFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::Calculated, parent),
      ui(std::make_unique<Ui::TCCalculatedEditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    m_pViewPanelPage2 = ui->m_pViewPanelPage2;
    m_pViewPanelPage2->hide();
    SetUpGradeSlot({ui->m_pGradeComboBox, ui->m_pGrade100Btn, ui->m_pGradeNoneBtn}, /*withPenalties=*/false,
                   kGradeIndex100);
    ui->m_pCorrctAnswerShowsDropdownList->setCurrentIndex(2);
    // One answer only: the answer page buttons are there for the main window's paging but never shown.
    SetUpPageButtons(ui->m_pQuestionGroupDec, ui->m_pQuestionGroupAdd, ui->m_pQuestionGroupDelete,
                     ui->m_pQuestionGroupInc);
    ui->m_pAnswerPageButtons->hide();
    SetUpPageButtons(ui->m_pUnitNumberDec, ui->m_pUnitNumberAdd, ui->m_pUnitNumberDelete,
                     ui->m_pUnitNumberInc);
    ui->m_pVariablesGrid->horizontalHeader()->setDefaultSectionSize(90);
    ui->m_pVariablesGrid->verticalHeader()->setDefaultSectionSize(18);
}

TCCalculatedEditAnswerFrame::~TCCalculatedEditAnswerFrame() = default;

QWidget* TCCalculatedEditAnswerFrame::AltTarget(int digit) const
{
    return Nth({ui->m_pAnswerFormula, ui->m_pGradeComboBox, ui->m_pToleranceStr,
                ui->m_pToleranceTypeDropdownList, ui->m_pCorrctAnswerShowsDropdownList,
                ui->m_pFormatDropdownList, ui->m_pAnswerFeedbackRVE, ui->m_pUnitValueStr,
                ui->m_pUnitDescriptionStr},
               digit);
}

void TCCalculatedEditAnswerFrame::RunCommand(EFrameCommand command, int)
{
    // The grade keys leave the focus where it is.
    if (command == EFrameCommand::GradeNone)
        SetGrade(ui->m_pGradeComboBox, kGradeIndexNone);
    else if (command == EFrameCommand::Grade100)
        SetGrade(ui->m_pGradeComboBox, kGradeIndex100);
}

// --- multiple choice, plain style ---

TCMultiChoiceV3EditAnswerFrame::TCMultiChoiceV3EditAnswerFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::MultiChoiceV3, parent),
      ui(std::make_unique<Ui::TCMultiChoiceV3EditAnswerFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    SetUpPageButtons(ui->m_pQuestionGroupDec, ui->m_pQuestionGroupAdd, ui->m_pQuestionGroupDelete,
                     ui->m_pQuestionGroupInc);
}

TCMultiChoiceV3EditAnswerFrame::~TCMultiChoiceV3EditAnswerFrame() = default;

QWidget* TCMultiChoiceV3EditAnswerFrame::AltTarget(int digit) const
{
    return Nth(
        {ui->m_pAnswer1RVE, ui->m_pAnswer2RVE, ui->m_pAnswer3RVE, ui->m_pAnswer4RVE, ui->m_pAnswer5RVE},
        digit);
}

void TCMultiChoiceV3EditAnswerFrame::RunCommand(EFrameCommand command, int slot)
{
    if (command != EFrameCommand::FlipCorrect)
        return;
    QCheckBox* boxes[] = {ui->m_pGrade1CheckBox, ui->m_pGrade2CheckBox, ui->m_pGrade3CheckBox,
                          ui->m_pGrade4CheckBox, ui->m_pGrade5CheckBox};
    if (slot >= 1 && slot <= 5)
        boxes[slot - 1]->setChecked(!boxes[slot - 1]->isChecked());
}
