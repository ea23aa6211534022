#include "mainwindow/EditingServices.h"

#include "model/support/Log.h"

IEditFrame::~IEditFrame() = default;
IEditingServices::~IEditingServices() = default;

void LogNotBuiltYet(const std::string& name)
{
    WriteLog(name + " - not built yet", 1, 1);
}

void CPendingEditingServices::CreateEditFrame(EView)
{
    LogNotBuiltYet("Tm_MainFrm::CreateEditFrame");
}
// Destroying a frame that was never docked is a no-op, so it stays quiet: every phase change calls it.
void CPendingEditingServices::DestroyEditFrame() {}
void CPendingEditingServices::NewQuestionOfKind(int, int)
{
    LogNotBuiltYet("Tm_MainFrm::NewQuestionOfKind");
}
void CPendingEditingServices::NewQuestionOfCurrentKind(int)
{
    LogNotBuiltYet("Tm_MainFrm::NewQuestionOfCurrentKind");
}
void CPendingEditingServices::DeleteCurrentQuestion()
{
    LogNotBuiltYet("Tm_MainFrm::DeleteCurrentQuestion");
}
void CPendingEditingServices::QuickEdit(int)
{
    LogNotBuiltYet("Tm_MainFrm::m_QuickEditBtnClick");
}
void CPendingEditingServices::OnURLJump(const std::string&)
{
    LogNotBuiltYet("Tm_MainFrm::OnURLJump");
}
void CPendingEditingServices::OnClipboardChange()
{
    LogNotBuiltYet("Tm_MainFrm::OnClipboardChainMessage");
}
void CPendingEditingServices::RegisterHotKeys(bool)
{
    LogNotBuiltYet("Tm_MainFrm::RegisterHotKeys");
}
void CPendingEditingServices::UnregisterHotKeys() {}
void CPendingEditingServices::ClearImportedImageCache() {}
void CPendingEditingServices::UpdateEditButtons() {}
bool CPendingEditingServices::HandleShortcutKey(SShortcutKey)
{
    LogNotBuiltYet("TCBaseEditAnswerFrame::HandleShortcutKey");
    return false;
}
void CPendingEditingServices::DuplicateCurrentQuestion()
{
    LogNotBuiltYet("Tm_MainFrm::m_DuplicateRecordBtnClick");
}
