#include "Usfm.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

#include "Canon.h"
#include "Cp1252.h"
#include "FrenchRefs.h"
#include "Osis.h"
#include "Utf8.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

// What a marker does, by its name without trailing digits.
enum class Cls {
    Id,         // \id: the book code
    Chapter,    // \c N
    Verse,      // \v N
    Drop,       // a line of no verse text: titles, introductions, \r, \mr ...
    HeadingD,   // \ms
    HeadingE,   // \s, \sp, \d, \qa
    Para,       // paragraph and poetry markers: their text is verse text
    Cell,       // table cells: a space between cells
    Char,       // character markers: keep the words
    DropChar,   // character markers whose words are not verse text
    Note,       // \f, \fe, \x, ... up to their closing marker
    NoteInner,  // the parts of a note: \xo, \xt, \ft, ...
    Unknown,
};

Cls Classify(std::string_view name) {
    static const auto* table = [] {
        auto* t = new std::unordered_map<std::string_view, Cls>;
        auto add = [&](Cls cls, std::initializer_list<std::string_view> names) {
            for (std::string_view n : names)
                (*t)[n] = cls;
        };
        add(Cls::Drop, {"ide", "h",   "toc", "toca", "mt",  "mte", "imt", "imte", "is",
                        "ip",  "ipi", "im",  "imi",  "ipq", "imq", "ipr", "iq",   "ib",
                        "ili", "iot", "io",  "iex",  "ie",  "rem", "sts", "usfm", "cl",
                        "cp",  "cd",  "mr",  "sr",   "r",   "sd",  "pb",  "lit",  "periph"});
        add(Cls::HeadingD, {"ms"});
        add(Cls::HeadingE, {"s", "sp", "d", "qa"});
        add(Cls::Para,
            {"p",  "m", "po", "pr", "cls", "pmo", "pm", "pmc", "pmr", "pi", "mi",  "nb", "pc",
             "ph", "b", "q",  "qr", "qc",  "qm",  "qd", "lh",  "li",  "lf", "lim", "tr"});
        add(Cls::Cell, {"th", "thr", "tc", "tcr", "thc", "tcc"});
        add(Cls::Char, {"add", "bk",  "dc",  "k",   "nd",  "ord", "pn",  "png",  "addpn", "qt",
                        "sig", "sls", "tl",  "wj",  "em",  "bd",  "it",  "bdit", "no",    "sc",
                        "sup", "w",   "wg",  "wh",  "wa",  "rb",  "pro", "qs",   "qac",   "litl",
                        "lik", "liv", "jmp", "ior", "iqt", "ndx", "ref"});
        add(Cls::DropChar, {"fig", "rq", "cat", "va", "vp", "ca"});
        add(Cls::Note, {"f", "fe", "ef", "x", "ex"});
        add(Cls::NoteInner, {"fr", "fq", "fqa", "fk", "ft", "fl",  "fw",  "fp",  "fv",  "fdc",
                             "fm", "xo", "xk",  "xq", "xt", "xta", "xop", "xot", "xnt", "xdc"});
        add(Cls::Id, {"id"});
        add(Cls::Chapter, {"c"});
        add(Cls::Verse, {"v"});
        return t;
    }();
    auto it = table->find(name);
    if (it != table->end()) return it->second;
    std::size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1])))
        --end;
    if (end == name.size() || end == 0) return Cls::Unknown;
    it = table->find(name.substr(0, end));
    return it != table->end() ? it->second : Cls::Unknown;
}

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Character markers open at once, at most.
constexpr std::size_t kMaxMarkerDepth = 1000;

class BookParser {
  public:
    BookParser(std::string_view text, const std::string& file, TextConverter& conv, Report& report)
        : s_(text), conv_(conv), report_(report) {
        book_.file = file;
    }

