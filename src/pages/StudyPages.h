#pragma once

// The study pages at start-up: data/them.dat unpacked into them/, and the
// whole loading block of the program.

#include "Communs.h"

namespace lorvane {

struct BackupPrompts;

// Empties AppDir + "them/" of its *.htm files (creating the folder when
// needed) and restores every page of BibleDir + "data/them.dat" into it. Raises LoadError
// when the archive is missing ("Fichiers thèmes introuvables"), damaged or
// cannot be restored whole. prompts shows the archive reader's own error
// box before that; null shows nothing.
void UnpackStudyPages(Communs& c, BackupPrompts* prompts);

// The whole loading block of start-up: LoadAllTables, then
// UnpackStudyPages.
void LoadDataFolder(Communs& c, BackupPrompts* prompts);

}  // namespace lorvane
