#include "FctLoad.h"

#include "BibleNames.h"
#include "FileIo.h"
#include "StoredText.h"
#include "Utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

namespace lorvane {
namespace {

std::int32_t ReadLE32(const unsigned char* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                      static_cast<std::uint32_t>(p[2]) << 16 |
                      static_cast<std::uint32_t>(p[3]) << 24;
    return static_cast<std::int32_t>(v);
}

// The field's text in UTF-8; `replaced` counts the malformed sequences.
template <std::size_t N>
void ReadPString(const unsigned char* p, PString<N>& out, bool utf8, std::size_t& replaced) {
    const std::string_view stored(reinterpret_cast<const char*>(p + 1),
                                  std::min<std::size_t>(p[0], N));
    out.text = storedtext::FieldToUtf8(stored, utf8, &replaced);
}

// Says on standard error how many malformed UTF-8 sequences of a file were
// shown as U+FFFD.
void ReportReplaced(const std::string& path, std::size_t replaced) {
    if (replaced > 0)
        std::cerr << "lorvane: " << path << ": " << replaced
                  << " malformed UTF-8 sequence(s) shown as U+FFFD" << std::endl;
}

// Number of table slots for n records: the format's slot count while the
// file stays within it, else room for every record and the end marker.
std::size_t SlotsFor(std::size_t records, int formatSlots) {
    return records <= static_cast<std::size_t>(formatSlots) ? formatSlots : records + 1;
}

// Reads a file of fixed-size records, checks that its size is a whole
// multiple of the record size, and hands each record to `decode` with its
// number from 1. Returns the number of records.
template <typename Decode>
std::size_t ForEachRecord(const std::string& path, std::size_t recordSize, Decode decode,
                          std::string* keep = nullptr) {
    std::string bytes = ReadWholeFile(path);
    std::size_t whole = bytes.size() / recordSize;
    if (bytes.size() % recordSize != 0) {
        throw LoadError(path, "partial record at offset " + std::to_string(whole * recordSize) +
                                  ": expected " + std::to_string(recordSize) + " bytes, found " +
                                  std::to_string(bytes.size() % recordSize));
    }
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < whole; ++i)
        decode(i + 1, data + i * recordSize);
    if (keep) *keep = std::move(bytes);
    return whole;
}

// Sets the end marker after `records` records when the table has a slot
// for it.
template <typename Table, typename Field>
void PutEndMarker(Table& table, std::size_t records, Field field) {
    if (records + 1 < table.size()) table[records + 1].*field = kEndMarker;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    // A data file is never near this size; the cap only keeps a damaged
    // folder from asking for all the memory.
    constexpr std::size_t kMaxDataFile = std::size_t{1} << 30;
    try {
        return ReadFile(path, kMaxDataFile);
    } catch (const FileError& e) {
        throw LoadError(path, e.error() != 0
                                  ? "cannot read it (errno " + std::to_string(e.error()) + ")"
                                  : std::string("not a regular file or too large"));
    }
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    auto fail = [&](int err) {
        throw std::runtime_error("Impossible d'écrire le fichier « " + path +
                                 " » : " + FrenchReason(err) + ".");
    };
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) fail(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            ::close(fd);
            fail(err);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) fail(errno);
}

bool StoredAsUtf8(const Communs& c) {
    try {
        return storedtext::SaysUtf8(ReadFile(c.BiblePath(storedtext::kMarkFile), 64));
    } catch (const FileError&) {
        return false;
    }
}

void LoadBookTable(Communs& c) {
    const std::string path = c.BiblePath("data/livre.dat");
    const bool utf8 = StoredAsUtf8(c);
    std::size_t replaced = 0;
    c.BookTable = {};
    ForEachRecord(path, kBookRecordSize, [&](std::size_t i, const unsigned char* p) {
        if (i > static_cast<std::size_t>(kBookCount)) {
            throw LoadError(path, "more than " + std::to_string(kBookCount) + " book records");
        }
        TLivre& book = c.BookTable[i];
        ReadPString(p, book.Name, utf8, replaced);
        ReadPString(p + 52, book.ShortName, utf8, replaced);
        book.ChapterCount = ReadLE32(p + 104);
        if (book.ChapterCount < 0 || book.ChapterCount > kMaxChapter) {
            throw LoadError(path, "book " + std::to_string(i) + ": chapter count " +
                                      std::to_string(book.ChapterCount) + " outside 0-" +
                                      std::to_string(kMaxChapter));
        }
    });
    ReportReplaced(path, replaced);
}

