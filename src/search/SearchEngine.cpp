#include "SearchEngine.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include "Cp1252.h"

namespace lorvane {
namespace {

constexpr std::string_view kHighlightOpen = "<FONT color=\"#C00400\">";
constexpr std::string_view kHighlightClose = "</FONT>";

// The folded form of each byte: one or two bytes (the second 0 when one).
struct Folded {
    char first;
    char second;
};

constexpr std::array<Folded, 256> MakeFoldTable() {
    std::array<Folded, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[static_cast<std::size_t>(b)] = {static_cast<char>(b), 0};
    auto set = [&t](int b, char first, char second = 0) {
        t[static_cast<std::size_t>(b)] = {first, second};
    };
    for (int b = 'A'; b <= 'Z'; ++b)
        set(b, static_cast<char>(b + 0x20));
    // The accented letters of the 0xC0-0xFF block, capitals and small ones.
    for (int small : {0x00, 0x20}) {
        for (int b = 0xC0; b <= 0xC5; ++b)
            set(b + small, 'a');
        set(0xC6 + small, 'a', 'e');
        set(0xC7 + small, 'c');
        for (int b = 0xC8; b <= 0xCB; ++b)
            set(b + small, 'e');
        for (int b = 0xCC; b <= 0xCF; ++b)
            set(b + small, 'i');
        set(0xD1 + small, 'n');
        for (int b = 0xD2; b <= 0xD6; ++b)
            set(b + small, 'o');
        for (int b = 0xD9; b <= 0xDC; ++b)
            set(b + small, 'u');
        set(0xDD + small, 'y');
    }
    // Letters without an accent to take off: lower-cased only.
    set(0xD0, '\xF0');  // Ð -> ð
    set(0xD8, '\xF8');  // Ø -> ø
    set(0xDE, '\xFE');  // Þ -> þ
    set(0xFF, 'y');
    set(0x8A, 's');
    set(0x9A, 's');
    set(0x8C, 'o', 'e');
    set(0x9C, 'o', 'e');
    set(0x8E, 'z');
    set(0x9E, 'z');
    set(0x9F, 'y');
    set(0x91, '\'');
    set(0x92, '\'');
    return t;
}

constexpr std::array<Folded, 256> kFold = MakeFoldTable();

const Folded& FoldOf(char c) {
    return kFold[static_cast<unsigned char>(c)];
}

// Folds `text` onto the end of `out`; when `origins` is given, it receives
// for each byte written the index in `text` of the byte it comes from.
void AppendFolded(std::string_view text, std::string& out,
                  std::vector<std::size_t>* origins = nullptr) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Folded& f = FoldOf(text[i]);
        out += f.first;
        if (origins) origins->push_back(i);
        if (f.second) {
            out += f.second;
            if (origins) origins->push_back(i);
        }
    }
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Whether a byte of a folded text is part of a word: a letter or a digit.
bool IsWordByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
    return b == 0x83 || b == 0xAA || b == 0xB5 || b == 0xBA ||
           (b >= 0xC0 && b != 0xD7 && b != 0xF7);
}

// A folded term: the word, and whether it stands for the words beginning
// with it (a trailing '*').
struct FoldedTerm {
    std::string_view word;
    bool prefix = false;
};

FoldedTerm ParseFolded(std::string_view term) {
    FoldedTerm t{term, false};
    while (!t.word.empty() && t.word.back() == '*') {
        t.word.remove_suffix(1);
        t.prefix = true;
    }
    return t;
}

// Whether the occurrence of `t` at [at, at + size) of `text` stands as a
// whole word (or a word's beginning).
bool WordAt(std::string_view text, std::size_t at, const FoldedTerm& t) {
    const std::size_t end = at + t.word.size();
    if (at > 0 && IsWordByte(t.word.front()) && IsWordByte(text[at - 1])) return false;
    if (!t.prefix && end < text.size() && IsWordByte(t.word.back()) && IsWordByte(text[end]))
        return false;
    return true;
}

