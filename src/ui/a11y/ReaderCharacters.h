#pragma once

#include <QString>
#include <vector>

class QTextDocument;

namespace lorvane::a11y {

// The characters of a document as a reader is given them: the document's own
// characters but the non-characters, paragraph and line separators as new
// lines, and the markers of frames and table cells as a new line where one
// is needed to keep words apart. pos[k] is the document position of text[k].
struct ReaderCharacters {
    QString text;
    std::vector<int> pos;
};

ReaderCharacters CharactersOf(const QTextDocument* doc);

}  // namespace lorvane::a11y
