#include "MiniHtmlPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace lorvane {

namespace mh = minihtml;

std::vector<mh::Item> ParseMiniHtml(const QString& text) {
    return mh::Parse(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<std::size_t>(text.size())));
}

QString MiniHtmlPlainText(const QString& text) {
    const std::u16string plain = mh::PlainTextOf(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    return QString::fromUtf16(plain.data(), static_cast<qsizetype>(plain.size()));
}

QColor ResolveColor(const mh::Color& color, const QPalette& pal) {
    if (!color.system) return QColor::fromRgb(color.rgb);
    using S = mh::SystemColor;
    switch (color.sys) {
        case S::Window:
            return pal.color(QPalette::Active, QPalette::Base);
        case S::WindowText:
        case S::MenuText:
            return pal.color(QPalette::Active, QPalette::Text);
        case S::BtnFace:
        case S::Menu:
        case S::MenuBar:
            return pal.color(QPalette::Active, QPalette::Button);
        case S::BtnText:
            return pal.color(QPalette::Active, QPalette::ButtonText);
        case S::Highlight:
        case S::MenuHighlight:
            return pal.color(QPalette::Active, QPalette::Highlight);
        case S::HighlightText:
            return pal.color(QPalette::Active, QPalette::HighlightedText);
        case S::GrayText:
            return pal.color(QPalette::Disabled, QPalette::Text);
        case S::BtnShadow:
            return pal.color(QPalette::Active, QPalette::Mid);
        case S::BtnHighlight:
            return pal.color(QPalette::Active, QPalette::Light);
        case S::DkShadow3D:
            return pal.color(QPalette::Active, QPalette::Shadow);
        case S::Light3D:
            return pal.color(QPalette::Active, QPalette::Midlight);
        case S::InfoText:
            return pal.color(QPalette::Active, QPalette::ToolTipText);
        case S::InfoBk:
            return pal.color(QPalette::Active, QPalette::ToolTipBase);
        case S::HotLight:
            return pal.color(QPalette::Active, QPalette::Link);
        // Colours that a Qt palette does not carry: the usual desktop values.
        case S::ScrollBar:
            return QColor(0xC8, 0xC8, 0xC8);
        case S::Background:
            return QColor(0, 0, 0);
        case S::ActiveCaption:
            return QColor(0x99, 0xB4, 0xD1);
        case S::InactiveCaption:
            return QColor(0xBF, 0xCD, 0xDB);
        case S::WindowFrame:
            return QColor(0x64, 0x64, 0x64);
        case S::CaptionText:
            return QColor(0, 0, 0);
        case S::ActiveBorder:
            return QColor(0xB4, 0xB4, 0xB4);
        case S::InactiveBorder:
            return QColor(0xF4, 0xF7, 0xFC);
        case S::AppWorkSpace:
            return QColor(0xAB, 0xAB, 0xAB);
        case S::InactiveCaptionText:
            return QColor(0, 0, 0);
        case S::GradientActiveCaption:
            return QColor(0xB9, 0xD1, 0xEA);
        case S::GradientInactiveCaption:
            return QColor(0xD7, 0xE4, 0xF2);
    }
    return QColor(0, 0, 0);
}

MiniHtmlContext MiniHtmlContext::Of(const QWidget* w, const ImageList& images) {
    MiniHtmlContext c;
    c.font = w->font();
    c.palette = w->palette();
    c.color = c.palette.color(w->foregroundRole());
    c.images = images;
    c.scale = w->logicalDpiX() > 0 ? w->logicalDpiX() / 96.0 : 1.0;
    return c;
}

MiniHtmlLayout::MiniHtmlLayout(const std::vector<mh::Item>& items, const MiniHtmlContext& ctx)
    : images_(ctx.images), ownColor_(ctx.color) {
    const QFontMetricsF ownMetrics(ctx.font);
    qreal top = 0;
    qreal width = 0;
    std::size_t lineStart = 0;
    qreal x = 0;
    qreal ascent = 0, descent = 0, imageHeight = 0;
    bool hasText = false;

    auto endLine = [&] {
        if (!hasText && imageHeight == 0) {  // an empty line is one line of the own font
            ascent = ownMetrics.ascent();
            descent = ownMetrics.descent();
        }
        const qreal textHeight = ascent + descent;
        const qreal lineHeight = std::max(textHeight, imageHeight);
        const qreal baseline = top + (lineHeight - textHeight) / 2 + ascent;
        for (std::size_t i = lineStart; i < pieces_.size(); ++i) {
            Piece& p = pieces_[i];
            if (p.image >= 0)
                p.rect.moveTop(top + (lineHeight - p.rect.height()) / 2);
            else
                p.rect.moveTop(baseline);
        }
        width = std::max(width, x);
        top += lineHeight;
        ++lines_;
        lineStart = pieces_.size();
        x = 0;
        ascent = descent = imageHeight = 0;
        hasText = false;
    };

    for (const mh::Item& item : items) {
        switch (item.kind) {
            case mh::ItemKind::Break:
                endLine();
                break;
            case mh::ItemKind::Indent:
                x = std::max(x, item.value * ctx.scale);
                break;
            case mh::ItemKind::Image: {
                if (item.value < 0 || item.value >= ctx.images.Count()) break;
                const QSizeF s = QSizeF(ctx.images.Size()) * ctx.scale;
                Piece p;
                p.image = item.value;
                p.rect = QRectF(QPointF(x, 0), s);
                pieces_.push_back(p);
                x += s.width();
                imageHeight = std::max(imageHeight, s.height());
                break;
            }
            case mh::ItemKind::Text: {
                Piece p;
                p.font = ctx.font;
                if (item.style.face)
                    p.font.setFamilies({QString::fromUtf16(
                        item.style.face->data(), static_cast<qsizetype>(item.style.face->size()))});
                if (item.style.points) p.font.setPointSize(*item.style.points);
                if (item.style.bold) p.font.setBold(true);
                if (item.style.color) p.color = ResolveColor(*item.style.color, ctx.palette);
                p.text =
                    QString::fromUtf16(item.text.data(), static_cast<qsizetype>(item.text.size()));
                const QFontMetricsF m(p.font);
                const qreal w = m.horizontalAdvance(p.text);
                p.rect = QRectF(x, 0, w, 0);
                pieces_.push_back(std::move(p));
                x += w;
                ascent = std::max(ascent, m.ascent());
                descent = std::max(descent, m.descent());
                hasText = true;
                break;
            }
        }
    }
    endLine();
    size_ = QSizeF(width, top);
}

void MiniHtmlLayout::Draw(QPainter& painter, QPointF origin, const QColor& colorOverride,
                          const QColor& shadow, QPointF shadowOffset) const {
    painter.save();
    const QColor own = colorOverride.isValid() ? colorOverride : ownColor_;
    if (shadow.isValid()) {
        painter.setPen(shadow);
        for (const Piece& p : pieces_) {
            if (p.image >= 0) continue;
            painter.setFont(p.font);
            painter.drawText(origin + shadowOffset + p.rect.topLeft(), p.text);
        }
    }
    for (const Piece& p : pieces_) {
        if (p.image >= 0) {
            images_.Icon(p.image).paint(&painter, p.rect.translated(origin).toAlignedRect());
            continue;
        }
        painter.setFont(p.font);
        painter.setPen(p.color.isValid() ? p.color : own);
        painter.drawText(origin + p.rect.topLeft(), p.text);
    }
    painter.restore();
}

}  // namespace lorvane
