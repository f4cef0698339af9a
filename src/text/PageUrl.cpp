#include "PageUrl.h"

#include <QByteArray>
#include <QDir>
#include <QStringDecoder>

#include "QtText.h"

namespace lorvane {
namespace {

bool IsSchemeChar(QChar c, bool first) {
    ushort u = c.unicode();
    bool letter = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
    if (first) return letter;
    return letter || (u >= '0' && u <= '9') || u == '+' || u == '-' || u == '.';
}

int HexValue(QChar c) {
    ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

QString DecodeBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(bytes);
    if (!utf8.hasError()) return s;
    return FromCp1252(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString Folder(const QString& pagePath) {
    qsizetype slash = pagePath.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral("/") : pagePath.left(slash + 1);
}

NavTarget Local(const QString& path, bool hasAnchor, const QString& anchor) {
    NavTarget t;
    t.local = true;
    t.path = QDir::cleanPath(path);
    t.hasAnchor = hasAnchor;
    t.anchor = anchor;
    t.report = ReportLocal(t.path, hasAnchor, anchor);
    return t;
}

NavTarget AsWritten(const QString& text) {
    NavTarget t;
    t.report = text;
    return t;
}

// The path of a "file:" URL after its scheme, or a null string when it names
// no local path (another host, or no absolute path).
QString FilePath(QString rest) {
    if (rest.startsWith(QStringLiteral("//"))) {
        rest.remove(0, 2);
        qsizetype slash = rest.indexOf(u'/');
        QString host = slash < 0 ? rest : rest.left(slash);
        if (!host.isEmpty() && host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0)
            return {};
        rest = slash < 0 ? QString() : rest.mid(slash);
    }
    if (!rest.startsWith(u'/')) return {};
    return rest;
}

// Splits at the first '#' at or after `from`.
void SplitAnchor(const QString& text, qsizetype from, QString& before, bool& has, QString& anchor) {
    qsizetype hash = text.indexOf(u'#', from);
    has = hash >= 0;
    before = has ? text.left(hash) : text;
    anchor = has ? text.mid(hash + 1) : QString();
}

}  // namespace

QString ReportLocal(const QString& path, bool hasAnchor, const QString& anchor) {
    if (!hasAnchor) return path;
    return QStringLiteral("file://") + path + u'#' + anchor;
}

bool HasScheme(const QString& text) {
    if (text.isEmpty() || !IsSchemeChar(text[0], true)) return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == u':') return true;
        if (!IsSchemeChar(text[i], false)) return false;
    }
    return false;
}

QString DecodePercent(const QString& text) {
    if (!text.contains(u'%')) return text;
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        QByteArray run;
        while (i + 2 < text.size() && text[i] == u'%' && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
            run += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 3;
        }
        if (!run.isEmpty()) {
            out += DecodeBytes(run);
            continue;
        }
        out += text[i++];
    }
    return out;
}

NavTarget TargetOfLink(const QString& href, const QString& pagePath) {
    if (href.startsWith(u'#') && !pagePath.isEmpty())
        return Local(pagePath, true, DecodePercent(href.mid(1)));
    if (HasScheme(href)) {
        qsizetype colon = href.indexOf(u':');
        if (href.left(colon).compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0) {
            QString before, anchor;
            bool has = false;
            SplitAnchor(href.mid(colon + 1), 0, before, has, anchor);
            QString path = FilePath(DecodePercent(before));
            if (path.isNull()) return AsWritten(href);
            return Local(path, has, DecodePercent(anchor));
        }
        return AsWritten(href);  // form 5
    }
    // A ':' before any '/' without a valid scheme: not a URL (form 3).
    qsizetype colon = href.indexOf(u':');
    qsizetype slash = href.indexOf(u'/');
    if (colon >= 0 && (slash < 0 || colon < slash)) return AsWritten(href);
    if (href.startsWith(QStringLiteral("//"))) return AsWritten(href);  // another host
    if (pagePath.isEmpty() && !href.startsWith(u'/')) return AsWritten(href);

    QString before, anchor;
    bool has = false;
    SplitAnchor(href, 0, before, has, anchor);
    QString path = DecodePercent(before);
    if (!path.startsWith(u'/')) path = Folder(pagePath) + path;
    return Local(path, has, DecodePercent(anchor));
}

NavTarget TargetOfNavigate(const QString& url, const QString& currentPage) {
    QString rest;
    if (url.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        rest = FilePath(url.mid(5));
        if (rest.isNull()) return AsWritten(url);
    } else if (url.startsWith(u'/') && !url.startsWith(QStringLiteral("//"))) {
        rest = url;
    } else {
        return TargetOfLink(url, currentPage);
    }
    QString before, anchor;
    bool has = false;
    SplitAnchor(rest, rest.lastIndexOf(u'/'), before, has, anchor);
    return Local(before, has, anchor);
}

}  // namespace lorvane
