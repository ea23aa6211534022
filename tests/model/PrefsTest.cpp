#include "model/support/Prefs.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace
{

using lf::test::PrintTo;

namespace fs = std::filesystem;
using lf::test::FakeSystem;
using lf::test::TempDir;

// Every test gets an empty store of its own, a documents folder and a program folder under a scratch folder.
class PrefsTest : public ::testing::Test
{
protected:
    PrefsTest()
    {
        m_oldConfig = std::getenv("LERNFOLD_CONFIG_DIR");
        setenv("LERNFOLD_CONFIG_DIR", m_config.path().c_str(), 1);
        fs::create_directories(m_root.path() / "docs");
        fs::create_directories(m_root.path() / "prog");
        m_system.documentsFolder = m_root.folder() + "docs/";
        m_system.programPath = m_root.file("prog/lernfold");
    }

    ~PrefsTest() override
    {
        SetLogBooksDirectory("");
        setenv("LERNFOLD_CONFIG_DIR", m_oldConfig.c_str(), 1);
    }

    std::string DefaultBooks() const { return m_root.folder() + "docs/Korvanta/Lernfold/Books/"; }

    TempDir m_config;
    TempDir m_root;
    FakeSystem m_system;
    std::string m_oldConfig;
};

// --- Defaults on an empty store, and the names they are written under ---

struct DefaultCase
{
    const char* name; // registry value name
    std::function<long long(const CPrefs&)> get;
    long long expected;
};

class PrefsDefaultsTest : public PrefsTest, public ::testing::WithParamInterface<DefaultCase>
{
};

TEST_P(PrefsDefaultsTest, EmptyStoreGivesDefaultAndSaveWritesIt)
{
    const DefaultCase& c = GetParam();
    CPrefs prefs;
    ASSERT_TRUE(prefs.Load());
    EXPECT_EQ(c.get(prefs), c.expected) << c.name;
    ASSERT_TRUE(prefs.Save());
    EXPECT_EQ(ReadValueFromRegistry(c.name, INT_MIN + 7), static_cast<std::int32_t>(c.expected)) << c.name;
}

#define LF_MEMBER(member) [](const CPrefs& p) -> long long { return p.member; }
// The question style as the windows read it, by its stored number.
#define LF_STYLE [](const CPrefs& p) -> long long { return ToNumber(p.GetQuestionStyle()); }

INSTANTIATE_TEST_SUITE_P(
    Options, PrefsDefaultsTest,
    ::testing::Values(DefaultCase{"EnabledAutoUpdate", LF_MEMBER(m_EnabledAutoUpdate), 1},
                      DefaultCase{"HintDelayForLearnMode", LF_MEMBER(m_HintDelayForLearnMode), 1},
                      DefaultCase{"DelayBeforeHintDelayForLearnMode",
                                  LF_MEMBER(m_DelayBeforeHintDelayForLearnMode), 1},
                      DefaultCase{"ViewMode", LF_MEMBER(m_ViewMode), 0},
                      DefaultCase{"BackupAllow", LF_MEMBER(m_BackupAllow), 1},
                      DefaultCase{"BackupTime", LF_MEMBER(m_BackupTime), 5},
                      DefaultCase{"MainFormFontSize", LF_MEMBER(GetMainFormFontSize()), 0},
                      DefaultCase{"FieldFontSize", LF_MEMBER(m_FieldFontSize), 12},
                      DefaultCase{"FieldFontCharSet", LF_MEMBER(m_FieldFontCharSet), 1},
                      DefaultCase{"FieldFontColor", LF_MEMBER(m_FieldFontColor), 0x80000008LL},
                      DefaultCase{"FieldFontStyleBold", LF_MEMBER(m_FieldFontStyleBold), 0},
                      DefaultCase{"FieldFontStyleItalic", LF_MEMBER(m_FieldFontStyleItalic), 0},
                      DefaultCase{"FieldFontStyleUnderline", LF_MEMBER(m_FieldFontStyleUnderline), 0},
                      DefaultCase{"FieldFontStyleStrikeOut", LF_MEMBER(m_FieldFontStyleStrikeOut), 0},
                      DefaultCase{"EnableSkin", LF_MEMBER(m_EnableSkin), 1},
                      DefaultCase{"UseDefaultSkin", LF_MEMBER(m_UseDefaultSkin), 1},
                      DefaultCase{"ShowListForReviewMode", LF_MEMBER(m_ShowListForReviewMode), 0},
                      DefaultCase{"ShowListForLearnMode", LF_MEMBER(m_ShowListForLearnMode), 0},
                      DefaultCase{"ShowListForEditMode", LF_MEMBER(m_ShowListForEditMode), 1},
                      DefaultCase{"QAX_TYPE_LEARN", LF_MEMBER(m_QAX_TYPE_LEARN), 0},
                      DefaultCase{"ListFormColWv4_70", LF_MEMBER(m_ListFormColWidths[0]), 40},
                      DefaultCase{"ListFormColWv4_71", LF_MEMBER(m_ListFormColWidths[1]), 30},
                      DefaultCase{"ListFormColWv4_72", LF_MEMBER(m_ListFormColWidths[2]), 100},
                      DefaultCase{"ListFormColWv4_73", LF_MEMBER(m_ListFormColWidths[3]), 50},
                      DefaultCase{"ListFormColWv4_74", LF_MEMBER(m_ListFormColWidths[4]), 30},
                      DefaultCase{"ListFormColWv4_75", LF_MEMBER(m_ListFormColWidths[5]), 150},
                      DefaultCase{"ListFormColWv4_76", LF_MEMBER(m_ListFormColWidths[6]), 400},
                      DefaultCase{"ListFormColWv4_77", LF_MEMBER(m_ListFormColWidths[7]), 200},
                      DefaultCase{"ListFormColWv4_78", LF_MEMBER(m_ListFormColWidths[8]), 500},
                      DefaultCase{"BookFilterEnable", LF_MEMBER(m_BookList.FilterEnable), 0},
                      DefaultCase{"BookSortEnable", LF_MEMBER(m_BookList.SortEnable), 0},
                      DefaultCase{"BookFilterFieldName", LF_MEMBER(m_BookList.FilterField), 0},
                      DefaultCase{"BookFilterTimeLeft", LF_MEMBER(m_BookList.FilterPeriod), 0},
                      DefaultCase{"BookSortFieldName", LF_MEMBER(m_BookList.SortField), 0},
                      DefaultCase{"BookSortUp", LF_MEMBER(m_BookList.SortUp), 1},
                      DefaultCase{"ParserNumberingType", LF_MEMBER(m_ParserNumberingType), 1},
                      DefaultCase{"ParserNumberingFormat", LF_MEMBER(m_ParserNumberingFormat), 0},
                      DefaultCase{"ParserFeedbackExist", LF_MEMBER(m_ParserFeedbackExist), 0},
                      DefaultCase{"ParserFeedbackSeparator", LF_MEMBER(m_ParserFeedbackSeparator), 0},
                      DefaultCase{"ShowStandartToolbar", LF_MEMBER(m_ShowStandartToolbar), 1},
                      DefaultCase{"ShowFormatingToolbar", LF_MEMBER(m_ShowFormatingToolbar), 1},
                      DefaultCase{"MoveToTrusShowAskMsg", LF_MEMBER(m_MoveToTrusShowAskMsg), 0},
                      DefaultCase{"ListFormVisible", LF_MEMBER(m_ListFormVisible), 0}),
    [](const ::testing::TestParamInfo<DefaultCase>& info) { return std::string(info.param.name); });

TEST_F(PrefsTest, EmptyStoreGivesTextDefaultsAndCreatesTheBooksFolder)
{
    CPrefs prefs;
    ASSERT_TRUE(prefs.Load());
    EXPECT_EQ(prefs.m_AuthorId, "Lernfold for Windows");
    EXPECT_EQ(prefs.m_FieldFontName, "Arial");
    EXPECT_EQ(prefs.m_ExternalSkinPath, "");
    EXPECT_EQ(prefs.GetBooksDirectory(), DefaultBooks());
    EXPECT_EQ(prefs.m_BackupDirectory, DefaultBooks());
    EXPECT_TRUE(fs::is_directory(DefaultBooks()));
    for (int book = 0; book < CPrefs::kBookButtonCount; ++book)
    {
        EXPECT_EQ(prefs.m_BooksDisplay[book], "");
        EXPECT_EQ(prefs.m_BooksPath[book], "");
    }
    ASSERT_TRUE(prefs.Save());
    EXPECT_EQ(ReadValueFromRegistry2("AuthorId", "?"), "Lernfold for Windows");
    EXPECT_EQ(ReadValueFromRegistry2("BooksDirectory", "?"), DefaultBooks());
    EXPECT_EQ(ReadValueFromRegistry2("BooksDisplay_Unit_0_Book_10", "?"), "");
    EXPECT_EQ(ReadValueFromRegistry2("BooksPath_Unit_0_Book_0", "?"), "");
    EXPECT_EQ(ReadValueFromRegistry("PrefsVersion", 0), 4);
    EXPECT_EQ(ReadValueFromRegistry("MajorVersion", 0), 4);
    EXPECT_EQ(ReadValueFromRegistry("MinorVersion", 0), 9);
    EXPECT_EQ(ReadValueFromRegistry("BuildVersion", 0), 610);
}

// --- Stored values out of range ---

struct StoredCase
{
    const char* label;
    const char* name;
    std::int32_t stored;
    std::function<long long(const CPrefs&)> get;
    long long expected;
};

class PrefsStoredValueTest : public PrefsTest, public ::testing::WithParamInterface<StoredCase>
{
};

TEST_P(PrefsStoredValueTest, ReadsAsItsConsumersNeedIt)
{
    const StoredCase& c = GetParam();
    WriteValueToRegistry(c.name, c.stored);
    CPrefs prefs;
    prefs.Load();
    EXPECT_EQ(c.get(prefs), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PrefsStoredValueTest,
    ::testing::Values(
        StoredCase{"FontSizeLimitedBelow", "MainFormFontSize", -40, LF_MEMBER(GetMainFormFontSize()), -25},
        StoredCase{"FontSizeLimitedAbove", "MainFormFontSize", 80, LF_MEMBER(GetMainFormFontSize()), 50},
        StoredCase{"FontSizeInRange", "MainFormFontSize", -7, LF_MEMBER(GetMainFormFontSize()), -7},
        StoredCase{"EqualOneFlagTwoIsOff", "BackupAllow", 2, LF_MEMBER(m_BackupAllow), 0},
        StoredCase{"EqualOneFlagOneIsOn", "ShowListForReviewMode", 1, LF_MEMBER(m_ShowListForReviewMode), 1},
        StoredCase{"NonZeroFlagTwoIsOn", "EnableSkin", 2, LF_MEMBER(m_EnableSkin), 1},
        StoredCase{"NonZeroFlagZeroIsOff", "EnabledAutoUpdate", 0, LF_MEMBER(m_EnabledAutoUpdate), 0},
        StoredCase{"ZeroWidthKeepsDefault", "ListFormColWv4_72", 0, LF_MEMBER(m_ListFormColWidths[2]), 100},
        StoredCase{"NegativeWidthKeepsDefault", "ListFormColWv4_78", -3, LF_MEMBER(GetListColumnWidth(8)),
                   500},
        StoredCase{"PositiveWidthTaken", "ListFormColWv4_70", 77, LF_MEMBER(GetListColumnWidth(0)), 77},
        StoredCase{"SignedByteKeepsLowByte", "ViewMode", 200, LF_MEMBER(m_ViewMode), -56},
        StoredCase{"ViewModeOutOfRangeIsDefault", "ViewMode", 200, LF_MEMBER(GetViewMode()), 0},
        StoredCase{"ViewModeInRange", "ViewMode", 3, LF_MEMBER(GetViewMode()), 3},
        StoredCase{"QuestionStyleOutOfRangeIsFlashcard", "ViewMode", 200, LF_STYLE,
                   ToNumber(EQuestionStyle::Flashcard)},
        StoredCase{"QuestionStyleMultipleChoice", "ViewMode", 2, LF_STYLE,
                   ToNumber(EQuestionStyle::MultipleChoice)},
        StoredCase{"QuestionStyleMoodle", "ViewMode", 3, LF_STYLE, ToNumber(EQuestionStyle::Moodle)},
        StoredCase{"QuestionFormatOutOfRange", "QAX_TYPE_LEARN", 2, LF_MEMBER(GetQaxTypeLearn()), 0},
        StoredCase{"NumberingTypeLowByte", "ParserNumberingType", 256, LF_MEMBER(GetParserNumberingType()),
                   0},
        StoredCase{"NumberingTypeOutOfRange", "ParserNumberingType", 9, LF_MEMBER(GetParserNumberingType()),
                   1},
        StoredCase{"NumberingFormatOutOfRange", "ParserNumberingFormat", 3,
                   LF_MEMBER(GetParserNumberingFormat()), 0},
        StoredCase{"FeedbackSeparatorOutOfRange", "ParserFeedbackSeparator", -1,
                   LF_MEMBER(GetParserFeedbackSeparator()), 0},
        StoredCase{"FilterFieldOutOfRange", "BookFilterFieldName", 3, LF_MEMBER(GetBookFilterField()), 0},
        StoredCase{"FilterPeriodLast", "BookFilterTimeLeft", 10, LF_MEMBER(GetBookFilterPeriod()), 10},
        StoredCase{"FilterPeriodOutOfRange", "BookFilterTimeLeft", 11, LF_MEMBER(GetBookFilterPeriod()), 0},
        StoredCase{"SortFieldOutOfRange", "BookSortFieldName", 5, LF_MEMBER(GetBookSortField()), 0},
        StoredCase{"UnsignedByteKeepsLowByte", "FieldFontCharSet", 0x1FF, LF_MEMBER(m_FieldFontCharSet), 255},
        StoredCase{"BackupTimeZeroIsOff", "BackupTime", 0, LF_MEMBER(GetBackupIntervalMilliseconds()), 0},
        StoredCase{"BackupTimeNegativeIsOff", "BackupTime", -5, LF_MEMBER(GetBackupIntervalMilliseconds()),
                   0},
        StoredCase{"BackupTimeInMinutes", "BackupTime", 5, LF_MEMBER(GetBackupIntervalMilliseconds()),
                   300000},
        StoredCase{"BackupTimeSaturates", "BackupTime", INT_MAX, LF_MEMBER(GetBackupIntervalMilliseconds()),
                   INT_MAX},
        StoredCase{"BackupsNotAllowedAreOff", "BackupAllow", 0, LF_MEMBER(GetBackupIntervalMilliseconds()),
                   0},
        StoredCase{"HintStepZeroIsOff", "HintDelayForLearnMode", 0, LF_MEMBER(GetHintStepMilliseconds()), 0},
        StoredCase{"HintStepInTenths", "HintDelayForLearnMode", 3, LF_MEMBER(GetHintStepMilliseconds()), 300},
        StoredCase{"HintDelayNegativeIsOff", "DelayBeforeHintDelayForLearnMode", -1,
                   LF_MEMBER(GetHintDelayMilliseconds()), 0},
        StoredCase{"HintDelayInSeconds", "DelayBeforeHintDelayForLearnMode", 2,
                   LF_MEMBER(GetHintDelayMilliseconds()), 2000}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.label); });

TEST_F(PrefsTest, SignedBytesAreWrittenBackSignExtended)
{
    WriteValueToRegistry("ViewMode", 200);
    WriteValueToRegistry("FieldFontCharSet", 200);
    CPrefs prefs;
    prefs.Load();
    prefs.Save();
    EXPECT_EQ(ReadValueFromRegistry("ViewMode", 0), -56);
    EXPECT_EQ(ReadValueFromRegistry("FieldFontCharSet", 0), 200);
}

TEST_F(PrefsTest, EverythingSavedComesBack)
{
    {
        CPrefs prefs;
        prefs.Load();
        prefs.m_AuthorId = "Ana";
        prefs.m_FieldFontName = "DejaVu Sans";
        prefs.m_ExternalSkinPath = "/skins/blue.ssk";
        prefs.m_HintDelayForLearnMode = 7;
        prefs.m_FieldFontColor = 0x0000FF;
        prefs.m_FieldFontStyleItalic = true;
        prefs.m_ShowListForEditMode = false;
        prefs.m_ListFormColWidths[4] = 66;
        prefs.m_BookList.SortEnable = true;
        prefs.m_BookList.FilterPeriod = 9;
        prefs.m_ParserNumberingFormat = 2;
        prefs.m_MoveToTrusShowAskMsg = true;
        prefs.m_BooksDisplay[10] = "Biology";
        prefs.m_BooksPath[10] = "/books/Bio.lnf";
        prefs.SetMainFormFontSize(99); // kept as set; limited when read back
        prefs.m_PrintPhase = 2;        // for this run only
        prefs.Save();
    }
    CPrefs prefs;
    prefs.Load();
    EXPECT_EQ(prefs.m_AuthorId, "Ana");
    EXPECT_EQ(prefs.m_FieldFontName, "DejaVu Sans");
    EXPECT_EQ(prefs.m_ExternalSkinPath, "/skins/blue.ssk");
    EXPECT_EQ(prefs.m_HintDelayForLearnMode, 7);
    EXPECT_EQ(prefs.m_FieldFontColor, 0x0000FFu);
    EXPECT_TRUE(prefs.m_FieldFontStyleItalic);
    EXPECT_FALSE(prefs.m_ShowListForEditMode);
    EXPECT_EQ(prefs.m_ListFormColWidths[4], 66);
    EXPECT_TRUE(prefs.m_BookList.SortEnable);
    EXPECT_EQ(prefs.m_BookList.FilterPeriod, 9);
    EXPECT_EQ(prefs.m_ParserNumberingFormat, 2);
    EXPECT_TRUE(prefs.m_MoveToTrusShowAskMsg);
    EXPECT_EQ(prefs.m_BooksDisplay[10], "Biology");
    EXPECT_EQ(prefs.m_BooksPath[10], "/books/Bio.lnf");
    EXPECT_EQ(prefs.GetMainFormFontSize(), 50);
    EXPECT_EQ(prefs.m_PrintPhase, 0);
}

TEST_F(PrefsTest, RunOnlyFlagsAreNeitherStoredNorReset)
{
    // The media-folder warning is asked again in every run, and the list window's activity is a state of
    // the running windows: neither is a row of the stored options.
    for (const char* name :
         {"m_IgnoreMediaFolderWarning", "IgnoreMediaFolderWarning", "m_bListFormActive", "ListFormActive"})
        EXPECT_EQ(CPrefs::FindDescriptor(name), nullptr) << name;
    {
        CPrefs prefs;
        prefs.Load();
        prefs.m_IgnoreMediaFolderWarning = true;
        prefs.m_bListFormActive = true;
        prefs.ResetToDefaults();
        EXPECT_TRUE(prefs.m_IgnoreMediaFolderWarning);
        EXPECT_TRUE(prefs.m_bListFormActive);
        prefs.Save();
    }
    CPrefs prefs;
    prefs.Load();
    EXPECT_FALSE(prefs.m_IgnoreMediaFolderWarning);
    EXPECT_FALSE(prefs.m_bListFormActive);
}

// --- The table of options ---

// The value of an option's member as text, for comparing two objects and for messages.
std::string ValueOf(const SPrefDescriptor& option, CPrefs& prefs)
{
    return std::visit(
        [](auto* member) -> std::string
        {
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(member)>, std::string>)
                return '"' + *member + '"';
            else
                return std::to_string(static_cast<long long>(*member));
        },
        option.FieldOf(prefs));
}

