#include "editing/frames/Feedbackframes.h"

#include "ui_Essayeditfeedbackframe.h"
#include "ui_Multichoiceeditfeedbackframe.h"
#include "ui_Truefalseeditfeedbackframe.h"

TCEssayEditFeedbackFrame::TCEssayEditFeedbackFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::EssayFeedback, parent),
      ui(std::make_unique<Ui::TCEssayEditFeedbackFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
}

TCEssayEditFeedbackFrame::~TCEssayEditFeedbackFrame() = default;

QWidget* TCEssayEditFeedbackFrame::AltTarget(int digit) const
{
    return digit == 2 ? ui->m_pFeedBackRVE : nullptr;
}

TCMultiChoiceEditFeedbackFrame::TCMultiChoiceEditFeedbackFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::MultiChoiceFeedback, parent),
      ui(std::make_unique<Ui::TCMultiChoiceEditFeedbackFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
}

TCMultiChoiceEditFeedbackFrame::~TCMultiChoiceEditFeedbackFrame() = default;

QWidget* TCMultiChoiceEditFeedbackFrame::AltTarget(int digit) const
{
    switch (digit)
    {
    case 2:
        return ui->m_pOverallFeedback1RVE;
    case 3:
        return ui->m_pOverallFeedback2RVE;
    case 4:
        return ui->m_pOverallFeedback3RVE;
    default:
        return nullptr;
    }
}

TCTrueFalseEditFeedbackFrame::TCTrueFalseEditFeedbackFrame(QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::TrueFalseFeedback, parent),
      ui(std::make_unique<Ui::TCTrueFalseEditFeedbackFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
}

TCTrueFalseEditFeedbackFrame::~TCTrueFalseEditFeedbackFrame() = default;

QWidget* TCTrueFalseEditFeedbackFrame::AltTarget(int digit) const
{
    return digit == 2 ? ui->m_pFeedBackForTrueRVE : digit == 3 ? ui->m_pFeedBackForFalseRVE : nullptr;
}
