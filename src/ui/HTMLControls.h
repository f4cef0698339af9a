#pragma once

// The small mini-HTML widgets (MiniHtml.h): a label, a button, a combo box
// and a radio button. Each draws its text with the tags, using its own font
// and text colour where the text sets none, and its image list for IMG.

#include <QAbstractButton>
#include <QComboBox>
#include <QRadioButton>
#include <QWidget>

#include "ImageList.h"
#include "MiniHtmlPainter.h"

namespace lorvane {

// A label: one mini-HTML text, on the parent's background (it paints none).
//   title->SetImages(ImageList::Modules());
//   title->SetShadow(Qt::gray, 2);
//   title->SetText("<IMG \"idx:4\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" "
//                  "size=\"14\"> Thèmes d'étude</FONT></B>");
class THTMLabel : public QWidget {
    Q_OBJECT
  public:
    explicit THTMLabel(QWidget* parent = nullptr);

    // Replaces the whole text.
    void SetText(const QString& text);
    QString Text() const { return text_; }
    void SetImages(const ImageList& images);
    // Where the text stands in the label; left and vertically centred by
    // default.
    void SetAlignment(Qt::Alignment alignment);
    // Draws the text a second time under itself in `color`, shifted right
    // and down by `offset` pixels; an invalid colour draws no shadow.
    void SetShadow(const QColor& color, int offset);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    MiniHtmlLayout Layout() const;

    QString text_;
    std::vector<minihtml::Item> parsed_;
    ImageList images_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QColor shadow_;
    int shadowOffset_ = 0;
};

// A push button whose caption (text()) is mini-HTML; the caption may be just
// an image (<IMG src="idx:1">). clicked() is raised by a click of the user
// (mouse, or Space with the focus) and by click() from the program. A flat
// button shows its frame only while the mouse is over it or it is down.
class THTMLButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit THTMLButton(QWidget* parent = nullptr);
    explicit THTMLButton(const QString& caption, QWidget* parent = nullptr);

    void SetImages(const ImageList& images);
    void SetFlat(bool flat);
    bool Flat() const { return flat_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    ImageList images_;
    bool flat_ = false;
};

// A drop-down list of mini-HTML items (the book list). Items added with
// AddItem may hold tags; their text without tags is what keyboard search
// and accessibility see. Change() is raised when the user changes the
// selection (mouse, keyboard or wheel); AddItem, Clear and SetItemIndex
// never raise it (nor Qt's own change signals), and neither does a change
// made while the box's signals are blocked (QSignalBlocker).
class THTMLComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit THTMLComboBox(QWidget* parent = nullptr);

    // The role of the mini-HTML text of an item.
    static constexpr int kHtmlRole = Qt::UserRole + 0x4C;

    void AddItem(const QString& text);
    void Clear();
    int Count() const { return count(); }
    QString ItemText(int index) const;  // with its tags
    int ItemIndex() const { return currentIndex(); }
    // Selects an item without raising Change (nor Qt's own change signals).
    void SetItemIndex(int index);
    void SetImages(const ImageList& images);
    // The height of the opened list, in pixels at 96 pixels per inch: it
    // shows as many items as fit. The list always drops down as a list,
    // whatever the style.
    void SetDropDownHeight(int pixels);
    void showPopup() override;

  signals:
    void Change(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ImageList images_;
    int dropDownHeight_ = 0;
};

// A radio button with a mini-HTML caption (text()). Buttons with the same
// parent exclude each other; clicked() is raised by the user and by click().
class THTMLRadioButton : public QRadioButton {
    Q_OBJECT
  public:
    explicit THTMLRadioButton(QWidget* parent = nullptr);
    explicit THTMLRadioButton(const QString& caption, QWidget* parent = nullptr);

    void SetImages(const ImageList& images);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    ImageList images_;
};

}  // namespace lorvane
