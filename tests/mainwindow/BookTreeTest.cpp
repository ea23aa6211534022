// The book tree the session panel's chooser drops down.
#include "mainwindow/rules/BookTree.h"
#include "model/storage/Booklist.h"
#include "tests/model/BookBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// One line per node, indented by depth: "text [data/image]".
void Describe(const std::vector<SBookTreeNode>& nodes, int depth, std::vector<std::string>& lines)
{
    for (const SBookTreeNode& node : nodes)
    {
        lines.push_back(std::string(depth * 2, ' ') + node.text + " [" + std::to_string(node.data) + "/" +
                        std::to_string(node.image) + "]");
        Describe(node.children, depth + 1, lines);
    }
}

std::vector<std::string> Describe(const CBookTree& tree)
{
    std::vector<std::string> lines;
    Describe(tree, 0, lines);
    return lines;
}

class BookTreeTest : public testing::Test
{
protected:
    lf::test::BookEnvironment env;
    CBookList books;
};

TEST_F(BookTreeTest, FoldersBooksExternalAndBrowseInTestPhase)
{
    books.Add("/b/a.lnf", false);              // 0
    books.Add("/b/Math/Algebra/x.lnf", false); // 1
    books.Add("/o/c.lnf", false);              // 2
    EXPECT_EQ(Describe(BuildBookTree(books, "/b/", false)),
              (std::vector<std::string>{"a [0/0]", "Math [0/5]", "  Algebra [0/5]", "    x [1/0]",
                                        "External [0/6]", "  c [2/0]", "Browse... [65534/2]"}));
}

TEST_F(BookTreeTest, EditPhasePutsTheCreateNodeFirst)
{
    books.Add("/b/a.lnf", false);
    books.Add("/b/Math/Algebra/x.lnf", false);
    books.Add("/o/c.lnf", false);
    const std::vector<std::string> lines = Describe(BuildBookTree(books, "/b/", true));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines.front(), "Create a new book... [65535/1]");
    EXPECT_EQ(lines[1], "a [0/0]");
    EXPECT_EQ(lines.back(), "Browse... [65534/2]");
}

TEST_F(BookTreeTest, AFolderGoesUnderItsTopLevelHeadOnly)
{
    // A folder named like a deeper one: the books of /b/Math/ belong to the top-level "Math".
    books.Add("/b/Algebra/Math/y.lnf", false); // 0
    books.Add("/b/Math/z.lnf", false);         // 1
    EXPECT_EQ(Describe(BuildBookTree(books, "/b/", false)),
              (std::vector<std::string>{"Algebra [0/5]", "  Math [0/5]", "    y [0/0]", "Math [0/5]",
                                        "  z [1/0]", "Browse... [65534/2]"}));
}

TEST_F(BookTreeTest, OnlyFoldersBeginningWithTheBooksFolderAreInside)
{
    books.Add("/mnt/home/u/Books/x/m.lnf", false); // contains the books folder, does not begin with it
    books.Add("/home/u/Books/n.lnf", false);
    EXPECT_EQ(Describe(BuildBookTree(books, "/home/u/Books/", false)),
              (std::vector<std::string>{"n [1/0]", "External [0/6]", "  m [0/0]", "Browse... [65534/2]"}));
}

TEST_F(BookTreeTest, TheListKeepsItsFilterAndSortSettings)
{
    books.Add("/b/z.lnf", false);
    books.Add("/b/a.lnf", false);
    books.m_bFilterEnable = 1;
    books.m_FilterField = CBookList::kFieldModified;
    books.m_FilterPeriod = 3;
    books.m_bSortEnable = 0;
    books.m_SortField = CBookList::kSortName;
    books.m_SortUp = 0;
    BuildBookTree(books, "/b/", false);
    EXPECT_EQ(books.m_bFilterEnable, 1);
    EXPECT_EQ(books.m_FilterField, CBookList::kFieldModified);
    EXPECT_EQ(books.m_FilterPeriod, 3);
    EXPECT_EQ(books.m_bSortEnable, 0);
    EXPECT_EQ(books.m_SortField, CBookList::kSortName);
    EXPECT_EQ(books.m_SortUp, 0);
}

TEST_F(BookTreeTest, FolderLookupRefusesALeadingSlashAndAnEmptyPath)
{
    CBookTree tree;
    EXPECT_EQ(GetParrentFolderInTree(tree, ""), nullptr);
    EXPECT_EQ(GetParrentFolderInTree(tree, "/Math/"), nullptr);
    EXPECT_TRUE(tree.empty());
    EXPECT_NE(env.LogText().find("Tm_MainFrm::GetParrentFolderInTree - ERROR: PosN == 1!"),
              std::string::npos);
    SBookTreeNode* algebra = GetParrentFolderInTree(tree, "Math/Algebra/");
    ASSERT_NE(algebra, nullptr);
    EXPECT_EQ(algebra->text, "Algebra");
    EXPECT_EQ(GetParrentFolderInTree(tree, "Math/Algebra/"), algebra);
    EXPECT_EQ(tree.size(), 1u);
}

} // namespace
