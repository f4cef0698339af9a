#pragma once

// The search of a Strong's number ("G3056", "H430") in the tagged words of
// a Bible: every verse of the scope with a word of that number, the word
// coloured. Widget-free.

#include <string>
#include <string_view>

#include "SearchEngine.h"
#include "WordTable.h"

namespace lorvane {

// The number a query names when it is one alone ("G3056", "g26", "H430",
// "H1254a"), written the one way ("G3056", "H0430"); "" for any other query.
std::string StrongQuery(std::string_view query);

// The verses of the range whose tagged words carry `number` (as StrongQuery
// writes it), each item with those words coloured as the search colours its
// terms; without a table, no verse and `untagged` set.
SearchResults FindStrong(const Communs& c, const words::WordTable* table, const std::string& number,
                         SlotRange range, int cap = kMaxSearchResults);

}  // namespace lorvane
