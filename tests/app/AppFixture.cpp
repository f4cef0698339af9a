#include "AppFixture.h"

#include <algorithm>
#include <tuple>

#include <QAction>
#include <QMenu>
#include <QTextBrowser>
#include <QTextCursor>

#include "ArchiveWriter.h"
#include "BrowserPane.h"

namespace lorvane::testing {

DataSet MainWindowBible() {
    DataSet d;
    for (int b = 1; b <= 66; ++b) {
        int chapters = b == 1 ? 4 : b == 19 ? 150 : b == 31 ? 1 : 3;
        std::string name = b == 1    ? "Gen\xE8se"
                           : b == 19 ? "Psaumes"
                           : b == 31 ? "Abdias"
                                     : "Livre " + std::to_string(b);
        d.books.push_back({name, b == 1 ? "Ge" : "L" + std::to_string(b), chapters});
        for (int c = 1; c <= chapters; ++c)
            for (int v = 1; v <= 20; ++v)
                d.verses.push_back({b, c, v,
                                    "Texte " + std::to_string(b) + "." + std::to_string(c) + "." +
                                        std::to_string(v)});
    }
    d.headings = {{'D', 1, 1, 1, "Les origines"},
                  {'E', 1, 1, 1,
                   "Cr\xE9"
                   "ation"},
                  {'E', 1, 2, 4, "Le jardin"},
                  {'E', 1, 3, 14, "La chute"},
                  {'D', 1, 3, 1, "Suite"},
                  {'E', 19, 10, 1, "Dix"},
                  {'E', 19, 12, 1, "Douze"}};
    for (int i = 0; i < 30; ++i)
        d.headings.push_back({'E', 19, 100 + i, 1, "Psaume " + std::to_string(100 + i)});
    std::stable_sort(d.headings.begin(), d.headings.end(), [](const auto& a, const auto& b) {
        return std::tie(a.book, a.chapter, a.verse) < std::tie(b.book, b.chapter, b.verse);
    });
    d.crossRefs = {{1, 1, 1, 0, 19, 23, 1, 6}, {1, 1, 2, 0, 43, 3, 16, 0}};
    auto page = [](const char* name, const std::string& body) {
        return archive::Member{name, 0x5A210000u, "<HTML><BODY>" + body + "</BODY></HTML>"};
    };
    d.pages = {page("livres.htm", "<A href=\"19\">Psaumes</A>"),
               page("index.htm", "<A href=\"a.htm\">A</A>"),
               page("a.htm", "<A href=\"b.htm\">B</A> <A href=\"43:3:16-18\">Jn</A>"),
               page("b.htm", "<A href=\"index.htm\">index</A>"),
               page("glossaire.htm",
                    "<A name=\"A\"></A>A<BR><A name=\"Capacite\"></A>C <A href=\"43:3\">x</A>")};
    return d;
}

MainWindowFixture::MainWindowFixture(const DataSet& data) {
    WriteDataFolder(dir.path(), data);
    communs = std::make_unique<Communs>(dir.appDir());
    window = std::make_unique<TFBible>(*communs);
}

void MainWindowTestCase::Open(const DataSet& data) {
    fixture = std::make_unique<MainWindowFixture>(data);
    dir = &fixture->dir;
    communs = fixture->communs.get();
    w = fixture->window.get();
}

void MainWindowTestCase::Close() {
    w = nullptr;
    communs = nullptr;
    dir = nullptr;
    fixture.reset();
}

bool ChooseInPageMenu(TFBible& window, const QString& text, const char* entry) {
    QTextBrowser* page = window.WB->Browser();
    QTextCursor found = page->document()->find(text);
    if (found.isNull()) return false;
    found.setPosition(found.selectionStart() + 1);
    page->setTextCursor(found);
    page->ensureCursorVisible();
    QMenu menu;
    emit window.WB->ContextMenu(&menu, page->cursorRect(found).center());
    QAction* action = menu.findChild<QAction*>(entry);
    if (!action) return false;
    action->trigger();
    return true;
}

}  // namespace lorvane::testing
