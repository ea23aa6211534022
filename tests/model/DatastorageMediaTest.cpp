// The book with embedded media: which files it carries, their bytes, the way back into the media folder,
// and names or texts that must never be written.
#include "tests/model/DatastorageTestSupport.h"

#include "model/items/Datatypes_Kinds.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace lf::test;
namespace fs = std::filesystem;

namespace
{

using lf::test::PrintTo;

// Every byte value once, so the hexadecimal form is checked for all of them, zero included.
std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

std::string LinkText(const std::string& fileName)
{
    return "<LFDRoot><document><text tag=\"" + fileName + "\">see</text></document></LFDRoot>";
}

std::vector<std::string> ContentNames(const pugi::xml_node root)
{
    std::vector<std::string> names;
    for (pugi::xml_node c = root.child("Contents").child("Content"); c; c = c.next_sibling("Content"))
        names.push_back(c.attribute("FileName").value());
    return names;
}

// The entries of one type (files, folders) anywhere below a folder, as "/" paths relative to it.
std::set<std::string> EntriesBelow(const fs::path& folder, fs::file_type type)
{
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
    {
        if (entry.status().type() == type)
            entries.insert(fs::relative(entry.path(), folder).generic_string());
    }
    return entries;
}

// Every file below the folder.
std::set<std::string> FilesBelow(const fs::path& folder)
{
    return EntriesBelow(folder, fs::file_type::regular);
}

class DatastorageMedia : public ::testing::Test, public StorageFixture
{
protected:
    // Makes the open book a new one named name in the scratch folder, so it has a media folder.
    CItemsArray2& OpenNewBook(const std::string& name)
    {
        storage.CloseBook();
        EXPECT_TRUE(storage.OpenBook(dir.file(name)));
        return *storage.GetItemsPtr2();
    }
};

TEST_F(DatastorageMedia, WritesEachFileOnceSortedAndReadsThemBackByteForByte)
{
    CItemsArray2& items = OpenNewBook("source.lnf");
    const std::string media = dir.file("source") + "/";
    const std::string picture1 = AllBytes();
    const std::string picture2 = "\x89PNG\r\n\x1a\n" + std::string(3, '\0') + "end";
    const std::string sound = "RIFF....WAVEfmt ";
    fs::create_directories(media);
    WriteFile(media + "pic2.png", picture2);
    WriteFile(media + "pic1.jpg", picture1);
    WriteFile(media + "sound.wav", sound);

    BookBuilder book(items);
    book.multipleChoice("first", {"a", "b"}, 0);
    book.last()->SetImageToDisplay("pic2.png");
    book.last()->SetAudioFileName("sound.wav");
    book.description("second");
    book.last()->SetImageToDisplay("pic1.jpg");
    book.essay(LinkText("pic2.png")).name("third"); // the same picture again, through a link

    ASSERT_TRUE(storage.SaveWithContentXML(dir.file("travel"), &items, true));
    const std::string written = dir.file("travel.lnf4");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(written.c_str(), pugi::parse_cdata | pugi::parse_escapes));
    const pugi::xml_node root = doc.child("Lernfold");
    EXPECT_EQ(ContentNames(root), (std::vector<std::string>{"pic1.jpg", "pic2.png", "sound.wav"}));
    const std::string hex = root.child("Contents").child("Content").first_child().value();
    EXPECT_EQ(hex.substr(0, 8), "00010203");
    EXPECT_EQ(hex.substr(hex.size() - 8), "FCFDFEFF");
    EXPECT_FALSE(items.IsModified());

    CItemsArray2& target = OpenNewBook("target.lnf");
    ASSERT_TRUE(storage.LoadWithContentXML(written, &target, 0, true));
    const std::string back = dir.file("target") + "/";
    EXPECT_EQ(FilesBelow(back), (std::set<std::string>{"pic1.jpg", "pic2.png", "sound.wav"}));
    EXPECT_EQ(ReadFile(back + "pic1.jpg"), picture1);
    EXPECT_EQ(ReadFile(back + "pic2.png"), picture2);
    EXPECT_EQ(ReadFile(back + "sound.wav"), sound);
    // The unnamed first question is the one every new book starts with.
    EXPECT_EQ(BookOrderNames(target), ",first,second,third");
    EXPECT_EQ(FindByName(target, "first")->GetAudioFileName(), "sound.wav");
    EXPECT_FALSE(target.IsModified());
}