    UsfmBook Run() {
        std::size_t i = 0;
        while (i < s_.size()) {
            if (s_[i] == '\\' && i + 1 < s_.size() &&
                (std::isalnum(static_cast<unsigned char>(s_[i + 1])) || s_[i + 1] == '+')) {
                i = Marker(i);
            } else {
                std::size_t next = s_.find('\\', i + 1);
                if (next == std::string_view::npos) next = s_.size();
                Text(s_.substr(i, next - i));
                i = next;
            }
        }
        EndBlock();
        CloseVerse();
        if (inNote_) EndNote(false);
        for (const Pending& p : pending_)
            report_.Warn("headings after the last verse of a book, dropped",
                         book_.file + ": " + p.title);
        return std::move(book_);
    }

  private:
    enum class Block { None, Drop, Capture, Heading, Text };
    struct Pending {
        char kind;
        std::string title;
    };
    struct Open {
        std::string name;
        bool drop = false;        // its words are not verse text
        bool attributes = false;  // past its "|": attributes, not words
        // A \w word marked in the verse text: the index of its tag, and the
        // attributes read so far.
        int tag = -1;
        std::string attributeText;
    };

    std::string Where(std::size_t pos) {
        // Lines are counted forwards only: markers come in file order.
        for (; lineCountedTo_ < pos && lineCountedTo_ < s_.size(); ++lineCountedTo_)
            if (s_[lineCountedTo_] == '\n') ++line_;
        return book_.file + ":" + std::to_string(line_);
    }

    std::string VersePlace() const {
        return (book_.code.empty() ? book_.file : book_.code) + " " + std::to_string(chapter_) +
               ":" + std::to_string(verse_);
    }

