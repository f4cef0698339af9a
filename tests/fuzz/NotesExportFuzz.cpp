// libFuzzer target: the reader of the notes' export (the HTML page and the
// plain text « Importer des notes... » reads back), on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "NoteBook.h"
#include "NoteFile.h"

using namespace lorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IsExportedNotes(bytes);
    const NoteFile file = ReadExportedNotes(bytes);
    for (const Note& n : file.notes)
        if (!IsRange(n.first, n.last) || n.text.size() > size) std::abort();
    for (const Highlight& h : file.highlights)
        if (!IsVerse(h.verse) || h.colour == Colour::None) std::abort();

    // What is read and exported again reads back the same.
    NoteBook book([] { return std::string("2027-01-01T00:00:00Z"); });
    NoteFile kept = file;
    for (std::size_t i = 0; i < kept.notes.size(); ++i) {
        kept.notes[i].id = std::to_string(1000000000000000 + i);
        kept.notes[i].created = kept.notes[i].modified = "2027-01-01T00:00:00Z";
    }
    book.Merge(kept);
    for (const std::string& again : {book.ExportHtml(), book.ExportText()}) {
        if (!IsExportedNotes(again)) std::abort();
        NoteBook other([] { return std::string("2027-01-01T00:00:00Z"); });
        other.Import(again);
        if (other.Count() > book.Count()) std::abort();
    }
    return 0;
}
