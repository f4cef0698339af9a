#include "NoteBook.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <tuple>

#include "Canon.h"
#include "Cp1252.h"
#include "FileIo.h"
#include "References.h"
#include "SearchEngine.h"
#include "VerseText.h"

namespace lorvane {
namespace {

bool BibleOrder(const Note& a, const Note& b) {
    return std::tie(a.first, a.created, a.id) < std::tie(b.first, b.created, b.id);
}

std::vector<Note> Sorted(std::vector<Note> notes) {
    std::sort(notes.begin(), notes.end(), BibleOrder);
    return notes;
}

// Seconds of an ISO time, 0 for one that does not read.
std::int64_t Seconds(std::string_view iso) {
    return ParseTime(iso).value_or(0);
}

// A note's text as HTML: escaped, its lines kept.
// The indent of a note's lines in the plain text export.
constexpr std::string_view kTextIndent = "    ";

std::string HtmlLines(std::string_view text) {
    std::string out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out += HtmlEscaped(line);
        if (end == text.size()) break;
        out += "<br>\n";
        from = end + 1;
    }
    return out;
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start) out.emplace_back(text.substr(start, i - start));
    }
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A byte of a word of a book's name: a letter (UTF-8 accents included) or
// a digit.
bool IsNameByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || u >= 0x80;
}

}  // namespace

std::string NoteBook::UtcNow() {
    const auto now = std::chrono::system_clock::now();
    return FormatTime(
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count());
}

NoteBook::NoteBook(Clock clock) : clock_(std::move(clock)), random_(std::random_device{}()) {}

std::string NoteBook::NewId() {
    static constexpr char kHex[] = "0123456789abcdef";
    while (true) {
        std::uint64_t value = random_();
        std::string id(16, '0');
        for (int i = 15; i >= 0; --i, value >>= 4)
            id[static_cast<std::size_t>(i)] = kHex[value & 0xF];
        if (!notes_.count(id) && !removals_.count(id)) return id;
    }
}

const Note& NoteBook::Add(VersePlace first, VersePlace last, std::string text) {
    if (!IsRange(first, last))
        throw std::invalid_argument(
            "Une note porte sur un verset ou sur des versets qui se suivent dans un même "
            "chapitre.");
    Note n;
    n.id = NewId();
    n.first = first;
    n.last = last;
    n.text = std::move(text);
    n.created = n.modified = clock_();
    const std::string id = n.id;
    return notes_[id] = std::move(n);
}

bool NoteBook::Change(const std::string& id, VersePlace first, VersePlace last, std::string text) {
    const auto at = notes_.find(id);
    if (at == notes_.end()) return false;
    if (!IsRange(first, last))
        throw std::invalid_argument(
            "Une note porte sur un verset ou sur des versets qui se suivent dans un même "
            "chapitre.");
    at->second.first = first;
    at->second.last = last;
    at->second.text = std::move(text);
    at->second.modified = clock_();
    return true;
}

bool NoteBook::Change(const std::string& id, std::string text) {
    const Note* n = Find(id);
    return n && Change(id, n->first, n->last, std::move(text));
}

std::optional<Note> NoteBook::Remove(std::string id) {
    const auto at = notes_.find(id);
    if (at == notes_.end()) return std::nullopt;
    Note n = std::move(at->second);
    notes_.erase(at);
    removals_[id] = clock_();
    return n;
}

void NoteBook::Restore(Note note) {
    // Changed after its removal, so that a save does not take it for the
    // note removed, even within the same second.
    note.modified = clock_();
    if (const auto removed = removals_.find(note.id); removed != removals_.end()) {
        if (removed->second >= note.modified)
            note.modified = FormatTime(Seconds(removed->second) + 1);
        removals_.erase(removed);
    }
    const std::string id = note.id;
    notes_[id] = std::move(note);
}

void NoteBook::SetHighlight(VersePlace verse, Colour colour) {
    if (!IsVerse(verse)) return;
    highlights_[verse] = Highlight{verse, colour, clock_()};
}

void NoteBook::SetHighlights(std::span<const VersePlace> verses, Colour colour) {
    for (const VersePlace v : verses)
        SetHighlight(v, colour);
}

