#include "editing/Listfrm.h"

#include "editing/WindowPlacement.h"
#include "mainwindow/EditingServices.h"
#include "model/support/Prefs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

Tm_ListFrm::Tm_ListFrm(CPrefs& prefs, const FormManager& formManager, QWidget* parent)
    : QWidget(parent, Qt::Window), m_Prefs(prefs), m_FormManager(formManager)
{
    setObjectName("m_ListFrm");
    setWindowTitle("Questions - Korvanta Lernfold");
    setMinimumSize(320, 240);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("The question list is not built yet.", this);
    label->setObjectName("m_pNotBuiltLabel");
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

void Tm_ListFrm::ShowList()
{
    // The stand-in covers none of the main window: it stands beside it where the screen has room, and
    // waits minimised where it has none.
    const QWidget* main = nullptr;
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "m_MainFrm" && window->isVisible())
            main = window;
    const QScreen* screen = main ? main->screen() : QGuiApplication::primaryScreen();
    if (!main || !screen)
    {
        show();
        return;
    }
    const QRect area = screen->availableGeometry();
    const QRect taken = main->frameGeometry();
    const int width = minimumWidth();
    const int rightRoom = area.right() - taken.right();
    const int leftRoom = taken.left() - area.left();
    if (rightRoom >= width || leftRoom >= width)
    {
        const int room = std::max(rightRoom, leftRoom);
        const int w = std::min(room, std::max(width, 480));
        const int x = rightRoom >= leftRoom ? taken.right() + 1 : taken.left() - w;
        setGeometry(x, std::max(area.top(), taken.top()), w, std::min(area.height(), taken.height()));
        showNormal();
    }
    else
        showMinimized();
}
void Tm_ListFrm::HideList()
{
    hide();
}
SWindowPlacement Tm_ListFrm::GetPlacement(const SWindowPlacement& kept) const
{
    return PlacementOf(*this, kept);
}
void Tm_ListFrm::SetPlacement(const SWindowPlacement& placement)
{
    ApplyPlacement(*this, placement);
}
void Tm_ListFrm::ReloadAll()
{
    LogNotBuiltYet("Tm_ListFrm::ReloadAll");
}
void Tm_ListFrm::OnUpdateItemRow(CBaseItem*)
{
    LogNotBuiltYet("Tm_ListFrm::OnUpdateItemRow");
}
void Tm_ListFrm::OnUpdateItemCell(EFormEvent, CBaseItem*)
{
    LogNotBuiltYet("Tm_ListFrm::OnUpdateItemCell");
}
void Tm_ListFrm::OnUpdateActiveQuestionByAction(EFormEvent)
{
    LogNotBuiltYet("Tm_ListFrm::OnUpdateActiveQuestionByAction");
}
void Tm_ListFrm::RefreshSelectionAndButtons()
{
    LogNotBuiltYet("Tm_ListFrm::RefreshSelectionAndButtons");
}
void Tm_ListFrm::ResetSearch(bool)
{
    LogNotBuiltYet("Tm_ListFrm::ResetSearch");
}
bool Tm_ListFrm::PasteShortcut()
{
    LogNotBuiltYet("Tm_ListFrm::PasteShortcut");
    return false;
}
bool Tm_ListFrm::SelectAllRows()
{
    LogNotBuiltYet("Tm_ListFrm::SelectAllRows");
    return false;
}
void Tm_ListFrm::m_ClearTrush_BtnClick()
{
    LogNotBuiltYet("Tm_ListFrm::m_ClearTrush_BtnClick");
}

void Tm_ListFrm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_FormManager.OnUpdateDate(EFormTarget::MainWindow, EFormEvent::ListClosed);
}

void Tm_ListFrm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        m_Prefs.m_bListFormActive = isActiveWindow();
    QWidget::changeEvent(event);
}
