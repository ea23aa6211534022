// The Books Filter dialog: the books of the book list with their dates and folder, restricted to those
// used or changed in the last days and sorted by a column; Done picks the selected book.
#pragma once

#include "model/items/Records.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui
{
class Tm_BooksFilterFrm;
}
class CBookList;
class QComboBox;

// A stored date and time in the system's short format, as the book and backup lists show them.
QString SystemDateTimeText(TDateTime value);

class Tm_BooksFilterFrm final : public QDialog
{
    Q_OBJECT

public:
    Tm_BooksFilterFrm(CBookList& books, QWidget* parent);
    ~Tm_BooksFilterFrm() override;

    // Every showing: the always-shown marks are cleared, so that books opened earlier obey the filter
    // again; then the controls and rows. The caller runs it before the dialog is shown modally.
    void FormShow();
    void FillControls();
    void ApplyFilter();
    void m_pEnableFilterChekBoxClick();
    void m_pFilterListChange(int position);
    void m_pPeriodListChange(int position);
    void m_pBooksListViewColumnClick(int column);
    void m_pBooksListViewDblClick();

    // The book-list index of the selected row; -1 when none is selected.
    int SelectedBookIndex() const;
    Ui::Tm_BooksFilterFrm& Form() { return *ui; }

private:
    void OnListChange(QComboBox* list);

    std::unique_ptr<Ui::Tm_BooksFilterFrm> ui;
    CBookList& m_Books;
    // Set until the first showing has filled the controls; control events change nothing meanwhile.
    bool m_bFilling = true;
};