    // A marker at pos; returns the position after it (and after its number
    // for \c and \v).
    std::size_t Marker(std::size_t pos) {
        std::size_t j = pos + 1;
        if (s_[j] == '+') ++j;  // a character marker nested in another
        std::size_t nameStart = j;
        while (j < s_.size() && std::isalnum(static_cast<unsigned char>(s_[j])))
            ++j;
        std::string_view name = s_.substr(nameStart, j - nameStart);
        if (j < s_.size() && s_[j] == '*') {
            CloseMarker(name);
            return j + 1;
        }
        if (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t' || s_[j] == '\n' || s_[j] == '\r'))
            ++j;  // the space that ends the marker
        Cls cls = Classify(name);

        if (inNote_) {
            if (cls == Cls::NoteInner) {
                noteInner_ = name;
                return j;
            }
            if (cls == Cls::Char || cls == Cls::DropChar || cls == Cls::Unknown) return j;
            if (cls == Cls::Note) {
                report_.Warn("notes not closed before the next one", Where(pos));
                EndNote(false);
            } else {
                report_.Warn("notes not closed before the next paragraph or verse", Where(pos));
                EndNote(false);
            }
        }

        switch (cls) {
            case Cls::Note:
                inNote_ = true;
                noteName_ = name;
                noteInner_.clear();
                noteRefs_.clear();
                noteCaller_ = true;
                return j;
            case Cls::NoteInner:
                return j;  // a note part outside any note: nothing to keep
            case Cls::Char:
                OpenMarker(name, pos, false);
                return j;
            case Cls::DropChar:
                OpenMarker(name, pos, true);
                return j;
            case Cls::Cell:
                Text(" ");
                return j;
            case Cls::Unknown:
                report_.Warn("unknown markers, their words kept as verse text",
                             "\\" + std::string(name) + " at " + Where(pos));
                OpenMarker(name, pos, false);
                return j;
            default:
                break;
        }

        EndBlock();
        switch (cls) {
            case Cls::Id:
            case Cls::Drop:
                captureName_ = std::string(name);
                captured_.clear();
                block_ = (cls == Cls::Id || name == "h" || name == "toc1" || name == "toc2" ||
                          name == "toc3")
                             ? Block::Capture
                             : Block::Drop;
                return j;
            case Cls::HeadingD:
            case Cls::HeadingE:
                block_ = Block::Heading;
                headingKind_ = cls == Cls::HeadingD ? 'D' : 'E';
                captured_.clear();
                return j;
            case Cls::Para:
                block_ = chapter_ == 0 && verse_ == 0 ? Block::Drop : Block::Text;
                return j;
            case Cls::Chapter:
                return ChapterMarker(pos, j);
            case Cls::Verse:
                return VerseMarker(pos, j);
            default:
                return j;
        }
    }

    // A character marker opened inside those already open. Real books nest
    // two or three; past a thousand the file is damaged, refused before its
    // markers fill the memory.
    void OpenMarker(std::string_view name, std::size_t pos, bool drop) {
        if (open_.size() >= kMaxMarkerDepth) {
            const std::string where = Where(pos);
            throw ImportError("Le fichier USFM « " + book_.file + " » est endommagé (ligne " +
                              where.substr(where.rfind(':') + 1) +
                              ") : ses marqueurs de caractères s'emboîtent sur plus de mille "
                              "niveaux.");
        }
        open_.push_back({std::string(name), drop, false, -1, {}});
        const bool dropping =
            std::any_of(open_.begin(), open_.end(), [](const Open& o) { return o.drop; });
        if (name == "w" && !dropping && block_ == Block::Text && verseOpen_) {
            verseText_ += words::kWordOpen;
            open_.back().tag = static_cast<int>(tags_.size());
            tags_.emplace_back();
        }
    }

    // The tag of a \w word once its attributes are read: strong="G26",
    // lemma="amour", x-morph="robinson:N-ASF"; a bare value is its lemma.
    void EndWord(const Open& word) {
        if (word.tag < 0) return;
        verseText_ += words::kWordClose;
        std::string strong, lemma, morph;
        std::string_view a = word.attributeText;
        while (!a.empty()) {
            const std::size_t eq = a.find('=');
            const std::size_t quote = eq == std::string_view::npos ? eq : a.find('"', eq);
            if (quote == std::string_view::npos) {
                if (lemma.empty()) lemma = std::string(a);
                break;
            }
            const std::size_t close = a.find('"', quote + 1);
            const std::string_view key = a.substr(0, eq);
            const std::string_view value =
                a.substr(quote + 1, close == std::string_view::npos ? a.npos : close - quote - 1);
            const std::size_t first = key.find_first_not_of(" \t");
            const std::string_view name =
                first == std::string_view::npos ? key.substr(0, 0) : key.substr(first);
            if (name.substr(0, 6) == "strong")
                for (std::size_t k = 0; k <= value.size();) {
                    std::size_t comma = value.find(',', k);
                    if (comma == std::string_view::npos) comma = value.size();
                    strong += " strong:" + std::string(value.substr(k, comma - k));
                    k = comma + 1;
                }
            else if (name == "lemma")
                lemma = std::string(value);
            else if (name == "x-morph" || name == "morph")
                morph = std::string(value);
            if (close == std::string_view::npos) break;
            a.remove_prefix(close + 1);
        }
        std::string both = strong;
        if (!lemma.empty() && lemma.find(' ') == std::string::npos) both += " lemma:" + lemma;
        tags_[static_cast<std::size_t>(word.tag)] =
            words::TagFromAttributes(both, morph, book_.number <= 39);
    }

    void CloseMarker(std::string_view name) {
        if (inNote_) {
            if (name == noteName_) EndNote(true);
            return;
        }
        for (std::size_t k = open_.size(); k-- > 0;) {
            if (open_[k].name == name) {
                for (std::size_t inner = open_.size(); inner-- > k;)
                    EndWord(open_[inner]);
                open_.resize(k);
                return;
            }
        }
    }

    // The number after \c or \v: digits, maybe with a letter ("12a") or a
    // second number ("12-13", "12,13"). Words glued to it ("1Au") stay text.
    std::string_view NumberAt(std::size_t& j) {
        auto digit = [&](std::size_t k) {
            return k < s_.size() && std::isdigit(static_cast<unsigned char>(s_[k]));
        };
        auto suffix = [&](std::size_t k) {  // one lower-case letter ending the number
            return k < s_.size() && s_[k] >= 'a' && s_[k] <= 'z' &&
                   !(k + 1 < s_.size() && std::isalpha(static_cast<unsigned char>(s_[k + 1])));
        };
        while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t'))
            ++j;
        const std::size_t start = j;
        while (digit(j))
            ++j;
        if (j > start && suffix(j)) ++j;
        if (j > start && j + 1 < s_.size() && (s_[j] == '-' || s_[j] == ',') && digit(j + 1)) {
            ++j;
            while (digit(j))
                ++j;
            if (suffix(j)) ++j;
        }
        std::string_view token = s_.substr(start, j - start);
        if (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t' || s_[j] == '\n' || s_[j] == '\r')) ++j;
        return token;
    }

    static int LeadingNumber(std::string_view token) {
        int n = 0;
        std::size_t k = 0;
        for (; k < token.size() && std::isdigit(static_cast<unsigned char>(token[k])); ++k)
            n = std::min(n * 10 + (token[k] - '0'), 100000);
        return k == 0 ? -1 : n;
    }

    std::size_t ChapterMarker(std::size_t pos, std::size_t j) {
        std::string_view token = NumberAt(j);
        int n = LeadingNumber(token);
        CloseVerse();
        if (n < 0) {
            report_.Warn("\\c markers without a number, ignored", Where(pos));
            block_ = Block::Text;
            return j;
        }
        if (n != chapter_ + 1)
            report_.Warn("chapter numbers out of sequence",
                         book_.code + " " + std::to_string(n) + " after " +
                             std::to_string(chapter_) + " (" + Where(pos) + ")");
        chapter_ = n;
        verse_ = 0;
        lastVerse_ = 0;
        if (n >= 1 && n <= kMaxChapter) book_.chapterCount = std::max(book_.chapterCount, n);
        block_ = Block::Text;
        return j;
    }

    std::size_t VerseMarker(std::size_t pos, std::size_t j) {
        while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t'))
            ++j;
        const bool negative = j + 1 < s_.size() && s_[j] == '-' &&
                              std::isdigit(static_cast<unsigned char>(s_[j + 1]));
        if (negative) ++j;
        std::string_view token = NumberAt(j);
        int n = LeadingNumber(token);
        CloseVerse();
        block_ = Block::Text;
        if (chapter_ == 0) {
            report_.Warn("verses before the first \\c, taken as chapter 1", Where(pos));
            chapter_ = 1;
            book_.chapterCount = std::max(book_.chapterCount, 1);
        }
        // A verse the file does not number, or numbers 0 or below: its
        // words are left out with it, and the reader told where.
        if (n <= 0 || negative) {
            const char* kind = n < 0 ? kVerseUnnumbered : negative ? kVerseNegative : kVerseZero;
            report_.Warn(kind, (book_.code.empty() ? book_.file : book_.code) + " " +
                                   std::to_string(chapter_) + ":" + (negative ? "-" : "") +
                                   std::string(token) + " (" + Where(pos) + ")");
            return j;
        }
        if (token.size() != std::to_string(n).size())
            report_.Warn("verse numbers with a range or a letter, kept as their first number",
                         "\\v " + std::string(token) + " at " + Where(pos));
        verse_ = n;
        if (n != lastVerse_ + 1)
            report_.Warn("verse numbers out of sequence",
                         book_.code + " " + std::to_string(chapter_) + ":" + std::to_string(n) +
                             (lastVerse_ == 0 ? " first in its chapter"
                                              : " after " + std::to_string(chapter_) + ":" +
                                                    std::to_string(lastVerse_)) +
                             " (" + Where(pos) + ")");
        lastVerse_ = n;
        // A range ("2-3") ends at its second number: verse 4 follows it.
        if (std::size_t dash = token.find('-'); dash != std::string_view::npos)
            lastVerse_ = std::max(n, LeadingNumber(token.substr(dash + 1)));
        if (n < 1 || n > kMaxVerse || chapter_ < 1 || chapter_ > kMaxChapter) {
            report_.Warn("verses beyond chapter 150 or verse 176, skipped",
                         VersePlace() + " (" + Where(pos) + ")");
            return j;
        }
        verseOpen_ = true;
        verseText_.clear();
        tags_.clear();
        afterHeading_ = false;
        for (Pending& p : pending_)
            book_.headings.push_back({p.kind, book_.number, chapter_, n, std::move(p.title)});
        pending_.clear();
        return j;
    }

    void CloseVerse() {
        if (!verseOpen_) return;
        verseOpen_ = false;
        // A word still open at the verse's end closes there.
        for (Open& o : open_) {
            EndWord(o);
            o.tag = -1;
        }
        std::string text = conv_.Convert(verseText_, VersePlace());
        words::VerseWords verse = words::PlaceTags(book_.number, chapter_, verse_, text, tags_);
        if (!verse.tags.empty()) book_.words.push_back(std::move(verse));
        book_.verses.push_back({book_.number, chapter_, verse_, std::move(text)});
    }

    void EndNote(bool closed) {
        inNote_ = false;
        if (noteName_ != "x" && noteName_ != "ex") return;
        if (!closed) noteRefs_.clear();  // an unclosed note's text is not trusted
        if (verseOpen_ && block_ == Block::Text) {
            if (!IsBlank(noteRefs_)) book_.notes.push_back({chapter_, verse_, noteRefs_, {}});
        } else if (block_ == Block::Heading) {
            report_.Warn("cross-reference notes in headings, dropped",
                         book_.code + " " + std::to_string(chapter_) + ": " + noteRefs_);
        }
    }

    void EndBlock() {
        for (std::size_t k = open_.size(); k-- > 0;)
            EndWord(open_[k]);
        open_.clear();
        if (block_ == Block::Heading) {
            std::string title = conv_.Convert(captured_, VersePlace());
            if (!title.empty()) pending_.push_back({headingKind_, std::move(title)});
            afterHeading_ = verseOpen_;
        } else if (block_ == Block::Capture) {
            std::string text(captured_);
            std::size_t a = text.find_first_not_of(" \t\r\n");
            std::size_t b = text.find_last_not_of(" \t\r\n");
            text = a == std::string::npos ? "" : text.substr(a, b - a + 1);
            if (captureName_ == "id") {
                std::string code = text.substr(0, text.find_first_of(" \t"));
                for (char& c : code)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                book_.code = code;
                book_.number = datawriter::BookNumberOfCode(code);
            } else if (captureName_ == "toc1") {
                book_.toc1 = text;
            } else if (captureName_ == "toc2") {
                book_.toc2 = text;
            } else if (captureName_ == "toc3") {
                book_.toc3 = text;
            } else if (captureName_ == "h") {
                book_.runningHead = text;
            }
        }
        block_ = Block::None;
    }

    // USFM's own spacing signs: "~" a no-break space, "//" a possible line
    // break.
    static void AppendText(std::string& out, std::string_view run) {
        for (std::size_t k = 0; k < run.size(); ++k) {
            if (run[k] == '~') {
                out += "\xC2\xA0";
            } else if (run[k] == '/' && k + 1 < run.size() && run[k + 1] == '/') {
                out += ' ';
                ++k;
            } else {
                out += run[k];
            }
        }
    }

    void Text(std::string_view run) {
        if (inNote_) {
            if (noteCaller_) {
                // The caller ("+", "-" or a letter) opens the note.
                std::size_t k = run.find_first_not_of(" \t\r\n");
                if (k == std::string_view::npos) return;
                noteCaller_ = false;
                run = run.substr(k + 1);
            }
            if (noteInner_ == "xt") noteRefs_.append(run);
            return;
        }
        // Attributes after "|" inside a character marker (\w word|lemma\w*).
        const bool dropping =
            std::any_of(open_.begin(), open_.end(), [](const Open& o) { return o.drop; });
        std::string kept;
        for (std::size_t k = 0; k < run.size(); ++k) {
            if (!dropping && !open_.empty() && open_.back().attributes && open_.back().tag >= 0 &&
                open_.back().attributeText.size() < 4096)
                open_.back().attributeText += run[k];
            if (dropping || (!open_.empty() && open_.back().attributes)) continue;
            if (run[k] == '|' && !open_.empty()) {
                open_.back().attributes = true;
                continue;
            }
            kept += run[k];
        }
        switch (block_) {
            case Block::Capture:
            case Block::Heading:
                AppendText(captured_, kept);
                break;
            case Block::Text:
                if (verseOpen_) {
                    if (afterHeading_ && !IsBlank(kept)) {
                        report_.Warn(
                            "headings inside a verse, placed before the next verse "
                            "(the verse keeps all its words)",
                            VersePlace());
                        afterHeading_ = false;
                    }
                    AppendText(verseText_, kept);
                } else if (!IsBlank(kept)) {
                    report_.Warn("text outside any verse, dropped",
                                 VersePlace() + ": " + std::string(kept.substr(0, 60)));
                }
                break;
            default:
                break;
        }
    }

    std::string_view s_;
    TextConverter& conv_;
    Report& report_;
    UsfmBook book_;

    std::size_t lineCountedTo_ = 0;
    int line_ = 1;

    Block block_ = Block::None;
    std::string captureName_, captured_;
    char headingKind_ = 'E';
    std::vector<Pending> pending_;
    std::vector<Open> open_;

    int chapter_ = 0, verse_ = 0, lastVerse_ = 0;
    bool verseOpen_ = false, afterHeading_ = false;
    std::string verseText_;
    std::vector<words::WordTag> tags_;  // of the verse's marked words, in order

    bool inNote_ = false, noteCaller_ = false;
    std::string noteName_, noteInner_, noteRefs_;
};

}  // namespace

UsfmBook ParseUsfmBook(std::string_view utf8, const std::string& file, TextConverter& text,
                       Report& report) {
    return BookParser(utf8, file, text, report).Run();
}

std::vector<dw::CrossRefRecord> ResolveCrossRefs(const std::vector<UsfmBook>& books,
                                                 const VerseIndex& verses, Report& report) {
    std::vector<dw::CrossRefRecord> out;
    int notes = 0, unread = 0, missing = 0;
    for (const UsfmBook& book : books) {
        for (const UsfmBook::Note& note : book.notes) {
            ++notes;
            RefList list = note.osisRefs.empty()
                               ? ParseFrenchRefs(note.refs, book.number, note.chapter)
                               : ParseOsisRefs(note.osisRefs, verses);
            const std::string where = Place(book.number, note.chapter, note.verse);
            for (const std::string& piece : list.unread) {
                ++unread;
                report.Warn("cross-reference targets not understood, skipped",
                            where + ": \"" + piece + "\" in \"" + note.refs + "\"", 40);
            }
            for (const RefTarget& t : list.targets) {
                int last = t.last == t.first ? 0 : t.last;
                if (!verses.HasTarget(t.book, t.chapter, t.first, last)) {
                    ++missing;
                    std::string target = Place(t.book, t.chapter, t.first);
                    if (last) target += "-" + std::to_string(last);
                    report.Warn("cross-reference targets naming a verse the text lacks, skipped",
                                where + " -> " + target + " in \"" + note.refs + "\"", 40);
                    continue;
                }
                out.push_back(
                    {book.number, note.chapter, note.verse, 0, t.book, t.chapter, t.first, last});
            }
        }
    }
    const int total = static_cast<int>(out.size()) + unread + missing;
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.2f",
                  total ? 100.0 * static_cast<double>(out.size()) / total : 100.0);
    report.Info("cross-reference notes: " + std::to_string(notes) +
                ", targets: " + std::to_string(total) + ", kept: " + std::to_string(out.size()) +
                " (" + percent + " %), not understood: " + std::to_string(unread) +
                ", naming missing verses: " + std::to_string(missing));
    return out;
}

