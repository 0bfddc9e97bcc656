#include "profile/SettingBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QWheelEvent>
#include <utility>

SettingBox::SettingBox(int digits, bool decimals, QWidget* parent) : QLineEdit(parent) {
    // The display's own form (a leading blank) is acceptable too.
    const QString pattern =
        QStringLiteral(" ?\\d{0,%1}").arg(digits) + (decimals ? QStringLiteral("([.,]\\d?)?") : QString());
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    setFocusPolicy(Qt::ClickFocus);
}

void SettingBox::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers().testFlag(Qt::AltModifier)) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit entered();
        return;
    case Qt::Key_Escape:
        emit escaped();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void SettingBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAllOnRelease_ = event->reason() == Qt::MouseFocusReason;
}

// A menu opened over the box takes the focus only for a while.
void SettingBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) emit left();
}

void SettingBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (std::exchange(selectAllOnRelease_, false)) selectAll();
}

void SettingBox::wheelEvent(QWheelEvent* event) {
    // Some desktops turn the wheel sideways while ALT is held.
    const QPoint delta = event->angleDelta();
    wheelTurn_ += delta.y() != 0 ? delta.y() : delta.x();
    const int steps = wheelTurn_ / QWheelEvent::DefaultDeltasPerStep;
    wheelTurn_ %= QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) emit wheeled(steps);
    event->accept();
}
