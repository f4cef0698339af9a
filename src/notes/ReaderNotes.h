#pragma once

// The reader's notes and highlights as the window shows them: the book of
// notes kept in the reader's file, each note and colour on a Segond verse,
// so that it shows on the same verse in every Bible. Every change is saved
// at once and told to whoever listens. Widget-free.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChapterPage.h"
#include "NoteBook.h"
#include "NoteFile.h"
#include "Numbering.h"

namespace lorvane {

class ReaderNotes {
  public:
    // The book kept at path (UTF-8 bytes); nothing is read before Load().
    explicit ReaderNotes(std::string path);

    // Reads the file; one that does not read is said on standard error and
    // the book stays empty. Returns the lines left out.
    int Load();
    bool Loaded() const { return loaded_; }

    // Called after every change (a load, a note, a colour) while the
    // subscription returned is kept; it may outlive the notes.
    using Listener = std::function<void()>;
    class Subscription {
      public:
        Subscription() = default;
        Subscription(Subscription&& o) noexcept
            : listeners_(std::move(o.listeners_)), token_(o.token_) {}
        Subscription& operator=(Subscription&& o) noexcept {
            Cancel();
            listeners_ = std::move(o.listeners_);
            token_ = o.token_;
            return *this;
        }
        ~Subscription() { Cancel(); }
        void Cancel() {
            if (const auto listeners = listeners_.lock()) listeners->erase(token_);
            listeners_.reset();
        }

      private:
        friend class ReaderNotes;
        std::weak_ptr<std::map<int, Listener>> listeners_;
        int token_ = 0;
    };
    [[nodiscard]] Subscription Listen(Listener listener);

    // Colours verse (book, chapter, verse) of a Bible numbered `numbering`,
    // Colour::None clears it; saved at once (FileError, in French, when the
    // file cannot be written: the colour stays for this run).
    void Set(const Numbering& numbering, int book, int chapter, int verse, Colour colour);
    // The same for verses first to last of one chapter, saved once.
    void Set(const Numbering& numbering, int book, int chapter, int first, int last, Colour colour);
    // Colours a Segond verse.
    void SetAt(VersePlace segond, Colour colour);
    Colour At(const Numbering& numbering, int book, int chapter, int verse) const;
    // The colour behind a Segond verse, 0xRRGGBB; 0 for none.
    std::uint32_t BackgroundAt(VersePlace segond) const;

    // A note on verses first to last (0: first alone) of one chapter of a
    // Bible numbered `numbering`, kept by their Segond places; saved at
    // once. Throws std::invalid_argument (French) for verses the Segond
    // lacks, FileError when the file cannot be written (the note stays for
    // this run).
    const Note& Add(const Numbering& numbering, int book, int chapter, int first, int last,
                    std::string text);
    // Changes a note's text; false when there is no such note.
    bool Change(const std::string& id, std::string text);
    // Removes a note and returns it for « Annuler »; nullopt when none.
    std::optional<Note> Remove(const std::string& id);
    // Puts back a note removed.
    void Restore(Note note);
    // Merges a file of the program's own format; returns the notes added.
    int Import(std::string_view bytes);

    // The note, with its identity; null when there is none.
    const Note* Find(const std::string& id) const { return book_.Find(id); }
    // The notes that begin on a Segond verse, in Bible order: their marks
    // show after that verse's number.
    struct Mark {
        std::string id;
        std::string words;  // the note's first words
    };
    const std::vector<Mark>& MarksAt(VersePlace segond) const;

    const NoteBook& Book() const { return book_; }

    // What a page writes of them at a Segond verse: the colour behind it
    // and the marks after its number.
    VerseColour PageColour(VersePlace segond) const;
    std::vector<VerseNoteMark> PageMarks(VersePlace segond) const;

  private:
    void Save();
    void Changed();

    std::string path_;
    NoteBook book_;
    bool loaded_ = false;
    std::map<VersePlace, std::vector<Mark>> marks_;
    std::shared_ptr<std::map<int, Listener>> listeners_ =
        std::make_shared<std::map<int, Listener>>();
    int nextToken_ = 1;
};

}  // namespace lorvane
