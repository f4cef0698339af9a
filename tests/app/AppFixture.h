#pragma once

#include "Fixtures.h"

namespace lorvane::testing {

// A Bible of 66 books: book 1 "Genèse" of 4 chapters, book 19 "Psaumes" of
// 150 chapters, book 31 "Abdias" of one chapter, the others of 3; every
// chapter of 20 verses. Headings in book 1 and book 19, a few references,
// five small study pages.
DataSet MainWindowBible();

}  // namespace lorvane::testing
