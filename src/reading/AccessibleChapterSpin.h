#pragma once

namespace lorvane {

// What a screen reader hears of the chapter spin: a spin box with its value
// and range, focused only when it has the focus itself (not through its
// field); its field, where the focus stands, a spin box too, with the
// spin's value and the field's text, whose changes of value are reported.
// Installed once, before any window is shown, beside the other widgets'
// interfaces (InstallAccessibility).
void InstallChapterSpinAccessibility();

}  // namespace lorvane
