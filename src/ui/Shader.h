#pragma once

#include <QColor>
#include <QWidget>

namespace lorvane {

// A strip painted with a horizontal gradient, from a colour to white.
class Shader : public QWidget {
    Q_OBJECT
  public:
    explicit Shader(QWidget* parent = nullptr, QColor from = QColor(0, 128, 255),
                    QColor to = Qt::white);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor from_;
    QColor to_;
};

}  // namespace lorvane
