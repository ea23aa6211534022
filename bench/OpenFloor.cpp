#include "bench/OpenFloor.h"

#include "model/storage/NativeBook.h"
#include "platform/richtext/RichTextRuns.h"

#include <pugixml.hpp>

namespace lf::bench
{

std::size_t ReadBookFloor(const std::string& path)
{
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str(), kBookParseOptions))
        return 0;
    // The runs of a stored text are the cheapest way to its plain text that this program has; the floor
    // uses them too, so it stays the bare minimum.
    struct Walker : pugi::xml_tree_walker
    {
        lf::RichTextRuns runs;
        std::size_t bytes = 0;
        bool for_each(pugi::xml_node& node) override
        {
            if (node.type() != pugi::node_cdata)
                return true;
            const std::string_view text = node.value();
            if (!runs.ForEachRun(text, [this](std::string_view run) { bytes += run.size(); }))
                bytes += text.size();
            return true;
        }
    } walker;
    doc.traverse(walker);
    return walker.bytes;
}

} // namespace lf::bench
