// The frames of the answers pane, one per kind of question (two for multiple choice: the Moodle style
// with grades and feedback, and the plain style with a "correct" box per choice). Their controls keep
// the names the main window reads and writes them by; Form() gives them.
#pragma once

#include "editing/frames/Baseeditanswerframe.h"

#include <memory>

namespace Ui
{
class TCTrueFalseEditAnswerFrame;
class TCShortAnswerEditAnswerFrame;
class TCMatchingEditAnswerFrame;
class TCMultiChoiceEditAnswerFrame;
class TCNumericalEditAnswerFrame;
class TCRandomShortAnswerMatchingEditAnswerFrame;
class TCCalculatedEditAnswerFrame;
class TCMultiChoiceV3EditAnswerFrame;
} // namespace Ui

class TCTrueFalseEditAnswerFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCTrueFalseEditAnswerFrame(QWidget* parent = nullptr);
    ~TCTrueFalseEditAnswerFrame() override;
    Ui::TCTrueFalseEditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;
    void RunCommand(EFrameCommand command, int slot) override;

private:
    std::unique_ptr<Ui::TCTrueFalseEditAnswerFrame> ui;
};

class TCShortAnswerEditAnswerFrame final : public TCGradedSlotsFrame
{
    Q_OBJECT

public:
    explicit TCShortAnswerEditAnswerFrame(QWidget* parent = nullptr);
    ~TCShortAnswerEditAnswerFrame() override;
    Ui::TCShortAnswerEditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCShortAnswerEditAnswerFrame> ui;
};

class TCMatchingEditAnswerFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCMatchingEditAnswerFrame(QWidget* parent = nullptr);
    ~TCMatchingEditAnswerFrame() override;
    Ui::TCMatchingEditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;
    void RunCommand(EFrameCommand command, int slot) override;

private:
    std::unique_ptr<Ui::TCMatchingEditAnswerFrame> ui;
};

class TCMultiChoiceEditAnswerFrame final : public TCGradedSlotsFrame
{
    Q_OBJECT

public:
    explicit TCMultiChoiceEditAnswerFrame(QWidget* parent = nullptr);
    ~TCMultiChoiceEditAnswerFrame() override;
    Ui::TCMultiChoiceEditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCMultiChoiceEditAnswerFrame> ui;
};

class TCNumericalEditAnswerFrame final : public TCGradedSlotsFrame
{
    Q_OBJECT

public:
    explicit TCNumericalEditAnswerFrame(QWidget* parent = nullptr);
    ~TCNumericalEditAnswerFrame() override;
    Ui::TCNumericalEditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCNumericalEditAnswerFrame> ui;
};

class TCRandomShortAnswerMatchingEditAnswerFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCRandomShortAnswerMatchingEditAnswerFrame(QWidget* parent = nullptr);
    ~TCRandomShortAnswerMatchingEditAnswerFrame() override;
    Ui::TCRandomShortAnswerMatchingEditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;

private:
    std::unique_ptr<Ui::TCRandomShortAnswerMatchingEditAnswerFrame> ui;
};

// Two pages: the answer with its grade, tolerance, format and unit, and (after Next Page) the variables
// grid with the preview of calculated answers. The main window turns the pages.
class TCCalculatedEditAnswerFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCCalculatedEditAnswerFrame(QWidget* parent = nullptr);
    ~TCCalculatedEditAnswerFrame() override;
    Ui::TCCalculatedEditAnswerFrame& Form() const { return *ui; }
    QWidget* m_pViewPanelPage2 = nullptr;

protected:
    QWidget* AltTarget(int digit) const override;
    void RunCommand(EFrameCommand command, int slot) override;

private:
    std::unique_ptr<Ui::TCCalculatedEditAnswerFrame> ui;
};

class TCMultiChoiceV3EditAnswerFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    explicit TCMultiChoiceV3EditAnswerFrame(QWidget* parent = nullptr);
    ~TCMultiChoiceV3EditAnswerFrame() override;
    Ui::TCMultiChoiceV3EditAnswerFrame& Form() const { return *ui; }

protected:
    QWidget* AltTarget(int digit) const override;
    void RunCommand(EFrameCommand command, int slot) override;

private:
    std::unique_ptr<Ui::TCMultiChoiceV3EditAnswerFrame> ui;
};
