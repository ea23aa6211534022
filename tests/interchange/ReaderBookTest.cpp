// The reader book: its file and folder names, the structure of the "book" XML against a pinned file, the
// text cells of stored texts, the pictures cut into bands, and the mends (a failed pass still writes what
// it built and says so; a second export overwrites nothing).
#include "interchange/ReaderBook.h"

#include "interchange/ExchangeFormats.h"
#include "model/items/Datatypes.h"
#include "model/storage/Datastorage.h"
#include "model/support/Log.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/NumberText.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using lf::test::AnswerOf;
using lf::test::BookBuilder;
using lf::test::DataFile;
using lf::test::ExpectSameAsPinnedFile;
using lf::test::FakeSystem;
using lf::test::FindByName;
using lf::test::ReadFile;
using lf::test::TempDir;

// Pictures of the format "fake" whose bytes spell their natural size ("600x900"); drawn as a gradient.
class FakeRaster final : public lf::IPictureRaster
{
public:
    bool NaturalSize(const lf::SRichPicture& picture, int& width, int& height) const override
    {
        const std::size_t x = picture.data.find('x');
        if (picture.format != "fake" || x == std::string::npos)
            return false;
        width = std::stoi(picture.data.substr(0, x));
        height = std::stoi(picture.data.substr(x + 1));
        return true;
    }
    bool Draw(const lf::SRichPicture& picture, int width, int height, lf::SRasterImage& out) const override
    {
        int w = 0;
        int h = 0;
        if (!NaturalSize(picture, w, h) || width <= 0 || height <= 0)
            return false;
        out.width = width;
        out.height = height;
        out.pixels.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.pixels[static_cast<std::size_t>(y) * width + x] =
                    static_cast<std::uint32_t>(((x * 255 / width) << 16) | ((y * 255 / height) << 8) | 0x40);
        ++draws;
        return true;
    }
    mutable int draws = 0;
};

lf::SRichPicture FakePicture(int width, int height)
{
    return {lf::sys::NumberText(width) + "x" + lf::sys::NumberText(height), "fake"};
}

// A stored text built as a rich document: runs and pictures in the order given.
class StoredText
{
public:
    StoredText()
    {
        lf::SRichTextStyle super = doc.styles.textStyles.at(0);
        super.name = "Super";
        super.subSuper = lf::RichSubSuper::Super;
        doc.styles.textStyles.push_back(super);
        m_super = static_cast<int>(doc.styles.textStyles.size()) - 1;
        lf::SRichTextStyle symbol = doc.styles.textStyles.at(0);
        symbol.name = "Symbol";
        symbol.fontName = "Symbol";
        doc.styles.textStyles.push_back(symbol);
        m_symbol = static_cast<int>(doc.styles.textStyles.size()) - 1;
    }
    StoredText& Para(const std::string& text)
    {
        doc.content.AddText(text, 0, 0, true);
        return *this;
    }
    StoredText& Run(const std::string& text, int style = 0)
    {
        doc.content.AddText(text, style, 0, false);
        return *this;
    }
    StoredText& Super(const std::string& text) { return Run(text, m_super); }
    StoredText& Symbol(const std::string& text) { return Run(text, m_symbol); }
    StoredText& Picture(lf::SRichPicture picture, int width, bool newParagraph = false)
    {
        doc.content.AddPicture(std::move(picture), width, 0, 0, newParagraph);
        return *this;
    }
    std::string Xml() const
    {
        std::string text;
        GetXMLFormRE(text, doc);
        return text;
    }

private:
    lf::RichDocument doc;
    int m_super = 0;
    int m_symbol = 0;
};

struct SCell
{
    std::string t;
    std::string img;
    friend bool operator==(const SCell&, const SCell&) = default;
    friend std::ostream& operator<<(std::ostream& os, const SCell& cell)
    {
        return os << "{t=\"" << cell.t << "\", img=\"" << cell.img << "\"}";
    }
};

std::vector<SCell> CellsOf(pugi::xml_node element)
{
    std::vector<SCell> cells;
    for (pugi::xml_node tc : element.children("tc"))
        cells.push_back({tc.child_value("t"), tc.child_value("img")});
    return cells;
}

// Width and height of a GIF file as giflib reads it; -1 when it does not decode.
std::pair<int, int> GifSize(const std::string& path)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif)
        return {-1, -1};
    std::pair<int, int> size{-1, -1};
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1)
        size = {gif->SavedImages[0].ImageDesc.Width, gif->SavedImages[0].ImageDesc.Height};
    DGifCloseFile(gif, &error);
    return size;
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    return names;
}

