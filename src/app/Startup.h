#pragma once

#include "Communs.h"

namespace lorvane {

// Makes Qt's own texts (standard menus, dialogs and buttons) French,
// whatever the system's language: loads Qt's French translations into the
// application and makes French the default locale. Does it once per
// application object; false when the translations are not installed.
bool InstallFrenchQtTexts();

// The start sequence after the application object exists: the splash, the
// application title, the main window with its loading block, the message
// loop. Returns the process exit code (0 also after a load failure).
// Qt's own texts are made French first (InstallFrenchQtTexts).
int StartLorvane(Communs& communs);

}  // namespace lorvane
