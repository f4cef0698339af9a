#include "ByzantineText.h"

#include <QChar>
#include <QList>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>
#include <utility>

#include "BibleText.h"
#include "Canon.h"
#include "FileIo.h"
#include "Reasons.h"
#include "StrongNumber.h"
#include "WordTags.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

// The books as the files name them, in canon order from Matthieu (40).
constexpr std::string_view kFileCodes[] = {"MAT", "MAR", "LUK", "JOH", "ACT", "ROM", "1CO",
                                           "2CO", "GAL", "EPH", "PHP", "COL", "1TH", "2TH",
                                           "1TI", "2TI", "TIT", "PHM", "HEB", "JAM", "1PE",
                                           "2PE", "1JO", "2JO", "3JO", "JUD", "REV"};
constexpr int kFirstBook = 40;

// A book's file larger than this is no book of the New Testament.
constexpr std::size_t kMaxFile = std::size_t{64} << 20;
// Numbers kept on one word, as for the other sources.
constexpr std::size_t kMaxNumbers = 8;
constexpr std::size_t kMaxCode = 48;
// The alignment's table for one verse, in cells; past it (no real verse
// comes near) only the words at the same place are compared.
constexpr std::size_t kMaxCells = std::size_t{1} << 22;

// The passages printed apart, and the book they go into. A passage that
// continues verses (ACT24.csv) adds to the verse it completes; the
// pericope fills only the verses its book lacks.
struct Apart {
    std::string_view file;
    std::string_view book;
    bool continues;
};
constexpr Apart kApart[] = {{"PA.csv", "JOH", false}, {"ACT24.csv", "ACT", true}};

constexpr const char* kNoVerse = "rows of the Greek files that are no verse, left out";
constexpr const char* kTwice = "verses of the Greek files given twice, the first kept";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A whole number of the field, or -1.
int Integer(std::string_view field) {
    field = Trim(field);
    int n = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), n);
    if (ec != std::errc() || end != field.data() + field.size() || field.empty()) return -1;
    return n;
}

// The words of a text, split at blanks.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t k = 0;
    while (k < text.size()) {
        while (k < text.size() && IsBlank(text[k]))
            ++k;
        std::size_t end = k;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        if (end > k) out.push_back(text.substr(k, end - k));
        k = end;
    }
    return out;
}

bool IsWordLetter(char32_t cp) {
    return QChar::isLetter(cp) || QChar::isMark(cp);
}

// The marks of an elided vowel, which belong to their word ("παρ’").
bool IsElision(char32_t cp) {
    return cp == 0x2019 || cp == '\'' || cp == 0x02BC || cp == 0x1FBD || cp == 0x1FBF;
}

// Where the word lies in a token of the text: from its first letter to its
// last, with the elision mark that follows; the punctuation around it
// stays out. Empty (begin == end) when the token holds no letter.
std::pair<std::size_t, std::size_t> WordIn(std::string_view token) {
    std::size_t begin = token.size(), end = 0;
    for (std::size_t pos = 0; pos < token.size();) {
        const std::size_t at = pos;
        const char32_t cp = NextCodePoint(token, pos);
        if (IsWordLetter(cp)) {
            if (begin == token.size()) begin = at;
            end = pos;
        } else if (IsElision(cp) && begin != token.size() && end == at) {
            end = pos;
        }
    }
    if (begin == token.size()) return {0, 0};
    return {begin, end};
}

// A verse being put together: its text in pieces, some of a passage
// printed apart.
struct Piece {
    std::string text;
    bool apart = false;
};
struct VerseRow {
    std::vector<Piece> pieces;
};
using Key = std::pair<int, int>;  // chapter, verse

// The text of one of the files as UTF-8; false when it is not there.
bool ReadIf(const ByzantineFiles& files, const std::string& name, std::string& out,
            Report& report) {
    const auto it = files.find(name);
    if (it == files.end()) return false;
    out = SourceToUtf8(it->second, StatedEncoding::Utf8, name, report);
    return true;
}

// The verses of a CSV file: chapter, verse and text, after a header line.
template <typename Take>
void ForEachVerse(std::string_view text, const std::string& file, Report& report, Take take) {
    const std::vector<CsvRecord> records = ReadCsv(text, file);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const CsvRecord& r = records[i];
        const int chapter = r.fields.empty() ? -1 : Integer(r.fields[0]);
        // The header: "chapter,verse,text".
        if (i == 0 && chapter < 0) continue;
        const int verse = r.fields.size() == 3 ? Integer(r.fields[1]) : -1;
        if (chapter < 1 || chapter > kMaxChapter || verse < 1 || verse > kMaxVerse) {
            report.Warn(kNoVerse, file + ", ligne " + std::to_string(r.line));
            continue;
        }
        take(Key{chapter, verse}, r.fields[2], r.line);
    }
}

