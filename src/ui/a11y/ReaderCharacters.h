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

// With `namedColumns`, each cell of a table below its first row begins
// with the words of its column's head and a space, read where no document
// character is (their pos is the cell's first): a page of Bibles side by
// side says which Bible each cell is from (« LSG 1 Au commencement… »).
//
// With `spokenTitles`, a run of text with a title (its tooltip) is read
// after its title: a highlighted verse « surligné en jaune Car Dieu… »; a
// link with a title is read as its title alone, so that a note's mark is
// the link « Note : » and the note's first words.
ReaderCharacters CharactersOf(const QTextDocument* doc, bool namedColumns = false,
                              bool spokenTitles = false);

}  // namespace lorvane::a11y
