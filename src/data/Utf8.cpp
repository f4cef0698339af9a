#include "Utf8.h"

#include <cstdint>
#include <cstring>

namespace lorvane::utf8 {
namespace {

// The code point of a UTF-16 text at i (little or big endian), which moves
// past it; a lone surrogate gives U+FFFD.
char32_t NextUtf16(std::string_view s, std::size_t& i, bool little) {
    auto unit = [&](std::size_t k) -> char32_t {
        const auto a = static_cast<unsigned char>(s[k]), b = static_cast<unsigned char>(s[k + 1]);
        return little ? a | (b << 8) : (a << 8) | b;
    };
    const char32_t u = unit(i);
    i += 2;
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < s.size()) {
        const char32_t low = unit(i);
        if (low >= 0xDC00 && low < 0xE000) {
            i += 2;
            return 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return u >= 0xD800 && u < 0xE000 ? kReplacement : u;
}

}  // namespace

void Append(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

Census Count(std::string_view s) {
    Census c;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = SequenceLength(s, i);
        c.stray += n == 0;
        c.multibyte += n > 1;
        i += n == 0 ? 1 : n;
    }
    return c;
}

std::size_t SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const auto cont = [&](std::size_t k) { return i + k < s.size() && (byte(k) & 0xC0) == 0x80; };
    const unsigned char c = byte(0);
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (c == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
        if (c == 0xED && byte(1) >= 0xA0) return 0;  // a surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (c == 0xF0 && byte(1) < 0x90) return 0;   // overlong
        if (c == 0xF4 && byte(1) >= 0x90) return 0;  // past U+10FFFF
        return 4;
    }
    return 0;
}

char32_t Next(std::string_view s, std::size_t& i) {
    const std::size_t n = SequenceLength(s, i);
    if (n == 0) {
        ++i;
        return kReplacement;
    }
    const auto c = static_cast<unsigned char>(s[i]);
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    return cp;
}

bool IsValid(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        // ASCII eight bytes at a time, then byte by byte.
        std::uint64_t word;
        if (i + 8 <= s.size() && (std::memcpy(&word, s.data() + i, 8), true) &&
            (word & 0x8080808080808080ull) == 0) {
            i += 8;
            continue;
        }
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

bool HasUtf16Mark(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
}

std::string Utf16ToUtf8(std::string_view bytes) {
    const bool little = bytes[0] == '\xFF';
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 2; i + 1 < bytes.size();)
        Append(out, NextUtf16(bytes, i, little));
    return out;
}

}  // namespace lorvane::utf8
