// A pad file that is not RTF, read as plain text.

#include "Cp1252.h"
#include "RtfReading.h"
#include "Utf8.h"

namespace lorvane::rtf::reading {

// Plain text: UTF-8 when it is valid (or UTF-16 with its byte-order mark),
// Windows-1252 otherwise; one paragraph per line.
Document ReadPlainText(std::string_view bytes) {
    std::string text;
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        const bool little = bytes[0] == '\xFF';
        char32_t high = 0;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            const char32_t unit = little ? (a | (b << 8)) : ((a << 8) | b);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (high) utf8::Append(text, utf8::kReplacement);
                high = unit;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                utf8::Append(text, high ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00)
                                        : utf8::kReplacement);
                high = 0;
            } else {
                if (high) utf8::Append(text, utf8::kReplacement);
                high = 0;
                utf8::Append(text, unit);
            }
        }
        if (high) utf8::Append(text, utf8::kReplacement);
    } else if (utf8::IsValid(bytes)) {
        text = bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
    } else {
        text = cp1252::ToUtf8(bytes);
    }

    Document doc;
    rtf::Paragraph para;
    para.runs.push_back(rtf::Run{});
    auto end = [&] {
        if (para.runs.back().text.empty()) para.runs.clear();
        doc.paragraphs.push_back(std::move(para));
        para = rtf::Paragraph{};
        para.runs.push_back(rtf::Run{});
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            end();
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
            if (c != 0x7F) para.runs.back().text += c;
        }
    }
    if (!para.runs.back().text.empty() || doc.paragraphs.empty()) end();
    return doc;
}

}  // namespace lorvane::rtf::reading
