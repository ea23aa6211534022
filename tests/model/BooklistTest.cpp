#include "model/storage/Booklist.h"
#include "model/support/Log.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

using lf::test::PrintTo;

namespace fs = std::filesystem;
using lf::test::FakeSystem;
using lf::test::TempDir;

constexpr std::int64_t kDay = 86400;

// A scripted clock whose local "now" matches its UTC seconds, a books folder and a folder for the log.
class BookListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fake.localNow = fake.ToLocal(fake.utcSeconds);
        SetLogBooksDirectory(logDir.folder());
    }
    void TearDown() override { SetLogBooksDirectory(""); }

    // Writes a book file whose access and write times lie the given number of days before now (negative:
    // in the future). Returns its full path.
    std::string MakeBook(const std::string& relativePath, double daysAgo)
    {
        const fs::path path = books.path() / relativePath;
        fs::create_directories(path.parent_path());
        lf::test::WriteFile(path.string(), "<book/>");
        const auto stamp = fake.utcSeconds - static_cast<std::int64_t>(daysAgo * kDay);
        const struct timespec times[2] = {{stamp, 0}, {stamp, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
        return path.string();
    }

    // The file names of the filtered view, in display order.
    static std::vector<std::string> Shown(const CBookList& list)
    {
        std::vector<std::string> names;
        for (int i = 0; i < list.GetFilteredCount(); ++i)
            names.push_back(list.GetFileName(list.GetFilteredIndex(i)));
        return names;
    }

    std::string LogText() const
    {
        const std::string path = logDir.file("Lernfold.log");
        return fs::exists(path) ? lf::test::ReadFile(path) : std::string();
    }

    FakeSystem fake;
    TempDir books;
    TempDir logDir;
};

using Names = std::vector<std::string>;

// --- Display names and what gets listed ---

struct SDisplayNameCase
{
    const char* label;
    std::string fileName;
    std::string displayName;
};

class DisplayNameTest : public ::testing::TestWithParam<SDisplayNameCase>
{
};

TEST_P(DisplayNameTest, CutsFourCharactersAndMarksPalmBooks)
{
    EXPECT_EQ(CBookList::GetDisplayName(GetParam().fileName), GetParam().displayName);
}

INSTANTIATE_TEST_SUITE_P(
    BookList, DisplayNameTest,
    ::testing::Values(SDisplayNameCase{"NativeBook", "Geo.lnf", "Geo"},
                      SDisplayNameCase{"PalmBook", "Geo.pdb", "Geo (Palm Format)"},
                      SDisplayNameCase{"PalmExtensionInCapitals", "Geo.PDB", "Geo (Palm Format)"},
                      SDisplayNameCase{"PalmExtensionWithTrailingBlank", "Geo.pdb ", "Geo. (Palm Format)"},
                      SDisplayNameCase{"FiveLetterExtensionKeepsItsDot", "Geo.lnf4", "Geo."},
                      SDisplayNameCase{"UmlautsInName", "Grüße.lnf", "Grüße"},
                      // Four characters, not four bytes: no half letter is left behind.
                      SDisplayNameCase{"MultiByteTailCutOnCharacters", "Noteäöüß", "Note"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BookListTest, IgnoresFileNamesShorterThanFiveCharacters)
{
    CBookList list;
    EXPECT_EQ(list.AddBook("a.lnf", books.folder(), false), 0);
    EXPECT_EQ(list.AddBook("b.db", books.folder(), false), -1);
    EXPECT_EQ(list.AddBook("ä.db", books.folder(), false), -1); // five bytes, four characters
    EXPECT_EQ(list.Add(books.folder() + "c.lf", false), -1);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetName(0), "a");
    EXPECT_FALSE(list.ContainsBook("b.db", books.folder()));
    EXPECT_EQ(list.IndexOfBook("b.db", books.folder()), -1);
}

TEST_F(BookListTest, AddSplitsThePathAndReadsTheFileDates)
{
    const std::string path = MakeBook("Sub/Geo.pdb", 3);
    CBookList list;
    ASSERT_EQ(list.Add(path, true), 0);
    const SBookInfo info = list.GetBookInfo(0);
    EXPECT_EQ(info.Name, "Geo (Palm Format)");
    EXPECT_EQ(info.FileName, "Geo.pdb");
    EXPECT_EQ(info.Folder, books.folder() + "Sub/");
    EXPECT_EQ(info.AlwaysShown, 1);
    const TDateTime now = 45244.0 + (22 * 3600 + 13 * 60 + 20) / 86400.0; // the fake's 2023-11-14 22:13:20
    EXPECT_NEAR(info.Modified, now - 3, 1e-6);
    EXPECT_NEAR(info.Accessed, now - 3, 1e-6);

    // A book that cannot be read keeps dates 0.
    ASSERT_EQ(list.AddBook("Missing.lnf", books.folder(), false), 1);
    EXPECT_EQ(list.GetBookInfo(1).Modified, 0.0);
    EXPECT_EQ(list.GetBookInfo(1).Created, 0.0);
}

TEST_F(BookListTest, FindsBooksByExactPathOnly)
{
    CBookList list;
    list.AddBook("Geo.lnf", "/b/", false);
    list.AddBook("Bio.lnf", "", false);
    list.AddBook("Phys.lnf", "/c", false);

    EXPECT_EQ(list.IndexOf("/b/Geo.lnf"), 0);
    EXPECT_TRUE(list.Contains("/b/Geo.lnf"));
    EXPECT_EQ(list.IndexOfBook("Bio.lnf", ""), 1);
    EXPECT_EQ(list.IndexOf("Bio.lnf"), 1);
    EXPECT_EQ(list.IndexOf("/B/Geo.lnf"), -1);
    EXPECT_EQ(list.IndexOf("/b/geo.lnf"), -1);
    EXPECT_FALSE(list.Contains("/b/Geo.LNF"));
    EXPECT_FALSE(list.ContainsBook("Geo.lnf", "/b"));

    std::string path = "stale";
    EXPECT_TRUE(list.GetFullPath(0, &path));
    EXPECT_EQ(path, "/b/Geo.lnf");
    EXPECT_TRUE(list.GetFullPath(1, &path));
    EXPECT_EQ(path, "Bio.lnf");
    EXPECT_TRUE(list.GetFullPath(2, &path));
    EXPECT_EQ(path, "/c/Phys.lnf");
}

TEST_F(BookListTest, EntriesAreTheSameByNameFileAndFolder)
{
    SBookInfo a;
    a.Name = "Geo";
    a.FileName = "Geo.lnf";
    a.Folder = "/b/";
    SBookInfo b = a;
    b.Modified = 12.0;
    b.AlwaysShown = 1;
    EXPECT_TRUE(IsSameBook(a, a));
    EXPECT_TRUE(IsSameBook(a, b));
    b.Folder = "/B/";
    EXPECT_FALSE(IsSameBook(a, b));
}

// --- The date filter ---

TEST_F(BookListTest, FiltersTheLastSevenDaysByModificationDate)
{
    CBookList list;
    list.Add(MakeBook("Recent.lnf", 6), false);
    list.Add(MakeBook("Old.lnf", 8), false);
    list.Add(MakeBook("Future.lnf", -2), false);
    list.Add(MakeBook("Tomorrow.lnf", -0.5), false);
    list.Add(MakeBook("OldButOpened.lnf", 8), true);
    list.AddBook("Gone.lnf", books.folder(), false); // dates 0
    list.m_bFilterEnable = 1;
    list.m_FilterField = CBookList::kFieldModified;
    list.m_FilterPeriod = 2; // 7 days
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Recent.lnf", "Tomorrow.lnf", "OldButOpened.lnf"}));

    // The same books by access date, and by a one-day period.
    list.m_FilterField = CBookList::kFieldAccessed;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Recent.lnf", "Tomorrow.lnf", "OldButOpened.lnf"}));
    list.m_FilterPeriod = 0;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Tomorrow.lnf", "OldButOpened.lnf"}));
}

struct SNoFilterCase
{
    const char* label;
    std::uint8_t enable;
    std::uint8_t field;
    std::uint8_t period;
};

class BookListNoFilterTest : public BookListTest, public ::testing::WithParamInterface<SNoFilterCase>
{
};

TEST_P(BookListNoFilterTest, DropsNoBook)
{
    CBookList list;
    list.Add(MakeBook("Recent.lnf", 1), false);
    list.Add(MakeBook("Old.lnf", 400), false);
    list.AddBook("Gone.lnf", books.folder(), false);
    list.m_bFilterEnable = GetParam().enable;
    list.m_FilterField = GetParam().field;
    list.m_FilterPeriod = GetParam().period;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Recent.lnf", "Old.lnf", "Gone.lnf"}));
}

INSTANTIATE_TEST_SUITE_P(BookList, BookListNoFilterTest,
                         ::testing::Values(SNoFilterCase{"FilterOff", 0, 2, 0},
                                           SNoFilterCase{"NoField", 1, 255, 0},
                                           SNoFilterCase{"NoPeriod", 1, 2, 255},
                                           SNoFilterCase{"PeriodWithoutDays", 1, 2, 11}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(BookListTest, BookJustOpenedStaysShownUntilTheFlagsAreCleared)
{
    MakeBook("Recent.lnf", 2);
    MakeBook("Old.lnf", 40);
    CBookList list;
    list.m_bFilterEnable = 1;
    list.m_FilterField = CBookList::kFieldModified;
    list.m_FilterPeriod = 2;
    list.ScanBooks(books.folder());
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(Shown(list), (Names{"Recent.lnf"}));

    // The user opens the old book of the list, then one from outside the books folder.
    TempDir elsewhere;
    const std::string outside = elsewhere.file("Outside.lnf");
    lf::test::WriteFile(outside, "<book/>");
    const struct timespec old[2] = {{fake.utcSeconds - 90 * kDay, 0}, {fake.utcSeconds - 90 * kDay, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, outside.c_str(), old, 0), 0);

    const int oldIndex = list.IndexOf(books.folder() + "Old.lnf");
    ASSERT_GE(oldIndex, 0);
    list.SetAlwaysShown(oldIndex, true);
    EXPECT_EQ(Shown(list), (Names{"Recent.lnf"})) << "setting the flag does not refilter";
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Old.lnf", "Recent.lnf"}));

    ASSERT_FALSE(list.Contains(outside));
    const int added = list.Add(outside, true);
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Old.lnf", "Recent.lnf", "Outside.lnf"}));
    EXPECT_EQ(list.IndexOf(outside), added);

    list.ClearAlwaysShown(false);
    EXPECT_EQ(list.GetFilteredCount(), 3);
    list.ClearAlwaysShown(true);
    EXPECT_EQ(Shown(list), (Names{"Recent.lnf"}));
}

// --- Sorting ---

class BookListSortByNameTest : public BookListTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(BookListSortByNameTest, SortsCaseInsensitivelyInBothDirections)
{
    CBookList list;
    list.AddBook("b.lnf", "/x/", false);
    list.AddBook("Ärger.lnf", "/x/", false);
    list.AddBook("A.lnf", "/x/", false);
    list.AddBook("c.lnf", "/x/", false);
    list.m_bSortEnable = 1;
    list.m_SortField = CBookList::kSortName;
    list.m_SortUp = GetParam() ? 1 : 0;
    list.ApplyFilter();
    // Lower-cased names compared byte by byte: "ärger" sorts after the plain letters.
    const Names ascending{"A.lnf", "b.lnf", "c.lnf", "Ärger.lnf"};
    const Names descending(ascending.rbegin(), ascending.rend());
    EXPECT_EQ(Shown(list), GetParam() ? ascending : descending);
}

INSTANTIATE_TEST_SUITE_P(BookList, BookListSortByNameTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Ascending" : "Descending"; });

TEST_F(BookListTest, SortsByPathWithFoldersComparedWithoutTheirSlash)
{
    CBookList list;
    list.AddBook("a.lnf", "/x/Books-old/", false);
    list.AddBook("z.lnf", "/x/Books/Sub/", false);
    list.AddBook("m.lnf", "/x/books/", false);
    list.AddBook("b.lnf", "/x/Books/", false);
    list.m_bSortEnable = 1;
    list.m_SortField = CBookList::kSortPath;
    list.ApplyFilter();
    // "/x/books" is a prefix of the others; with the slash kept "Books-old" would come first.
    EXPECT_EQ(Shown(list), (Names{"b.lnf", "m.lnf", "a.lnf", "z.lnf"}));
    list.m_SortUp = 0;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"z.lnf", "a.lnf", "m.lnf", "b.lnf"}));
}

TEST_F(BookListTest, SortsByModificationDateInBothDirections)
{
    CBookList list;
    list.Add(MakeBook("Middle.lnf", 5), false);
    list.Add(MakeBook("Newest.lnf", 1), false);
    list.Add(MakeBook("Oldest.lnf", 20), false);
    list.m_bSortEnable = 1;
    list.m_SortField = CBookList::kSortModified;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Oldest.lnf", "Middle.lnf", "Newest.lnf"}));
    list.m_SortUp = 0;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"Newest.lnf", "Middle.lnf", "Oldest.lnf"}));
}

