// The main window's rules that need no widget: the title, the wheel lines and the smallest size, the
// session panel's lists by phase, and the form manager's routing of event codes.
#include "mainwindow/Managerfrm.h"
#include "mainwindow/rules/SessionPanelRules.h"
#include "mainwindow/rules/SkinPath.h"
#include "mainwindow/rules/WindowMetrics.h"
#include "mainwindow/rules/WindowTitle.h"
#include "model/collection/Itemsarray.h"
#include "platform/richtext/RichXml.h"
#include "tests/model/BookBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct TitleCase
{
    const char* name;
    EPhase phase;
    bool loaded;
    std::int32_t index;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os)
{
    *os << c.name;
}

class WindowTitleTest : public testing::TestWithParam<TitleCase>
{
};

TEST_P(WindowTitleTest, NamesTheBookAndPhase)
{
    const TitleCase& c = GetParam();
    STitleInput input;
    input.phase = c.phase;
    input.wholeBookLoaded = c.loaded;
    input.bookIndex = c.index;
    input.fileName = "/home/u/Books/Bio/Cells.lnf";
    EXPECT_EQ(MakeWindowTitle(input), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, WindowTitleTest,
    testing::Values(
        TitleCase{"NoBook", EPhase::None, false, -1, "Korvanta Lernfold"},
        TitleCase{"Test", EPhase::Test, true, 3, "Cells.lnf (Test Phase) - Korvanta Lernfold"},
        TitleCase{"Review", EPhase::Review, true, 3, "Cells.lnf (Review Phase) - Korvanta Lernfold"},
        TitleCase{"Flash", EPhase::Flash, true, 0, "Cells.lnf (Flash Phase) - Korvanta Lernfold"},
        TitleCase{"Edit", EPhase::Edit, true, 3, "Cells.lnf (Edit Phase) - Korvanta Lernfold"},
        TitleCase{"BookWithoutPhase", EPhase::None, true, 3, "Korvanta Lernfold"},
        TitleCase{"ChaptersOnly", EPhase::Flash, false, 3, "Korvanta Lernfold"},
        TitleCase{"UnnamedInEdit", EPhase::Edit, true, -1, "Unnamed (Edit Phase) - Korvanta Lernfold"},
        TitleCase{"UnnamedInTest", EPhase::Test, true, -1, "Korvanta Lernfold"}),
    [](const testing::TestParamInfo<TitleCase>& info) { return info.param.name; });

TEST(WindowMetricsTest, WheelLinesStayWithinOneToTen)
{
    const std::vector<std::pair<int, int>> cases = {{0, 1}, {-1, 1}, {1, 1}, {5, 5}, {10, 10}, {15, 10}};
    for (const auto& [system, lines] : cases)
        EXPECT_EQ(ClampWheelScrollLines(system), lines) << "system value " << system;
}

TEST(WindowMetricsTest, SmallSizesAreRaisedToTheMinimum)
{
    int width = 600, height = 400;
    CorrectMainWindowSize(width, height);
    EXPECT_EQ(width, 680);
    EXPECT_EQ(height, 550);
    width = 900, height = 700;
    CorrectMainWindowSize(width, height);
    EXPECT_EQ(width, 900);
    EXPECT_EQ(height, 700);
}

TEST(SessionPanelRulesTest, ListsAndControlsByPhase)
{
    const SSessionPanelLists test = SessionPanelLists(EPhase::Test, EQuestionStyle::Flashcard);
    EXPECT_EQ(test.filters, (std::vector<std::string>{"All", "Marked", "Answered", "Unanswered"}));
    EXPECT_EQ(test.phaseLabel, "Test Phase");
    EXPECT_TRUE(test.timerShown && test.modeShown && test.chaptersShown);

    const SSessionPanelLists review = SessionPanelLists(EPhase::Review, EQuestionStyle::Moodle);
    EXPECT_EQ(review.filters, (std::vector<std::string>{"All", "Marked", "Correct", "Incorrect"}));
    EXPECT_EQ(review.phaseLabel, "Review Phase");
    EXPECT_FALSE(review.timerShown || review.hintBarsShown);

    EXPECT_EQ(SessionPanelLists(EPhase::Flash, EQuestionStyle::Flashcard).phaseLabel, "Flash Phase");
    EXPECT_FALSE(SessionPanelLists(EPhase::Flash, EQuestionStyle::Flashcard).hintBarsShown);
    EXPECT_FALSE(SessionPanelLists(EPhase::Flash, EQuestionStyle::FlashcardPlus).hintBarsShown);
    EXPECT_TRUE(SessionPanelLists(EPhase::Flash, EQuestionStyle::MultipleChoice).hintBarsShown);
    EXPECT_TRUE(SessionPanelLists(EPhase::Flash, EQuestionStyle::Moodle).hintBarsShown);

    const SSessionPanelLists edit = SessionPanelLists(EPhase::Edit, EQuestionStyle::Moodle);
    EXPECT_EQ(edit.filters, (std::vector<std::string>{"All", "Marked"}));
    EXPECT_EQ(edit.phaseLabel, "Edit Phase");
    EXPECT_FALSE(edit.modeShown || edit.chaptersShown || edit.filterShown || edit.timerShown);

    EXPECT_TRUE(SessionPanelLists(EPhase::None, EQuestionStyle::Flashcard).filters.empty());
}

TEST(SessionPanelRulesTest, ModePositionsMapToTheCollectionsOptions)
{
    lf::test::BookEnvironment env;
    CItemsArray2 items;
    for (int position = 0; position < 4; ++position)
    {
        ApplyModePosition(items, position);
        EXPECT_EQ(ModePositionOf(items), position);
    }
    // Several options at once read as the design orders them: Cycle, then Random, then Depth.
    ApplyModePosition(items, 0);
    items.SetDepthMode(1);
    items.SetRandomMode(1);
    EXPECT_EQ(ModePositionOf(items), 1);
}

TEST(SessionPanelRulesTest, ChapterListHasAllTheChaptersAndTheAskedExtras)
{
    lf::test::BookEnvironment env;
    auto items = lf::test::BookBuilder().chapter("Cells").chapter("Plants").build();
    const CChapterEntries entries = FillCategoryList(*items, true, true, true);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries.front(), (std::pair<std::string, std::int32_t>{"All", -2}));
    EXPECT_EQ(entries[1].first, "Unfiled");
    EXPECT_EQ(entries[2].first, "Cells");
    EXPECT_EQ(entries[3].first, "Plants");
    EXPECT_EQ(entries[4], (std::pair<std::string, std::int32_t>{"Trash", -10}));
    EXPECT_EQ(entries[5], (std::pair<std::string, std::int32_t>{"Edit Chapters...", -3}));
    EXPECT_EQ(FillCategoryList(*items, false, false, false).size(), 3u);
}

