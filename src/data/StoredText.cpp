#include "StoredText.h"

#include <array>
#include <cstring>

#include "Cp1252.h"
#include "Utf8.h"

namespace lorvane::storedtext {
namespace {

// The UTF-8 of each Windows-1252 byte from 0x80: its length, then its bytes.
struct HighTable {
    std::array<std::array<char, 4>, 128> bytes{};
    HighTable() {
        for (int b = 0x80; b < 0x100; ++b) {
            std::string s;
            utf8::Append(s, cp1252::ToUnicode(static_cast<std::uint8_t>(b)));
            auto& entry = bytes[static_cast<std::size_t>(b - 0x80)];
            entry[0] = static_cast<char>(s.size());
            std::memcpy(entry.data() + 1, s.data(), s.size());
        }
    }
};

const HighTable& High() {
    static const HighTable table;
    return table;
}

std::size_t AsciiRun(std::string_view s, std::size_t i) {
    std::size_t j = i;
    while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x80)
        ++j;
    return j - i;
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
    std::size_t replaced = 0;
    for (std::size_t i = 0; i < stored.size();) {
        const std::size_t run = AsciiRun(stored, i);
        out.append(stored.data() + i, run);
        i += run;
        if (i >= stored.size()) break;
        if (!utf8) {
            const auto& e = High().bytes[static_cast<unsigned char>(stored[i]) - 0x80];
            out.append(e.data() + 1, static_cast<std::size_t>(e[0]));
            ++i;
            continue;
        }
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