std::map<Key, VerseRow> ReadAccented(std::string_view text, const std::string& file,
                                     Report& report) {
    std::map<Key, VerseRow> verses;
    ForEachVerse(text, file, report, [&](Key key, const std::string& verse, long line) {
        if (verses.count(key)) {
            report.Warn(kTwice, file + ", ligne " + std::to_string(line));
            return;
        }
        verses[key] = VerseRow{{Piece{verse, false}}};
    });
    return verses;
}

std::string JoinedWords(const std::vector<std::string_view>& words, std::size_t from,
                        std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i)
        out += (out.empty() ? "" : " ") + std::string(words[i]);
    return out;
}

// The text without its paragraph marks (¶), each made a blank.
std::string WithoutPilcrows(std::string text) {
    for (std::size_t at; (at = text.find("\xC2\xB6")) != std::string::npos;)
        text.replace(at, 2, " ");
    return text;
}

// Puts a passage printed apart into its book. Returns the verses it set
// aside because the book already gives them.
int PutApart(std::map<Key, VerseRow>& book, const Apart& apart, std::string_view text,
             Report& report) {
    std::vector<std::pair<Key, std::string>> rows;
    ForEachVerse(text, std::string(apart.file), report,
                 [&](Key key, const std::string& verse, long) {
                     rows.emplace_back(key, WithoutPilcrows(verse));
                 });
    int setAside = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [key, added] = rows[i];
        auto it = book.find(key);
        if (it == book.end()) {
            book[key] = VerseRow{{Piece{added, true}}};
            continue;
        }
        // The verse as the book gives it, and the passage's fuller form.
        std::string given;
        for (const Piece& p : it->second.pieces)
            given += p.text + " ";
        given = WithoutPilcrows(given);
        const std::vector<std::string_view> has = Words(given), more = Words(added);
        const bool longer = more.size() > has.size();
        if (longer && std::equal(has.begin(), has.end(), more.begin())) {
            it->second.pieces.push_back({JoinedWords(more, has.size(), more.size()), true});
        } else if (longer && std::equal(has.rbegin(), has.rend(), more.rbegin())) {
            it->second.pieces.insert(it->second.pieces.begin(),
                                     {JoinedWords(more, 0, more.size() - has.size()), true});
        } else if (apart.continues && i == 0 && more != has) {
            it->second.pieces.push_back({added, true});  // the end of the verse alone
        } else if (apart.continues && i + 1 == rows.size() && i > 0 && more != has) {
            it->second.pieces.insert(it->second.pieces.begin(), {added, true});
        } else {
            ++setAside;
        }
    }
    return setAside;
}

void AddNumber(std::string& strongs, std::size_t& count, const std::string& number) {
    if (number.empty() || count >= kMaxNumbers) return;
    for (const std::string_view have : Words(strongs))
        if (have == number) return;
    strongs += (strongs.empty() ? "" : " ") + number;
    ++count;
}

// A parsing code as kept: printable ASCII, cut to a sound length.
std::string Code(std::string_view code) {
    std::string out;
    for (char c : code)
        if (c > 0x20 && c < 0x7F && out.size() < kMaxCode) out += c;
    return out;
}

// The letters of a word in its canonical decomposition, lower case, marks
// left out. The common case, lower-case Greek letters alone, goes without
// Qt.
std::string FoldSlow(std::string_view word) {
    const QString decomposed = QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()))
                                   .normalized(QString::NormalizationForm_D);
    std::string out;
    for (char32_t cp : decomposed.toUcs4()) {
        if (QChar::isMark(cp) || !QChar::isLetter(cp)) continue;
        cp = QChar::toLower(cp);
        AppendUtf8(out, cp == U'ς' ? U'σ' : cp);
    }
    return out;
}

