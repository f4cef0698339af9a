#pragma once

#include <QObject>
#include <memory>

#include "Bible.h"
#include "Communs.h"
#include "Fixtures.h"

namespace lorvane::testing {

// A Bible of 66 books: book 1 "Genèse" of 4 chapters, book 19 "Psaumes" of
// 150 chapters, book 31 "Abdias" of one chapter, the others of 3; every
// chapter of 20 verses. Headings in book 1 and book 19, a few references,
// five small study pages.
DataSet MainWindowBible();

// A main window over a fresh folder holding `data`; the window goes first,
// then the tables, then the folder. Loaded() tells whether it started.
struct MainWindowFixture {
    explicit MainWindowFixture(const DataSet& data);

    TempDir dir;
    std::unique_ptr<Communs> communs;
    std::unique_ptr<TFBible> window;
};

// The base of the window tests: Open() in init(), Close() in cleanup(); in
// between, dir, communs and w stand for the fixture's parts.
class MainWindowTestCase : public QObject {
  protected:
    void Open(const DataSet& data);
    void Close();

    std::unique_ptr<MainWindowFixture> fixture;
    TempDir* dir = nullptr;
    Communs* communs = nullptr;
    TFBible* w = nullptr;
};

// Opens the reading pane's menu over the first place the page says `text`
// and triggers its entry named `entry`; false when either is missing.
bool ChooseInPageMenu(TFBible& window, const QString& text, const char* entry);

}  // namespace lorvane::testing
