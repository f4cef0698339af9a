#pragma once

#include <QIcon>
#include <future>
#include <memory>
#include <string>

#include "BibleShelf.h"
#include "Communs.h"
#include "FrenchQtTexts.h"

namespace lorvane {

// The icon of every window: lorvane.svg as drawn when the program was built.
QIcon WindowIcon();

// The tables of bibleDir + "data/" (appDir's when empty), loaded by
// LoadAllTables on a thread of their own while the splash and the windows
// are made; get() gives them, or raises what the loading raised. An invalid
// future when no thread could be started.
std::future<std::unique_ptr<Communs>> LoadTablesAhead(const std::string& appDir,
                                                      const std::string& bibleDir = {});

// The start sequence after the application object exists: the splash, the
// application title, the main window with its loading block, the message
// loop. Returns the process exit code (0 also after a load failure).
// Qt's own texts are made French first (InstallFrenchQtTexts). The tables
// come from `tables` when it is valid, and then the study pages are
// unpacked on a thread of their own meanwhile (again by the main window,
// with the archive reader's boxes, when that fails); else the main window
// loads both. When the tables of BibleDir do not load and shippedBible
// names another folder (the program's, under a Bible the reader imported),
// that folder's data is loaded instead, with one line on standard error.
// First of all AppDir, where the pages go, is made and must be writable:
// else a French message names it and the exit code is 1.
// The reader's Bibles are `shelf`'s when given: one whose tables do not
// load is left out (the window names it once shown) and the next is read.
int StartLorvane(Communs& communs, std::future<std::unique_ptr<Communs>> tables = {},
                 const std::string& shippedBible = {}, bibles::BibleShelf* shelf = nullptr);

}  // namespace lorvane
