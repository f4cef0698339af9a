#pragma once

#include <QDialog>
#include <QLabel>

class QPlainTextEdit;

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
// picture or its text closes it with the result OK). The About box says
// under the picture under which licence Lorvane is given and, when the
// program ships texts of others (`shipped`: the Bibles in the original
// languages, each with its licence and the attribution it asks), lists
// them in a text the keyboard and a screen reader reach.
class TFSplash : public QDialog {
    Q_OBJECT
  public:
    enum class Use { Splash, About };
    explicit TFSplash(QWidget* owner = nullptr, Use use = Use::Splash, const QString& shipped = {});

    ClickableImage* Image1 = nullptr;
    // The licence, in the About box only.
    ClickableImage* Licence = nullptr;
    // The texts shipped and their licences, in the About box when there are.
    QPlainTextEdit* Shipped = nullptr;

    // The 400 x 198 artwork of the program.
    static QPixmap Artwork();

    void Image1Click();
};

}  // namespace lorvane
