#pragma once

// Where a browser-pane navigation goes and the URL text that the pane reports
// for it (TBrowserPane's BeforeNavigate2 event). Qt Core only.
//
// Report forms:
//   1. a local page without an anchor: its plain absolute path,
//        /opt/lorvane/them/index.htm
//   2. a local page with an anchor: "file://" + path + "#" + anchor,
//        file:///opt/lorvane/temp.htm#5
//   3. a link whose href is not a valid URL (a ':' before any '/' and no
//      valid scheme before it, like the verse link 43:3:16): the href exactly
//      as written in the page
//   4. a relative href (19, ¤19¤23¤1¤6, theme3.htm, theme3.htm#x, #A) is
//      resolved against the page's folder (or the page itself for #A) and
//      reported in form 1 or 2
//   5. an absolute URL of another scheme (http://..., mailto:...): as written
//   6. characters are reported as text: %XX escapes of an href are decoded
//      (as UTF-8 when they form UTF-8, else as Windows-1252), and the
//      characters of the page arrive as they are, "¤" as "¤".
// A "file:" URL in an href (file:///x/y.htm, file:/x/y.htm,
// file://localhost/x/y.htm) names a local page and is reported in form 1 or 2.

#include <QString>

namespace lorvane {

struct NavTarget {
    QString report;  // the URL text of the BeforeNavigate2 event
    bool local = false;
    QString path;  // absolute local path, when local
    bool hasAnchor = false;
    QString anchor;  // without '#'

    friend bool operator==(const NavTarget&, const NavTarget&) = default;
};

// The report form of a local page (forms 1 and 2).
QString ReportLocal(const QString& path, bool hasAnchor, const QString& anchor);

// A URL given to TBrowserPane::Navigate: "file://" + absolute path, then
// optionally "#" + anchor, or a plain absolute path. The text is taken as
// written (no %XX decoding); the anchor starts at the first '#' after the
// last '/', so a '#' in a folder name does no harm. Anything else is handled
// like an href of the page at currentPage (empty: no page).
NavTarget TargetOfNavigate(const QString& url, const QString& currentPage);

// A link's href exactly as written in the page at pagePath (absolute).
NavTarget TargetOfLink(const QString& href, const QString& pagePath);

// True when text starts with a URL scheme and ':' (RFC 3986: a letter, then
// letters, digits, '+', '-', '.').
bool HasScheme(const QString& text);

// Decodes the %XX escapes of text: each run of escapes as UTF-8 when it is
// valid UTF-8, else byte by byte as Windows-1252. A '%' that does not start
// an escape stays.
QString DecodePercent(const QString& text);

}  // namespace lorvane
