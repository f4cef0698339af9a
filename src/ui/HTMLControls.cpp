#include "HTMLControls.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <cmath>

#include "FocusMark.h"
#include "TypeAheadList.h"

namespace lorvane {
namespace {

QSize Ceil(QSizeF s) {
    return QSize(static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height())));
}

// Draws the items of a THTMLComboBox's list.
class MiniHtmlDelegate : public QStyledItemDelegate {
  public:
    MiniHtmlDelegate(const ImageList* images, QObject* parent)
        : QStyledItemDelegate(parent), images_(images) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget* w = option.widget;
        QStyle* style = w ? w->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        const MiniHtmlLayout layout = Layout(option, index);
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->setClipRect(option.rect);
        layout.Draw(
            *p,
            QPointF(option.rect.left() + 3,
                    option.rect.top() + (option.rect.height() - layout.Size().height()) / 2),
            selected ? option.palette.color(QPalette::HighlightedText) : QColor());
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return Ceil(Layout(option, index).Size()) + QSize(6, 4);
    }

  private:
    MiniHtmlLayout Layout(const QStyleOptionViewItem& option, const QModelIndex& index) const {
        QVariant html = index.data(THTMLComboBox::kHtmlRole);
        const QString text = html.isValid() ? html.toString() : index.data().toString();
        MiniHtmlContext ctx;
        ctx.font = option.font;
        ctx.palette = option.palette;
        ctx.color = option.palette.color(QPalette::Text);
        ctx.images = *images_;
        ctx.scale = option.widget && option.widget->logicalDpiX() > 0
                        ? option.widget->logicalDpiX() / 96.0
                        : 1.0;
        return MiniHtmlLayout(ParseMiniHtml(text), ctx);
    }

    const ImageList* images_;
};

}  // namespace

// ---- THTMLabel ------------------------------------------------------------

THTMLabel::THTMLabel(QWidget* parent) : QWidget(parent) {}

void THTMLabel::SetText(const QString& text) {
    text_ = text;
    parsed_ = ParseMiniHtml(text);
    updateGeometry();
    update();
}

void THTMLabel::SetImages(const ImageList& images) {
    images_ = images;
    updateGeometry();
    update();
}

void THTMLabel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void THTMLabel::SetShadow(const QColor& color, int offset) {
    shadow_ = color;
    shadowOffset_ = offset;
    update();
}

MiniHtmlLayout THTMLabel::Layout() const {
    return MiniHtmlLayout(parsed_, MiniHtmlContext::Of(this, images_));
}

QSize THTMLabel::sizeHint() const {
    return Ceil(Layout().Size()) + QSize(shadowOffset_, shadowOffset_);
}

QSize THTMLabel::minimumSizeHint() const {
    return sizeHint();
}

void THTMLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const MiniHtmlLayout layout = Layout();
    const QRect r = contentsRect();
    const QSizeF s = layout.Size();
    qreal x = r.left();
    if (alignment_ & Qt::AlignRight) x = r.right() + 1 - s.width() - shadowOffset_;
    if (alignment_ & Qt::AlignHCenter) x = r.left() + (r.width() - s.width()) / 2;
    qreal y = r.top() + (r.height() - s.height()) / 2;
    if (alignment_ & Qt::AlignTop) y = r.top();
    if (alignment_ & Qt::AlignBottom) y = r.bottom() + 1 - s.height() - shadowOffset_;
    layout.Draw(p, QPointF(x, y), QColor(), shadow_, QPointF(shadowOffset_, shadowOffset_));
}

void THTMLabel::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange) updateGeometry();
}

// ---- THTMLButton ----------------------------------------------------------

THTMLButton::THTMLButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
}

THTMLButton::THTMLButton(const QString& caption, QWidget* parent) : THTMLButton(parent) {
    setText(caption);
}

void THTMLButton::SetImages(const ImageList& images) {
    images_ = images;
    updateGeometry();
    update();
}

void THTMLButton::SetFlat(bool flat) {
    flat_ = flat;
    update();
}

bool THTMLButton::event(QEvent* e) {
    if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave) update();
    return QAbstractButton::event(e);
}

QSize THTMLButton::sizeHint() const {
    const MiniHtmlLayout layout(ParseMiniHtml(text()), MiniHtmlContext::Of(this, images_));
    return Ceil(layout.Size()) + QSize(12, 8);
}

QSize THTMLButton::minimumSizeHint() const {
    return sizeHint();
}

void THTMLButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    opt.initFrom(this);
    if (isDown() || isChecked())
        opt.state |= QStyle::State_Sunken;
    else
        opt.state |= QStyle::State_Raised;
    if (isChecked()) opt.state |= QStyle::State_On;
    if (flat_) opt.features |= QStyleOptionButton::Flat;
    const bool hot = underMouse() || isDown() || isChecked();
    if (!flat_ || hot) p.drawControl(QStyle::CE_PushButtonBevel, opt);

    MiniHtmlContext ctx = MiniHtmlContext::Of(this, images_);
    ctx.color =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    const MiniHtmlLayout layout(ParseMiniHtml(text()), ctx);
    const QSizeF s = layout.Size();
    QPointF origin((width() - s.width()) / 2, (height() - s.height()) / 2);
    if (isDown()) origin += QPointF(1, 1);
    if (!isEnabled()) p.setOpacity(0.5);
    layout.Draw(p, origin);
    if (hasFocus()) DrawFocusMark(p, rect());
}

