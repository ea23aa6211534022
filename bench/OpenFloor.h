// The floor of opening a book: the least any reader of the file has to do, a bare XML parse that takes the
// plain text of every stored text. The benchmarks set the opening of a book beside it.
#pragma once

#include <cstddef>
#include <string>

namespace lf::bench
{

// Parses the book file and walks every stored text (each CDATA section) for its plain text: the text runs
// of one in the rich XML form, any other as it stands. The number of plain-text bytes; 0 when the file
// does not parse.
std::size_t ReadBookFloor(const std::string& path);

} // namespace lf::bench
