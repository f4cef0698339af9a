#pragma once

// What a screen reader hears of the program's own widgets. Qt bridges its
// standard widgets to the accessibility bus by itself; the mini-HTML
// widgets and the chapter spin get their interfaces here, so that a reader
// hears plain text, never the tags of a caption or an item:
//   THTMListBox       a list, one list item per item, with its selected and
//                     focused states;
//   THTMLButton       a button named by its caption, or by its tooltip when
//                     the caption is only an image;
//   THTMLRadioButton  a radio button with its checked state;
//   THTMLabel         static text;
//   ChapterSpin       a spin box with its value and range (its QObject class
//                     name is matched, the widget lives in another room).
// InstallAccessibility registers them once, before any window is shown.

namespace lorvane {

void InstallAccessibility();

}  // namespace lorvane
