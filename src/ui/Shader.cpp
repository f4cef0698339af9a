#include "Shader.h"

#include <QLinearGradient>
#include <QPainter>

namespace lorvane {

Shader::Shader(QWidget* parent, QColor from, QColor to) : QWidget(parent), from_(from), to_(to) {}

void Shader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, from_);
    gradient.setColorAt(1, to_);
    painter.fillRect(rect(), gradient);
}

}  // namespace lorvane
