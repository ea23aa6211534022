#include "mainwindow/rules/BookTree.h"

#include "model/storage/Booklist.h"
#include "model/support/Log.h"

namespace
{

// Splits "head/rest" at the first "/": rest is empty when the "/" is last or missing.
void SplitHead(const std::string& path, std::string& head, std::string& rest)
{
    const std::size_t slash = path.find('/');
    head = path.substr(0, slash);
    rest = slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

SBookTreeNode* FindFolder(std::vector<SBookTreeNode>& nodes, const std::string& text)
{
    for (SBookTreeNode& node : nodes)
        if (node.IsFolder() && node.text == text)
            return &node;
    return nullptr;
}

SBookTreeNode* AddFolder(std::vector<SBookTreeNode>& nodes, const std::string& text)
{
    SBookTreeNode node;
    node.text = text;
    node.image = kFolderNodeImage;
    nodes.push_back(std::move(node));
    return &nodes.back();
}

// The folder node for a path below one level of the tree (the top level or a folder's children), made
// where missing. A path starting with "/" is refused with the error line given.
SBookTreeNode* FolderIn(std::vector<SBookTreeNode>& level, const std::string& path, const char* errorLine)
{
    if (!path.empty() && path.front() == '/')
    {
        WriteLog(errorLine, 1, 1);
        return nullptr;
    }
    std::string head, rest;
    SplitHead(path, head, rest);
    if (head.empty())
        return nullptr;
    SBookTreeNode* node = FindFolder(level, head);
    if (!node)
        node = AddFolder(level, head);
    return rest.empty() ? node : FolderIn(node->children, rest, "GetSubfolder - ERROR: PosN == 1!");
}

SBookTreeNode MakeBookNode(const CBookList& books, int index)
{
    SBookTreeNode node;
    node.text = books.GetName(index);
    node.data = index;
    node.image = kBookNodeImage;
    return node;
}

const SBookTreeNode* FindIn(const std::vector<SBookTreeNode>& nodes, std::int32_t data)
{
    for (const SBookTreeNode& node : nodes)
    {
        if (!node.IsFolder() && node.data == data)
            return &node;
        if (const SBookTreeNode* found = FindIn(node.children, data))
            return found;
    }
    return nullptr;
}

} // namespace

SBookTreeNode* GetParrentFolderInTree(CBookTree& tree, const std::string& relativeFolder)
{
    return FolderIn(tree, relativeFolder, "Tm_MainFrm::GetParrentFolderInTree - ERROR: PosN == 1!");
}

CBookTree BuildBookTree(CBookList& books, const std::string& booksFolder, bool editPhase)
{
    CBookTree tree;
    if (editPhase)
        tree.push_back({kCreateNodeText, kCreateBookNodeData, kCreateNodeImage, {}});

    const auto keptFilterEnable = books.m_bFilterEnable;
    const auto keptSortEnable = books.m_bSortEnable;
    const auto keptFilterField = books.m_FilterField;
    const auto keptFilterPeriod = books.m_FilterPeriod;
    const auto keptSortField = books.m_SortField;
    const auto keptSortUp = books.m_SortUp;
    books.m_bFilterEnable = 0;
    books.m_bSortEnable = 1;
    books.m_SortField = CBookList::kSortPath;
    books.ApplyFilter();

    // Folder nodes are found again by path for every book: adding one may move the nodes of a vector,
    // so no pointer is kept from one book to the next.
    std::vector<int> external;
    for (int position = 0; position < books.GetFilteredCount(); ++position)
    {
        const int index = books.GetFilteredIndex(position);
        const std::string folder = books.GetPathName(index);
        if (!booksFolder.empty() && folder.compare(0, booksFolder.size(), booksFolder) == 0)
        {
            SBookTreeNode* parent = GetParrentFolderInTree(tree, folder.substr(booksFolder.size()));
            (parent ? parent->children : tree).push_back(MakeBookNode(books, index));
        }
        else
            external.push_back(index);
    }
    if (!external.empty())
    {
        SBookTreeNode node;
        node.text = kExternalNodeText;
        node.image = kExternalNodeImage;
        for (const int index : external)
            node.children.push_back(MakeBookNode(books, index));
        tree.push_back(std::move(node));
    }

    // The settings come back without a rebuild: the view stays sorted by folder until the next filter.
    books.m_bFilterEnable = keptFilterEnable;
    books.m_bSortEnable = keptSortEnable;
    books.m_FilterField = keptFilterField;
    books.m_FilterPeriod = keptFilterPeriod;
    books.m_SortField = keptSortField;
    books.m_SortUp = keptSortUp;

    tree.push_back({kBrowseNodeText, kBrowseNodeData, kBrowseNodeImage, {}});
    return tree;
}

const SBookTreeNode* FindBookNode(const CBookTree& tree, std::int32_t data)
{
    return FindIn(tree, data);
}
