#include "mainwindow/dialogs/PreviewFrm.h"

#include "ui_PreviewFrm.h"

#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichPrint.h"
#include "platform/richtext/RtfExport.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>

#include <cmath>
#include <filesystem>

using lf::qt::MessageDlg;
using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

constexpr int kTextLineWidth = 1024;
constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 500;

} // namespace

Tm_pPreviewFrm::Tm_pPreviewFrm(const std::string& booksFolder, QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::Tm_pPreviewFrm>()), m_BooksFolder(booksFolder)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    connect(ui->m_pPrintBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_pPrintBtnClick);
    connect(ui->m_pCancelBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_pCancelBtnClick);
    connect(ui->m_pSaveBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_pSaveBtnClick);
    connect(ui->m_FirstBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_FirstBtnClick);
    connect(ui->m_PrevBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_PrevBtnClick);
    connect(ui->m_NextBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_NextBtnClick);
    connect(ui->m_LastBtn, &QToolButton::clicked, this, &Tm_pPreviewFrm::m_LastBtnClick);
    connect(ui->cmb, &QComboBox::activated, this, [this] { cmbExit(); });
    ui->cmb->installEventFilter(this);
    if (ui->cmb->lineEdit())
        ui->cmb->lineEdit()->installEventFilter(this);
    ui->m_pPageNum->installEventFilter(this);
    ui->cmb->setCurrentText(QStringLiteral("100%"));
    UpdatePageControls();
}

Tm_pPreviewFrm::~Tm_pPreviewFrm() = default;

void Tm_pPreviewFrm::SetPrint(lf::qt::RichPrint* engine, QPrinter* printer)
{
    m_pPrint = engine;
    delete m_PreviewRV;
    m_PreviewRV = nullptr;
    if (!engine || !printer)
        return;
    m_PreviewRV = new QPrintPreviewWidget(printer, ui->m_pPreviewHost);
    m_PreviewRV->setObjectName(QStringLiteral("m_PreviewRV"));
    ui->m_pPreviewHost->layout()->addWidget(m_PreviewRV);
    connect(m_PreviewRV, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* target) { m_pPrint->RenderPreview(*target); });
    connect(m_PreviewRV, &QPrintPreviewWidget::previewChanged, this,
            [this]
            {
                if (!m_PreviewRV->isVisible())
                    return;
                m_CurrentPage = m_PreviewRV->currentPage();
                UpdatePageControls();
                m_PreviewRVZoomChanged();
            });
    m_PreviewRV->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_PreviewRV->setZoomFactor(1.0);
    m_PreviewRV->updatePreview();
    m_CurrentPage = 1;
    UpdatePageControls();
    m_PreviewRVZoomChanged();
}

int Tm_pPreviewFrm::PageCount() const
{
    return m_PreviewRV ? m_PreviewRV->pageCount() : 0;
}

void Tm_pPreviewFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tm_pPreviewFrm::FormShow()
{
    m_FirstBtnClick();
    // The window opens maximised once it has been shown.
    QTimer::singleShot(0, this, [this] { showMaximized(); });
}

void Tm_pPreviewFrm::GoToPage(int page)
{
    const int count = PageCount();
    m_CurrentPage = std::clamp(page, 1, std::max(count, 1));
    if (m_PreviewRV)
        m_PreviewRV->setCurrentPage(m_CurrentPage);
    UpdatePageControls();
}

void Tm_pPreviewFrm::m_FirstBtnClick()
{
    GoToPage(1);
}

void Tm_pPreviewFrm::m_PrevBtnClick()
{
    GoToPage(m_CurrentPage - 1);
}

void Tm_pPreviewFrm::m_NextBtnClick()
{
    GoToPage(m_CurrentPage + 1);
}

void Tm_pPreviewFrm::m_LastBtnClick()
{
    GoToPage(PageCount());
}

void Tm_pPreviewFrm::UpdatePageControls()
{
    const int count = PageCount();
    ui->m_pPagesInfo->setText(QStringLiteral("of %1").arg(count));
    ui->m_pPageNum->setText(QString::number(m_CurrentPage));
    ui->m_FirstBtn->setEnabled(m_CurrentPage > 1);
    ui->m_PrevBtn->setEnabled(m_CurrentPage > 1);
    ui->m_NextBtn->setEnabled(m_CurrentPage < count);
    ui->m_LastBtn->setEnabled(m_CurrentPage < count);
}

void Tm_pPreviewFrm::JumpToTypedPage()
{
    bool ok = false;
    const int typed = ui->m_pPageNum->text().trimmed().toInt(&ok);
    GoToPage(ok ? std::max(typed, 1) : m_CurrentPage);
}

