#pragma once

// References as readers type them: "Jean 3:16", "jn 3.16", "1co13",
// "Ésaïe 53 5", "Isaïe 53", "Rm 8:28-30", "Mt 5-7", "Jean3v16", "Marc".
// Book names come from the book table
// of the loaded Bible (its Name and ShortName) and from the French
// abbreviations readers and the cross-references use; letters compare
// whatever their accents and capitals, spaces anywhere.
//
// Every text here is Windows-1252 bytes: references are typed and answered
// in French. The book table's names (UTF-8) are converted as they are read.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Communs.h"

namespace lorvane {

// A text folded for comparing names: letters lower-cased and without their
// accents (É -> e, œ -> oe), other bytes kept.
std::string FoldName(std::string_view text);

// The names of the 66 books of one loaded Bible, ready to be matched.
class BookNames {
  public:
    explicit BookNames(const Communs& communs);

    // The book a typed name stands for: an exact name or abbreviation, else
    // the one book whose full name starts with it. 0 when none; -1 when the
    // start fits several books.
    int Find(std::string_view typed) const;

    // The books whose name starts with the typed text, for a list of
    // proposals: full names first, then the names after a leading number
    // ("je" -> Jérémie, Jean, 1 Jean, 2 Jean, 3 Jean). Empty when the text
    // holds a chapter number already.
    std::vector<int> Complete(std::string_view typed) const;

    // The book's full name as the table has it.
    const std::string& Name(int book) const { return names_[static_cast<std::size_t>(book)]; }

  private:
    std::vector<std::string> names_;                  // by book number, slot 0 unused
    std::vector<std::string> nameKeys_;               // folded names without spaces
    std::vector<std::string> restKeys_;               // the same after a leading number
    std::vector<std::pair<std::string, int>> exact_;  // every exact key
};

// The result of reading a reference: a place in the loaded Bible, or the
// reason it is not one, as a French sentence for the reader.
struct ParsedReference {
    bool ok = false;
    VerseRef ref;  // FirstVerse 0 when no verse was typed; LastVerse 0 for one verse
    // The last chapter of a range of chapters ("Mt 5-7": 7), of which ref
    // is the first; 0 for a single chapter.
    int lastChapter = 0;
    std::string error;
};

// Reads a typed reference and checks it against the loaded Bible: the
// chapters and verses must exist. A book alone means its first chapter.
ParsedReference ParseReference(const BookNames& names, const Communs& communs,
                               std::string_view typed);

}  // namespace lorvane
