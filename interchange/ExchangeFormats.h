// The exchange formats of this library as the book storage reaches them.
#pragma once

#include <memory>

class IExchangeFormats;

namespace lf
{

// The quiz and delimited-text readers and writers, for a book storage to read and write through
// (CDataStorage::SetExchangeFormats); the object keeps no state.
std::unique_ptr<IExchangeFormats> MakeExchangeFormats();

} // namespace lf
