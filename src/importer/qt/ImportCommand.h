#pragma once

// Fichier > Importer une Bible...: the file dialog, the progress dialog and
// the messages of an import. The work itself (ImportBible) runs on a worker
// thread while the window keeps repainting; the new tables come back to the
// GUI thread only once the new data folder is in place.

#include <QString>
#include <functional>
#include <string>

#include "Communs.h"

class QWidget;

namespace lorvane {

// Takes the tables of the imported Bible, read from the folder the import
// made (their BibleDir), with the name and abbreviation the import found:
// the main window keeps that Bible among the reader's and shows it.
// Returns "" then; else what the reader is told instead of the summary (the
// Bible was there already). Throws with a French message when the Bible
// cannot be kept.
using TakeImportedTables = std::function<QString(Communs&& tables, const std::string& name,
                                                 const std::string& abbreviation)>;

// Takes the commentary an import wrote in the folder `staging`, named as
// the import found it: the main window keeps it beside the Bibles. Throws
// with a French message when it cannot be kept.
using TakeImportedCommentary = std::function<void(
    const std::string& staging, const std::string& name, const std::string& abbreviation)>;

// The file dialog: "Importer une Bible", in the downloads folder (else the
// home folder), filters "Bibles (*.zip *.usfm *.sfm *.xml *.osis *.conf)" and
// "Tous les fichiers (*)". The chosen
// file's path, empty when the reader closed it.
QString AskBibleFile(QWidget* parent);

// Imports `source` as a new Bible in the folder `staging`, which must not
// exist (ImportNewBible; the study pages come from the BibleDir of
// `folders`), with the progress dialog
// ("Lecture de Genèse...", "Annuler"), hands the tables to `take`, then
// shows the summary ("66 livres importés."). A failure shows its French
// message and leaves data/ and the window as they were; a cancel shows
// nothing. Returns whether the tables were handed over. A SWORD commentary
// goes to `takeCommentary` instead (refused when there is none), with its
// summary and the entries left out.
bool ImportBibleFile(QWidget* parent, const Communs& folders, const std::string& staging,
                     const QString& source, const TakeImportedTables& take,
                     const TakeImportedCommentary& takeCommentary = {});

// At start: what an import killed half-way left in the program folder goes,
// and the scratch folders of dead imports in the reader's cache folder.
void ClearImportLeftovers(const std::string& appDir);

// The whole command: AskBibleFile, then ImportBibleFile.
bool RunImportCommand(QWidget* parent, const Communs& folders, const std::string& staging,
                      const TakeImportedTables& take);

}  // namespace lorvane
