#include "mainwindow/dialogs/TreeViewPopup.h"

#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

using lf::qt::ToQString;
using lf::qt::ToStdString;

namespace
{

constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

QIcon NodeIcon(int image)
{
    switch (image)
    {
    case kCreateNodeImage:
        return QIcon::fromTheme("document-new");
    case kBrowseNodeImage:
        return QIcon::fromTheme("document-open");
    case kFolderNodeImage:
        return QIcon::fromTheme("folder");
    case kExternalNodeImage:
        return QIcon::fromTheme("folder-remote", QIcon::fromTheme("folder"));
    default:
        return QIcon::fromTheme("x-office-document", QIcon::fromTheme("text-x-generic"));
    }
}

void AddNodes(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<SBookTreeNode>& nodes)
{
    for (const SBookTreeNode& node : nodes)
    {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, ToQString(node.text));
        item->setData(0, kDataRole, node.data);
        item->setData(0, kImageRole, node.image);
        item->setIcon(0, NodeIcon(node.image));
        AddNodes(tree, item, node.children);
    }
}

QTreeWidgetItem* FindItem(QTreeWidgetItem* item, std::int32_t data, int image)
{
    if (item->data(0, kDataRole).toInt() == data && item->data(0, kImageRole).toInt() == image)
        return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem* found = FindItem(item->child(i), data, image))
            return found;
    return nullptr;
}

} // namespace

TTreeViewPopupForm::TTreeViewPopupForm(QWidget* parent) : QWidget(parent, Qt::Popup)
{
    setObjectName("m_pTreeViewPopupForm");
    resize(283, 209);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pTreeView = new QTreeWidget(this);
    m_pTreeView->setObjectName("m_pTreeView");
    m_pTreeView->setHeaderHidden(true);
    m_pTreeView->setIndentation(19);
    m_pTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_pTreeView);
    // A click on a book, the create or the browse node picks it; folders only open and close.
    connect(m_pTreeView, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnItemChosen(item); });
    connect(m_pTreeView, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OnItemChosen(item); });
    // Switching to another application closes the tree, as a click elsewhere does.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state)
            {
                if (state != Qt::ApplicationActive && isVisible())
                    close();
            });
}

void TTreeViewPopupForm::Fill(const CBookTree& tree)
{
    m_pTreeView->clear();
    AddNodes(m_pTreeView, nullptr, tree);
    m_pTreeView->expandAll();
    m_pTreeView->setCurrentItem(nullptr);
    m_pTreeView->clearSelection();
}

void TTreeViewPopupForm::Clear()
{
    m_pTreeView->clear();
}

bool TTreeViewPopupForm::GetSelectedNode(std::string& text, std::int32_t& data, int& image) const
{
    const QList<QTreeWidgetItem*> selected = m_pTreeView->selectedItems();
    if (selected.isEmpty())
        return false;
    const QTreeWidgetItem* item = selected.front();
    text = ToStdString(item->text(0));
    data = item->data(0, kDataRole).toInt();
    image = item->data(0, kImageRole).toInt();
    return true;
}

bool TTreeViewPopupForm::SelectNode(std::int32_t data, int image)
{
    for (int i = 0; i < m_pTreeView->topLevelItemCount(); ++i)
        if (QTreeWidgetItem* item = FindItem(m_pTreeView->topLevelItem(i), data, image))
        {
            m_pTreeView->clearSelection();
            m_pTreeView->setCurrentItem(item);
            item->setSelected(true);
            return true;
        }
    return false;
}

void TTreeViewPopupForm::OnItemChosen(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (item->data(0, kImageRole).toInt() > kBrowseNodeImage)
    {
        // Folders only open and close; the tree stays up.
        item->setExpanded(!item->isExpanded());
        return;
    }
    m_pTreeView->clearSelection();
    item->setSelected(true);
    close();
}

void TTreeViewPopupForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (OnClose)
        OnClose();
}

void TTreeViewPopupForm::keyPressEvent(QKeyEvent* event)
{
    // Escape closes without a choice.
    if (event->key() == Qt::Key_Escape)
    {
        m_pTreeView->clearSelection();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

TMyComboBox::TMyComboBox(QWidget* parent) : QComboBox(parent)
{
    setObjectName("m_pBookComboBox");
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    installEventFilter(this);
    setToolTip("Book");
    setStatusTip("Choose the book to study.");
}

void TMyComboBox::showPopup()
{
    if (!m_pTreeForm)
        return;
    m_pTreeForm->resize(std::max(width(), 283), 209);
    m_pTreeForm->move(mapToGlobal(QPoint(0, height())));
    m_pTreeForm->show();
    m_pTreeForm->m_pTreeView->setFocus();
}

bool TMyComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress)
    {
        showPopup();
        return true;
    }
    // The combo never takes typed text: keys go to the open tree, Enter and Space close it.
    if ((watched == lineEdit() || watched == this) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool open = m_pTreeForm && m_pTreeForm->isVisible();
        if (open && event->type() == QEvent::KeyPress &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space))
            m_pTreeForm->close();
        else if (open)
        {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(m_pTreeForm->m_pTreeView, &copy);
        }
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void TMyComboBox::hidePopup()
{
    if (m_pTreeForm && m_pTreeForm->isVisible())
        m_pTreeForm->close();
}
