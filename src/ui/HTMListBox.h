#pragma once

// THTMListBox: a list whose items are mini-HTML texts (MiniHtml.h), each with
// a 32-bit position value. One line per item, all items of one height, no
// wrapping and no sorting; the items keep the order they were put in.
//
//   list->BeginUpdate();
//   list->Clear();
//   list->Add("<B>Heading</B>", 3001);
//   list->Add("<IND x=\"10\">Minor heading", 3014);
//   list->EndUpdate();
//   list->SetTopIndex(1);
//   connect(list, &THTMListBox::Click, this, [=](int i) { use(list->Value(i)); });
//
// Indices count from 0. Text, SetText, Value, SetValue and Insert raise
// std::out_of_range for an index outside the list.

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <optional>
#include <vector>

#include "ImageList.h"
#include "MiniHtml.h"

namespace lorvane {

class THTMListBox : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit THTMListBox(QWidget* parent = nullptr);

    // Items.
    void Clear();
    // Appends an item; returns its index.
    int Add(const QString& text, qint32 value = 0);
    // Inserts an item before `index` (0 to Count()). The selection stays on
    // the item it was on.
    void Insert(int index, const QString& text, qint32 value = 0);
    void InsertTop(const QString& text, qint32 value = 0) { Insert(0, text, value); }
    int Count() const { return static_cast<int>(items_.size()); }
    QString Text(int index) const;
    void SetText(int index, const QString& text);
    qint32 Value(int index) const;
    void SetValue(int index, qint32 value);

    // Selection: the index of the selected item, -1 for none. Setting it
    // from the program raises no Click; an index outside the list selects
    // nothing.
    int ItemIndex() const { return selected_; }
    void SetItemIndex(int index);

    // Scrolling: the index of the first item shown. SetTopIndex scrolls so
    // that the item is the first shown, or as near as the list's end allows.
    int TopIndex() const;
    void SetTopIndex(int index);
    // How many items the list shows whole.
    int VisibleCount() const;

    // The tooltip of an item: its whole text without tags when the item is
    // too wide for the list, else empty. Resting the mouse on an item shows
    // it.
    QString ItemToolTip(int index) const;

    // Repainting. Each BeginUpdate suspends repainting until its EndUpdate;
    // suspensions nest, and the list repaints once the last one is lifted.
    // While suspended, the list keeps showing what it last showed, whatever
    // repaints the window around it.
    // EndUpdate without BeginUpdate does nothing.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updating_ > 0; }

    // Look. The item height is in pixels at 96 pixels per inch (scaled with
    // the screen); 0, the default, fits the font and the image list. The
    // colours default to the palette's base, highlight and highlighted text;
    // the selected item's text takes the selection text colour, except
    // where a FONT tag gives its own colour.
    void SetImages(const ImageList& images);
    void SetItemHeight(int pixels);
    int ItemHeight() const;  // in pixels on this screen
    // A list whose first line heads it (a count): the line is no item for
    // a screen reader, and the keys never select it.
    void SetHeadLine(bool head) { headLine_ = head; }
    // The row of the first item: 1 under a head line, else 0.
    int FirstItem() const { return headLine_ && Count() > 0 ? 1 : 0; }
    void SetColor(const QColor& background);
    void SetSelectionColor(const QColor& background);
    void SetSelectionTextColor(const QColor& text);

  signals:
    // The user selected an item with the mouse (a click on an item) or the
    // keyboard (arrows, Page Up/Down, Home, End).
    void Click(int index);
    // Enter on the selected item: the reader goes on to what it opened.
    void Activated(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QSize sizeHint() const override;

  private:
    struct Item {
        QString text;
        qint32 value = 0;
        mutable std::optional<std::vector<minihtml::Item>> parsed;
    };
    void Check(int index, const char* what) const;
    void Changed();  // repaint and rescale unless suspended
    void UpdateScrollRange();
    void EnsureVisible(int index);
    void UserSelect(int index);
    void TellAccessibility();

    std::vector<Item> items_;
    int selected_ = -1;
    int updating_ = 0;
    int itemHeight_ = 0;
    ImageList images_;
    QColor background_, selection_, selectionText_;
    bool headLine_ = false;
};

}  // namespace lorvane
