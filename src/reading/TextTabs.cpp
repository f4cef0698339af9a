#include "TextTabs.h"

#include <QBoxLayout>

namespace lorvane {

TextTabs::TextTabs(QWidget* parent) : QWidget(parent) {
    bar_ = new QTabBar(this);
    bar_->setObjectName("TCTexteTabs");
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    bar_->setDrawBase(true);
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (!quiet_) emit currentChanged(index);
    });
    SetSide(Side::Right);
}

void TextTabs::SetContent(QWidget* content) {
    content_ = content;
    content_->setParent(this);
    SetSide(side_);
}

void TextTabs::SetSide(Side side) {
    side_ = side;
    while (layout_->count() > 0)
        layout_->takeAt(0);
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
    // The bar first: with the reversed directions it lands on the far side.
    layout_->addWidget(bar_, 0,
                       side == Side::Left || side == Side::Right ? Qt::AlignTop : Qt::AlignLeft);
    if (content_) layout_->addWidget(content_, 1);
}

void TextTabs::SetCurrent(int index) {
    quiet_ = true;
    bar_->setCurrentIndex(index);
    quiet_ = false;
}

void TextTabs::Insert(int index, const QString& caption, int value) {
    quiet_ = true;
    int at = bar_->insertTab(index, caption);
    bar_->setTabData(at, value);
    quiet_ = false;
}

void TextTabs::Remove(int index) {
    quiet_ = true;
    bar_->removeTab(index);
    quiet_ = false;
}

}  // namespace lorvane
