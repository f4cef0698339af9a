// libFuzzer target: a typed reference, the signets file and the session
// file, on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "References.h"
#include "Session.h"
#include "Signets.h"

namespace {

using namespace lorvane;

// 66 books with accented names, of 1 to 150 chapters of 1 to 176 verses.
const Communs& Bible() {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const BookNames names(Bible());
    const ParsedReference r = ParseReference(names, Bible(), text);
    if (r.ok && Bible().Book(r.ref.Book).ChapterCount < r.ref.Chapter) std::abort();
    // A range of chapters ends after its first, inside the book.
    if (r.lastChapter != 0 && (!r.ok || r.lastChapter <= r.ref.Chapter ||
                               r.lastChapter > Bible().Book(r.ref.Book).ChapterCount))
        std::abort();
    names.Complete(text);
    FoldName(text);

    const SignetFile signets = ReadSignets(text);
    if (ReadSignets(WriteSignets(signets.signets)).signets.size() != signets.signets.size())
        std::abort();
    if (const std::optional<Session> s = ReadSession(text)) {
        const std::optional<Session> again = ReadSession(WriteSession(*s));
        if (!again || again->compared != s->compared) std::abort();
        for (const Place& p : s->tabs)
            FitPlace(Bible(), p);
    }
    return 0;
}
