// "Score": the modal dialog that closes a study session. It shows the open book's score report and asks
// what comes next: Home (close the book), Continue, or the next phase of the cycle with all questions or
// the incorrect ones. Its modal result is the whole answer.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"
#include "mainwindow/rules/ScoreChart.h"
#include "platform/richtext/RichDocument.h"

#include <memory>

class CDataStorage;
class QWidget;
namespace lf::qt
{
class RichView;
}

namespace Ui
{
class Tm_ScoreDlg;
}

class Tm_ScoreDlg : public TFormDialog
{
    Q_OBJECT

public:
    using SOneBarInfo = ::SOneBarInfo;

    // Modal results; the close box answers Continue.
    static constexpr int kHome = 1;
    static constexpr int kContinue = 2;
    static constexpr int kIncorrect = 5;
    static constexpr int kAll = 8;

    Tm_ScoreDlg(CDataStorage& storage, QWidget* owner = nullptr);
    ~Tm_ScoreDlg() override;

    // The buttons first, then the report.
    void FormShow() override;
    // Captions and visibility of the buttons by phase, mode and score.
    void UpdateButtons();
    // Fills the report (or the error page) and shows it read-only.
    void BuildScoreView();
    // Print Score: the report goes to the print preview.
    void m_pPrintBtnClick();

    const lf::RichDocument& Report() const { return m_Report; }

private:
    std::unique_ptr<Ui::Tm_ScoreDlg> ui;
    CDataStorage& m_Storage;
    lf::RichDocument m_Report;
    lf::qt::RichView* m_pScoreRichViewEdit = nullptr; // the report, owned by the form
};