// Gives the option a value other than its default that survives storing: inside its range, and for texts
// a folder under the scratch folder or a text of its own.
void SetOtherValue(const SPrefDescriptor& option, CPrefs& prefs, const std::string& scratch)
{
    const long long other = option.Range == EPrefRange::Any ? (option.Kind == EPrefKind::Byte ? 200 : -5)
                            : option.Default == option.High ? option.Low
                                                            : option.High;
    std::visit(
        [&](auto* member)
        {
            using T = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<T, std::string>)
                *member = option.Folder ? scratch + option.Name + "/" : "Zoë " + option.Name;
            else if constexpr (std::is_same_v<T, bool>)
                *member = option.Default == 0;
            else
                *member = static_cast<T>(other);
        },
        option.FieldOf(prefs));
}

TEST_F(PrefsTest, EveryOptionHasAKindThatFitsItsMemberAndAUniqueName)
{
    CPrefs prefs;
    std::set<std::string> names;
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
    {
        EXPECT_TRUE(names.insert(option.Name).second) << option.Name;
        EXPECT_EQ(CPrefs::FindDescriptor(option.Name), &option);
        const SPrefDescriptor::Field field = option.FieldOf(prefs);
        switch (option.Kind)
        {
        case EPrefKind::NonZeroFlag:
        case EPrefKind::EqualOneFlag:
            EXPECT_TRUE(std::holds_alternative<bool*>(field)) << option.Name;
            break;
        case EPrefKind::Integer:
            EXPECT_TRUE(std::holds_alternative<std::int32_t*>(field) ||
                        std::holds_alternative<std::uint32_t*>(field))
                << option.Name;
            break;
        case EPrefKind::SignedByte:
            EXPECT_TRUE(std::holds_alternative<std::int8_t*>(field)) << option.Name;
            break;
        case EPrefKind::Byte:
            EXPECT_TRUE(std::holds_alternative<std::uint8_t*>(field)) << option.Name;
            break;
        case EPrefKind::Text:
            EXPECT_TRUE(std::holds_alternative<std::string*>(field)) << option.Name;
            break;
        }
        if (option.Range != EPrefRange::Any)
        {
            EXPECT_TRUE(option.Default >= option.Low && option.Default <= option.High) << option.Name;
        }
    }
    EXPECT_EQ(names.size(), 38u + CPrefs::kListColumnCount + 2 * CPrefs::kBookButtonCount);
}

