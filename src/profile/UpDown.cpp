#include "profile/UpDown.h"

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

UpDown::UpDown(int minimum, int maximum, int value, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), value_(std::clamp(value, minimum, maximum)),
      up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    // Room for the focus frame around the arrows.
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    for (auto [button, arrow] : {std::pair{up_, Qt::UpArrow}, std::pair{down_, Qt::DownArrow}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
    // Tab reaches it and the arrow keys step it; a click on an arrow leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void UpDown::StepUp() {
    setValue(value_ + step_);
}

void UpDown::StepDown() {
    setValue(value_ - step_);
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) {
        StepUp();
    } else if (event->key() == Qt::Key_Down) {
        StepDown();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void UpDown::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void UpDown::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void UpDown::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void UpDown::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_) return;
    value_ = value;
    emit valueChanged(value_);
}
