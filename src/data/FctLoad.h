#pragma once

// The loaders of the data folder. Each reads its file whole from
// BibleDir + "data/..." and fills its table of the given Communs; every
// failure raises LoadError, which names the file and the reason.

#include <stdexcept>
#include <string>

#include "Communs.h"

namespace lorvane {

class LoadError : public std::runtime_error {
  public:
    LoadError(const std::string& file, const std::string& reason)
        : std::runtime_error(file + ": " + reason), file_(file) {}
    const std::string& file() const { return file_; }

  private:
    std::string file_;
};

// Record sizes of the files.
inline constexpr int kBookRecordSize = 108;
inline constexpr int kIndexRecordSize = 168;
inline constexpr int kQuoteRecordSize = 32;
inline constexpr int kCrossRefRecordSize = 32;

// Whether the Bible's data folder says its text is UTF-8 (data/texte.txt);
// else it is Windows-1252. The loaders keep every text in UTF-8 either way.
bool StoredAsUtf8(const Communs& c);

void LoadBookTable(Communs& c);      // data/livre.dat
void LoadVerseTable(Communs& c);     // data/bible.dat
void LoadIndexTable(Communs& c);     // data/index.dat
void LoadQuoteTable(Communs& c);     // data/citat.dat
void LoadCrossRefTable(Communs& c);  // data/refer.dat, after LoadVerseTable
// data/numerotation.txt, after LoadVerseTable: the numbering it names, else
// the one the chapters agree with.
void LoadNumbering(Communs& c);

// Checks that the loaded tables agree with each other: every book that the
// book table counts has verses in the verse table, and every verse lies in
// a chapter that the book table counts. A text cut short at a verse's end,
// or emptied, fails here; raises LoadError naming the first disagreement.
// A chapter missing inside a book, or a heading of a chapter the text
// lacks, is no damage: imported Bibles may lack chapters.
void CheckTablesAgree(const Communs& c);

// The loading block of start-up, in its fixed order: books, verses,
// headings, quotations, cross-references; then CheckTablesAgree.
void LoadAllTables(Communs& c);

// The whole content of a file; raises LoadError when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Writes a file whole, replacing it; raises std::runtime_error with a
// French message naming the file and the reason when it cannot.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace lorvane
