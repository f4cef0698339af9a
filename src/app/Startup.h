#pragma once

#include "Communs.h"

namespace lorvane {

// The start sequence after the application object exists: the splash, the
// application title, the main window with its loading block, the message
// loop. Returns the process exit code (0 also after a load failure).
int StartLorvane(Communs& communs);

}  // namespace lorvane
