#pragma once

// The Bible the fuzz targets of references read against: no files, only
// its tables.

#include "Communs.h"

namespace lorvane {

// 66 books with accented names, of 1 to 7 chapters of 3 verses, Psaumes of
// 150 with 176 verses at 119.
const Communs& FuzzBible();

}  // namespace lorvane
