#include "mainwindow/dialogs/Onevaluefrm.h"

#include "ui_Onevaluefrm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeData>

Tm_OneValueFrm::Tm_OneValueFrm(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::Tm_OneValueFrm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->m_VelueStr->setMaxLength(kMaxValueLength);
    ui->m_CopyBtn->setIcon(QIcon::fromTheme("edit-copy"));
    ui->m_PasteBtn->setIcon(QIcon::fromTheme("edit-paste"));
    if (ui->m_CopyBtn->icon().isNull())
        ui->m_CopyBtn->setText("Copy");
    if (ui->m_PasteBtn->icon().isNull())
        ui->m_PasteBtn->setText("Paste");
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
    connect(ui->m_CopyBtn, &QToolButton::clicked, this, [this] { m_CopyBtnClick(); });
    connect(ui->m_PasteBtn, &QToolButton::clicked, this, [this] { m_PasteBtnClick(); });
    // The notice comes for as long as the dialog lives; the Paste button shows the clipboard from the
    // start.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
    ClipboardChanged();
}

Tm_OneValueFrm::~Tm_OneValueFrm() = default;

void Tm_OneValueFrm::SetDescription(const QString& text)
{
    ui->m_DescriptionStr->setText(text);
}

QString Tm_OneValueFrm::Value() const
{
    return ui->m_VelueStr->text();
}

void Tm_OneValueFrm::SetValue(const QString& value)
{
    ui->m_VelueStr->setText(value.left(kMaxValueLength));
}

void Tm_OneValueFrm::ClipboardChanged()
{
    ui->m_PasteBtn->setEnabled(ClipboardHasText());
}

bool Tm_OneValueFrm::ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void Tm_OneValueFrm::m_CopyBtnClick()
{
    QLineEdit* edit = ui->m_VelueStr;
    if (edit->hasSelectedText())
    {
        edit->copy();
        return;
    }
    const int caret = edit->cursorPosition();
    edit->selectAll();
    edit->copy();
    edit->deselect();
    edit->setCursorPosition(caret);
}

void Tm_OneValueFrm::m_PasteBtnClick()
{
    // The line's own paste keeps the length limit.
    ui->m_VelueStr->paste();
}
