#include "HistoryEdit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace lorvane {

THistoryEdit::THistoryEdit(QWidget* parent) : QLineEdit(parent) {}

int THistoryEdit::IndexOf(const QString& text) const {
    for (int i = 0; i < history_.size(); ++i)
        if (history_[i] == text) return i;
    return -1;
}

void THistoryEdit::Remember(const QString& text) {
    if (!text.isEmpty() && IndexOf(text) < 0) history_.append(text);
}

void THistoryEdit::Complete() {
    const QString typed = text().left(cursorPosition());
    if (typed.isEmpty() || typed.size() >= kMaxCompletion) return;
    for (const QString& entry : history_) {
        if (!entry.startsWith(typed, Qt::CaseSensitive)) continue;
        const QString rest = entry.mid(typed.size(), kMaxCompletion - typed.size());
        if (rest.isEmpty()) return;
        setText(typed + rest);
        setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        completedFrom_ = static_cast<int>(typed.size());
        return;
    }
}

void THistoryEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // A completion the reader has not taken is not part of the query.
        if (completedFrom_ >= 0 && hasSelectedText() && selectionStart() == completedFrom_ &&
            selectionEnd() == text().size())
            setText(text().left(completedFrom_));
        completedFrom_ = -1;
        Remember(text());
        e->accept();
        emit KeyPress(13);
        return;
    }
    if (!e->text().isEmpty()) emit KeyPress(e->text().front().unicode());
    completedFrom_ = -1;
    const QString before = text();
    QLineEdit::keyPressEvent(e);
    if (text() != before && e->key() != Qt::Key_Backspace && e->key() != Qt::Key_Delete) Complete();
}

void THistoryEdit::inputMethodEvent(QInputMethodEvent* e) {
    completedFrom_ = -1;
    const QString before = text();
    QLineEdit::inputMethodEvent(e);
    if (text() != before && !e->commitString().isEmpty()) Complete();
}

void THistoryEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A menu opening or the window losing its activation leave the focus
    // where it is.
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
        Remember(text());
}

}  // namespace lorvane
