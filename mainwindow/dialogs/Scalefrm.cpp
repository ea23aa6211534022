#include "mainwindow/dialogs/Scalefrm.h"

#include "mainwindow/dialogs/SpinKeyFilter.h"
#include "platform/qt/QtText.h"

#include "ui_Scalefrm.h"

#include <QTextLayout>

#include <iterator>

namespace
{

// The caption broken into lines that fit the width (a check box does not wrap its text).
QString WrapCaption(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
    {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join('\n');
}

} // namespace

Tm_pScaleFrm::Tm_pScaleFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::Tm_pScaleFrm>())
{
    ui->setupUi(this);
    setFixedSize(237, 285);
    m_Caption = lf::qt::ToStdString(ui->m_pCustomScaleCheckBox->text());
    ui->m_pCustomScaleCheckBox->setText(
        WrapCaption(ui->m_pCustomScaleCheckBox->text(), ui->m_pCustomScaleCheckBox->font(), width() - 50));
    CSpinKeyFilter::Install(*ui->m_CustomValueSpinEdit);
    connect(ui->m_CustomValueSpinEdit, &QSpinBox::valueChanged, this,
            [this] { ui->m_Custom_RadioButton->setChecked(true); });
    connect(ui->m_OkBtn, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
}

Tm_pScaleFrm::~Tm_pScaleFrm() = default;

QSpinBox& Tm_pScaleFrm::CustomValueSpinEdit() const
{
    return *ui->m_CustomValueSpinEdit;
}

bool Tm_pScaleFrm::IsCheckBoxShown() const
{
    return ui->m_pCustomScaleCheckBox->isVisibleTo(this);
}

std::string Tm_pScaleFrm::CheckBoxCaption() const
{
    return m_Caption;
}

void Tm_pScaleFrm::SetScale(int percent, bool showCheckBox, bool checked, const std::string& caption)
{
    ui->m_pCustomScaleCheckBox->setVisible(showCheckBox);
    if (showCheckBox)
    {
        ui->m_pCustomScaleCheckBox->setChecked(checked);
        m_Caption = caption;
        // The box and its gap take about 30 pixels of the dialog's width.
        ui->m_pCustomScaleCheckBox->setText(
            WrapCaption(lf::qt::ToQString(caption), ui->m_pCustomScaleCheckBox->font(), width() - 50));
    }
    const QSignalBlocker block(ui->m_CustomValueSpinEdit);
    ui->m_CustomValueSpinEdit->setValue(100);
    QRadioButton* const fixed[] = {ui->m_25_RadioButton,  ui->m_50_RadioButton,  ui->m_75_RadioButton,
                                   ui->m_100_RadioButton, ui->m_150_RadioButton, ui->m_200_RadioButton};
    const int percents[] = {25, 50, 75, 100, 150, 200};
    for (std::size_t i = 0; i < std::size(percents); ++i)
        if (percents[i] == percent)
        {
            fixed[i]->setChecked(true);
            return;
        }
    ui->m_CustomValueSpinEdit->setValue(percent);
    ui->m_Custom_RadioButton->setChecked(true);
}

void Tm_pScaleFrm::GetScale(int& percent, bool& checked) const
{
    const QRadioButton* const buttons[] = {ui->m_25_RadioButton,  ui->m_50_RadioButton,
                                           ui->m_75_RadioButton,  ui->m_100_RadioButton,
                                           ui->m_150_RadioButton, ui->m_200_RadioButton};
    const int percents[] = {25, 50, 75, 100, 150, 200};
    bool found = false;
    for (std::size_t i = 0; i < std::size(percents) && !found; ++i)
        if (buttons[i]->isChecked())
        {
            percent = percents[i];
            found = true;
        }
    if (!found && ui->m_Custom_RadioButton->isChecked())
        percent = ui->m_CustomValueSpinEdit->value();
    checked = ui->m_pCustomScaleCheckBox->isChecked();
}
