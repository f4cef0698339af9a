#pragma once

// Ordered lists of images of one size, as the windows name them by number
// ("idx:N" in mini-HTML, the image of a button or an action).
//
// The standard lists take each icon from the desktop's icon theme by its
// freedesktop name (QIcon::fromTheme), with the Breeze theme as the fallback
// theme, and fall back to the program's own SVG drawing when no theme has
// the icon; so no image is ever blank, and every image is drawn from a
// scalable source at the size asked. The module and display-option images
// are always the program's own: themes have no icon for a table of books, a
// glossary or the side of a panel. A QGuiApplication must exist before a
// list is made; each standard list is made once per application object.

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>

namespace lorvane {

class ImageList {
  public:
    ImageList() = default;  // no images
    ImageList(QSize size, QList<QIcon> icons) : size_(size), icons_(std::move(icons)) {}

    // 32 x 32, the module and display-option images:
    //  0 Table des livres   1 Index du livre   2 Glossaire   3 Rechercher
    //  4 Thèmes d'étude     5 Annotations      6 Rédiger un texte
    //  7 Versets accolés    8 Versets par ligne   9 Augmenter la taille du texte
    // 10 Index à gauche    11 Index à droite  12 Index en haut  13 Index en bas
    static ImageList Modules();
    // 24 x 24, the button images:
    //  0 close the chapter tab   1 new tab   2 up   3 down   4 home
    //  5 refresh   6 find   7 previous page   8 next page
    static ImageList Buttons();
    // 16 x 16, the writing pad's formatting toolbar (ImgListForme):
    //  0 bold  1 italic  2 underline  3 align left  4 centre  5 align right
    //  6 bullets  7 text colour  8 superscript  9 subscript
    // 10 less indent  11 more indent
    static ImageList Forme();
    // 16 x 16, the writing pad's file and clipboard toolbar (ImgListFicher):
    //  0 new  1 open  2 save  3 save as  4 print  5 cut  6 copy  7 paste
    static ImageList Fichier();

    int Count() const { return static_cast<int>(icons_.size()); }
    bool IsEmpty() const { return icons_.isEmpty(); }
    // The nominal size of the images, in device-independent pixels at 96
    // pixels per inch.
    QSize Size() const { return size_; }
    // Image `index`, or a null icon when the index is not below Count().
    QIcon Icon(int index) const;
    // Image `index` drawn at Size() * scale for a screen of the given
    // device pixel ratio; a null pixmap when the index is out of range.
    QPixmap Pixmap(int index, qreal scale = 1.0, qreal devicePixelRatio = 1.0) const;

    // Makes Breeze the fallback icon theme when the application has none but
    // the default, and the theme when it has none at all. The standard lists
    // call it; it does nothing the second time.
    static void UseFallbackIconTheme();

  private:
    QSize size_;
    QList<QIcon> icons_;
};

}  // namespace lorvane
