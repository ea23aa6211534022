// What every fuzz target shares: a scratch folder of its own for the files a reader needs, the program's
// options and log kept there too, and a clock that does not pause on every log line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lf::fuzz
{

// The process's scratch folder, made on first use ("/tmp/lernfold-fuzz-XXXXXX/", ending in "/"). The
// options store and the log live there from then on.
const std::string& Scratch();

// Writes the input to a file of that name in the scratch folder and answers its full path.
std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size);

// An empty folder "out/" in the scratch folder for the files one run writes (full path ending in "/").
std::string FreshOutputFolder();

// Stops the run when a property does not hold: the input that broke it is kept by the fuzzer.
[[noreturn]] void Fail(const std::string& what);

} // namespace lf::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
