// libFuzzer target: the RTF reader of the writing pad on arbitrary bytes,
// and the writer on what it reads. The reader must accept anything, give
// well-formed documents, and what the writer makes of them must read back
// to the same text and write again to the same bytes. Bytes read as plain
// text and saved as text again come back unchanged when nothing in them was
// left out or had several kinds of line ends.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PadRules.h"
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

// Whether the pad gives back a text file's own bytes: one kind of line end,
// and no character the reader leaves out (in a file of single bytes or
// UTF-8, where that shows in the bytes).
bool ComesBackAsItWas(std::string_view bytes, const rtf::TextFormat& format) {
    if (format.encoding == rtf::TextEncoding::Utf16Le ||
        format.encoding == rtf::TextEncoding::Utf16Be)
        return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return false;
        const bool crlf = c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        const rtf::LineEnd kind = crlf        ? rtf::LineEnd::CrLf
                                  : c == '\r' ? rtf::LineEnd::Cr
                                              : rtf::LineEnd::Lf;
        if ((c == '\r' || c == '\n') && kind != format.lineEnd) return false;
        if (crlf) ++i;
    }
    return true;
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

    if (rtf::IsRtf(bytes)) return 0;
    const rtf::TextFormat opened = rtf::DetectTextFormat(bytes);
    const rtf::TextFormat format = rtf::TextSaveFormat(doc, opened);
    Check(format == opened);
    const std::string text = rtf::WriteText(doc, format);
    if (ComesBackAsItWas(bytes, format)) Check(text == bytes);
    return 0;
}
