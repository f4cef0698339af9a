#include "FuzzBible.h"

#include <memory>
#include <string>
#include <vector>

namespace lorvane {

const Communs& FuzzBible() {
    static const Communs c = [] {
        Communs b("/nonexistent/");
        auto bytes = std::make_shared<std::string>("x");
        std::vector<TVerset> table(1);
        for (int n = 1; n <= kBookCount; ++n) {
            TLivre& book = b.BookTable[static_cast<std::size_t>(n)];
            const std::string name = (n % 3 ? "Ésaïe " : "1 Jean ") + std::to_string(n);
            book.Name.text = name;
            book.ShortName.text = name.substr(0, 2);
            book.ChapterCount = n == 19 ? 150 : 1 + n % 7;
            for (int ch = 1; ch <= book.ChapterCount; ++ch)
                for (int v = 1; v <= (n == 19 && ch == 119 ? 176 : 3); ++v)
                    table.push_back({n, ch, v, std::string_view(*bytes)});
        }
        const std::size_t verses = table.size() - 1;
        table.push_back({kEndMarker, 0, 0, {}});
        b.SetVerseTable(std::move(table), verses, bytes);
        return b;
    }();
    return c;
}

}  // namespace lorvane
