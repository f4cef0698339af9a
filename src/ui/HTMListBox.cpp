#include "HTMListBox.h"

#include <QMetaMethod>

#include <QAccessible>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "FocusMark.h"
#include "MiniHtmlPainter.h"

namespace lorvane {
namespace {

// Where the items' text starts, in pixels from the list's left edge.
constexpr int kTextLeft = 2;

}  // namespace

THTMListBox::THTMListBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);
    UpdateScrollRange();
    // Seen even when the list is empty or nothing in it is selected.
    AddFocusMark(this);
}

void THTMListBox::Check(int index, const char* what) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range(std::string("THTMListBox::") + what + ": no item " +
                                std::to_string(index) + " in a list of " + std::to_string(Count()));
}

void THTMListBox::Changed() {
    if (updating_ > 0) return;
    UpdateScrollRange();
    viewport()->update();
}

void THTMListBox::Clear() {
    items_.clear();
    selected_ = -1;
    verticalScrollBar()->setValue(0);
    Changed();
}

int THTMListBox::Add(const QString& text, qint32 value) {
    items_.push_back({text, value, std::nullopt});
    Changed();
    return Count() - 1;
}

void THTMListBox::Insert(int index, const QString& text, qint32 value) {
    if (index < 0 || index > Count())
        throw std::out_of_range("THTMListBox::Insert: no place " + std::to_string(index) +
                                " in a list of " + std::to_string(Count()));
    items_.insert(items_.begin() + index, Item{text, value, std::nullopt});
    if (selected_ >= index) ++selected_;
    Changed();
}

QString THTMListBox::Text(int index) const {
    Check(index, "Text");
    return items_[static_cast<std::size_t>(index)].text;
}

void THTMListBox::SetText(int index, const QString& text) {
    Check(index, "SetText");
    Item& it = items_[static_cast<std::size_t>(index)];
    it.text = text;
    it.parsed.reset();
    Changed();
}

qint32 THTMListBox::Value(int index) const {
    Check(index, "Value");
    return items_[static_cast<std::size_t>(index)].value;
}

void THTMListBox::SetValue(int index, qint32 value) {
    Check(index, "SetValue");
    items_[static_cast<std::size_t>(index)].value = value;
}

void THTMListBox::SetItemIndex(int index) {
    selected_ = (index >= 0 && index < Count()) ? index : -1;
    Changed();
}

int THTMListBox::TopIndex() const {
    return verticalScrollBar()->value();
}

void THTMListBox::SetTopIndex(int index) {
    UpdateScrollRange();  // the range must hold the items added while suspended
    verticalScrollBar()->setValue(std::max(0, index));
}

int THTMListBox::ItemHeight() const {
    const qreal scale = logicalDpiY() > 0 ? logicalDpiY() / 96.0 : 1.0;
    if (itemHeight_ > 0) return std::max(1, static_cast<int>(std::lround(itemHeight_ * scale)));
    int h = QFontMetrics(font()).height() + 2;
    if (!images_.IsEmpty())
        h = std::max(h, static_cast<int>(std::lround(images_.Size().height() * scale)) + 2);
    return h;
}

QString THTMListBox::ItemToolTip(int index) const {
    if (index < 0 || index >= Count()) return {};
    const Item& it = items_[static_cast<std::size_t>(index)];
    if (!it.parsed) it.parsed = ParseMiniHtml(it.text);
    const MiniHtmlLayout layout(*it.parsed, MiniHtmlContext::Of(this, images_));
    if (kTextLeft + layout.Size().width() <= viewport()->width()) return {};
    return MiniHtmlPlainText(it.text);
}

int THTMListBox::VisibleCount() const {
    return std::max(1, viewport()->height() / ItemHeight());
}

void THTMListBox::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    const int visible = VisibleCount();
    bar->setPageStep(visible);
    bar->setRange(0, std::max(0, Count() - visible));
}

void THTMListBox::BeginUpdate() {
    // Not even a repaint of the whole window (a message box coming and
    // going, the window losing its activation) draws the items meanwhile:
    // the list keeps its last picture.
    if (updating_++ == 0) viewport()->setUpdatesEnabled(false);
}

void THTMListBox::EndUpdate() {
    if (updating_ == 0) return;
    if (--updating_ == 0) {
        viewport()->setUpdatesEnabled(true);
        Changed();
    }
}

void THTMListBox::SetImages(const ImageList& images) {
    images_ = images;
    Changed();
}

void THTMListBox::SetItemHeight(int pixels) {
    itemHeight_ = std::max(0, pixels);
    Changed();
}

void THTMListBox::SetColor(const QColor& c) {
    background_ = c;
    viewport()->update();
}

void THTMListBox::SetSelectionColor(const QColor& c) {
    selection_ = c;
    viewport()->update();
}