Colour NoteBook::HighlightAt(VersePlace verse) const {
    const auto at = highlights_.find(verse);
    return at == highlights_.end() ? Colour::None : at->second.colour;
}

std::vector<Highlight> NoteBook::Highlights() const {
    std::vector<Highlight> out;
    for (const auto& [verse, h] : highlights_)
        if (h.colour != Colour::None) out.push_back(h);
    return out;
}

const Note* NoteBook::Find(const std::string& id) const {
    const auto at = notes_.find(id);
    return at == notes_.end() ? nullptr : &at->second;
}

std::vector<Note> NoteBook::Notes() const {
    std::vector<Note> out;
    out.reserve(notes_.size());
    for (const auto& [id, n] : notes_)
        out.push_back(n);
    return Sorted(std::move(out));
}

std::vector<Note> NoteBook::NotesAt(VersePlace verse) const {
    std::vector<Note> out;
    for (const auto& [id, n] : notes_)
        if (n.Covers(verse)) out.push_back(n);
    return Sorted(std::move(out));
}

std::vector<Note> NoteBook::Filter(std::string_view query) const {
    const std::vector<std::string> words = Words(FoldText(query));
    if (words.empty()) return Notes();
    std::vector<Note> out;
    for (const auto& [id, n] : notes_) {
        const std::string text = FoldText(n.text);
        if (std::all_of(words.begin(), words.end(),
                        [&](const std::string& w) { return text.find(w) != std::string::npos; }))
            out.push_back(n);
    }
    return Sorted(std::move(out));
}

NoteFile NoteBook::Contents() const {
    NoteFile file;
    file.notes = Notes();
    for (const auto& [verse, h] : highlights_)
        file.highlights.push_back(h);
    for (const auto& [id, when] : removals_)
        file.removals.push_back({id, when});
    return file;
}

void NoteBook::Merge(const NoteFile& other) {
    for (const Removal& r : other.removals) {
        std::string& when = removals_[r.id];
        when = std::max(when, r.removed);
    }
    for (const Note& n : other.notes) {
        const auto removed = removals_.find(n.id);
        if (removed != removals_.end() && removed->second >= n.modified) continue;
        const auto here = notes_.find(n.id);
        if (here == notes_.end() || here->second.modified < n.modified) {
            notes_[n.id] = n;
            if (removed != removals_.end()) removals_.erase(removed);
        }
    }
    // A note here that the other copy removed after its last change goes.
    for (auto it = notes_.begin(); it != notes_.end();) {
        const auto removed = removals_.find(it->first);
        if (removed == removals_.end()) {
            ++it;
        } else if (removed->second >= it->second.modified) {
            it = notes_.erase(it);
        } else {
            removals_.erase(removed);
            ++it;
        }
    }
    for (const Highlight& h : other.highlights) {
        const auto here = highlights_.find(h.verse);
        if (here == highlights_.end() || here->second.modified < h.modified)
            highlights_[h.verse] = h;
    }
}

void NoteBook::Prune() {
    const std::int64_t now = Seconds(clock_());
    std::erase_if(removals_, [&](const auto& r) { return now - Seconds(r.second) > kRemovalKept; });
    std::erase_if(highlights_, [&](const auto& h) {
        return h.second.colour == Colour::None && now - Seconds(h.second.modified) > kRemovalKept;
    });
}

int NoteBook::Load(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFile(path, kMaxFileBytes);
    } catch (const FileError& e) {
        if (e.kind() != FileError::Kind::Missing) throw;
    }
    const NoteFile file = ReadNoteFile(bytes);
    notes_.clear();
    highlights_.clear();
    removals_.clear();
    Merge(file);
    return file.unread;
}

void NoteBook::Save(const std::string& path) {
    const FileLock lock(path + ".lock");
    std::string bytes;
    try {
        bytes = ReadFile(path, kMaxFileBytes);
    } catch (const FileError& e) {
        if (e.kind() != FileError::Kind::Missing) throw;
    }
    Merge(ReadNoteFile(bytes));
    Prune();
    WriteFileAtomically(path, WriteNoteFile(Contents()), 0600);
}

