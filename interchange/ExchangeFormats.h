// Puts the exchange formats of this library behind the book storage's entry points.
#pragma once

namespace lf
{

// Installs the quiz and delimited-text readers and writers for every book storage; once at start-up (and
// by tests that go through the storage). Calling it again changes nothing.
void InstallExchangeFormats();

} // namespace lf