// The first whole-word occurrence of `t` in `text` from `from`, or npos.
std::size_t FindWord(std::string_view text, const FoldedTerm& t, std::size_t from = 0) {
    for (std::size_t at = text.find(t.word, from); at != std::string_view::npos;
         at = text.find(t.word, at + 1))
        if (WordAt(text, at, t)) return at;
    return std::string_view::npos;
}

// The text with each run of spaces written as one; `origins` receives for
// each byte written the index in `text` of the byte it comes from.
std::string CollapseSpaces(std::string_view text, std::vector<std::size_t>* origins = nullptr) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && i > 0 && text[i - 1] == ' ') continue;
        out += text[i];
        if (origins) origins->push_back(i);
    }
    return out;
}

bool Before(const char* a, const char* b) {
    return std::less<const char*>()(a, b);
}

// Finds a term, as typed or as its capitalised variant. The two forms differ
// at most in their first byte: the search looks for the bytes after it and
// checks the byte before.
class TermFinder {
  public:
    explicit TermFinder(std::string_view term)
        : term_(term),
          typed_(static_cast<unsigned char>(term.empty() ? 0 : term[0])),
          upper_(cp1252::ToUpper(typed_)),
          core_(term.substr(std::min<std::size_t>(1, term.size()))) {}

    // The first occurrence of either form that lies wholly in [p, end), and
    // its length; nullptr when there is none.
    const char* Find(const char* p, const char* end, std::size_t& length) const {
        if (term_.empty() || !Before(p, end)) return nullptr;
        length = term_.size();
        if (core_.empty()) return FindFirstByte(p, end);
        const char* from = p + 1;
        while (Before(from, end)) {
            const void* h =
                ::memmem(from, static_cast<std::size_t>(end - from), core_.data(), core_.size());
            if (!h) return nullptr;
            const char* start = static_cast<const char*>(h) - 1;
            const auto first = static_cast<unsigned char>(*start);
            if (first == upper_ || first == typed_) return start;
            from = static_cast<const char*>(h) + 1;
        }
        return nullptr;
    }

    bool In(std::string_view text) const {
        std::size_t length = 0;
        return Find(text.data(), text.data() + text.size(), length) != nullptr;
    }

  private:
    // A one-byte term: the first byte that is either form.
    const char* FindFirstByte(const char* p, const char* end) const {
        const auto* a =
            static_cast<const char*>(std::memchr(p, typed_, static_cast<std::size_t>(end - p)));
        if (upper_ == typed_) return a;
        const char* limit = a ? a : end;
        const auto* b =
            static_cast<const char*>(std::memchr(p, upper_, static_cast<std::size_t>(limit - p)));
        return b ? b : a;
    }

    std::string_view term_;
    unsigned char typed_;
    unsigned char upper_;
    std::string_view core_;  // the bytes after the first
};

// A term of the exact methods in a verse: a space of the term (a phrase's)
// stands for a run of spaces of the verse.
struct VerseTerm {
    explicit VerseTerm(std::string_view term)
        : finder(term), spaced(term.find(' ') != std::string_view::npos) {}
    bool In(std::string_view text) const {
        if (!spaced || text.find("  ") == std::string_view::npos) return finder.In(text);
        return finder.In(CollapseSpaces(text));
    }
    TermFinder finder;
    bool spaced;
};

// Whether the texts of the range lie in the verse bytes one after the other,
// as the loader leaves them: the range can then be searched as one block.
bool TextsInOneBlock(const Communs& c, SlotRange range) {
    const std::string_view bytes = c.VerseBytes();
    if (bytes.empty()) return false;
    const char* at = bytes.data();
    const char* const end = bytes.data() + bytes.size();
    for (std::int32_t s = range.first; s <= range.last; ++s) {
        const std::string_view t = c.VerseTable[static_cast<std::size_t>(s)].Text;
        if (!t.data() || Before(t.data(), at) || Before(end, t.data()) ||
            static_cast<std::size_t>(end - t.data()) < t.size())
            return false;
        at = t.data() + t.size();
    }
    return true;
}

