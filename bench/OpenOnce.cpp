// Opening a book as a whole process, for timing with the system's tools (perf stat, repeated runs):
//   bench_open_once make COUNT FILE   writes a generated book of COUNT questions
//   bench_open_once open FILE         opens the book as the program does (read plus every search text)
//   bench_open_once floor FILE        the floor: a bare parse and the plain text of every stored text
// The process ends right after the work in both modes, so neither counts freeing what it read.
#include "bench/GeneratedBook.h"
#include "bench/OpenFloor.h"
#include "model/collection/Itemsarray.h"
#include "model/storage/Datastorage.h"
#include "model/support/Log.h"
#include "platform/richtext/RichDocument.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

int main(int argc, char** argv)
{
    const std::string_view mode = argc > 1 ? argv[1] : "";
    // The log goes beside the book, not into the folder the run started in.
    if (argc > 2)
        SetLogBooksDirectory(std::filesystem::absolute(argv[argc - 1]).parent_path().string() + "/");
    if (mode == "make" && argc == 4)
    {
        std::int64_t count = 0;
        const std::string_view text = argv[2];
        std::from_chars(text.data(), text.data() + text.size(), count);
        CDataStorage storage;
        lf::bench::BuildBook(*storage.GetItemsPtr2(), count);
        return storage.SaveXML(argv[3], storage.GetItemsPtr2(), true, true) ? 0 : 1;
    }
    if (mode == "open" && argc == 3)
    {
        static lf::RichDocument view;
        static CDataStorage storage;
        storage.SetRichViews(&view, nullptr);
        if (!storage.OpenBook(argv[2]))
            return 1;
        storage.PrepareContent();
        std::printf("%d questions\n", storage.GetItemsPtr2()->GetCount());
        std::fflush(stdout);
        std::_Exit(0);
    }
    if (mode == "floor" && argc == 3)
    {
        const std::size_t bytes = lf::bench::ReadBookFloor(argv[2]);
        std::printf("%zu plain bytes\n", bytes);
        std::fflush(stdout);
        std::_Exit(bytes > 0 ? 0 : 1);
    }
    std::fprintf(stderr, "usage: bench_open_once make COUNT FILE | open FILE | floor FILE\n");
    return 2;
}
