#pragma once

// The browser pane: shows the program's HTML pages (chapter pages, passage
// pages, study pages) and lets the program decide, before each navigation,
// whether it happens.
//
// Navigations and the BeforeNavigate2 event
//   Navigate(url), GoBack(), GoForward() and the activation of a link (a
//   click with the left mouse button, or Return/Enter on a link reached with
//   Tab) each raise BeforeNavigate2(url, &cancel) first, with the target as
//   URL text in one of the report forms below. A handler that sets *cancel
//   to true stops the navigation: page, scroll position and history stay
//   exactly as they were. Refresh() is not a navigation and raises nothing.
//   Connect handlers directly (the default within the GUI thread): the flag
//   is read as soon as the signal returns. A handler may navigate this or
//   another pane (a back or forward step whose handler navigated this pane
//   then stops there); it may not delete this pane.
//
// Report forms (the URL text of BeforeNavigate2 and of LocationURL()):
//   1. a local page without an anchor: its plain absolute path,
//        /opt/lorvane/them/index.htm
//   2. a local page with an anchor: "file://" + path + "#" + anchor,
//        file:///opt/lorvane/temp.htm#5
//   3. a link whose href is not a valid URL (a ':' before any '/' and no
//      valid scheme before it, like the verse link 43:3:16): the href exactly
//      as written in the page
//   4. a relative href (19, ¤19¤23¤1¤6, theme3.htm, theme3.htm#x, #A):
//      resolved against the page's location and reported in form 1 or 2,
//        /opt/lorvane/them/19, /opt/lorvane/¤19¤23¤1¤6,
//        file:///opt/lorvane/them/glossaire.htm#A
//   5. an absolute URL of another scheme (http://..., mailto:...): as written
//   6. characters are reported as text, never %-escaped: the ¤ of a
//      cross-reference link arrives as ¤; %XX escapes of an href are decoded.
//   A file: URL in an href is reported in form 1 or 2. Navigate() takes its
//   text as written: "file://" + absolute path [+ "#" + anchor] or a plain
//   absolute path; its anchor starts at the first '#' after the last '/'.
//
// Showing a page
//   Every navigation to a local page reads the file from disk; the page is
//   parsed again only when its bytes changed, so navigating to the URL shown
//   after the file was rewritten shows the new content. Refresh() re-reads
//   the page shown the same way and keeps the scroll position (or returns to
//   the anchor when the URL has one). A URL with an anchor shows the page
//   scrolled so that the line holding the <A name> anchor is at the top (as
//   far as the page's length allows); an anchor the page lacks, and a URL
//   without an anchor, show the page from its top. Back and forward return
//   to the scroll position the page had when it was left.
//   Text that names no typeface is drawn in a 12-point serif, and FONT sizes
//   are relative to it (size 2 is about 10 points, 4 about 14).
//   Pages without a charset declaration are read as UTF-8 when they are
//   (the chapter pages), else as Windows-1252 (the study pages); a page
//   that declares one is decoded by it (PageText.h). The typeface Tahoma
//   that the pages ask for is mapped to an installed stand-in (PageFonts.h).
//   A missing or unreadable page, and a non-local address that no handler
//   cancelled, show a short message in the pane; they are navigations like
//   any other (they enter the history).
//
// History
//   Each navigation to another URL than the one shown adds an entry after
//   the current one, dropping those ahead of it; navigating to the URL shown
//   replaces nothing and only reloads. GoBack()/GoForward() with no page to
//   go to do nothing: no event, no message.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "PageUrl.h"

class QMenu;
class QTextCharFormat;
class QTimer;
class QTextBrowser;

namespace lorvane {

class PaneBrowser;

class TBrowserPane : public QWidget {
    Q_OBJECT
  public:
    explicit TBrowserPane(QWidget* parent = nullptr);
    ~TBrowserPane() override;

    void Navigate(const QString& url);
    void Refresh();
    void GoBack();
    void GoForward();
    // Follows a link of the page shown, as a click on it does; `href` is
    // the link's address as the page writes it.
    void FollowLink(const QString& href);

    bool CanGoBack() const { return index_ > 0; }
    bool CanGoForward() const { return index_ + 1 < static_cast<int>(history_.size()); }
    int HistoryCount() const { return static_cast<int>(history_.size()); }
    int HistoryIndex() const { return index_; }