void Tm_pPreviewFrm::cmbExit()
{
    if (!m_PreviewRV)
        return;
    QString text = ui->cmb->currentText().trimmed();
    if (text == QLatin1String("Page width"))
        m_PreviewRV->setZoomMode(QPrintPreviewWidget::FitToWidth);
    else if (text == QLatin1String("Full page"))
        m_PreviewRV->setZoomMode(QPrintPreviewWidget::FitInView);
    else
    {
        if (text.endsWith(QLatin1Char('%')))
            text.chop(1);
        bool ok = false;
        int percent = text.toInt(&ok);
        if (!ok)
            percent = 0;
        if (percent < kMinZoom || percent > kMaxZoom)
        {
            MessageDlg("Please enter number from 10 to 500", MsgKind::Error, MsgButtons::Ok, "Scale");
            return;
        }
        m_PreviewRV->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_PreviewRV->setZoomFactor(percent / 100.0);
    }
    m_PreviewRVZoomChanged();
}

void Tm_pPreviewFrm::m_PreviewRVZoomChanged()
{
    if (!m_PreviewRV)
        return;
    const int percent = static_cast<int>(std::lround(m_PreviewRV->zoomFactor() * 100.0));
    const QSignalBlocker block(ui->cmb);
    ui->cmb->setCurrentText(QStringLiteral("%1%").arg(percent));
}

bool Tm_pPreviewFrm::eventFilter(QObject* watched, QEvent* event)
{
    const bool zoomBox = watched == ui->cmb || (ui->cmb->lineEdit() && watched == ui->cmb->lineEdit());
    if (event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (zoomBox && enter)
        {
            cmbExit();
            return true;
        }
        if (watched == ui->m_pPageNum)
        {
            if (enter)
            {
                JumpToTypedPage();
                return true;
            }
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit())
            {
                lf::qt::CurrentDesktop().Beep();
                return true;
            }
        }
    }
    else if (event->type() == QEvent::FocusOut && zoomBox && watched == ui->cmb)
    {
        cmbExit();
    }
    return QDialog::eventFilter(watched, event);
}

void Tm_pPreviewFrm::m_pSaveBtnClick()
{
    if (!m_pRichView)
    {
        WriteLog("Tm_pPreviewFrm::m_pSaveBtnClick - ERROR m_pRichView == NULL!", 1, 1);
        return;
    }
    lf::qt::SFileDialog dialog;
    dialog.owner = this;
    dialog.initialFolder = m_BooksFolder;
    dialog.filter = "RTF file|*.rtf|TXT file|*.txt";
    dialog.defaultExt = ".rtf";
    const std::optional<std::string> chosen = lf::qt::CurrentDialogs().SaveFile(dialog);
    if (!chosen)
        return;
    const std::string& path = *chosen;
    std::error_code error;
    if (std::filesystem::exists(path, error) &&
        MessageDlg("File \"" + path + "\" exists. Overwrite the file?", MsgKind::Confirmation,
                   MsgButtons::YesNo) != lf::qt::mrYes)
        return;
    const std::string extension = lf::sys::AsciiLower(lf::sys::Trim(lf::sys::ExtensionOf(path)));
    std::string failure;
    bool saved = false;
    if (extension == ".rtf")
    {
        std::vector<QImage> images;
        for (int i = 0; i < lf::qt::kAnswerPictureCount; ++i)
            images.push_back(lf::qt::AnswerPicture(i));
        saved = lf::SaveRtfFile(path, *m_pRichView, lf::qt::RtfPicturesOf(std::move(images)), &failure);
    }
    else if (extension == ".txt")
        saved = lf::SaveTextFile(path, *m_pRichView, kTextLineWidth, &failure);
    else
    {
        MessageDlg("Unknown file format.", MsgKind::Error, MsgButtons::Ok);
        return;
    }
    if (!saved)
    {
        // A file that could not be written is said, not passed over as saved.
        WriteLog("Tm_pPreviewFrm::m_pSaveBtnClick - ERROR " + failure, 1, 1);
        MessageDlg("Can't save the file \"" + path + "\".", MsgKind::Error, MsgButtons::Ok);
    }
}

bool RunPrintPreview(QWidget* owner, lf::qt::RichPrint& engine, QPrinter& printer,
                     const lf::RichDocument* doc, const std::string& booksFolder, const std::string& title)
{
    const int pages = engine.PagesCount();
    if (pages < 1)
        return false;
    int answer = Tm_pPreviewFrm::kCancel;
    {
        Tm_pPreviewFrm preview(booksFolder, owner);
        preview.SetPrint(&engine, &printer);
        preview.SetRichView(doc);
        answer = lf::qt::CurrentDialogs().RunModal(preview);
    }
    if (answer != Tm_pPreviewFrm::kPrint)
        return false;
    lf::qt::SPrintChoice choice;
    choice.minPage = 1;
    choice.maxPage = pages;
    choice.fromPage = 1;
    choice.toPage = pages;
    if (!lf::qt::CurrentDialogs().ChoosePrint(owner, printer, choice))
        return false;
    lf::qt::BusyCursor busy;
    // The dialog may have chosen other paper: the pages are laid out again for it.
    if (engine.FormatPages(printer) < 1)
        return false;
    const bool printed = choice.range == lf::qt::SPrintChoice::PageNums
                             ? engine.PrintPages(printer, choice.fromPage, choice.toPage, title)
                             : engine.Print(printer, title);
    if (!printed)
        WriteLog("Tm_MainFrm::m_PrintBtnClick - ERROR!", 1, 1);
    return printed;
}
