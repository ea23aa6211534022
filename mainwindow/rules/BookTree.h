// The book tree that the session panel's book chooser drops down: folder nodes under the books folder,
// the books in them, books from elsewhere under "External", and the create and browse nodes. Built from
// the book list as plain nodes; the popup window turns them into tree items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CBookList;

// Data values and pictures of the nodes.
inline constexpr std::int32_t kCreateBookNodeData = 65535;
inline constexpr std::int32_t kBrowseNodeData = 65534;
inline constexpr int kBookNodeImage = 0;
inline constexpr int kCreateNodeImage = 1;
inline constexpr int kBrowseNodeImage = 2;
inline constexpr int kFolderNodeImage = 5;
inline constexpr int kExternalNodeImage = 6;
inline constexpr const char* kExternalNodeText = "External";
inline constexpr const char* kCreateNodeText = "Create a new book...";
inline constexpr const char* kBrowseNodeText = "Browse...";

struct SBookTreeNode
{
    std::string text;
    std::int32_t data = 0; // a book's list index; 65535 create, 65534 browse; 0 for folders
    int image = kBookNodeImage;
    std::vector<SBookTreeNode> children;

    // Folder and "External" nodes stand for no book.
    bool IsFolder() const { return image > kBrowseNodeImage; }
};

using CBookTree = std::vector<SBookTreeNode>;

// The folder node for a folder path relative to the books folder ("Math/Algebra/"), created where missing.
// The first part is looked up among the top-level nodes only, so a folder never lands under a same-named
// folder deeper in the tree. Null for an empty path or one starting with "/" (logged).
SBookTreeNode* GetParrentFolderInTree(CBookTree& tree, const std::string& relativeFolder);

// The tree of the book list's entries, unfiltered and sorted by folder for the walk (the list's own filter
// and sort settings are given back afterwards without rebuilding its view). Books whose folder begins
// with booksFolder go under their folder nodes (top level for the books folder itself); every other book
// goes under "External". Edit phase puts the create node first; the browse node comes last.
CBookTree BuildBookTree(CBookList& books, const std::string& booksFolder, bool editPhase);

// The node with the data value among the book nodes, at any depth; null when none.
const SBookTreeNode* FindBookNode(const CBookTree& tree, std::int32_t data);