// Adds the verse to the Bible, its words aligned with `entries` (its parsed
// words) and tagged, and counts them. The first word that does not align
// is named in *firstUnaligned when given. Returns the entries no word took.
int AddVerse(int book, Key key, const VerseRow& row, const std::vector<ParsedWord>& entries,
             TextConverter& conv, BibleData& bible, GreekWordCount& count,
             std::string* firstUnaligned) {
    const auto [chapter, verse] = key;
    const std::string place = Place(book, chapter, verse);
    // The words of the verse, where each lies in its token.
    struct Token {
        std::string_view text;
        std::pair<std::size_t, std::size_t> word;
        bool apart;
    };
    std::vector<Token> tokens;
    std::vector<std::string> folded;
    std::vector<std::string> texts;  // the pieces without their pilcrows
    texts.reserve(row.pieces.size());
    for (const Piece& piece : row.pieces) {
        texts.push_back(WithoutPilcrows(piece.text));
        // The marks of the tagged words are this reader's own.
        words::DropWordMarks(texts.back());
    }
    for (std::size_t p = 0; p < texts.size(); ++p)
        for (std::string_view token : Words(texts[p])) {
            const auto word = WordIn(token);
            tokens.push_back({token, word, row.pieces[p].apart});
            if (word.second > word.first)
                folded.push_back(FoldGreek(token.substr(word.first, word.second - word.first)));
        }
    std::vector<std::string> foldedEntries;
    foldedEntries.reserve(entries.size());
    for (const ParsedWord& e : entries)
        foldedEntries.push_back(FoldGreek(e.word));
    const std::vector<int> aligned = AlignFolded(folded, foldedEntries);

    // The text with its tagged words marked, then converted.
    std::string marked;
    std::vector<const ParsedWord*> tagsOf;
    std::size_t w = 0;
    int used = 0;
    for (const Token& t : tokens) {
        if (!marked.empty()) marked += ' ';
        const std::string_view word = t.text.substr(t.word.first, t.word.second - t.word.first);
        if (word.empty()) {
            marked += t.text;
            continue;
        }
        const int entry = aligned[w++];
        const ParsedWord* tag = entry >= 0 ? &entries[static_cast<std::size_t>(entry)] : nullptr;
        if (tag) ++used;
        ++count.words;
        if (tag && (!tag->strongs.empty() || !tag->morph.empty())) {
            ++count.tagged;
            marked += t.text.substr(0, t.word.first);
            marked += words::kWordOpen;
            marked += word;
            marked += words::kWordClose;
            marked += t.text.substr(t.word.second);
            tagsOf.push_back(tag);
            continue;
        }
        if (t.apart && !tag) {
            ++count.apart;
        } else {
            ++count.notAligned;
            if (firstUnaligned && firstUnaligned->empty())
                *firstUnaligned = place + " « " + std::string(word) + " »";
        }
        marked += t.text;
    }
    std::string text = conv.Convert(marked, place);
    std::vector<words::WordTag> tags;
    tags.reserve(tagsOf.size());
    for (const ParsedWord* tag : tagsOf)
        tags.push_back({0, 0, tag->strongs, tag->morph, {}});
    words::VerseWords tagged = words::PlaceTags(book, chapter, verse, text, tags);
    if (!tagged.tags.empty()) bible.words.push_back(std::move(tagged));
    bible.verses.push_back({book, chapter, verse, std::move(text)});
    return static_cast<int>(entries.size()) - used;
}

}  // namespace

std::vector<CsvRecord> ReadCsv(std::string_view text, const std::string& file) {
    std::vector<CsvRecord> records;
    std::size_t k = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    long line = 1;
    while (k < text.size()) {
        CsvRecord record;
        record.line = line;
        bool blank = true;  // nothing but an end of line so far
        for (;;) {
            std::string field;
            if (k < text.size() && text[k] == '"') {
                blank = false;
                const long opened = line;
                ++k;
                for (;;) {
                    const std::size_t quote = text.find('"', k);
                    if (quote == std::string_view::npos)
                        throw ImportError("Le fichier « " + file + " » est endommagé (ligne " +
                                          std::to_string(opened) +
                                          ") : un guillemet n'y est jamais refermé.");
                    const std::string_view part = text.substr(k, quote - k);
                    line += static_cast<long>(std::count(part.begin(), part.end(), '\n'));
                    field += part;
                    k = quote + 1;
                    if (k < text.size() && text[k] == '"') {
                        field += '"';
                        ++k;
                        continue;
                    }
                    break;
                }
            }
            // Unquoted text, or what follows a closing quote: up to the
            // next comma or end of line.
            while (k < text.size() && text[k] != ',' && text[k] != '\n') {
                if (text[k] != '\r' || (k + 1 < text.size() && text[k + 1] != '\n')) {
                    field += text[k];
                    blank = false;
                }
                ++k;
            }
            record.fields.push_back(std::move(field));
            if (k < text.size() && text[k] == ',') {
                blank = false;
                ++k;
                continue;
            }
            break;
        }
        if (k < text.size()) {  // the end of the line
            ++k;
            ++line;
        }
        if (!blank) records.push_back(std::move(record));
    }
    return records;
}

