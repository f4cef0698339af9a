#include "SearchEngine.h"

#include "StrongSearch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include <QString>
#include <QTextBoundaryFinder>
#include <unordered_map>

#include "Utf8.h"
#include "VerseText.h"

namespace lorvane {
namespace {

constexpr std::string_view kHighlightOpen = "<FONT color=\"#C00400\">";
constexpr std::string_view kHighlightClose = "</FONT>";

// The folded form of text, for the accent-blind search: each character
// decomposed (NFD), stripped of its combining marks (Unicode category Mn) and
// case-folded; œ and æ (Œ, Æ) become oe and ae, the typographic apostrophes
// '. The fold of each character met is remembered by the folder.
class Folder {
  public:
    // Folds `text` onto the end of `out`; when `origins` is given, it
    // receives for each byte written the index in `text` of the character it
    // comes from. A malformed byte is copied as it is.
    void Append(std::string_view text, std::string& out,
                std::vector<std::size_t>* origins = nullptr) {
        for (std::size_t i = 0; i < text.size();) {
            const auto b = static_cast<unsigned char>(text[i]);
            if (b < 0x80) {
                out += b >= 'A' && b <= 'Z' ? static_cast<char>(b + 0x20) : static_cast<char>(b);
                if (origins) origins->push_back(i);
                ++i;
                continue;
            }
            const std::size_t n = utf8::SequenceLength(text, i);
            if (n == 0) {
                out += text[i];
                if (origins) origins->push_back(i);
                ++i;
                continue;
            }
            std::size_t at = i;
            const char32_t cp = utf8::Next(text, at);
            // Han ideographs have no marks and no case: they stay as they are.
            const bool same = (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0x3400 && cp <= 0x4DBF);
            const std::string_view f = same ? text.substr(i, n) : std::string_view(Of(cp));
            out += f;
            if (origins) origins->insert(origins->end(), f.size(), i);
            i += n;
        }
    }

  private:
    // The folds of the Latin letters and the combining marks, made once: a
    // constant table.
    static constexpr char32_t kTabled = 0x370;
    struct LatinTable {
        std::array<std::string, kTabled> folds;
        LatinTable() {
            for (char32_t cp = 0x80; cp < kTabled; ++cp)
                folds[cp] = FoldOf(cp);
        }
    };

    static std::string FoldOf(char32_t cp) {
        std::string folded;
        switch (cp) {
            case 0x0152:
            case 0x0153:
                folded = "oe";
                break;
            case 0x00C6:
            case 0x00E6:
                folded = "ae";
                break;
            case 0x2018:
            case 0x2019:
                folded = "'";
                break;
            default: {
                QString s = QString::fromUcs4(&cp, 1).normalized(QString::NormalizationForm_D);
                s.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
                folded = s.toCaseFolded().toStdString();
            }
        }
        return folded;
    }

    const std::string& Of(char32_t cp) {
        if (cp < kTabled) {
            static const LatinTable latin;
            return latin.folds[cp];
        }
        auto it = cache_.find(cp);
        if (it != cache_.end()) return it->second;
        return cache_.emplace(cp, FoldOf(cp)).first->second;
    }

