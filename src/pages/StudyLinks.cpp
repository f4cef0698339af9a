#include "StudyLinks.h"

#include "PageLinks.h"
#include "QtText.h"

namespace lorvane {
namespace {

StudyLinkDecision VerseLink(const QString& url) {
    StudyLinkDecision d;
    if (auto ref = DecodeVerseLink(ToCp1252(url))) {
        d.kind = StudyLinkDecision::OpenPassage;
        d.passage = *ref;
    }
    return d;
}

StudyLinkDecision ProceedIf(bool ok) {
    StudyLinkDecision d;
    d.kind = ok ? StudyLinkDecision::Proceed : StudyLinkDecision::Cancel;
    return d;
}

}  // namespace

QString StudyLocalPath(const QString& url, bool* hasAnchor) {
    if (hasAnchor) *hasAnchor = false;
    if (url.startsWith(u'/') && !url.startsWith(QStringLiteral("//"))) return url;
    if (!url.startsWith(QStringLiteral("file:///"))) return {};
    QString path = url.mid(7);
    // The anchor starts at the first '#' after the last '/'.
    const qsizetype hash = path.indexOf(u'#', path.lastIndexOf(u'/'));
    if (hash < 0) return path;
    if (hasAnchor) *hasAnchor = true;
    return path.left(hash);
}

StudyLinkDecision BookTableLink(const QString& url) {
    const std::string last(LastUrlComponent(ToCp1252(url)));
    if (last.find("livres") != std::string::npos) return ProceedIf(true);
    StudyLinkDecision d;
    const auto book = ParseDecimal(last);
    if (book && *book >= 1 && *book <= kBookCount) {
        d.kind = StudyLinkDecision::OpenBook;
        d.book = *book;
    }
    return d;
}

StudyLinkDecision ThemeLink(const QString& url, const StudyFileTest& isFile) {
    bool anchor = false;
    const QString path = StudyLocalPath(url, &anchor);
    if (!path.isNull() && !anchor) return ProceedIf(isFile(path));
    return VerseLink(url);
}

StudyLinkDecision GlossaryLink(const QString& url, const StudyFileTest& isFile) {
    const QString path = StudyLocalPath(url);
    if (!path.isNull()) return ProceedIf(isFile(path));
    if (url.contains(QStringLiteral("//"))) return ProceedIf(false);
    return VerseLink(url);
}

}  // namespace lorvane