std::vector<ParsedWord> ReadParsedWords(std::string_view text) {
    std::vector<ParsedWord> out;
    std::size_t numbers = 0;
    const std::vector<std::string_view> tokens = Words(text);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string_view token = tokens[i];
        if (token.front() == '{') {
            // A code, in braces, maybe cut by blanks.
            std::string code(token);
            while (code.back() != '}' && i + 1 < tokens.size() && code.size() < 4 * kMaxCode)
                code += tokens[++i];
            if (out.empty()) continue;
            const std::string kept = Code(std::string_view(code).substr(
                1, code.back() == '}' ? code.size() - 2 : std::string::npos));
            ParsedWord& word = out.back();
            ++word.parsings;
            if (word.morph.empty() && !kept.empty()) word.morph = "robinson:" + kept;
        } else if (std::all_of(token.begin(), token.end(),
                               [](char c) { return c >= '0' && c <= '9'; })) {
            if (!out.empty())
                AddNumber(out.back().strongs, numbers, words::NormaliseStrong(token, 'G'));
        } else {
            out.push_back({std::string(token), {}, {}, 0});
            numbers = 0;
        }
    }
    return out;
}

std::string FoldGreek(std::string_view word) {
    std::string out;
    out.reserve(word.size());
    for (std::size_t pos = 0; pos < word.size();) {
        const char32_t cp = NextCodePoint(word, pos);
        if (cp >= U'α' && cp <= U'ω') {
            AppendUtf8(out, cp == U'ς' ? U'σ' : cp);
        } else if (cp >= 'a' && cp <= 'z') {
            out += static_cast<char>(cp);
        } else if (cp >= 'A' && cp <= 'Z') {
            out += static_cast<char>(cp - 'A' + 'a');
        } else if (cp < 0x80 || IsElision(cp)) {
            // Punctuation and blanks: no letter.
        } else {
            return FoldSlow(word);
        }
    }
    return out;
}

