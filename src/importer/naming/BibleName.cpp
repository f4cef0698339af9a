#include "BibleName.h"

#include <archive.h>
#include <archive_entry.h>

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <optional>

#include "BibleText.h"
#include "BibleXml.h"
#include "Canon.h"
#include "FormSniffing.h"
#include "Report.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

// A metadata file larger than this is no bundle's.
constexpr std::size_t kMetadataCap = std::size_t{1} << 20;
// The part of a book file where its \id and titles are looked for.
constexpr std::size_t kHeaderCap = 16384;
// The part of an OSIS or Zefania file where its header is looked for.
constexpr std::size_t kXmlHeaderCap = 256 * 1024;

std::string AsUtf8(std::string_view bytes) {
    Report ignored;
    return SourceToUtf8(bytes, StatedEncoding::None, "", ignored);
}

std::u32string CodePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t pos = 0; pos < utf8.size();)
        out += NextCodePoint(utf8, pos);
    return out;
}

std::string Utf8Of(std::u32string_view cps) {
    std::string out;
    for (char32_t cp : cps)
        AppendUtf8(out, cp);
    return out;
}

std::string Lower(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()))
        .toCaseFolded()
        .toStdString();
}

bool SameText(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

std::string Utf8(QStringView text) {
    return text.toString().toStdString();
}

// ---- USFM headers ----------------------------------------------------------

// The words of a USFM line: notes dropped, markers and the attributes of
// \w dropped.
std::string StripMarkers(std::string_view line) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '|') {
            // Attributes run to the closing marker.
            const std::size_t end = line.find('\\', i);
            i = end == std::string_view::npos ? line.size() : end;
            continue;
        }
        if (line[i] != '\\') {
            out += line[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < line.size() &&
               (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '+'))
            ++end;
        const std::string_view marker = line.substr(i + 1, end - i - 1);
        const bool closing = end < line.size() && line[end] == '*';
        if (closing) {
            i = end + 1;
            continue;
        }
        if (marker == "f" || marker == "fe" || marker == "x" || marker == "ef" || marker == "ex") {
            const std::string close = "\\" + std::string(marker) + "*";
            const std::size_t at = line.find(close, end);
            i = at == std::string_view::npos ? line.size() : at + close.size();
            continue;
        }
        i = end < line.size() && line[end] == ' ' ? end + 1 : end;
        out += ' ';
    }
    return out;
}

struct BookHeader {
    std::string code;                 // "GEN"
    std::string description;          // of the \id line, UTF-8
    std::string toc1, toc2, toc3, h;  // the book's own titles
    std::string mt;                   // its first main title
};

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', at);
        if (start == std::string_view::npos) break;
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

std::string Join(const std::vector<std::string_view>& words) {
    std::string out;
    for (std::string_view w : words)
        out += (out.empty() ? "" : " ") + std::string(w);
    return out;
}

bool IsFileName(std::string_view word) {
    if (word.find('/') != std::string_view::npos || word.find('\\') != std::string_view::npos)
        return true;
    const std::size_t dot = word.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return false;
    const std::string ext = Lower(word.substr(dot + 1));
    for (const char* known : {"usfm", "sfm", "ptx", "txt", "xml", "usx", "zip", "doc", "docx",
                              "rtf", "htm", "html", "sty", "ssf", "lds", "odt"})
        if (ext == known) return true;
    return false;
}

// A word that names a form of Bible files, as a path or a download does
// ("usfm", "OSIS"): no part of a Bible's name.
bool IsFormWord(std::string_view word) {
    const std::string w = Lower(word);
    for (const char* form : {"usfm", "sfm", "usx", "usfx", "osis", "xml", "zefania", "sword"})
        if (w == form) return true;
    return false;
}

// Whether a text names a file: one of its words, brackets and quotes
// aside, ends with the extension of a known kind of file
// ("oeb/usfm/00-Front Page.usfm").
bool NamesAFile(std::string_view text) {
    for (std::string_view word : Words(text)) {
        const std::size_t start = word.find_first_not_of("([{\"'");
        const std::size_t end = word.find_last_not_of(")]}\"'.,;:");
        if (start == std::string_view::npos || end < start) continue;
        word = word.substr(start, end - start + 1);
        if (IsFileName(word.substr(word.find_last_of("/\\") + 1))) return true;
    }
    return false;
}

