#include "editing/frames/Baseeditanswerframe.h"

#include "platform/qt/QtText.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichStyleSheet.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QIcon>
#include <QSignalBlocker>
#include <QStyle>

#include <utility>

TCBaseEditAnswerFrame::TCBaseEditAnswerFrame(EEditFrame kind, QWidget* parent) : QFrame(parent), m_Kind(kind)
{
}

TCBaseEditAnswerFrame::~TCBaseEditAnswerFrame() = default;

void TCBaseEditAnswerFrame::TakeForm(QWidget* viewPanel)
{
    m_pViewPanel = viewPanel;
    const QList<lf::qt::RichViewEdit*> editors = findChildren<lf::qt::RichViewEdit*>();
    m_RichEditors.assign(editors.begin(), editors.end());
    for (lf::qt::RichViewEdit* editor : m_RichEditors)
    {
        // Each editor keeps a sheet of its own, so a style one editor adds never shows up in another.
        editor->Document().styles = lf::RichStyleSheet::Default();
        editor->setReadOnly(false);
        editor->Format();
    }
}

bool TCBaseEditAnswerFrame::HandleShortcutKey(SShortcutKey key)
{
    const SFrameKeyAction action = FrameKeyAction(m_Kind, key);
    if (!action.Taken())
        return false;
    if (action.focus != 0)
        FocusControl(AltTarget(action.focus));
    if (action.command != EFrameCommand::None)
        RunCommand(action.command, action.slot);
    return true;
}

void TCBaseEditAnswerFrame::RunCommand(EFrameCommand, int) {}

void TCBaseEditAnswerFrame::SetUpGradeSlot(const SGradeSlot& slot, bool withPenalties, int startIndex)
{
    {
        const QSignalBlocker block(slot.grade);
        slot.grade->clear();
        for (const std::string& text : GradeComboTexts(withPenalties))
            slot.grade->addItem(lf::qt::ToQString(text));
        slot.grade->setCurrentIndex(startIndex);
    }
    QComboBox* grade = slot.grade;
    connect(slot.full, &QAbstractButton::clicked, this, [grade] { SetGrade(grade, kGradeIndex100); });
    connect(slot.none, &QAbstractButton::clicked, this, [grade] { SetGrade(grade, kGradeIndexNone); });
}

void TCBaseEditAnswerFrame::SetGrade(QComboBox* grade, int index)
{
    if (grade != nullptr)
        grade->setCurrentIndex(index);
}

void TCBaseEditAnswerFrame::SetUpPageButtons(QAbstractButton* previous, QAbstractButton* add,
                                             QAbstractButton* remove, QAbstractButton* next)
{
    SetGlyph(previous, "go-previous", "<");
    SetGlyph(add, "list-add", "+");
    SetGlyph(remove, "list-remove", "-");
    SetGlyph(next, "go-next", ">");
    previous->setEnabled(false);
    remove->setEnabled(false);
    next->setEnabled(false);
}

void TCBaseEditAnswerFrame::SetGlyph(QAbstractButton* button, const char* iconName, const char* fallbackText)
{
    const QString name = QString::fromLatin1(iconName);
    QIcon icon = QIcon::fromTheme(name, QIcon::fromTheme(name + QStringLiteral("-symbolic")));
    if (icon.isNull())
    {
        static const std::pair<const char*, QStyle::StandardPixmap> kStyleGlyphs[] = {
            {"go-previous", QStyle::SP_ArrowBack},          {"go-next", QStyle::SP_ArrowForward},
            {"media-playback-start", QStyle::SP_MediaPlay}, {"media-playback-pause", QStyle::SP_MediaPause},
            {"media-playback-stop", QStyle::SP_MediaStop},
        };
        for (const auto& [themeName, glyph] : kStyleGlyphs)
            if (name == QLatin1String(themeName))
                icon = button->style()->standardIcon(glyph);
    }
    if (icon.isNull())
        button->setText(QString::fromUtf8(fallbackText));
    else
        button->setIcon(icon);
}

void TCBaseEditAnswerFrame::FocusControl(QWidget* control)
{
    if (control != nullptr && control->isEnabled() && control->isVisibleTo(control->window()))
        control->setFocus(Qt::ShortcutFocusReason);
}

TCGradedSlotsFrame::~TCGradedSlotsFrame() = default;

void TCGradedSlotsFrame::RunCommand(EFrameCommand command, int slot)
{
    if (command != EFrameCommand::GradeToggle || slot < 1 || slot > 5)
        return;
    const SGradeSlot& grade = m_GradeSlots[static_cast<std::size_t>(slot - 1)];
    SetGrade(grade.grade, ToggledGradeIndex(grade.grade->currentIndex()));
    FocusControl(grade.grade);
}