    std::unordered_map<char32_t, std::string> cache_;
};

void AppendFolded(std::string_view text, std::string& out,
                  std::vector<std::size_t>* origins = nullptr) {
    Folder folder;
    folder.Append(text, out, origins);
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Whether a character is part of a word: a letter, a digit, a mark.
bool IsWordChar(char32_t cp) {
    if (cp < 0x80)
        return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
    switch (QChar::category(cp)) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Lowercase:
        case QChar::Letter_Titlecase:
        case QChar::Letter_Modifier:
        case QChar::Letter_Other:
        case QChar::Number_DecimalDigit:
        case QChar::Number_Letter:
        case QChar::Number_Other:
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            return true;
        default:
            return false;
    }
}

// Whether a character belongs to a script written without spaces between
// words: a term of it matches anywhere in the text.
bool WrittenWithoutSpaces(char32_t cp) {
    if (cp < 0x80) return false;
    switch (QChar::script(cp)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Thai:
        case QChar::Script_Lao:
        case QChar::Script_Khmer:
        case QChar::Script_Myanmar:
        case QChar::Script_Yi:
            return true;
        default:
            return false;
    }
}

// The code point that ends just before `at`, and the one that starts at it.
char32_t CharBefore(std::string_view s, std::size_t at) {
    std::size_t i = at;
    while (i > 0 && at - i < 4) {
        --i;
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) break;
    }
    return utf8::Next(s, i);
}
char32_t CharAt(std::string_view s, std::size_t at) {
    return utf8::Next(s, at);
}

// Whether Unicode's word rules put a boundary at `at` of a text: asked of
// QTextBoundaryFinder over the few characters around it.
bool UnicodeWordBoundary(std::string_view s, std::size_t at) {
    constexpr std::size_t kAround = 24;  // bytes each side
    std::size_t from = at > kAround ? at - kAround : 0;
    while (from > 0 && (static_cast<unsigned char>(s[from]) & 0xC0) == 0x80)
        --from;
    std::size_t to = std::min(s.size(), at + kAround);
    while (to < s.size() && (static_cast<unsigned char>(s[to]) & 0xC0) == 0x80)
        ++to;
    const QString before = QString::fromUtf8(s.data() + from, static_cast<qsizetype>(at - from));
    QString window = before;
    window += QString::fromUtf8(s.data() + at, static_cast<qsizetype>(to - at));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, window);
    finder.setPosition(before.size());
    return finder.isAtBoundary();
}

// Whether words part at `at` of a folded text. Between two ASCII characters
// the French rule holds: letters and digits make words, anything else
// (spaces, signs, apostrophes, hyphens) parts them. Elsewhere Unicode's word
// boundaries decide, but a character that is no part of a word parts words.
bool WordsPart(std::string_view s, std::size_t at) {
    if (at == 0 || at >= s.size()) return true;
    const auto left = static_cast<unsigned char>(s[at - 1]),
               right = static_cast<unsigned char>(s[at]);
    if (left < 0x80 && right < 0x80) return !IsWordChar(left) || !IsWordChar(right);
    const char32_t before = CharBefore(s, at), after = CharAt(s, at);
    if (!IsWordChar(before) || !IsWordChar(after)) return true;
    if (before < 0x80 && after < 0x80) return false;
    return UnicodeWordBoundary(s, at);
}

// A folded term: the word, and whether it stands for the words beginning
// with it (a trailing '*').
struct FoldedTerm {
    std::string_view word;
    bool prefix = false;
    // Its first and last characters are of a script written without
    // spaces: no boundary is asked for there.
    bool openStart = false, openEnd = false;
};

FoldedTerm ParseFolded(std::string_view term) {
    FoldedTerm t{term, false};
    while (!t.word.empty() && t.word.back() == '*') {
        t.word.remove_suffix(1);
        t.prefix = true;
    }
    if (!t.word.empty()) {
        t.openStart = WrittenWithoutSpaces(CharAt(t.word, 0));
        t.openEnd = WrittenWithoutSpaces(CharBefore(t.word, t.word.size()));
    }
    return t;
}

