#include <sys/stat.h>

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <functional>
#include <memory>

#include "Accessible.h"
#include "BrowserPane.h"
#include "Fixtures.h"
#include "PageFonts.h"
#include "QtText.h"
#include "ReaderCharacters.h"

using namespace lorvane;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Writes a page as Windows-1252 bytes, CR LF after each line, as the program
// writes its own pages.
void WritePage(const QString& path, const QStringList& lines) {
    std::string bytes;
    for (const QString& line : lines)
        bytes += ToCp1252(line) + "\r\n";
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Where the link with this href is drawn, in viewport coordinates.
QPoint LinkPoint(QTextBrowser* view, const QString& href) {
    QTextDocument* doc = view->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().anchorHref() != href) continue;
            QTextCursor c(doc);
            c.setPosition(f.position() + f.length() / 2);
            return view->cursorRect(c).center();
        }
    return QPoint(-1, -1);
}

// The top of the line holding the named anchor, as the document lays it out.
int AnchorTop(QTextBrowser* view, const QString& name) {
    QTextDocument* doc = view->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().anchorNames().contains(name)) continue;
            const QRectF box = doc->documentLayout()->blockBoundingRect(b);
            const QTextLine line = b.layout()->lineForTextPosition(f.position() - b.position());
            return static_cast<int>(box.top() + line.y());
        }
    return -1;
}

}  // namespace

// Calls `seen` as each paint event reaches the widget, before the widget
// paints.
class PaintSpy : public QObject {
  public:
    PaintSpy(QWidget* w, std::function<void()> seen) : w_(w), seen_(std::move(seen)) {
        w_->installEventFilter(this);
    }
    ~PaintSpy() override { w_->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) seen_();
        return false;
    }

  private:
    QWidget* w_;
    std::function<void()> seen_;
};

class BrowserPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> dir_;
    QString root_;  // the program folder, ending in '/'
    std::unique_ptr<TBrowserPane> pane_;
    QStringList events_;
    std::function<bool(const QString&)> cancel_;

    QString Them(const char* name) const { return root_ + "them/" + U(name); }
    QTextBrowser* View() const { return pane_->Browser(); }
    int Scroll() const { return View()->verticalScrollBar()->value(); }
    QString Shown() const { return View()->toPlainText(); }

    void Click(const QString& href) {
        const QPoint at = LinkPoint(View(), href);
        QVERIFY2(at.x() >= 0, qPrintable("no link " + href));
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at);
    }

  private slots:
    // What a screen reader is given of titled text: a titled link is its
    // title alone (a note's mark), other titled text is read after its
    // title once, however many runs it is written in; a Bible's name in a
    // compared cell comes first.
    void titledTextIsReadWithItsTitle() {
        QTextDocument doc;
        doc.setHtml(
            U("<table><tr><td>LSG</td><td>DBY</td></tr></table>"
              "<table><tr><td><b>16</b> <a href=\"lorvane-note:ab\" title=\"Note : "
              "à relire\">\u270E</a> Car Dieu</td>"
              "<td><b>16</b> <span style=\"background-color:#FFF59D\" title=\"surligné "
              "en jaune\">Car <i>Dieu</i> a tant</span> aimé</td></tr></table>"));
        const a11y::ReaderCharacters said = a11y::CharactersOf(&doc, true, true);
        QVERIFY2(said.text.contains(U("LSG 16 Note : à relire Car Dieu")), qPrintable(said.text));
        QVERIFY2(said.text.contains(U("DBY 16 surligné en jaune Car Dieu a tant aimé")),
                 qPrintable(said.text));
        QCOMPARE(said.text.count(U("surligné")), 1);
        QVERIFY(!said.text.contains(QChar(0x270E)));
        QCOMPARE(said.pos.size(), static_cast<std::size_t>(said.text.size()));
        // Without titles read, the page's own characters.
        QVERIFY(a11y::CharactersOf(&doc, true, false).text.contains(QChar(0x270E)));
    }

    void init() {
        dir_ = std::make_unique<testing::TempDir>();
        root_ = QString::fromStdString(dir_->appDir());
        QDir(root_).mkpath("them");
        WritePage(Them("index.htm"),
                  {"<HTML><BODY><FONT face=\"Tahoma\" size=\"2\">", U("Thèmes d'étude<BR>"),
                   "<A href=\"theme1.htm\">Un</A><BR>", "<A href=\"theme2.htm#sec\">Deux</A><BR>",
                   "<A href=\"43:3:16\">Verset</A><BR>", "<A href=\"19\">Livre</A><BR>",
                   U("<A href=\"¤19¤23¤1¤6\">Renvoi</A><BR>"),
                   "<A href=\"http://example.org/x?y=1\">Web</A><BR>",
                   "<A href=\"mailto:a@example.org\">Mail</A><BR>", "<A href=\"#bas\">Bas</A><BR>",
                   "<A href=\"a%20b.htm\">Espace</A><BR>", "<A name=\"bas\"></A>Fin",
                   "</FONT></BODY></HTML>"});
        WritePage(Them("theme1.htm"), {"<HTML><BODY>Page un <A href=\"theme2.htm\">Deux</A>"
                                       "</BODY></HTML>"});
        QStringList two{"<HTML><BODY>"};
        for (int i = 1; i <= 200; ++i) {
            if (i == 150) two << "<A name=\"sec\"></A>";
            two << QString("Ligne %1<BR>").arg(i);
        }
        two << "</BODY></HTML>";
        WritePage(Them("theme2.htm"), two);
        QStringList chapter{"<HTML><BODY bgcolor=\"#FFFFFF\">",
                            "<FONT face=\"Tahoma\" size=\"2\">"};
        for (int v = 1; v <= 100; ++v) {
            if (v != 1) chapter << QString("<A name=\"%1\"></A>").arg(v);
            chapter << QString("<FONT size=\"2\" color=\"#800000\"><B>%1</B></FONT> Verset %1.<BR>")
                           .arg(v);
        }
        chapter << "<BR>"
                << "</FONT></BODY></HTML>";
        WritePage(root_ + "temp.htm", chapter);

        pane_ = std::make_unique<TBrowserPane>();
        pane_->resize(400, 300);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        events_.clear();
        cancel_ = [](const QString&) { return false; };
        connect(pane_.get(), &TBrowserPane::BeforeNavigate2, this,
                [this](const QString& url, bool* cancel) {
                    events_ << url;
                    *cancel = cancel_(url);
                });
    }

    void cleanup() {
        pane_.reset();
        dir_.reset();
    }

    void programNavigationsAreReportedBeforeTheyHappen() {
        QString seenWhileReported;
        connect(pane_.get(), &TBrowserPane::BeforeNavigate2, this,
                [&](const QString&, bool*) { seenWhileReported = pane_->LocationURL(); });
        pane_->Navigate("file://" + Them("index.htm"));
        QCOMPARE(events_, QStringList{Them("index.htm")});  // form 1
        QCOMPARE(seenWhileReported, QString());             // reported before it happened
        QVERIFY(Shown().contains(U("Thèmes d'étude")));
        QCOMPARE(pane_->LocationURL(), Them("index.htm"));

        pane_->Navigate("file://" + root_ + "temp.htm#5");
        QCOMPARE(events_.last(), "file://" + root_ + "temp.htm#5");  // form 2
        QCOMPARE(seenWhileReported, Them("index.htm"));
        QCOMPARE(pane_->HistoryCount(), 2);
    }

    void cancelledNavigationLeavesThePaneAsItWas() {
        pane_->Navigate("file://" + root_ + "temp.htm#40");
        const int scroll = Scroll();
        QVERIFY(scroll > 0);
        const QString text = Shown();
        cancel_ = [](const QString&) { return true; };

        pane_->Navigate("file://" + Them("index.htm"));
        QCOMPARE(events_.size(), 2);
        QCOMPARE(Shown(), text);
        QCOMPARE(Scroll(), scroll);
        QCOMPARE(pane_->HistoryCount(), 1);
        QCOMPARE(pane_->LocationURL(), "file://" + root_ + "temp.htm#40");
    }

    void linkClicksAreReportedInTheirForms() {
        pane_->Navigate("file://" + Them("index.htm"));
        const int scroll = Scroll();
        cancel_ = [](const QString&) { return true; };
        const QList<QPair<QString, QString>> links = {
            {"theme1.htm", Them("theme1.htm")},
            {"theme2.htm#sec", "file://" + Them("theme2.htm#sec")},
            {"43:3:16", "43:3:16"},
            {"19", Them("19")},
            {U("¤19¤23¤1¤6"), Them("¤19¤23¤1¤6")},
            {"http://example.org/x?y=1", "http://example.org/x?y=1"},
            {"mailto:a@example.org", "mailto:a@example.org"},
            {"#bas", "file://" + Them("index.htm#bas")},
            {"a%20b.htm", Them("a b.htm")},
        };
        for (const auto& [href, report] : links) {
            events_.clear();
            Click(href);
            QCOMPARE(events_, QStringList{report});
        }
        // Every click was cancelled: the page stayed.
        QCOMPARE(pane_->HistoryCount(), 1);
        QCOMPARE(Scroll(), scroll);
        QCOMPARE(pane_->LocationURL(), Them("index.htm"));
    }

    void keyboardActivatesTheLinkReachedWithTab() {
        pane_->Navigate("file://" + Them("index.htm"));
        cancel_ = [](const QString& url) { return url == "43:3:16"; };
        View()->setFocus();
        QStringList reached;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(View(), Qt::Key_Tab);
            QTextCursor c = View()->textCursor();
            c.setPosition(c.selectionStart());
            c.movePosition(QTextCursor::NextCharacter);
            reached << c.charFormat().anchorHref();
        }
        QCOMPARE(reached, (QStringList{"theme1.htm", "theme2.htm#sec", "43:3:16"}));
        events_.clear();
        QTest::keyClick(View(), Qt::Key_Return);
        QCOMPARE(events_, QStringList{"43:3:16"});
        QCOMPARE(pane_->LocationURL(), Them("index.htm"));

        QTest::keyClick(View(), Qt::Key_Backtab);
        QTest::keyClick(View(), Qt::Key_Enter);  // the keypad's Enter follows theme2.htm#sec
        QCOMPARE(events_.last(), "file://" + Them("theme2.htm#sec"));
        QCOMPARE(pane_->LocationURL(), "file://" + Them("theme2.htm#sec"));
        QVERIFY(Scroll() > 0);
    }

    // A screen reader lists the links of a page as its children and holds on
    // to those it was given; once another page is shown, they are gone.
    void screenReaderLinksGoWithTheirPage() {
        InstallAccessibility();  // before the pane is made, as the program does
        TBrowserPane pane;
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.Navigate("file://" + Them("index.htm"));
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(pane.Browser());
        QCOMPARE(page->role(), QAccessible::Document);
        QCOMPARE(page->childCount(), 9);
        QAccessibleInterface* verse = page->child(2);
        QCOMPARE(verse->text(QAccessible::Name), QString("Verset"));
        QCOMPARE(page->child(2), verse);
        QCOMPARE(page->indexOfChild(verse), 2);
        QCOMPARE(page->child(9), nullptr);

        pane.Navigate("file://" + Them("theme1.htm"));
        QVERIFY(pane.Browser()->toPlainText().startsWith("Page un"));
        QCOMPARE(page->childCount(), 1);
        QVERIFY(!verse->isValid());
        QCOMPARE(page->indexOfChild(verse), -1);
        QCOMPARE(page->child(0)->text(QAccessible::Name), QString("Deux"));
    }

    void backAndForwardWithinTheHistory() {
        // Nothing to go back or forward to: nothing happens, nothing is raised.
        pane_->GoBack();
        pane_->GoForward();
        QVERIFY(events_.isEmpty());
        QCOMPARE(Shown(), QString());

        pane_->Navigate("file://" + Them("index.htm"));
        Click("theme1.htm");
        Click("theme2.htm");
        QCOMPARE(pane_->LocationURL(), Them("theme2.htm"));
        View()->verticalScrollBar()->setValue(120);
        QCOMPARE(pane_->HistoryCount(), 3);

        pane_->GoBack();
        QCOMPARE(events_.last(), Them("theme1.htm"));
        pane_->GoBack();
        QCOMPARE(events_.last(), Them("index.htm"));
        QVERIFY(Shown().contains(U("Thèmes d'étude")));
        QVERIFY(!pane_->CanGoBack());
        events_.clear();
        pane_->GoBack();  // the first page: nothing
        QVERIFY(events_.isEmpty());
        QCOMPARE(pane_->LocationURL(), Them("index.htm"));

        pane_->GoForward();
        QCOMPARE(events_, QStringList{Them("theme1.htm")});
        QVERIFY(Shown().contains("Page un"));
        // A cancelled forward keeps the place in the history.
        cancel_ = [](const QString&) { return true; };
        pane_->GoForward();
        QCOMPARE(pane_->HistoryIndex(), 1);
        QVERIFY(Shown().contains("Page un"));
        cancel_ = [](const QString&) { return false; };
        pane_->GoForward();
        QCOMPARE(Scroll(), 120);  // the position the page was left at
        events_.clear();
        pane_->GoForward();  // the last page: nothing
        QVERIFY(events_.isEmpty());

        // A new navigation drops the pages ahead.
        pane_->GoBack();
        pane_->Navigate("file://" + root_ + "temp.htm#3");
        QCOMPARE(pane_->HistoryCount(), 3);
        QVERIFY(!pane_->CanGoForward());
        // Navigating to the page shown adds no entry.
        pane_->Navigate("file://" + root_ + "temp.htm#3");
        QCOMPARE(pane_->HistoryCount(), 3);
    }

    void anchorsScrollToTheTop() {
        pane_->Navigate("file://" + root_ + "temp.htm#30");
        QVERIFY(Scroll() > 0);
        QCOMPARE(Scroll(), AnchorTop(View(), "30"));
        pane_->Navigate("file://" + root_ + "temp.htm#31");
        QVERIFY(Scroll() > AnchorTop(View(), "30"));
        QCOMPARE(Scroll(), AnchorTop(View(), "31"));
        // Near the end the page scrolls as far as it goes.
        pane_->Navigate("file://" + root_ + "temp.htm#100");
        QCOMPARE(Scroll(), View()->verticalScrollBar()->maximum());
        // "#1" names no anchor: the top of the page.
        pane_->Navigate("file://" + root_ + "temp.htm#1");
        QCOMPARE(Scroll(), 0);
        // A page without anchor starts at its top.
        pane_->Navigate("file://" + Them("theme2.htm#sec"));
        QCOMPARE(Scroll(), AnchorTop(View(), "sec"));
        pane_->Navigate("file://" + Them("theme2.htm"));
        QCOMPARE(Scroll(), 0);
    }

    void controlHomeAndEndGoToTheTopAndTheEnd() {
        pane_->Navigate("file://" + root_ + "temp.htm#50");
        const int middle = Scroll();
        QVERIFY(middle > 0);
        QTest::keyClick(View(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(Scroll(), View()->verticalScrollBar()->maximum());
        QVERIFY(Scroll() > middle);
        QTest::keyClick(View(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Scroll(), 0);
        QVERIFY(events_.size() == 1);  // keys move the view, they navigate nowhere
    }

    void contextMenuOffersCopyAndSelectAllOnly() {
        pane_->Navigate(Them("index.htm"));
        // On a link too: its address is the program's business, not the reader's.
        for (const QString& href : {QString("theme1.htm"), U("¤19¤23¤1¤6")}) {
            View()->setTextCursor(QTextCursor(View()->document()));
            const QPoint at = LinkPoint(View(), href);
            QVERIFY(at.x() >= 0);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    View()->viewport()->mapToGlobal(at));
            QApplication::sendEvent(View()->viewport(), &event);
            QMenu* menu = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible()) menu = m;
            QVERIFY(menu);
            QStringList texts;
            for (QAction* a : menu->actions())
                texts << a->text();
            QCOMPARE(texts, QStringList({"Copier", U("Tout sélectionner")}));
            QAction* copy = menu->actions().at(0);
            QVERIFY(!copy->isEnabled());  // nothing selected yet
            menu->actions().at(1)->trigger();
            menu->close();
            QVERIFY(View()->textCursor().hasSelection());
        }
        // With the selection, "Copier" puts the text on the clipboard.
        const QPoint at(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at,
                                View()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(View()->viewport(), &event);
        QMenu* menu = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible()) menu = m;
        QVERIFY(menu);
        QVERIFY(menu->actions().at(0)->isEnabled());
        QApplication::clipboard()->clear();
        menu->actions().at(0)->trigger();
        menu->close();
        QVERIFY(QApplication::clipboard()->text().contains(U("Thèmes d'étude")));
    }

    void hiddenPaneScrollsWhenShown() {
        pane_->hide();
        pane_->Navigate("file://" + root_ + "temp.htm#50");
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        QCOMPARE(Scroll(), AnchorTop(View(), "50"));
    }

    void shownPaneIsReadyBeforeItsFirstPainting() {
        // Showing lays the page out on the event loop's next turn, before
        // the view paints; a page navigated to meanwhile waits with it.
        // Looked at from inside, without asking the pane for its view.
        auto* view = pane_->findChild<QTextBrowser*>();
        pane_->hide();
        pane_->Navigate("file://" + Them("index.htm"));
        pane_->show();
        pane_->Navigate("file://" + root_ + "temp.htm#50");
        bool painted = false, readyWhenPainted = false;
        PaintSpy spy(view->viewport(), [&] {
            if (painted) return;
            painted = true;
            readyWhenPainted = view->document()->pageSize().width() == view->viewport()->width() &&
                               view->toPlainText().contains("50") &&
                               view->verticalScrollBar()->value() == AnchorTop(view, "50");
        });
        QTRY_VERIFY(painted);
        QVERIFY(readyWhenPainted);
    }

    void hiddenPaneLaysItsPageOutAtTheWidthItIsShownWith() {
        QTextDocument* doc = View()->document();
        for (bool resized : {false, true}) {
            pane_->hide();
            pane_->Navigate("file://" + Them(resized ? "theme2.htm#sec" : "index.htm"));
            if (resized) pane_->resize(300, 200);
            pane_->show();
            QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
            QCOMPARE(doc->pageSize().width(), qreal(View()->viewport()->width()));
            QVERIFY(doc->documentLayout()->documentSize().height() > 0);
        }
        QCOMPARE(Scroll(), AnchorTop(View(), "sec"));
    }

    void rewrittenPageIsReadAgain() {
        const QString url = "file://" + root_ + "temp.htm#1";
        WritePage(root_ + "temp.htm", {"<HTML><BODY>Premier</BODY></HTML>"});
        pane_->Navigate(url);
        pane_->Refresh();
        QVERIFY(Shown().contains("Premier"));
        WritePage(root_ + "temp.htm", {"<HTML><BODY>Second</BODY></HTML>"});
        pane_->Navigate(url);
        pane_->Refresh();
        QVERIFY(Shown().contains("Second"));
        // Refresh alone reads it again too, and raises no event.
        events_.clear();
        WritePage(root_ + "temp.htm", {"<HTML><BODY>Troisième</BODY></HTML>"});
        pane_->Refresh();
        QVERIFY(Shown().contains(U("Troisième")));
        QVERIFY(events_.isEmpty());
    }

    void pagesAreDecodedByTheirDeclarationOrAsWindows1252() {
        WriteBytes(root_ + "a.htm", "<HTML><BODY>\xC8ve, c\x9Cur, 5 \x80, \xA4</BODY></HTML>");
        pane_->Navigate(root_ + "a.htm");
        QCOMPARE(Shown(), U("Ève, cœur, 5 €, ¤"));
        WriteBytes(root_ + "b.htm",
                   "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; "
                   "charset=utf-8\"></HEAD><BODY>\xC3\x88ve</BODY></HTML>");
        pane_->Navigate(root_ + "b.htm");
        QCOMPARE(Shown(), U("Ève"));
    }

    void pageTypefaceTahomaHasAStandIn() {
        InstallPageFonts();
        if (QFontDatabase::hasFamily("Tahoma")) QSKIP("Tahoma itself is installed");
        QCOMPARE(TahomaStandIn(), QString("DejaVu Sans Condensed"));
    }

    void missingPagesAndOtherAddressesShowAMessage() {
        pane_->Navigate("file://" + Them("absente.htm"));
        QVERIFY(Shown().contains(Them("absente.htm")));
        QCOMPARE(pane_->HistoryCount(), 1);
        pane_->Navigate("file://" + Them("index.htm"));
        Click("http://example.org/x?y=1");
        QVERIFY(Shown().contains("http://example.org/x?y=1"));
        pane_->GoBack();
        QVERIFY(Shown().contains(U("Thèmes d'étude")));
    }

    void devicesPipesAndHugeFilesAreNotRead() {
        // Each of these would hang the pane or fill the memory if it were
        // read like a page.
        const QString fifo = root_ + "tube";
        QVERIFY(::mkfifo(fifo.toLocal8Bit().constData(), 0600) == 0);
        QFile huge(root_ + "enorme.htm");
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(17 * 1024 * 1024));
        huge.close();
        WritePage(Them("images.htm"),
                  {"<HTML><BODY>Avant <IMG src=\"/dev/zero\"> <IMG src=\"../tube\">",
                   "<IMG src=\"../enorme.htm\"> Apres</BODY></HTML>"});
        QElapsedTimer clock;
        clock.start();
        pane_->Navigate("file://" + Them("images.htm"));
        QVERIFY(Shown().contains("Avant"));
        QVERIFY(Shown().contains("Apres"));
        for (const QString& target : {fifo, QString("/dev/zero"), root_ + "enorme.htm", root_}) {
            pane_->Navigate("file://" + target);
            QVERIFY2(Shown().contains(U("introuvable")), qPrintable(target));
        }
        QVERIFY(clock.elapsed() < 5000);
    }

    void handlersMayNavigateFromInsideTheEvent() {
        // A handler that sends every link to the chapter page instead.
        cancel_ = [this](const QString& url) {
            if (url.contains("temp.htm")) return false;
            pane_->Navigate("file://" + root_ + "temp.htm#20");
            return true;
        };
        pane_->Navigate("file://" + Them("index.htm"));
        QCOMPARE(pane_->LocationURL(), "file://" + root_ + "temp.htm#20");
        // One that keeps navigating its own pane comes to an end.
        cancel_ = [this](const QString&) {
            pane_->Navigate("file://" + Them("theme1.htm"));
            return false;
        };
        pane_->Navigate("file://" + Them("index.htm"));
        QVERIFY(events_.size() < 40);
        // A step forward whose handler navigates elsewhere stops there.
        cancel_ = [](const QString&) { return false; };
        pane_->Navigate("file://" + Them("theme1.htm#x"));
        pane_->GoBack();
        const int count = pane_->HistoryCount();
        cancel_ = [this](const QString& url) {
            if (url.contains("theme2")) return false;
            pane_->Navigate("file://" + Them("theme2.htm"));
            return false;
        };
        pane_->GoForward();
        QCOMPARE(pane_->LocationURL(), Them("theme2.htm"));
        QCOMPARE(pane_->HistoryCount(), count);
        QVERIFY(!pane_->CanGoForward());
    }
};

QTEST_MAIN(BrowserPaneTest)
#include "BrowserPaneTest.moc"
