#include "HistoryEdit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace lorvane {

THistoryEdit::THistoryEdit(QWidget* parent) : QLineEdit(parent) {}

int THistoryEdit::IndexOf(const QString& text) const {
    for (int i = 0; i < history_.size(); ++i)
        if (history_[i].compare(text, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void THistoryEdit::Remember(const QString& text) {
    if (!text.isEmpty() && IndexOf(text) < 0) history_.append(text);
}

void THistoryEdit::Complete() {
    const QString typed = text().left(cursorPosition());
    if (typed.isEmpty() || typed.size() >= kMaxCompletion) return;
    for (const QString& entry : history_) {
        if (!entry.startsWith(typed, Qt::CaseInsensitive)) continue;
        const QString rest = entry.mid(typed.size(), kMaxCompletion - typed.size());
        if (rest.isEmpty()) return;
        setText(typed + rest);
        setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        return;
    }
}

void THistoryEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (int i = IndexOf(text()); i >= 0 && text() != history_[i]) setText(history_[i]);
        e->accept();
        emit KeyPress(13);
        return;
    }
    if (!e->text().isEmpty()) emit KeyPress(e->text().front().unicode());
    const QString before = text();
    QLineEdit::keyPressEvent(e);
    if (text() != before && e->key() != Qt::Key_Backspace && e->key() != Qt::Key_Delete) Complete();
}

void THistoryEdit::inputMethodEvent(QInputMethodEvent* e) {
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
