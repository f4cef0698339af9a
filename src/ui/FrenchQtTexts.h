#pragma once

namespace lorvane {

// Makes Qt's own texts (standard menus, dialogs and buttons) French,
// whatever the system's language: loads Qt's French translations into the
// application and makes French the default locale. Does it once per
// application object; false when the translations are not installed.
bool InstallFrenchQtTexts();

}  // namespace lorvane
