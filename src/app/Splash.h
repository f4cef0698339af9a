#pragma once

#include <QDialog>
#include <QLabel>

namespace lorvane {

// A label that reports a click of the mouse.
class ClickableImage : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The borderless picture window: the splash at start-up (shown modelessly,
// a click does nothing) and the About box (shown modally, a click on the
// picture closes it with the result OK).
class TFSplash : public QDialog {
    Q_OBJECT
  public:
    explicit TFSplash(QWidget* owner = nullptr);

    ClickableImage* Image1 = nullptr;

    // The 400 x 198 artwork of the program.
    static QPixmap Artwork();

    void Image1Click();
};

}  // namespace lorvane