// Records what the main window is asked to do.
class RecordingMainWindow final : public IMainWindowReceiver
{
public:
    std::vector<std::string> calls;
    void SelectChapterFromList(std::int32_t id) override { calls.push_back("chapter " + std::to_string(id)); }
    void OnItemFieldChanged(CBaseItem* item) override { calls.push_back(item ? "field item" : "field"); }
    void OnShowFieldRequest(std::uint8_t code) override { calls.push_back("show " + std::to_string(code)); }
    void NewQuestionOfCurrentKind(int) override { calls.push_back("new current"); }
    void NewQuestionOfKind(int kind, int) override { calls.push_back("new " + std::to_string(kind)); }
    void OnRefilterRequest() override { calls.push_back("refilter"); }
    void DeleteCurrentQuestion() override { calls.push_back("delete"); }
    void OnItemsChanged() override { calls.push_back("changed"); }
    void OnSortRequest() override { calls.push_back("sort"); }
    void OnListWindowClosed() override { calls.push_back("closed"); }
};

class RecordingListWindow final : public IListWindow
{
public:
    bool visible = true;
    std::vector<std::string> calls;
    bool IsListVisible() const override { return visible; }
    void ShowList() override {}
    void HideList() override {}
    void ReloadAll() override { calls.push_back("reload"); }
    void IgnoreUpdate() override { calls.push_back("ignore"); }
    void OnUpdateItemRow(CBaseItem*) override { calls.push_back("row"); }
    void OnUpdateItemCell(std::uint8_t code, CBaseItem*) override
    {
        calls.push_back("cell " + std::to_string(code));
    }
    void OnUpdateActiveQuestionByAction(std::uint8_t code) override
    {
        calls.push_back("show " + std::to_string(code));
    }
    void RefreshSelectionAndButtons() override { calls.push_back("buttons"); }
    void ResetSearch(bool) override {}
    bool PasteShortcut() override { return false; }
    bool SelectAllRows() override { return false; }
    void m_ClearTrush_BtnClick() override {}
};

class FormManagerTest : public testing::Test
{
protected:
    FormManagerTest()
    {
        FormManager::SetMainWindow(&main);
        FormManager::SetListWindow(&list);
    }
    ~FormManagerTest() override
    {
        FormManager::SetMainWindow(nullptr);
        FormManager::SetListWindow(nullptr);
    }
    lf::test::BookEnvironment env;
    RecordingMainWindow main;
    RecordingListWindow list;
};

