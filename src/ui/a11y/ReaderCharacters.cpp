#include "ReaderCharacters.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <utility>

#include "ReaderText.h"

namespace lorvane::a11y {

namespace {

// The words each named cell begins with, by the document position of the
// cell's first character. The page's first table names the columns (one
// row of short names); every later table of as many columns is named by it.
QHash<int, QString> ColumnNames(const QTextDocument* doc) {
    QHash<int, QString> names;
    const auto textOf = [doc](const QTextTableCell& cell) {
        QTextCursor c(const_cast<QTextDocument*>(doc));
        c.setPosition(cell.firstPosition());
        c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
        return c.selectedText().simplified();
    };
    // Every frame, however deep, in the order of the page.
    QList<QTextFrame*> frames = doc->rootFrame()->childFrames();
    for (qsizetype k = 0; k < frames.size(); ++k)
        frames += frames[k]->childFrames();
    std::sort(frames.begin(), frames.end(),
              [](QTextFrame* a, QTextFrame* b) { return a->firstPosition() < b->firstPosition(); });
    QStringList heads;
    bool first = true;
    for (QTextFrame* frame : frames) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        if (std::exchange(first, false)) {
            if (table->rows() != 1 || table->columns() < 2) return names;
            for (int col = 0; col < table->columns(); ++col) {
                const QString head = textOf(table->cellAt(0, col));
                if (head.isEmpty() || head.size() > 16) return names;
                heads << head;
            }
            continue;
        }
        if (table->columns() != heads.size()) continue;
        for (int row = 0; row < table->rows(); ++row)
            for (int col = 0; col < table->columns(); ++col) {
                const QTextTableCell cell = table->cellAt(row, col);
                if (cell.row() == row && cell.column() == col && !textOf(cell).isEmpty())
                    names.insert(cell.firstPosition(), heads[col] + QLatin1Char(' '));
            }
    }
    return names;
}

// The titles read, by the document position they are read at, and the
// characters of titled links, which their title replaces.
struct Titles {
    QHash<int, QString> words;
    std::vector<bool> replaced;
};

Titles TitlesOf(const QTextDocument* doc, int count) {
    Titles t;
    QString previous;  // the title of the fragment before, when it ends here
    int previousEnd = -1;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            const QString title = format.toolTip();
            const bool sameRun = title == previous && previousEnd == f.position();
            previous = title;
            previousEnd = f.position() + f.length();
            if (title.isEmpty()) continue;
            if (format.isAnchor()) {
                if (t.replaced.empty()) t.replaced.assign(static_cast<std::size_t>(count), false);
                for (int k = f.position(); k < std::min(previousEnd, count); ++k)
                    t.replaced[static_cast<std::size_t>(k)] = true;
                if (!sameRun) t.words.insert(f.position(), title);
            } else if (!sameRun) {
                t.words.insert(f.position(), title + QLatin1Char(' '));
            }
        }
    return t;
}

}  // namespace

ReaderCharacters CharactersOf(const QTextDocument* doc, bool namedColumns, bool spokenTitles) {
    ReaderCharacters out;
    const QHash<int, QString> names = namedColumns ? ColumnNames(doc) : QHash<int, QString>();
    // A cell's name comes before the first of its characters read.
    QString pending;
    int pendingPos = 0;
    const auto name = [&] {
        if (pending.isEmpty()) return;
        out.text += pending;
        out.pos.insert(out.pos.end(), static_cast<std::size_t>(pending.size()), pendingPos);
        pending.clear();
    };
    const QString raw = doc->toRawText();
    const int n = static_cast<int>(std::min<qsizetype>(raw.size(), doc->characterCount() - 1));
    out.text.reserve(n);
    out.pos.reserve(static_cast<std::size_t>(std::max(n, 0)));
    const Titles titles = spokenTitles ? TitlesOf(doc, n) : Titles();
    for (int i = 0; i < n; ++i) {
        QChar c = raw[i];
        if (!names.isEmpty())
            if (auto it = names.constFind(i); it != names.cend()) {
                pending = *it;
                pendingPos = i;
            }
        if (!titles.words.isEmpty())
            if (auto it = titles.words.constFind(i); it != titles.words.cend()) {
                name();
                out.text += *it;
                out.pos.insert(out.pos.end(), static_cast<std::size_t>(it->size()), i);
            }
        if (!titles.replaced.empty() && titles.replaced[static_cast<std::size_t>(i)]) continue;
        if (c.isHighSurrogate() && i + 1 < n && raw[i + 1].isLowSurrogate()) {
            if (!IsNonCharacter(QChar::surrogateToUcs4(c, raw[i + 1]))) {
                name();
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
        if (c != u'\n') name();
        out.text += c;
        out.pos.push_back(i);
    }
    return out;
}

}  // namespace lorvane::a11y
