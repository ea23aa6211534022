// The main window's rich-text ground: the field font of the options, which stored texts in the default
// style show in, the hidden scratch views and editor that conversions and parsers work in, and the font
// action the font boxes run on the active editor.
#include "mainwindow/dialogs/Prefsfrm.h"
#include "mainwindow/frame/Mainfrm.h"
#include "platform/qt/RichActions.h"
#include "platform/qt/RichTextHostQt.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichTextOps.h"
#include "ui_Mainfrm.h"

void Tm_MainFrm::SetActionsResource(lf::qt::TrvActionsResource* actions)
{
    m_pActionsResource = actions;
}

void Tm_MainFrm::CreateScratchViews()
{
    m_pRichViewEditTMP = new lf::qt::RichViewEdit(this);
    m_pRichViewEditTMP->setObjectName("m_pRichViewEditTMP");
    m_pRichViewEditTMP->hide();
    // The scratch editor keeps the standard sheet in Arial, whatever the field font; pasted content adds
    // the styles it needs to that sheet alone.
    m_pRichViewEditTMP->Document() = lf::RichDocument(lf::RichStyleSheet::Default());
    m_RichViewTMP = lf::RichDocument(lf::RichStyleSheet::Default());
    m_RichViewTMP2 = lf::RichDocument(lf::RichStyleSheet::Default());
}

void Tm_MainFrm::ApplyFieldFont()
{
    // What was typed is stored before the pane is drawn again.
    OnStorageData();
    const lf::SRichFieldFont font = FieldFontOf(m_Prefs);
    lf::qt::InstallRichTextHost(font);

    for (lf::RichDocument* view : {&m_RichViewTMP, &m_RichViewTMP2})
        ApplyDefaultFont(view->styles);
    if (!m_DescriptionViewStr)
        return;
    ApplyDefaultFont(m_DescriptionViewStr->Document().styles);
    ApplyDefaultFont(m_DescriptionStr->Document().styles);
    if (ui->m_MainView->isVisibleTo(this) && m_DataStorage.GetItemsPtr2()->GetCurrentItem())
        OnUpdateForm(1, 0);
}

bool Tm_MainFrm::ApplyFontToActiveEditor(unsigned properties, const lf::qt::SFontChoice& font)
{
    if (!m_pActiveRichEdit || !m_pActionsResource)
        return false;
    return lf::qt::ApplyFontProperties(m_pActionsResource->rvActionFontEx1, *m_pActiveRichEdit, properties,
                                       font);
}