TEST_F(DatastorageMedia, CarriesOnlyLocalMediaFilesThatExist)
{
    CItemsArray2& items = OpenNewBook("pick.lnf");
    const std::string media = dir.file("pick") + "/";
    fs::create_directories(media + "pics");
    for (const char* name : {"A.png", "a.png", "fb.bmp", "tf.ico", "calc.emf", "gone.gif", "notes.txt",
                             "pics/cell.png", "choice.wmf", "answer.jpg", "formula.png"})
        WriteFile(media + name, name);

    BookBuilder book(items);
    book.multipleChoice("web", {"x"}, 0);
    book.last()->SetImageToDisplay("http://example.org/A.png"); // a web address
    book.last()->SetAudioFileName("sub/a.png");                 // a "/" path
    static_cast<CMultipleChoiceItem*>(book.last())
        ->SetFeedbackForAnyPartiallyCorrectResponse(LinkText("choice.wmf"));
    {
        SAnswerItem* answer = nullptr;
        ASSERT_TRUE(book.last()->GetAnswer(0, answer));
        answer->Feedback = LinkText("fb.bmp");
        answer->AnswerText = LinkText("answer.jpg");
    }
    book.description("case").name("upper");
    book.last()->SetImageToDisplay("A.png");
    book.description("case").name("lower");
    book.last()->SetImageToDisplay("a.png");
    book.description("not media");
    book.last()->SetImageToDisplay("notes.txt");
    book.description("missing");
    book.last()->SetImageToDisplay("missing.gif");
    book.description("sub folder");
    book.last()->SetImageToDisplay("pics\\cell.png");
    book.trueFalse("tf", true);
    static_cast<CTrueFalseItem*>(book.last())->SetFeedbackForTheResponseFalse(LinkText("tf.ico"));
    book.item(qtCalculated, "calc");
    {
        SCalculatedAnswerItem answer;
        answer.AnswerFormula = LinkText("formula.png"); // a formula, never a rich text
        answer.Feedback = LinkText("calc.emf");
        static_cast<CCalculatedItem*>(book.last())->AddCalculatedAnswer(answer);
    }
    book.description("deleted for good");
    book.last()->SetImageToDisplay("gone.gif");
    book.last()->SetStatus(qsDeleted, true);

    pugi::xml_document doc;
    ASSERT_TRUE(storage.SaveContentsToXML(doc.append_child("Lernfold"), &items));
    EXPECT_EQ(ContentNames(doc.child("Lernfold")),
              (std::vector<std::string>{"A.png", "a.png", "answer.jpg", "calc.emf", "choice.wmf", "fb.bmp",
                                        "gone.gif", "pics\\cell.png", "tf.ico"}));
    // "A.png" holds its own name: the text is the upper-case hexadecimal of its bytes.
    EXPECT_STREQ(doc.child("Lernfold").child("Contents").child("Content").first_child().value(),
                 "412E706E67");
}

TEST_F(DatastorageMedia, StreamedFileIsTheDocumentOfTheWholeBook)
{
    CItemsArray2& items = OpenNewBook("whole.lnf");
    FillEveryKindBook(items);
    fs::create_directories(dir.file("whole") + "/pics");
    WriteFile(dir.file("whole") + "/pics/cell.png", "cell");

    ASSERT_TRUE(storage.SaveWithContentXML(dir.file("whole.lnf4"), &items, false));
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Lernfold");
    root.append_attribute("Version").set_value("1");
    storage.SaveCategoriesToXML(root, &items);
    storage.SaveQuestionsToXML(root, &items, false, false, false, false);
    ASSERT_TRUE(storage.SaveContentsToXML(root, &items));
    std::string expected = dir.file("expected.xml");
    ASSERT_TRUE(doc.save_file(expected.c_str(), "\t", pugi::format_indent));
    EXPECT_EQ(ReadFile(dir.file("whole.lnf4")), ReadFile(expected));
    EXPECT_EQ(ContentNames(root), std::vector<std::string>{"pics\\cell.png"});
    // Nothing of the temporary file is left beside the book.
    EXPECT_EQ(FilesBelow(dir.path()),
              (std::set<std::string>{"expected.xml", "whole.lnf4", "whole/pics/cell.png"}));
}