TEST_F(FormManagerTest, MainWindowCodesReachTheirReceivers)
{
    const std::int32_t chapter = 4;
    const std::int32_t kind = 6;
    auto items = lf::test::BookBuilder().multipleChoice("Q?", {"a", "b"}, 0).build();
    CBaseItem* item = items->GetItem(0);
    struct Case
    {
        std::uint8_t code;
        SFormRecord record;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {1, SFormRecord(&chapter), {"chapter 4"}},
        {1, SFormRecord(), {}}, // without a chapter only the log line
        {2, SFormRecord(), {}},
        {3, SFormRecord(item), {}},
        {4, SFormRecord(item), {"field item"}},
        {7, SFormRecord(), {"field"}},
        {11, SFormRecord(item), {"field item"}},
        {12, SFormRecord(), {"show 12"}},
        {16, SFormRecord(), {"show 16"}},
        {20, SFormRecord(), {"show 20"}},
        {21, SFormRecord(), {}},
        {22, SFormRecord(), {"new current"}},
        {23, SFormRecord(&kind), {"new 6"}},
        {24, SFormRecord(), {"refilter"}},
        {25, SFormRecord(), {"delete"}},
        {26, SFormRecord(), {"changed"}},
        {27, SFormRecord(), {"sort"}},
        {28, SFormRecord(), {"closed"}},
        {29, SFormRecord(), {}},
    };
    for (const Case& c : cases)
    {
        main.calls.clear();
        FormManager::OnUpdateDate(FormManager::kMainWindow, c.code, c.record);
        EXPECT_EQ(main.calls, c.calls) << "code " << int(c.code);
    }
    EXPECT_NE(env.LogText().find("FormManager OnUpdateDate - recordNum == NULL"), std::string::npos);
    EXPECT_TRUE(list.calls.empty());
}

TEST_F(FormManagerTest, ListWindowCodesAreDroppedWhileItIsHidden)
{
    auto items = lf::test::BookBuilder().multipleChoice("Q?", {"a", "b"}, 0).build();
    CBaseItem* item = items->GetItem(0);
    FormManager::OnUpdateDate(FormManager::kListWindow, 1);
    FormManager::OnUpdateDate(FormManager::kListWindow, 3, item);
    FormManager::OnUpdateDate(FormManager::kListWindow, 3); // a row without a question
    FormManager::OnUpdateDate(FormManager::kListWindow, 9, item);
    FormManager::OnUpdateDate(FormManager::kListWindow, 13);
    FormManager::OnUpdateDate(FormManager::kListWindow, 21);
    EXPECT_EQ(list.calls, (std::vector<std::string>{"reload", "row", "cell 9", "show 13", "buttons"}));

    list.calls.clear();
    list.visible = false;
    for (std::uint8_t code = 1; code <= 28; ++code)
        FormManager::OnUpdateDate(FormManager::kListWindow, code, item);
    EXPECT_TRUE(list.calls.empty());
    EXPECT_TRUE(main.calls.empty());
}

} // namespace

namespace
{

TEST(SkinsTest, SkinPathFromTheOptions)
{
    lf::test::BookEnvironment env;
    CPrefs& prefs = env.prefs;
    prefs.m_EnableSkin = true;
    prefs.m_UseDefaultSkin = false;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\\Graphite.ssk", "/opt/lf/Skins/Graphite.ssk"},
        {"Graphite.ssk", "/opt/lf/Skins/Graphite.ssk"},
        {"Dark\\Night.ssk", "/opt/lf/Skins/Dark/Night.ssk"},
        {"/home/u/my.ssk", "/home/u/my.ssk"},
        {"", ""},
    };
    for (const auto& [stored, path] : cases)
    {
        prefs.m_ExternalSkinPath = stored;
        EXPECT_EQ(ResolveSkinPath(prefs, "/opt/lf"), path) << stored;
    }
    prefs.m_ExternalSkinPath = "Graphite.ssk";
    prefs.m_UseDefaultSkin = true;
    EXPECT_EQ(ResolveSkinPath(prefs, "/opt/lf"), "");
    prefs.m_UseDefaultSkin = false;
    prefs.m_EnableSkin = false;
    EXPECT_EQ(ResolveSkinPath(prefs, "/opt/lf"), "");
}

TEST(ResourcesTest, EveryHelpPageIsADocumentOfOurOwnStream)
{
    for (const char* page : {"Tutorial", "Test", "Review", "Flash", "Edit"})
    {
        const std::string path = std::string(LF_TEST_DATA_DIR) + "/../../resources/Help/" + page + ".rvf";
        lf::RichDocument doc;
        ASSERT_EQ(lf::ReadRichXml(lf::test::ReadFile(path), doc), lf::RichXmlResult::Loaded) << page;
        EXPECT_GE(doc.ItemCount(), 2) << page;
    }
}

} // namespace
