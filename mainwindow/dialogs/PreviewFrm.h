// "Print Preview": the pages of a formatted document as they will print, with page moves, a zoom box,
// Print and Save (as an RTF or text file). The print command and the score dialog share it; RunPrintPreview
// takes a formatted document through the preview, the print dialog and the printer.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QPrinter;
class QPrintPreviewWidget;
namespace lf
{
class RichDocument;
}
namespace lf::qt
{
class RichPrint;
}

namespace Ui
{
class Tm_pPreviewFrm;
}

class Tm_pPreviewFrm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kPrint = 1;
    static constexpr int kCancel = 2;
    // The private message that maximises the window once it shows.
    static constexpr int kMsgMaximize = 1124;

    // booksFolder: where the save dialog opens.
    explicit Tm_pPreviewFrm(const std::string& booksFolder, QWidget* owner = nullptr);
    ~Tm_pPreviewFrm() override;

    // The formatted engine and its printer (borrowed): the preview draws their pages.
    void SetPrint(lf::qt::RichPrint* engine, QPrinter* printer);
    // The document that Save writes (borrowed); null: Save only logs.
    void SetRichView(const lf::RichDocument* doc) { m_pRichView = doc; }

    void FormShow();
    void m_pPrintBtnClick() { done(kPrint); }
    void m_pCancelBtnClick() { done(kCancel); }
    void m_pSaveBtnClick();
    void m_FirstBtnClick();
    void m_PrevBtnClick();
    void m_NextBtnClick();
    void m_LastBtnClick();
    // Applies the zoom box's text: "Page width", "Full page" or a percentage from 10 to 500.
    void cmbExit();
    // The zoom box shows the preview's zoom.
    void m_PreviewRVZoomChanged();
    // Jumps to the page typed into the page edit.
    void JumpToTypedPage();

    int CurrentPage() const { return m_CurrentPage; }
    int PageCount() const;
    QPrintPreviewWidget* Preview() const { return m_PreviewRV; }

    void reject() override { done(kCancel); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GoToPage(int page);
    void UpdatePageControls();

    std::unique_ptr<Ui::Tm_pPreviewFrm> ui;
    std::string m_BooksFolder;
    QPrintPreviewWidget* m_PreviewRV = nullptr; // owned by the form
    lf::qt::RichPrint* m_pPrint = nullptr;
    const lf::RichDocument* m_pRichView = nullptr;
    int m_CurrentPage = 1;
};

// After the engine has formatted its pages: with at least one page, the preview; on its Print answer the
// print dialog (pages 1 to the count, never a selection) and the chosen pages printed with the title.
// A document of no page shows nothing. doc is what the preview's Save writes (may be null). Returns
// true when pages went to the printer.
bool RunPrintPreview(QWidget* owner, lf::qt::RichPrint& engine, QPrinter& printer,
                     const lf::RichDocument* doc, const std::string& booksFolder, const std::string& title);
