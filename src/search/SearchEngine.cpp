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

// Bytes 2 to 51 of a term go into its variant.
constexpr std::size_t kVariantLength = 51;

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

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool Before(const char* a, const char* b) {
    return std::less<const char*>()(a, b);
}

// Finds a term, as typed or as its capitalised variant. The two forms differ
// at most in their first byte (and a term longer than 51 bytes in its
// length): the search looks for bytes 2 to 51 and checks the byte before.
class TermFinder {
  public:
    explicit TermFinder(std::string_view term)
        : term_(term),
          typed_(static_cast<unsigned char>(term.empty() ? 0 : term[0])),
          upper_(cp1252::ToUpper(typed_)),
          core_(term.substr(
              std::min<std::size_t>(1, term.size()),
              std::min(term.size(), kVariantLength) - std::min<std::size_t>(1, term.size()))) {}

    // The first occurrence of either form that lies wholly in [p, end), and
    // its length; nullptr when there is none.
    const char* Find(const char* p, const char* end, std::size_t& length) const {
        if (term_.empty() || !Before(p, end)) return nullptr;
        if (core_.empty()) return FindFirstByte(p, end, length);
        const char* from = p + 1;
        while (Before(from, end)) {
            const void* h =
                ::memmem(from, static_cast<std::size_t>(end - from), core_.data(), core_.size());
            if (!h) return nullptr;
            const char* start = static_cast<const char*>(h) - 1;
            const auto first = static_cast<unsigned char>(*start);
            if (first == upper_) {  // the variant, or the typed term that is its own variant
                length = core_.size() + 1;
                return start;
            }
            if (first == typed_) {
                const std::string_view rest = term_.substr(core_.size() + 1);
                if (rest.empty() ||
                    (static_cast<std::size_t>(end - start) >= term_.size() &&
                     std::memcmp(start + core_.size() + 1, rest.data(), rest.size()) == 0)) {
                    length = term_.size();
                    return start;
                }
            }
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
    const char* FindFirstByte(const char* p, const char* end, std::size_t& length) const {
        length = 1;
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
    std::string_view core_;  // bytes 2 to 51
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
// [begin, end): the first term is searched through the whole block, the
// others only in the verses that hold it.
void ScanBlock(const Communs& c, const std::vector<TermFinder>& finders, std::int32_t first,
               std::int32_t last, const char* begin, const char* end, int cap, VerseMatches& out) {
    std::int32_t s = first;
    const char* pos = begin;
    for (;;) {
        std::size_t length = 0;
        const char* hit = finders.front().Find(pos, end, length);
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
        for (std::size_t k = 1; all && k < finders.size(); ++k)
            all = finders[k].In(text);
        if (all) {
            out.verses.push_back(s);
            if (static_cast<int>(out.verses.size()) >= cap) {
                out.capped = true;
                return;
            }
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

// Replaces every occurrence of `pattern` by itself wrapped in the highlight
// tags. Returns false, leaving the text alone, when it would grow past the
// limit.
bool WrapAll(std::string& text, std::string_view pattern) {
    if (pattern.empty()) return true;
    std::size_t count = 0;
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + pattern.size()))
        ++count;
    if (count == 0) return true;
    const std::size_t wrap = kHighlightOpen.size() + kHighlightClose.size();
    if (text.size() + count * wrap > kMaxHighlightedItem) return false;
    std::string out;
    out.reserve(text.size() + count * wrap);
    std::size_t from = 0;
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, from)) {
        out.append(text, from, at - from);
        out += kHighlightOpen;
        out += pattern;
        out += kHighlightClose;
        from = at + pattern.size();
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
    return true;
}

}  // namespace

std::vector<std::string> SearchTerms(std::string_view typed, int method) {
    std::string straight(typed);
    std::replace_if(
        straight.begin(), straight.end(), [](char c) { return c == '\x91' || c == '\x92'; }, '\'');
    const std::string_view query = straight;
    std::vector<std::string> terms;
    if (method == kSearchWords || method == kSearchFolded) {
        // The fields of ExtractField(query, n, ' ') for n = 1, 2, ..., taken
        // in one pass.
        std::size_t start = 0;
        while (start <= query.size()) {
            std::size_t end = query.find(' ', start);
            if (end == std::string_view::npos) end = query.size();
            const std::string_view field = Trim(query.substr(start, end - start));
            if (field.empty()) break;
            terms.push_back(method == kSearchFolded ? FoldText(field) : std::string(field));
            start = end + 1;
        }
    } else {
        terms.emplace_back(query);
    }
    return terms;
}

std::string FoldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendFolded(text, out);
    return out;
}

std::string CapitalisedVariant(std::string_view term) {
    std::string v(term.substr(0, kVariantLength));
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
    std::vector<TermFinder> finders(terms.begin(), terms.end());

    auto textOf = [&](std::int32_t s) { return c.VerseTable[static_cast<std::size_t>(s)].Text; };
    if (TextsInOneBlock(c, range)) {
        const std::string_view first = textOf(range.first), last = textOf(range.last);
        ScanBlock(c, finders, range.first, range.last, first.data(), last.data() + last.size(), cap,
                  out);
        return out;
    }
    // Texts set one by one: each verse is a block of its own.
    for (std::int32_t s = range.first; s <= range.last && !out.capped; ++s) {
        const std::string_view t = textOf(s);
        ScanBlock(c, finders, s, s, t.data(), t.data() + t.size(), cap, out);
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
    for (const std::string& t : terms)
        if (t.empty() || t.find(terminator) != std::string::npos) return out;

    const std::string_view bytes = folded.Bytes();
    const std::string_view first = terms.front();
    std::int32_t s = range.first;
    std::size_t pos = folded.Start(range.first);
    const std::size_t end = folded.Start(range.last + 1);
    while (pos < end) {
        const void* h = ::memmem(bytes.data() + pos, end - pos, first.data(), first.size());
        if (!h) break;
        const auto hit = static_cast<std::size_t>(static_cast<const char*>(h) - bytes.data());
        while (folded.Start(s + 1) <= hit)  // the verse of the hit
            ++s;
        const std::size_t verseEnd = folded.Start(s + 1);
        if (hit + first.size() > verseEnd) {  // runs past the verse's end
            pos = hit + 1;
            continue;
        }
        const std::string_view text = folded.Text(s);
        bool all = true;
        for (std::size_t k = 1; all && k < terms.size(); ++k)
            all = text.find(terms[k]) != std::string_view::npos;
        if (all) {
            out.verses.push_back(s);
            if (static_cast<int>(out.verses.size()) >= cap) {
                out.capped = true;
                break;
            }
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

std::string HighlightTerms(std::string text, const std::vector<std::string>& terms) {
    for (const std::string& term : terms) {
        if (!WrapAll(text, term) || !WrapAll(text, CapitalisedVariant(term))) break;
    }
    return text;
}

std::string HighlightFoldedTerms(std::string_view text, const std::vector<std::string>& terms) {
    std::string folded;
    std::vector<std::size_t> origins;
    folded.reserve(text.size());
    origins.reserve(text.size());
    AppendFolded(text, folded, &origins);
    // Each occurrence of each term, as a run of the text's own bytes.
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (const std::string& term : terms) {
        if (term.empty()) continue;
        for (std::size_t at = folded.find(term); at != std::string::npos;
             at = folded.find(term, at + term.size()))
            runs.emplace_back(origins[at], origins[at + term.size() - 1] + 1);
    }
    std::sort(runs.begin(), runs.end());
    std::vector<std::pair<std::size_t, std::size_t>> merged;
    for (const auto& r : runs) {
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    return WrapRuns(text, merged);
}

std::string ColouredResultItem(const Communs& c, std::int32_t slot,
                               const std::vector<std::string>& terms, int method) {
    if (method != kSearchFolded) return HighlightTerms(ResultItemText(c, slot), terms);
    const TVerset& v = c.VerseTable.at(static_cast<std::size_t>(slot));
    std::string out = "<B>" +
                      HighlightFoldedTerms(c.FormatShortRef(v.Book, v.Chapter, v.Verse, 0), terms) +
                      "</B> : ";
    out += HighlightFoldedTerms(v.Text, terms);
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

std::string CountLine(int count) {
    const char* text = count == 0                   ? "Aucun \xE9l\xE9ment trouv\xE9 ..."
                       : count == 1                 ? "1 \xE9l\xE9ment trouv\xE9 ..."
                       : count == kMaxSearchResults ? "+ de %d \xE9l\xE9ments trouv\xE9s ..."
                                                    : "%d \xE9l\xE9ments trouv\xE9s ...";
    return FormatCount(std::string("<FONT color=\"gray\"><B>") + text + "</B></FONT>", count);
}

std::string CapMessage() {
    return "Plus de " + std::to_string(kMaxSearchResults) +
           " \xE9l\xE9ments !\r\nAjoutez des mots ou limitez la zone de recherche.";
}

SearchResults Search(const Communs& c, const SearchRequest& request, const FoldedVerses* folded) {
    SearchResults r;
    r.terms = SearchTerms(request.query, request.method);
    const SlotRange range =
        SearchRange(c, request.scope, request.currentBook, request.currentChapter);
    VerseMatches found;
    if (request.method == kSearchFolded) {
        std::optional<FoldedVerses> own;
        if (!folded) folded = &own.emplace(c);
        found = FindFoldedVerses(*folded, r.terms, range);
    } else {
        found = FindVerses(c, r.terms, range);
    }
    r.capped = found.capped;
    r.items.reserve(found.verses.size());
    for (std::int32_t slot : found.verses)
        r.items.push_back(
            {ColouredResultItem(c, slot, r.terms, request.method), ResultItemValue(c, slot)});
    return r;
}

}  // namespace lorvane