TEST_F(DatastorageMedia, FileInAFolderOfTheMediaFolderComesBackThere)
{
    CItemsArray2& items = OpenNewBook("nested.lnf");
    fs::create_directories(dir.file("nested") + "/pics");
    WriteFile(dir.file("nested") + "/pics/cell.png", "cell bytes");
    BookBuilder(items).description("cell");
    items.GetItem(items.GetCount() - 1)->SetImageToDisplay("pics\\cell.png");
    ASSERT_TRUE(storage.SaveWithContentXML(dir.file("nested.lnf4"), &items, false, true));

    CItemsArray2& target = OpenNewBook("copy.lnf");
    ASSERT_TRUE(storage.LoadWithContentXML(dir.file("nested.lnf4"), &target, 0, true));
    EXPECT_EQ(ReadFile(dir.file("copy") + "/pics/cell.png"), "cell bytes");
}

struct SNameCase
{
    const char* label;
    std::string given;
    bool keepName;
    std::string written;
};

class DatastorageMediaNames : public DatastorageMedia, public ::testing::WithParamInterface<SNameCase>
{
};

TEST_P(DatastorageMediaNames, AppendsTheExtensionOnlyWhenMissing)
{
    CItemsArray2& items = OpenNewBook("named.lnf");
    ASSERT_TRUE(storage.SaveWithContentXML(dir.file(GetParam().given), &items, false, GetParam().keepName));
    EXPECT_TRUE(fs::exists(dir.file(GetParam().written)));
}

INSTANTIATE_TEST_SUITE_P(Names, DatastorageMediaNames,
                         ::testing::Values(SNameCase{"UpperCase", "b.LNF4", false, "b.LNF4"},
                                           SNameCase{"PlainBook", "b.lnf", false, "b.lnf.lnf4"},
                                           SNameCase{"NoExtension", "b", false, "b.lnf4"},
                                           SNameCase{"MixedCase", "b.LnF4", false, "b.LnF4"},
                                           SNameCase{"KeepName", "b.lnf", true, "b.lnf"}),
                         [](const ::testing::TestParamInfo<SNameCase>& info) { return info.param.label; });

TEST_F(DatastorageMedia, EmptyNameOrNoFolderFailsAndLeavesTheOldFile)
{
    CItemsArray2& items = OpenNewBook("fail.lnf");
    EXPECT_FALSE(storage.SaveWithContentXML("", &items, false));
    EXPECT_FALSE(storage.SaveWithContentXML(dir.file("no/such/folder/b.lnf4"), &items, false));
    EXPECT_NE(env.LogText().find("CDataStorage::SaveWithContentXML - "), std::string::npos);
}

// --- Reading crafted files ---

struct SContentCase
{
    const char* label;
    std::string fileName; // "{dir}" stands for the scratch folder
    std::string text;
    bool logged;
};

class DatastorageMediaRefusals : public DatastorageMedia, public ::testing::WithParamInterface<SContentCase>
{
};

