// libFuzzer target: the RTF reader of the writing pad on arbitrary bytes,
// and the writer on what it reads. The reader must accept anything, give
// well-formed documents, and what the writer makes of them must read back
// to the same text and write again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Rtf.h"
#include "Utf8.h"

namespace rtf = lorvane::rtf;
namespace utf8 = lorvane::utf8;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = i;
        const char32_t cp = utf8::Next(text, i);
        // Well-formed UTF-8 (U+FFFD only where it was written).
        if (cp == utf8::kReplacement) Check(text.compare(at, 3, "\xEF\xBF\xBD") == 0);
        Check(cp >= 0x20 || cp == '\t' || cp == '\n');
        Check(cp != 0x7F);
    }
}

void CheckFormat(const rtf::CharFormat& f) {
    Check(f.halfPoints >= rtf::kMinHalfPoints && f.halfPoints <= rtf::kMaxHalfPoints);
    Check(f.offset >= -rtf::kMaxOffset && f.offset <= rtf::kMaxOffset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const rtf::Document doc = rtf::Read(bytes);
    Check(!doc.paragraphs.empty());
    for (const rtf::Paragraph& p : doc.paragraphs) {
        Check(p.format.leftIndent >= -rtf::kMaxIndent && p.format.leftIndent <= rtf::kMaxIndent);
        Check(p.format.firstLineIndent >= -rtf::kMaxIndent &&
              p.format.firstLineIndent <= rtf::kMaxIndent);
        CheckFormat(p.mark);
        for (const rtf::Run& r : p.runs) {
            CheckFormat(r.format);
            CheckText(r.text);
        }
    }
    const std::string written = rtf::Write(doc);
    for (char c : written)
        Check(static_cast<unsigned char>(c) < 0x80);
    const rtf::Document again = rtf::Read(written);
    Check(rtf::PlainText(again) == rtf::PlainText(doc));
    Check(rtf::Write(again) == written);
    return 0;
}