// Scans the slots first..last, whose texts lie one after the other in
// [begin, end): the first piece of the first term (up to a space) is
// searched through the whole block, the terms only in the verses that hold
// it.
void ScanBlock(const Communs& c, const TermFinder& filter, const std::vector<VerseTerm>& terms,
               std::int32_t first, std::int32_t last, const char* begin, const char* end, int cap,
               VerseMatches& out) {
    std::int32_t s = first;
    const char* pos = begin;
    for (;;) {
        std::size_t length = 0;
        const char* hit = filter.Find(pos, end, length);
        if (!hit) return;
        // The verse of the hit: the first whose text does not end before it.
        while (s <= last) {
            const std::string_view t = c.VerseTable[static_cast<std::size_t>(s)].Text;
            if (Before(hit, t.data() + t.size())) break;
            ++s;
        }
        if (s > last) return;
        const std::string_view text = c.VerseTable[static_cast<std::size_t>(s)].Text;
        if (Before(hit, text.data())) {  // between two texts
            pos = text.data();
            continue;
        }
        if (static_cast<std::size_t>(text.data() + text.size() - hit) < length) {
            pos = hit + 1;  // runs past the verse's end
            continue;
        }
        bool all = true;
        for (std::size_t k = 0; all && k < terms.size(); ++k)
            all = (k == 0 && !terms[k].spaced) || terms[k].In(text);
        if (all) {
            if (out.total++ < cap)
                out.verses.push_back(s);
            else
                out.capped = true;
        }
        pos = text.data() + text.size();
        if (++s > last) return;
    }
}

// The text with every range [first, second) of `runs` (sorted, apart)
// wrapped in the highlight tags, as many as the growth limit allows.
std::string WrapRuns(std::string_view text,
                     const std::vector<std::pair<std::size_t, std::size_t>>& runs) {
    const std::size_t wrap = kHighlightOpen.size() + kHighlightClose.size();
    std::string out;
    out.reserve(text.size() + runs.size() * wrap);
    std::size_t from = 0;
    std::size_t size = text.size();
    for (const auto& [first, last] : runs) {
        if (size + wrap > kMaxHighlightedItem) break;
        size += wrap;
        out.append(text.substr(from, first - from));
        out += kHighlightOpen;
        out.append(text.substr(first, last - first));
        out += kHighlightClose;
        from = last;
    }
    out.append(text.substr(from));
    return out;
}

using Runs = std::vector<std::pair<std::size_t, std::size_t>>;

// The runs sorted, with those that overlap or touch made one, and those that
// reach into a tag of the text (from '<' to the next '>') left out.
Runs CleanRuns(std::string_view text, Runs runs) {
    Runs tags;
    for (std::size_t lt = text.find('<'); lt != std::string_view::npos;
         lt = text.find('<', lt + 1)) {
        const std::size_t gt = text.find('>', lt);
        tags.emplace_back(lt, gt == std::string_view::npos ? text.size() : gt + 1);
        if (gt == std::string_view::npos) break;
        lt = gt;
    }
    auto inTag = [&tags](const std::pair<std::size_t, std::size_t>& r) {
        for (const auto& [first, last] : tags)
            if (r.first < last && first < r.second) return true;
        return false;
    };
    runs.erase(std::remove_if(runs.begin(), runs.end(), inTag), runs.end());
    std::sort(runs.begin(), runs.end());
    Runs merged;
    for (const auto& r : runs) {
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    return merged;
}

}  // namespace

std::vector<std::string> SearchTerms(std::string_view typed, int method) {
    std::string straight(typed);
    std::replace_if(
        straight.begin(), straight.end(), [](char c) { return c == '\x91' || c == '\x92'; }, '\'');
    // The words, whatever blanks part them.
    std::vector<std::string> words;
    for (std::size_t i = 0; i < straight.size();) {
        while (i < straight.size() && IsBlank(straight[i]))
            ++i;
        const std::size_t start = i;
        while (i < straight.size() && !IsBlank(straight[i]))
            ++i;
        if (i > start) words.push_back(straight.substr(start, i - start));
    }
    if (method == kSearchWords) return words;
    if (method == kSearchFolded) {
        for (std::string& w : words)
            w = FoldText(w);
        return words;
    }
    if (words.empty()) return {};
    std::string phrase = words.front();
    for (std::size_t k = 1; k < words.size(); ++k)
        phrase += ' ' + words[k];
    return {phrase};
}

