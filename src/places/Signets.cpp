#include "Signets.h"

#include <algorithm>
#include <charconv>
#include <tuple>

#include "Communs.h"

namespace lorvane {
namespace {

bool ReadInt(std::string_view& line, int& value, int low, int high) {
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (ec != std::errc() || value < low || value > high) return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return true;
}

// A name on one line: line breaks and tabs become spaces.
std::string OneLine(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return out;
}

}  // namespace

SignetFile ReadSignets(std::string_view text) {
    SignetFile file;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        Signet s;
        if (!ReadInt(line, s.book, 1, kBookCount) || !ReadInt(line, s.chapter, 1, kMaxChapter) ||
            !ReadInt(line, s.verse, 1, kMaxVerse) || (!line.empty() && line.front() != '\t')) {
            ++file.unread;
            continue;
        }
        if (!line.empty()) line.remove_prefix(1);
        s.name = std::string(line);
        file.signets.push_back(std::move(s));
    }
    return file;
}

std::string WriteSignets(const std::vector<Signet>& signets) {
    std::string out = "# Signets de Lorvane : livre chapitre verset, une tabulation, le nom.\n";
    for (const Signet& s : signets)
        out += std::to_string(s.book) + ' ' + std::to_string(s.chapter) + ' ' +
               std::to_string(s.verse) + '\t' + OneLine(s.name) + '\n';
    return out;
}

std::size_t AddSignet(std::vector<Signet>& signets, Signet signet) {
    auto key = [](const Signet& s) { return std::tie(s.book, s.chapter, s.verse); };
    auto at = std::lower_bound(signets.begin(), signets.end(), signet,
                               [&](const Signet& a, const Signet& b) { return key(a) < key(b); });
    if (at != signets.end() && key(*at) == key(signet))
        return static_cast<std::size_t>(at - signets.begin());
    signet.name = OneLine(signet.name);
    return static_cast<std::size_t>(signets.insert(at, std::move(signet)) - signets.begin());
}

}  // namespace lorvane
