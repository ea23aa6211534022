// Every text of a book, chapters and questions, one per line: two readings of a book compare equal
// exactly when their texts do.
#pragma once

#include "model/Itemsarray.h"

#include <string>

namespace lf::fuzz
{

std::string BookTexts(CItemsArray2& items);

} // namespace lf::fuzz
