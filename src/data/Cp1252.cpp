#include "Cp1252.h"

#include <array>

#include "Utf8.h"

namespace lorvane::cp1252 {
namespace {

// 0x80..0x9F; zero stands for the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

}  // namespace

char32_t ToUnicode(std::uint8_t byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    char16_t cp = kHigh[byte - 0x80];
    return cp ? cp : byte;
}

int FromUnicode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) return 0x80 + i;
        if (kHigh[i] == 0 && cp == static_cast<char32_t>(0x80 + i)) return 0x80 + i;
    }
    return -1;
}

std::uint8_t ToUpper(std::uint8_t b) {
    if (b >= 'a' && b <= 'z') return b - 0x20;
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return b - 0x20;
    switch (b) {
        case 0x9A:
            return 0x8A;  // š -> Š
        case 0x9C:
            return 0x8C;  // œ -> Œ
        case 0x9E:
            return 0x8E;  // ž -> Ž
        case 0xFF:
            return 0x9F;  // ÿ -> Ÿ
        default:
            return b;
    }
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(ToUpper(static_cast<std::uint8_t>(c)));
    return out;
}

std::string ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes)
        utf8::Append(out, ToUnicode(static_cast<std::uint8_t>(ch)));
    return out;
}

std::string FromUtf8(std::string_view in, char replacement, int* unmapped) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size();) {
        const std::size_t at = i;
        const char32_t cp = utf8::Next(in, i);
        const bool malformed = cp == utf8::kReplacement && i == at + 1;
        const int byte = malformed ? -1 : FromUnicode(cp);
        if (byte < 0) {
            out += replacement;
            if (unmapped) ++*unmapped;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

}  // namespace lorvane::cp1252
