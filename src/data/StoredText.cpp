#include "StoredText.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "Cp1252.h"
#include "Utf8.h"

namespace lorvane::storedtext {
namespace {

// The UTF-8 of each Windows-1252 byte: its bytes in the low three bytes of
// an entry (first byte lowest), its length in the high byte.
struct HighTable {
    std::array<std::uint32_t, 256> entries{};
    HighTable() {
        for (int b = 0; b < 0x100; ++b) {
            std::string s;
            utf8::Append(s, cp1252::ToUnicode(static_cast<std::uint8_t>(b)));
            std::uint32_t e = static_cast<std::uint32_t>(s.size()) << 24;
            for (std::size_t k = 0; k < s.size(); ++k)
                e |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[k])) << (8 * k);
            entries[static_cast<std::size_t>(b)] = e;
        }
    }
};

const HighTable& High() {
    static const HighTable table;
    return table;
}

// The length of the run of ASCII bytes at s[i], eight bytes at a time.
std::size_t AsciiRun(std::string_view s, std::size_t i) {
    std::size_t j = i;
    while (j + 8 <= s.size()) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + j, 8);
        if (word & 0x8080808080808080ull) break;
        j += 8;
    }
    while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x80)
        ++j;
    return j - i;
}

static_assert(std::endian::native == std::endian::little, "the table's entries are stored whole");

// Windows-1252 bytes as UTF-8, written into room sized for them at once:
// eight ASCII bytes at a time, the others through the table.
void AppendFromCp1252(std::string& out, std::string_view stored) {
    const auto& table = High().entries;
    const auto* in = reinterpret_cast<const unsigned char*>(stored.data());
    const std::size_t n = stored.size();
    // Room for three bytes per byte past ASCII, the most one takes.
    const std::size_t high = HighBytes(stored);
    const std::size_t at = out.size();
    if (high == 0) {
        out.append(stored);
        return;
    }
    out.resize(at + n + 2 * high + 3);  // an entry is stored whole, four bytes
    char* p = out.data() + at;
    std::size_t i = 0;
    while (i < n) {
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                std::memcpy(p, &word, 8);
                p += 8;
                i += 8;
                continue;
            }
        }
        const std::uint32_t e = table[in[i++]];
        const std::uint32_t bytes = e & 0xFFFFFF;
        std::memcpy(p, &bytes, 4);  // little-endian: the first byte first
        p += e >> 24;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace

bool SaysUtf8(std::string_view mark) {
    if (mark.substr(0, 3) == "\xEF\xBB\xBF") mark.remove_prefix(3);
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!mark.empty() && blank(mark.front()))
        mark.remove_prefix(1);
    while (!mark.empty() && blank(mark.back()))
        mark.remove_suffix(1);
    if (mark.size() != kUtf8Mark.size()) return false;
    for (std::size_t i = 0; i < mark.size(); ++i) {
        char c = mark[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kUtf8Mark[i]) return false;
    }
    return true;
}

std::size_t AppendUtf8(std::string& out, std::string_view stored, bool utf8) {
    if (!utf8) {
        AppendFromCp1252(out, stored);
        return 0;
    }
    // Valid UTF-8 is copied whole; the first malformed sequence starts the
    // repair.
    std::size_t i = 0;
    while (i < stored.size()) {
        i += AsciiRun(stored, i);
        if (i >= stored.size()) break;
        const std::size_t n = utf8::SequenceLength(stored, i);
        if (n == 0) break;
        i += n;
    }
    out.append(stored.data(), i);
    std::size_t replaced = 0;
    while (i < stored.size()) {
        const std::size_t n = utf8::SequenceLength(stored, i);
        if (n == 0) {
            utf8::Append(out, utf8::kReplacement);
            ++replaced;
            ++i;
        } else {
            out.append(stored.data() + i, n);
            i += n;
        }
    }
    return replaced;
}

std::string FieldToUtf8(std::string_view stored, bool utf8, std::size_t* replaced) {
    if (utf8) {
        // A lead byte whose sequence would run past the field's end was cut
        // when the field was written: drop it and what follows it.
        std::size_t end = stored.size();
        for (std::size_t back = 1; back <= 3 && back <= stored.size(); ++back) {
            const auto c = static_cast<unsigned char>(stored[stored.size() - back]);
            if ((c & 0xC0) == 0x80) continue;
            const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (need > back) end = stored.size() - back;
            break;
        }
        stored = stored.substr(0, end);
    }
    std::string out;
    out.reserve(stored.size() + 8);
    const std::size_t n = AppendUtf8(out, stored, utf8);
    if (replaced) *replaced += n;
    return out;
}

std::string_view CutAtCharacter(std::string_view utf8, std::size_t width) {
    if (utf8.size() <= width) return utf8;
    std::size_t end = width;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        --end;
    return utf8.substr(0, end);
}

std::size_t HighBytes(std::string_view bytes) {
    std::size_t high = 0, i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        // One bit per byte, summed by the multiplication into the top byte.
        high += static_cast<std::size_t>(
            ((word & 0x8080808080808080ull) >> 7) * 0x0101010101010101ull >> 56);
    }
    for (; i < bytes.size(); ++i)
        high += static_cast<unsigned char>(bytes[i]) >> 7;
    return high;
}

std::string_view FirstCharacters(std::string_view utf8, std::size_t count) {
    std::size_t i = 0;
    for (; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
        if (count == 0) break;
        --count;
    }
    return utf8.substr(0, i);
}

}  // namespace lorvane::storedtext
