#include "mainwindow/dialogs/MoveToTrashAskDlg.h"

#include "ui_MoveQuestionToRecycleBinAskDlg.h"

#include "model/support/Prefs.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QIcon>
#include <QStyle>

TCMoveQuestionToRecycleBinAskDlg::TCMoveQuestionToRecycleBinAskDlg(QWidget* parent)
    : TFormDialog(kNo, parent), ui(std::make_unique<Ui::TCMoveQuestionToRecycleBinAskDlg>())
{
    ui->setupUi(this);
    FixToFormSize();
    const QIcon trash =
        QIcon::fromTheme(QStringLiteral("user-trash"), style()->standardIcon(QStyle::SP_TrashIcon));
    ui->m_pImage->setPixmap(trash.pixmap(48, 48));
    connect(ui->m_pYesBtn, &QPushButton::clicked, this, [this] { done(kYes); });
    connect(ui->m_pNoBtn, &QPushButton::clicked, this, [this] { done(kNo); });
}

TCMoveQuestionToRecycleBinAskDlg::~TCMoveQuestionToRecycleBinAskDlg() = default;

QLabel* TCMoveQuestionToRecycleBinAskDlg::m_pMessage() const
{
    return ui->m_pMessage;
}

QCheckBox* TCMoveQuestionToRecycleBinAskDlg::m_pDoNotShowAgainCheckBox() const
{
    return ui->m_pDoNotShowAgainCheckBox;
}

bool AskMoveToRecycleBin(CPrefs& prefs, const std::string& message, QWidget* owner)
{
    if (prefs.m_MoveToTrusShowAskMsg)
        return true;
    TCMoveQuestionToRecycleBinAskDlg ask(owner);
    ask.m_pMessage()->setText(lf::qt::ToQString(message));
    if (lf::qt::CurrentDialogs().RunModal(ask) != TCMoveQuestionToRecycleBinAskDlg::kYes)
        return false;
    prefs.m_MoveToTrusShowAskMsg = ask.m_pDoNotShowAgainCheckBox()->isChecked();
    return true;
}
