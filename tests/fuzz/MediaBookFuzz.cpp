// The book with embedded media; property: it writes nothing outside the book's media folder.
#include "model/storage/Datastorage.h"
#include "tests/fuzz/FuzzSupport.h"

#include <filesystem>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fs::path root = fs::path(lf::fuzz::Scratch()) / "media-root";
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(root / "book" / "deeper");
    const std::string book = (root / "book" / "deeper" / "book.lnf4").string();
    CDataStorage storage;
    storage.OpenBook(book); // no file yet: the storage takes the name as its book's
    lf::fuzz::WriteInput("media-root/book/deeper/book.lnf4", data, size);
    storage.LoadWithContentXML(book, storage.GetItemsPtr2(), 0, true);

    const fs::path media = root / "book" / "deeper" / "book";
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    {
        const fs::path path = it->path();
        if (path == book || path == root / "book" || path == root / "book" / "deeper" || path == media)
            continue;
        const auto [end, unused] = std::mismatch(media.begin(), media.end(), path.begin(), path.end());
        (void)unused;
        if (end != media.end() || fs::is_symlink(fs::symlink_status(path, ec)))
            lf::fuzz::Fail("written outside the media folder: " + path.string());
    }
    return 0;
}