struct ReaderBookFixture : ::testing::Test
{
    FakeSystem system;
    TempDir dir;
    FakeRaster raster;
    lf::RichDocument view;
    CItemsArray2 items;

    SExchangeContext Context()
    {
        SExchangeContext context;
        context.view = &view;
        context.pictures = &raster;
        return context;
    }
    // The cells one stored text renders into, its pictures written into the folder.
    std::vector<SCell> Render(const std::string& stored, bool* ok = nullptr)
    {
        pugi::xml_document doc;
        pugi::xml_node element = doc.append_child("q");
        CReaderPictureWriter pictures(dir.folder(), &raster);
        const bool result = MakeKindleCellsFromXML(stored, &view, element, pictures, Context());
        if (ok)
            *ok = result;
        return CellsOf(element);
    }
};

using ReaderBookNames = ReaderBookFixture;
using ReaderBookStructure = ReaderBookFixture;
using ReaderBookCells = ReaderBookFixture;
using ReaderBookPictures = ReaderBookFixture;

// --- Names ---

TEST_F(ReaderBookNames, AppendsTheExtensionUnlessTheNameEndsInItInAnyCase)
{
    const struct
    {
        const char* given;
        bool keepName;
        const char* written;
    } cases[] = {
        {"Biology", false, "Biology.lnf2"}, {"x.lnf", false, "x.lnf.lnf2"}, {"BOOK.LNF2", false, "BOOK.LNF2"},
        {"notes.txt", true, "notes.txt"},   {"b.lnf2", false, "b.lnf2"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ReaderBookFileName(c.given, c.keepName), c.written) << c.given;
        ASSERT_TRUE(SaveKindleXML(dir.file(c.given), &items, c.keepName, Context())) << c.given;
        EXPECT_TRUE(fs::exists(dir.file(c.written))) << c.given;
    }
    // Five characters or fewer are never the extension alone.
    EXPECT_EQ(ReaderBookFileName(".lnf2", false), ".lnf2.lnf2");
}

TEST_F(ReaderBookNames, MediaFolderIsNamedAfterTheFileWithoutItsExtension)
{
    EXPECT_EQ(ReaderBookMediaFolder("/b/Biology.lnf2"), "/b/Biology/");
    EXPECT_EQ(ReaderBookMediaFolder("/b/a.b.lnf2"), "/b/a.b/");
    EXPECT_EQ(ReaderBookMediaFolder("/b/plain"), "/b/");
    EXPECT_EQ(ReaderBookMediaFolder("/b/.lnf2"), "/b/");
}

TEST_F(ReaderBookNames, EmptyNameFailsWithoutLoggingOrWriting)
{
    TempDir logs;
    SetLogBooksDirectory(logs.folder());
    EXPECT_FALSE(SaveKindleXML("", &items, false, Context()));
    EXPECT_FALSE(fs::exists(logs.file("Lernfold.log")));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    // A named export says in the log what it writes.
    ASSERT_TRUE(SaveKindleXML(dir.file("named"), &items, false, Context()));
    EXPECT_NE(ReadFile(logs.file("Lernfold.log"))
                  .find("CDataStorage::SaveKindleXML, File name - " + dir.file("named")),
              std::string::npos);
    SetLogBooksDirectory("");
}

// --- Structure ---

TEST_F(ReaderBookStructure, WritesChaptersAndTheMultipleChoiceQuestionsAsPinned)
{
    BookBuilder book(items);
    book.chapter("Bio")
        .multipleChoice("What is a cell?", {"Unit of life", "A room", "A battery"}, 0)
        .marked()
        .answered(true)
        .unfiled()
        .trueFalse("Cells are small.", true)
        .multipleChoice("Trashed?", {"a"}, 0)
        .trashed()
        .multipleChoice("Deleted?", {"a"}, 0);
    book.last()->SetStatus(qsDeleted, true);
    book.multipleChoice("Unfiled & plain", {"yes", "no"}, 1).explanation("Because \"it\" is.");
    // Grades: empty counts as right, "0" as wrong, a penalty as right.
    CBaseItem* first = FindByName(items, "What is a cell?");
    ASSERT_NE(first, nullptr);
    AnswerOf(first, 0)->Correct = "";
    AnswerOf(first, 2)->Correct = "-0.5";

    ASSERT_TRUE(SaveKindleXML(dir.file("Biology"), &items, false, Context()));
    ExpectSameAsPinnedFile(ReadFile(dir.file("Biology.lnf2")), "interchange/reader-book_ref.lnf2");
    // Nothing to draw: the media folder exists and holds nothing.
    EXPECT_TRUE(fs::is_directory(dir.file("Biology")));
    EXPECT_TRUE(fs::is_empty(dir.file("Biology")));
}

