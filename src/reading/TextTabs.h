#pragma once

#include <QTabBar>
#include <QWidget>

class QBoxLayout;

namespace lorvane {

// The tab bar of the text tabs. Tabs that do not fit scroll with the bar's
// arrows, and the bar never asks for the length of all its tabs: any number
// of tabs fits in the window. Standing at a side, it also switches tabs with
// Up and Down.
class TextTabBar : public QTabBar {
    Q_OBJECT
  public:
    explicit TextTabBar(QWidget* parent = nullptr);

    bool Vertical() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The text tabs: a tab bar beside one content widget (the reading pane).
// Each tab holds a caption; the places are the reading's (ReadingCore.h).
// The tabs stand on one side of the content: right at start, or left, top,
// bottom. Changing the selection from the program raises nothing;
// currentChanged() is raised for the user's own selections only.
class TextTabs : public QWidget {
    Q_OBJECT
  public:
    enum class Side { Left, Right, Top, Bottom };

    explicit TextTabs(QWidget* parent = nullptr);

    void SetContent(QWidget* content);
    void SetSide(Side side);
    Side GetSide() const { return side_; }

    int Count() const { return bar_->count(); }
    int Current() const { return bar_->currentIndex(); }
    void SetCurrent(int index);
    QString Caption(int index) const { return bar_->tabText(index); }
    void SetCaption(int index, const QString& caption) { bar_->setTabText(index, caption); }
    void Insert(int index, const QString& caption);
    void Remove(int index);

    TextTabBar* Bar() const { return bar_; }

  signals:
    void currentChanged(int index);

  private:
    TextTabBar* bar_;
    QBoxLayout* layout_;
    QWidget* content_ = nullptr;
    Side side_ = Side::Right;
    bool quiet_ = false;
};

}  // namespace lorvane
