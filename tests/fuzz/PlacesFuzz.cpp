// libFuzzer target: a typed reference, the signets file and the session
// file, on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzBible.h"
#include "References.h"
#include "Session.h"
#include "Signets.h"

using namespace lorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const BookNames names(FuzzBible());
    const ParsedReference r = ParseReference(names, FuzzBible(), text);
    if (r.ok && FuzzBible().Book(r.ref.Book).ChapterCount < r.ref.Chapter) std::abort();
    // A range of chapters ends after its first, inside the book.
    if (r.lastChapter != 0 && (!r.ok || r.lastChapter <= r.ref.Chapter ||
                               r.lastChapter > FuzzBible().Book(r.ref.Book).ChapterCount))
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
            FitPlace(FuzzBible(), p);
    }
    return 0;
}