void LoadVerseTable(Communs& c) {
    const std::string path = c.BiblePath("data/bible.dat");
    const bool utf8 = StoredAsUtf8(c);
    auto file = std::make_shared<std::string>(ReadWholeFile(path));
    const auto* data = reinterpret_cast<const unsigned char*>(file->data());
    const std::size_t size = file->size();

    std::vector<TVerset> table;
    table.reserve(kVerseSlots + 1);
    table.emplace_back();  // slot 0
    bool valid = true;     // every text already valid UTF-8
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t start = pos;
        auto where = [&] {
            return "entry " + std::to_string(table.size()) + " at offset " + std::to_string(start);
        };
        if (size - pos < 3)
            throw LoadError(path, where() + ": cut by the end of the file in its numbers");
        const int book = data[pos], chapter = data[pos + 1], verse = data[pos + 2];
        if (book < 1 || book > kBookCount || chapter < 1 || chapter > kMaxChapter || verse < 1 ||
            verse > kMaxVerse) {
            throw LoadError(path, where() + ": verse " + std::to_string(book) + "/" +
                                      std::to_string(chapter) + "/" + std::to_string(verse) +
                                      " outside book 1-66, chapter 1-150, verse 1-176");
        }
        const std::size_t text = pos + 3;
        const void* term = std::memchr(data + text, c.VerseTerminator, size - text);
        if (!term)
            throw LoadError(path, where() + ": text cut by the end of the file (no terminator)");
        const std::size_t termPos =
            static_cast<std::size_t>(static_cast<const unsigned char*>(term) - data);
        if (termPos + 1 >= size) {
            throw LoadError(path, where() + ": the byte after the terminator is missing");
        }
        const std::string_view t(file->data() + text, termPos - text);
        if (valid) valid = utf8 ? utf8::IsValid(t) : storedtext::HighBytes(t) == 0;
        table.push_back({book, chapter, verse, t});
        pos = termPos + 2;
    }
    const std::size_t verses = table.size() - 1;

    // Texts that are UTF-8 already stay in the bytes as read, each slot
    // viewing into them. Otherwise they are written again in UTF-8, one
    // after the other in slot order, each followed by the terminator and
    // the byte after it as in the file.
    std::shared_ptr<const std::string> bytes = file;
    if (!valid) {
        auto again = std::make_shared<std::string>();
        again->reserve(size + 2 * storedtext::HighBytes(*file) + 4);
        std::vector<std::pair<std::size_t, std::size_t>> spans(verses);
        std::size_t replaced = 0;
        for (std::size_t i = 0; i < verses; ++i) {
            const std::string_view t = table[i + 1].Text;
            spans[i].first = again->size();
            replaced += storedtext::AppendUtf8(*again, t, utf8);
            spans[i].second = again->size() - spans[i].first;
            again->append(t.data() + t.size(), 2);  // the terminator and the byte after it
        }
        ReportReplaced(path, replaced);
        for (std::size_t i = 0; i < verses; ++i)
            table[i + 1].Text = std::string_view(again->data() + spans[i].first, spans[i].second);
        bytes = std::move(again);
    }

    table.resize(SlotsFor(verses, kVerseSlots) + 1);
    PutEndMarker(table, verses, &TVerset::Book);
    c.SetVerseTable(std::move(table), verses, std::move(bytes));
}

void LoadIndexTable(Communs& c) {
    const std::string path = c.BiblePath("data/index.dat");
    const bool utf8 = StoredAsUtf8(c);
    std::size_t replaced = 0;
    std::vector<TIndex> records;
    ForEachRecord(path, kIndexRecordSize, [&](std::size_t, const unsigned char* p) {
        TIndex& r = records.emplace_back();
        r.Kind = static_cast<char>(p[0]);
        r.Book = ReadLE32(p + 4);
        r.Chapter = ReadLE32(p + 8);
        r.Verse = ReadLE32(p + 12);
        ReadPString(p + 16, r.Title, utf8, replaced);
    });
    ReportReplaced(path, replaced);
    std::vector<TIndex> table(SlotsFor(records.size(), kIndexSlots) + 1);
    std::move(records.begin(), records.end(), table.begin() + 1);
    PutEndMarker(table, records.size(), &TIndex::Book);
    c.IndexTable = std::move(table);
}

