#include "mainwindow/rules/ToolbarState.h"

#include <initializer_list>

namespace
{

void SetAll(std::map<std::string, bool>& map, std::initializer_list<const char*> names, bool value)
{
    for (const char* name : names)
        map[name] = value;
}

bool Lookup(const std::map<std::string, bool>& map, const std::string& name)
{
    const auto found = map.find(name);
    return found != map.end() && found->second;
}

} // namespace

bool SToolbarState::IsVisible(const std::string& name) const
{
    return Lookup(visible, name);
}
bool SToolbarState::IsChecked(const std::string& name) const
{
    return Lookup(checked, name);
}
bool SToolbarState::IsPressed(const std::string& name) const
{
    return Lookup(pressed, name);
}

bool IsStudying(const SToolbarInput& input)
{
    return input.phase != EPhase::None && !input.sessionPanelVisible && !input.selectorVisible &&
           input.mainViewVisible;
}

void ComputePrintCommands(bool wholeBookLoaded, SToolbarState& state)
{
    SetAll(state.visible, {"m_PrintBtn", "Print1", "N6"}, wholeBookLoaded);
}

SToolbarState ComputeToolbarState(const SToolbarInput& input)
{
    SToolbarState state;
    const EPhase phase = input.phase;
    const bool test = phase == EPhase::Test;
    const bool review = phase == EPhase::Review;
    const bool flash = phase == EPhase::Flash;
    const bool edit = phase == EPhase::Edit;
    const bool studying = IsStudying(input);
    const bool editing = studying && edit;
    const bool studyPhase = test || review || flash;

    // 1. Phase commands are always at hand.
    SetAll(state.enabled,
           {"m_TestBtn", "m_RewieBtn", "m_LearnMaterialBtn", "m_EditBtn", "Test1MenuItem", "Review1MenuItem",
            "Flash1MenuItem", "Edit2MenuItem"},
           true);
    ComputePrintCommands(input.wholeBookLoaded, state);

    // 2. Toolbar panels, stacked from the top.
    if (input.showStandardToolbar)
        state.panels.push_back("m_pToolbar1Panel");
    if (studying && input.showStandardToolbar)
        state.panels.push_back("m_pToolbar2Panel");
    if (editing && input.showFormattingToolbar)
    {
        state.panels.push_back("m_pToolbar3Panel");
        state.panels.push_back("m_pToolbar4Panel");
    }
    for (const char* panel : {"m_pToolbar1Panel", "m_pToolbar2Panel", "m_pToolbar3Panel", "m_pToolbar4Panel"})
        state.visible[panel] = false;
    for (const std::string& panel : state.panels)
        state.visible[panel] = true;

    // 3. Buttons.
    if (!input.keepButtons)
    {
        SetAll(state.visible, {"m_TestBtn", "m_RewieBtn", "m_LearnMaterialBtn", "m_EditBtn", "m_Separator1"},
               true);
        SetAll(state.visible,
               {"m_NewBtn", "m_OpenBookBtn", "m_SaveBtn", "m_SaveAsBtn", "m_DeleteBookBtn",
                "m_RestoreBookBtn", "m_Separator3", "m_ImportExportBtn", "m_Separator4", "m_DeleteRecordBtn",
                "m_CutBtn", "m_CopyBtn", "m_PasteBtn", "m_PasteArchiveBtn", "m_UndoBtn", "m_RedoBtn",
                "m_Separator5"},
               edit);
        SetAll(state.visible, {"m_NewRecordBtn", "m_DuplicateRecordBtn"},
               edit && input.viewMode != EQuestionStyle::Moodle);
        SetAll(state.visible,
               {"m_NewRecordDropDownBtn", "m_DuplicateRecordDropDownBtn", "m_ConvertRecordDropDownBtn"},
               edit && input.viewMode == EQuestionStyle::Moodle);
        state.visible["m_ScoreBtn"] = studyPhase;
        const bool pause = test && input.timerOn;
        state.visible["m_PauseBtn"] = pause;
        state.visible["m_BackToolBarBtn"] = !pause;
        state.visible["m_EndSessionBtn"] = test;
        if (input.childToolBarVisible)
            state.visible["m_ListBtn"] = review || flash || edit;
        state.visible["m_PrefsBtn"] = true;
        SetAll(state.visible,
               {"m_SyncBtn", "m_MoodleModeBtn", "m_TimerBtn", "m_DBSyncBtn", "m_Separator2", "m_WizardBtn",
                "m_pSavePicturesBtn", "m_pTextToWmf", "m_pScaleBtn"},
               false);
    }

    // 4. Menus.
    SetAll(state.visible,
           {"Help1", "Tools1", "View1", "QuestionStyle1", "Session1", "Phase1", "File1", "NewBook1",
            "OpenBook1"},
           true);
    SetAll(state.visible,
           {"Table2", "ImportandExport1", "N_ImportandExport1", "RestoreBook1", "N_RestoreBook1", "Insert1",
            "Edit1", "Formatting1"},
           editing);
    SetAll(state.visible, {"m_pListViewMenuItem", "N_ListView1"}, studying && (review || flash || edit));
    SetAll(state.visible, {"Zoom1", "N_Zoom1"}, studying && studyPhase);
    SetAll(state.visible, {"ClearAnswers1", "ClearMarks1", "N_ClearAnswers1"}, test);
    SetAll(state.visible, {"Score1", "N_Score1"}, studying && studyPhase);
    SetAll(state.visible, {"AppendBook1", "SaveBook1", "SaveBookas1", "DeleteBook1", "N5"},
           edit && input.wholeBookLoaded);
    state.visible["N4"] = state.IsVisible("NewBook1") || state.IsVisible("OpenBook1") ||
                          state.IsVisible("AppendBook1") || state.IsVisible("SaveBook1") ||
                          state.IsVisible("SaveBookas1");
    state.visible["CloseBook1"] = input.wholeBookLoaded;
    // Saving into the books folder needs a book to save.
    state.visible["Saveindefault1"] = input.wholeBookLoaded;

    // 5. Check marks.
    state.checked["Standard1"] = input.showStandardToolbar;
    if (state.IsVisible("Formatting1"))
        state.checked["Formatting1"] = input.showFormattingToolbar;
    state.checked["Flashcard1MenuItem"] = input.viewMode == EQuestionStyle::Flashcard;
    state.checked["Flashcard1PlusMenuItem"] = input.viewMode == EQuestionStyle::FlashcardPlus;
    state.checked["MultipleChoice1MenuItem"] = input.viewMode == EQuestionStyle::MultipleChoice;
    state.checked["Moodle1MenuItem"] = input.viewMode == EQuestionStyle::Moodle;
    state.checked["Test1MenuItem"] = test;
    state.checked["Review1MenuItem"] = review;
    state.checked["Flash1MenuItem"] = flash;
    state.checked["Edit2MenuItem"] = edit;

    // 6. Pressed phase button and list button.
    state.pressed["m_TestBtn"] = test;
    state.pressed["m_RewieBtn"] = review;
    state.pressed["m_LearnMaterialBtn"] = flash;
    state.pressed["m_EditBtn"] = edit;
    const bool listButtonShown = input.keepButtons ? input.childToolBarVisible && (review || flash || edit)
                                                   : state.IsVisible("m_ListBtn");
    if (input.childToolBarVisible && listButtonShown)
        state.pressed["m_ListBtn"] = input.listWindowVisible;
    if (state.IsVisible("m_pListViewMenuItem"))
        state.checked["m_pListViewMenuItem"] = input.listWindowVisible;

    // 7. Question style button.
    state.viewModeImage = 66 + ToNumber(input.viewMode);

    // 8. Navigation hints: the key hints while studying a book, plain names otherwise.
    if (studyPhase)
    {
        state.hints["m_PrevBtn"] =
            "Previous Question|[P][O][K] - pressing these keys returns to the previous "
            "question by 1, 10, 100 respectively";
        state.hints["m_QuestionBtn"] =
            "Question|[Q][A][X] - pressing these keys moves to the question, answer "
            "choices, or explanation portion of the problem respectively";
        state.hints["m_AnswerBtn"] =
            "Answer Choices|[A][B][C][D][E] - pressing these keys selects the respective answer choice";
        state.hints["m_ExplainBtn"] = "Explanation|Explanation";
        state.hints["m_NextBtn"] =
            "Next Question|[N][J][U] - pressing these keys advances to the next question "
            "by 1, 10, 100 respectively";
    }
    else
    {
        state.hints["m_PrevBtn"] = "Previous Question|Previous Question";
        state.hints["m_QuestionBtn"] = "Question|Question";
        state.hints["m_AnswerBtn"] = "Answer Choices|Answer Choices";
        state.hints["m_ExplainBtn"] = "Explanation|Explanation";
        state.hints["m_NextBtn"] = "Next Question|Next Question";
    }
    return state;
}
