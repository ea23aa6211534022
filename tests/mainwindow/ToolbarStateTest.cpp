// The toolbar and menu table by phase, question style and book state.
#include "mainwindow/rules/ToolbarState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

SToolbarInput Studying(EPhase phase)
{
    SToolbarInput input;
    input.phase = phase;
    input.wholeBookLoaded = true;
    input.mainViewVisible = true;
    return input;
}

SToolbarInput OnSessionPanel(EPhase phase)
{
    SToolbarInput input;
    input.phase = phase;
    input.sessionPanelVisible = true;
    return input;
}

std::vector<std::string> Shown(const SToolbarState& state, const std::vector<std::string>& names)
{
    std::vector<std::string> shown;
    for (const std::string& name : names)
        if (state.IsVisible(name))
            shown.push_back(name);
    return shown;
}

const std::vector<std::string> kButtonsOfEveryPhase = {"m_TestBtn", "m_RewieBtn", "m_LearnMaterialBtn",
                                                       "m_EditBtn"};
const std::vector<std::string> kSessionButtons = {"m_ScoreBtn", "m_PauseBtn", "m_BackToolBarBtn",
                                                  "m_EndSessionBtn", "m_ListBtn"};
const std::vector<std::string> kEditButtons = {"m_NewBtn",
                                               "m_SaveBtn",
                                               "m_DeleteRecordBtn",
                                               "m_NewRecordBtn",
                                               "m_DuplicateRecordBtn",
                                               "m_NewRecordDropDownBtn",
                                               "m_ConvertRecordDropDownBtn"};

struct ButtonCase
{
    const char* name;
    SToolbarInput input;
    std::vector<std::string> session;
    std::vector<std::string> edit;
};

void PrintTo(const ButtonCase& c, std::ostream* os)
{
    *os << c.name;
}

class ToolbarButtonsTest : public testing::TestWithParam<ButtonCase>
{
};

TEST_P(ToolbarButtonsTest, ShowsTheButtonsOfThePhase)
{
    const ButtonCase& c = GetParam();
    const SToolbarState state = ComputeToolbarState(c.input);
    EXPECT_EQ(Shown(state, kButtonsOfEveryPhase), kButtonsOfEveryPhase);
    EXPECT_EQ(Shown(state, kSessionButtons), c.session);
    EXPECT_EQ(Shown(state, kEditButtons), c.edit);
    EXPECT_TRUE(state.IsVisible("m_PrefsBtn"));
    for (const char* hidden : {"m_SyncBtn", "m_MoodleModeBtn", "m_TimerBtn", "m_DBSyncBtn", "m_Separator2",
                               "m_WizardBtn", "m_pSavePicturesBtn", "m_pTextToWmf", "m_pScaleBtn"})
        EXPECT_FALSE(state.IsVisible(hidden)) << hidden;
}

SToolbarInput WithStyle(SToolbarInput input, EQuestionStyle style)
{
    input.viewMode = style;
    return input;
}

SToolbarInput WithClock(SToolbarInput input)
{
    input.timerOn = true;
    return input;
}