// Whether the occurrence of `t` at [at, at + size) of `text` stands as a
// whole word (or a word's beginning). An edge of the term in a script
// written without spaces needs no boundary.
bool WordAt(std::string_view text, std::size_t at, const FoldedTerm& t) {
    const std::size_t end = at + t.word.size();
    if (!t.openStart && !WordsPart(text, at)) return false;
    if (!t.prefix && !t.openEnd && !WordsPart(text, end)) return false;
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

// The UTF-8 bytes of the first character of a text ("" for an empty text).
std::string_view FirstCharacter(std::string_view text) {
    if (text.empty()) return text;
    const std::size_t n = utf8::SequenceLength(text, 0);
    return text.substr(0, n == 0 ? 1 : n);
}

// Finds a term, as typed or as its capitalised variant. The two forms differ
// at most in their first character: the search looks for the bytes after it
// and checks the character before.
class TermFinder {
  public:
    explicit TermFinder(std::string_view term)
        : term_(term),
          typed_(FirstCharacter(term)),
          upper_(UpperCase(typed_)),
          core_(term.substr(typed_.size())),
          singleBytes_(typed_.size() == 1 && upper_.size() == 1),
          oneForm_(typed_ == upper_) {}

    // The first occurrence of either form that lies wholly in [p, end), and
    // its length; nullptr when there is none.
    const char* Find(const char* p, const char* end, std::size_t& length) const {
        if (term_.empty() || !Before(p, end)) return nullptr;
        if (core_.empty()) return FindFirstCharacter(p, end, length);
        if (oneForm_) {  // a first letter without a capital (a digit, Han): the term itself
            const void* h =
                ::memmem(p, static_cast<std::size_t>(end - p), term_.data(), term_.size());
            length = term_.size();
            return static_cast<const char*>(h);
        }
        const std::size_t shortest = std::min(typed_.size(), upper_.size());
        const char* from = p + shortest;
        while (Before(from, end)) {
            const void* h =
                ::memmem(from, static_cast<std::size_t>(end - from), core_.data(), core_.size());
            if (!h) return nullptr;
            const char* core = static_cast<const char*>(h);
            if (singleBytes_) {  // both forms one byte: the byte before decides
                if (Before(p, core) && (core[-1] == typed_[0] || core[-1] == upper_[0])) {
                    length = 1 + core_.size();
                    return core - 1;
                }
                from = core + 1;
                continue;
            }
            for (const std::string_view form : {typed_, std::string_view(upper_)}) {
                if (static_cast<std::size_t>(core - p) < form.size()) continue;
                if (std::memcmp(core - form.size(), form.data(), form.size()) == 0) {
                    length = form.size() + core_.size();
                    return core - form.size();
                }
            }
            from = core + 1;
        }
        return nullptr;
    }

    bool In(std::string_view text) const {
        std::size_t length = 0;
        return Find(text.data(), text.data() + text.size(), length) != nullptr;
    }

  private:
    // A one-character term: the first place that holds either form.
    const char* FindFirstCharacter(const char* p, const char* end, std::size_t& length) const {
        const char* best = nullptr;
        for (const std::string_view form : {typed_, std::string_view(upper_)}) {
            const char* limit = best ? best : end;
            if (!Before(p, limit)) continue;
            const void* h =
                ::memmem(p, static_cast<std::size_t>(limit - p), form.data(), form.size());
            if (h && (!best || Before(static_cast<const char*>(h), best))) {
                best = static_cast<const char*>(h);
                length = form.size();
            }
        }
        return best;
    }

    std::string_view term_;
    std::string_view typed_;  // the first character as typed
    std::string upper_;       // and in capitals
    std::string_view core_;   // the bytes after it
    bool singleBytes_;        // both forms of the first character are one byte
    bool oneForm_;            // the first character has no other case
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
    // The typographic apostrophes (‘ ’) as the keyboard's.
    std::string straight;
    straight.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed.substr(i, 2) == "\xE2\x80" && i + 2 < typed.size() &&
            (typed[i + 2] == '\x98' || typed[i + 2] == '\x99')) {
            straight += '\'';
            i += 2;
        } else {
            straight += typed[i];
        }
    }
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
    const std::string_view first = FirstCharacter(term);
    return UpperCase(first) + std::string(term.substr(first.size()));
}

