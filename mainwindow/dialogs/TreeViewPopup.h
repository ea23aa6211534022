// The book chooser of the session panel: a combo box that drops down the book tree instead of a list,
// and the borderless popup window holding that tree.
#pragma once

#include "mainwindow/rules/BookTree.h"

#include <QComboBox>
#include <QWidget>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

class TTreeViewPopupForm final : public QWidget
{
    Q_OBJECT

public:
    explicit TTreeViewPopupForm(QWidget* parent);

    QTreeWidget* m_pTreeView = nullptr;

    // Replaces the tree by the nodes (no node selected).
    void Fill(const CBookTree& tree);
    void Clear();
    // The selected node's text, data and picture; false when none is selected.
    bool GetSelectedNode(std::string& text, std::int32_t& data, int& image) const;
    // Selects the node with that data value and picture (for keyboard use and tests); false when absent.
    bool SelectNode(std::int32_t data, int image);

    // Runs when the window closes (hides), whatever closed it.
    std::function<void()> OnClose;

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnItemChosen(QTreeWidgetItem* item);
};

class TMyComboBox final : public QComboBox
{
    Q_OBJECT

public:
    explicit TMyComboBox(QWidget* parent);

    // The popup shown instead of the combo's own list; not owned.
    TTreeViewPopupForm* m_pTreeForm = nullptr;

    void showPopup() override;
    void hidePopup() override;

protected:
    // A click on the read-only text opens the tree as the arrow does.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