INSTANTIATE_TEST_SUITE_P(
    Phases, ToolbarButtonsTest,
    testing::Values(
        ButtonCase{"NoPhase", SToolbarInput{}, {"m_BackToolBarBtn"}, {}},
        ButtonCase{"Test", Studying(EPhase::Test), {"m_ScoreBtn", "m_BackToolBarBtn", "m_EndSessionBtn"}, {}},
        ButtonCase{"TestWithClock",
                   WithClock(Studying(EPhase::Test)),
                   {"m_ScoreBtn", "m_PauseBtn", "m_EndSessionBtn"},
                   {}},
        ButtonCase{"ReviewClockIgnored",
                   WithClock(Studying(EPhase::Review)),
                   {"m_ScoreBtn", "m_BackToolBarBtn", "m_ListBtn"},
                   {}},
        ButtonCase{"Flash", Studying(EPhase::Flash), {"m_ScoreBtn", "m_BackToolBarBtn", "m_ListBtn"}, {}},
        ButtonCase{"EditFlashcard",
                   Studying(EPhase::Edit),
                   {"m_BackToolBarBtn", "m_ListBtn"},
                   {"m_NewBtn", "m_SaveBtn", "m_DeleteRecordBtn", "m_NewRecordBtn", "m_DuplicateRecordBtn"}},
        ButtonCase{"EditMoodle",
                   WithStyle(Studying(EPhase::Edit), EQuestionStyle::Moodle),
                   {"m_BackToolBarBtn", "m_ListBtn"},
                   {"m_NewBtn", "m_SaveBtn", "m_DeleteRecordBtn", "m_NewRecordDropDownBtn",
                    "m_ConvertRecordDropDownBtn"}}),
    [](const testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

TEST(ToolbarStateTest, ToolbarPanelsStackByPhaseAndOptions)
{
    EXPECT_EQ(ComputeToolbarState(SToolbarInput{}).panels, (std::vector<std::string>{"m_pToolbar1Panel"}));
    EXPECT_EQ(ComputeToolbarState(OnSessionPanel(EPhase::Test)).panels,
              (std::vector<std::string>{"m_pToolbar1Panel"}));
    EXPECT_EQ(ComputeToolbarState(Studying(EPhase::Review)).panels,
              (std::vector<std::string>{"m_pToolbar1Panel", "m_pToolbar2Panel"}));
    EXPECT_EQ(ComputeToolbarState(Studying(EPhase::Edit)).panels,
              (std::vector<std::string>{"m_pToolbar1Panel", "m_pToolbar2Panel", "m_pToolbar3Panel",
                                        "m_pToolbar4Panel"}));
    SToolbarInput noStandard = Studying(EPhase::Edit);
    noStandard.showStandardToolbar = false;
    noStandard.showFormattingToolbar = true;
    const SToolbarState state = ComputeToolbarState(noStandard);
    EXPECT_EQ(state.panels, (std::vector<std::string>{"m_pToolbar3Panel", "m_pToolbar4Panel"}));
    EXPECT_FALSE(state.IsVisible("m_pToolbar1Panel"));
    EXPECT_FALSE(state.IsChecked("Standard1"));
}

TEST(ToolbarStateTest, MenusFollowPhaseAndBook)
{
    const std::vector<std::string> menus = {
        "Table2",    "Insert1",    "Edit1",  "m_pListViewMenuItem", "Zoom1", "ClearAnswers1", "Score1",
        "SaveBook1", "CloseBook1", "Print1", "Saveindefault1"};
    const std::vector<std::pair<SToolbarInput, std::vector<std::string>>> cases = {
        {SToolbarInput{}, {}},
        {OnSessionPanel(EPhase::Test), {"ClearAnswers1"}},
        {Studying(EPhase::Test),
         {"Zoom1", "ClearAnswers1", "Score1", "CloseBook1", "Print1", "Saveindefault1"}},
        {Studying(EPhase::Flash),
         {"m_pListViewMenuItem", "Zoom1", "Score1", "CloseBook1", "Print1", "Saveindefault1"}},
        {Studying(EPhase::Edit),
         {"Table2", "Insert1", "Edit1", "m_pListViewMenuItem", "SaveBook1", "CloseBook1", "Print1",
          "Saveindefault1"}},
    };
    for (const auto& [input, shown] : cases)
    {
        const SToolbarState state = ComputeToolbarState(input);
        EXPECT_EQ(Shown(state, menus), shown) << "phase " << int(input.phase);
        for (const char* always : {"Help1", "Tools1", "View1", "File1", "NewBook1", "OpenBook1", "N4"})
            EXPECT_TRUE(state.IsVisible(always)) << always;
    }
}

TEST(ToolbarStateTest, ChecksAndPressedStateFollowPhaseStyleAndListWindow)
{
    SToolbarInput input = Studying(EPhase::Flash);
    input.viewMode = EQuestionStyle::MultipleChoice;
    input.listWindowVisible = true;
    SToolbarState state = ComputeToolbarState(input);
    EXPECT_TRUE(state.IsPressed("m_LearnMaterialBtn"));
    EXPECT_FALSE(state.IsPressed("m_TestBtn") || state.IsPressed("m_RewieBtn") ||
                 state.IsPressed("m_EditBtn"));
    EXPECT_TRUE(state.IsChecked("Flash1MenuItem"));
    EXPECT_TRUE(state.IsChecked("MultipleChoice1MenuItem"));
    EXPECT_FALSE(state.IsChecked("Moodle1MenuItem"));
    EXPECT_TRUE(state.IsPressed("m_ListBtn"));
    EXPECT_TRUE(state.IsChecked("m_pListViewMenuItem"));
    EXPECT_EQ(state.viewModeImage, 68);

    input.listWindowVisible = false;
    state = ComputeToolbarState(input);
    EXPECT_FALSE(state.IsPressed("m_ListBtn"));
    EXPECT_FALSE(state.IsChecked("m_pListViewMenuItem"));

    // Test phase has no list button to press.
    input = Studying(EPhase::Test);
    input.listWindowVisible = true;
    EXPECT_EQ(ComputeToolbarState(input).pressed.count("m_ListBtn"), 0u);
}

TEST(ToolbarStateTest, NavigationHintsNameTheKeysWhileStudying)
{
    EXPECT_EQ(ComputeToolbarState(Studying(EPhase::Test)).hints.at("m_NextBtn"),
              "Next Question|[N][J][U] - pressing these keys advances to the next question by 1, 10, 100 "
              "respectively");
    EXPECT_EQ(ComputeToolbarState(Studying(EPhase::Edit)).hints.at("m_NextBtn"),
              "Next Question|Next Question");
    EXPECT_EQ(ComputeToolbarState(SToolbarInput{}).hints.at("m_PrevBtn"),
              "Previous Question|Previous Question");
}

TEST(ToolbarStateTest, KeepButtonsLeavesTheButtonsAlone)
{
    SToolbarInput input = Studying(EPhase::Edit);
    input.keepButtons = true;
    const SToolbarState state = ComputeToolbarState(input);
    for (const char* button : {"m_NewBtn", "m_TestBtn", "m_ScoreBtn", "m_PrefsBtn"})
        EXPECT_EQ(state.visible.count(button), 0u) << button;
    EXPECT_TRUE(state.IsVisible("Edit1"));
    EXPECT_TRUE(state.IsVisible("m_PrintBtn"));
}

} // namespace