std::vector<int> AlignFolded(const std::vector<std::string>& words,
                             const std::vector<std::string>& entries) {
    const std::size_t n = words.size(), m = entries.size();
    std::vector<int> out(n, -1);
    // The words both sides share at the start and at the end.
    std::size_t head = 0;
    while (head < n && head < m && words[head] == entries[head]) {
        out[head] = static_cast<int>(head);
        ++head;
    }
    std::size_t tail = 0;
    while (tail < n - head && tail < m - head && words[n - 1 - tail] == entries[m - 1 - tail]) {
        out[n - 1 - tail] = static_cast<int>(m - 1 - tail);
        ++tail;
    }
    const std::size_t a = n - head - tail, b = m - head - tail;
    if (a == 0 || b == 0) return out;
    if ((a + 1) > kMaxCells / (b + 1)) {
        for (std::size_t i = 0; i < a && i < b; ++i)
            if (words[head + i] == entries[head + i]) out[head + i] = static_cast<int>(head + i);
        return out;
    }
    // lcs[i][j]: the longest common sequence of the words from i and the
    // entries from j; then walked from the start.
    const std::size_t width = b + 1;
    std::vector<std::uint16_t> lcs((a + 1) * width, 0);
    for (std::size_t i = a; i-- > 0;)
        for (std::size_t j = b; j-- > 0;)
            lcs[i * width + j] = words[head + i] == entries[head + j]
                                     ? static_cast<std::uint16_t>(lcs[(i + 1) * width + j + 1] + 1)
                                     : std::max(lcs[(i + 1) * width + j], lcs[i * width + j + 1]);
    std::size_t i = 0, j = 0;
    while (i < a && j < b) {
        if (words[head + i] == entries[head + j]) {
            out[head + i] = static_cast<int>(head + j);
            ++i;
            ++j;
        } else if (lcs[(i + 1) * width + j] >= lcs[i * width + j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return out;
}

ByzantineText ReadByzantineText(const fs::path& folder, Report& report) {
    ByzantineFiles files;
    std::vector<std::string> names;
    for (std::string_view code : kFileCodes) {
        names.push_back("accented/" + std::string(code) + ".csv");
        names.push_back("strongs-parsing/" + std::string(code) + ".csv");
    }
    for (const Apart& apart : kApart)
        names.push_back("accented/" + std::string(apart.file));
    for (const std::string& name : names) {
        try {
            files[name] = ReadFile((folder / name).string(), kMaxFile);
        } catch (const FileError& e) {
            if (e.kind() != FileError::Kind::Missing) throw ImportError(e.what());
        }
    }
    return ReadByzantineFiles(files, folder.string(), report);
}

ByzantineText ReadByzantineFiles(const ByzantineFiles& files, const std::string& folder,
                                 Report& report) {
    ByzantineText out;
    BibleData& bible = out.bible;
    bible.source = "Byzantine CSV " + folder;
    // The edition numbers its verses as the King James does, but for the
    // doxology of Romains at 14:24-26 (16:25-27 there).
    bible.numbering = "KJV";
    TextConverter conv;
    std::vector<int> chapters(kBooks, 0);
    int booksFound = 0;

    for (std::size_t index = 0; index < std::size(kFileCodes); ++index) {
        const std::string code(kFileCodes[index]);
        const int book = kFirstBook + static_cast<int>(index);
        const std::string file = code + ".csv";
        std::string accentedText, parsedText;
        if (!ReadIf(files, "accented/" + file, accentedText, report)) {
            out.missing.push_back(code);
            continue;
        }
        ++booksFound;
        std::map<Key, VerseRow> verses = ReadAccented(accentedText, file, report);
        accentedText = {};
        std::map<Key, std::string> parsed;
        if (ReadIf(files, "strongs-parsing/" + file, parsedText, report)) {
            ForEachVerse(
                parsedText, "strongs-parsing/" + file, report,
                [&](Key key, const std::string& text, long) { parsed.emplace(key, text); });
        } else {
            report.Warn("Greek books without their parsed text", code);
        }
        for (const Apart& apart : kApart) {
            if (apart.book != code) continue;
            std::string text;
            if (!ReadIf(files, "accented/" + std::string(apart.file), text, report)) continue;
            const int setAside = PutApart(verses, apart, text, report);
            if (setAside > 0)
                report.Info(std::string(apart.file) + ": " + std::to_string(setAside) +
                            " verses that " + code + ".csv already gives, kept as it gives them");
        }

        GreekWordCount count;
        count.code = code;
        std::string firstUnaligned, firstLeft;
        for (const auto& [key, row] : verses) {
            chapters[static_cast<std::size_t>(book - 1)] =
                std::max(chapters[static_cast<std::size_t>(book - 1)], key.first);
            std::vector<ParsedWord> entries;
            const bool hasParsing = parsed.count(key) > 0;
            if (hasParsing) {
                entries = ReadParsedWords(parsed[key]);
                parsed.erase(key);
            }
            const std::string place = Place(book, key.first, key.second);
            const int left = AddVerse(book, key, row, entries, conv, bible, count,
                                      firstUnaligned.empty() ? &firstUnaligned : nullptr);
            if (hasParsing && left > 0) {
                count.entriesLeft += left;
                if (firstLeft.empty()) firstLeft = place;
            }
        }
        // Parsed verses the accented text lacks: none of their words is taken.
        for (const auto& [key, text] : parsed) {
            count.entriesLeft += static_cast<int>(ReadParsedWords(text).size());
            if (firstLeft.empty()) firstLeft = Place(book, key.first, key.second);
        }
        if (count.notAligned > 0)
            report.WarnMany(
                kGreekNotAligned, count.notAligned,
                code + ": " + std::to_string(count.notAligned) + ", first at " + firstUnaligned,
                std::size(kFileCodes));
        if (count.entriesLeft > 0)
            report.WarnMany(
                kGreekEntriesLeft, count.entriesLeft,
                code + ": " + std::to_string(count.entriesLeft) + ", first at " + firstLeft,
                std::size(kFileCodes));
        out.all.words += count.words;
        out.all.tagged += count.tagged;
        out.all.notAligned += count.notAligned;
        out.all.apart += count.apart;
        out.all.entriesLeft += count.entriesLeft;
        out.books.push_back(std::move(count));
    }
    if (booksFound == 0)
        throw ImportError("Le dossier « " + folder +
                          " » ne contient aucun livre du Nouveau Testament grec (accented/MAT.csv "
                          "…).");
    if (!out.missing.empty()) {
        std::string list;
        for (const std::string& code : out.missing)
            list += (list.empty() ? "" : " ") + code;
        report.Info("Greek books missing from the source: " + list);
    }

    for (int b = 1; b <= kBooks; ++b) {
        const auto& canon = datawriter::kCanon[static_cast<std::size_t>(b - 1)];
        bible.books.push_back({std::string(canon.name), std::string(canon.abbreviation),
                               chapters[static_cast<std::size_t>(b - 1)]});
    }
    report.Summary("Greek words: " + std::to_string(out.all.words) + ", tagged " +
                   std::to_string(out.all.tagged) + ", not aligned " +
                   std::to_string(out.all.notAligned) + ", printed apart without parsing " +
                   std::to_string(out.all.apart) + "; parsed words left " +
                   std::to_string(out.all.entriesLeft));
    conv.ReportTo(report);
    FinishBible(bible, report);
    return out;
}

}  // namespace lorvane::importer
