#include "ChapterSpin.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace lorvane {

ChapterSpin::ChapterSpin(QWidget* parent) : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setObjectName("SpinChapitreEdit");
    edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit_->installEventFilter(this);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("Chapitre suivant"));
    down_->setAccessibleName(QString::fromUtf8("Chapitre précédent"));
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedWidth(14);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    }
    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(edit_);
    row->addLayout(arrows);
    setFocusProxy(edit_);

    connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
    connect(edit_, &QLineEdit::textEdited, this, &ChapterSpin::Typed);
    connect(edit_, &QLineEdit::editingFinished, this, &ChapterSpin::ShowValueInForce);
    SetText(1, false);
}

int ChapterSpin::Value() const {
    return value_;
}

void ChapterSpin::SetValue(int value) {
    SetText(value, false);
}

void ChapterSpin::SetValueByReader(int value) {
    const int bounded = std::clamp(value, min_, max_);
    if (bounded != Value() || edit_->text() != QString::number(bounded)) SetText(bounded, true);
}

void ChapterSpin::SetRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
}

void ChapterSpin::SetText(int value, bool notify) {
    value_ = value;
    accepted_ = QString::number(value);
    edit_->setText(accepted_);
    if (notify) emit valueEdited(value);
}

void ChapterSpin::StepBy(int steps) {
    int current = Value();
    int next = std::clamp(current + steps, min_, max_);
    if (next != current || edit_->text() != QString::number(next)) SetText(next, true);
}

void ChapterSpin::Typed(const QString& text) {
    const QString digits = text.trimmed();
    for (QChar ch : digits) {
        if (ch < u'0' || ch > u'9') {
            // Not a chapter number: the keystroke is ignored.
            const int cursor = edit_->cursorPosition() - int(text.size() - accepted_.size());
            edit_->setText(accepted_);
            edit_->setCursorPosition(std::clamp(cursor, 0, int(accepted_.size())));
            return;
        }
    }
    accepted_ = text;
    bool ok = false;
    const int typed = digits.toInt(&ok);
    if (!ok && !digits.isEmpty()) {  // more digits than a number holds
        SetText(max_, value_ != max_);
        return;
    }
    if (!ok || typed < min_) return;  // nothing yet: the chapter stays
    if (typed > max_) {
        SetText(max_, value_ != max_);
        return;
    }
    if (typed != value_) {
        value_ = typed;
        emit valueEdited(typed);
    }
}

void ChapterSpin::ShowValueInForce() {
    if (edit_->text() != QString::number(value_)) SetText(value_, false);
}

bool ChapterSpin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                StepBy(1);
                return true;
            case Qt::Key_Down:
                StepBy(-1);
                return true;
            case Qt::Key_PageUp:
                StepBy(10);
                return true;
            case Qt::Key_PageDown:
                StepBy(-10);
                return true;
            default:
                break;
        }
    }
    if (watched == edit_ && event->type() == QEvent::Wheel) {
        StepBy(static_cast<QWheelEvent*>(event)->angleDelta().y() > 0 ? 1 : -1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lorvane