bool IsEncodingNote(std::string_view word) {
    const std::string w = Lower(word);
    for (const char* note : {"utf-8", "utf8", "utf-16", "unicode", "ansi", "ascii", "cp1252",
                             "windows-1252", "iso-8859-1", "latin-1", "latin1", "encoding"})
        if (w == note) return true;
    return false;
}

// A date or a time written with digits: 31-10-2011, 2012/09/01, 09/2012,
// 11:52:24, GMT-0700; not a version number (1.2) nor a range (1-2).
bool IsDateOrTime(std::string_view word) {
    const std::string w = Lower(word);
    if (w.rfind("gmt", 0) == 0 || w.rfind("utc", 0) == 0) return true;
    std::vector<std::size_t> groups;  // the lengths of the runs of digits
    bool colon = false, inDigits = false;
    for (char c : w) {
        if (c >= '0' && c <= '9') {
            if (!inDigits) groups.push_back(0);
            ++groups.back();
            inDigits = true;
        } else if (c == '-' || c == '/' || c == ':' || c == '.') {
            colon = colon || c == ':';
            inDigits = false;
        } else {
            return false;
        }
    }
    const bool year = std::find(groups.begin(), groups.end(), 4) != groups.end();
    return groups.size() >= 3 || (groups.size() == 2 && (colon || year));
}

bool IsNumberOrCalendarWord(std::string_view word) {
    if (!word.empty() &&
        std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return true;
    const std::string w = Lower(word);
    for (const char* name :
         {"mon",      "tue",      "wed",       "thu",      "fri",      "sat",       "sun",
          "jan",      "feb",      "mar",       "apr",      "may",      "jun",       "jul",
          "aug",      "sep",      "oct",       "nov",      "dec",      "lun",       "mer",
          "jeu",      "ven",      "sam",       "dim",      "janvier",  "février",   "mars",
          "avril",    "mai",      "juin",      "juillet",  "août",     "septembre", "octobre",
          "novembre", "décembre", "january",   "february", "march",    "april",     "june",
          "july",     "august",   "september", "october",  "november", "december"})
        if (w == name) return true;
    return false;
}

// What of one part of an \id description can name a Bible: file names,
// encodings, identifiers (EN_ULT) and what follows a date stamp left out.
std::string CleanDescriptionPart(std::string_view part) {
    std::vector<std::string_view> kept;
    bool stamped = false;
    for (std::string_view word : Words(part)) {
        std::string_view bare = word;
        for (bool trimmed = true; trimmed && !bare.empty();) {
            trimmed = false;
            for (std::string_view mark : {"(", ")", "[", "]", "{", "}", "\"", "'", "«", "»"}) {
                if (bare.starts_with(mark)) {
                    bare.remove_prefix(mark.size());
                    trimmed = true;
                }
                if (bare.ends_with(mark)) {
                    bare.remove_suffix(mark.size());
                    trimmed = true;
                }
            }
        }
        if (IsDateOrTime(bare)) {
            stamped = true;
            break;
        }
        if (bare.empty() || IsFileName(bare) || IsEncodingNote(bare) || IsFormWord(bare) ||
            bare.find('_') != std::string_view::npos)
            continue;
        kept.push_back(word);
    }
    // The words of the stamp before its time: "Thu Apr 13 2023".
    while (stamped && !kept.empty() && IsNumberOrCalendarWord(kept.back()))
        kept.pop_back();
    return CleanBibleName(Join(kept));
}

int Letters(std::string_view utf8) {
    int n = 0;
    for (char32_t cp : CodePoints(utf8))
        if (QChar::isLetter(cp)) ++n;
    return n;
}

bool IsLanguageCode(std::string_view text) {
    return text.size() >= 2 && text.size() <= 3 &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

// The name an \id description gives, "" when it gives none: the first of
// its parts (between dashes, commas, semicolons, sentences) that is not
// junk, nor a language code, nor the book's own title.
std::string NameOfDescription(const BookHeader& book) {
    std::string text = book.description;
    for (const char* separator : {" - ", " – ", " — ", " | ", ". "}) {
        for (std::size_t at; (at = text.find(separator)) != std::string::npos;)
            text.replace(at, std::string_view(separator).size(), ",");
    }
    std::replace(text.begin(), text.end(), ';', ',');
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string part =
            CleanDescriptionPart(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (Letters(part) < 2 || IsLanguageCode(part)) continue;
        bool ownTitle = SameText(part, book.code);
        for (const std::string* title : {&book.toc1, &book.toc2, &book.toc3, &book.h, &book.mt})
            ownTitle = ownTitle || SameText(part, CleanBibleName(*title));
        for (const auto& canon : datawriter::kCanon)
            ownTitle = ownTitle || SameText(part, canon.name);
        if (!ownTitle) return part;
    }
    return {};
}

BookHeader ReadBookHeader(std::string_view bytes) {
    std::size_t end = std::min(bytes.size(), kHeaderCap);
    for (std::size_t at = 0; (at = bytes.find("\\c ", at)) < end; ++at) {
        if (at == 0 || bytes[at - 1] == '\n' || bytes[at - 1] == '\r' || bytes[at - 1] == ' ') {
            end = at;
            break;
        }
    }
    // Cut where a UTF-8 sequence cannot be, so that it is not taken for
    // Windows-1252.
    while (end > 0 && end < bytes.size() && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
        --end;
    const std::string text = AsUtf8(bytes.substr(0, end));
    BookHeader book;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find_first_of("\r\n", pos);
        if (eol == std::string::npos) eol = text.size();
        std::string_view line = std::string_view(text).substr(pos, eol - pos);
        pos = eol + 1;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] != '\\') continue;
        line.remove_prefix(first + 1);
        const std::size_t space = line.find_first_of(" \t");
        const std::string_view marker = line.substr(0, space);
        const std::string_view rest =
            space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        if (marker == "id" && book.code.empty()) {
            const std::size_t codeStart = rest.find_first_not_of(" \t");
            if (codeStart == std::string_view::npos) continue;
            const std::size_t codeEnd = rest.find_first_of(" \t", codeStart);
            book.code = std::string(rest.substr(codeStart, codeEnd - codeStart));
            for (char& c : book.code)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (codeEnd != std::string_view::npos)
                book.description = std::string(rest.substr(codeEnd));
        } else if (marker == "toc1" && book.toc1.empty()) {
            book.toc1 = StripMarkers(rest);
        } else if (marker == "toc2" && book.toc2.empty()) {
            book.toc2 = StripMarkers(rest);
        } else if (marker == "toc3" && book.toc3.empty()) {
            book.toc3 = StripMarkers(rest);
        } else if (marker == "h" && book.h.empty()) {
            book.h = StripMarkers(rest);
        } else if ((marker == "mt" || marker == "mt1") && book.mt.empty()) {
            book.mt = StripMarkers(rest);
        }
    }
    return book;
}

