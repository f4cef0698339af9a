#pragma once

// The import of a reader's Bible, without widgets. The program imports each
// Bible as a Bible of its own (ImportNewBible): its data/ is written into a
// staging folder the shelf hands out, loaded there in full by the program's
// own loaders, and the shelf then adopts that folder among the reader's
// Bibles (BibleShelf::Adopt); a failure or a cancel removes the staging
// folder, and no Bible already kept is touched. ImportBible instead replaces
// the Bible of a program folder: the new data/ is written in data.new/,
// loaded, and only then exchanged with data/ by one rename, its study pages
// following; a failure or a cancel before that exchange leaves data/ as it
// was, and data.new/ is removed.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BibleNames.h"
#include "Communs.h"
#include "LeftOut.h"
#include "Report.h"
#include "UsfmSource.h"

namespace lorvane::importer {

struct ImportSteps {
    // Told the French name (UTF-8) of each book before it is read.
    std::function<void(const std::string&)> reading;
    // Asked now and then until the exchange; true cancels (ImportCancelled).
    std::function<bool()> cancelled;
    SourceLimits limits;
    // The program that reads SWORD modules; empty: SwordHelperPath().
    std::filesystem::path swordHelper;
    // Where the import's scratch work goes (the reader's cache folder, where
    // RemoveDeadScratchFolders clears what a killed import left); empty:
    // the system's temporary folder.
    std::filesystem::path scratch;
};

struct ImportResult {
    Communs tables;            // loaded from the new data/; AppDir and BibleDir its folder
    int books = 0;             // books of the 66 that the source has
    std::vector<int> missing;  // the numbers of the others
    Report report;
    // Where the Bible came from, UTF-8: "un fichier OSIS", "un module SWORD
    // (zText, OSIS)"; "des fichiers USFM".
    std::string form;
    std::string name;                   // the Bible's name, never empty (BibleName.h)
    std::vector<ShortBook> shortBooks;  // books that came with chapters missing
    std::string abbreviation;           // its abbreviation ("WEB"), never empty
    // A SWORD commentary, imported only as a Bible of its own: the folder
    // then holds its commentaire.dat alone (Commentary.h), and `tables`
    // are empty.
    bool commentary = false;
    int entries = 0;  // the entries kept
    int leftOut = 0;  // the entries unread or misplaced, left out
};

// Imports the Bible at `source` (an archive, a folder or one of its book
// files, an OSIS, Zefania or USFX file; FormSniffing.h) into the program folder appDir (ending with
// '/'): the study pages are those of the current data/them.dat. Throws ImportError with a French
// message, or ImportCancelled; data/ and them/ are then untouched.
ImportResult ImportBible(const std::string& appDir, const std::filesystem::path& source,
                         const ImportSteps& steps = {});

// The same into the folder appDir when the data in use is bibleDir's (the
// program's, when the reader's Bibles go to a folder of their own): the
// study pages come from bibleDir's data/them.dat, and the new data/ and
// them/ go to appDir; the tables' AppDir and BibleDir are appDir.
ImportResult ImportBible(const std::string& appDir, const std::string& bibleDir,
                         const std::filesystem::path& source, const ImportSteps& steps = {});

// Imports the Bible at `source` as a Bible of its own, in the folder
// `staging`, which must not exist: it is made, the new data/ is written and
// loaded in it, and it is left holding that data/ alone; the study pages
// come from bibleDir's data/them.dat. On a failure or a cancel the folder is
// gone. The tables' AppDir and BibleDir are `staging`. A SWORD commentary
// comes the same way (result.commentary).
ImportResult ImportNewBible(const std::string& staging, const std::string& bibleDir,
                            const std::filesystem::path& source, const ImportSteps& steps = {});

// Removes the data.new/ an import left in the program folder appDir when
// the program was killed during it (the next import would remove it too).
void RemoveImportLeftovers(const std::string& appDir);

// What the reader is told of the source beyond the books, UTF-8, one line
// each: the files read as Windows-1252, the stray bytes of a UTF-8 file,
// the bytes not UTF-8 in a file said to be, the noncharacters and the
// combining marks left out, the direction marks kept, the books given twice, the
// books beyond the 66 that were passed over (« 3 livres hors des 66
// ignorés : Tobie, Judith, 1 Maccabées. »), the places
// where verse numbers jump ("Numéros de versets hors de suite : 3 endroits,
// par exemple MRK 9:46."), "" when there are none. The full report goes to
// standard error.
std::string ImportRemarks(const Report& report);

// "Bible importée depuis un fichier OSIS : 66 livres importés.", "Bible
// importée depuis un module SWORD (zText, OSIS) : …", UTF-8. The Bible's own
// name is told apart, on the line below.
std::string ImportHeadline(const ImportResult& result);

// "Commentaire importé depuis un module SWORD (zCom, OSIS) : 1234
// entrées.", UTF-8.
std::string CommentaryHeadline(const ImportResult& result);

// "12 entrées illisibles ou mal placées ont été laissées de côté.", ""
// for none; UTF-8.
std::string LeftOutEntriesText(int leftOut);

// "66 livres importés." or "27 livres importés ; manquent : l'Ancien
// Testament (39 livres)." (every missing book, a whole Testament as one),
// UTF-8.
std::string ImportSummary(int books, const std::vector<int>& missing);

}  // namespace lorvane::importer
