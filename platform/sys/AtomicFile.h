// Writing a whole file so that a crash never leaves half of it: the bytes go to a temporary file beside
// the target, which is flushed to disk and then renamed over the target.
#pragma once

#include <string>

namespace lf::sys {

// Replaces path with bytes. On failure the old file is untouched, no temporary file is left behind,
// error holds the reason and the result is false.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace lf::sys
