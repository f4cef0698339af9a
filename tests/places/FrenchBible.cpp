#include "FrenchBible.h"

#include <cstring>

#include "Canon.h"
#include "Cp1252.h"

namespace lorvane::testing {
namespace {

template <std::size_t N>
void SetName(PString<N>& field, std::string_view utf8) {
    field.text = std::string(utf8);
}

int VerseCount(int book, int chapter) {
    if (book == 43 && chapter == 3) return 36;
    if (book == 19 && chapter == 23) return 6;
    if (book == 19 && chapter == 119) return 176;
    if (book == 45 && chapter == 8) return 39;
    return 20;
}

Communs Make() {
    Communs c("/nonexistent/");
    auto bytes = std::make_shared<std::string>();
    struct Pending {
        int book, chapter, verse;
        std::size_t at, size;
    };
    std::vector<Pending> pending;
    for (int b = 1; b <= kBookCount; ++b) {
        const auto& canon = datawriter::kCanon[static_cast<std::size_t>(b - 1)];
        SetName(c.BookTable[static_cast<std::size_t>(b)].Name, canon.name);
        SetName(c.BookTable[static_cast<std::size_t>(b)].ShortName, canon.abbreviation);
        c.BookTable[static_cast<std::size_t>(b)].ChapterCount = canon.chapters;
        for (int ch = 1; ch <= canon.chapters; ++ch)
            for (int v = 1; v <= VerseCount(b, ch); ++v) {
                std::string text = b == 43 && ch == 3 && v == 16
                                       ? std::string("Car Dieu a tant aimé le monde")
                                       : "Texte " + std::to_string(b) + "." + std::to_string(ch) +
                                             "." + std::to_string(v);
                pending.push_back({b, ch, v, bytes->size(), text.size()});
                *bytes += text;
            }
    }
    std::vector<TVerset> table(pending.size() + 2);
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const Pending& p = pending[i];
        table[i + 1] = {p.book, p.chapter, p.verse, std::string_view(*bytes).substr(p.at, p.size)};
    }
    table.back().Book = kEndMarker;
    c.SetVerseTable(std::move(table), pending.size(), bytes);
    return c;
}

}  // namespace

const Communs& FrenchBible() {
    static const Communs bible = Make();
    return bible;
}

}  // namespace lorvane::testing
