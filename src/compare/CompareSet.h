#pragma once

// Which Bibles the reading shows side by side: the current one, whose
// column is labelled with its abbreviation, and up to three beside it.
// Widget-free; the tables of the Bibles beside are shared with whoever
// loaded them.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "Communs.h"

namespace lorvane {

// A Bible shown in a column of the comparison.
struct ComparedBible {
    std::string abbreviation;               // UTF-8, <= 8 chars ("LSG")
    std::string name;                       // UTF-8 ("Louis Segond 1910")
    std::shared_ptr<const Communs> tables;  // loaded tables of that Bible
};

class CompareSet {
  public:
    // Columns in all, the current Bible's included.
    static constexpr std::size_t kMaxColumns = 4;

    // The Bibles beside the current one, in column order; empty when the
    // reading is not compared.
    const std::vector<ComparedBible>& Others() const { return others_; }
    bool Active() const { return !others_.empty(); }
    bool Full() const { return others_.size() + 1 >= kMaxColumns; }
    const std::string& CurrentAbbreviation() const { return current_; }

    // The Bibles beside the current one: entries without tables are left
    // out, and those beyond the last column.
    void Set(std::string currentAbbreviation, std::vector<ComparedBible> others);
    void SetCurrentAbbreviation(std::string abbreviation) { current_ = std::move(abbreviation); }
    // The column of the Bible kept in `bibleDir` goes; whether there was one.
    bool Remove(const std::string& bibleDir);
    bool Contains(const std::string& bibleDir) const;

    // Every column, the current Bible's first on `current` (which must
    // outlive the columns' use).
    std::vector<ComparedBible> Columns(const Communs& current) const;

  private:
    std::string current_;
    std::vector<ComparedBible> others_;
};

}  // namespace lorvane