TEST_F(PrefsTest, EmptyStoreGivesEveryDefaultOfTheTableAndSaveWritesIt)
{
    CPrefs prefs;
    prefs.Load();
    prefs.Save();
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
    {
        if (option.Kind == EPrefKind::Text)
        {
            const std::string expected =
                option.TextDefault == EPrefTextDefault::Fixed ? option.DefaultText : DefaultBooks();
            EXPECT_EQ(ValueOf(option, prefs), '"' + expected + '"') << option.Name;
            EXPECT_EQ(ReadValueFromRegistry2(option.Name, "?"), expected) << option.Name;
        }
        else
        {
            EXPECT_EQ(std::stoll(ValueOf(option, prefs)), option.Default) << option.Name;
            EXPECT_EQ(ReadValueFromRegistry(option.Name, INT_MIN + 7),
                      static_cast<std::int32_t>(option.Default))
                << option.Name;
        }
    }
}

TEST_F(PrefsTest, EveryOptionComesBackFromTheStore)
{
    {
        CPrefs prefs;
        prefs.Load();
        for (const SPrefDescriptor& option : CPrefs::Descriptors())
            SetOtherValue(option, prefs, m_root.folder());
        prefs.Save();
    }
    CPrefs expected;
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
        SetOtherValue(option, expected, m_root.folder());
    CPrefs loaded;
    loaded.Load();
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
    {
        EXPECT_EQ(ValueOf(option, loaded), ValueOf(option, expected)) << option.Name;
        if (option.Folder)
        {
            EXPECT_TRUE(fs::is_directory(m_root.folder() + option.Name)) << option.Name;
        }
    }
}

