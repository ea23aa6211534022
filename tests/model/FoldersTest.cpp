#include "model/support/Folders.h"
#include "model/support/Utils.h"
#include "platform/sys/PathText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

using lf::test::PrintTo;

namespace fs = std::filesystem;
using lf::test::FakeSystem;
using lf::test::TempDir;
using lf::test::WriteFile;

// Points an environment variable elsewhere for one test.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old, m_had = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had)
            setenv(m_name, m_old.c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

// --- Book file names ---

struct BookNameCase
{
    const char* name;
    bool isBook;
};

class BookFileNameTest : public ::testing::TestWithParam<BookNameCase>
{
};

TEST_P(BookFileNameTest, RecognisesBookFiles)
{
    EXPECT_EQ(IsBookFileName(GetParam().name), GetParam().isBook) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, BookFileNameTest,
                         ::testing::Values(BookNameCase{"a.lnf", true}, BookNameCase{".lnf", false},
                                           BookNameCase{"X.LNF", true}, BookNameCase{"Bio.Lnf", true},
                                           BookNameCase{"b.pdb", true}, BookNameCase{"b.PDB", false},
                                           BookNameCase{"VAD-DIDU.PDB", false},
                                           BookNameCase{"vad-didu.pdb", false}, BookNameCase{"a.lnf4", false},
                                           BookNameCase{"a.lnf3", false}, BookNameCase{"notes.txt", false},
                                           BookNameCase{"", false}, BookNameCase{"/books/.lnf", false},
                                           BookNameCase{"/books/Bio.lnf", true}));

// --- The default books folder ---

class DefaultBooksFolderTest : public ::testing::Test
{
protected:
    DefaultBooksFolderTest()
    {
        WriteFile(m_root.file("blocker"), "a file where a folder would have to be");
        fs::create_directories(m_root.path() / "docs");
        fs::create_directories(m_root.path() / "prog" / "bin");
        m_system.programPath = m_root.file("prog/bin/lernfold");
    }

    // A folder that can never be created: one of its parents is a plain file.
    std::string Unbuildable(const std::string& rest) const { return m_root.file("blocker/" + rest); }

    TempDir m_root;
    FakeSystem m_system;
};

TEST_F(DefaultBooksFolderTest, TakesTheDocumentsFolderAndCreatesIt)
{
    m_system.documentsFolder = m_root.folder() + "docs/";
    const std::string folder = GetDefaultBooksFolder();
    EXPECT_EQ(folder, m_root.folder() + "docs/Korvanta/Lernfold/Books/");
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(DefaultBooksFolderTest, FallsBackToAnExistingProgramBooksFolder)
{
    m_system.documentsFolder = Unbuildable("docs/");
    fs::create_directories(m_root.path() / "prog" / "bin" / "Books");
    EXPECT_EQ(GetDefaultBooksFolder(), m_root.folder() + "prog/bin/Books/");
}

TEST_F(DefaultBooksFolderTest, CreatesTheProgramBooksFolderWhenDocumentsFail)
{
    m_system.documentsFolder = Unbuildable("docs/");
    EXPECT_EQ(GetDefaultBooksFolder(), m_root.folder() + "prog/bin/Books/");
    EXPECT_TRUE(fs::is_directory(m_root.path() / "prog" / "bin" / "Books"));
}

TEST_F(DefaultBooksFolderTest, WithoutDocumentsUsesTheProgramBooksFolder)
{
    m_system.documentsFolder.clear();
    EXPECT_EQ(GetDefaultBooksFolder(), m_root.folder() + "prog/bin/Books/");
}

TEST_F(DefaultBooksFolderTest, LastResortIsTheProgramFolderItself)
{
    m_system.documentsFolder.clear();
    m_system.programPath = Unbuildable("bin/lernfold");
    EXPECT_EQ(GetDefaultBooksFolder(), Unbuildable("bin/"));
}

// --- Folders ---

TEST(Folders, CreateFolderMakesParentsAndAcceptsExistingOnes)
{
    TempDir dir;
    EXPECT_TRUE(CreateFolder(dir.folder() + "a/b/c/"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "a" / "b" / "c"));
    EXPECT_TRUE(CreateFolder(dir.folder() + "a/b"));
    WriteFile(dir.file("file"), "x");
    EXPECT_FALSE(CreateFolder(dir.folder() + "file"));
    EXPECT_FALSE(CreateFolder(dir.folder() + "file/sub/"));
    EXPECT_FALSE(CreateFolder(""));
}

TEST(Folders, WriteProbeLeavesNothingBehind)
{
    TempDir dir;
    EXPECT_TRUE(IsFolderWritable(dir.folder()));
    EXPECT_TRUE(IsFolderWritable(dir.path().string())); // without the final "/"
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_FALSE(IsFolderWritable(dir.folder() + "missing/"));
    EXPECT_FALSE(IsFolderWritable(""));
}

TEST(Folders, BookFolderMediaFolderAndName)
{
    TempDir dir;
    const std::string book = dir.file("Physics.lnf");
    EXPECT_EQ(GetBookFolder(book), dir.folder());
    EXPECT_EQ(GetBookNameWithoutExt(book), "Physics");
    EXPECT_EQ(GetBookMediaFolder(book), dir.folder() + "Physics/");
    EXPECT_TRUE(fs::is_directory(dir.path() / "Physics"));
    // No open book: no folder, and nothing is made at the file system's root.
    EXPECT_EQ(GetBookFolder(""), "");
    EXPECT_EQ(GetBookMediaFolder(""), "");
}

TEST(Folders, InstallerPathPerEdition)
{
    FakeSystem system;
    system.programPath = "/opt/lf/lernfold";
    EXPECT_EQ(GetBookPackInstallerPath(0), "/opt/lf/Setup_books.exe");
    EXPECT_EQ(GetBookPackInstallerPath(6), "/opt/lf/Setup_KOYD_books.exe");
    EXPECT_EQ(GetBookPackInstallerPath(7), "/opt/lf/");
    EXPECT_EQ(GetBookPackInstallerPath(-1), "/opt/lf/");
}

// --- Media names ---

struct MediaCase
{
    const char* name;
    const char* stored;
    const char* expected; // "{book}" stands for the book's folder, "{media}" for its media folder
};

class ResolveMediaNameTest : public ::testing::TestWithParam<MediaCase>
{
protected:
    ResolveMediaNameTest()
    {
        fs::create_directories(m_dir.path() / "Bio" / "sub");
        WriteFile(m_dir.file("Bio/heart.png"), "png");
        WriteFile(m_dir.file("Bio/sub/lung.png"), "png");
        WriteFile(m_dir.file("liver.png"), "png");
    }

    std::string Expand(std::string text) const
    {
        for (const auto& [key, value] :
             {std::pair<std::string, std::string>{"{media}", m_dir.folder() + "Bio/"},
              {"{book}", m_dir.folder()}})
        {
            const auto at = text.find(key);
            if (at != std::string::npos)
                text.replace(at, key.size(), value);
        }
        return text;
    }

    TempDir m_dir;
};

TEST_P(ResolveMediaNameTest, ResolvesAgainstTheBook)
{
    std::string name = GetParam().stored;
    ResolveMediaFileName(name, m_dir.file("Bio.lnf"));
    EXPECT_EQ(name, Expand(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveMediaNameTest,
    ::testing::Values(MediaCase{"InMediaFolder", "  heart.png \t", "{media}heart.png"},
                      MediaCase{"ElseInBookFolder", "liver.png", "{book}liver.png"},
                      MediaCase{"MissingGoesToBookFolder", "gone.png", "{book}gone.png"},
                      MediaCase{"BackslashSeparated", "sub\\lung.png", "{media}sub/lung.png"},
                      MediaCase{"LeadingBackslashDropped", "\\heart.png", "{media}heart.png"},
                      MediaCase{"AbsoluteUnchanged", "/srv/pics/a.png", "/srv/pics/a.png"},
                      MediaCase{"DrivePathUnchanged", "C:\\pics\\a.png", "C:\\pics\\a.png"},
                      MediaCase{"WebAddressUnchanged", " http://example.org/a.png",
                                "http://example.org/a.png"},
                      MediaCase{"WwwUnchanged", "www.example.org/a.png", "www.example.org/a.png"}),
    [](const ::testing::TestParamInfo<MediaCase>& info) { return std::string(info.param.name); });

TEST(MediaNames, StoredFormsConvertBothWays)
{
    EXPECT_EQ(StoredNameToPath("sub\\a b\\c.png"), "sub/a b/c.png");
    EXPECT_EQ(MakeStoredMediaName("sub/c.png"), "sub\\c.png");
}

TEST(MediaNames, UniqueNamesCountUpPastExistingFiles)
{
    TempDir dir;
    const std::string base = dir.folder();
    EXPECT_EQ(MakeUniqueMediaFileName(base, "q", "", "snd", ".wav"), base + "q_snd_1.wav");
    WriteFile(base + "q_snd_1.wav", "RIFF");
    EXPECT_EQ(MakeUniqueMediaFileName(base, "q", "", "snd", ".wav"), base + "q_snd_2.wav");
    EXPECT_EQ(MakeUniqueMediaFileName(base, "", "x", "", ".wav"), base + "x_1.wav");
    fs::create_directory(base + "x_1.wav"); // a folder of that name counts as taken as well
    EXPECT_EQ(MakeUniqueMediaFileName(base, "", "x", "", ".wav"), base + "x_2.wav");
}

struct MediaKindCase
{
    const char* name;
    bool media;
    bool soundOrVideo;
    bool web;
};

class MediaKindTest : public ::testing::TestWithParam<MediaKindCase>
{
};

TEST_P(MediaKindTest, TellsMediaAndWebNames)
{
    const MediaKindCase& c = GetParam();
    bool web = !c.web;
    EXPECT_EQ(IsMediaFileName(c.name, &web), c.media) << c.name;
    EXPECT_EQ(web, c.web) << c.name;
    web = !c.web;
    EXPECT_EQ(IsSoundOrVideoFile(c.name, &web), c.soundOrVideo) << c.name;
    EXPECT_EQ(web, c.web) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, MediaKindTest,
                         ::testing::Values(MediaKindCase{"http://x.org/song.MP3", true, true, true},
                                           MediaKindCase{"/home/u/a.jpeg", true, false, false},
                                           MediaKindCase{"clip.Avi", true, true, false},
                                           MediaKindCase{"www.x.org/p.gif", true, false, true},
                                           MediaKindCase{"sub\\pic.EMF", true, false, false},
                                           MediaKindCase{"notes.txt", false, false, false},
                                           MediaKindCase{"dir.png/readme", false, false, false}));

TEST(MediaNames, CollectsOnlyLocalMediaTags)
{
    const std::string rich = "<LFDRoot><document>"
                             "<text tag=\"heart.png\">a</text>"
                             "<text tag=\"http://x.org/b.png\">b</text>"
                             "<text tag=\"notes.txt\">c</text>"
                             "<text>d</text>"
                             "<text tag=\"sub\\snd.wav\">e</text>"
                             "<text tag=\"heart.png\">f</text>"
                             "</document></LFDRoot>";
    CStringArray names;
    names.Add("kept");
    CollectLinkedFileNames(rich, names);
    ASSERT_EQ(names.GetSize(), 4);
    EXPECT_EQ(names[1], "heart.png");
    EXPECT_EQ(names[2], "sub\\snd.wav");
    EXPECT_EQ(names[3], "heart.png");

    CollectLinkedFileNames("not xml <", names);
    CollectLinkedFileNames("<Other><document><text tag=\"a.png\"/></document></Other>", names);
    EXPECT_EQ(names.GetSize(), 4);
}

struct UrlCase
{
    const char* text;
    const char* path;
};

class FileUrlToPathTest : public ::testing::TestWithParam<UrlCase>
{
};

TEST_P(FileUrlToPathTest, StripsTheFilePrefix)
{
    EXPECT_EQ(FileUrlToPath(GetParam().text), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileUrlToPathTest,
                         ::testing::Values(UrlCase{"file:///home/a.png", "/home/a.png"},
                                           UrlCase{"file:///C:/pics/a.png", "C:/pics/a.png"},
                                           UrlCase{"FILE://server/share/a.png", "server/share/a.png"},
                                           UrlCase{"file://LocalHost/home/a.png", "/home/a.png"},
                                           UrlCase{"\\pics\\a.png", "pics\\a.png"},
                                           UrlCase{"see file:///x", "see file:///x"},
                                           UrlCase{"/home/a.png", "/home/a.png"}));

// --- The Linux path rules, with names written on Linux and on Windows ---

// The book /home/u/Books/Bio.lnf, its media folder /home/u/Books/Bio/. None of these files exists, so a
// relative name resolves into the book's folder.
constexpr const char* kRuleBook = "/home/u/Books/Bio.lnf";

struct PathRuleCase
{
    const char* name;
    const char* text;     // as stored in a book or picked from a file dialog
    const char* asPath;   // FileUrlToPath
    const char* resolved; // ResolveMediaFileName against the book
    const char* stored;   // MakeRelativeMediaName of the resolved path
    bool web;             // the stored text has a scheme: file addresses count too
};

class PathRulesTest : public ::testing::TestWithParam<PathRuleCase>
{
};

TEST_P(PathRulesTest, NamesReadAndWrittenAgainstTheBook)
{
    const PathRuleCase& c = GetParam();
    EXPECT_EQ(FileUrlToPath(c.text), c.asPath);
    std::string resolved = FileUrlToPath(c.text);
    ResolveMediaFileName(resolved, kRuleBook);
    EXPECT_EQ(resolved, c.resolved);
    EXPECT_EQ(MakeRelativeMediaName(resolved, kRuleBook), c.stored);
    EXPECT_EQ(lf::sys::IsWebAddress(c.text), c.web);
    bool web = !c.web;
    IsSoundOrVideoFile(c.text, &web);
    EXPECT_EQ(web, c.web);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathRulesTest,
    ::testing::Values(
        PathRuleCase{"WindowsRelative", "Pics\\cell.png", "Pics\\cell.png", "/home/u/Books/Pics/cell.png",
                     "Pics\\cell.png", false},
        PathRuleCase{"WindowsRelativeWithLeadingBackslash", "\\Pics\\cell.png", "Pics\\cell.png",
                     "/home/u/Books/Pics/cell.png", "Pics\\cell.png", false},
        PathRuleCase{"WindowsDrivePathIsKeptAndNotFound", "C:\\x.png", "C:\\x.png", "C:\\x.png", "C:\\x.png",
                     false},
        PathRuleCase{"BooksFolderInsideAnotherPathIsNotCut", "/mnt/home/u/Books/x.png",
                     "/mnt/home/u/Books/x.png", "/mnt/home/u/Books/x.png", "/mnt/home/u/Books/x.png", false},
        PathRuleCase{"FolderWithTheBooksFolderAsItsNameStartIsNotCut", "/home/u/Books2/x.png",
                     "/home/u/Books2/x.png", "/home/u/Books2/x.png", "/home/u/Books2/x.png", false},
        PathRuleCase{"FileInTheBooksFolder", "/home/u/Books/x.png", "/home/u/Books/x.png",
                     "/home/u/Books/x.png", "x.png", false},
        PathRuleCase{"FileInTheMediaFolder", "/home/u/Books/Bio/heart.png", "/home/u/Books/Bio/heart.png",
                     "/home/u/Books/Bio/heart.png", "heart.png", false},
        PathRuleCase{"SubFolderOfTheMediaFolder", "/home/u/Books/Bio/sub/lung.wav",
                     "/home/u/Books/Bio/sub/lung.wav", "/home/u/Books/Bio/sub/lung.wav", "sub\\lung.wav",
                     false},
        PathRuleCase{"FileAddressKeepsItsRoot", "file:///home/a.png", "/home/a.png", "/home/a.png",
                     "/home/a.png", true},
        PathRuleCase{"FileAddressWithLocalHost", "file://localhost/home/u/Books/Bio/a.mp3",
                     "/home/u/Books/Bio/a.mp3", "/home/u/Books/Bio/a.mp3", "a.mp3", true},
        PathRuleCase{"FileAddressOfADrive", "FILE:///C:/x.png", "C:/x.png", "C:/x.png", "C:/x.png", true},
        PathRuleCase{"WebAddress", "http://example.org/Books/a.mp3", "http://example.org/Books/a.mp3",
                     "http://example.org/Books/a.mp3", "http://example.org/Books/a.mp3", true},
        PathRuleCase{"WebAddressWithoutScheme", "www.example.org/a.ogg", "www.example.org/a.ogg",
                     "www.example.org/a.ogg", "www.example.org/a.ogg", true}),
    [](const ::testing::TestParamInfo<PathRuleCase>& info) { return std::string(info.param.name); });

TEST(MediaNames, AnUnsavedBookHasNoMediaFolderAndFindsNoRelativeName)
{
    TempDir dir;
    const std::filesystem::path before = fs::current_path();
    fs::current_path(dir.path());
    WriteFile(dir.file("cell.png"), "png"); // beside the running program, not in any book
    std::string name = "cell.png";
    ResolveMediaFileName(name, "");
    EXPECT_EQ(name, "");
    name = "/srv/a.png";
    ResolveMediaFileName(name, "");
    EXPECT_EQ(name, "/srv/a.png");
    EXPECT_EQ(GetBookMediaFolder(""), "");
    EXPECT_EQ(MakeRelativeMediaName(dir.file("cell.png"), ""), dir.file("cell.png"));
    fs::current_path(before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(MediaNames, ResolvingANameMakesNoFolder)
{
    TempDir dir;
    std::string name = "heart.png";
    ResolveMediaFileName(name, dir.file("Bio.lnf"));
    EXPECT_EQ(name, dir.folder() + "heart.png");
    EXPECT_FALSE(fs::exists(dir.path() / "Bio"));
}

// --- Files ---

TEST(Files, ReadFileToBufferStopsAtTheFirstZeroByte)
{
    TempDir dir;
    std::string text = "untouched";
    EXPECT_FALSE(ReadFileToBuffer(dir.file("missing.txt"), text));
    EXPECT_FALSE(ReadFileToBuffer(dir.folder(), text));
    EXPECT_EQ(text, "untouched");
    WriteFile(dir.file("a.txt"), std::string("line\r\nmore\0hidden", 17));
    ASSERT_TRUE(ReadFileToBuffer(dir.file("a.txt"), text));
    EXPECT_EQ(text, "line\r\nmore");
    WriteFile(dir.file("empty.txt"), "");
    ASSERT_TRUE(ReadFileToBuffer(dir.file("empty.txt"), text));
    EXPECT_EQ(text, "");
}

TEST(Files, TemporaryFilesAreCreatedExclusivelyAndKeepTheExtension)
{
    TempDir dir;
    FakeSystem system;
    system.tempFolder = dir.folder();
    const std::string first = GetUniqueTempFileName(".rtf");
    const std::string second = GetUniqueTempFileName(".rtf");
    for (const std::string& name : {first, second})
    {
        EXPECT_EQ(lf::sys::FolderOf(name), dir.folder()) << name;
        EXPECT_TRUE(lf::sys::NamePart(name).starts_with("tmp")) << name;
        EXPECT_TRUE(name.ends_with(".rtf")) << name;
        // The name is claimed by the file itself, not merely checked to be free.
        EXPECT_TRUE(fs::is_regular_file(name)) << name;
        EXPECT_EQ(fs::file_size(name), 0u) << name;
    }
    EXPECT_NE(first, second);
    EXPECT_TRUE(GetUniqueTempFileName("").starts_with(dir.folder() + "tmp"));

    // A temporary folder that cannot take a file gives no name at all.
    system.tempFolder = dir.folder() + "missing/";
    EXPECT_EQ(GetUniqueTempFileName(".wav"), "");
    EXPECT_FALSE(fs::exists(dir.folder() + "missing"));
}

TEST(Files, FileTimesAreLocalDateTimes)
{
    TempDir dir;
    FakeSystem system; // local time is UTC
    const std::string path = dir.file("Bio.lnf");
    WriteFile(path, "x");
    // 2013-01-22 09:05:07.250 UTC as the last access and last write.
    const struct timespec times[2] = {{1358845507, 250000000}, {1358845507, 250000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    SFileTimes fileTimes;
    ASSERT_TRUE(GetFileTimes(path, fileTimes));
    const TDateTime expected = EncodeDateTime({2013, 1, 22, 9, 5, 7, 250});
    EXPECT_DOUBLE_EQ(fileTimes.Modified, expected);
    EXPECT_DOUBLE_EQ(fileTimes.Accessed, expected);
    EXPECT_GT(fileTimes.Created, 0.0);
    EXPECT_FALSE(GetFileTimes(dir.folder(), fileTimes));
    EXPECT_DOUBLE_EQ(fileTimes.Modified, 0.0);
    EXPECT_FALSE(GetFileTimes(dir.file("missing.lnf"), fileTimes));
}

// --- The folder scan ---

TEST(ScanBookFolder, FindsBooksInEverySubFolderButFollowsNoFolderLinks)
{
    TempDir dir;
    fs::create_directories(dir.path() / "Bio" / "Temp");
    fs::create_directories(dir.path() / "Zoo");
    WriteFile(dir.file("b.lnf"), "x");
    WriteFile(dir.file("a.pdb"), "x");
    WriteFile(dir.file("notes.txt"), "x");
    WriteFile(dir.file("VAD-DIDU.PDB"), "x");
    WriteFile(dir.file("Bio/Temp/Bio_2013.lnf"), "x");
    WriteFile(dir.file("Zoo/c.LNF"), "x");
    fs::create_directory_symlink(dir.path(), dir.path() / "Zoo" / "loop");
    fs::create_symlink(dir.path() / "b.lnf", dir.path() / "Zoo" / "link.lnf");

    std::vector<SBookInfo> books;
    ScanBookFolder(dir.path().string(), [&books](SBookInfo&& book) { books.push_back(std::move(book)); });

    std::vector<std::string> found;
    for (const SBookInfo& book : books)
    {
        found.push_back(book.Folder + book.FileName);
        EXPECT_GT(book.Modified, 0.0) << book.FileName;
        EXPECT_EQ(book.AlwaysShown, 0);
    }
    const std::vector<std::string> expected = {dir.folder() + "Bio/Temp/Bio_2013.lnf",
                                               dir.folder() + "Zoo/c.LNF", dir.folder() + "Zoo/link.lnf",
                                               dir.folder() + "a.pdb", dir.folder() + "b.lnf"};
    EXPECT_EQ(found, expected);
}

TEST(ScanBookFolder, MissingFolderFindsNothing)
{
    TempDir dir;
    int count = 0;
    ScanBookFolder(dir.folder() + "missing/", [&count](SBookInfo&&) { ++count; });
    EXPECT_EQ(count, 0);
}

// --- The trash ---

class TrashTest : public ::testing::Test
{
protected:
    std::string Trash() const { return m_data.folder() + "Trash/"; }

    TempDir m_data;
    TempDir m_files;
    ScopedEnv m_env{"XDG_DATA_HOME", m_data.path().string()};
    FakeSystem m_system;
};

TEST_F(TrashTest, MovesTheFileAndRecordsWhereItCameFrom)
{
    m_system.localNow = {2024, 3, 5, 14, 7, 9, 0};
    fs::create_directory(m_files.path() / "my books");
    const std::string book = m_files.file("my books/Bio.lnf");
    WriteFile(book, "book");

    ASSERT_TRUE(DeleteFileToRecycleBin(book));
    EXPECT_FALSE(fs::exists(book));
    EXPECT_EQ(lf::test::ReadFile(Trash() + "files/Bio.lnf"), "book");
    const std::string info = lf::test::ReadFile(Trash() + "info/Bio.lnf.trashinfo");
    EXPECT_EQ(info, "[Trash Info]\nPath=" + m_files.folder() +
                        "my%20books/Bio.lnf\nDeletionDate=2024-03-05T14:07:09\n");
    // Only the record and the file: no temporary file is left in the trash.
    EXPECT_EQ(std::distance(fs::directory_iterator(Trash() + "info"), fs::directory_iterator()), 1);
}

TEST_F(TrashTest, SameNamesGetTheirOwnPlace)
{
    fs::create_directory(m_files.path() / "a");
    fs::create_directory(m_files.path() / "b");
    WriteFile(m_files.file("a/Bio.lnf"), "first");
    WriteFile(m_files.file("b/Bio.lnf"), "second");
    ASSERT_TRUE(DeleteFileToRecycleBin(m_files.file("a/Bio.lnf")));
    ASSERT_TRUE(DeleteFileToRecycleBin(m_files.file("b/Bio.lnf")));
    EXPECT_EQ(lf::test::ReadFile(Trash() + "files/Bio.lnf"), "first");
    EXPECT_EQ(lf::test::ReadFile(Trash() + "files/Bio.2.lnf"), "second");
    EXPECT_TRUE(fs::exists(Trash() + "info/Bio.2.lnf.trashinfo"));
}

TEST_F(TrashTest, FolderNamedWithItsFinalSlashIsMovedWhole)
{
    fs::create_directories(m_files.path() / "Bio" / "sub");
    WriteFile(m_files.file("Bio/sub/heart.png"), "png");
    ASSERT_TRUE(DeleteFileToRecycleBin(m_files.folder() + "Bio/"));
    EXPECT_FALSE(fs::exists(m_files.path() / "Bio"));
    EXPECT_EQ(lf::test::ReadFile(Trash() + "files/Bio/sub/heart.png"), "png");
    const std::string info = lf::test::ReadFile(Trash() + "info/Bio.trashinfo");
    EXPECT_NE(info.find("Path=" + m_files.folder() + "Bio\n"), std::string::npos) << info;
}

TEST_F(TrashTest, MissingFileIsRefused)
{
    EXPECT_FALSE(DeleteFileToRecycleBin(m_files.file("missing.lnf")));
    EXPECT_FALSE(DeleteFileToRecycleBin(""));
    EXPECT_FALSE(fs::exists(Trash() + "info/missing.lnf.trashinfo"));
}

} // namespace