TEST_P(DatastorageMediaRefusals, WritesNothingForTheContentAndStillReadsTheBook)
{
    std::string name = GetParam().fileName;
    if (const auto at = name.find("{dir}"); at != std::string::npos)
        name.replace(at, 5, dir.folder());
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Lernfold");
    root.append_attribute("Version").set_value("1");
    root.append_child("Questions").append_child("Question");
    root.child("Questions").child("Question").append_attribute("QuestionType").set_value("8");
    pugi::xml_node contents = root.append_child("Contents");
    pugi::xml_node bad = contents.append_child("Content");
    bad.append_attribute("FileName").set_value(name.c_str());
    bad.append_child(pugi::node_cdata).set_value(GetParam().text.c_str());
    pugi::xml_node good = contents.append_child("Content");
    good.append_attribute("FileName").set_value("good.png");
    good.append_child(pugi::node_cdata).set_value("4F4B");
    fs::create_directories(dir.file("in"));
    const std::string crafted = dir.file("in/crafted.lnf4");
    ASSERT_TRUE(doc.save_file(crafted.c_str()));

    CItemsArray2& items = OpenNewBook("book/target.lnf");
    ASSERT_TRUE(storage.LoadWithContentXML(crafted, &items, 0, true));
    EXPECT_EQ(items.GetCount(), 1);
    EXPECT_EQ(FilesBelow(dir.path()), (std::set<std::string>{"in/crafted.lnf4", "book/target/good.png"}));
    // A refused name makes no folder either, not even one its ".." parts would lead back into.
    EXPECT_EQ(EntriesBelow(dir.path(), fs::file_type::directory),
              (std::set<std::string>{"in", "book", "book/target"}));
    EXPECT_EQ(ReadFile(dir.file("book/target/good.png")), "OK");
    EXPECT_EQ(env.LogText().find("Content skipped") != std::string::npos, GetParam().logged);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, DatastorageMediaRefusals,
    ::testing::Values(SContentCase{"ParentFolders", "..\\..\\evil.txt", "4F4B", true},
                      SContentCase{"ParentInTheMiddle", "pics\\..\\..\\evil.png", "4F4B", true},
                      SContentCase{"ParentWithSlash", "../in/evil.png", "4F4B", true},
                      SContentCase{"ParentThenBackInside", "x\\..\\sub\\evil.png", "4F4B", true},
                      SContentCase{"FullPath", "{dir}in/evil.png", "4F4B", true},
                      SContentCase{"DriveLetter", "C:\\evil.png", "4F4B", true},
                      SContentCase{"NotHexadecimal", "text.png", "4G4B", true},
                      SContentCase{"OddLength", "odd.png", "4F4", true},
                      SContentCase{"EmptyText", "empty.png", "", false}),
    [](const ::testing::TestParamInfo<SContentCase>& info) { return info.param.label; });

TEST_F(DatastorageMedia, BookWithoutFileNameWritesNoMediaAnywhere)
{
    storage.NewBook();
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Lernfold");
    root.append_attribute("Version").set_value("1");
    pugi::xml_node content = root.append_child("Contents").append_child("Content");
    content.append_attribute("FileName").set_value("stray.png");
    content.append_child(pugi::node_cdata).set_value("4F4B");
    fs::create_directories(dir.file("work"));
    const std::string crafted = dir.file("book.lnf4");
    ASSERT_TRUE(doc.save_file(crafted.c_str()));

    const fs::path before = fs::current_path();
    fs::current_path(dir.file("work"));
    const bool read = storage.LoadWithContentXML(crafted, storage.GetItemsPtr2(), 0, true);
    fs::current_path(before);
    EXPECT_TRUE(read);
    EXPECT_EQ(FilesBelow(dir.path()), std::set<std::string>{"book.lnf4"});
    EXPECT_NE(env.LogText().find("media are not written"), std::string::npos);
}

TEST_F(DatastorageMedia, RefusedBookWritesNoMediaAndReportsAsTheBookReader)
{
    CItemsArray2& items = OpenNewBook("keep.lnf");
    BookBuilder(items).description("stays");
    const std::int32_t count = items.GetCount();
    const std::string noVersion = dir.file("noversion.lnf4");
    WriteFile(noVersion, "<Lernfold Version=\"0\"><Questions/><Contents><Content FileName=\"x.png\">"
                         "<![CDATA[4F4B]]></Content></Contents></Lernfold>");
    const std::string broken = dir.file("broken.lnf4");
    WriteFile(broken, "<Lernfold Version=\"1\"><Questions>");

    sinks.statusTexts.clear();
    EXPECT_FALSE(storage.LoadWithContentXML(noVersion, &items, 0, false));
    EXPECT_EQ(sinks.statusTexts, std::vector<std::string>{"Start load book..."});
    EXPECT_FALSE(fs::exists(dir.file("keep/x.png")));
    EXPECT_FALSE(storage.LoadWithContentXML(broken, &items, 0, false));
    EXPECT_FALSE(storage.LoadWithContentXML(dir.file("missing.lnf4"), &items, 0, false));
    EXPECT_EQ(sinks.statusTexts.back(), "Book loaded.");
    EXPECT_EQ(items.GetCount(), count);
    EXPECT_NE(env.LogText().find("CDataStorage::LoadWithContentXML, File name - " + dir.file("missing.lnf4")),
              std::string::npos);
}

} // namespace
