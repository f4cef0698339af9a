#include "BibleXml.h"

#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <utility>

#include "Canon.h"
#include "Cp1252.h"
#include "UsfmSource.h"
#include "WordTags.h"

namespace lorvane::importer {
namespace {

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string Utf8(QStringView s) {
    return s.toString().toStdString();
}

// Numbers past this are no chapter or verse of any Bible: damage.
constexpr long long kNoBible = 1000;
// What Number gives for a value without digits.
constexpr long long kNoNumber = -(kNoBible + 1);
// Verses in one file: a whole Bible with its deuterocanonical books has
// fewer than 40,000.
constexpr int kMaxVerses = 100000;

// What ends with an element.
enum class End { None, Verse, Heading, Drop, Note, NoteText, Name, Space, Book, Word };

// The books of one file as the elements give them, whatever the form: the
// state of the book, chapter and verse being read, where the text goes, and
// the checks every form shares.
class Collector {
  public:
    Collector(std::string form, const std::string& file, TextConverter& text, Report& report,
              const XmlSteps& steps)
        : form_(std::move(form)), file_(file), conv_(text), report_(report), steps_(steps) {}

    void SetLine(long long line) { line_ = line; }

    [[noreturn]] void Damaged(const std::string& why) const {
        throw ImportError("Ce fichier " + form_ + " est endommagé (ligne " + std::to_string(line_) +
                          ") : " + why);
    }

    void Book(int number, const std::string& code) {
        if (inBook_ && number == book_.number && code == book_.code) return;
        EndBook();
        book_ = {};
        book_.file = file_;
        book_.code = code;
        book_.number = number;
        inBook_ = true;
        chapter_ = 0;
        chapters_ = 0;
        if (++books_ > 1000) Damaged("il donne plus de mille livres.");
        if (steps_.cancelled && steps_.cancelled()) throw ImportCancelled();
        if (steps_.reading && number >= 1 && number <= kBooks)
            steps_.reading(std::string(datawriter::kCanon[number - 1].name));
    }

    // The book's own name, as the source writes it.
    void OwnName(const std::string& name) {
        if (inBook_ && book_.toc2.empty() && !name.empty())
            book_.toc2 = conv_.Convert(name, "bname");
    }

    void EndBook() {
        if (!inBook_) return;
        CloseVerse();
        for (const auto& p : pending_)
            report_.Warn("headings after the last verse of a book, dropped",
                         book_.code + ": " + p.second);
        pending_.clear();
        out_.books.push_back(std::move(book_));
        book_ = {};
        inBook_ = false;
    }

    // A number of the file: digits, maybe followed by a letter or a range
    // ("12a", "12-13") of which the first number counts, or below 0.
    // kNoNumber when there is none; numbers too large for the format are
    // refused as damage.
    long long Number(std::string_view value, const char* what) const {
        const std::size_t a = value.find_first_not_of(" \t\r\n");
        if (a == std::string_view::npos) return kNoNumber;
        value = value.substr(a);
        long long n = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec == std::errc::result_out_of_range ||
            (ec == std::errc() && (n > kNoBible || n < -kNoBible)))
            Damaged("le " + std::string(what) + " « " + std::string(value.substr(0, 20)) +
                    " » n'existe dans aucune Bible.");
        if (ec != std::errc()) return kNoNumber;
        if (end != value.data() + value.size() && !IsBlank({end, value.data() + value.size()}))
            report_.Warn("verse numbers with a range or a letter, kept as their first number",
                         std::string(value) + " (" + Where() + ")");
        return n;
    }

    void Chapter(std::string_view value) {
        const long long n = Number(value, "chapitre");
        if (!inBook_) Damaged("un chapitre se trouve hors de tout livre.");
        if (n < 1)
            Damaged("le chapitre « " + std::string(value.substr(0, 20)) + " » de " + BookName() +
                    " n'existe pas.");
        if (++chapters_ > kMaxChapter + 50)
            Damaged(BookName() + " a plus de " + std::to_string(kMaxChapter + 50) + " chapitres.");
        CloseVerse();
        chapter_ = static_cast<int>(n);
        lastVerse_ = 0;
        // A chapter the format cannot hold (a Psalm 151) is left out.
        if (chapter_ <= kMaxChapter) book_.chapterCount = std::max(book_.chapterCount, chapter_);
    }

