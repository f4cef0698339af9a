#include "Utf8.h"

namespace lorvane::rtf::utf8 {

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

char32_t Next(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const auto cont = [&](std::size_t k) { return i + k < s.size() && (byte(k) & 0xC0) == 0x80; };
    const unsigned char c = byte(0);
    if (c < 0x80) {
        ++i;
        return c;
    }
    std::size_t n = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
        min = 0x10000;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if (!cont(k)) {
            n = 0;
            break;
        }
        cp = (cp << 6) | (byte(k) & 0x3F);
    }
    if (n == 0 || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += n;
    return cp;
}

bool IsValid(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t at = i;
        if (Next(s, i) == kReplacement && !(s.substr(at, 3) == "\xEF\xBF\xBD")) return false;
    }
    return true;
}

}  // namespace lorvane::rtf::utf8
