#include "Session.h"

#include <algorithm>
#include <charconv>

namespace lorvane {
namespace {

// The numbers of a line after its keyword, exactly `count` of them.
bool Numbers(std::string_view rest, int* values, int count) {
    for (int i = 0; i < count; ++i) {
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), values[i]);
        if (ec != std::errc()) return false;
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    }
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    return rest.empty();
}

// Whether a folder is one of the Bibles the program ships: "*" then 1 to
// 40 lower-case letters and digits.
bool ShippedFolder(std::string_view folder) {
    return folder.size() >= 2 && folder.size() <= 41 && folder.front() == '*' &&
           std::all_of(folder.begin() + 1, folder.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

// The folders of a "comparees" line: each "*", a shipped Bible's "*<id>"
// or the name of a folder in the shelf (1 to 40 lower-case letters, digits
// and dashes, no dash first), three at most.
bool Folders(std::string_view rest, std::vector<std::string>& folders) {
    folders.clear();
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const std::string_view folder = rest.substr(0, rest.find(' '));
        rest.remove_prefix(folder.size());
        const bool ok = folder == "*" || ShippedFolder(folder) ||
                        (folder.size() <= 40 && folder.front() != '-' &&
                         std::all_of(folder.begin(), folder.end(), [](char c) {
                             return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
                         }));
        if (!ok || folders.size() == kMaxComparedFolders) return false;
        folders.emplace_back(folder);
    }
    return true;
}

}  // namespace

std::optional<Session> ReadSession(std::string_view text) {
    Session s;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // A line behind "#+ " is a comment to older programs, which do not
        // know what it holds; one that does not read is skipped as such.
        const bool hidden = line.substr(0, 3) == "#+ ";
        if (hidden) line.remove_prefix(3);
        if (line.empty() || (!hidden && line.front() == '#')) continue;
        const std::size_t space = line.find(' ');
        const std::string_view word = line.substr(0, space);
        const std::string_view rest =
            space == std::string_view::npos ? std::string_view() : line.substr(space);
        int v[5] = {};
        if (word == "onglet" && (Numbers(rest, v, 5) || Numbers(rest, v, 4))) {
            Place p{v[0], v[1], v[2], v[3] < 0 ? -1 : v[3], v[4] < 0 ? 0 : v[4], 0};
            if (s.tabs.size() < 1000) s.tabs.push_back(p);
        } else if (word == "courant" && Numbers(rest, v, 1) && v[0] >= 0) {
            s.current = v[0];
        } else if (word == "taille" && Numbers(rest, v, 1) && v[0] >= 1 && v[0] <= 4) {
            s.textSize = v[0];
        } else if (word == "lignes" && Numbers(rest, v, 1) && (v[0] == 0 || v[0] == 1)) {
            s.versePerLine = v[0] == 1;
        } else if (word == "comparees") {
            std::vector<std::string> folders;
            if (Folders(rest, folders))
                s.compared = std::move(folders);
            else if (!hidden)
                return std::nullopt;
        } else if (word == "module" && Numbers(rest, v, 1) && v[0] >= 0 && v[0] <= 6) {
            s.module = v[0];
        } else if (!hidden) {
            return std::nullopt;
        }
    }
    if (s.tabs.empty() || s.current >= static_cast<int>(s.tabs.size())) return std::nullopt;
    return s;
}

std::string WriteSession(const Session& s) {
    std::string out = "# Session de Lorvane\n";
    out += "taille " + std::to_string(s.textSize) + "\n";
    out += "lignes " + std::to_string(s.versePerLine ? 1 : 0) + "\n";
    out += "module " + std::to_string(s.module) + "\n";
    out += "courant " + std::to_string(s.current) + "\n";
    if (!s.compared.empty()) {
        // A shipped Bible would make an older program drop the whole
        // session: the line is a comment to it.
        if (std::any_of(s.compared.begin(), s.compared.end(),
                        [](const std::string& f) { return ShippedFolder(f); }))
            out += "#+ ";
        out += "comparees";
        for (const std::string& folder : s.compared)
            out += " " + folder;
        out += "\n";
    }
    for (const Place& p : s.tabs)
        out += "onglet " + std::to_string(p.book) + " " + std::to_string(p.chapter) + " " +
               std::to_string(p.verse) + " " + std::to_string(p.scroll) + " " +
               std::to_string(p.top) + "\n";
    return out;
}

Place FitPlace(const Communs& communs, Place p) {
    if (p.book < 1 || p.book > kBookCount) return Place{1, 1, 1, -1};
    if (communs.Book(p.book).ChapterCount < 1) return p;
    if (p.chapter < 1 || p.chapter > communs.Book(p.book).ChapterCount)
        return Place{p.book, 1, 1, -1};
    if (p.verse != 1 && communs.VerseLookup(p.book, p.chapter, p.verse) == 0)
        return Place{p.book, p.chapter, 1, -1};
    if (p.top != 0 && communs.VerseLookup(p.book, p.chapter, p.top) == 0) p.top = 0;
    return p;
}

}  // namespace lorvane
