#include "mainwindow/dialogs/Renumberdlg.h"

#include "ui_Renumberdlg.h"

#include "mainwindow/rules/PrefixKeys.h"
#include "platform/qt/KeyState.h"

#include <QKeyEvent>

namespace
{

// The character a key press types, as the filter sees it: Enter, Esc and Backspace as their control
// characters, Ctrl with a letter as the control character of the letter (Ctrl+V gives 22), else the
// event's text. 0 for a key that types nothing (arrows, Delete, Tab), which the filter lets pass.
char32_t TypedCharacter(const QKeyEvent& event)
{
    switch (event.key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0;
    default:
        break;
    }
    if (event.modifiers().testFlag(Qt::ControlModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return static_cast<char32_t>(event.key() - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    return text.toUcs4().value(0);
}

} // namespace

Tm_pRenumberDlg::Tm_pRenumberDlg(QWidget* parent)
    : TFormDialog(kCancel, parent), ui(std::make_unique<Ui::Tm_pRenumberDlg>()),
      m_pKeys(std::make_unique<lf::qt::ModifierKeyState>())
{
    ui->setupUi(this);
    FixToFormSize();
    connect(ui->m_ReNumberBtn, &QPushButton::clicked, this, [this] { done(kRenumber); });
    connect(ui->m_CancelBtn, &QPushButton::clicked, this, [this] { done(kCancel); });
    ui->m_pLayerStr->installEventFilter(this);
}

Tm_pRenumberDlg::~Tm_pRenumberDlg() = default;

QSpinBox* Tm_pRenumberDlg::m_pStartNum() const
{
    return ui->m_pStartNum;
}

QSpinBox* Tm_pRenumberDlg::m_pStepNum() const
{
    return ui->m_pStepNum;
}

QLineEdit* Tm_pRenumberDlg::m_pLayerStr() const
{
    return ui->m_pLayerStr;
}

void Tm_pRenumberDlg::m_pLayerStrKeyPress(char32_t& key) const
{
    if (!lf::keys::PrefixKeyPasses(key, m_pKeys->LeftCtrlDown(), m_pKeys->RightCtrlDown()))
        key = 0;
}

bool Tm_pRenumberDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->m_pLayerStr && event->type() == QEvent::KeyPress)
    {
        char32_t typed = TypedCharacter(*static_cast<QKeyEvent*>(event));
        if (typed != 0)
        {
            m_pLayerStrKeyPress(typed);
            if (typed == 0)
                return true;
        }
    }
    return TFormDialog::eventFilter(watched, event);
}