namespace {

// The book code of a file's \id line, when it comes first, to name the
// book before it is read.
int PeekBookNumber(std::string_view bytes) {
    const std::size_t id = bytes.substr(0, 4096).find("\\id ");
    if (id == std::string_view::npos) return 0;
    std::string_view code = bytes.substr(id + 4, 3);
    return code.size() == 3 ? datawriter::BookNumberOfCode(code) : 0;
}

// What a book's \ide line says of its encoding.
StatedEncoding StatedInIde(std::string_view bytes) {
    const std::size_t at = bytes.substr(0, 4096).find("\\ide ");
    if (at == std::string_view::npos) return StatedEncoding::None;
    std::string value(bytes.substr(at + 5, 20));
    value = value.substr(0, value.find_first_of("\r\n\\"));
    for (char& c : value)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (value.find("utf-8") != std::string::npos || value.find("utf8") != std::string::npos ||
        value.find("65001") != std::string::npos)
        return StatedEncoding::Utf8;
    for (const char* name : {"1252", "8859-1", "8859-15", "latin"})
        if (value.find(name) != std::string::npos) return StatedEncoding::Cp1252;
    return StatedEncoding::None;
}

}  // namespace

BibleData ImportUsfmFiles(std::vector<SourceFile> files, const std::string& source,
                          const UsfmImportOptions& options, Report& report) {
    TextConverter text;
    std::vector<UsfmBook> parsed;
    for (SourceFile& file : files) {
        if (options.cancelled && options.cancelled()) throw ImportCancelled();
        const std::string& name = file.name;
        if (file.bytes.empty()) {
            report.Warn("empty files, skipped", name);
            continue;
        }
        if (options.reading) {
            const int peek = PeekBookNumber(file.bytes);
            if (peek != 0) options.reading(std::string(datawriter::kCanon[peek - 1].name));
        }
        const std::string bytes = SourceToUtf8(file.bytes, StatedInIde(file.bytes), name, report);
        file.bytes = {};
        UsfmBook book = ParseUsfmBook(bytes, name, text, report);
        if (book.code.empty()) {
            report.Warn("files without an \\id line, skipped", name);
            continue;
        }
        parsed.push_back(std::move(book));
    }
    return AssembleBible(std::move(parsed), source, options, text, report,
                         "Ce fichier ne contient aucun livre de la Bible au format USFM.");
}