TEST_F(BookListTest, KeepsTheEntryOrderWhenSortingIsOffOrHasNoKey)
{
    CBookList list;
    list.AddBook("c.lnf", "/x/", false);
    list.AddBook("a.lnf", "/x/", false);
    list.AddBook("b.lnf", "/x/", false);
    list.m_SortField = CBookList::kSortName;
    list.m_bSortEnable = 0;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"c.lnf", "a.lnf", "b.lnf"}));
    list.m_bSortEnable = 1;
    list.m_SortField = CBookList::kNone;
    list.ApplyFilter();
    EXPECT_EQ(Shown(list), (Names{"c.lnf", "a.lnf", "b.lnf"}));
}

// --- Index checks ---

struct SIndexCase
{
    const char* label;
    std::function<void(CBookList&, int)> call;
    bool filteredView; // the index is a position of the filtered view
    std::string logLine;
};

class BookListIndexTest : public BookListTest, public ::testing::WithParamInterface<SIndexCase>
{
};

TEST_P(BookListIndexTest, OutOfRangeIndexLogsAndThrows)
{
    CBookList list;
    list.AddBook("a.lnf", "/x/", false);
    list.AddBook("b.lnf", "/x/", false);
    list.m_bFilterEnable = 1;
    list.m_FilterField = CBookList::kFieldModified;
    list.m_FilterPeriod = 2;
    list.SetAlwaysShown(1, true);
    list.ApplyFilter();
    ASSERT_EQ(list.GetFilteredCount(), 1);
    const int count = GetParam().filteredView ? list.GetFilteredCount() : list.GetCount();

    EXPECT_NO_THROW(GetParam().call(list, count - 1));
    for (const int index : {-1, count, -1000000})
    {
        bool thrown = false;
        try
        {
            GetParam().call(list, index);
        }
        catch (const std::exception& error)
        {
            thrown = true;
            EXPECT_NE(dynamic_cast<const CWrongArrayIndexError*>(&error), nullptr);
            EXPECT_STREQ(error.what(), "Wrong array index");
        }
        EXPECT_TRUE(thrown) << "index " << index;
    }
    const std::string line = "      " + GetParam().logLine + "\r\n";
    EXPECT_EQ(LogText(), line + line + line);
}