    void Verse(std::string_view value) {
        const long long n = Number(value, "verset");
        CloseVerse();
        if (!inBook_) Damaged("un verset se trouve hors de tout livre.");
        if (++verses_ > kMaxVerses)
            Damaged("il donne plus de " + std::to_string(kMaxVerses) + " versets.");
        if (chapter_ == 0) {
            report_.Warn("verses before the first chapter, taken as chapter 1", Where());
            chapter_ = 1;
            ++chapters_;
            book_.chapterCount = std::max(book_.chapterCount, 1);
        }
        if (n < 1) {
            // Left out, and the reader told where.
            const char* kind = n == kNoNumber ? kVerseUnnumbered
                               : n == 0       ? kVerseZero
                                              : kVerseNegative;
            report_.Warn(kind, book_.code + " " + std::to_string(chapter_) + ":" +
                                   (n == kNoNumber ? "" : std::to_string(n)) + " (" + Where() +
                                   ")");
            return;
        }
        verse_ = static_cast<int>(n);
        if (verse_ > kMaxVerse || chapter_ > kMaxChapter) {
            report_.Warn("verses beyond chapter 150 or verse 176, skipped", Place());
            return;
        }
        if (verse_ != lastVerse_ + 1)
            report_.Warn("verse numbers out of sequence",
                         book_.code + " " + std::to_string(chapter_) + ":" +
                             std::to_string(verse_) +
                             (lastVerse_ == 0 ? " first in its chapter"
                                              : " after " + std::to_string(chapter_) + ":" +
                                                    std::to_string(lastVerse_)) +
                             " (" + Where() + ")");
        lastVerse_ = verse_;
        verseOpen_ = true;
        verseText_.clear();
        tags_.clear();
        for (auto& p : pending_)
            book_.headings.push_back(
                {p.first, book_.number, chapter_, verse_, std::move(p.second)});
        pending_.clear();
    }

    void CloseVerse() {
        if (!verseOpen_) return;
        verseOpen_ = false;
        if (book_.number == 0) {
            tags_.clear();
            return;
        }
        std::string text = conv_.Convert(verseText_, Place());
        words::VerseWords verse = words::PlaceTags(book_.number, chapter_, verse_, text, tags_);
        if (!verse.tags.empty()) book_.words.push_back(std::move(verse));
        book_.verses.push_back({book_.number, chapter_, verse_, std::move(text)});
    }

    // A word with its Strong's numbers and parsing (<w lemma morph>): marked
    // in the verse text when it is verse text, its tag kept when it says
    // something. The '/' a Hebrew word's parts are divided by is not text.
    void BeginWord(std::string_view lemma, std::string_view morph) {
        const bool marked = verseOpen_ && drop_ == 0 && note_ == 0 && heading_ == 0 && name_ == 0 &&
                            book_.number != 0;
        words::WordTag tag = words::TagFromAttributes(lemma, morph, book_.number <= 39);
        const bool divided =
            lemma.find('/') != std::string_view::npos || morph.find('/') != std::string_view::npos;
        const bool kept = marked && words::HasContent(tag);
        if (kept) {
            verseText_ += words::kWordOpen;
            tags_.push_back(std::move(tag));
        }
        openWords_.push_back({kept, divided});
        if (divided) ++divided_;
    }
    void EndWord() {
        if (openWords_.empty()) return;
        const OpenWord w = openWords_.back();
        openWords_.pop_back();
        if (w.divided) --divided_;
        if (w.kept) verseText_ += words::kWordClose;
    }

    // The end of a verse element. One that held nothing at all
    // (<verse osisID="Gen.1.1"/>) stands for a milestone: its text follows.
    void EndVerseElement() {
        if (verseOpen_ && !verseText_.empty()) CloseVerse();
    }

    void Text(std::string_view utf8) {
        if (name_ > 0) {
            out_.name += utf8;
        } else if (drop_ > 0) {
            return;
        } else if (note_ > 0) {
            if (noteText_ > 0) noteRefs_ += utf8;
        } else if (heading_ > 0) {
            heading_text_ += utf8;
        } else if (verseOpen_) {
            if (divided_ > 0) {
                for (char ch : utf8)
                    if (ch != '/') verseText_ += ch;
            } else {
                verseText_ += utf8;
            }
        } else if (!IsBlank(utf8) && inBook_ && book_.number != 0) {
            report_.Warn("text outside any verse, dropped",
                         Place() + ": " + std::string(utf8.substr(0, 60)));
        }
    }

