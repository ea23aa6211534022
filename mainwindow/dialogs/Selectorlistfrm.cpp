#include "mainwindow/dialogs/Selectorlistfrm.h"

#include "platform/qt/QtFormat.h"
#include "platform/qt/QtText.h"

#include "ui_Selectorlistfrm.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace
{

// Text flags of the rows: wrapped at words, an end ellipsis when the row is cut.
constexpr int kRowTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

// Draws a row: the selected colour or the window colour behind, the text in the window-text colour
// inside the row narrowed by 2 pixels left and right and 1 at the top.
class CSelectorRowDelegate final : public QStyledItemDelegate
{
public:
    explicit CSelectorRowDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QColor back =
            selected ? QColor::fromRgb(kSelectorSelectedRgb) : option.palette.color(QPalette::Base);
        painter->save();
        painter->setPen(back);
        painter->setBrush(back);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        const QRect box = option.rect.adjusted(2, 1, -2, 0);
        const QString text = index.data(Qt::DisplayRole).toString();
        // Whole lines that fit, the last one cut with an ellipsis.
        const QFontMetrics metrics(option.font);
        const QRect needed = metrics.boundingRect(box, kRowTextFlags, text);
        if (needed.height() <= box.height())
            painter->drawText(box, kRowTextFlags, text);
        else
        {
            const int lines = std::max(1, box.height() / metrics.lineSpacing());
            QTextLayout layout(text, option.font);
            layout.beginLayout();
            QString shown;
            for (int i = 0; i < lines; ++i)
            {
                QTextLine line = layout.createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(box.width());
                const QString part = text.mid(line.textStart(), line.textLength());
                shown += i + 1 < lines
                             ? part
                             : metrics.elidedText(text.mid(line.textStart()), Qt::ElideRight, box.width());
            }
            layout.endLayout();
            painter->drawText(box, kRowTextFlags, shown);
        }
        painter->restore();
    }
};

} // namespace

Tm_pSelectorListFrm::Tm_pSelectorListFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(std::make_unique<Ui::Tm_pSelectorListFrm>())
{
    ui->setupUi(this);
    setFixedSize(342, 368);
    ui->m_pListBox->setItemDelegate(new CSelectorRowDelegate(ui->m_pListBox));
    ui->m_pListBox->installEventFilter(this);
    connect(ui->m_pListBox, &QListWidget::itemClicked, this, &Tm_pSelectorListFrm::OnRowClicked);
    connect(ui->m_pListBox, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { ChooseSelected(); });
}

Tm_pSelectorListFrm::~Tm_pSelectorListFrm() = default;

QWidget* Tm_pSelectorListFrm::ListBox() const
{
    return ui->m_pListBox;
}

void Tm_pSelectorListFrm::FormShow()
{
    // The field font of the options, as the rich-text views take it.
    ui->m_pListBox->setFont(lf::qt::ToQFont(lf::RichTextHost().fieldFont));
    if (m_pChoices)
    {
        ui->m_pListBox->clear();
        for (const std::string& text : *m_pChoices)
        {
            auto* row = new QListWidgetItem(lf::qt::ToQString(text), ui->m_pListBox);
            row->setToolTip(row->text());
        }
        if (ui->m_pListBox->count() > 0)
            ui->m_pListBox->setCurrentRow(0);
        UpdateRowHeights();
    }
    if (QListWidgetItem* row = ui->m_pListBox->currentItem())
        setToolTip(row->text());
}

void Tm_pSelectorListFrm::FormHide()
{
    m_pChoices = nullptr;
}

int Tm_pSelectorListFrm::MeasureRow(const std::string& text) const
{
    const QFontMetrics metrics(ui->m_pListBox->font());
    const int width = std::max(1, ui->m_pListBox->viewport()->width() - 8);
    const QRect laid =
        metrics.boundingRect(QRect(0, 0, width, 100000), kRowTextFlags, lf::qt::ToQString(text));
    return laid.height() + 3;
}

void Tm_pSelectorListFrm::UpdateRowHeights()
{
    for (int i = 0; i < ui->m_pListBox->count(); ++i)
    {
        QListWidgetItem* row = ui->m_pListBox->item(i);
        row->setSizeHint(
            QSize(ui->m_pListBox->viewport()->width(), MeasureRow(lf::qt::ToStdString(row->text()))));
    }
}

void Tm_pSelectorListFrm::OnRowClicked(QListWidgetItem* row)
{
    if (row)
        setToolTip(row->text());
}

void Tm_pSelectorListFrm::ChooseSelected()
{
    QListWidgetItem* row = ui->m_pListBox->currentItem();
    if (!row || !row->isSelected())
        return;
    m_Choice = lf::qt::ToStdString(row->text());
    done(kChosen);
}

void Tm_pSelectorListFrm::Cancel()
{
    m_Choice.clear();
    done(kCancelled);
}

void Tm_pSelectorListFrm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void Tm_pSelectorListFrm::hideEvent(QHideEvent* event)
{
    FormHide();
    QDialog::hideEvent(event);
}

void Tm_pSelectorListFrm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    UpdateRowHeights();
}

bool Tm_pSelectorListFrm::HandleKey(int key)
{
    switch (key)
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        ChooseSelected();
        return true;
    case Qt::Key_Escape:
        Cancel();
        return true;
    default:
        return false;
    }
}

void Tm_pSelectorListFrm::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event->key()))
        QDialog::keyPressEvent(event);
}

bool Tm_pSelectorListFrm::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees the list's keys first.
    if (watched == ui->m_pListBox && event->type() == QEvent::KeyPress &&
        HandleKey(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}
