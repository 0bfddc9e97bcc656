#include "platform/WrappingButton.h"

#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>

QString WrappingButton::Caption() const {
    static const QRegularExpression innerBlanks(QStringLiteral(" {2,}"));
    return text().trimmed().replace(innerBlanks, QStringLiteral("\n"));
}

QRect WrappingButton::CaptionArea() const {
    return rect().adjusted(3, 1, -3, -1);
}

void WrappingButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    if (testAttribute(Qt::WA_SetPalette)) {
        PaintFlatFace(painter);
    } else {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(CaptionArea(), Qt::AlignCenter | Qt::TextWordWrap, Caption());
}

// Styles shade a button's colour into gradients; the operator's red Stop and green Transmit stay true.
void WrappingButton::PaintFlatFace(QPainter& painter) {
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(rect(), isDown() ? face.darker(115) : face);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}