TEST_F(ReaderBookStructure, BookWithoutMultipleChoiceHasEveryChapterAndNoQuestions)
{
    BookBuilder(items).chapter("One").trueFalse("T?", true).chapter("Two").essay("E?");
    ASSERT_TRUE(SaveKindleXML(dir.file("b.lnf2"), &items, false, Context()));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(dir.file("b.lnf2").c_str()));
    std::vector<std::string> chapters;
    for (pugi::xml_node chapter : doc.child("book").child("chapters").children("chapter"))
        chapters.push_back(std::string(chapter.attribute("id").value()) + ":" + chapter.child_value());
    EXPECT_EQ(chapters, (std::vector<std::string>{"0:Unfiled", "1:One", "2:Two"}));
    pugi::xml_node questions = doc.child("book").child("questions");
    ASSERT_TRUE(questions);
    EXPECT_FALSE(questions.first_child());
}

TEST_F(ReaderBookStructure, FailedQuestionPassStillWritesWhatItBuiltButReportsFailure)
{
    BookBuilder(items).chapter("One").multipleChoice("Q?", {"a"}, 0);
    SExchangeContext context = Context();
    context.view = nullptr; // no view to render texts in: the question pass fails at the first text
    EXPECT_FALSE(SaveKindleXML(dir.file("half.lnf2"), &items, false, context));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(dir.file("half.lnf2").c_str()));
    EXPECT_STREQ(doc.child("book").child("chapters").last_child().child_value(), "One");
    EXPECT_TRUE(doc.child("book").child("questions").child("question").child("q"));
}

TEST_F(ReaderBookStructure, StorageSaveAsWritesTheReaderBookWithoutTakingItsName)
{
    CDataStorage storage;
    const auto formats = lf::MakeExchangeFormats(&raster);
    storage.SetExchangeFormats(formats.get());
    storage.SetRichViews(&view, nullptr);
    BookBuilder(*storage.GetItemsPtr2()).multipleChoice("Q?", {"a", "b"}, 0);
    storage.GetItemsPtr2()->SetModified(true);
    ASSERT_TRUE(storage.SaveBookAs(dir.file("Reader.LNF2"), true));
    EXPECT_TRUE(fs::exists(dir.file("Reader.LNF2")));
    EXPECT_EQ(storage.GetFileName(), "");
    EXPECT_TRUE(storage.GetItemsPtr2()->IsModified());
    storage.SetExchangeFormats(nullptr);
}

// --- Text cells ---

TEST_F(ReaderBookCells, TextsBecomeCellsOfPlainTextWithTokens)
{
    const struct
    {
        const char* name;
        std::string stored;
        std::vector<SCell> cells;
    } cases[] = {
        {"TwoParagraphs", StoredText().Para("A").Para("B").Xml(), {{"A\r\nB", ""}}},
        {"PlainTextLines", "A\r\nB", {{"A\r\nB", ""}}},
        {"SuperscriptRunsShareOneCaret", StoredText().Para("x").Super("2").Super("3").Xml(), {{"x^23", ""}}},
        {"SuperscriptAfterNormalAgain",
         StoredText().Para("x").Super("2").Run("+y").Super("3").Xml(),
         {{"x^2+y^3", ""}}},
        {"SymbolFontLetters", StoredText().Para("").Symbol("p").Xml(), {{"[pi]", ""}}},
        {"TypographicCharacters",
         StoredText().Para("\xE2\x80\x9Cq\xE2\x80\x9D \xC3\xB0").Xml(),
         {{"\"q\" [pi]", ""}}},
        {"EmptyText", "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Render(c.stored), c.cells) << c.name << "\n" << c.stored;
}

TEST_F(ReaderBookCells, PictureCutsTheTextAndTheLineBreakAfterItStays)
{
    const std::vector<SCell> cells =
        Render(StoredText().Para("A").Picture(FakePicture(40, 30), 0).Para("B").Xml());
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].t, "A");
    EXPECT_EQ(cells[0].img, "img1700000000"
                            "1.gif");
    EXPECT_EQ(cells[1], (SCell{"\r\nB", ""}));
    EXPECT_EQ(GifSize(dir.file(cells[0].img)), std::make_pair(40, 30));
}