TEST_F(PrefsTest, ResetToDefaultsGivesWhatAnEmptyStoreGives)
{
    CPrefs fromStore;
    fromStore.Load();
    CPrefs reset;
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
        SetOtherValue(option, reset, m_root.folder());
    reset.ResetToDefaults();
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
        EXPECT_EQ(ValueOf(option, reset), ValueOf(option, fromStore)) << option.Name;
    EXPECT_EQ(reset.GetBooksDirectory(), DefaultBooks());
}

TEST_F(PrefsTest, StoredValuesOutsideTheRangeAreClampedOrGiveTheDefault)
{
    int ranged = 0;
    for (const SPrefDescriptor& option : CPrefs::Descriptors())
    {
        if (option.Range == EPrefRange::Any)
            continue;
        ++ranged;
        std::vector<std::int32_t> outside = {option.Low - 1};
        if (option.High < INT32_MAX)
            outside.push_back(option.High + 1);
        for (const std::int32_t stored : outside)
        {
            SCOPED_TRACE(option.Name + " stored as " + std::to_string(stored));
            WriteValueToRegistry(option.Name, stored);
            CPrefs prefs;
            prefs.Load();
            const long long value = std::stoll(ValueOf(option, prefs));
            switch (option.Range)
            {
            case EPrefRange::ClampOnLoad:
                EXPECT_EQ(value, stored < option.Low ? option.Low : option.High);
                break;
            case EPrefRange::DefaultOnLoad:
                EXPECT_EQ(value, option.Default);
                break;
            case EPrefRange::DefaultOnUse:
                // Kept as stored, so the next save writes it back unchanged; its consumers get the default.
                EXPECT_EQ(CPrefs::Checked(option, static_cast<int>(value)), option.Default);
                prefs.Save();
                EXPECT_EQ(ReadValueFromRegistry(option.Name, 12345), stored);
                break;
            case EPrefRange::Any:
                break;
            }
        }
    }
    EXPECT_GT(ranged, 0);
}

