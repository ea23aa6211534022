#include "editing/Categoryeditonedlg.h"

#include "ui_Categoryeditonedlg.h"

#include "platform/qt/QtText.h"
#include "platform/sys/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QTextDocumentFragment>

using lf::qt::ToQString;
using lf::qt::ToStdString;

namespace
{

void CopyToClipboard(const QString& text)
{
    lf::sys::Clipboard& clipboard = lf::sys::CurrentClipboard();
    clipboard.Clear();
    clipboard.SetData(lf::sys::kClipboardText, ToStdString(text));
}

QString ClipboardText()
{
    return ToQString(lf::sys::CurrentClipboard().Data(lf::sys::kClipboardText));
}

} // namespace

Tm_CategoryEditOneDlg::Tm_CategoryEditOneDlg(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::m_CategoryEditOneDlg>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QToolButton* copy : {ui->m_CopyBtn, ui->m_Copy2Btn})
        copy->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    for (QToolButton* paste : {ui->m_PasteBtn, ui->m_Paste2Btn})
        paste->setIcon(QIcon::fromTheme(QStringLiteral("edit-paste")));
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(kOk); });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, &Tm_CategoryEditOneDlg::reject);
    connect(ui->m_CopyBtn, &QToolButton::clicked, this, &Tm_CategoryEditOneDlg::m_CopyBtnClick);
    connect(ui->m_Copy2Btn, &QToolButton::clicked, this, &Tm_CategoryEditOneDlg::m_Copy2BtnClick);
    connect(ui->m_PasteBtn, &QToolButton::clicked, this, &Tm_CategoryEditOneDlg::m_PasteBtnClick);
    connect(ui->m_Paste2Btn, &QToolButton::clicked, this, &Tm_CategoryEditOneDlg::m_Paste2BtnClick);
    // The clipboard's change notice; the Paste buttons reflect the clipboard from the start.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &Tm_CategoryEditOneDlg::OnClipboardChange);
    OnClipboardChange();
}

Tm_CategoryEditOneDlg::~Tm_CategoryEditOneDlg() = default;

void Tm_CategoryEditOneDlg::SetCaption(const std::string& caption)
{
    setWindowTitle(ToQString(caption));
}

void Tm_CategoryEditOneDlg::SetNameText(const std::string& name)
{
    ui->m_NameStr->setText(ToQString(name));
}

void Tm_CategoryEditOneDlg::SetDescriptionText(const std::string& description)
{
    ui->m_DescriptionStr->setPlainText(ToQString(description));
}

std::string Tm_CategoryEditOneDlg::NameText() const
{
    return ToStdString(ui->m_NameStr->text());
}

std::string Tm_CategoryEditOneDlg::DescriptionText() const
{
    return ToStdString(ui->m_DescriptionStr->toPlainText());
}

bool Tm_CategoryEditOneDlg::ClipboardHasText()
{
    return lf::sys::CurrentClipboard().HasFormat(lf::sys::kClipboardText);
}

void Tm_CategoryEditOneDlg::OnClipboardChange()
{
    const bool hasText = ClipboardHasText();
    ui->m_PasteBtn->setEnabled(hasText);
    ui->m_Paste2Btn->setEnabled(hasText);
}

void Tm_CategoryEditOneDlg::m_CopyBtnClick()
{
    QLineEdit* edit = ui->m_NameStr;
    if (edit->hasSelectedText())
    {
        CopyToClipboard(edit->selectedText());
        return;
    }
    // Nothing selected: the whole field is copied and the caret left at its start.
    edit->selectAll();
    CopyToClipboard(edit->selectedText());
    edit->setCursorPosition(0);
}

void Tm_CategoryEditOneDlg::m_Copy2BtnClick()
{
    QPlainTextEdit* memo = ui->m_DescriptionStr;
    QTextCursor cursor = memo->textCursor();
    if (cursor.hasSelection())
    {
        CopyToClipboard(cursor.selection().toPlainText());
        return;
    }
    CopyToClipboard(memo->toPlainText());
    cursor.movePosition(QTextCursor::Start);
    memo->setTextCursor(cursor);
}

void Tm_CategoryEditOneDlg::m_PasteBtnClick()
{
    // The edit's own insertion replaces the selection and keeps the name within its length.
    ui->m_NameStr->insert(ClipboardText());
}

void Tm_CategoryEditOneDlg::m_Paste2BtnClick()
{
    ui->m_DescriptionStr->insertPlainText(ClipboardText());
}

void Tm_CategoryEditOneDlg::reject()
{
    done(kCancel);
}