std::string FoldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendFolded(text, out);
    return out;
}

std::string CapitalisedVariant(std::string_view term) {
    std::string v(term);
    if (!v.empty()) v[0] = static_cast<char>(cp1252::ToUpper(static_cast<unsigned char>(v[0])));
    return v;
}

SlotRange SearchRange(const Communs& c, int scope, int currentBook, int currentChapter) {
    SlotRange r;
    switch (scope) {
        case kScopeChapter:
            r = {c.VerseLookup(currentBook, currentChapter, 1),
                 c.LastSlotOfChapter(currentBook, currentChapter)};
            break;
        case kScopeBook:
            r = {c.VerseLookup(currentBook, 1, 1), c.LastSlotOfBook(currentBook)};
            break;
        case kScopeNewTestament:
            r = {c.VerseLookup(40, 1, 1), c.LastSlotOfBook(66)};
            break;
        case kScopeOldTestament:
            r = {c.VerseLookup(1, 1, 1), c.LastSlotOfBook(39)};
            break;
        case kScopeWholeBible:
            r = {c.VerseLookup(1, 1, 1), c.LastSlotOfBook(66)};
            break;
        default:
            return {};
    }
    if (r.first < 1) return {};
    r.last = std::min(r.last, static_cast<std::int32_t>(c.VerseSlotCount()));
    return r;
}

VerseMatches FindVerses(const Communs& c, const std::vector<std::string>& terms, SlotRange range,
                        int cap) {
    VerseMatches out;
    range.last = std::min(range.last, static_cast<std::int32_t>(c.VerseSlotCount()));
    if (terms.empty() || range.Empty() || cap < 1) return out;
    for (const std::string& t : terms)
        if (t.empty()) return out;
    const std::vector<VerseTerm> verseTerms(terms.begin(), terms.end());
    const std::string_view front = terms.front();
    const TermFinder filter(front.substr(0, front.find(' ')));

    auto textOf = [&](std::int32_t s) { return c.VerseTable[static_cast<std::size_t>(s)].Text; };
    if (TextsInOneBlock(c, range)) {
        const std::string_view first = textOf(range.first), last = textOf(range.last);
        ScanBlock(c, filter, verseTerms, range.first, range.last, first.data(),
                  last.data() + last.size(), cap, out);
        return out;
    }
    // Texts set one by one: each verse is a block of its own.
    for (std::int32_t s = range.first; s <= range.last; ++s) {
        const std::string_view t = textOf(s);
        ScanBlock(c, filter, verseTerms, s, s, t.data(), t.data() + t.size(), cap, out);
    }
    return out;
}

FoldedVerses::FoldedVerses(const Communs& c) : terminator_(c.VerseTerminator) {
    const std::int32_t slots = std::max(c.VerseSlotCount(), 0);
    std::size_t size = 0;
    for (std::int32_t s = 1; s <= slots; ++s)
        size += c.VerseTable[static_cast<std::size_t>(s)].Text.size();
    bytes_.reserve(size + size / 64);
    starts_.reserve(static_cast<std::size_t>(slots) + 2);
    starts_.push_back(0);  // slot 0, never used
    for (std::int32_t s = 1; s <= slots; ++s) {
        starts_.push_back(bytes_.size());
        AppendFolded(c.VerseTable[static_cast<std::size_t>(s)].Text, bytes_);
    }
    starts_.push_back(bytes_.size());
    if (bytes_.capacity() > bytes_.size() + bytes_.size() / 32) bytes_.shrink_to_fit();
}

