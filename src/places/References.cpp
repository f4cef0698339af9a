#include "References.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "Cp1252.h"

namespace lorvane {
namespace {

// The French names and abbreviations of each book, folded and without
// spaces, beside those the book table gives: the usual ones of French
// Bibles of both traditions (Segond; TOB and Jérusalem) and of notes, so
// that they serve whatever names the loaded Bible gives its books.
constexpr std::array<const char*, kBookCount + 1> kAbbreviations = {
    "",
    "genese gn gen ge",                                 // Genèse
    "exode ex exo exod",                                // Exode
    "levitique lv lev le",                              // Lévitique
    "nombres nb nom no nomb",                           // Nombres
    "deuteronome dt deut de",                           // Deutéronome
    "josue jos",                                        // Josué
    "juges jg jug",                                     // Juges
    "ruth rt ru",                                       // Ruth
    "1samuel 1s 1sa 1sam 1sm",                          // 1 Samuel
    "2samuel 2s 2sa 2sam 2sm",                          // 2 Samuel
    "1rois 1r 1ro 1rs 1roi",                            // 1 Rois
    "2rois 2r 2ro 2rs 2roi",                            // 2 Rois
    "1chroniques 1ch 1chr 1chro",                       // 1 Chroniques
    "2chroniques 2ch 2chr 2chro",                       // 2 Chroniques
    "esdras esd esdr",                                  // Esdras
    "nehemie ne neh",                                   // Néhémie
    "esther est esth",                                  // Esther
    "job jb",                                           // Job
    "psaumes ps psa psaume psm",                        // Psaumes
    "proverbes pr prov pro",                            // Proverbes
    "ecclesiaste ec ecc eccl qo qoh qohelet qoheleth",  // Ecclésiaste, Qohéleth
    "cantiquedescantiques cantique ct ca cant",         // Cantique des cantiques
    "esaie es is esa isa isaie",                        // Ésaïe, Isaïe
    "jeremie jr je jer",                                // Jérémie
    "lamentations lm la lam",                           // Lamentations
    "ez ezek ezech ezechiel ezekiel",                   // Ézéchiel
    "daniel dn da dan",                                 // Daniel
    "osee os",                                          // Osée
    "joel jl joe",                                      // Joël
    "amos am",                                          // Amos
    "abdias ab abd",                                    // Abdias
    "jonas jon",                                        // Jonas
    "michee mi mic mich",                               // Michée
    "nahum na nah",                                     // Nahum
    "habacuc ha hab habaquq",                           // Habacuc
    "sophonie so soph",                                 // Sophonie
    "aggee ag agg",                                     // Aggée
    "zacharie za zac zach",                             // Zacharie
    "malachie ml mal",                                  // Malachie
    "matthieu mt mat matt",                             // Matthieu
    "marc mc mr",                                       // Marc
    "luc lc lu",                                        // Luc
    "jean jn",                                          // Jean
    "actes ac act",                                     // Actes
    "romains rm ro rom",                                // Romains
    "1corinthiens 1co 1cor",                            // 1 Corinthiens
    "2corinthiens 2co 2cor",                            // 2 Corinthiens
    "galates ga gal",                                   // Galates
    "ephesiens ep eph",                                 // Éphésiens
    "philippiens ph phil php",                          // Philippiens
    "colossiens col",                                   // Colossiens
    "1thessaloniciens 1th 1thes 1thess",                // 1 Thessaloniciens
    "2thessaloniciens 2th 2thes 2thess",                // 2 Thessaloniciens
    "1timothee 1tm 1ti 1tim",                           // 1 Timothée
    "2timothee 2tm 2ti 2tim",                           // 2 Timothée
    "tite tt tit",                                      // Tite
    "philemon phm phlm philem",                         // Philémon
    "hebreux he heb",                                   // Hébreux
    "jacques jc ja jq jac jacq",                        // Jacques
    "1pierre 1p 1pi 1pe 1pier",                         // 1 Pierre
    "2pierre 2p 2pi 2pe 2pier",                         // 2 Pierre
    "1jean 1jn",                                        // 1 Jean
    "2jean 2jn",                                        // 2 Jean
    "3jean 3jn",                                        // 3 Jean
    "jude jud",                                         // Jude
    "apocalypse ap apoc",                               // Apocalypse
};

bool IsLetter(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A folded text without its spaces, dots, hyphens and apostrophes.
std::string Key(std::string_view text) {
    std::string key;
    for (char c : FoldName(text))
        if (IsLetter(c) || IsDigit(c)) key += c;
    return key;
}

std::string Quoted(std::string_view text) {
    return "\xAB " + std::string(text) + " \xBB";
}

}  // namespace

std::string FoldName(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b >= 'A' && b <= 'Z') {
            out += static_cast<char>(b - 'A' + 'a');
        } else if (b < 0x80) {
            out += ch;
        } else if (b == 0x8C || b == 0x9C) {
            out += "oe";
        } else if (b == 0xC6 || b == 0xE6) {
            out += "ae";
        } else if (b == 0x8A || b == 0x9A) {
            out += 's';
        } else if (b == 0x8E || b == 0x9E) {
            out += 'z';
        } else if (b >= 0xC0 && b != 0xFF) {
            // À..ÿ: the base letter of each, capitals and small letters alike.
            static constexpr char kBase[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyts";
            const char base = kBase[(b - 0xC0) % 32];
            out += base == '*' ? ch : base;
            if (b == 0xDF) out.back() = 's', out += 's';  // ß
        } else if (b == 0x9F || b == 0xFF) {
            out += 'y';
        } else {
            out += ch;
        }
    }
    return out;
}

BookNames::BookNames(const Communs& communs)
    : names_(kBookCount + 1), nameKeys_(kBookCount + 1), restKeys_(kBookCount + 1) {
    auto add = [this](std::string key, int book) {
        if (key.empty()) return;
        for (const auto& [k, b] : exact_)
            if (k == key) return;  // the first holder keeps a name two books share
        exact_.emplace_back(std::move(key), book);
    };
    for (int b = 1; b <= kBookCount; ++b) {
        const TLivre& book = communs.Book(b);
        names_[static_cast<std::size_t>(b)] = cp1252::FromUtf8(book.Name.view());
        std::string key = Key(names_[static_cast<std::size_t>(b)]);
        nameKeys_[static_cast<std::size_t>(b)] = key;
        std::size_t digits = 0;
        while (digits < key.size() && IsDigit(key[digits]))
            ++digits;
        restKeys_[static_cast<std::size_t>(b)] = key.substr(digits);
    }
    // The names of the loaded Bible first, then the French abbreviations.
    for (int b = 1; b <= kBookCount; ++b)
        add(nameKeys_[static_cast<std::size_t>(b)], b);
    for (int b = 1; b <= kBookCount; ++b)
        add(Key(cp1252::FromUtf8(communs.Book(b).ShortName.view())), b);
    for (int b = 1; b <= kBookCount; ++b) {
        std::string_view list = kAbbreviations[static_cast<std::size_t>(b)];
        while (!list.empty()) {
            const std::size_t space = list.find(' ');
            add(std::string(list.substr(0, space)), b);
            list = space == std::string_view::npos ? std::string_view() : list.substr(space + 1);
        }
    }
}

int BookNames::Find(std::string_view typed) const {
    const std::string key = Key(typed);
    if (key.empty()) return 0;
    for (const auto& [k, b] : exact_)
        if (k == key) return b;
    int found = 0;
    for (int b = 1; b <= kBookCount; ++b) {
        const std::string& name = nameKeys_[static_cast<std::size_t>(b)];
        if (name.size() > key.size() && name.compare(0, key.size(), key) == 0) {
            if (found != 0) return -1;
            found = b;
        }
    }
    return found;
}

std::vector<int> BookNames::Complete(std::string_view typed) const {
    std::vector<int> books;
    const std::string folded = FoldName(typed);
    // A digit after a letter is a chapter: the book is chosen.
    bool letter = false;
    for (char c : folded) {
        if (IsLetter(c)) letter = true;
        if (IsDigit(c) && letter) return books;
    }
    const std::string key = Key(typed);
    if (key.empty()) return books;
    auto starts = [&key](const std::string& name) {
        return !name.empty() && name.compare(0, key.size(), key) == 0;
    };
    for (int b = 1; b <= kBookCount; ++b)
        if (starts(nameKeys_[static_cast<std::size_t>(b)])) books.push_back(b);
    for (int b = 1; b <= kBookCount; ++b)
        if (restKeys_[static_cast<std::size_t>(b)] != nameKeys_[static_cast<std::size_t>(b)] &&
            starts(restKeys_[static_cast<std::size_t>(b)]) &&
            std::find(books.begin(), books.end(), b) == books.end())
            books.push_back(b);
    return books;
}

namespace {

struct Cursor {
    std::string_view s;
    std::size_t i = 0;
    bool AtEnd() const { return i >= s.size(); }
    char Peek() const { return AtEnd() ? '\0' : s[i]; }
    void SkipSpaces() {
        while (!AtEnd() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\xA0'))
            ++i;
    }
    // A decimal number of at most four digits (longer ones are too large
    // for any chapter or verse, and are read as 9999).
    bool Number(int& value) {
        if (!IsDigit(Peek())) return false;
        value = 0;
        while (IsDigit(Peek())) {
            value = std::min(9999, value * 10 + (s[i] - '0'));
            ++i;
        }
        return true;
    }
};

std::string Plural(int n, const char* one, const char* many) {
    return n == 1 ? std::string(one) : "que " + std::to_string(n) + " " + many;
}

}  // namespace

ParsedReference ParseReference(const BookNames& names, const Communs& communs,
                               std::string_view typed) {
    ParsedReference result;
    auto fail = [&result](std::string why) {
        result.ok = false;
        result.error = std::move(why);
        return result;
    };
    auto unreadable = [&] {
        return fail(
            "R\xE9"
            "f\xE9rence illisible : " +
            Quoted(typed) + ".");
    };
    const std::string folded = FoldName(typed);
    Cursor c{folded};
    c.SkipSpaces();
    if (c.AtEnd())
        return fail(
            "Tapez une r\xE9"
            "f\xE9rence, par exemple \xAB Jean 3:16 \xBB.");

    // The book: a leading 1, 2 or 3 that a letter follows, then letters,
    // spaces and dots up to the first digit.
    const std::size_t bookStart = c.i;
    if (IsDigit(c.Peek())) {
        ++c.i;
        c.SkipSpaces();
        if (IsDigit(c.Peek()) || !IsLetter(c.Peek()))
            return fail("Il manque le livre : tapez par exemple \xAB Jean 3:16 \xBB.");
    }
    if (!IsLetter(c.Peek())) return unreadable();
    while (!c.AtEnd() && !IsDigit(c.Peek()))
        ++c.i;
    std::string_view bookText = std::string_view(folded).substr(bookStart, c.i - bookStart);
    // The reader's own letters in the messages, without the trailing spaces.
    std::string_view shown = folded.size() == typed.size() ? typed.substr(0, c.i) : bookText;
    while (!shown.empty() && (shown.back() == ' ' || shown.back() == '\xA0'))
        shown.remove_suffix(1);
    while (!shown.empty() && (shown.front() == ' ' || shown.front() == '\xA0'))
        shown.remove_prefix(1);
    const int book = names.Find(bookText);
    if (book == 0) return fail("Livre inconnu : " + Quoted(shown) + ".");
    if (book < 0)
        return fail("Plusieurs livres commencent par " + Quoted(shown) + " : tapez-en davantage.");

    // Chapter, verse and last verse: "3:16", "3.16", "3,16", "3 16",
    // "3v16", "8:28-30"; spaces anywhere between them. A chapter that a
    // dash follows begins a range of chapters: "5-7".
    int chapter = 1, first = 0, last = 0, lastChapter = 0;
    bool hasVerse = false;
    auto dash = [&c] {
        const char d = c.Peek();
        if (d != '-' && d != '\x96' && d != '\x97') return false;
        ++c.i;
        c.SkipSpaces();
        return true;
    };
    const bool hasChapter = c.Number(chapter);
    if (hasChapter) {
        c.SkipSpaces();
        const char sep = c.Peek();
        if (sep == ':' || sep == '.' || sep == ',') {
            ++c.i;
            c.SkipSpaces();
        } else if (sep == 'v') {
            ++c.i;
            if (c.Peek() == '.') ++c.i;
            c.SkipSpaces();
            if (!IsDigit(c.Peek())) return unreadable();
        }
        if (c.Number(first)) {
            hasVerse = true;
            c.SkipSpaces();
            if (dash()) {
                if (!c.Number(last)) return unreadable();
                c.SkipSpaces();
            }
        } else if (sep == ':' || sep == ',') {
            return unreadable();
        } else if (sep != '.' && dash()) {
            if (!c.Number(lastChapter)) return unreadable();
            c.SkipSpaces();
        }
    }
    while (c.Peek() == '.' || c.Peek() == ' ')
        ++c.i;
    if (!c.AtEnd()) return unreadable();

    const std::string& name = names.Name(book);
    const int chapters = communs.Book(book).ChapterCount;
    if (chapters < 1) return fail(name + " n'est pas dans cette Bible.");
    if (chapter < 1) return fail("Les chapitres commencent \xE0 1.");
    if (chapter > chapters || lastChapter > chapters)
        return fail(name + " n'a " + Plural(chapters, "qu'un chapitre", "chapitres") + ".");
    if (lastChapter != 0 && lastChapter < chapter)
        return fail("La fin du passage (" + std::to_string(lastChapter) +
                    ") vient avant son d\xE9"
                    "but (" +
                    std::to_string(chapter) + ").");
    if (lastChapter == chapter) lastChapter = 0;
    if (hasVerse) {
        const int verses = communs.LastVerseOfChapter(book, chapter);
        const std::string where = name + " " + std::to_string(chapter);
        if (first < 1) return fail("Les versets commencent \xE0 1.");
        if (first > verses || communs.VerseLookup(book, chapter, first) == 0)
            return fail(where + " n'a " + Plural(verses, "qu'un verset", "versets") + ".");
        if (last != 0 && last < first)
            return fail("La fin du passage (" + std::to_string(last) +
                        ") vient avant son d\xE9"
                        "but (" +
                        std::to_string(first) + ").");
        if (last > verses)
            return fail(where + " n'a " + Plural(verses, "qu'un verset", "versets") + ".");
        if (last == first) last = 0;
    }
    result.ok = true;
    result.ref = VerseRef{book, chapter, first, last};
    result.lastChapter = lastChapter;
    return result;
}

}  // namespace lorvane
