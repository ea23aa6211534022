// The borderless pop-up list from which the user picks one text: the partner of a matching answer in the
// Test phase. Rows wrap their text and are as tall as it needs; Enter, Space or a double-click choose the
// selected row (result 1), Esc cancels with an empty choice (result 2).
#pragma once

#include "model/support/Array.h"

#include <QDialog>

#include <memory>
#include <string>

class QListWidgetItem;

namespace Ui
{
class Tm_pSelectorListFrm;
}

// Colour of the selected row, RGB(255, 222, 102).
inline constexpr unsigned kSelectorSelectedRgb = 0xFFDE66;

class Tm_pSelectorListFrm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kChosen = 1;
    static constexpr int kCancelled = 2;

    explicit Tm_pSelectorListFrm(QWidget* parent = nullptr);
    ~Tm_pSelectorListFrm() override;

    // The caller's texts (not owned; they must outlive the showing); forgotten when the window hides.
    void SetChoices(const CStringArray* choices) { m_pChoices = choices; }
    const std::string& GetChoice() const { return m_Choice; }

    // The list's font and rows from the choices, the first row selected.
    void FormShow();
    void FormHide();
    // Takes the selected row as the choice and closes with 1; nothing without a selected row.
    void ChooseSelected();
    // Empties the choice and closes with 2.
    void Cancel();
    // Height of a row of that text laid out with word wrap in the list's width less 8 pixels, plus 3.
    int MeasureRow(const std::string& text) const;

    // Enter, Space and Esc as the window sees them before the list; false for any other key.
    bool HandleKey(int key);
    QWidget* ListBox() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnRowClicked(QListWidgetItem* row);
    void UpdateRowHeights();

    std::unique_ptr<Ui::Tm_pSelectorListFrm> ui;
    const CStringArray* m_pChoices = nullptr;
    std::string m_Choice;
};