VerseMatches FindFoldedVerses(const FoldedVerses& folded, const std::vector<std::string>& terms,
                              SlotRange range, int cap) {
    VerseMatches out;
    range.last = std::min(range.last, folded.SlotCount());
    if (terms.empty() || range.Empty() || cap < 1) return out;
    const char terminator = static_cast<char>(folded.VerseTerminator());
    std::vector<FoldedTerm> words;
    for (const std::string& t : terms) {
        words.push_back(ParseFolded(t));
        if (words.back().word.empty() || t.find(terminator) != std::string::npos) return out;
    }

    const std::string_view bytes = folded.Bytes();
    const FoldedTerm& first = words.front();
    std::int32_t s = range.first;
    std::size_t pos = folded.Start(range.first);
    const std::size_t end = folded.Start(range.last + 1);
    while (pos < end) {
        const void* h =
            ::memmem(bytes.data() + pos, end - pos, first.word.data(), first.word.size());
        if (!h) break;
        const auto hit = static_cast<std::size_t>(static_cast<const char*>(h) - bytes.data());
        while (folded.Start(s + 1) <= hit)  // the verse of the hit
            ++s;
        const std::size_t verseStart = folded.Start(s), verseEnd = folded.Start(s + 1);
        const std::string_view text = folded.Text(s);
        if (hit + first.word.size() > verseEnd || !WordAt(text, hit - verseStart, first)) {
            pos = hit + 1;  // runs past the verse's end, or inside a longer word
            continue;
        }
        bool all = true;
        for (std::size_t k = 1; all && k < words.size(); ++k)
            all = FindWord(text, words[k]) != std::string_view::npos;
        if (all) {
            if (out.total++ < cap)
                out.verses.push_back(s);
            else
                out.capped = true;
        }
        pos = verseEnd;
        if (++s > range.last) break;
    }
    return out;
}

std::string ResultItemText(const Communs& c, std::int32_t slot) {
    const TVerset& v = c.VerseTable.at(static_cast<std::size_t>(slot));
    std::string out = "<B>" + c.FormatShortRef(v.Book, v.Chapter, v.Verse, 0) + "</B> : ";
    out += v.Text;
    return out;
}

std::int32_t ResultItemValue(const Communs& c, std::int32_t slot) {
    const TVerset& v = c.VerseTable.at(static_cast<std::size_t>(slot));
    return v.Book * 1000 + v.Chapter;
}

ResultChapter ResultItemChapter(std::int32_t value) {
    return {value / 1000, value % 1000};
}

std::string HighlightTerms(std::string_view text, const std::vector<std::string>& terms) {
    std::vector<std::size_t> origins;
    std::optional<std::string> collapsed;  // made when a spaced term needs it
    Runs runs;
    for (const std::string& term : terms) {
        if (term.empty()) continue;
        const bool spaced = term.find(' ') != std::string::npos;
        if (spaced && !collapsed && text.find("  ") != std::string_view::npos)
            collapsed = CollapseSpaces(text, &origins);
        const std::string_view in = spaced && collapsed ? std::string_view(*collapsed) : text;
        auto from = [&](std::size_t i) { return spaced && collapsed ? origins[i] : i; };
        const std::string variant = CapitalisedVariant(term);
        for (const std::string_view form : {std::string_view(term), std::string_view(variant)}) {
            for (std::size_t at = in.find(form); at != std::string_view::npos;
                 at = in.find(form, at + 1))
                runs.emplace_back(from(at), from(at + form.size() - 1) + 1);
            if (variant == term) break;
        }
    }
    return WrapRuns(text, CleanRuns(text, std::move(runs)));
}

std::string HighlightFoldedTerms(std::string_view text, const std::vector<std::string>& terms) {
    std::string folded;
    std::vector<std::size_t> origins;
    folded.reserve(text.size());
    origins.reserve(text.size());
    AppendFolded(text, folded, &origins);
    // Each occurrence of each term, as a run of the text's own bytes.
    Runs runs;
    for (const std::string& term : terms) {
        const FoldedTerm t = ParseFolded(term);
        if (t.word.empty()) continue;
        for (std::size_t at = FindWord(folded, t); at != std::string::npos;
             at = FindWord(folded, t, at + 1)) {
            std::size_t last = at + t.word.size();  // a prefix colours its whole word
            if (t.prefix)
                while (last < folded.size() && IsWordByte(folded[last]))
                    ++last;
            runs.emplace_back(origins[at], origins[last - 1] + 1);
        }
    }
    return WrapRuns(text, CleanRuns(text, std::move(runs)));
}

