#include "NoteFile.h"

#include <array>
#include <charconv>
#include <ctime>
#include <iostream>

#include "Utf8.h"

namespace lorvane {
namespace {

struct ColourEntry {
    Colour colour;
    std::string_view name;
    std::uint32_t rgb;
};

constexpr std::array<ColourEntry, kColourCount + 1> kColours = {{
    {Colour::None, "aucune", 0xFFFFFF},
    {Colour::Jaune, "jaune", 0xFFF3A3},
    {Colour::Vert, "vert", 0xC8F0C0},
    {Colour::Bleu, "bleu", 0xC4DEFA},
    {Colour::Rose, "rose", 0xF9CDE0},
    {Colour::Orange, "orange", 0xFFD8A8},
}};

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t tab = line.find('\t');
        out.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return out;
        line.remove_prefix(tab + 1);
    }
}

bool ReadInt(std::string_view text, int& value, int low, int high) {
    if (text.empty() || text.size() > 4) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// "45 8 28" or "45 8 28-30".
bool ReadPlace(std::string_view text, VersePlace& first, VersePlace& last) {
    const std::size_t s1 = text.find(' ');
    if (s1 == std::string_view::npos) return false;
    const std::size_t s2 = text.find(' ', s1 + 1);
    if (s2 == std::string_view::npos) return false;
    std::string_view verses = text.substr(s2 + 1);
    const std::size_t dash = verses.find('-');
    int book = 0, chapter = 0, verse = 0, lastVerse = 0;
    if (!ReadInt(text.substr(0, s1), book, 1, 66) ||
        !ReadInt(text.substr(s1 + 1, s2 - s1 - 1), chapter, 1, 150) ||
        !ReadInt(verses.substr(0, dash), verse, 1, 176))
        return false;
    if (dash != std::string_view::npos &&
        (!ReadInt(verses.substr(dash + 1), lastVerse, verse + 1, 176)))
        return false;
    first = PlaceOf(book, chapter, verse);
    last = lastVerse ? PlaceOf(book, chapter, lastVerse) : 0;
    return IsRange(first, last);  // a chapter the book has
}

std::string PlaceText(VersePlace first, VersePlace last) {
    std::string out = std::to_string(BookOf(first)) + ' ' + std::to_string(ChapterOf(first)) + ' ' +
                      std::to_string(VerseOf(first));
    if (last) out += '-' + std::to_string(VerseOf(last));
    return out;
}

bool IsId(std::string_view id) {
    if (id.empty() || id.size() > 64) return false;
    for (const char c : id)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              c == '-'))
            return false;
    return true;
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    if (!utf8::IsValid(out)) return std::nullopt;
    return out;
}

bool ReadTime(std::string_view text, std::string& out) {
    if (!ParseTime(text)) return false;
    out = std::string(text);
    return true;
}

bool ReadRecord(std::string_view line, NoteFile& file) {
    const std::vector<std::string_view> f = Fields(line);
    if (f[0] == "N" && f.size() == 6) {
        Note n;
        if (!IsId(f[1]) || !ReadPlace(f[2], n.first, n.last) || !ReadTime(f[3], n.created) ||
            !ReadTime(f[4], n.modified))
            return false;
        std::optional<std::string> text = Unescape(f[5]);
        if (!text) return false;
        n.id = std::string(f[1]);
        n.text = std::move(*text);
        file.notes.push_back(std::move(n));
        return true;
    }
    if (f[0] == "H" && f.size() == 4) {
        Highlight h;
        VersePlace last = 0;
        const std::optional<Colour> colour = ColourOfName(f[2]);
        if (!ReadPlace(f[1], h.verse, last) || last != 0 || !colour || !ReadTime(f[3], h.modified))
            return false;
        h.colour = *colour;
        file.highlights.push_back(std::move(h));
        return true;
    }
    if (f[0] == "X" && f.size() == 3) {
        Removal r;
        if (!IsId(f[1]) || !ReadTime(f[2], r.removed)) return false;
        r.id = std::string(f[1]);
        file.removals.push_back(std::move(r));
        return true;
    }
    return false;
}

}  // namespace

std::string_view ColourName(Colour colour) {
    return kColours[static_cast<std::size_t>(colour)].name;
}

std::uint32_t ColourRgb(Colour colour) {
    return kColours[static_cast<std::size_t>(colour)].rgb;
}

std::optional<Colour> ColourOfName(std::string_view name) {
    for (const ColourEntry& e : kColours)
        if (e.name == name) return e.colour;
    return std::nullopt;
}

bool IsVerse(VersePlace place) {
    // A chapter the Segond's book has; verse counts differ a little from
    // one edition to another, so any verse number a chapter may hold.
    static const Numbering* const segond = KnownNumberings().Find("Segond");
    const int book = BookOf(place);
    return book >= 1 && book <= 66 && ChapterOf(place) >= 1 &&
           ChapterOf(place) <= (segond ? segond->Chapters(book) : 150) && VerseOf(place) >= 1 &&
           VerseOf(place) <= 176;
}

bool IsRange(VersePlace first, VersePlace last) {
    return IsVerse(first) &&
           (last == 0 || (IsVerse(last) && (last & ~0xFFu) == (first & ~0xFFu) && last > first));
}

std::optional<std::int64_t> ParseTime(std::string_view iso) {
    // YYYY-MM-DDTHH:MM:SSZ
    if (iso.size() != 20 || iso[4] != '-' || iso[7] != '-' || iso[10] != 'T' || iso[13] != ':' ||
        iso[16] != ':' || iso[19] != 'Z')
        return std::nullopt;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!ReadInt(iso.substr(0, 4), y, 1970, 9999) || !ReadInt(iso.substr(5, 2), mo, 1, 12) ||
        !ReadInt(iso.substr(8, 2), d, 1, 31) || !ReadInt(iso.substr(11, 2), h, 0, 23) ||
        !ReadInt(iso.substr(14, 2), mi, 0, 59) || !ReadInt(iso.substr(17, 2), s, 0, 60))
        return std::nullopt;
    // Days since 1970 of a civil date (proleptic Gregorian).
    const int yy = y - (mo <= 2);
    const int era = yy / 400;
    const int yoe = yy - era * 400;
    const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe - 719468;
    return days * 86400 + h * 3600 + mi * 60 + s;
}

std::string FormatTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char out[32];
    std::strftime(out, sizeof out, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return out;
}

NoteFile ReadNoteFile(std::string_view text) {
    NoteFile file;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (!ReadRecord(line, file)) {
            ++file.unread;
            std::cerr << "notes: line " << number << " cannot be read, left out\n";
        }
    }
    return file;
}

std::string WriteNoteFile(const NoteFile& file) {
    std::string out =
        "# Notes de Lorvane : N identifiant, livre chapitre verset(s), créée, modifiée, texte ; "
        "H verset, couleur, date ; X note supprimée, date. Champs séparés par des tabulations.\n";
    for (const Note& n : file.notes)
        out += "N\t" + n.id + '\t' + PlaceText(n.first, n.last) + '\t' + n.created + '\t' +
               n.modified + '\t' + Escape(n.text) + '\n';
    for (const Highlight& h : file.highlights)
        out += "H\t" + PlaceText(h.verse, 0) + '\t' + std::string(ColourName(h.colour)) + '\t' +
               h.modified + '\n';
    for (const Removal& r : file.removals)
        out += "X\t" + r.id + '\t' + r.removed + '\n';
    return out;
}

}  // namespace lorvane
