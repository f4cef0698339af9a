#include "PageText.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>

#include "QtText.h"
#include "Utf8.h"

namespace lorvane {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
           c == ':';
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// The charset named in the <meta> tags of the page's head.
std::string MetaCharset(std::string_view bytes) {
    const std::string head = Lower(bytes.substr(0, std::min<std::size_t>(bytes.size(), 4096)));
    std::size_t pos = 0;
    while ((pos = head.find("<meta", pos)) != std::string::npos) {
        std::size_t end = head.find('>', pos);
        if (end == std::string::npos) end = head.size();
        std::string_view tag = std::string_view(head).substr(pos, end - pos);
        std::size_t cs = tag.find("charset");
        if (cs != std::string_view::npos) {
            std::size_t i = cs + 7;
            while (i < tag.size() &&
                   (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n'))
                ++i;
            if (i < tag.size() && tag[i] == '=') {
                ++i;
                while (i < tag.size() && (tag[i] == ' ' || tag[i] == '"' || tag[i] == '\''))
                    ++i;
                std::size_t start = i;
                while (i < tag.size() && IsNameChar(tag[i]))
                    ++i;
                if (i > start) return std::string(tag.substr(start, i - start));
            }
        }
        pos = end;
    }
    return {};
}

bool ReadAsWindows1252(const std::string& cs) {
    static const char* const kNames[] = {
        "windows-1252", "cp1252", "x-cp1252",   "iso-8859-1",  "iso8859-1",
        "iso_8859-1",   "latin1", "l1",         "us-ascii",    "ascii",
        "cp819",        "ibm819", "iso-ir-100", "csisolatin1", "ansi_x3.4-1968",
    };
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](const char* n) { return cs == n; });
}

}  // namespace

std::string DeclaredCharset(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return "utf-8";
    if (StartsWith(bytes, "\xFF\xFE")) return "utf-16le";
    if (StartsWith(bytes, "\xFE\xFF")) return "utf-16be";
    return MetaCharset(bytes);
}

QString DecodePage(std::string_view bytes) {
    const std::string cs = DeclaredCharset(bytes);
    // A page that names no charset is UTF-8 when it reads as UTF-8 (the
    // chapter pages), else Windows-1252 (the study pages).
    if (cs.empty() && utf8::IsValid(bytes)) return FromUtf8(bytes);
    if (cs.empty() || ReadAsWindows1252(cs)) return FromCp1252(bytes);
    std::optional<QStringConverter::Encoding> enc = QStringConverter::encodingForName(cs.c_str());
    if (!enc || *enc == QStringConverter::System) return FromCp1252(bytes);
    QStringDecoder decoder(*enc);  // skips a byte-order mark by default
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace lorvane
