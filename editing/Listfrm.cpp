#include "editing/Listfrm.h"

#include "editing/WindowPlacement.h"
#include "mainwindow/EditingServices.h"
#include "model/support/Prefs.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

Tm_ListFrm::Tm_ListFrm(CPrefs& prefs, QWidget* parent) : QWidget(parent, Qt::Window), m_Prefs(prefs)
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
    show();
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
void Tm_ListFrm::OnUpdateItemCell(std::uint8_t, CBaseItem*)
{
    LogNotBuiltYet("Tm_ListFrm::OnUpdateItemCell");
}
void Tm_ListFrm::OnUpdateActiveQuestionByAction(std::uint8_t)
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
        FormManager::OnUpdateDate(FormManager::kMainWindow, efeListClosed);
}

void Tm_ListFrm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        m_Prefs.m_bListFormActive = isActiveWindow();
    QWidget::changeEvent(event);
}