TEST_F(ReaderBookCells, PictureThatCannotBeDrawnLeavesItsTextAndNoFile)
{
    bool ok = false;
    const std::vector<SCell> cells =
        Render(StoredText().Para("A").Picture({"broken", "png"}, 0).Run("B").Xml(), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(cells, (std::vector<SCell>{{"A", ""}, {"B", ""}}));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// --- Pictures ---

TEST(ReaderPictureSize, ScalesToFiveHundredWideAndCutsAtTheBandEdges)
{
    const struct
    {
        const char* name;
        int displayWidth, displayHeight, naturalWidth, naturalHeight;
        SReaderPictureSize size;
    } cases[] = {
        {"ShownWithinTenPercentIsNatural", 620, 930, 600, 900, {500, 750, 2}},
        {"ExactlyFiveHundredWideIsNotScaled", 0, 0, 500, 300, {500, 300, 1}},
        {"NarrowAndTallIsWrittenWhole", 0, 0, 500, 2000, {500, 2000, 1}},
        {"ScaledHeightOfFiveHundredIsOnePiece", 0, 0, 1000, 1000, {500, 500, 1}},
        {"ScaledHeightOfFiveHundredAndOneIsTwoPieces", 0, 0, 1000, 1002, {500, 501, 2}},
        {"ShownSmallerThanNinetyPercentKeepsItsDisplaySize", 200, 100, 600, 300, {200, 100, 1}},
        {"NinetyPercentIsStillNatural", 540, 10, 600, 300, {500, 250, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReaderPictureSize(c.displayWidth, c.displayHeight, c.naturalWidth, c.naturalHeight), c.size)
            << c.name;

    const struct
    {
        int height, piece;
        bool ok;
        int first, count;
    } bands[] = {{750, 1, true, 0, 500}, {750, 2, true, 500, 250}, {501, 2, true, 500, 1},
                 {501, 3, false, 0, 0},  {500, 1, false, 0, 0},    {750, 0, false, 0, 0}};
    for (const auto& b : bands)
    {
        int first = 0;
        int count = 0;
        EXPECT_EQ(ReaderBandRows(b.height, b.piece, first, count), b.ok) << b.height << "/" << b.piece;
        if (b.ok)
        {
            EXPECT_EQ(std::make_pair(first, count), std::make_pair(b.first, b.count))
                << b.height << "/" << b.piece;
        }
    }
}

TEST_F(ReaderBookPictures, TallPictureIsWrittenWholeAndInTwoBandsWithTheTextOnTheFirst)
{
    const std::vector<SCell> cells =
        Render(StoredText().Para("Look:").Picture(FakePicture(600, 900), 620).Xml());
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0], (SCell{"Look:", "img1700000000multi_12.gif"}));
    EXPECT_EQ(cells[1], (SCell{"", "img1700000000multi_23.gif"}));
    EXPECT_EQ(FilesIn(dir.folder()),
              (std::set<std::string>{"img1700000000multi_full1.gif", "img1700000000multi_12.gif",
                                     "img1700000000multi_23.gif"}));
    EXPECT_EQ(GifSize(dir.file("img1700000000multi_full1.gif")), std::make_pair(500, 750));
    EXPECT_EQ(GifSize(dir.file("img1700000000multi_12.gif")), std::make_pair(500, 500));
    EXPECT_EQ(GifSize(dir.file("img1700000000multi_23.gif")), std::make_pair(500, 250));
}

TEST_F(ReaderBookPictures, SecondExportIntoTheSameFolderOverwritesNothing)
{
    BookBuilder(items).multipleChoice(StoredText().Para("Q").Picture(FakePicture(600, 900), 0).Xml(), {"a"},
                                      0);
    ASSERT_TRUE(SaveKindleXML(dir.file("Pics"), &items, false, Context()));
    const std::string media = dir.file("Pics") + "/";
    const std::set<std::string> first = FilesIn(media);
    ASSERT_EQ(first.size(), 3u);
    std::vector<std::string> bytes;
    for (const std::string& name : first)
        bytes.push_back(ReadFile(media + name));

    ASSERT_TRUE(SaveKindleXML(dir.file("Pics"), &items, false, Context()));
    const std::set<std::string> both = FilesIn(media);
    EXPECT_EQ(both.size(), 6u);
    std::size_t i = 0;
    for (const std::string& name : first)
        EXPECT_EQ(ReadFile(media + name), bytes[i++]) << name;
    // The second book names its own files.
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(dir.file("Pics.lnf2").c_str()));
    for (pugi::xml_node tc : doc.child("book").child("questions").child("question").child("q").children("tc"))
        EXPECT_EQ(first.count(tc.child_value("img")), 0u) << tc.child_value("img");
}

} // namespace
