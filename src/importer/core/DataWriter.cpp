#include "DataWriter.h"

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace lorvane::datawriter {

void AppendLE32(std::string& out, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void AppendPString(std::string& out, std::string_view text, std::size_t width) {
    // UTF-8 is cut between two characters.
    std::size_t n = std::min(text.size(), width);
    while (n < text.size() && n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    out += static_cast<char>(n);
    out.append(text.substr(0, n));
    out.append(width - n, '\0');
}

std::string EncodeBook(const BookRecord& r) {
    std::string out;
    AppendPString(out, r.name, 51);
    AppendPString(out, r.shortName, 51);
    AppendLE32(out, r.chapterCount);
    return out;
}

std::string EncodeVerse(const VerseEntry& e, std::uint8_t skipped) {
    std::string out;
    out += static_cast<char>(e.book);
    out += static_cast<char>(e.chapter);
    out += static_cast<char>(e.verse);
    out += e.text;
    out += static_cast<char>(254);
    out += static_cast<char>(skipped);
    return out;
}

std::string EncodeIndex(const IndexRecord& r) {
    std::string out;
    out += r.kind;
    out.append(3, '\0');
    AppendLE32(out, r.book);
    AppendLE32(out, r.chapter);
    AppendLE32(out, r.verse);
    AppendPString(out, r.title, 151);
    return out;
}

std::string EncodeCrossRef(const CrossRefRecord& r) {
    std::string out;
    for (std::int32_t v : {r.book, r.chapter, r.verse, r.reserved, r.targetBook, r.targetChapter,
                           r.targetFirst, r.targetLast})
        AppendLE32(out, v);
    return out;
}

std::string EncodeQuote(std::int32_t first) {
    std::string out;
    AppendLE32(out, first);
    out.append(28, '\0');
    return out;
}

namespace {
template <typename T, typename F>
std::string EncodeAll(const std::vector<T>& records, F encode) {
    std::string out;
    for (const T& r : records)
        out += encode(r);
    return out;
}
}  // namespace

std::string EncodeBooks(const std::vector<BookRecord>& r) {
    return EncodeAll(r, EncodeBook);
}
std::string EncodeVerses(const std::vector<VerseEntry>& e) {
    return EncodeAll(e, [](const VerseEntry& v) { return EncodeVerse(v); });
}
std::string EncodeIndexes(const std::vector<IndexRecord>& r) {
    return EncodeAll(r, EncodeIndex);
}
std::string EncodeCrossRefs(const std::vector<CrossRefRecord>& r) {
    return EncodeAll(r, EncodeCrossRef);
}

void WriteFile(const std::string& path, std::string_view bytes) {
    // The stream keeps no reason; errno, read at once, tells a full disk.
    auto failed = [&path] {
        const int error = errno;
        if (error != 0)
            throw std::system_error(error, std::generic_category(), "cannot write " + path);
        throw std::runtime_error("cannot write " + path);
    };
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) failed();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) failed();
}

}  // namespace lorvane::datawriter