INSTANTIATE_TEST_SUITE_P(
    BookList, BookListIndexTest,
    ::testing::Values(SIndexCase{"GetFilteredIndex", [](CBookList& l, int i) { l.GetFilteredIndex(i); }, true,
                                 "CBookList::GetName - Error"},
                      SIndexCase{"GetName", [](CBookList& l, int i) { l.GetName(i); }, false,
                                 "CBookList::GetName - Error"},
                      SIndexCase{"GetFileName", [](CBookList& l, int i) { l.GetFileName(i); }, false,
                                 "CBookList::GetFileName - Error"},
                      SIndexCase{"GetPathName", [](CBookList& l, int i) { l.GetPathName(i); }, false,
                                 "CBookList::GetPathName - Error"},
                      SIndexCase{"GetBookInfo", [](CBookList& l, int i) { l.GetBookInfo(i); }, false,
                                 "CBookList::GetBookInfo - Error"},
                      SIndexCase{"SetAlwaysShown", [](CBookList& l, int i) { l.SetAlwaysShown(i, true); },
                                 false, "CBookList::GetName - Error"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BookListTest, FullPathOutsideTheListAnswersFalseWithoutThrowing)
{
    CBookList list;
    list.AddBook("a.lnf", "/x/", false);
    for (const int index : {-1, 1})
    {
        std::string path = "stale";
        EXPECT_FALSE(list.GetFullPath(index, &path));
        EXPECT_EQ(path, "");
    }
    EXPECT_FALSE(list.GetFullPath(0, nullptr));
    EXPECT_EQ(LogText(), "");
}

// --- Rescanning the books folder ---

TEST_F(BookListTest, RescanListsBooksOnceAndAppliesTheFilter)
{
    MakeBook("Geo.lnf", 1);
    MakeBook("Atlas.pdb", 2);
    MakeBook("Stale.lnf", 30);
    MakeBook("notes.txt", 1);
    MakeBook("Geo.lnf4", 1);
    MakeBook("Sub/Deep.LNF", 1);
    fs::create_directory_symlink(books.path(), books.path() / "Sub" / "loop");

    CBookList list;
    list.m_bFilterEnable = 1;
    list.m_FilterField = CBookList::kFieldModified;
    list.m_FilterPeriod = 2;
    list.m_bSortEnable = 1;
    list.m_SortField = CBookList::kSortName;
    for (int pass = 0; pass < 2; ++pass)
    {
        list.RemoveAll();
        EXPECT_EQ(list.GetFilteredCount(), 0);
        list.ScanBooks(books.folder());
        ASSERT_EQ(list.GetCount(), 4) << "pass " << pass;
        EXPECT_EQ(Shown(list), (Names{"Atlas.pdb", "Deep.LNF", "Geo.lnf"}));
        const int atlas = list.IndexOf(books.folder() + "Atlas.pdb");
        ASSERT_GE(atlas, 0);
        EXPECT_EQ(list.GetName(atlas), "Atlas (Palm Format)");
        EXPECT_EQ(list.GetBookInfo(atlas).AlwaysShown, 0);
        EXPECT_GT(list.GetBookInfo(atlas).Modified, 0.0);
        EXPECT_TRUE(list.Contains(books.folder() + "Sub/Deep.LNF"));
        EXPECT_TRUE(list.Contains(books.folder() + "Stale.lnf"));
    }
}

} // namespace
