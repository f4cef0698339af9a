#include "CompareSet.h"

#include <algorithm>

namespace lorvane {

void CompareSet::Set(std::string currentAbbreviation, std::vector<ComparedBible> others) {
    std::erase_if(others, [](const ComparedBible& b) { return !b.tables; });
    if (others.size() + 1 > kMaxColumns) others.resize(kMaxColumns - 1);
    current_ = std::move(currentAbbreviation);
    others_ = std::move(others);
}

bool CompareSet::Remove(const std::string& bibleDir) {
    return std::erase_if(
               others_, [&](const ComparedBible& b) { return b.tables->BibleDir == bibleDir; }) > 0;
}

bool CompareSet::Contains(const std::string& bibleDir) const {
    return std::any_of(others_.begin(), others_.end(),
                       [&](const ComparedBible& b) { return b.tables->BibleDir == bibleDir; });
}

std::vector<ComparedBible> CompareSet::Columns(const Communs& current) const {
    // The current Bible's tables belong to the reading: shared without an
    // owner, for the time of one page.
    std::vector<ComparedBible> columns{
        {current_, {}, std::shared_ptr<const Communs>(std::shared_ptr<void>(), &current)}};
    columns.insert(columns.end(), others_.begin(), others_.end());
    return columns;
}

}  // namespace lorvane
