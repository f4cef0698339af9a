#pragma once

// Encoders for the record formats of the data folder, shared by the data-set
// builder and the tests' fixture writers. Texts are UTF-8 (the data folder
// says so in its mark file), or Windows-1252 bytes in the older folders the
// tests also write.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::datawriter {

struct BookRecord {
    std::string name;       // at most 51 bytes are stored
    std::string shortName;  // at most 51 bytes are stored
    std::int32_t chapterCount = 0;
};

struct VerseEntry {
    int book = 0, chapter = 0, verse = 0;  // stored as single bytes
    std::string text;                      // must not hold the byte 254
};

struct IndexRecord {
    char kind = 'E';
    std::int32_t book = 0, chapter = 0, verse = 0;
    std::string title;  // at most 151 bytes are stored
};

struct CrossRefRecord {
    std::int32_t book = 0, chapter = 0, verse = 0, reserved = 0;
    std::int32_t targetBook = 0, targetChapter = 0, targetFirst = 0, targetLast = 0;
};

void AppendLE32(std::string& out, std::int32_t value);
// One length byte and `width` bytes; text beyond `width` bytes is cut, between
// two UTF-8 characters.
void AppendPString(std::string& out, std::string_view text, std::size_t width);

std::string EncodeBook(const BookRecord& r);  // 108 bytes
std::string EncodeVerse(const VerseEntry& e, std::uint8_t skipped = 0);
std::string EncodeIndex(const IndexRecord& r);        // 168 bytes
std::string EncodeCrossRef(const CrossRefRecord& r);  // 32 bytes
std::string EncodeQuote(std::int32_t first);          // 32 bytes, rest zero

std::string EncodeBooks(const std::vector<BookRecord>& records);
std::string EncodeVerses(const std::vector<VerseEntry>& entries);
std::string EncodeIndexes(const std::vector<IndexRecord>& records);
std::string EncodeCrossRefs(const std::vector<CrossRefRecord>& records);

// Writes bytes to path, replacing the file; throws std::runtime_error.
void WriteFile(const std::string& path, std::string_view bytes);

}  // namespace lorvane::datawriter