// ---- THTMLComboBox --------------------------------------------------------

THTMLComboBox::THTMLComboBox(QWidget* parent) : QComboBox(parent) {
    // A list that drops down below the box, of the height it is given: some
    // styles (Fusion among them) would otherwise open a menu over the box as
    // high as the screen.
    setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    // Typing finds an item whatever its accents and capitals.
    setView(new TypeAheadList(this));
    setItemDelegate(new MiniHtmlDelegate(&images_, this));
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) { emit Change(index); });
}

void THTMLComboBox::Clear() {
    const QSignalBlocker block(this);
    clear();
    update();
}

void THTMLComboBox::AddItem(const QString& text) {
    const QSignalBlocker block(this);
    addItem(MiniHtmlPlainText(text));
    setItemData(count() - 1, text, kHtmlRole);
}

QString THTMLComboBox::ItemText(int index) const {
    const QVariant html = itemData(index, kHtmlRole);
    return html.isValid() ? html.toString() : itemText(index);
}

void THTMLComboBox::SetItemIndex(int index) {
    const QSignalBlocker block(this);
    setCurrentIndex(index);
    update();
}

void THTMLComboBox::SetImages(const ImageList& images) {
    images_ = images;
    update();
}

void THTMLComboBox::SetDropDownHeight(int pixels) {
    dropDownHeight_ = std::max(0, pixels);
}

void THTMLComboBox::showPopup() {
    if (dropDownHeight_ <= 0) return QComboBox::showPopup();
    // Enough rows to fill the height (the rows are measured now that the
    // items are there), then the list cut to the height exactly, on the
    // side where it meets the box.
    const qreal scale = logicalDpiY() > 0 ? logicalDpiY() / 96.0 : 1.0;
    const int height = static_cast<int>(dropDownHeight_ * scale);
    int row = count() > 0 ? view()->sizeHintForRow(0) : 0;
    if (row <= 0) row = fontMetrics().height() + 4;
    setMaxVisibleItems(std::max(1, height / row + 1));
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window() || popup->height() <= height) return;
    QRect r = popup->geometry();
    if (r.top() >= mapToGlobal(QPoint(0, 0)).y())
        r.setHeight(height);  // below the box
    else
        r.setTop(r.bottom() + 1 - height);  // above it
    popup->setGeometry(r);
    view()->scrollTo(view()->currentIndex(), QAbstractItemView::EnsureVisible);
}

void THTMLComboBox::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (hasFocus()) DrawFocusMark(p, rect());
    if (currentIndex() < 0) return;
    MiniHtmlContext ctx = MiniHtmlContext::Of(this, images_);
    ctx.color = palette().color(QPalette::ButtonText);
    const MiniHtmlLayout layout(ParseMiniHtml(ItemText(currentIndex())), ctx);
    p.save();
    p.setClipRect(field);
    layout.Draw(
        p, QPointF(field.left() + 2, field.top() + (field.height() - layout.Size().height()) / 2));
    p.restore();
}

// ---- THTMLRadioButton -----------------------------------------------------

THTMLRadioButton::THTMLRadioButton(QWidget* parent) : QRadioButton(parent) {}

THTMLRadioButton::THTMLRadioButton(const QString& caption, QWidget* parent) : QRadioButton(parent) {
    setText(caption);
}

void THTMLRadioButton::SetImages(const ImageList& images) {
    images_ = images;
    updateGeometry();
    update();
}

QSize THTMLRadioButton::sizeHint() const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &opt, this);
    const int spacing = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &opt, this);
    const QSize text = Ceil(
        MiniHtmlLayout(ParseMiniHtml(this->text()), MiniHtmlContext::Of(this, images_)).Size());
    return QSize(indicator + spacing + text.width() + 2, std::max(indicator, text.height()) + 2);
}

QSize THTMLRadioButton::minimumSizeHint() const {
    return sizeHint();
}

bool THTMLRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void THTMLRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    QStyleOptionButton ind = opt;
    ind.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, this);
    p.drawPrimitive(QStyle::PE_IndicatorRadioButton, ind);

    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &opt, this);
    const int spacing = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &opt, this);
    MiniHtmlContext ctx = MiniHtmlContext::Of(this, images_);
    ctx.color =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    const MiniHtmlLayout layout(ParseMiniHtml(text()), ctx);
    const QPointF origin(indicator + spacing, (height() - layout.Size().height()) / 2);
    layout.Draw(p, origin);
    if (hasFocus())
        DrawFocusMark(p, QRectF(origin, layout.Size()).toAlignedRect().adjusted(-3, -2, 3, 2));
}

}  // namespace lorvane
