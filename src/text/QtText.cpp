#include "QtText.h"

#include "Cp1252.h"

namespace lorvane {

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

QString FromCp1252(std::string_view bytes) {
    QString out;
    out.resize(static_cast<qsizetype>(bytes.size()));
    QChar* d = out.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        d[i] = QChar(static_cast<char16_t>(cp1252::ToUnicode(static_cast<std::uint8_t>(bytes[i]))));
    return out;
}

std::string ToCp1252(const QString& text) {
    return ToCp1252(text, '?');
}

std::string ToCp1252(const QString& text, char replacement) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        int b = cp1252::FromUnicode(ch.unicode());
        out += b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

QString ShortenAtWord(const QString& text, qsizetype size) {
    if (text.size() <= size) return text;
    const qsizetype space = text.lastIndexOf(u' ', size);
    qsizetype cut = space > size * 2 / 5 ? space : size;
    // A letter keeps its points and accents, and a character its two halves.
    const auto inside = [&text](qsizetype at) {
        return at < text.size() && (text[at].isMark() || text[at].isLowSurrogate());
    };
    const qsizetype at = cut;
    while (cut > 0 && inside(cut))
        --cut;
    if (cut == 0)  // the first letter is longer than the size: it stays whole
        for (cut = at; inside(cut);)
            ++cut;
    if (cut >= text.size()) return text;
    return text.left(cut) + QStringLiteral("…");
}

}  // namespace lorvane