    void Space() { Text(" "); }

    void BeginHeading(char kind) {
        if (heading_++ == 0) {
            headingKind_ = kind;
            heading_text_.clear();
        }
    }
    void EndHeading() {
        if (--heading_ > 0) return;
        // A book's own title, before its first chapter, is no heading.
        if (!inBook_ || chapter_ == 0 || book_.number == 0) return;
        std::string title = conv_.Convert(heading_text_, Place());
        if (title.empty()) return;
        if (verseOpen_ && IsBlank(verseText_)) {
            // At the start of its verse: the heading of that verse.
            book_.headings.push_back({headingKind_, book_.number, chapter_, verse_, title});
        } else {
            pending_.emplace_back(headingKind_, std::move(title));
        }
    }

    // A cross-reference note; its text is read as French references when it
    // names no osisRef. textInside: all of its text counts (else only that
    // of the parts marked with BeginNoteText).
    void BeginNote(bool textInside) {
        if (note_++ > 0) return;
        noteRefs_.clear();
        noteOsis_.clear();
        noteText_ = textInside ? 1 : 0;
    }
    void NoteText(bool on) { noteText_ += on ? 1 : -1; }
    void NoteOsisRef(std::string ref) {
        if (note_ > 0) noteOsis_.push_back(std::move(ref));
    }
    void EndNote() {
        if (--note_ > 0) return;
        noteText_ = 0;
        if (!verseOpen_ || heading_ > 0 || book_.number == 0) return;
        if (!noteOsis_.empty() || !IsBlank(noteRefs_))
            book_.notes.push_back({chapter_, verse_, noteRefs_, std::move(noteOsis_)});
        noteOsis_.clear();
    }

    void MajorSection(bool on) { majorSection_ = on; }
    bool TakeMajorSection() { return std::exchange(majorSection_, false); }
    void Drop(int delta) { drop_ += delta; }
    void Name(int delta) { name_ += delta; }
    bool InNote() const { return note_ > 0; }
    int BookNumber() const { return inBook_ ? book_.number : -1; }
    int ChapterNumber() const { return chapter_; }

    XmlBible Finish() {
        EndBook();
        out_.name = conv_.Convert(out_.name, "title");
        return std::move(out_);
    }

  private:
    std::string BookName() const {
        return book_.number >= 1 && book_.number <= kBooks
                   ? std::string(datawriter::kCanon[book_.number - 1].name)
                   : "« " + book_.code + " »";
    }
    std::string Place() const {
        return book_.code + " " + std::to_string(chapter_) + ":" + std::to_string(verse_);
    }
    std::string Where() const { return file_ + ":" + std::to_string(line_); }

    std::string form_;
    const std::string& file_;
    TextConverter& conv_;
    Report& report_;
    const XmlSteps& steps_;
    long long line_ = 0;
    XmlBible out_;

    UsfmBook book_;
    bool inBook_ = false;
    int books_ = 0;
    int chapter_ = 0, chapters_ = 0, verse_ = 0, lastVerse_ = 0, verses_ = 0;
    bool verseOpen_ = false;
    std::string verseText_;
    std::vector<words::WordTag> tags_;  // of the verse's marked words, in order
    struct OpenWord {
        bool kept, divided;
    };
    std::vector<OpenWord> openWords_;
    int divided_ = 0;

