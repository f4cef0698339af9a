#pragma once

#include <QAccessible>

class QTextEdit;

namespace lorvane {
class TBrowserPane;
}

namespace lorvane::a11y {

// A text view. The page of a browser pane (`pane`, else null) is a
// document whose children are its links; any other (the pad's) an editable
// text with its formats as attributes. Text offsets count the characters a
// reader is given (ReaderCharacters).
QAccessibleInterface* NewAccessibleTextView(QTextEdit* edit, TBrowserPane* pane);

}  // namespace lorvane::a11y