// The titles of a front matter that only say what it is.
bool IsGenericTitle(std::string_view title) {
    const std::string t = Lower(title);
    for (const char* generic :
         {"front matter", "frontmatter", "front", "préface", "preface", "introduction", "intro",
          "avant-propos", "title page", "page de titre", "table des matières", "contents",
          "sommaire", "préliminaires"})
        if (t == generic) return true;
    return false;
}

// A name that ends with its abbreviation in brackets, "Louis Segond 1910
// (LSG)", gives both.
BibleNaming SplitAbbreviation(std::string name) {
    if (!name.ends_with(")")) return {name, {}};
    const std::size_t open = name.rfind(" (");
    if (open == std::string::npos) return {name, {}};
    const std::string inside = name.substr(open + 2, name.size() - open - 3);
    const bool upper =
        !inside.empty() && inside.size() <= kAbbreviationLength &&
        std::all_of(inside.begin(), inside.end(),
                    [](unsigned char c) { return std::isupper(c) || std::isdigit(c); }) &&
        std::any_of(inside.begin(), inside.end(), [](unsigned char c) { return std::isupper(c); });
    if (!upper || Letters(name.substr(0, open)) < 2) return {name, {}};
    return {name.substr(0, open), inside};
}

// The description most books agree on, and the title of the front matter.
BibleNaming NameOfBooks(const std::vector<BookHeader>& books) {
    std::map<std::string, std::pair<int, std::string>> votes;  // folded → count, first as written
    int voters = 0;
    for (const BookHeader& book : books) {
        const std::string name = NameOfDescription(book);
        if (name.empty()) continue;
        ++voters;
        auto& vote = votes[Lower(name)];
        if (vote.first++ == 0) vote.second = name;
    }
    // A name followed by a number only ("Louis Segond 1910") agrees with the
    // name alone ("Louis Segond"), and says more.
    auto extends = [](const std::string& longer, const std::string& shorter) {
        return longer.size() > shorter.size() + 1 && longer.starts_with(shorter + " ") &&
               std::all_of(longer.begin() + static_cast<std::ptrdiff_t>(shorter.size()),
                           longer.end(),
                           [](unsigned char c) { return c == ' ' || std::isdigit(c); });
    };
    for (const auto& [key, vote] : votes) {
        int support = vote.first;
        const std::pair<int, std::string>* fuller = nullptr;
        for (const auto& [other, otherVote] : votes) {
            if (!extends(other, key)) continue;
            support += otherVote.first;
            if (!fuller || otherVote.first > fuller->first) fuller = &otherVote;
        }
        if (support * 2 > voters) return SplitAbbreviation((fuller ? *fuller : vote).second);
    }
    for (const BookHeader& book : books) {
        if (book.code != "FRT" && book.code != "INT") continue;
        for (const std::string* title : {&book.toc1, &book.toc2, &book.mt}) {
            const std::string name = CleanBibleName(*title);
            if (Letters(name) >= 2 && !IsGenericTitle(name) && !NamesAFile(name))
                return SplitAbbreviation(name);
        }
    }
    return {};
}