    int drop_ = 0, name_ = 0, heading_ = 0, note_ = 0, noteText_ = 0;
    char headingKind_ = 'E';
    bool majorSection_ = false;
    std::string heading_text_, noteRefs_;
    std::vector<std::string> noteOsis_;
    std::vector<std::pair<char, std::string>> pending_;
};

using StartHandler = std::function<End(const QXmlStreamReader&, Collector&)>;

// Reads the document: the root must be `root`; each start tag goes to
// `start`, which says what its end does.
XmlBible Read(std::string_view utf8, const char* root, const std::string& form,
              const std::string& file, TextConverter& text, Report& report, const XmlSteps& steps,
              const StartHandler& start) {
    Collector c(form, file, text, report, steps);
    QXmlStreamReader xml(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    std::vector<End> ends;
    bool rootSeen = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        c.SetLine(xml.lineNumber());
        switch (token) {
            case QXmlStreamReader::DTD:
                // Entities are never expanded: a file that declares any is
                // refused here, before a reference to one is met.
                if (!xml.entityDeclarations().isEmpty() || xml.text().contains(u"<!ENTITY"))
                    throw ImportError("Ce fichier " + form +
                                      " déclare des entités XML : Lorvane ne lit pas de tels "
                                      "fichiers, par prudence.");
                break;
            case QXmlStreamReader::EntityReference:
                c.Damaged("il renvoie à une entité XML inconnue.");
            case QXmlStreamReader::StartElement:
                if (!rootSeen) {
                    rootSeen = true;
                    if (xml.name().compare(QLatin1String(root), Qt::CaseInsensitive) != 0)
                        throw ImportError("Ce fichier n'est pas un fichier " + form + ".");
                }
                if (ends.size() >= static_cast<std::size_t>(kMaxXmlDepth))
                    c.Damaged("ses éléments s'emboîtent sur plus de mille niveaux.");
                ends.push_back(start(xml, c));
                break;
            case QXmlStreamReader::EndElement: {
                if (ends.empty()) break;
                const End end = ends.back();
                ends.pop_back();
                switch (end) {
                    case End::Verse:
                        c.EndVerseElement();
                        break;
                    case End::Heading:
                        c.EndHeading();
                        break;
                    case End::Drop:
                        c.Drop(-1);
                        break;
                    case End::Note:
                        c.EndNote();
                        break;
                    case End::NoteText:
                        c.NoteText(false);
                        break;
                    case End::Name:
                        c.Name(-1);
                        break;
                    case End::Space:
                        c.Space();
                        break;
                    case End::Book:
                        c.EndBook();
                        break;
                    case End::Word:
                        c.EndWord();
                        break;
                    case End::None:
                        break;
                }
                break;
            }
            case QXmlStreamReader::Characters:
                c.Text(Utf8(xml.text()));
                break;
            default:
                break;
        }
    }
    if (xml.hasError()) {
        c.SetLine(xml.lineNumber());
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            c.Damaged("il s'arrête avant sa fin (téléchargement interrompu ?).");
        c.Damaged("son XML est mal formé, colonne " + std::to_string(xml.columnNumber()) + ".");
    }
    if (!rootSeen) throw ImportError("Ce fichier " + form + " est vide.");
    return c.Finish();
}

std::string Attribute(const QXmlStreamReader& xml, const char* name) {
    return Utf8(xml.attributes().value(QLatin1String(name)));
}

bool Is(const QXmlStreamReader& xml, const char* name) {
    return xml.name() == QLatin1String(name);
}

// The number of a book named by its OSIS name ("Gen", "1Sam") or, as some
// files do, by its USFM code in any case ("GEN", "1sa"); 0 for another.
int BookOf(std::string_view name) {
    if (const int osis = datawriter::BookNumberOfOsis(name)) return osis;
    std::string code(name);
    for (char& ch : code)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return datawriter::BookNumberOfCode(code);
}

// "Gen.1.1": the book, chapter and verse parts ("" where absent).
struct OsisId {
    std::string book, chapter, verse;
};
OsisId SplitOsisId(std::string id) {
    id = id.substr(0, id.find(' '));  // a verse naming several: the first
    if (std::size_t colon = id.find(':'); colon != std::string::npos) id = id.substr(colon + 1);
    OsisId out;
    std::size_t dot = id.find('.');
    out.book = id.substr(0, dot);
    if (dot == std::string::npos) return out;
    std::size_t dot2 = id.find('.', dot + 1);
    out.chapter =
        id.substr(dot + 1, dot2 == std::string::npos ? std::string::npos : dot2 - dot - 1);
    if (dot2 != std::string::npos) out.verse = id.substr(dot2 + 1);
    return out;
}

// Moves the collector to the book and chapter an osisID names, where they
// differ from the current ones.
void FollowOsisId(Collector& c, const OsisId& id) {
    const int book = BookOf(id.book);
    if (book != c.BookNumber())
        c.Book(book, book ? std::string(datawriter::kCanon[book - 1].code) : id.book);
    if (!id.chapter.empty() && std::to_string(c.ChapterNumber()) != id.chapter)
        c.Chapter(id.chapter);
}

End OsisStart(const QXmlStreamReader& xml, Collector& c) {
    if (c.InNote()) {
        if (Is(xml, "reference")) {
            const std::string ref = Attribute(xml, "osisRef");
            if (!ref.empty()) {
                c.NoteOsisRef(ref);
                c.Drop(1);
                return End::Drop;
            }
        }
        if (Is(xml, "note")) {
            c.Drop(1);
            return End::Drop;
        }
        return End::None;
    }
    if (Is(xml, "header") || Is(xml, "figure") || Is(xml, "rdg") || Is(xml, "index")) {
        c.Drop(1);
        return End::Drop;
    }
    if (Is(xml, "div")) {
        // The title of a major section is a major heading.
        c.MajorSection(Attribute(xml, "type") == "majorSection");
        if (Attribute(xml, "type") == "book") {
            const std::string id = Attribute(xml, "osisID");
            const int book = BookOf(SplitOsisId(id).book);
            c.Book(book, book ? std::string(datawriter::kCanon[book - 1].code) : id);
            return End::Book;
        }
        return End::Space;
    }
    if (Is(xml, "chapter")) {
        if (!Attribute(xml, "eID").empty()) return End::None;
        std::string id = Attribute(xml, "osisID");
        if (id.empty()) id = Attribute(xml, "sID");
        if (!id.empty()) {
            const OsisId parts = SplitOsisId(id);
            FollowOsisId(c, parts);
            if (parts.chapter.empty()) c.Damaged("un chapitre n'a pas de numéro.");
        } else if (!Attribute(xml, "n").empty()) {
            c.Chapter(Attribute(xml, "n"));
        }
        return End::None;
    }
    if (Is(xml, "verse")) {
        if (!Attribute(xml, "eID").empty()) {
            c.CloseVerse();
            return End::None;
        }
        std::string id = Attribute(xml, "osisID");
        const bool milestone = !Attribute(xml, "sID").empty();
        if (id.empty()) id = Attribute(xml, "sID");
        const OsisId parts = SplitOsisId(id);
        if (id.empty() || parts.verse.empty()) {
            if (Attribute(xml, "n").empty()) c.Damaged("un verset n'a pas de numéro.");
            c.Verse(Attribute(xml, "n"));
        } else {
            FollowOsisId(c, parts);
            c.Verse(parts.verse);
        }
        return milestone ? End::None : End::Verse;
    }
    if (Is(xml, "title")) {
        const std::string type = Attribute(xml, "type");
        if (type == "runningHead" || type == "x-preverse-running-head") {
            c.Drop(1);
            return End::Drop;
        }
        c.BeginHeading(c.TakeMajorSection() ? 'D' : 'E');
        return End::Heading;
    }
    if (Is(xml, "note")) {
        if (Attribute(xml, "type") == "crossReference") {
            c.BeginNote(true);
            return End::Note;
        }
        c.Drop(1);
        return End::Drop;
    }
    if (Is(xml, "w")) {
        c.BeginWord(Attribute(xml, "lemma"), Attribute(xml, "morph"));
        return End::Word;
    }
    if (Is(xml, "l") || Is(xml, "lg") || Is(xml, "p") || Is(xml, "lb") || Is(xml, "item") ||
        Is(xml, "list") || Is(xml, "cell")) {
        c.Space();
        return End::Space;
    }
    return End::None;
}

End ZefaniaStart(const QXmlStreamReader& xml, Collector& c) {
    if (Is(xml, "INFORMATION")) {
        c.Drop(1);
        return End::Drop;
    }
    if (Is(xml, "title") && c.BookNumber() < 0) {
        // The title of <INFORMATION>: the Bible's name.
        c.Name(1);
        return End::Name;
    }
    if (Is(xml, "BIBLEBOOK")) {
        const std::string n = Attribute(xml, "bnumber");
        long long number = c.Number(n, "livre");
        const int book = number >= 1 && number <= kBooks ? static_cast<int>(number) : 0;
        c.Book(book, book ? std::string(datawriter::kCanon[book - 1].code)
                          : "bnumber " + n + " " + Attribute(xml, "bname"));
        c.OwnName(Attribute(xml, "bname"));
        return End::Book;
    }
    if (Is(xml, "CHAPTER")) {
        c.Chapter(Attribute(xml, "cnumber"));
        return End::None;
    }
    if (Is(xml, "VERS")) {
        c.Verse(Attribute(xml, "vnumber"));
        return End::Verse;
    }
    if (Is(xml, "CAPTION")) {
        c.BeginHeading('E');
        return End::Heading;
    }
    if (Is(xml, "NOTE") || Is(xml, "XREF") || Is(xml, "PROLOG") || Is(xml, "REMARK") ||
        Is(xml, "MEDIA")) {
        c.Drop(1);
        return End::Drop;
    }
    if (Is(xml, "gr")) {
        c.BeginWord(Attribute(xml, "str"), Attribute(xml, "rmac"));
        return End::Word;
    }
    if (Is(xml, "BR")) {
        c.Space();
        return End::None;
    }
    return End::None;
}

// Elements of USFX whose text is no verse text.
bool UsfxDropped(const QXmlStreamReader& xml) {
    for (const char* name :
         {"f",   "fe", "ef", "h",  "toc", "mt",           "id",        "ide",   "rem", "cl",
          "cp",  "ca", "va", "vp", "fig", "is",           "ip",        "io",    "iot", "ipr",
          "imt", "ie", "r",  "mr", "sr",  "languageCode", "generated", "periph"})
        if (Is(xml, name)) return true;
    return false;
}

End UsfxStart(const QXmlStreamReader& xml, Collector& c) {
    if (c.InNote()) {
        if (Is(xml, "xt")) {
            c.NoteText(true);
            return End::NoteText;
        }
        return End::None;
    }
    if (Is(xml, "book")) {
        const std::string code = Attribute(xml, "id");
        c.Book(BookOf(code), code);
        return End::Book;
    }
    if (Is(xml, "c")) {
        c.Chapter(Attribute(xml, "id"));
        return End::None;
    }
    if (Is(xml, "v")) {
        c.Verse(Attribute(xml, "id"));
        return End::None;
    }
    if (Is(xml, "ve")) {
        c.CloseVerse();
        return End::None;
    }
    if (Is(xml, "s") || Is(xml, "ms") || Is(xml, "d")) {
        const std::string style = Attribute(xml, "style");
        c.BeginHeading(Is(xml, "ms") || style.rfind("ms", 0) == 0 ? 'D' : 'E');
        return End::Heading;
    }
    if (Is(xml, "x")) {
        c.BeginNote(false);
        return End::Note;
    }
    if (UsfxDropped(xml)) {
        c.Drop(1);
        return End::Drop;
    }
    if (Is(xml, "p") || Is(xml, "q") || Is(xml, "b") || Is(xml, "li") || Is(xml, "tc") ||
        Is(xml, "th") || Is(xml, "tr") || Is(xml, "optionalLineBreak")) {
        c.Space();
        return End::Space;
    }
    return End::None;
}

}  // namespace

