#pragma once

#include <QString>

class QMenuBar;
class QObject;
class QWidget;

// What a screen reader hears of the program's own widgets. Qt bridges its
// standard widgets to the accessibility bus by itself; the mini-HTML
// widgets get their interfaces here (one file of this folder per family), so
// that a reader hears plain text, never the tags of a caption or an item:
//   THTMListBox       a list, one list item per item, with its selected and
//                     focused states;
//   THTMLButton       a button named by its caption, or by its tooltip when
//                     the caption is only an image;
//   THTMLRadioButton  a radio button with its checked state;
//   THTMLabel         static text;
//   the page of a TBrowserPane
//                     a document with its text, whose children are its
//                     links (named by their words, a press action that does
//                     what a click does, a place on the screen, a focus
//                     event as Tab reaches each) and whose caret moves are
//                     reported;
//   other text views  (the pad's) a text with its formats as attributes:
//                     weight, style, underline, colour, size, text-position,
//                     text-align;
//   combo boxes       named by their accessible name ("Livre", "Police"...),
//                     with the current item as value and as text, selected;
//                     a new item chosen is reported as that text put in,
//                     which a screen reader says;
//   tab bars          their tabs and nothing else, a tab focused only when
//                     the bar has the focus;
//   plain containers  (panes, strips) focused only when they have the focus
//                     themselves, not through a focus proxy;
//   tool buttons      whose press or toggle action clicks them.
// Text offsets count what is read: the non-characters the text document
// keeps (frame and cell markers) never reach a reader.
// InstallAccessibility registers them once, before any window is shown. A
// widget of another room registers its own (the chapter spin's, in
// src/reading).

namespace lorvane {

class THTMListBox;

void InstallAccessibility();

// Says `text` to a screen reader at once, wherever the focus is: a
// notification that appears in `near` (taking no room, never seen).
void Announce(QWidget* near, const QString& text);

// Each menu of the bar named by its title (without its access key), as a
// screen reader says it before its first entry: "Fichier".
void NameMenusByTitle(QMenuBar* bar);

// The items of the list say their place after their text, from their value
// (chapter * 1000 + verse): "Création du monde, 1:1".
void SayItemPlaces(THTMListBox* list);

}  // namespace lorvane

namespace lorvane {

// While one lives, the text of `object` (a text view) changes without a
// screen reader being told of the text taken out and put in: a page shown
// again in another size, which a reader in it would otherwise hear whole
// after a key with Ctrl. Its caret and its name still tell where it is.
class QuietTextChanges {
  public:
    explicit QuietTextChanges(QObject* object);
    ~QuietTextChanges();
    QuietTextChanges(const QuietTextChanges&) = delete;
    QuietTextChanges& operator=(const QuietTextChanges&) = delete;

  private:
    QObject* object_;
};

// While one lives, the focus and selection that `object` (a list) reports
// are kept from a screen reader: a list of proposals that its field moves
// by itself as the reader types, and that would take the speech from the
// field and the echo of the next letter.
class QuietFocus {
  public:
    explicit QuietFocus(QObject* object);
    ~QuietFocus();
    QuietFocus(const QuietFocus&) = delete;
    QuietFocus& operator=(const QuietFocus&) = delete;

  private:
    QObject* object_;
};

}  // namespace lorvane
