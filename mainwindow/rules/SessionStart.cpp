#include "mainwindow/rules/SessionStart.h"

#include "mainwindow/rules/SessionPanelRules.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/support/Prefs.h"

ESessionStart StartSession(const SSessionStartInputs& inputs, CItemsArray2& items, CPrefs& prefs)
{
    if (!inputs.bookLoaded || (inputs.panelShown && inputs.bookNameEmpty))
        return ESessionStart::NoBook;
    const bool edit = inputs.phase == EPhase::Edit;
    if (!edit)
    {
        if (!inputs.chapterChosen)
            return ESessionStart::NoChapter;
        items.SetActiveCategory(inputs.chapterID, false);
    }
    ApplyModePosition(items, inputs.modePosition);
    if (inputs.phase == EPhase::Flash)
    {
        prefs.m_HintDelayForLearnMode = inputs.hintTime;
        prefs.m_DelayBeforeHintDelayForLearnMode = inputs.delayBeforeHint;
    }
    items.Refilter(true);
    if (edit && items.GetSequenceCount() <= 0)
    {
        // Editing starts on a question, so an empty chapter gets one.
        items.AddNewItem(qtMultipleChoice, /*source=*/nullptr, /*position=*/-1, /*category=*/-1);
        items.Refilter(false);
    }
    if (items.GetSequenceCount() > 0)
    {
        items.First();
        return ESessionStart::Started;
    }
    if (edit || !items.GetCycleMode())
        return ESessionStart::TooStrict;
    // A Cycle session leaves out what was answered right; without the modes the questions may come back.
    items.SetCycleMode(0);
    items.SetDepthMode(0);
    items.SetRandomMode(0);
    items.Refilter(false);
    return items.GetSequenceCount() <= 0 ? ESessionStart::TooStrict : ESessionStart::AskToClear;
}

bool AnswerClearQuestion(const SSessionStartInputs& inputs, bool clear, bool bookLoaded, CItemsArray2& items)
{
    if (!clear)
    {
        // The modes come back from the panel rather than the question being asked again for ever.
        ApplyModePosition(items, inputs.modePosition);
        return false;
    }
    if (bookLoaded)
        items.ResetAnswers(false);
    return true;
}