// --- Folders ---

TEST_F(PrefsTest, StoredFoldersAreCreatedAndTheDefaultOneToo)
{
    const std::string books = m_root.folder() + "elsewhere/Books/";
    const std::string backups = m_root.folder() + "backups/";
    WriteValueToRegistry2("BooksDirectory", books);
    WriteValueToRegistry2("BackupDirectory", backups);
    CPrefs prefs;
    prefs.Load();
    EXPECT_EQ(prefs.GetBooksDirectory(), books);
    EXPECT_EQ(prefs.m_BackupDirectory, backups);
    EXPECT_TRUE(fs::is_directory(books));
    EXPECT_TRUE(fs::is_directory(backups));
    EXPECT_TRUE(fs::is_directory(DefaultBooks()));
}

TEST_F(PrefsTest, TheLogFollowsTheBooksFolder)
{
    CPrefs prefs;
    prefs.Load();
    WriteLog("first");
    EXPECT_NE(lf::test::ReadFile(DefaultBooks() + "Lernfold.log").find("first"), std::string::npos);

    TempDir other;
    prefs.SetBooksDirectory(other.folder());
    WriteLog("second");
    EXPECT_NE(lf::test::ReadFile(other.folder() + "Lernfold.log").find("second"), std::string::npos);
    EXPECT_EQ(lf::test::ReadFile(DefaultBooks() + "Lernfold.log").find("second"), std::string::npos);
}

