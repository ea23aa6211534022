// The exchange formats of this library as the book storage reaches them.
#pragma once

#include <memory>

class IExchangeFormats;

namespace lf
{

class IPictureRaster;

// The quiz, delimited-text and reader-book readers and writers, for a book storage to read and write
// through (CDataStorage::SetExchangeFormats). The reader book draws its pictures through pictures (not
// owned; none: its pictures are left out); the object keeps no other state.
std::unique_ptr<IExchangeFormats> MakeExchangeFormats(const IPictureRaster* pictures = nullptr);

} // namespace lf