int NoteBook::Import(std::string_view bytes) {
    NoteFile file = IsExportedNotes(bytes) ? ReadExportedNotes(bytes) : ReadNoteFile(bytes);
    int added = 0;
    for (Note& n : file.notes) {
        if (n.id.empty()) {  // an export keeps no identity nor times
            n.id = NewId();
            n.created = n.modified = clock_();
        }
        if (notes_.count(n.id) || removals_.count(n.id)) continue;
        const bool same = std::any_of(notes_.begin(), notes_.end(), [&](const auto& here) {
            return here.second.first == n.first && here.second.last == n.last &&
                   here.second.text == n.text;
        });
        if (same) continue;
        notes_[n.id] = n;
        ++added;
    }
    for (const Highlight& h : file.highlights)
        if (h.colour != Colour::None && HighlightAt(h.verse) == Colour::None)
            highlights_[h.verse] = h;
    return added;
}

std::string NoteBook::ExportHtml() const {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Notes de Lorvane</title>\n</head>\n<body>\n<h1>Notes de Lorvane</h1>\n";
    int book = 0;
    for (const Note& n : Notes()) {
        if (BookOf(n.first) != book) {
            book = BookOf(n.first);
            out += "<h2>" + HtmlEscaped(FrenchBookName(book)) + "</h2>\n";
        }
        out += "<h3 data-first=\"" + std::to_string(n.first) + "\" data-last=\"" +
               std::to_string(n.last) + "\">" + HtmlEscaped(NoteReference(n.first, n.last)) +
               "</h3>\n<p>" + HtmlLines(n.text) + "</p>\n";
    }
    const std::vector<Highlight> highlights = Highlights();
    if (!highlights.empty()) out += "<h2>Versets surlignés</h2>\n";
    for (int c = 1; c <= kColourCount; ++c) {
        const auto colour = static_cast<Colour>(c);
        std::string items;
        for (const Highlight& h : highlights)
            if (h.colour == colour)
                items += "<li data-verse=\"" + std::to_string(h.verse) + "\" data-colour=\"" +
                         std::string(ColourName(colour)) + "\">" +
                         HtmlEscaped(NoteReference(h.verse, 0)) + "</li>\n";
        if (items.empty()) continue;
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "#%06X", static_cast<unsigned>(ColourRgb(colour)));
        out += "<h3 style=\"background:" + std::string(rgb) + "\">" +
               std::string(ColourName(colour)) + "</h3>\n<ul>\n" + items + "</ul>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}

std::string NoteBook::ExportText() const {
    std::string out = "Notes de Lorvane\n";
    int book = 0;
    for (const Note& n : Notes()) {
        if (BookOf(n.first) != book) {
            book = BookOf(n.first);
            out += "\n" + std::string(FrenchBookName(book)) + "\n\n";
        }
        // The text indented, so that it reads back whatever its lines.
        out += NoteReference(n.first, n.last) + "\n";
        std::size_t from = 0;
        while (from <= n.text.size()) {
            const std::size_t end = std::min(n.text.find('\n', from), n.text.size());
            out += kTextIndent;
            out.append(n.text, from, end - from);
            out += '\n';
            from = end + 1;
        }
        out += '\n';
    }
    const std::vector<Highlight> highlights = Highlights();
    if (!highlights.empty()) out += "\nVersets surlignés\n";
    for (int c = 1; c <= kColourCount; ++c) {
        const auto colour = static_cast<Colour>(c);
        std::string items;
        for (const Highlight& h : highlights)
            if (h.colour == colour) items += "  " + NoteReference(h.verse, 0) + "\n";
        if (!items.empty()) out += "\n" + std::string(ColourName(colour)) + " :\n" + items;
    }
    return out;
}

std::string FirstWords(std::string_view text, int words) {
    const std::vector<std::string> all = Words(text);
    std::string out;
    const std::size_t kept = std::min(all.size(), static_cast<std::size_t>(std::max(words, 0)));
    for (std::size_t i = 0; i < kept; ++i)
        out += (i ? " " : "") + all[i];
    if (all.size() > kept) out += "…";
    return out;
}

std::string_view FrenchBookName(int book) {
    if (book < 1 || book > 66) return {};
    return datawriter::kCanon[static_cast<std::size_t>(book - 1)].name;
}

std::string NoteReference(VersePlace first, VersePlace last) {
    std::string out = std::string(FrenchBookName(BookOf(first))) + ' ' +
                      std::to_string(ChapterOf(first)) + ':' + std::to_string(VerseOf(first));
    if (last) out += '-' + std::to_string(VerseOf(last));
    return out;
}

std::vector<ReferenceSpan> FindReferences(std::string_view text, const BookNames& names,
                                          const Communs& communs) {
    std::vector<ReferenceSpan> out;
    std::size_t from = 0;  // references do not overlap
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A chapter: digits, then ':' and a digit.
        if (!IsDigit(text[i]) || (i > 0 && IsDigit(text[i - 1]))) continue;
        std::size_t end = i;
        while (end < text.size() && IsDigit(text[end]))
            ++end;
        if (end + 1 >= text.size() || text[end] != ':' || !IsDigit(text[end + 1])) continue;
        end += 1;
        while (end < text.size() && IsDigit(text[end]))
            ++end;
        if (end + 1 < text.size() && text[end] == '-' && IsDigit(text[end + 1])) {
            end += 1;
            while (end < text.size() && IsDigit(text[end]))
                ++end;
        }
        // The words before it, up to three ("Cantique des cantiques"),
        // each separated by one space; the longest that names a book wins.
        std::vector<std::size_t> starts;
        std::size_t at = i;
        while (starts.size() < 3 && at >= from + 2 && text[at - 1] == ' ' &&
               IsNameByte(text[at - 2])) {
            std::size_t s = at - 1;
            while (s > from && IsNameByte(text[s - 1]))
                --s;
            starts.push_back(s);
            at = s;
        }
        for (auto s = starts.rbegin(); s != starts.rend(); ++s) {
            const std::string typed = cp1252::FromUtf8(text.substr(*s, end - *s));
            const ParsedReference r = ParseReference(names, communs, typed);
            if (!r.ok || r.ref.FirstVerse == 0 || r.lastChapter != 0) continue;
            out.push_back(
                {*s, end - *s, r.ref.Book, r.ref.Chapter, r.ref.FirstVerse, r.ref.LastVerse});
            from = end;
            i = end - 1;
            break;
        }
    }
    return out;
}

