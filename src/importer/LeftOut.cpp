#include "LeftOut.h"

#include <algorithm>
#include <string_view>

#include "Canon.h"

namespace lorvane::importer {
namespace {

using datawriter::kCanon;

constexpr int kOldTestament = 39;

struct Outside {
    std::string_view usfm, osis, name;
};

// The books some Bibles hold beyond the 66, with the names French Bibles
// give them.
constexpr Outside kOutside[] = {
    {"TOB", "Tob", "Tobie"},
    {"JDT", "Jdt", "Judith"},
    {"ESG", "EsthGr", "Esther grec"},
    {"ESG", "AddEsth", "Esther grec"},
    {"WIS", "Wis", "Sagesse"},
    {"SIR", "Sir", "Siracide"},
    {"BAR", "Bar", "Baruch"},
    {"LJE", "EpJer", "Lettre de Jérémie"},
    {"S3Y", "PrAzar", "Cantique des trois jeunes gens"},
    {"SUS", "Sus", "Suzanne"},
    {"BEL", "Bel", "Bel et le dragon"},
    {"DAG", "AddDan", "Daniel grec"},
    {"1MA", "1Macc", "1 Maccabées"},
    {"2MA", "2Macc", "2 Maccabées"},
    {"3MA", "3Macc", "3 Maccabées"},
    {"4MA", "4Macc", "4 Maccabées"},
    {"1ES", "1Esd", "1 Esdras"},
    {"2ES", "2Esd", "2 Esdras"},
    {"MAN", "PrMan", "Prière de Manassé"},
    {"PS2", "AddPs", "Psaume 151"},
    {"ODA", "Odes", "Odes"},
    {"PSS", "PssSol", "Psaumes de Salomon"},
    {"LAO", "EpLao", "Épître aux Laodicéens"},
};

std::string_view OutsideName(std::string_view id) {
    for (const Outside& o : kOutside)
        if (o.usfm == id || o.osis == id) return o.name;
    return {};
}

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
            OutsideName(std::string_view(example).substr(0, example.find(' ')));
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
