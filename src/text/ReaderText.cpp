#include "ReaderText.h"

namespace lorvane {

bool IsNonCharacter(char32_t codePoint) {
    return (codePoint >= 0xFDD0 && codePoint <= 0xFDEF) ||
           (codePoint <= 0x10FFFF && (codePoint & 0xFFFE) == 0xFFFE);
}

QString WithoutNonCharacters(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            if (!IsNonCharacter(QChar::surrogateToUcs4(c, text[i + 1]))) {
                out += c;
                out += text[i + 1];
            }
            ++i;
            continue;
        }
        if (!IsNonCharacter(c.unicode())) out += c;
    }
    return out;
}

}  // namespace lorvane
