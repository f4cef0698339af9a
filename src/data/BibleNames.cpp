#include "BibleNames.h"

#include <QChar>
#include <fstream>

#include "Cp1252.h"
#include "Utf8.h"

namespace lorvane {
namespace {

// The bytes of a name as UTF-8. A UTF-16 byte-order mark decides; UTF-8
// stays as it is, its mark dropped. Bytes mostly not UTF-8 are read as
// Windows-1252; in UTF-8 with a few stray bytes, each stray byte is read as
// Windows-1252, or replaced by U+FFFD when the UTF-8 mark vouched for the
// rest.
std::string NameToUtf8(std::string_view bytes) {
    if (utf8::HasUtf16Mark(bytes)) return utf8::Utf16ToUtf8(bytes);
    const bool marked = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (marked) bytes.remove_prefix(3);
    const auto [multibyte, stray] = utf8::Count(bytes);
    if (stray == 0) return std::string(bytes);
    if ((marked && multibyte == 0) || (!marked && stray > multibyte)) return cp1252::ToUtf8(bytes);
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8::SequenceLength(bytes, i);
        if (n == 0) {
            if (marked)
                utf8::Append(out, utf8::kReplacement);
            else
                out += cp1252::ToUtf8(bytes.substr(i, 1));
            ++i;
            continue;
        }
        out.append(bytes.substr(i, n));
        i += n;
    }
    return out;
}

bool IsBlank(char32_t cp) {
    return cp == ' ' || (cp >= 0x09 && cp <= 0x0D) || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
           (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
           cp == 0x205F || cp == 0x3000;
}

// Control and formatting characters (zero-width spaces, direction marks,
// the byte-order mark, soft hyphens) and what stands for a lost character.
bool IsInvisible(char32_t cp) {
    if (cp > 0x10FFFF || cp == utf8::kReplacement) return true;
    const QChar::Category category = QChar::category(cp);
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Other_Surrogate || category == QChar::Other_NotAssigned;
}

}  // namespace

std::string CleanBibleName(std::string_view text, std::size_t length) {
    const std::string utf8 = NameToUtf8(text);
    std::string out;
    std::size_t count = 0;
    bool blank = false;
    for (std::size_t pos = 0; pos < utf8.size() && count < length;) {
        const char32_t cp = utf8::Next(utf8, pos);
        if (IsBlank(cp)) {
            blank = !out.empty();
            continue;
        }
        if (IsInvisible(cp)) continue;
        if (blank) {
            out += ' ';
            blank = false;
            if (++count == length) break;
        }
        utf8::Append(out, cp);
        ++count;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string ReadNameFile(const std::string& bibleDir, const char* file, std::size_t max) {
    const std::string dir = bibleDir.empty() || bibleDir.back() == '/' ? bibleDir : bibleDir + '/';
    std::ifstream in(dir + "data/" + file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return "";
    return CleanBibleName(line.substr(0, 4 * max), max);
}

}  // namespace lorvane
