#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace lorvane {

// The chapter spin: a number field with up and down arrows. The arrows and
// the Up and Down keys step by 1, Page Up and Page Down by 10, always within
// the range. A typed number takes effect at once; a number beyond the range
// becomes its last value at once, and a letter or sign typed is ignored. An
// emptied field (or 0) changes nothing; when the editing ends (focus loss or
// Return), the field shows the number in force.
//
// valueEdited() is raised for every change the user makes (typing, arrows,
// keys); SetValue() and SetRange() from the program raise nothing.
class ChapterSpin : public QWidget {
    Q_OBJECT
    // For assistive technologies: a value set through "value" is the
    // reader's own change.
    Q_PROPERTY(int value READ Value WRITE SetValueByReader)
    Q_PROPERTY(int minimum READ Minimum)
    Q_PROPERTY(int maximum READ Maximum)
  public:
    explicit ChapterSpin(QWidget* parent = nullptr);

    int Value() const;
    int Minimum() const { return min_; }
    int Maximum() const { return max_; }
    void SetValue(int value);
    void SetRange(int minimum, int maximum);
    // A change of the reader's: within the range, and raises valueEdited().
    void SetValueByReader(int value);

    QLineEdit* Edit() const { return edit_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

  signals:
    void valueEdited(int value);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StepBy(int steps);
    void SetText(int value, bool notify);
    void Typed(const QString& text);
    void ShowValueInForce();

    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 1;
    int max_ = 1;
    int value_ = 1;     // the number in force
    QString accepted_;  // the last text that holds only digits and spaces
};

}  // namespace lorvane
