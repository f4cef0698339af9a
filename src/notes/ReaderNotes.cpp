#include "ReaderNotes.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "FileIo.h"

namespace lorvane {

ReaderNotes::ReaderNotes(std::string path) : path_(std::move(path)) {}

int ReaderNotes::Load() {
    int leftOut = 0;
    try {
        leftOut = book_.Load(path_);
    } catch (const std::exception& e) {
        std::cerr << "lorvane: the notes file " << path_ << " was not read: " << e.what()
                  << std::endl;
    }
    loaded_ = true;
    // Nothing to show again for a reader without notes.
    if (book_.Count() > 0 || !book_.Highlights().empty()) Changed();
    return leftOut;
}

ReaderNotes::Subscription ReaderNotes::Listen(Listener listener) {
    Subscription s;
    s.listeners_ = listeners_;
    s.token_ = nextToken_++;
    listeners_->emplace(s.token_, std::move(listener));
    return s;
}

void ReaderNotes::Changed() {
    marks_.clear();
    for (const Note& note : book_.Notes())
        marks_[note.first].push_back({note.id, FirstWords(note.text)});
    // A listener may stop listening, or another start, while it is told.
    std::vector<int> tokens;
    for (const auto& [token, listener] : *listeners_)
        tokens.push_back(token);
    for (const int token : tokens)
        if (const auto it = listeners_->find(token); it != listeners_->end()) {
            const Listener listener = it->second;
            listener();
        }
}

void ReaderNotes::Save() {
    std::error_code ignored;  // a folder that cannot be made says so at the write
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
    // A change made before the file was read must not lose what it holds.
    loaded_ = true;
    try {
        book_.Save(path_);
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void ReaderNotes::Set(const Numbering& numbering, int book, int chapter, int verse, Colour colour) {
    Set(numbering, book, chapter, verse, verse, colour);
}

void ReaderNotes::Set(const Numbering& numbering, int book, int chapter, int first, int last,
                      Colour colour) {
    std::vector<VersePlace> verses;
    for (int v = std::max(first, 1); v <= std::min(last, 176); ++v)
        if (const VersePlace segond = numbering.ToSegond(PlaceOf(book, chapter, v)); segond != 0)
            verses.push_back(segond);
    if (verses.empty()) return;
    book_.SetHighlights(verses, colour);
    Save();
}

void ReaderNotes::SetAt(VersePlace segond, Colour colour) {
    if (!IsVerse(segond)) return;
    book_.SetHighlight(segond, colour);
    Save();
}

Colour ReaderNotes::At(const Numbering& numbering, int book, int chapter, int verse) const {
    const VersePlace segond = numbering.ToSegond(PlaceOf(book, chapter, verse));
    return segond == 0 ? Colour::None : book_.HighlightAt(segond);
}

std::uint32_t ReaderNotes::BackgroundAt(VersePlace segond) const {
    const Colour c = book_.HighlightAt(segond);
    return c == Colour::None ? 0 : ColourRgb(c);
}

const Note& ReaderNotes::Add(const Numbering& numbering, int book, int chapter, int first, int last,
                             std::string text) {
    const auto [from, to] = SegondRange(numbering, PlaceOf(book, chapter, first),
                                        last > first ? PlaceOf(book, chapter, last) : 0);
    if (from == 0 || !IsVerse(from))
        throw std::invalid_argument("Ce verset n'a pas d'équivalent dans la Segond.");
    const std::string id = book_.Add(from, to, std::move(text)).id;
    Save();
    return *book_.Find(id);
}

bool ReaderNotes::Change(const std::string& id, std::string text) {
    // The identity may be the note's own, which the change replaces.
    const std::string key = id;
    if (!book_.Change(key, std::move(text))) return false;
    Save();
    return true;
}

std::optional<Note> ReaderNotes::Remove(const std::string& id) {
    std::optional<Note> removed = book_.Remove(std::string(id));
    if (removed) Save();
    return removed;
}

void ReaderNotes::Restore(Note note) {
    book_.Restore(std::move(note));
    Save();
}

int ReaderNotes::Import(std::string_view bytes) {
    const int added = book_.Import(bytes);
    Save();
    return added;
}

VerseColour ReaderNotes::PageColour(VersePlace segond) const {
    const Colour c = book_.HighlightAt(segond);
    return c == Colour::None ? VerseColour{} : VerseColour{ColourRgb(c), ColourName(c)};
}

std::vector<VerseNoteMark> ReaderNotes::PageMarks(VersePlace segond) const {
    std::vector<VerseNoteMark> marks;
    for (const Mark& m : MarksAt(segond))
        marks.push_back({m.id, m.words});
    return marks;
}

const std::vector<ReaderNotes::Mark>& ReaderNotes::MarksAt(VersePlace segond) const {
    static const std::vector<Mark> kNone;
    const auto it = marks_.find(segond);
    return it == marks_.end() ? kNone : it->second;
}

}  // namespace lorvane
