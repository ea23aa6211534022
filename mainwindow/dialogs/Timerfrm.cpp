#include "mainwindow/dialogs/Timerfrm.h"

#include "ui_Timerfrm.h"

#include "model/collection/Itemsarray.h"
#include "platform/qt/QtText.h"
#include "platform/sys/SystemServices.h"

using lf::qt::ToQString;

Tm_TimerFrm::Tm_TimerFrm(CItemsArray2& items, QWidget* parent)
    : TFormDialog(kCancel, parent), ui(std::make_unique<Ui::Tm_TimerFrm>()), m_Items(items)
{
    ui->setupUi(this);
    // The form is as tall as its rows need: the stretch above the buttons takes no more than a gap.
    ui->verticalSpacer->changeSize(0, 8, QSizePolicy::Minimum, QSizePolicy::Fixed);
    resize(width(), sizeHint().height());
    FixToFormSize();
    connect(ui->m_OkBtn, &QPushButton::clicked, this,
            [this]
            {
                m_OkBtnClick();
                done(kOk);
            });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, &Tm_TimerFrm::reject);
    connect(ui->btn_ReZero, &QPushButton::clicked, this, &Tm_TimerFrm::btn_ReZeroClick);
}

Tm_TimerFrm::~Tm_TimerFrm() = default;

void Tm_TimerFrm::FormShow()
{
    m_Items.SaveTimerState();
    if (m_Items.IsTimerShowingElapsed())
        ui->m_pUpRadioButton->setChecked(true);
    else
        ui->m_pDownRadioButton->setChecked(true);
    UpdateTimeLabels();
}

void Tm_TimerFrm::FormClose(int result)
{
    if (result != kOk)
        m_Items.RestoreTimerState();
}

void Tm_TimerFrm::UpdateTimeLabels()
{
    const bool on = m_Items.IsTimerOn();
    if (on)
    {
        ui->m_pTimeLeftStr->setText(ToQString(m_Items.GetTimerText(true)));
        ui->m_pInitialTimeSetStr->setText(ToQString(m_Items.GetTimerLimitText()));
    }
    else
    {
        ui->m_pInitialTimeSetStr->setText(QStringLiteral("Off"));
    }
    ui->m_pTimeLeftLabel->setVisible(on);
    ui->m_pTimeLeftStr->setVisible(on);
}

std::uint32_t Tm_TimerFrm::GetSeconds() const
{
    return static_cast<std::uint32_t>(ui->m_hour->value() * 3600 + ui->m_minute->value() * 60 +
                                      ui->m_sec->value());
}

void Tm_TimerFrm::m_OkBtnClick()
{
    const std::uint32_t seconds = GetSeconds();
    if (seconds != 0)
        m_Items.SetTimer(true, ui->m_pUpRadioButton->isChecked(), lf::sys::Services().TickCount(), seconds);
    else
        m_Items.StopTimer();
}

void Tm_TimerFrm::btn_ReZeroClick()
{
    ui->m_hour->setValue(0);
    ui->m_minute->setValue(0);
    ui->m_sec->setValue(0);
    m_Items.StopTimer();
    UpdateTimeLabels();
}

void Tm_TimerFrm::done(int result)
{
    FormClose(result);
    QDialog::done(result);
}
