// The main window's title: the open book's file name and the phase, or the program's name alone.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>
#include <string>

inline constexpr const char* kApplicationTitle = "Korvanta Lernfold";

struct STitleInput
{
    EPhase phase = EPhase::None;
    bool wholeBookLoaded = false;
    std::int32_t bookIndex = -1; // the open book's book-list entry, -1 for none
    std::string fileName;        // the open book's full file name
};

// "<file name> (<Phase> Phase) - Korvanta Lernfold"; "Korvanta Lernfold" without a named book or phase.
// A book without a book-list entry is "Unnamed" in Edit phase and nameless elsewhere.
std::string MakeWindowTitle(const STitleInput& input);
