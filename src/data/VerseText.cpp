#include "VerseText.h"

#include <QString>
#include <algorithm>
#include <vector>

#include "Utf8.h"

namespace lorvane {
namespace {

constexpr char32_t kPdf = 0x202C;  // closes an embedding or an override
constexpr char32_t kPdi = 0x2069;  // closes an isolate

bool OpensEmbedding(char32_t cp) {
    return cp == 0x202A || cp == 0x202B || cp == 0x202D || cp == 0x202E;
}
bool OpensIsolate(char32_t cp) {
    return cp >= 0x2066 && cp <= 0x2068;
}

// Whether the text may hold a control: they all begin with E2 80 or E2 81.
bool MayHoldControl(std::string_view s) {
    for (std::size_t i = s.find('\xE2'); i != std::string_view::npos; i = s.find('\xE2', i + 1))
        if (i + 1 < s.size() && (s[i + 1] == '\x80' || s[i + 1] == '\x81')) return true;
    return false;
}

}  // namespace

std::string UpperCase(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
        .toUpper()
        .toStdString();
}

bool RightToLeft(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = utf8::Next(utf8, i);
        switch (QChar::direction(cp)) {
            case QChar::DirL:
                return false;
            case QChar::DirR:
            case QChar::DirAL:
                return true;
            default:
                break;
        }
    }
    return false;
}

void AppendBidiClosed(std::string& out, std::string_view utf8) {
    if (!MayHoldControl(utf8)) {
        out.append(utf8);
        return;
    }
    // The controls open, innermost last: true for an isolate.
    std::vector<bool> open;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        const char32_t cp = utf8::Next(utf8, i);
        if (OpensEmbedding(cp) || OpensIsolate(cp)) {
            open.push_back(OpensIsolate(cp));
        } else if (cp == kPdf) {
            // An embedding's end does not close an isolate opened after it.
            if (open.empty() || open.back()) continue;
            open.pop_back();
        } else if (cp == kPdi) {
            // An isolate's end closes the embeddings opened inside it.
            auto isolate = std::find(open.rbegin(), open.rend(), true);
            if (isolate == open.rend()) continue;
            for (auto it = open.rbegin(); it != isolate; ++it)
                utf8::Append(out, kPdf);
            open.erase(std::prev(isolate.base()), open.end());
        }
        out.append(utf8.data() + at, i - at);
    }
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        utf8::Append(out, *it ? kPdi : kPdf);
}

std::string BidiClosed(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    AppendBidiClosed(out, utf8);
    return out;
}

std::string HtmlEscaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace lorvane
