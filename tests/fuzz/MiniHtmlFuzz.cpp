// libFuzzer target: the mini-HTML parser, and the page-text and link-address
// code of the browser pane, on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "MiniHtml.h"
#include "PageText.h"
#include "PageUrl.h"

namespace mh = lorvane::minihtml;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses how the rest becomes UTF-16: byte by byte (the
    // likeliest to form tags) or in pairs (any code unit, surrogates too).
    std::u16string text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        for (std::size_t i = 1; i < size; ++i)
            text.push_back(static_cast<char16_t>(data[i]));
    }
    // With bit 1 set, the parser gets the text repeated to some 50,000
    // characters: a pattern that makes it slower than linear then runs into
    // the per-input time limit (-timeout) instead of passing unnoticed.
    std::u16string repeated;
    if ((data[0] & 2) && !text.empty()) {
        while (repeated.size() < 50000)
            repeated += text;
    }
    const std::u16string& parsed = repeated.empty() ? text : repeated;

    const std::vector<mh::Item> items = mh::Parse(parsed);
    for (const mh::Item& it : items) {
        switch (it.kind) {
            case mh::ItemKind::Text:
                if (it.text.empty()) std::abort();
                if (it.style.points && (*it.style.points < 1 || *it.style.points > 1000))
                    std::abort();
                break;
            case mh::ItemKind::Image:
                if (it.value < -1) std::abort();
                break;
            case mh::ItemKind::Indent:
                if (it.value < -100000 || it.value > 100000) std::abort();
                break;
            case mh::ItemKind::Break:
                break;
        }
    }
    // Every character drawn comes from the input, every break from a tag.
    if (mh::PlainText(items).size() > parsed.size()) std::abort();

    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const QString page = lorvane::DecodePage(bytes);
    const QString href = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    const lorvane::NavTarget link =
        lorvane::TargetOfLink(href, QStringLiteral("/opt/lorvane/them/index.htm"));
    if (link.local && !link.path.startsWith(u'/')) std::abort();
    lorvane::TargetOfNavigate(href, QStringLiteral("/opt/lorvane/temp.htm"));
    return page.size() < 0;
}
