// The frames of the explanation pane in the Moodle question style: the essay's feedback, the overall
// feedbacks of multiple choice and the two feedbacks of true/false. Alt+1 stays the main editor's key
// there, so their editors start at Alt+2.
#pragma once

#include "editing/frames/Baseeditanswerframe.h"

#include <memory>

namespace Ui
{
class TCEssayEditFeedbackFrame;
class TCMultiChoiceEditFeedbackFrame;
class TCTrueFalseEditFeedbackFrame;
} // namespace Ui

class TCEssayEditFeedbackFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCEssayEditFeedbackFrame(QWidget* parent = nullptr);
    ~TCEssayEditFeedbackFrame() override;
    Ui::TCEssayEditFeedbackFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCEssayEditFeedbackFrame> ui;
};

class TCMultiChoiceEditFeedbackFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCMultiChoiceEditFeedbackFrame(QWidget* parent = nullptr);
    ~TCMultiChoiceEditFeedbackFrame() override;
    Ui::TCMultiChoiceEditFeedbackFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCMultiChoiceEditFeedbackFrame> ui;
};

class TCTrueFalseEditFeedbackFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCTrueFalseEditFeedbackFrame(QWidget* parent = nullptr);
    ~TCTrueFalseEditFeedbackFrame() override;
    Ui::TCTrueFalseEditFeedbackFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCTrueFalseEditFeedbackFrame> ui;
};
