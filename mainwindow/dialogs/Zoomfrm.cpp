#include "mainwindow/dialogs/Zoomfrm.h"

#include "mainwindow/dialogs/SpinKeyFilter.h"
#include "platform/qt/RichView.h"

#include "ui_Zoomfrm.h"

#include <QVBoxLayout>

namespace
{

constexpr int kPreviewBasePoints = 12;
constexpr const char* kPreviewLine = "AaBbCcDdEeXxYyZz";

} // namespace

Tm_pZoomFrm::Tm_pZoomFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::Tm_pZoomFrm>())
{
    ui->setupUi(this);
    setFixedSize(388, 231);
    m_DescriptionViewStr = new lf::qt::RichView(ui->m_PreviewHost);
    m_DescriptionViewStr->setObjectName("m_DescriptionViewStr");
    // A preview line is cut at the edge rather than wrapped, so every size shows three lines of it.
    m_DescriptionViewStr->setLineWrapMode(QTextEdit::NoWrap);
    m_DescriptionViewStr->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(ui->m_PreviewHost);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_DescriptionViewStr);
    lf::RichStyleSheet& sheet = m_DescriptionViewStr->Document().styles;
    sheet.textStyles.at(0).name = "Normal text";
    sheet.textStyles.at(0).fontName = "Arial";
    for (QRadioButton* button : {ui->m_50_RadioButton, ui->m_75_RadioButton, ui->m_100_RadioButton,
                                 ui->m_150_RadioButton, ui->m_200_RadioButton, ui->m_Custom_RadioButton})
        connect(button, &QRadioButton::clicked, this, &Tm_pZoomFrm::OnRefreshPreview);
    connect(ui->m_CustomValueSpinEdit, &QSpinBox::valueChanged, this,
            &Tm_pZoomFrm::m_CustomValueSpinEditChange);
    CSpinKeyFilter::Install(*ui->m_CustomValueSpinEdit);
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
}

Tm_pZoomFrm::~Tm_pZoomFrm() = default;

QSpinBox& Tm_pZoomFrm::CustomValueSpinEdit() const
{
    return *ui->m_CustomValueSpinEdit;
}

void Tm_pZoomFrm::SetPercent(int percent)
{
    const struct
    {
        int percent;
        QRadioButton* button;
    } fixed[] = {{50, ui->m_50_RadioButton},
                 {75, ui->m_75_RadioButton},
                 {100, ui->m_100_RadioButton},
                 {150, ui->m_150_RadioButton},
                 {200, ui->m_200_RadioButton}};
    for (const auto& f : fixed)
        if (f.percent == percent)
        {
            f.button->setChecked(true);
            return;
        }
    const QSignalBlocker block(ui->m_CustomValueSpinEdit);
    ui->m_CustomValueSpinEdit->setValue(percent);
    ui->m_Custom_RadioButton->setChecked(true);
}

int Tm_pZoomFrm::GetPercent() const
{
    if (ui->m_50_RadioButton->isChecked())
        return 50;
    if (ui->m_75_RadioButton->isChecked())
        return 75;
    if (ui->m_100_RadioButton->isChecked())
        return 100;
    if (ui->m_150_RadioButton->isChecked())
        return 150;
    if (ui->m_200_RadioButton->isChecked())
        return 200;
    return ui->m_CustomValueSpinEdit->value();
}

void Tm_pZoomFrm::FormShow()
{
    lf::RichDocument& doc = m_DescriptionViewStr->Document();
    for (int i = 0; i < 3; ++i)
        doc.content.AddText(kPreviewLine, 0, 0, true);
    RefreshPreview();
    m_DescriptionViewStr->Format();
}

void Tm_pZoomFrm::RefreshPreview()
{
    const int size = GetPercent() * kPreviewBasePoints / 100;
    lf::SRichTextStyle& style = m_DescriptionViewStr->Document().styles.textStyles.at(0);
    if (style.size == size)
        return;
    style.size = size;
    m_DescriptionViewStr->Format();
}

void Tm_pZoomFrm::m_CustomValueSpinEditChange()
{
    ui->m_Custom_RadioButton->setChecked(true);
    RefreshPreview();
}

void Tm_pZoomFrm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}