TEST_F(PrefsTest, TheSingleInstanceIsRecordedForItsLifetime)
{
    EXPECT_EQ(CPrefs::GetPrefs(), nullptr);
    {
        CPrefs prefs;
        EXPECT_EQ(CPrefs::GetPrefs(), &prefs);
    }
    EXPECT_EQ(CPrefs::GetPrefs(), nullptr);
}

// --- Window placements ---

TEST(PrefsPlacement, DefaultsSplitTheWorkArea)
{
    SWindowPlacement alone, beside, list;
    CPrefs::DefaultPlacements({10, 20, 1000, 700}, alone, beside, list);
    EXPECT_EQ(alone, (SWindowPlacement{10, 20, 1000, 700, false}));
    EXPECT_EQ(beside, (SWindowPlacement{10, 20, 560, 700, false}));
    EXPECT_EQ(list, (SWindowPlacement{560, 20, 440, 700, false}));
    CPrefs::DefaultPlacements({0, 0, 1600, 900}, alone, beside, list);
    EXPECT_EQ(beside.Width, 700);
    EXPECT_EQ(list, (SWindowPlacement{700, 0, 900, 900, false}));
    CPrefs::DefaultPlacements({0, 0, 1300, 900}, alone, beside, list);
    EXPECT_EQ(beside.Width, 650);
}

