#include "BookIndexPane.h"

#include <QVBoxLayout>

#include "Accessible.h"
#include "HTMListBox.h"
#include "ModulePanel.h"
#include "QtText.h"

namespace lorvane {

BookIndexPane::BookIndexPane(ReadingCore& reading, QWidget* parent)
    : QWidget(parent), reading_(reading) {
    setObjectName("PanneauIndex");
    list_ = new THTMListBox(this);
    list_->setObjectName("LBIndex");
    list_->setAccessibleName(QStringLiteral("Index du livre"));
    SayItemPlaces(list_);
    list_->SetColor(QColor(240, 251, 255));
    list_->SetSelectionColor(Qt::yellow);
    list_->SetSelectionTextColor(Qt::black);
    Column(this)->addWidget(list_);
    reading_.Subscribe(this);
    connect(list_, &THTMListBox::Click, this, [this] { Chosen(); });
}

void BookIndexPane::PlaceChanged(const Place& before, const Place& after) {
    // A heading chosen here leaves the list as the reader has it.
    if (!ownMove_ && !before.SameChapter(after)) Fill();
}

void BookIndexPane::TabsChanged() {
    const Place& here = reading_.Here();
    if (here.book != filledBook_)
        Fill();
    else if (!items_.empty())
        list_->SetTopIndex(BookIndexTopItem(items_, here.chapter));
}

void BookIndexPane::Fill() {
    const Place& here = reading_.Here();
    filledBook_ = here.book;
    items_ = BookIndexItems(reading_.Tables(), here.book);
    list_->BeginUpdate();
    list_->Clear();
    for (const BookIndexItem& item : items_)
        list_->Add(FromUtf8(item.text), item.value);
    list_->EndUpdate();
    if (!items_.empty()) list_->SetTopIndex(BookIndexTopItem(items_, here.chapter));
}

void BookIndexPane::Chosen() {
    const int selected = list_->ItemIndex();
    if (selected < 0 || selected >= static_cast<int>(items_.size())) return;
    const BookIndexItem& item = items_[static_cast<std::size_t>(selected)];
    if (item.value == 0) return;
    ownMove_ = true;
    reading_.MoveTo(Place{reading_.Here().book, item.chapter, item.verse, -1});
    ownMove_ = false;
}

}  // namespace lorvane
