#include "LeftOut.h"

#include <algorithm>

#include "Canon.h"

namespace lorvane::importer {
namespace {

using datawriter::kCanon;

constexpr int kOldTestament = 39;

std::string Plural(int n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

}  // namespace

std::string MissingBooksText(const std::vector<int>& missing) {
    auto has = [&](int b) { return std::binary_search(missing.begin(), missing.end(), b); };
    bool oldGone = true, newGone = true;
    for (int b = 1; b <= kBooks; ++b)
        (b <= kOldTestament ? oldGone : newGone) &= has(b);
    std::string text;
    auto add = [&](std::string_view part) {
        if (!text.empty()) text += ", ";
        text += part;
    };
    if (oldGone) add("l'Ancien Testament (39 livres)");
    if (newGone) add("le Nouveau Testament (27 livres)");
    for (int b : missing)
        if (!(b <= kOldTestament ? oldGone : newGone))
            add(kCanon[static_cast<std::size_t>(b - 1)].name);
    return text;
}

std::string OutsideBooksText(const Report& report) {
    std::vector<std::string_view> names;
    for (const std::string& example : report.Examples("books outside the 66, skipped")) {
        const std::string_view name =
            datawriter::OutsideBookName(std::string_view(example).substr(0, example.find(' ')));
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    if (names.empty()) return {};
    std::string text = Plural(static_cast<int>(names.size()),
                              " livre hors des 66 ignoré : ", " livres hors des 66 ignorés : ");
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ", " : "") + std::string(names[i]);
    return text + ".";
}

std::vector<ShortBook> ShortBooks(const BibleData& bible) {
    std::vector<std::vector<bool>> present(kBooks + 1);
    for (const dw::VerseEntry& v : bible.verses) {
        if (v.book < 1 || v.book > kBooks || v.chapter < 1 || v.chapter > kMaxChapter) continue;
        auto& chapters = present[static_cast<std::size_t>(v.book)];
        if (chapters.size() <= static_cast<std::size_t>(v.chapter))
            chapters.resize(static_cast<std::size_t>(v.chapter) + 1);
        chapters[static_cast<std::size_t>(v.chapter)] = true;
    }
    std::vector<ShortBook> out;
    for (int b = 1; b <= kBooks; ++b) {
        const auto& chapters = present[static_cast<std::size_t>(b)];
        const int have = static_cast<int>(std::count(chapters.begin(), chapters.end(), true));
        if (have == 0) continue;  // a missing book is told with the others
        const int highest = static_cast<int>(chapters.size()) - 1;
        const int usual = kCanon[static_cast<std::size_t>(b - 1)].chapters;
        if (have < usual - 1 || have < highest) out.push_back({b, have, std::max(usual, highest)});
    }
    return out;
}

std::string ShortBooksText(const std::vector<ShortBook>& books) {
    std::string text;
    for (const ShortBook& s : books) {
        if (!text.empty()) text += "\n";
        text += std::string(kCanon[static_cast<std::size_t>(s.book - 1)].name) + " : " +
                Plural(s.chapters, " chapitre sur ", " chapitres sur ") +
                std::to_string(s.expected) + ".";
    }
    return text;
}

}  // namespace lorvane::importer
