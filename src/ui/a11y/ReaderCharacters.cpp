#include "ReaderCharacters.h"

#include <QTextDocument>
#include <algorithm>

#include "ReaderText.h"

namespace lorvane::a11y {

ReaderCharacters CharactersOf(const QTextDocument* doc) {
    ReaderCharacters out;
    const QString raw = doc->toRawText();
    const int n = static_cast<int>(std::min<qsizetype>(raw.size(), doc->characterCount() - 1));
    out.text.reserve(n);
    out.pos.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        QChar c = raw[i];
        if (c.isHighSurrogate() && i + 1 < n && raw[i + 1].isLowSurrogate()) {
            if (!IsNonCharacter(QChar::surrogateToUcs4(c, raw[i + 1]))) {
                out.text += c;
                out.text += raw[i + 1];
                out.pos.push_back(i);
                out.pos.push_back(i + 1);
            }
            ++i;
            continue;
        }
        if (c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1) {
            // The bounds of a frame or of a table cell: a line break, so
            // that cells do not run together, unless one is there already.
            const QChar next = i + 1 < n ? raw[i + 1] : QChar(u'\n');
            const bool breakNext = next == QChar::ParagraphSeparator ||
                                   next == QChar::LineSeparator || next.unicode() == 0xFDD0 ||
                                   next.unicode() == 0xFDD1;
            if (out.text.isEmpty() || out.text.back() == u'\n' || breakNext) continue;
            c = u'\n';
        }
        if (IsNonCharacter(c.unicode())) continue;
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
        out.text += c;
        out.pos.push_back(i);
    }
    return out;
}

}  // namespace lorvane::a11y
