#pragma once

// The report of one data-set build: counts, and the things that were
// skipped, mapped or cut, each kind with its count and a few examples.
// Errors are kept apart: a build with errors writes nothing.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace lorvane::importer {

class Report {
  public:
    // A line of the summary ("books: 66, ..."), printed first.
    void Summary(std::string line);
    // A line of detail, printed after the summary.
    void Info(std::string line);

    // One occurrence of a kind of warning, with an example of it. Each kind
    // keeps its first `shown` examples; the count covers every occurrence.
    void Warn(const std::string& kind, std::string example, std::size_t shown = 8);
    // n occurrences at once, with one example line.
    void WarnMany(const std::string& kind, int n, std::string example, std::size_t shown = 8);

    // Something that must stop the build; the data folder is not written.
    void Error(std::string message);

    int Count(const std::string& kind) const;
    const std::vector<std::string>& Examples(const std::string& kind) const;
    bool HasErrors() const { return !errors_.empty(); }
    const std::vector<std::string>& Errors() const { return errors_; }
    const std::vector<std::string>& SummaryLines() const { return summary_; }
    const std::vector<std::string>& InfoLines() const { return info_; }

    void Print(std::ostream& out) const;

  private:
    struct Kind {
        std::string name;
        int count = 0;
        std::size_t calls = 0;
        std::vector<std::string> examples;
    };
    Kind* Find(const std::string& kind);
    const Kind* Find(const std::string& kind) const;

    std::vector<std::string> summary_, info_;
    std::vector<Kind> kinds_;  // in the order they first occurred
    std::vector<std::string> errors_;
};

}  // namespace lorvane::importer