XmlBible ParseOsisXml(std::string_view utf8, const std::string& file, TextConverter& text,
                      Report& report, const XmlSteps& steps) {
    return Read(utf8, "osis", "OSIS", file, text, report, steps, OsisStart);
}

XmlBible ParseZefaniaXml(std::string_view utf8, const std::string& file, TextConverter& text,
                         Report& report, const XmlSteps& steps) {
    return Read(utf8, "XMLBIBLE", "Zefania", file, text, report, steps, ZefaniaStart);
}

XmlBible ParseUsfxXml(std::string_view utf8, const std::string& file, TextConverter& text,
                      Report& report, const XmlSteps& steps) {
    return Read(utf8, "usfx", "USFX", file, text, report, steps, UsfxStart);
}

StatedEncoding StatedInXmlDeclaration(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string_view head = bytes.substr(0, 200);
    if (head.substr(0, 5) != "<?xml") return StatedEncoding::None;
    head = head.substr(0, head.find("?>"));
    const std::size_t at = head.find("encoding");
    if (at == std::string_view::npos) return StatedEncoding::None;
    std::string value(head.substr(at + 8, 30));
    for (char& ch : value)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (value.find("utf-8") != std::string::npos || value.find("utf8") != std::string::npos)
        return StatedEncoding::Utf8;
    for (const char* name : {"1252", "8859-1", "8859-15", "latin"})
        if (value.find(name) != std::string::npos) return StatedEncoding::Cp1252;
    return StatedEncoding::None;
}

}  // namespace lorvane::importer
