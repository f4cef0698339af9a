#include "ReadingStrip.h"

#include "Accessible.h"
#include "ChapterSpin.h"
#include "HTMLControls.h"
#include "Navigation.h"
#include "QtText.h"
#include "TextTabs.h"

namespace lorvane {

ReadingStrip::ReadingStrip(ReadingCore& reading, THTMLComboBox* books, ChapterSpin* chapters,
                           TextTabs* tabs, QObject* parent)
    : QObject(parent), reading_(reading), books_(books), chapters_(chapters), tabs_(tabs) {
    reading_.Subscribe(this);
    connect(books_, &THTMLComboBox::Change, this, [this] { BookChosen(); });
    connect(chapters_, &ChapterSpin::valueEdited, this, [this] { ChapterChosen(); });
    connect(tabs_, &TextTabs::currentChanged, this, [this](int tab) { reading_.SelectTab(tab); });
    FillBooks();
    Sync();
    toldCount_ = reading_.TabCount();
    toldCurrent_ = reading_.CurrentTab();
}

void ReadingStrip::BookChosen() {
    const int book = books_->ItemIndex() + 1;
    if (book < 1 || book > kBookCount) return;
    reading_.MoveTo(Place{book, 1, 1, -1});
}

void ReadingStrip::ChapterChosen() {
    const Place to{reading_.Here().book, chapters_->Value(), 1, -1};
    // The digits of one number typed in the chapter box make one move.
    const bool typing = lastChapterTyped_.isValid() && lastChapterTyped_.elapsed() < 1500;
    ownMove_ = true;
    if (typing)
        reading_.MoveTyping(to);
    else
        reading_.MoveTo(to);
    ownMove_ = false;
    lastChapterTyped_.start();
}

void ReadingStrip::PlaceChanged(const Place&, const Place&) {
    if (!ownMove_) lastChapterTyped_.invalidate();  // any other move ends the typing
    Sync();
}

void ReadingStrip::TabsChanged() {
    Sync();
    // A tab opened, closed or chosen is said: « Onglet 2 sur 3 : Jean 3 ».
    const int count = reading_.TabCount();
    const int current = reading_.CurrentTab();
    const bool moved = count != toldCount_ || current != toldCurrent_;
    toldCount_ = count;
    toldCurrent_ = current;
    if (moved && tabs_->isVisible())
        Announce(tabs_->window(), QStringLiteral("Onglet %1 sur %2 : %3")
                                      .arg(current + 1)
                                      .arg(count)
                                      .arg(tabs_->Caption(current)));
}

void ReadingStrip::TablesChanged() {
    FillBooks();
}

void ReadingStrip::FillBooks() {
    const Communs& tables = reading_.Tables();
    QSignalBlocker block(books_);
    books_->Clear();
    for (int b = 1; b <= kBookCount; ++b)
        books_->AddItem(FromUtf8(tables.BookTable[b].Name.view()));
}

void ReadingStrip::Sync() {
    const Place& here = reading_.Here();
    {
        QSignalBlocker block(books_);
        books_->SetItemIndex(here.book - 1);
    }
    chapters_->SetRange(1, reading_.ChaptersShown(here.book));
    chapters_->SetValue(here.chapter);
    // The tabs, changed from here, raise nothing.
    while (tabs_->Count() > reading_.TabCount())
        tabs_->Remove(tabs_->Count() - 1);
    for (int tab = 0; tab < reading_.TabCount(); ++tab) {
        const QString caption = FromUtf8(reading_.TabCaption(tab));
        if (tab >= tabs_->Count())
            tabs_->Insert(tab, caption);
        else if (tabs_->Caption(tab) != caption)
            tabs_->SetCaption(tab, caption);
    }
    if (tabs_->Current() != reading_.CurrentTab()) tabs_->SetCurrent(reading_.CurrentTab());
}

}  // namespace lorvane
