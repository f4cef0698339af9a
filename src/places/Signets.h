#pragma once

// The reader's signets and the plain-text file that keeps them between
// runs, one signet a line, readable and editable by hand:
//
//   # Signets de Lorvane : livre chapitre verset, une tabulation, le nom.
//   45 8 28	Romains 8:28
//
// The verse is numbered as the Louis Segond numbers it, whatever Bible it
// was kept in, so that it opens on the same verse in every Bible. Names are
// UTF-8 (they are the reader's own words). Lines that cannot be
// read are left out and counted; the others are kept.

#include <string>
#include <string_view>
#include <vector>

namespace lorvane {

struct Signet {
    int book = 0;
    int chapter = 0;
    int verse = 0;
    std::string name;  // UTF-8, one line
};

struct SignetFile {
    std::vector<Signet> signets;
    int unread = 0;  // lines that were neither a signet, a comment nor empty
};

SignetFile ReadSignets(std::string_view text);
std::string WriteSignets(const std::vector<Signet>& signets);

// Adds a signet in reference order (a verse already kept is not added
// twice); returns its index.
std::size_t AddSignet(std::vector<Signet>& signets, Signet signet);

}  // namespace lorvane
