#pragma once

// The numberings of the verses known to the program, as the build writes
// them (NumberingTables.cpp, made by lorvane-numbering-tables): for each,
// its chapters and verses and where each of its verses that is not where
// the Louis Segond has it goes in the Segond.

#include <cstddef>
#include <cstdint>

namespace lorvane::numbering {

struct SystemData {
    const char* name;  // "KJV", "Leningrad"...
    // Pairs (verse, Segond verse) of packed places (Numbering.h), sorted by
    // the first; a Segond verse of 0 is a verse the Segond lacks.
    const std::uint32_t* rules;
    std::size_t ruleCount;  // pairs
    // For the books 1-66 in turn: the number of chapters, then the number
    // of verses of each.
    const std::uint8_t* counts;
    std::size_t countSize;
};

extern const SystemData kSystems[];
extern const std::size_t kSystemCount;

}  // namespace lorvane::numbering
