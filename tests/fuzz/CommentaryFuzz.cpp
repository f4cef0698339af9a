// A commentary kept beside the Bibles, on arbitrary bytes: its file, the
// helper's commentary it came in, and the module markup made HTML with the
// heading check. None may crash, hang or read out of bounds; what passes
// must hold together.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "BibleFile.h"
#include "Commentary.h"
#include "CommentaryHtml.h"
#include "UsfmSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvane;
    const std::string input(reinterpret_cast<const char*>(data), size);

    try {
        const commentary::Commentary c = commentary::Commentary::FromBytes(input);
        // Every verse of a few chapters: what is found holds the verse.
        for (int book : {1, 40, 66})
            for (int verse = 1; verse <= 176; verse += 7) {
                const VersePlace p = PlaceOf(book, 1 + verse % 3, verse);
                if (const auto found = c.EntryFor(p)) {
                    if (found->first > p || found->lastVerse < verse ||
                        found->html.size() > commentary::kMaxEntryBytes)
                        std::abort();
                }
            }
    } catch (const commentary::CommentaryError&) {
    }

    try {
        const importer::HelperCommentary h = importer::DecodeHelperCommentary(input);
        if (importer::DecodeHelperCommentary(importer::EncodeHelperCommentary(h)).file != h.file)
            std::abort();
    } catch (const importer::ImportError&) {
    }

    const auto resolve = [](const std::string& ref) -> std::optional<importer::LinkTarget> {
        if (ref.size() % 2) return importer::LinkTarget{1, 1, 1, 0};
        return std::nullopt;
    };
    for (bool thml : {false, true}) {
        if (const auto html = importer::MarkupToHtml(input, thml, resolve)) {
            // Nothing of the markup comes through as a tag of its own.
            if (html->find("<script") != std::string::npos) std::abort();
        }
    }
    importer::HeadingAgrees(importer::MarkupText(input), 5, 21, 26);
    importer::PlainToHtml(input);
    importer::GbfToHtml(input);
    return 0;
}