BibleData AssembleBible(std::vector<UsfmBook> parsed, const std::string& source,
                        const UsfmImportOptions& options, TextConverter& text, Report& report,
                        const std::string& noBook) {
    std::vector<UsfmBook> books(kBooks);
    for (UsfmBook& book : parsed) {
        const std::string& name = book.file;
        if (book.number == 0) {
            report.Warn("books outside the 66, skipped", book.code + " (" + name + ")", 40);
            continue;
        }
        if (!books[book.number - 1].code.empty()) {
            if (!options.partial) {
                throw std::runtime_error("book " + book.code + " given twice: " +
                                         books[book.number - 1].file + " and " + name);
            }
            report.Warn(
                "books given twice, the later file skipped",
                book.code + ": " + books[book.number - 1].file + " kept, " + name + " skipped");
            report.Warn(kGivenTwice,
                        std::string(datawriter::kCanon[book.number - 1].name) +
                            " est donnée deux fois : « " + books[book.number - 1].file +
                            " » gardé, « " + name + " » laissé de côté.",
                        3);
            continue;
        }
        books[book.number - 1] = std::move(book);
    }
    parsed.clear();
    std::string missing;
    int found = 0;
    for (int b = 1; b <= kBooks; ++b) {
        if (books[b - 1].code.empty()) {
            missing += (missing.empty() ? "" : " ") + std::string(datawriter::kCanon[b - 1].code);
            books[b - 1].number = b;  // its place in the book table, without chapters
        } else {
            ++found;
        }
    }
    if (found == 0) throw ImportError(noBook);
    if (!missing.empty()) {
        if (!options.partial)
            throw std::runtime_error("books missing from " + source + ": " + missing);
        report.Info("books missing from the source: " + missing);
    }

    BibleData bible;
    bible.source = source;
    for (UsfmBook& book : books) {
        const auto& canon = datawriter::kCanon[book.number - 1];
        bible.books.push_back(
            {std::string(canon.name), std::string(canon.abbreviation), book.chapterCount});
        // Its own short name first, as a list of books shows it.
        const std::string& own = !book.toc2.empty()          ? book.toc2
                                 : !book.runningHead.empty() ? book.runningHead
                                                             : book.toc1;
        if (!own.empty()) {
            bible.ownBookNames.resize(kBooks);
            bible.ownBookNames[static_cast<std::size_t>(book.number - 1)] = own;
        }
        if (!book.toc2.empty() && book.toc2 != canon.name) {
            report.Warn("book names taken from the French canon where the short title differs",
                        "\"" + book.toc2 + "\" -> \"" + std::string(canon.name) + "\"", 66);
        }
        if (!book.code.empty() && book.chapterCount != canon.chapters) {
            report.Warn("books whose chapter count differs from the usual one",
                        book.code + ": " + std::to_string(book.chapterCount) + " instead of " +
                            std::to_string(canon.chapters));
        }
        for (dw::VerseEntry& v : book.verses)
            bible.verses.push_back(std::move(v));
        book.verses.clear();
        for (words::VerseWords& w : book.words)
            bible.words.push_back(std::move(w));
        book.words.clear();
        for (dw::IndexRecord& h : book.headings)
            bible.headings.push_back(std::move(h));
    }

    VerseIndex index(bible.verses);
    for (int b = 1; b <= kBooks; ++b) {
        for (int c = 1; c <= bible.books[b - 1].chapterCount; ++c) {
            if (!index.Has(b, c, 1)) report.Warn("chapters without a verse 1", Place(b, c, 1));
        }
    }
    for (const dw::VerseEntry& v : bible.verses)
        if (v.text.empty()) report.Warn("verses without text", Place(v.book, v.chapter, v.verse));
    bible.crossRefs = ResolveCrossRefs(books, index, report);
    text.ReportTo(report);
    FinishBible(bible, report);
    return bible;
}

std::vector<int> MissingBooks(const BibleData& bible) {
    std::vector<int> missing;
    for (std::size_t b = 0; b < bible.books.size(); ++b)
        if (bible.books[b].chapterCount == 0) missing.push_back(static_cast<int>(b) + 1);
    return missing;
}

std::vector<SourceFile> ReadUsfmBooks(const fs::path& source) {
    std::error_code ec;
    if (!fs::exists(source, ec))
        throw std::runtime_error("USFM source not found: " + source.string());
    // A folder's USFM books alone, not the XML files it may hold instead.
    std::vector<SourceFile> files =
        fs::is_directory(source, ec) ? ReadUsfmFolder(source) : ReadUsfmSource(source);
    if (files.empty()) throw std::runtime_error("no .usfm or .sfm file in " + source.string());
    return files;
}

BibleData ImportUsfm(const fs::path& source, Report& report) {
    return ImportUsfmFiles(ReadUsfmBooks(source), "USFM " + source.string(), {}, report);
}

}  // namespace lorvane::importer