class PrefsPlacementTest : public PrefsTest
{
protected:
    void StorePlacement(const char* prefix, const SWindowPlacement& p)
    {
        const std::string base(prefix);
        WriteValueToRegistry(base + "L", p.Left);
        WriteValueToRegistry(base + "T", p.Top);
        WriteValueToRegistry(base + "W", p.Width);
        WriteValueToRegistry(base + "H", p.Height);
        WriteValueToRegistry(base + "M", p.Maximized ? 1 : 0);
    }

    void StoreAll(std::int32_t version, std::int32_t screenWidth, std::int32_t screenHeight)
    {
        WriteValueToRegistry("PrefsVersion", version);
        WriteValueToRegistry("ScreenWidth", screenWidth);
        WriteValueToRegistry("ScreenHeight", screenHeight);
        StorePlacement("MainForm", m_main);
        StorePlacement("MainFormExt", m_mainExt);
        StorePlacement("ListForm", m_list);
        WriteValueToRegistry("ListFormVisible", 1);
    }

    SWorkArea m_area{0, 0, 1280, 1000};
    SWindowPlacement m_main{100, 50, 900, 700, true};
    SWindowPlacement m_mainExt{0, 0, 640, 1000, false};
    SWindowPlacement m_list{640, 0, 640, 1000, false};
};

