#include "MenuCheckStyle.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <algorithm>

namespace lorvane {
namespace {

// Where the base styles start their icon column, from the item's left edge.
constexpr int kColumnOffset = 4;

bool IsEntry(const QStyleOption* option) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    return item && item->menuItemType != QStyleOptionMenuItem::Separator;
}

void DrawCheckMark(QPainter* p, const QRect& box, const QColor& color) {
    const qreal s = std::min(box.width(), box.height()) - 4;
    if (s <= 0) return;
    const QPointF o(box.center().x() - s / 2 + 0.5, box.center().y() - s / 2 + 0.5);
    QPainterPath mark;
    mark.moveTo(o + QPointF(0.12 * s, 0.52 * s));
    mark.lineTo(o + QPointF(0.40 * s, 0.80 * s));
    mark.lineTo(o + QPointF(0.90 * s, 0.18 * s));
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(QPen(color, std::max<qreal>(2.0, s / 6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    p->drawPath(mark);
    p->restore();
}

}  // namespace

MenuCheckStyle::MenuCheckStyle(QStyle* base) : QProxyStyle(base) {}

int MenuCheckStyle::MarkWidth(const QStyleOption* option, const QWidget* widget) const {
    return baseStyle()->pixelMetric(PM_SmallIconSize, option, widget) + 2;
}

QSize MenuCheckStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const {
    if (type != CT_MenuItem || !IsEntry(option))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    QStyleOptionMenuItem wider = *qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    wider.maxIconWidth += MarkWidth(option, widget);
    return QProxyStyle::sizeFromContents(type, &wider, size, widget);
}

void MenuCheckStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element != CE_MenuItem || !IsEntry(option))
        return QProxyStyle::drawControl(element, option, painter, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const int mark = MarkWidth(option, widget);

    // The base style draws the background, the text and the shortcut, with
    // the icon column widened by the mark's.
    QStyleOptionMenuItem rest = *item;
    rest.maxIconWidth += mark;
    rest.icon = QIcon();
    rest.checkType = QStyleOptionMenuItem::NotCheckable;
    rest.checked = false;
    QProxyStyle::drawControl(element, &rest, painter, widget);

    const QRect r = item->rect;
    const bool enabled = item->state & State_Enabled;
    const bool selected = item->state & State_Selected;
    const bool checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
    const QRect markBox =
        visualRect(item->direction, r, QRect(r.x() + kColumnOffset, r.y(), mark, r.height()));
    const QRect iconBox = visualRect(
        item->direction, r,
        QRect(r.x() + kColumnOffset + mark, r.y(), std::max(item->maxIconWidth, 1), r.height()));
    if (checked) {
        const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
        DrawCheckMark(painter, markBox,
                      item->palette.color(
                          group, selected && enabled ? QPalette::HighlightedText : QPalette::Text));
    }
    if (!item->icon.isNull()) {
        const int side = baseStyle()->pixelMetric(PM_SmallIconSize, option, widget);
        const QIcon::Mode mode = !enabled   ? QIcon::Disabled
                                 : selected ? QIcon::Active
                                            : QIcon::Normal;
        const qreal dpr =
            widget ? widget->devicePixelRatio() : painter->device()->devicePixelRatio();
        const QPixmap pixmap =
            item->icon.pixmap(QSize(side, side), dpr, mode, checked ? QIcon::On : QIcon::Off);
        QRect at(QPoint(), pixmap.deviceIndependentSize().toSize());
        at.moveCenter(iconBox.center());
        painter->drawPixmap(at.topLeft(), pixmap);
    }
}

void ShowChecksPlainly(QMenu* menu) {
    auto* style = new MenuCheckStyle(QStyleFactory::create(menu->style()->name()));
    style->setParent(menu);
    menu->setStyle(style);
}

}  // namespace lorvane
