#pragma once

// THistoryEdit: a single-line text field that remembers the texts it held
// while the program runs and completes what is typed from them.
//
//   - When the field loses the focus to another control, or on Enter, a
//     non-empty text that is not yet in the history is appended to it.
//     Texts that differ only in their capitals are distinct entries.
//   - After each keystroke that changed the text, other than Backspace and
//     Delete, the first history entry that begins with the text before the
//     caret, capitals included, completes the field: the rest of the entry
//     is put after that text, the field holding at most 255 characters, and
//     the completed part is selected, so that typing on replaces it.
//   - The completion is only offered: moving the caret (End, Right) takes
//     it, and Enter while it is still selected drops it, so that the
//     query runs as typed. Enter never changes what the reader typed.
//
// KeyPress reports each character typed, Enter as 13, after the field's own
// handling of Enter and before its handling of the other keys.

#include <QLineEdit>
#include <QStringList>

namespace lorvane {

class THistoryEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit THistoryEdit(QWidget* parent = nullptr);

    const QStringList& History() const { return history_; }
    // The index of the entry equal to `text`, or -1.
    int IndexOf(const QString& text) const;
    // Appends `text` unless it is empty or already there.
    void Remember(const QString& text);

    // The longest text a completion makes.
    static constexpr int kMaxCompletion = 255;

  signals:
    void KeyPress(int key);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void Complete();

    QStringList history_;
    int completedFrom_ = -1;  // where the completion still offered starts, or -1
};

}  // namespace lorvane
