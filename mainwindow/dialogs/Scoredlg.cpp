#include "mainwindow/dialogs/Scoredlg.h"

#include "ui_Scoredlg.h"

#include "mainwindow/dialogs/PreviewFrm.h"
#include "mainwindow/dialogs/ScoreReport.h"
#include "mainwindow/rules/PrintDocument.h"
#include "model/storage/Datastorage.h"
#include "model/support/Log.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichPrint.h"
#include "platform/qt/RichView.h"
#include "platform/sys/SystemServices.h"

#include <QDate>
#include <QLocale>
#include <QPrinter>

using lf::qt::ToQString;
using lf::qt::ToStdString;

namespace
{

// The score sheet's margins on the page, in millimetres.
constexpr double kScorePrintMargins = 20.0;

// Today in the user's short date format.
std::string ShortDateToday()
{
    const lf::sys::LocalDateTime now = lf::sys::Services().LocalNow();
    return ToStdString(QLocale::system().toString(QDate(now.year, now.month, now.day), QLocale::ShortFormat));
}

} // namespace

Tm_ScoreDlg::Tm_ScoreDlg(CDataStorage& storage, QWidget* owner)
    : TFormDialog(kContinue, owner), ui(std::make_unique<Ui::Tm_ScoreDlg>()), m_Storage(storage)
{
    ui->setupUi(this);
    FixToFormSize();
    m_pScoreRichViewEdit = new lf::qt::RichView(ui->m_pScoreViewHost);
    m_pScoreRichViewEdit->setObjectName(QStringLiteral("m_pScoreRichViewEdit"));
    m_pScoreRichViewEdit->setReadOnly(true);
    m_pScoreRichViewEdit->Bind(&m_Report);
    std::vector<QImage> squares;
    for (int square = 0; square < lf::qt::kLegendSquareCount; ++square)
        squares.push_back(lf::qt::LegendSquare(square));
    m_pScoreRichViewEdit->SetHotspotImages(std::move(squares));
    ui->m_pScoreViewHost->layout()->addWidget(m_pScoreRichViewEdit);
    connect(ui->m_pContinueBtn, &QPushButton::clicked, this, [this] { done(kContinue); });
    connect(ui->m_pHomeBtn, &QPushButton::clicked, this, [this] { done(kHome); });
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(kHome); });
    connect(ui->m_pReviewAllBtn, &QPushButton::clicked, this, [this] { done(kAll); });
    connect(ui->m_pReviewIncorrectBtn, &QPushButton::clicked, this, [this] { done(kIncorrect); });
    connect(ui->m_pPrintBtn, &QPushButton::clicked, this, &Tm_ScoreDlg::m_pPrintBtnClick);
    connect(ui->m_PrintBtn, &QPushButton::clicked, this, &Tm_ScoreDlg::m_pPrintBtnClick);
}

Tm_ScoreDlg::~Tm_ScoreDlg() = default;

void Tm_ScoreDlg::FormShow()
{
    UpdateButtons();
    BuildScoreView();
}

void Tm_ScoreDlg::UpdateButtons()
{
    const SScoreButtons buttons = ScoreButtonsFor(*m_Storage.GetItemsPtr2(), m_Storage.GetPhase());
    if (!buttons.changed)
        return;
    ui->m_pContinueBtn->setText(ToQString(buttons.continueCaption));
    ui->m_pReviewAllBtn->setText(ToQString(buttons.allCaption));
    if (buttons.incorrectVisible)
        ui->m_pReviewIncorrectBtn->setText(ToQString(buttons.incorrectCaption));
    ui->m_pReviewIncorrectBtn->setVisible(buttons.incorrectVisible);
    ui->m_pContinueBtn->setVisible(buttons.continueVisible);
    ui->m_pHomeBtn->setVisible(true);
    ui->m_pPrintBtn->setVisible(true);
    ui->m_pReviewAllBtn->setVisible(true);
}

void Tm_ScoreDlg::BuildScoreView()
{
    BuildScoreReport(*m_Storage.GetItemsPtr2(), m_Storage.GetFileName(), ShortDateToday(), m_Report);
    m_pScoreRichViewEdit->Format();
}

void Tm_ScoreDlg::m_pPrintBtnClick()
{
    QPrinter printer(QPrinter::HighResolution);
    lf::qt::RichPrint engine;
    engine.SetMargins(kScorePrintMargins);
    std::vector<QImage> squares;
    for (int square = 0; square < lf::qt::kLegendSquareCount; ++square)
        squares.push_back(lf::qt::LegendSquare(square));
    engine.AssignSource(&m_Report, std::move(squares));
    {
        lf::qt::BusyCursor busy;
        engine.FormatPages(printer);
    }
    // No document goes to the preview: its Save only writes its log line.
    RunPrintPreview(this, engine, printer, nullptr, {},
                    lf::print::PrintTitle(*m_Storage.GetBookList(), m_Storage.GetCurrentBookIndex()));
}
