// The pad's formatting toolbar: it follows the selection, and its buttons
// and boxes set the typeface, size, styles, colour, offsets, alignment,
// bullets and indents.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <vector>

#include "FrRichEdit.h"
#include "Rtf.h"
#include "RtfQt.h"

namespace lorvane {
namespace {

constexpr double kIndentStep = 10.0;    // points
constexpr double kBulletIndent = 10.0;  // points
constexpr int kScriptOffset = 4;        // half-points: 2 points, 40 twips
constexpr int kMaxPointSize = rtf::kMaxHalfPoints / 2;

// The blocks that hold the selection (or the caret).
std::vector<QTextBlock> SelectedBlocks(const QTextEdit* edit) {
    const QTextCursor c = edit->textCursor();
    const QTextDocument* doc = edit->document();
    std::vector<QTextBlock> blocks;
    const QTextBlock last = doc->findBlock(c.selectionEnd());
    for (QTextBlock b = doc->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
        blocks.push_back(b);
        if (b == last) break;
    }
    return blocks;
}

double PointSizeOf(const QTextCharFormat& format, const QFont& base) {
    return PointSize(format, base);
}

// One undo step for several edits.
class EditBlock {
  public:
    explicit EditBlock(QTextDocument* doc) : cursor_(doc) { cursor_.beginEditBlock(); }
    ~EditBlock() { cursor_.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

  private:
    QTextCursor cursor_;
};

}  // namespace

// ---------------------------------------------------------------------------
// The toolbar follows the selection.

QTextCharFormat TFrmRichEdit::SelectionFormat() const {
    const QTextCursor c = RTFControl->textCursor();
    if (!c.hasSelection()) return RTFControl->currentCharFormat();
    QTextCursor first(RTFControl->document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

void TFrmRichEdit::RTFControlSelectionChange() {
    const QTextCharFormat f = SelectionFormat();
    const QFont base = RTFControl->document()->defaultFont();
    const rtf::CharFormat c = CharFromQt(f, base);
    BoldButton->setChecked(c.bold);
    ItalicButton->setChecked(c.italic);
    UnderlineButton->setChecked(c.underline);

    const QTextBlock block = RTFControl->textCursor().block();
    BulletsButton->setChecked(block.textList() != nullptr);

    ShowCurrentSize();
    {
        const QSignalBlocker blockName(Fontname);
        const QString family = QString::fromStdString(c.font);
        const int index = Fontname->findText(family, Qt::MatchFixedString);
        if (index >= 0) Fontname->setCurrentIndex(index);
        Fontname->setEditText(family);
    }

    const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    const int value = (a & Qt::AlignHCenter) ? 2 : ((a & Qt::AlignRight) ? 1 : 0);
    AlignGroup->button(value)->setChecked(true);

    const int offset = VerticalOffset(f);
    Subscript->setChecked(offset < 0);
    Superscript->setChecked(offset > 0);
}

void TFrmRichEdit::ShowCurrentSize() {
    const QSignalBlocker block(FontSize);
    const double points = PointSizeOf(SelectionFormat(), RTFControl->document()->defaultFont());
    const QString text = QString::number(points);
    const int index = FontSize->findText(text);
    if (index >= 0) FontSize->setCurrentIndex(index);
    FontSize->setEditText(text);
}

// ---------------------------------------------------------------------------
// Character formatting

void TFrmRichEdit::MergeFormat(const QTextCharFormat& format) {
    RTFControl->mergeCurrentCharFormat(format);
}

void TFrmRichEdit::BoldButtonClick() {
    QTextCharFormat f;
    f.setFontWeight(BoldButton->isChecked() ? QFont::Bold : QFont::Normal);
    MergeFormat(f);
}

void TFrmRichEdit::ItalicButtonClick() {
    QTextCharFormat f;
    f.setFontItalic(ItalicButton->isChecked());
    MergeFormat(f);
}

void TFrmRichEdit::UnderlineButtonClick() {
    QTextCharFormat f;
    f.setFontUnderline(UnderlineButton->isChecked());
    MergeFormat(f);
}

void TFrmRichEdit::FontnameChange() {
    const int index = Fontname->findText(Fontname->currentText(), Qt::MatchFixedString);
    if (index < 0) return;  // typed text that names no typeface
    QTextCharFormat f;
    f.setFontFamilies(QStringList{Fontname->itemText(index)});
    MergeFormat(f);
}

void TFrmRichEdit::FontSizeChange() {
    bool ok = false;
    const int size = FontSize->currentText().trimmed().toInt(&ok);
    if (!ok || size < 1 || size > kMaxPointSize) {
        // Not a whole number of points: the box shows the size again.
        QLineEdit* line = FontSize->lineEdit();
        ShowCurrentSize();
        if (line) line->end(false);
        return;
    }
    QTextCharFormat f;
    f.setFontPointSize(size);
    MergeFormat(f);
    RefreshOffsets();
}

QColorDialog* TFrmRichEdit::ColorDialog1() {
    if (!colorDialog_) {
        colorDialog_ = new QColorDialog(this);
        colorDialog_->setObjectName("ColorDialog1");
    }
    return colorDialog_;
}
void TFrmRichEdit::ToolButton1Click() {
    const QTextCharFormat current = SelectionFormat();
    ColorDialog1()->setCurrentColor(current.foreground().style() != Qt::NoBrush
                                        ? current.foreground().color()
                                        : QColor(Qt::black));
    if (ColorDialog1()->exec() != QDialog::Accepted) return;
    QTextCharFormat f;
    f.setForeground(ColorDialog1()->selectedColor());
    MergeFormat(f);
}

void TFrmRichEdit::SuperscriptClick() {
    ApplyOffset(Superscript->isChecked() ? kScriptOffset : 0);
    Subscript->setChecked(false);
}

void TFrmRichEdit::SubscriptClick() {
    ApplyOffset(Subscript->isChecked() ? -kScriptOffset : 0);
    Superscript->setChecked(false);
}

namespace {

// The fragments of the selection: their range and format, gathered before
// any of them changes.
struct Piece {
    int start;
    int end;
    QTextCharFormat format;
};

std::vector<Piece> SelectedPieces(const QTextEdit* edit) {
    const QTextCursor c = edit->textCursor();
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    std::vector<Piece> pieces;
    for (QTextBlock b = edit->document()->findBlock(start); b.isValid() && b.position() <= end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int a = std::max(fr.position(), start);
            const int z = std::min(fr.position() + fr.length(), end);
            if (a < z) pieces.push_back({a, z, fr.charFormat()});
        }
    }
    return pieces;
}

}  // namespace

void TFrmRichEdit::ApplyOffset(int halfPoints) {
    QTextDocument* doc = RTFControl->document();
    const QFont base = doc->defaultFont();
    if (!RTFControl->textCursor().hasSelection()) {
        QTextCharFormat f;
        SetVerticalOffset(f, halfPoints, PointSizeOf(RTFControl->currentCharFormat(), base));
        MergeFormat(f);
        return;
    }
    // The offset is drawn as a share of each piece's own size.
    EditBlock step(doc);
    for (const Piece& p : SelectedPieces(RTFControl)) {
        QTextCursor c(doc);
        c.setPosition(p.start);
        c.setPosition(p.end, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        SetVerticalOffset(f, halfPoints, PointSizeOf(p.format, base));
        c.mergeCharFormat(f);
    }
}

void TFrmRichEdit::RefreshOffsets() {
    QTextDocument* doc = RTFControl->document();
    const QFont base = doc->defaultFont();
    QTextCharFormat current = RTFControl->currentCharFormat();
    if (!RTFControl->textCursor().hasSelection()) {
        if (const int offset = VerticalOffset(current); offset != 0) {
            QTextCharFormat f;
            SetVerticalOffset(f, offset, PointSizeOf(current, base));
            MergeFormat(f);
        }
        return;
    }
    EditBlock step(doc);
    for (const Piece& p : SelectedPieces(RTFControl)) {
        const int offset = VerticalOffset(p.format);
        if (offset == 0) continue;
        QTextCursor c(doc);
        c.setPosition(p.start);
        c.setPosition(p.end, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        SetVerticalOffset(f, offset, PointSizeOf(p.format, base));
        c.mergeCharFormat(f);
    }
}

// ---------------------------------------------------------------------------
// Paragraph formatting

void TFrmRichEdit::LeftAlignClick(QAbstractButton* sender) {
    switch (AlignGroup->id(sender)) {
        case 1:
            RTFControl->setAlignment(Qt::AlignRight);
            break;
        case 2:
            RTFControl->setAlignment(Qt::AlignHCenter);
            break;
        default:
            RTFControl->setAlignment(Qt::AlignLeft);
            break;
    }
}

void TFrmRichEdit::BulletsButtonClick() {
    QTextDocument* doc = RTFControl->document();
    EditBlock step(doc);
    const bool on = BulletsButton->isChecked();
    for (const QTextBlock& block : SelectedBlocks(RTFControl)) {
        QTextCursor c(block);
        if (!on) {
            if (QTextList* list = block.textList()) list->remove(block);
        }
        // Bullets indent the paragraph; taken off, the indent goes with them.
        QTextBlockFormat f = block.blockFormat();
        f.setLeftMargin(on ? kBulletIndent * kPixelsPerPoint : 0.0);
        f.setIndent(0);
        c.setBlockFormat(f);
    }
    if (on) {
        QTextCursor c = RTFControl->textCursor();
        if (!c.block().textList()) {
            QTextListFormat bullets;
            bullets.setStyle(QTextListFormat::ListDisc);
            bullets.setIndent(0);
            c.createList(bullets);
        } else {
            // Blocks of the selection outside the caret's list join it.
            QTextList* list = c.block().textList();
            for (const QTextBlock& block : SelectedBlocks(RTFControl))
                if (block.textList() != list) {
                    if (QTextList* other = block.textList()) other->remove(block);
                    list->add(block);
                }
        }
    }
}

void TFrmRichEdit::ToolButton2Click() {
    QTextDocument* doc = RTFControl->document();
    EditBlock step(doc);
    for (const QTextBlock& block : SelectedBlocks(RTFControl)) {
        QTextBlockFormat f = block.blockFormat();
        const double points = f.textIndent() / kPixelsPerPoint;
        if (points < kIndentStep - 1e-6) continue;
        f.setTextIndent((points - kIndentStep) * kPixelsPerPoint);
        QTextCursor(block).setBlockFormat(f);
    }
}

void TFrmRichEdit::ToolButton3Click() {
    QTextDocument* doc = RTFControl->document();
    EditBlock step(doc);
    for (const QTextBlock& block : SelectedBlocks(RTFControl)) {
        QTextBlockFormat f = block.blockFormat();
        f.setTextIndent(f.textIndent() + kIndentStep * kPixelsPerPoint);
        QTextCursor(block).setBlockFormat(f);
    }
}
}  // namespace lorvane
