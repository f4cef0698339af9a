#include "RtfQt.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <cmath>

namespace lorvane {
namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kObject = 0xFFFC;

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string ToUtf8(const QString& s) {
    return s.toUtf8().toStdString();
}

QTextBlockFormat BlockToQt(const rtf::ParaFormat& p) {
    QTextBlockFormat f;
    switch (p.alignment) {
        case rtf::Alignment::Left:
            f.setAlignment(Qt::AlignLeft);
            break;
        case rtf::Alignment::Right:
            f.setAlignment(Qt::AlignRight);
            break;
        case rtf::Alignment::Center:
            f.setAlignment(Qt::AlignHCenter);
            break;
        case rtf::Alignment::Justify:
            f.setAlignment(Qt::AlignJustify);
            break;
    }
    f.setLeftMargin(PixelsFromTwips(p.leftIndent));
    f.setTextIndent(PixelsFromTwips(p.firstLineIndent));
    return f;
}

rtf::ParaFormat BlockFromQt(const QTextBlock& block, const QTextDocument& doc) {
    const QTextBlockFormat f = block.blockFormat();
    rtf::ParaFormat p;
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        p.alignment = rtf::Alignment::Center;
    else if (a & Qt::AlignJustify)
        p.alignment = rtf::Alignment::Justify;
    else if ((a & Qt::AlignRight) || ((a & Qt::AlignTrailing) && !(a & Qt::AlignLeft)))
        p.alignment = rtf::Alignment::Right;
    int levels = f.indent();
    if (const QTextList* list = block.textList()) {
        switch (list->format().style()) {
            case QTextListFormat::ListDisc:
            case QTextListFormat::ListCircle:
            case QTextListFormat::ListSquare:
                p.bullet = true;
                break;
            default:  // decimal, letters, roman numbers
                p.numbered = true;
                break;
        }
        levels += list->format().indent();
    }
    p.leftIndent = std::clamp(TwipsFromPixels(f.leftMargin() + levels * doc.indentWidth()),
                              -rtf::kMaxIndent, rtf::kMaxIndent);
    p.firstLineIndent =
        std::clamp(TwipsFromPixels(f.textIndent()), -rtf::kMaxIndent, rtf::kMaxIndent);
    return p;
}

}  // namespace

double PointSize(const QTextCharFormat& format, const QFont& base) {
    const double points = format.fontPointSize();
    if (points > 0) return points;
    // Pasted HTML gives sizes in pixels, or relative to the default
    // ("small" is 0.8 of it), as Qt draws them.
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        const int pixels = format.intProperty(QTextFormat::FontPixelSize);
        if (pixels > 0) return pixels / kPixelsPerPoint;
    }
    double size = base.pointSizeF() > 0 ? base.pointSizeF() : rtf::kDefaultHalfPoints / 2.0;
    if (format.hasProperty(QTextFormat::FontSizeAdjustment)) {
        static constexpr double kScale[7] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
        const int step = std::clamp(format.intProperty(QTextFormat::FontSizeAdjustment) + 2, 0, 6);
        size *= kScale[step];
    }
    return size;
}

double PixelsFromTwips(int twips) {
    return twips / 20.0 * kPixelsPerPoint;
}

int TwipsFromPixels(double pixels) {
    const double twips = pixels / kPixelsPerPoint * 20.0;
    if (!std::isfinite(twips)) return 0;
    return static_cast<int>(std::lround(std::clamp(twips, -1e6, 1e6)));
}

int VerticalOffset(const QTextCharFormat& format) {
    if (format.hasProperty(kOffsetProperty)) return format.intProperty(kOffsetProperty);
    switch (format.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            return 6;
        case QTextCharFormat::AlignSubScript:
            return -6;
        default:
            return 0;
    }
}

void SetVerticalOffset(QTextCharFormat& format, int halfPoints, double points) {
    format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    if (halfPoints == 0) {
        // An explicit 0, so that merging it into a selection clears the
        // offsets there.
        format.setProperty(kOffsetProperty, 0);
        format.setBaselineOffset(0);
        return;
    }
    format.setProperty(kOffsetProperty, halfPoints);
    format.setBaselineOffset(points > 0 ? 100.0 * (halfPoints / 2.0) / points : 0);
}

rtf::CharFormat CharFromQt(const QTextCharFormat& format, const QFont& base) {
    rtf::CharFormat c;
    const QStringList families = format.fontFamilies().toStringList();
    const QString family =
        families.isEmpty() || families.first().isEmpty() ? base.family() : families.first();
    c.font = ToUtf8(family);
    c.halfPoints = std::clamp(static_cast<int>(std::lround(PointSize(format, base) * 2)),
                              rtf::kMinHalfPoints, rtf::kMaxHalfPoints);
    c.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                         : base.bold();
    c.italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    c.underline = format.fontUnderline();
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor color = format.foreground().color();
        c.color = rtf::Color{static_cast<std::uint8_t>(color.red()),
                             static_cast<std::uint8_t>(color.green()),
                             static_cast<std::uint8_t>(color.blue())};
    }
    c.offset = std::clamp(VerticalOffset(format), -rtf::kMaxOffset, rtf::kMaxOffset);
    return c;
}

QTextCharFormat CharToQt(const rtf::CharFormat& c, const QFont& base) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{c.font.empty() ? base.family() : FromUtf8(c.font)});
    const double points = c.halfPoints / 2.0;
    f.setFontPointSize(points);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    if (c.color) f.setForeground(QColor(c.color->red, c.color->green, c.color->blue));
    if (c.offset != 0) SetVerticalOffset(f, c.offset, points);
    return f;
}

rtf::Document DocumentFromQt(const QTextDocument& doc) {
    const QFont base = doc.defaultFont();
    rtf::Document model;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        rtf::Paragraph p;
        p.format = BlockFromQt(block, doc);
        p.mark = CharFromQt(block.charFormat(), base);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            QString text = fragment.text();
            text.remove(kObject);
            text.replace(kLineSeparator, u'\n');
            if (text.isEmpty()) continue;
            rtf::CharFormat format = CharFromQt(fragment.charFormat(), base);
            if (!p.runs.empty() && p.runs.back().format == format)
                p.runs.back().text += ToUtf8(text);
            else
                p.runs.push_back(rtf::Run{std::move(format), ToUtf8(text)});
        }
        model.paragraphs.push_back(std::move(p));
    }
    if (model.paragraphs.empty()) model.paragraphs.emplace_back();
    return model;
}

void DocumentToQt(const rtf::Document& model, QTextDocument& doc) {
    const QFont base = doc.defaultFont();
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    bool first = true;
    for (const rtf::Paragraph& p : model.paragraphs) {
        const QTextBlockFormat block = BlockToQt(p.format);
        const QTextCharFormat mark = CharToQt(p.mark, base);
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(block, mark);
        }
        if (p.format.bullet || p.format.numbered) {
            const QTextListFormat::Style style =
                p.format.bullet ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal;
            if (list && list->format().style() == style) {
                list->add(cursor.block());
            } else {
                QTextListFormat items;
                items.setStyle(style);
                items.setIndent(0);
                list = cursor.createList(items);
            }
        } else {
            list = nullptr;
        }
        for (const rtf::Run& r : p.runs) {
            QString text = FromUtf8(r.text);
            text.replace(u'\n', QChar(kLineSeparator));
            cursor.insertText(text, CharToQt(r.format, base));
        }
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
}

}  // namespace lorvane