// ---- XML headers ----------------------------------------------------------

bool Is(const QXmlStreamReader& xml, const char* name) {
    return xml.name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

std::string Attribute(const QXmlStreamReader& xml, const char* name) {
    return Utf8(xml.attributes().value(QLatin1String(name)));
}

// A document type that declares entities: such a file is refused, and
// nothing of it is read. One without (a bare <!DOCTYPE osis>) is harmless.
bool DeclaresEntities(const QXmlStreamReader& xml) {
    return !xml.entityDeclarations().isEmpty() || xml.text().contains(u"<!ENTITY");
}

// The next token of a header, `depth` the elements open; false at the end
// of the document, at a document type that declares entities, and past
// kMaxXmlDepth levels, where the header is read no further.
bool NextToken(QXmlStreamReader& xml, int& depth) {
    if (xml.atEnd()) return false;
    switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return !DeclaresEntities(xml);
        case QXmlStreamReader::StartElement:
            if (++depth <= kMaxXmlDepth) return true;
            xml.raiseError(QStringLiteral("too deep"));
            return false;
        case QXmlStreamReader::EndElement:
            --depth;
            return true;
        case QXmlStreamReader::Invalid:
            return false;
        default:
            return true;
    }
}

// The text of the element just started, that of its children included,
// read up to its end; "" when it nests too deep.
std::string ElementText(QXmlStreamReader& xml, int& depth) {
    const int level = depth;
    QString text;
    while (NextToken(xml, depth) && depth >= level) {
        if (xml.tokenType() == QXmlStreamReader::Characters) text += xml.text();
    }
    return depth < level ? Utf8(text) : std::string();
}

// An OSIS work's name for itself: "LSG", or the last part of
// "Bible.fr.LSG"; not the generic "Bible".
std::string WorkAbbreviation(std::string work, const std::string& identifier) {
    if (CleanAbbreviation(work).empty() || SameText(work, "Bible")) work = identifier;
    if (const std::size_t dot = work.rfind('.'); dot != std::string::npos)
        work = work.substr(dot + 1);
    return SameText(work, "Bible") ? std::string() : work;
}

BibleNaming OsisNaming(QXmlStreamReader& xml) {
    struct Work {
        std::string osisWork, title, identifier;
    };
    std::vector<Work> works;
    std::string mainWork;
    int inWork = 0, depth = 0;
    while (NextToken(xml, depth)) {
        const auto token = xml.tokenType();
        if (token == QXmlStreamReader::EndElement && Is(xml, "work")) inWork = 0;
        if (token == QXmlStreamReader::EndElement && Is(xml, "header")) break;
        if (token != QXmlStreamReader::StartElement) continue;
        if (Is(xml, "osisText")) mainWork = Attribute(xml, "osisIDWork");
        if (Is(xml, "div") || Is(xml, "chapter") || Is(xml, "verse")) break;
        if (Is(xml, "work")) {
            works.push_back({Attribute(xml, "osisWork"), {}, {}});
            inWork = 1;
        } else if (inWork && Is(xml, "title") && works.back().title.empty()) {
            works.back().title = ElementText(xml, depth);
        } else if (inWork && Is(xml, "identifier") && works.back().identifier.empty()) {
            works.back().identifier = ElementText(xml, depth);
        }
    }
    if (works.empty()) return {};
    auto chosen = std::find_if(works.begin(), works.end(),
                               [&](const Work& w) { return w.osisWork == mainWork; });
    const Work& work = chosen == works.end() ? works.front() : *chosen;
    return {work.title, WorkAbbreviation(work.osisWork, work.identifier)};
}