// The slots of books first to last that the Bible has: a Bible of one
// Testament is searched whole, and a Testament it lacks finds nothing.
static SlotRange BooksRange(const Communs& c, int firstBook, int lastBook) {
    SlotRange r;
    for (int b = firstBook; b <= lastBook && r.first < 1; ++b)
        r.first = c.VerseLookup(b, 1, 1);
    for (int b = lastBook; b >= firstBook && r.last < 1; --b)
        r.last = c.LastSlotOfBook(b);
    return r;
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
            r = BooksRange(c, 40, 66);
            break;
        case kScopeOldTestament:
            r = BooksRange(c, 1, 39);
            break;
        case kScopeWholeBible:
            r = BooksRange(c, 1, 66);
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
    Folder folder;
    const std::int32_t slotCount = std::max(c.VerseSlotCount(), 0);
    std::size_t size = 0;
    for (std::int32_t s = 1; s <= slotCount; ++s)
        size += c.VerseTable[static_cast<std::size_t>(s)].Text.size();
    bytes_.reserve(size + size / 64);
    starts_.reserve(static_cast<std::size_t>(slotCount) + 2);
    starts_.push_back(0);  // slot 0, never used
    for (std::int32_t s = 1; s <= slotCount; ++s) {
        starts_.push_back(bytes_.size());
        folder.Append(c.VerseTable[static_cast<std::size_t>(s)].Text, bytes_);
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
    AppendBidiClosed(out, v.Text);
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
                while (last < folded.size() && !WordsPart(folded, last))
                    last += std::max<std::size_t>(1, utf8::SequenceLength(folded, last));
            // Up to the end of the character the last folded byte comes from.
            const std::size_t from = origins[last - 1];
            runs.emplace_back(origins[at],
                              from + std::max<std::size_t>(1, utf8::SequenceLength(text, from)));
        }
    }
    return WrapRuns(text, CleanRuns(text, std::move(runs)));
}

std::string ColouredResultItem(const Communs& c, std::int32_t slot,
                               const std::vector<std::string>& terms, int method) {
    const TVerset& v = c.VerseTable.at(static_cast<std::size_t>(slot));
    std::string out = "<B>" + c.FormatShortRef(v.Book, v.Chapter, v.Verse, 0) + "</B> : ";
    // The direction controls a verse leaves open are closed at its end.
    AppendBidiClosed(out, method == kSearchFolded ? HighlightFoldedTerms(v.Text, terms)
                                                  : HighlightTerms(v.Text, terms));
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
        digits.insert(static_cast<std::size_t>(at), "\u00A0");
    return digits;
}

// "Aucun verset trouvé", "1 verset trouvé", "12 versets trouvés": the
// same words whatever the Bible and however many verses match.
std::string VersesFound(int count) {
    if (count <= 0) return "Aucun verset trouvé";
    if (count == 1) return "1 verset trouvé";
    return FrenchNumber(count) + " versets trouvés";
}

}  // namespace

std::string CountLine(int count) {
    return GreyLine(VersesFound(count));
}

std::string CapLine(int total) {
    return GreyLine(VersesFound(total) + " ; seuls les " + std::to_string(kMaxSearchResults) +
                    " premiers, dans l'ordre de la Bible, sont affichés. Ajoutez des mots "
                    "ou limitez la zone de recherche.");
}

std::string FoldedHintLine() {
    return GreyLine(VersesFound(0) +
                    ". Essayez la méthode « Mots, sans accents ni "
                    "majuscules ».");
}

bool FoldedWouldFind(const FoldedVerses& folded, std::string_view query, SlotRange range) {
    return !FindFoldedVerses(folded, SearchTerms(query, kSearchFolded), range, 1).verses.empty();
}

std::string HeadLine(const SearchResults& results) {
    if (results.untagged)
        return GreyLine(
            "Cette Bible ne donne pas les numéros de Strong de ses mots ; "
            "cherchez " +
            results.strong + " dans le grec, l'hébreu ou une Bible qui les donne.");
    if (!results.strong.empty() && results.total > 0)
        return GreyLine(VersesFound(results.total) + " : " + FrenchNumber(results.occurrences) +
                        (results.occurrences == 1 ? " occurrence de " : " occurrences de ") +
                        results.strong +
                        (results.capped ? " ; seuls les " + std::to_string(kMaxSearchResults) +
                                              " premiers versets, dans l'ordre de la Bible, sont "
                                              "affichés. Limitez la zone de recherche."
                                        : std::string()));
    if (results.capped) return CapLine(results.total);
    if (results.items.empty() && results.foldedHint) return FoldedHintLine();
    return CountLine(static_cast<int>(results.items.size()));
}

SearchResults Search(const Communs& c, const SearchRequest& request,
                     const std::function<const FoldedVerses&()>& foldedVerses) {
    const SlotRange range =
        SearchRange(c, request.scope, request.currentBook, request.currentChapter);
    if (const std::string number = StrongQuery(request.query); !number.empty())
        return FindStrong(c, request.words, number, range);
    SearchResults r;
    r.terms = SearchTerms(request.query, request.method);
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
