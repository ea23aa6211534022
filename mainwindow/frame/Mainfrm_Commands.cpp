// The main menu's forwards and the menu commands whose logic lives in the main window (zoom, Contact
// Us), and the commands whose windows are still to come.
#include "mainwindow/EditingServices.h"
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/Zoomfrm.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/ZoomRules.h"
#include "platform/qt/Desktop.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/EventRules.h"
#include "ui_Mainfrm.h"

#include <QSpinBox>

namespace
{

// Commands of windows not built yet: using one writes "<command> - not built yet" to the log and does
// nothing else. A command leaves this table when its window is built and its action is bound.
struct SPendingCommand
{
    const char* action;  // the menu item or toolbar button
    const char* command; // the handler that will answer it
};

constexpr SPendingCommand kPendingCommands[] = {
    {"m_UndoBtn", "Tm_MainFrm::m_UndoBtnClick"},
    {"Undo1", "Tm_MainFrm::m_UndoBtnClick"},
    {"m_RedoBtn", "Tm_MainFrm::m_RedoBtnClick"},
    {"Redo1", "Tm_MainFrm::m_RedoBtnClick"},
    {"m_CutBtn", "Tm_MainFrm::m_CutBtnClick"},
    {"Cut1", "Tm_MainFrm::m_CutBtnClick"},
    {"m_CopyBtn", "Tm_MainFrm::m_CopyBtnClick"},
    {"Copy1", "Tm_MainFrm::m_CopyBtnClick"},
    {"m_PasteBtn", "Tm_MainFrm::m_PasteBtnClick"},
    {"Paste1", "Tm_MainFrm::m_PasteBtnClick"},
    {"m_PasteArchiveBtn", "Tm_MainFrm::m_PasteArchiveBtnClick"},
    {"MultiplePaste1", "Tm_MainFrm::m_PasteArchiveBtnClick"},
    {"Parse1", "Tm_MainFrm::m_pParsePasteMenuItemClick"},
    {"ParsewithPreview1", "Tm_MainFrm::m_pParsePasteWithPreviewMenuItemClick"},
    {"SelectAll1", "Tm_MainFrm::SelectAll1Click"},
    {"Clear1", "Tm_MainFrm::Clear1Click"},
    {"m_ConvertRecordDropDownBtn", "Tm_MainFrm::m_ConvertRecordDropDownBtnClick"},
    {"Audio1", "Tm_MainFrm::m_pVoiceCaptureBtnClick"},
    {"Symbol1", "Tm_MainFrm::m_pSymbolBrnClick"},
    {"Hyperlink1", "Tm_MainFrm::m_pInsertHyperlinkBtnClick"},
    {"SelectedRectangle1", "Tm_MainFrm::SelectedRegion1Click"},
    {"Desktop1", "Tm_MainFrm::Desctop1Click"},
    {"Photo1", "rvActionInsertPicture"},
    {"Table1", "rvActionInsertTable"},
    {"ToolButton15", "rvActionInsertTable"},
    {"TableInsert1", "rvActionInsertTable"},
    {"TableInsertRow1", "rvActionTableInsertRowsBelow"},
    {"TableDeleteRow1", "rvActionTableDeleteRows"},
    {"rvActionBold", "rvActionBold"},
    {"rvActionItalic", "rvActionItalic"},
    {"rvActionUnderline", "rvActionUnderline"},
    {"rvActionAlignLeft", "rvActionAlignLeft"},
    {"rvActionAlignCenter", "rvActionAlignCenter"},
    {"rvActionAlignRight", "rvActionAlignRight"},
};

} // namespace

void Tm_MainFrm::ConnectMenuCommands()
{
    const auto bind = lf::qt::ActionBinder(this);
    bind(ui->Score1, &Tm_MainFrm::m_ScoreBtnClick);
    bind(ui->ClearAnswers1, &Tm_MainFrm::m_ClearAnswersBtnClick);
    bind(ui->ClearMarks1, &Tm_MainFrm::m_ClearMarksBtnClick);
    bind(ui->HelpTopics1, &Tm_MainFrm::m_HelpBtnClick);
    bind(ui->Tutorial1, &Tm_MainFrm::m_pTutorialBtnClick);
    bind(ui->ContactUs1, &Tm_MainFrm::ContactUs1Click);
    bind(ui->EmptyTrash1, &Tm_MainFrm::EmptyTrash1Click);

    // The question commands of the editing windows.
    for (QAction* action : {ui->m_NewRecordBtn, ui->m_NewRecordDropDownBtn, ui->NewQuestion1})
        connect(action, &QAction::triggered, this, [this] { NewQuestionOfCurrentKind(0); });
    for (QAction* action : {ui->m_DuplicateRecordBtn, ui->m_DuplicateRecordDropDownBtn, ui->NewCopyQuestion1})
        connect(action, &QAction::triggered, this, [this] { m_pEditing->DuplicateCurrentQuestion(); });
    for (QAction* action : {ui->m_DeleteRecordBtn, ui->Delete1})
        connect(action, &QAction::triggered, this, [this] { DeleteCurrentQuestion(); });

    for (const SPendingCommand& pending : kPendingCommands)
        if (QAction* action = FindAction(pending.action))
        {
            const std::string command = pending.command;
            connect(action, &QAction::triggered, this, [command] { LogNotBuiltYet(command); });
        }
}

void Tm_MainFrm::Zoom1Click()
{
    const int percent = lf::zoom::ZoomPercentOfStep(m_FontSizeStep);
    Tm_pZoomFrm zoom(this);
    zoom.CustomValueSpinEdit().setValue(100);
    const int preset = lf::zoom::ZoomPresetOf(percent);
    zoom.SetPercent(preset != 0 ? preset : percent);
    if (lf::qt::CurrentDialogs().RunModal(zoom) != lf::qt::mrOk)
        return;
    const int chosen = zoom.GetPercent();
    if (chosen <= 0 || chosen == percent)
        return;
    m_FontSizeStep = lf::zoom::ZoomStepOfPercent(chosen);
    ApplyZoom();
}

void Tm_MainFrm::ContactUs1Click()
{
    lf::qt::OpenWithShell("mailto:" + SupportEmailAddress());
}

void Tm_MainFrm::EmptyTrash1Click()
{
    OnStorageData();
    if (m_pListWindow)
        m_pListWindow->m_ClearTrush_BtnClick();
}