BibleNaming ZefaniaNaming(QXmlStreamReader& xml) {
    BibleNaming out;
    bool information = false;
    int depth = 0;
    while (NextToken(xml, depth)) {
        const auto token = xml.tokenType();
        if (token == QXmlStreamReader::EndElement && Is(xml, "INFORMATION")) break;
        if (token != QXmlStreamReader::StartElement) continue;
        if (Is(xml, "BIBLEBOOK")) break;
        if (Is(xml, "INFORMATION")) {
            information = true;
        } else if (information && Is(xml, "title") && out.name.empty()) {
            out.name = ElementText(xml, depth);
        } else if (information && Is(xml, "identifier") && out.abbreviation.empty()) {
            out.abbreviation = ElementText(xml, depth);
        }
    }
    return out;
}

BibleNaming UsfxNaming(QXmlStreamReader& xml) {
    std::vector<BookHeader> books;
    int depth = 0;
    while (NextToken(xml, depth)) {
        if (xml.tokenType() != QXmlStreamReader::StartElement) continue;
        if (Is(xml, "book")) {
            books.push_back({});
            books.back().code = Attribute(xml, "id");
        } else if (books.empty()) {
            continue;
        } else if (Is(xml, "id") && books.back().description.empty()) {
            if (books.back().code.empty()) books.back().code = Attribute(xml, "id");
            books.back().description = ElementText(xml, depth);
        } else if (Is(xml, "h") && books.back().h.empty()) {
            books.back().h = ElementText(xml, depth);
        } else if (Is(xml, "toc")) {
            const std::string level = Attribute(xml, "level");
            std::string* title = level == "1"   ? &books.back().toc1
                                 : level == "2" ? &books.back().toc2
                                 : level == "3" ? &books.back().toc3
                                                : nullptr;
            if (title && title->empty()) *title = ElementText(xml, depth);
        }
    }
    return NameOfBooks(books);
}

// ---- bundles ----------------------------------------------------------------

bool IsMetadataName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return SameText(slash == std::string_view::npos ? path : path.substr(slash + 1),
                    "metadata.xml");
}

std::optional<std::string> ReadSmallFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kMetadataCap || ec)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    std::string bytes(kMetadataCap + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMetadataCap) return std::nullopt;
    return bytes;
}

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};

BibleNaming MetadataInArchive(const fs::path& path) {
    std::unique_ptr<struct archive, ArchiveCloser> a(archive_read_new());
    if (!a) return {};
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    if (archive_read_open_filename(a.get(), path.c_str(), 64 * 1024) != ARCHIVE_OK) return {};
    BibleNaming best;
    std::size_t bestDepth = std::string::npos;
    for (int entries = 0; entries < 100000; ++entries) {
        struct archive_entry* entry = nullptr;
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF || r < ARCHIVE_WARN) break;
        const char* name = archive_entry_pathname(entry);
        if (!name || archive_entry_filetype(entry) != AE_IFREG || !IsMetadataName(name)) continue;
        const std::string_view entryPath(name);
        const std::size_t depth = static_cast<std::size_t>(std::count_if(
            entryPath.begin(), entryPath.end(), [](char c) { return c == '/' || c == '\\'; }));
        if (depth >= bestDepth) continue;
        std::string bytes;
        std::array<char, 16384> buffer{};
        bool readable = true;
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), buffer.data(), buffer.size());
            if (n == 0) break;
            if (n < 0 || bytes.size() + static_cast<std::size_t>(n) > kMetadataCap) {
                readable = false;
                break;
            }
            bytes.append(buffer.data(), static_cast<std::size_t>(n));
        }
        if (!readable) continue;
        BibleNaming naming = ParseBundleMetadata(bytes);
        if (naming.name.empty() && naming.abbreviation.empty()) continue;
        best = std::move(naming);
        bestDepth = depth;
    }
    return best;
}

