#pragma once

// The parsing code of a word of the Greek New Testament (Robinson codes,
// "V-AAI-3S") or of the Hebrew Old Testament (OSHM codes, "HR/Ncfsa"),
// spelled out in French: in full words, and in a brief form for a narrow
// place. Widget-free; never throws, whatever the bytes it is given.

#include <string>
#include <string_view>

namespace lorvane::words {

struct Parsing {
    std::string full;    // « verbe, aoriste, actif, indicatif, 3e personne du singulier »
    std::string brief;   // « v. aor. act. ind. 3s »
    bool known = false;  // false: full starts with the code and « (code inconnu) »
};

// A Robinson code of the Greek words.
Parsing ExpandRobinson(std::string_view code);

// An OSHM code of the Hebrew and Aramaic words: the language letter, then
// the parts of the word separated by '/', each spelled out in turn.
Parsing ExpandOshm(std::string_view code);

}  // namespace lorvane::words
