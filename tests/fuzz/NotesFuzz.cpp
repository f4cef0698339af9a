// libFuzzer target: the reader of the notes file, its merge and import, and
// the references found in a note's text, on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "FuzzBible.h"
#include "NoteBook.h"
#include "References.h"

using namespace lorvane;

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
    static const BookNames names(FuzzBible());
    std::size_t end = 0;
    for (const ReferenceSpan& r : FindReferences(text, names, FuzzBible())) {
        if (r.start < end || r.length == 0 || r.start + r.length > text.size()) std::abort();
        end = r.start + r.length;
    }
    return 0;
}