std::string StripSuffix(std::string stem, const std::vector<std::string_view>& suffixes) {
    for (bool again = true; again;) {
        again = false;
        const std::string lower = Lower(stem);
        for (std::string_view suffix : suffixes) {
            if (lower.size() > suffix.size() && lower.ends_with(suffix) &&
                stem.size() == lower.size()) {
                stem.resize(stem.size() - suffix.size());
                again = true;
                break;
            }
        }
    }
    return stem;
}

}  // namespace

std::string CleanAbbreviation(std::string_view text) {
    std::u32string kept;
    for (char32_t cp : CodePoints(AsUtf8(text)))
        if (cp != 0xFFFD && QChar::isLetterOrNumber(cp) && kept.size() < kAbbreviationLength)
            kept += cp;
    return Utf8Of(kept);
}

std::string AbbreviationFromName(std::string_view name) {
    std::vector<std::u32string> words(1);
    for (char32_t cp : CodePoints(AsUtf8(name))) {
        if (cp != 0xFFFD && QChar::isLetterOrNumber(cp))
            words.back() += cp;
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    if (words.size() == 1) return CleanAbbreviation(Utf8Of(words.front()));
    std::u32string out;
    for (const std::u32string& word : words) {
        const bool number = std::all_of(word.begin(), word.end(),
                                        [](char32_t cp) { return cp >= '0' && cp <= '9'; });
        out += number ? word : std::u32string(1, QChar::toUpper(word.front()));
    }
    return CleanAbbreviation(Utf8Of(out));
}

std::string AbbreviationFromSourceName(const fs::path& source) {
    std::string stem = source.filename().string();
    if (stem.empty()) stem = source.parent_path().filename().string();
    // A book file of a set ("02-GENfraLSG.usfm") names the set after its book.
    if (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem[0])))
        stem = BookFileSet(stem);
    stem = stem.substr(0, stem.find('.'));
    stem = stem.substr(0, stem.find('_'));  // "fraLSG_usfm"
    auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    auto upperOrDigit = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); };
    if (stem.size() < 5 || !lower(stem[0]) || !lower(stem[1]) || !lower(stem[2])) return "";
    const std::string rest = stem.substr(3);
    if (rest.size() > 8 || !(rest[0] >= 'A' && rest[0] <= 'Z')) return "";
    for (char c : rest)
        if (!upperOrDigit(c)) return "";
    return rest;
}

std::string NameFromSourceName(const fs::path& source) {
    fs::path path = source.lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    std::string name = path.filename().string();
    if (name == "." || name == "..") name.clear();
    if (IsUsfmFileName(name)) {
        // A book file stands for its set, or for its folder.
        const std::string set = BookFileSet(name);
        if (CleanAbbreviation(set).empty()) {
            path = path.parent_path();
            name = path.filename().string();
        } else {
            name = set;
        }
    }
    // A folder named after the form of its files ("oeb/usfm") stands for
    // the one that holds it.
    while (IsFormWord(name) && path.has_parent_path() && path.parent_path() != path) {
        path = path.parent_path();
        name = path.filename().string();
    }
    static const std::vector<std::string_view> extensions = {
        ".zip",  ".tar", ".gz",  ".tgz",  ".bz2",  ".xz", ".7z",
        ".usfm", ".sfm", ".xml", ".osis", ".usfx", ".txt"};
    static const std::vector<std::string_view> forms = {
        "_usfm",    "-usfm",    " usfm", "_osis", "-osis",  "_usfx", "-usfx",
        "_zefania", "-zefania", "_xml",  "-xml",  "_sword", "-sword"};
    name = StripSuffix(StripSuffix(name, extensions), forms);
    return CleanBibleName(name);
}

BibleNaming NameFromUsfmBooks(const std::vector<SourceFile>& files) {
    std::vector<BookHeader> books;
    for (const SourceFile& file : files)
        if (DetectBibleForm(std::string_view(file.bytes).substr(0, 4096)) == BibleForm::Usfm ||
            IsUsfmFileName(file.name))
            books.push_back(ReadBookHeader(file.bytes));
    return NameOfBooks(books);
}