std::string NoteTextHtml(std::string_view text, const std::vector<ReferenceSpan>& references) {
    std::string out;
    std::size_t at = 0;
    for (const ReferenceSpan& r : references) {
        if (r.start < at || r.start + r.length > text.size()) continue;
        out += HtmlLines(text.substr(at, r.start - at));
        out += "<a href=\"" + std::string(kReferenceLinkScheme) + std::to_string(r.book) + ':' +
               std::to_string(r.chapter) + ':' + std::to_string(r.first) + ':' +
               std::to_string(r.last) + "\">";
        out += HtmlLines(text.substr(r.start, r.length));
        out += "</a>";
        at = r.start + r.length;
    }
    out += HtmlLines(text.substr(at));
    return out;
}

std::optional<ReferenceSpan> ReferenceOfLink(std::string_view href) {
    if (!href.starts_with(kReferenceLinkScheme)) return std::nullopt;
    href.remove_prefix(kReferenceLinkScheme.size());
    int numbers[4] = {};
    for (int k = 0; k < 4; ++k) {
        std::size_t digits = 0;
        long value = 0;
        while (digits < href.size() && IsDigit(href[digits]) && digits < 4)
            value = value * 10 + (href[digits++] - '0');
        if (digits == 0 || (digits < href.size() && href[digits] != ':') ||
            (k < 3) != (digits < href.size()))
            return std::nullopt;
        numbers[k] = static_cast<int>(value);
        href.remove_prefix(std::min(href.size(), digits + 1));
    }
    if (numbers[0] < 1 || numbers[0] > kBookCount || numbers[1] < 1 || numbers[2] < 1)
        return std::nullopt;
    return ReferenceSpan{0, 0, numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::pair<VersePlace, VersePlace> SegondRange(const Numbering& numbering, VersePlace first,
                                              VersePlace last) {
    const VersePlace s = numbering.ToSegond(first);
    if (!s || !last) return {s, 0};
    const VersePlace e = numbering.ToSegond(last);
    if (!e || (e & ~0xFFu) != (s & ~0xFFu) || e <= s) return {s, 0};
    return {s, e};
}

}  // namespace lorvane
