#include "FocusMark.h"

#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>

namespace lorvane {

void DrawFocusMark(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // A dark edge outside, so that the mark stands out on the blue strips
    // as well as on white; pens of even width are centred on the path.
    painter.setPen(QPen(FocusMarkEdgeColor(), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(QPen(FocusMarkColor(), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(rect).adjusted(2, 2, -2, -2));
    painter.restore();
}

namespace {

// The frame laid over a view: transparent, shown while the view has the
// focus, the size of the view.
class FocusFrame : public QWidget {
  public:
    explicit FocusFrame(QWidget* view) : QWidget(view) {
        setObjectName("FocusMark");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(view->rect());
        setVisible(view->hasFocus());
        view->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        auto* view = parentWidget();
        switch (e->type()) {
            case QEvent::FocusIn:
                setGeometry(view->rect());
                raise();
                show();
                break;
            case QEvent::FocusOut:
                hide();
                break;
            case QEvent::Resize:
                setGeometry(view->rect());
                break;
            default:
                break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        DrawFocusMark(p, rect());
    }
};

}  // namespace

void AddFocusMark(QWidget* view) {
    if (view && !view->findChild<QWidget*>(QStringLiteral("FocusMark"), Qt::FindDirectChildrenOnly))
        new FocusFrame(view);
}

}  // namespace lorvane