BibleNaming NameFromXmlBible(std::string_view utf8, BibleForm form) {
    // The header of OSIS and Zefania comes before the books.
    if (form != BibleForm::Usfx && utf8.size() > kXmlHeaderCap)
        utf8 = utf8.substr(0, kXmlHeaderCap);
    QXmlStreamReader xml(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    switch (form) {
        case BibleForm::Osis:
            return OsisNaming(xml);
        case BibleForm::Zefania:
            return ZefaniaNaming(xml);
        case BibleForm::Usfx:
            return UsfxNaming(xml);
        case BibleForm::Usfm:
        case BibleForm::Unknown:
            break;
    }
    return {};
}

BibleNaming ParseBundleMetadata(std::string_view bytes) {
    QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    std::string name, nameLocal, abbreviation, abbreviationLocal;
    int depth = 0;
    bool identification = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if ((token == QXmlStreamReader::DTD && DeclaresEntities(xml)) ||
            token == QXmlStreamReader::EntityReference)
            return {};
        if (token == QXmlStreamReader::EndElement) {
            if (--depth == 1) identification = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement) continue;
        if (++depth > kMaxXmlDepth) return {};
        if (depth == 1 && !Is(xml, "DBLMetadata")) return {};
        if (depth == 2 && Is(xml, "identification")) {
            identification = true;
            continue;
        }
        if (!identification || depth != 3) continue;
        std::string* field = Is(xml, "name")                ? &name
                             : Is(xml, "nameLocal")         ? &nameLocal
                             : Is(xml, "abbreviation")      ? &abbreviation
                             : Is(xml, "abbreviationLocal") ? &abbreviationLocal
                                                            : nullptr;
        if (!field) continue;
        const std::string text = ElementText(xml, depth);  // ends on the element's end
        if (field->empty()) *field = text;
    }
    if (xml.hasError()) return {};
    auto first = [](const std::string& local, const std::string& other, auto clean) {
        const std::string kept = clean(local);
        return kept.empty() ? clean(other) : kept;
    };
    return {first(nameLocal, name, [](std::string_view t) { return CleanBibleName(t); }),
            first(abbreviationLocal, abbreviation, CleanAbbreviation)};
}

BibleNaming FindBundleMetadata(const fs::path& source) {
    std::error_code ec;
    const fs::file_status status = fs::status(source, ec);
    if (ec) return {};
    fs::path folder;
    if (status.type() == fs::file_type::directory) {
        folder = source;
    } else if (IsUsfmFileName(source.filename().string())) {
        folder = source.parent_path().empty() ? fs::path(".") : source.parent_path();
    } else if (status.type() == fs::file_type::regular) {
        return MetadataInArchive(source);
    } else {
        return {};
    }
    folder = fs::absolute(folder, ec).lexically_normal();
    if (ec) return {};
    for (int up = 0; up <= 3; ++up) {
        if (const auto bytes = ReadSmallFile(folder / "metadata.xml")) {
            BibleNaming naming = ParseBundleMetadata(*bytes);
            if (!naming.name.empty() || !naming.abbreviation.empty()) return naming;
        }
        const fs::path parent =
            folder.has_filename() ? folder.parent_path() : folder.parent_path().parent_path();
        if (parent == folder || parent.empty()) break;
        folder = parent;
    }
    return {};
}

BibleNaming NameImportedBible(const BibleNaming& own, const fs::path& source) {
    const BibleNaming bundle = FindBundleMetadata(source);
    BibleNaming out;
    for (const std::string* name : {&bundle.name, &own.name}) {
        // A file's name or path is no Bible's name: the source's stands in.
        out.name = NamesAFile(*name) ? std::string() : CleanBibleName(*name);
        if (!out.name.empty()) break;
    }
    if (out.name.empty()) out.name = NameFromSourceName(source);
    if (out.name.empty()) out.name = "Bible";
    for (const std::string& abbreviation :
         {CleanAbbreviation(bundle.abbreviation), CleanAbbreviation(own.abbreviation),
          AbbreviationFromSourceName(source), AbbreviationFromName(out.name)}) {
        out.abbreviation = abbreviation;
        if (!out.abbreviation.empty()) break;
    }
    if (out.abbreviation.empty()) out.abbreviation = kDefaultAbbreviation;
    return out;
}

}  // namespace lorvane::importer
