#pragma once

// The reader's highlights as the reading shows them: the book of notes
// kept in the reader's file, a verse of any Bible coloured by its Segond
// place, so that it shows on the same verse in every Bible. Widget-free.

#include <cstdint>
#include <string>

#include "NoteBook.h"
#include "NoteFile.h"
#include "Numbering.h"

namespace lorvane {

class Highlights {
  public:
    // Reads the file at path (UTF-8 bytes); one that does not read is said
    // on standard error and the book starts empty.
    explicit Highlights(std::string path);

    // Colours verse (book, chapter, verse) of a Bible numbered `numbering`,
    // Colour::None clears it; saved at once (FileError, in French, when the
    // file cannot be written: the colour stays for this run).
    void Set(const Numbering& numbering, int book, int chapter, int verse, Colour colour);
    // The same for verses first to last of one chapter, saved once.
    void Set(const Numbering& numbering, int book, int chapter, int first, int last, Colour colour);
    Colour At(const Numbering& numbering, int book, int chapter, int verse) const;
    // The colour behind a Segond verse, 0xRRGGBB; 0 for none.
    std::uint32_t BackgroundAt(VersePlace segond) const;

    const NoteBook& Book() const { return book_; }

  private:
    std::string path_;
    NoteBook book_;
};

}  // namespace lorvane
