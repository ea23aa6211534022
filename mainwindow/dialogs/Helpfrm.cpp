#include "mainwindow/dialogs/Helpfrm.h"

#include "platform/qt/RichView.h"

#include "ui_Helpfrm.h"

#include <QVBoxLayout>

Tm_pHelpFrm::Tm_pHelpFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::Tm_pHelpFrm>())
{
    ui->setupUi(this);
    setFixedSize(779, 555);
    m_pRichView = new lf::qt::RichView(ui->m_ViewHost);
    m_pRichView->setObjectName("m_pRichView");
    m_pRichView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(ui->m_ViewHost);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pRichView);
    connect(ui->m_pCloseBtn, &QPushButton::clicked, this, &Tm_pHelpFrm::m_pCloseBtnClick);
}

Tm_pHelpFrm::~Tm_pHelpFrm() = default;

void Tm_pHelpFrm::m_pCloseBtnClick()
{
    done(1);
}

void Tm_pHelpFrm::reject()
{
    // Close is the Cancel button too, so Esc and the close box answer as it does.
    done(1);
}