std::string ColouredResultItem(const Communs& c, std::int32_t slot,
                               const std::vector<std::string>& terms, int method) {
    const TVerset& v = c.VerseTable.at(static_cast<std::size_t>(slot));
    std::string out = "<B>" + c.FormatShortRef(v.Book, v.Chapter, v.Verse, 0) + "</B> : ";
    out += method == kSearchFolded ? HighlightFoldedTerms(v.Text, terms)
                                   : HighlightTerms(v.Text, terms);
    return out;
}

std::string FormatCount(std::string_view format, int number) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 'd') {
                out += std::to_string(number);
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

namespace {

std::string GreyLine(std::string_view text) {
    return "<FONT color=\"gray\"><B>" + std::string(text) + "</B></FONT>";
}

// A number as French writes it: groups of three digits parted by a
// no-break space.
std::string FrenchNumber(int n) {
    std::string digits = std::to_string(n);
    const int sign = n < 0 ? 1 : 0;
    for (int at = static_cast<int>(digits.size()) - 3; at > sign; at -= 3)
        digits.insert(static_cast<std::size_t>(at), "\xA0");
    return digits;
}

// "Aucun verset trouvé", "1 verset trouvé", "12 versets trouvés": the
// same words whatever the Bible and however many verses match.
std::string VersesFound(int count) {
    if (count <= 0) return "Aucun verset trouv\xE9";
    if (count == 1) return "1 verset trouv\xE9";
    return FrenchNumber(count) + " versets trouv\xE9s";
}

}  // namespace

std::string CountLine(int count) {
    return GreyLine(VersesFound(count));
}

std::string CapLine(int total) {
    return GreyLine(VersesFound(total) + " ; seuls les " + std::to_string(kMaxSearchResults) +
                    " premiers, dans l'ordre de la Bible, sont affich\xE9s. Ajoutez des mots "
                    "ou limitez la zone de recherche.");
}

std::string FoldedHintLine() {
    return GreyLine(VersesFound(0) +
                    ". Essayez la m\xE9thode \xAB Mots, sans accents ni "
                    "majuscules \xBB.");
}

bool FoldedWouldFind(const FoldedVerses& folded, std::string_view query, SlotRange range) {
    return !FindFoldedVerses(folded, SearchTerms(query, kSearchFolded), range, 1).verses.empty();
}

std::string HeadLine(const SearchResults& results) {
    if (results.capped) return CapLine(results.total);
    if (results.items.empty() && results.foldedHint) return FoldedHintLine();
    return CountLine(static_cast<int>(results.items.size()));
}

SearchResults Search(const Communs& c, const SearchRequest& request,
                     const std::function<const FoldedVerses&()>& foldedVerses) {
    SearchResults r;
    r.terms = SearchTerms(request.query, request.method);
    const SlotRange range =
        SearchRange(c, request.scope, request.currentBook, request.currentChapter);
    std::optional<FoldedVerses> own;
    auto foldedCopy = [&]() -> const FoldedVerses& {
        if (foldedVerses) return foldedVerses();
        return own ? *own : own.emplace(c);
    };
    VerseMatches found;
    if (request.method == kSearchFolded)
        found = FindFoldedVerses(foldedCopy(), r.terms, range);
    else
        found = FindVerses(c, r.terms, range);
    r.total = found.total;
    r.capped = found.capped;
    r.items.reserve(found.verses.size());
    for (std::int32_t slot : found.verses)
        r.items.push_back(
            {ColouredResultItem(c, slot, r.terms, request.method), ResultItemValue(c, slot), slot});
    if (r.items.empty() && request.method != kSearchFolded && !r.terms.empty())
        r.foldedHint = FoldedWouldFind(foldedCopy(), request.query, range);
    return r;
}

}  // namespace lorvane
