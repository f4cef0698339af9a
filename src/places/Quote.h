#pragma once

// A verse or a run of verses as the reader copies it into a letter:
//   « Car Dieu a tant aimé le monde… » (Jean 3:16, LSG)
// UTF-8, like the tables; each verse keeps its bidirectional controls to
// itself.

#include <string>

#include "Communs.h"

namespace lorvane {

// The texts of verses first to last (0: first alone) of a chapter, joined by
// a space, without markup; "" when the chapter lacks the first verse.
std::string VersesText(const Communs& communs, int book, int chapter, int first, int last);

// The reference of the verses: "Jean 3:16", "Jean 3:16-17".
std::string QuoteReference(const Communs& communs, int book, int chapter, int first, int last);

// « text » (reference, abbreviation); without the abbreviation when it is
// empty: « text » (reference).
std::string QuoteWithReference(const Communs& communs, int book, int chapter, int first, int last,
                               const std::string& abbreviation);

}  // namespace lorvane
