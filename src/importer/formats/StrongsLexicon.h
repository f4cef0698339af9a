#pragma once

// The entries of a SWORD Strong's lexicon (Greek or Hebrew, TEI markup) as
// the plain entries of the program's dictionary files (StrongsDictionary.h).
// Widget-free and without libsword: the module is read by SwordLexicon.
//
// An entry as the modules store it:
//
//   <entryFree n="03056"> <orth>λόγος</orth> <orth type="writing">LO/GOS</orth>
//     <orth rend="bold" type="trans">lógos</orth> <pron rend="italic">log'-os</pron><lb/>
//     <def><orig>from <ref target="StrongsGreek:3004">G3004</ref>;</orig><lb/> something
//     said...</def> </entryFree>
//
// The first <orth> is the headword, the first <orth type="trans"> its
// transliteration, the first <pron> its pronunciation. Everything else is
// the definition, in reading order: the forms an entry names further on
// written "ἔλθω (élthō, el'-tho)", each reference to a number in the one
// form ("G3004", "H0175"), other references as written ("Gen 25:25"). The
// Greek letters in Beta Code (<orth type="writing">) are left out, the
// superscript letters of a transliteration become modifier letters (zᵉ‛iq),
// and the braces of the Hebrew e-text, the tags and the runs of spaces go.

#include <optional>
#include <string>
#include <string_view>

#include "StrongsDictionary.h"

namespace lorvane::importer {

// The entry stored under `number` (in the one form, "G3056"; the language
// of the numbers its references give without a letter). Empty when its
// markup is not well formed or it holds neither a word nor a definition.
std::optional<words::StrongsEntry> StrongsEntryFromTei(std::string_view markup,
                                                       const std::string& number);

}  // namespace lorvane::importer