    // The page shown, in report form; empty before the first navigation.
    QString LocationURL() const;
    // The local path of the page shown; empty for none or a non-local one.
    QString LocationPath() const;

    // Whether the link being followed was activated by a key (Enter on it),
    // while its navigation is decided.
    bool FollowingByKeyboard() const;

    // A page of columns side by side under a row of their names (Bibles
    // compared): a screen reader hears each cell begin with its column's
    // name, and Down and Up go from cell to cell in reading order, each
    // row from left to right, rather than down one column.
    void SetColumnsNamed(bool named) { columnsNamed_ = named; }
    bool ColumnsNamed() const { return columnsNamed_; }
    // The names of the columns in a strip above the page, which stays in
    // sight while the page scrolls; none hides it. `tips`: what each name
    // stands for.
    void SetColumnHeads(const QStringList& heads, const QStringList& tips = {});
    QWidget* ColumnHeads() const { return heads_; }

    // The text view inside the pane (for layout, tests and screenshots).
    QTextBrowser* Browser() const;

    // The vertical scroll position shown (or about to be); setting it
    // waits, like an anchor, for a page still to be laid out.
    int ScrollPosition() const;
    void SetScrollPosition(int position);
    // Scrolls the line of an anchor to the top, as a URL with it does.
    void ScrollToAnchor(const QString& name);

    // The name of the last <A name> anchor at or before a point of the view
    // (viewport coordinates), or before the top line shown; "" when none.
    QString AnchorAt(const QPoint& point) const;
    QString AnchorAtTop() const;
    // The name of the last anchor at or before a position of the text.
    // Anchors whose name starts with a dot mark words inside the text, not
    // places: these functions pass them over.
    QString AnchorBefore(int position) const;
    // The last word mark at or before a position, in its paragraph, and
    // where it starts; "" when none.
    QString WordMarkBefore(int position, int* markPosition) const;
    // Where an anchor starts in the text; -1 when the page has none so named.
    int AnchorPosition(const QString& name) const;
    // Puts the caret at a position of the text (clamped to it), the view
    // staying where it is or is about to be.
    void PutCaret(int position);

    // Marks the text from each anchor ("" for the first verse number of a
    // chapter page) up to the next anchor, link or heading, with a light
    // background, until the next navigation or for `milliseconds`; the
    // caret goes to the start of the first mark, the view staying where it is.
    void Mark(const QStringList& anchors, int milliseconds);
    bool HasMark() const;
    // How the pages shown write their verse numbers, for the marks: an
    // empty anchor marks from the first verse number, and a mark ends
    // before the next heading but never at a verse number.
    using FormatTest = std::function<bool(const QTextCharFormat&)>;
    void SetVerseNumberTest(FormatTest test) { isVerseNumber_ = std::move(test); }

  signals:
    // Before every navigation; see the header comment.
    void BeforeNavigate2(const QString& url, bool* cancel);
    // The pane's context menu is about to show at `point` (viewport
    // coordinates): handlers may add their entries.
    void ContextMenu(QMenu* menu, const QPoint& point);
    // After a navigation or a refresh has shown its page.
    void PageShown(const QString& url);

  private:
    QWidget* heads_ = nullptr;
    QStringList headsShown_;
    bool IsVerseNumber(const QTextCharFormat& f) const {
        return isVerseNumber_ && isVerseNumber_(f);
    }
    FormatTest isVerseNumber_;
    enum class Move { New, Back, Forward };
    struct Entry {
        NavTarget target;
        int scroll = 0;  // the scroll position when the page was left
    };

    void LinkActivated(const QString& href);
    void Go(NavTarget target, Move move);
    // Reads and shows the entry's page; true when its document was replaced.
    bool Load(const NavTarget& target);
    void ShowMessage(const QString& text);
    void ScrollTo(const NavTarget& target, int restoreScroll);

    PaneBrowser* view_;
    std::vector<Entry> history_;
    int index_ = -1;
    // The local page whose bytes the view shows, to skip parsing it again.
    QString loadedPath_;
    QByteArray loadedBytes_;
    bool loadedValid_ = false;
    QTimer* markTimer_ = nullptr;
    int depth_ = 0;            // handlers that navigate from inside the event
    unsigned generation_ = 0;  // counts the moves of the history
    bool columnsNamed_ = false;
};

}  // namespace lorvane
