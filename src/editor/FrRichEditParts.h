#pragma once

// What the pad's frame, its toolbar and its document handling share: the
// pad's typeface and its text widget.

#include <QFont>
#include <QMimeData>
#include <QTextEdit>

#include "ErrorDisplay.h"
#include "FrRichEdit.h"

namespace lorvane::pad {

// The typeface of the pages (Tahoma, or the face drawn for it) at 10 points:
// a face that is there, which the typeface box names as it is.
QFont PadFont();

// The pad's text: pasted and dropped data goes through the pad.
class PadTextEdit : public QTextEdit {
  public:
    PadTextEdit(TFrmRichEdit* pad, QWidget* parent) : QTextEdit(parent), pad_(pad) {}
    // Qt's own insertion, for plain text.
    void InsertPlain(const QMimeData* source) { QTextEdit::insertFromMimeData(source); }

  protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (source) Guarded([&] { pad_->InsertFromMime(*source); });
    }

  private:
    TFrmRichEdit* pad_;
};

}  // namespace lorvane::pad
