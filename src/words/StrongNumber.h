#pragma once

// Strong's numbers written the one way the dictionaries are looked up by:
// "G0026", "H7225", "H1254a" (a letter after the number picks one of its
// senses). Widget-free; never throws.

#include <string>
#include <string_view>
#include <vector>

namespace lorvane::words {

// One number as the texts and the readers write it: "G26", "26", "G0026",
// "strong:G26", "1254 a". language is 'G' or 'H'. Empty when it is not a
// number of that language or lies outside the dictionary (Greek 1-5624,
// Hebrew 1-8674).
std::string NormaliseStrong(std::string_view raw, char language);

// Every number of a word that carries several ("2532 5037"), in order; the
// ones that are not valid are left out.
std::vector<std::string> NormaliseStrongs(std::string_view raw, char language);

// The lemma of a Hebrew word: its prefixes (each a letter: "b" ב, "c" ו,
// "d" ה, "l" ל, "m" מ, "k" כ, ...) and the Strong's number of its stem.
struct HebrewLemma {
    std::vector<std::string> prefixes;
    std::string strong;     // "H7225"; empty when the lemma has none or it is not valid
    bool compound = false;  // "1121+": the number is the first of a compound name
    bool valid = false;     // every part read
};

// "b/7225" → {"b"}, "H7225"; "1254 a" → {}, "H1254a"; "c/d/776" → {"c", "d"}, "H0776".
HebrewLemma ParseHebrewLemma(std::string_view lemma);

}  // namespace lorvane::words
