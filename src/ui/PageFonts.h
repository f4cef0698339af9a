#pragma once

// The typeface of the pages and titles, Tahoma, on a system that usually
// lacks it: when no "Tahoma" is installed, text asked in Tahoma is drawn in
// DejaVu Sans Condensed (Debian package fonts-dejavu-extra), a humanist
// sans-serif of nearly the same widths (about 3% wider) and the same
// x-height, so such text takes about the room it was laid out for; DejaVu
// Sans comes next when the condensed face is missing. Safe to call more than
// once; a QGuiApplication must exist.

#include <QString>

namespace lorvane {

void InstallPageFonts();

// The family that text asked in Tahoma is drawn with.
QString TahomaStandIn();

}  // namespace lorvane
