#include "TextTabs.h"

#include <QBoxLayout>
#include <QKeyEvent>

namespace lorvane {

// ---- TextTabBar -------------------------------------------------------------

TextTabBar::TextTabBar(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setUsesScrollButtons(true);
    setDrawBase(true);
}

bool TextTabBar::Vertical() const {
    return shape() == QTabBar::RoundedEast || shape() == QTabBar::RoundedWest ||
           shape() == QTabBar::TriangularEast || shape() == QTabBar::TriangularWest;
}

void TextTabBar::keyPressEvent(QKeyEvent* event) {
    const bool up = event->key() == Qt::Key_Up;
    if (!Vertical() || (!up && event->key() != Qt::Key_Down) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QTabBar::keyPressEvent(event);
    // Up is the tab above, Down the tab below, whatever the text direction.
    const int step = up ? -1 : 1;
    for (int i = currentIndex() + step; i >= 0 && i < count(); i += step) {
        if (isTabEnabled(i) && isTabVisible(i)) {
            setCurrentIndex(i);
            break;
        }
    }
    event->accept();
}

// ---- TextTabs ---------------------------------------------------------------

TextTabs::TextTabs(QWidget* parent) : QWidget(parent) {
    bar_ = new TextTabBar(this);
    bar_->setObjectName("TCTexteTabs");
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    // The bar always comes first: the direction of the layout puts it on
    // its side.
    layout_->addWidget(bar_);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (!quiet_) emit currentChanged(index);
    });
    SetSide(Side::Right);
}

void TextTabs::SetContent(QWidget* content) {
    if (content_) delete layout_->takeAt(layout_->indexOf(content_));
    content_ = content;
    content_->setParent(this);
    layout_->addWidget(content_, 1);
}

void TextTabs::SetSide(Side side) {
    side_ = side;
    switch (side) {
        case Side::Right:
            bar_->setShape(QTabBar::RoundedEast);
            layout_->setDirection(QBoxLayout::RightToLeft);
            break;
        case Side::Left:
            bar_->setShape(QTabBar::RoundedWest);
            layout_->setDirection(QBoxLayout::LeftToRight);
            break;
        case Side::Top:
            bar_->setShape(QTabBar::RoundedNorth);
            layout_->setDirection(QBoxLayout::TopToBottom);
            break;
        case Side::Bottom:
            bar_->setShape(QTabBar::RoundedSouth);
            layout_->setDirection(QBoxLayout::BottomToTop);
            break;
    }
    // Along its side the bar takes the length it is given, scrolling the
    // tabs that do not fit; across, it is as thick as its tabs.
    if (bar_->Vertical())
        bar_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    else
        bar_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TextTabs::SetCurrent(int index) {
    quiet_ = true;
    bar_->setCurrentIndex(index);
    quiet_ = false;
}

void TextTabs::Insert(int index, const QString& caption) {
    quiet_ = true;
    bar_->insertTab(index, caption);
    quiet_ = false;
}

void TextTabs::Remove(int index) {
    quiet_ = true;
    bar_->removeTab(index);
    quiet_ = false;
}

}  // namespace lorvane
