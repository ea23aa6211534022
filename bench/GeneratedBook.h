// The generated books the benchmarks run on: count questions of mixed kinds over three chapters.
#pragma once

#include <cstdint>
#include <string>

class CItemsArray2;

namespace lf::bench
{

// A stored rich text of a few hundred bytes: two text styles, two paragraphs.
std::string RichText(std::int64_t n, const char* topic);
// A book of count questions: multiple choice (half of them), true/false, short answer, numerical with
// units, calculated with a data set, essay, matching and description, spread over three chapters.
void BuildBook(CItemsArray2& items, std::int64_t count);

} // namespace lf::bench