void THTMListBox::SetSelectionTextColor(const QColor& c) {
    selectionText_ = c;
    viewport()->update();
}

void THTMListBox::EnsureVisible(int index) {
    const int top = TopIndex();
    const int visible = VisibleCount();
    if (index < top)
        SetTopIndex(index);
    else if (index >= top + visible)
        SetTopIndex(index - visible + 1);
}

void THTMListBox::UserSelect(int index) {
    if (index < 0 || index >= Count()) return;
    selected_ = index;
    EnsureVisible(index);
    viewport()->update();
    TellAccessibility();
    emit Click(index);
}

void THTMListBox::TellAccessibility() {
    // A screen reader speaks the item that the selection moved to.
    const int child = selected_ - FirstItem();
    if (!QAccessible::isActive() || selected_ < 0 || child < 0) return;
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(child);
        QAccessible::updateAccessibility(&focus);
    }
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(child);
    QAccessible::updateAccessibility(&selection);
}

void THTMListBox::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    TellAccessibility();
}

void THTMListBox::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QPalette pal = palette();
    const QColor bg = background_.isValid() ? background_ : pal.color(QPalette::Base);
    const QColor selBg = selection_.isValid() ? selection_ : pal.color(QPalette::Highlight);
    const QColor selText =
        selectionText_.isValid() ? selectionText_ : pal.color(QPalette::HighlightedText);
    p.fillRect(viewport()->rect(), bg);

    MiniHtmlContext ctx = MiniHtmlContext::Of(this, images_);
    ctx.color = pal.color(QPalette::Text);
    const int h = ItemHeight();
    const int width = viewport()->width();
    const int top = TopIndex();
    for (int row = top; row < Count(); ++row) {
        const int y = (row - top) * h;
        if (y >= viewport()->height()) break;
        const QRect rect(0, y, width, h);
        const bool selected = row == selected_;
        if (selected) p.fillRect(rect, selBg);
        const Item& it = items_[static_cast<std::size_t>(row)];
        if (!it.parsed) it.parsed = ParseMiniHtml(it.text);
        const MiniHtmlLayout layout(*it.parsed, ctx);
        p.save();
        p.setClipRect(rect);
        layout.Draw(p, QPointF(kTextLeft, y + (h - layout.Size().height()) / 2),
                    selected ? selText : QColor());
        p.restore();
        if (selected && hasFocus()) {
            QStyleOptionFocusRect opt;
            opt.initFrom(this);
            opt.rect = rect;
            opt.backgroundColor = selBg;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
        }
    }
}

void THTMListBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(e);
    const int y = static_cast<int>(e->position().y());
    if (y < 0) return;
    UserSelect(TopIndex() + y / ItemHeight());
}

void THTMListBox::keyPressEvent(QKeyEvent* e) {
    if (Count() <= FirstItem()) return QAbstractScrollArea::keyPressEvent(e);
    const int last = Count() - 1;
    const int cur = selected_;
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && cur >= 0 &&
        isSignalConnected(QMetaMethod::fromSignal(&THTMListBox::Activated))) {
        e->accept();
        emit Activated(cur);
        return;
    }
    int next = cur;
    switch (e->key()) {
        case Qt::Key_Up:
            next = cur < 0 ? 0 : cur - 1;
            break;
        case Qt::Key_Down:
            next = cur + 1;
            break;
        case Qt::Key_PageUp:
            next = cur < 0 ? 0 : cur - std::max(1, VisibleCount() - 1);
            break;
        case Qt::Key_PageDown:
            next = cur < 0 ? 0 : cur + std::max(1, VisibleCount() - 1);
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = last;
            break;
        default:
            return QAbstractScrollArea::keyPressEvent(e);
    }
    e->accept();
    next = std::clamp(next, FirstItem(), last);
    if (next != cur) UserSelect(next);
}

bool THTMListBox::viewportEvent(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(e);
    const auto* help = static_cast<QHelpEvent*>(e);
    const int y = help->pos().y();
    const int row = y >= 0 ? TopIndex() + y / ItemHeight() : -1;
    const QString tip = ItemToolTip(row);
    if (tip.isEmpty()) {
        QToolTip::hideText();
        e->ignore();
    } else {
        const QRect rect(0, (row - TopIndex()) * ItemHeight(), viewport()->width(), ItemHeight());
        QToolTip::showText(help->globalPos(), tip, viewport(), rect);
    }
    return true;
}

void THTMListBox::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollRange();
}

void THTMListBox::scrollContentsBy(int, int) {
    if (updating_ == 0) viewport()->update();
}

void THTMListBox::changeEvent(QEvent* e) {
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange) Changed();
}

QSize THTMListBox::sizeHint() const {
    return QSize(200, ItemHeight() * 10 + 2 * frameWidth());
}

}  // namespace lorvane