TEST_F(PrefsPlacementTest, StoredPlacementsThatFitAreKept)
{
    StoreAll(4, 1280, 1000);
    CPrefs prefs;
    prefs.SetWorkArea(m_area);
    prefs.Load();
    EXPECT_EQ(prefs.m_MainFormPlacement, m_main);
    EXPECT_EQ(prefs.m_MainFormExtPlacement, m_mainExt);
    EXPECT_EQ(prefs.m_ListFormPlacement, m_list);
    EXPECT_TRUE(prefs.m_ListFormVisible);
}

TEST_F(PrefsPlacementTest, OldVersionIgnoresStoredPlacements)
{
    StoreAll(2, 1280, 1000);
    CPrefs prefs;
    prefs.SetWorkArea(m_area);
    prefs.Load();
    SWindowPlacement alone, beside, list;
    CPrefs::DefaultPlacements(m_area, alone, beside, list);
    EXPECT_EQ(prefs.m_MainFormPlacement, alone);
    EXPECT_EQ(prefs.m_MainFormExtPlacement, beside);
    EXPECT_EQ(prefs.m_ListFormPlacement, list);
    EXPECT_FALSE(prefs.m_ListFormVisible);
}

TEST_F(PrefsPlacementTest, PlacementTooWideOrOffScreenIsReplaced)
{
    m_main.Width = 1300;                 // wider than the work area
    m_list = {2000, 0, 400, 500, false}; // right of the work area
    StoreAll(4, 1280, 1000);
    CPrefs prefs;
    prefs.SetWorkArea(m_area);
    prefs.Load();
    SWindowPlacement alone, beside, list;
    CPrefs::DefaultPlacements(m_area, alone, beside, list);
    EXPECT_EQ(prefs.m_MainFormPlacement, alone);
    EXPECT_EQ(prefs.m_MainFormExtPlacement, m_mainExt);
    EXPECT_EQ(prefs.m_ListFormPlacement, list);
    EXPECT_FALSE(prefs.m_ListFormVisible);
}

TEST_F(PrefsPlacementTest, ListWindowThatFitsKeepsItsVisibleFlagWhenOnlyTheMainWindowIsReplaced)
{
    m_main.Width = 1300; // only the main window no longer fits
    StoreAll(4, 1280, 1000);
    CPrefs prefs;
    prefs.SetWorkArea(m_area);
    prefs.Load();
    EXPECT_EQ(prefs.m_ListFormPlacement, m_list);
    EXPECT_TRUE(prefs.m_ListFormVisible);
    prefs.Save();
    EXPECT_EQ(ReadValueFromRegistry("ListFormVisible", 0), 1);
}

TEST_F(PrefsPlacementTest, SavedOnALargerScreenResetsAll)
{
    StoreAll(4, 1920, 1000);
    CPrefs prefs;
    prefs.SetWorkArea(m_area);
    prefs.Load();
    SWindowPlacement alone, beside, list;
    CPrefs::DefaultPlacements(m_area, alone, beside, list);
    EXPECT_EQ(prefs.m_MainFormPlacement, alone);
    EXPECT_EQ(prefs.m_MainFormExtPlacement, beside);
    EXPECT_EQ(prefs.m_ListFormPlacement, list);
    EXPECT_FALSE(prefs.m_ListFormVisible); // the list window's default placement is a hidden one
}

TEST_F(PrefsPlacementTest, SaveWritesTheWorkAreaAndThePlacements)
{
    CPrefs prefs;
    prefs.SetWorkArea(m_area);
    prefs.Load();
    prefs.m_ListFormPlacement = {5, 6, 7, 8, true};
    prefs.Save();
    EXPECT_EQ(ReadValueFromRegistry("ScreenWidth", 0), 1280);
    EXPECT_EQ(ReadValueFromRegistry("ScreenHeight", 0), 1000);
    EXPECT_EQ(ReadValueFromRegistry("ListFormL", 0), 5);
    EXPECT_EQ(ReadValueFromRegistry("ListFormT", 0), 6);
    EXPECT_EQ(ReadValueFromRegistry("ListFormW", 0), 7);
    EXPECT_EQ(ReadValueFromRegistry("ListFormH", 0), 8);
    EXPECT_EQ(ReadValueFromRegistry("ListFormM", 0), 1);
    EXPECT_EQ(ReadValueFromRegistry("MainFormExtW", 0), 640);
    EXPECT_EQ(ReadValueFromRegistry("ListFormVisible", 7), 0);
}

} // namespace