void LoadQuoteTable(Communs& c) {
    const std::string path = c.BiblePath("data/citat.dat");
    std::vector<TCitat> records;
    ForEachRecord(path, kQuoteRecordSize, [&](std::size_t, const unsigned char* p) {
        TCitat& r = records.emplace_back();
        r.First = ReadLE32(p);
        std::memcpy(r.Rest.data(), p + 4, r.Rest.size());
    });
    std::vector<TCitat> table(SlotsFor(records.size(), kQuoteSlots) + 1);
    std::copy(records.begin(), records.end(), table.begin() + 1);
    PutEndMarker(table, records.size(), &TCitat::First);
    c.QuoteTable = std::move(table);
}

void LoadCrossRefTable(Communs& c) {
    const std::string path = c.BiblePath("data/refer.dat");
    std::vector<TRefer> records;
    ForEachRecord(path, kCrossRefRecordSize, [&](std::size_t, const unsigned char* p) {
        TRefer& r = records.emplace_back();
        r.Book = ReadLE32(p);
        r.Chapter = ReadLE32(p + 4);
        r.Verse = ReadLE32(p + 8);
        r.Reserved = ReadLE32(p + 12);
        r.Target.Book = ReadLE32(p + 16);
        r.Target.Chapter = ReadLE32(p + 20);
        r.Target.FirstVerse = ReadLE32(p + 24);
        r.Target.LastVerse = ReadLE32(p + 28);
        // A target of verse 0 is its whole chapter; a last verse of 0 is
        // the first verse.
        if (r.Target.FirstVerse == 0) {
            r.Target.FirstVerse = 1;
            r.Target.LastVerse = c.LastVerseOfChapter(r.Target.Book, r.Target.Chapter);
        }
        if (r.Target.LastVerse == 0) r.Target.LastVerse = r.Target.FirstVerse;
    });
    std::vector<TRefer> table(SlotsFor(records.size(), kCrossRefSlots) + 1);
    std::copy(records.begin(), records.end(), table.begin() + 1);
    PutEndMarker(table, records.size(), &TRefer::Book);
    c.CrossRefTable = std::move(table);
}

void CheckTablesAgree(const Communs& c) {
    const std::string verses = c.BiblePath("data/bible.dat");
    // A book may lack a chapter (an imported Bible names the ones it
    // lacks), but a book counted without a single verse is a text cut
    // short: the books after the cut are all empty.
    for (int b = 1; b <= kBookCount; ++b) {
        const int chapters = c.Book(b).ChapterCount;
        bool any = chapters == 0;
        for (int ch = 1; ch <= chapters && !any; ++ch)
            any = c.HasVerses(b, ch);
        if (!any) {
            throw LoadError(verses, "book " + std::to_string(b) +
                                        " has no verse, though livre.dat counts " +
                                        std::to_string(chapters) + " chapters in it");
        }
    }
    // The verses come first in the table, the end marker or an empty slot
    // after them.
    for (int s = 1; s <= c.VerseSlotCount() && c.VerseTable[s].Book > 0; ++s) {
        const TVerset& v = c.VerseTable[s];
        if (v.Chapter > c.Book(v.Book).ChapterCount) {
            throw LoadError(verses, "entry " + std::to_string(s) + ": verse " +
                                        std::to_string(v.Book) + "/" + std::to_string(v.Chapter) +
                                        "/" + std::to_string(v.Verse) +
                                        " in a chapter that livre.dat does not count");
        }
    }
}

void LoadNumbering(Communs& c) {
    const std::string name = ReadNameFile(c.BibleDir, kNumberingFile, 40);
    const Numbering* said = name.empty() ? nullptr : KnownNumberings().Find(name);
    if (!name.empty() && !said)
        std::fprintf(stderr, "lorvane: unknown verse numbering \"%s\" in %s, recognised instead\n",
                     name.c_str(), c.BibleDir.c_str());
    c.VerseNumbering = said ? said : &KnownNumberings().Recognise([&c](int book, int chapter) {
        return c.HighestVerse(book, chapter);
    });
}

void LoadAllTables(Communs& c) {
    LoadBookTable(c);
    LoadVerseTable(c);
    LoadNumbering(c);
    LoadIndexTable(c);
    LoadQuoteTable(c);
    LoadCrossRefTable(c);
    CheckTablesAgree(c);
}

}  // namespace lorvane
