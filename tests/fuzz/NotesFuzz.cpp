// libFuzzer target: the reader of the notes file, its merge and import, and
// the references found in a note's text, on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "NoteBook.h"
#include "References.h"

using namespace lorvane;

namespace {

// 66 books with accented names, of 1 to 7 chapters of 3 verses, Psaumes of
// 150 with 176 verses at 119.
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
    const NoteFile file = ReadNoteFile(text);
    for (const Note& n : file.notes)
        if (!IsRange(n.first, n.last)) std::abort();
    // What is read is written back and read again the same.
    const NoteFile again = ReadNoteFile(WriteNoteFile(file));
    if (again.unread != 0 || again.notes.size() != file.notes.size() ||
        again.highlights.size() != file.highlights.size() ||
        again.removals.size() != file.removals.size())
        std::abort();
    for (std::size_t i = 0; i < file.notes.size(); ++i)
        if (again.notes[i].text != file.notes[i].text || again.notes[i].id != file.notes[i].id)
            std::abort();

    NoteBook book([] { return std::string("2027-01-01T00:00:00Z"); });
    book.Merge(file);
    book.Import(text);
    book.Filter(text.substr(0, 64));
    book.ExportHtml();
    book.ExportText();
    for (const Note& n : book.Notes())
        FirstWords(n.text);

    // References lie inside the text, one after the other.
    static const BookNames names(Bible());
    std::size_t end = 0;
    for (const ReferenceSpan& r : FindReferences(text, names, Bible())) {
        if (r.start < end || r.length == 0 || r.start + r.length > text.size()) std::abort();
        end = r.start + r.length;
    }
    return 0;
}
