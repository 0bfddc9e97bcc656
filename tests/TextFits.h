#pragma once

#include "platform/WrappingButton.h"

#include <QCheckBox>
#include <QDebug>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOption>

// The size a control's text needs and the room the control gives it (nothing for other controls).
inline std::pair<QSize, QSize> TextNeeds(QWidget* control) {
    const QFontMetrics metrics = control->fontMetrics();
    QStyle* style = control->style();
    auto line = [&](const QString& text) {
        return text.isEmpty() ? QSize() : QSize(metrics.horizontalAdvance(text), metrics.height());
    };
    if (auto* label = qobject_cast<QLabel*>(control))
        return {line(label->text()), label->contentsRect().size()};
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        QStyleOptionFrame option;
        option.initFrom(box);
        option.lineWidth =
            box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
        // The box keeps two pixels either side of its text.
        const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, box);
        return {line(box->text()), room.marginsRemoved(box->textMargins()).adjusted(2, 0, -2, 0).size()};
    }
    if (auto* wrapping = qobject_cast<WrappingButton*>(control)) {
        const QRect area = wrapping->CaptionArea();
        return {metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, wrapping->Caption()).size(),
                area.size()};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const auto part = qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                          : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                : QStyle::SE_PushButtonContents;
        return {line(button->text()), style->subElementRect(part, &option, button).size()};
    }
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        return {line(frame->title()), frame->contentsRect().size()};
    return {};
}

// Every visible caption, title box and button text under root that is cut by its control, or whose
// control sticks out of its parent: empty when nothing is cut. Any window or dialog test can call it.
inline QStringList CutTexts(QWidget* root) {
    QStringList cut;
    for (QWidget* control : root->findChildren<QWidget*>()) {
        const auto [needed, room] = TextNeeds(control);
        const bool fits = needed.width() <= room.width() && needed.height() <= room.height() &&
                          control->parentWidget()->rect().contains(control->geometry());
        if (!needed.isEmpty() && control->isVisibleTo(root) && !fits)
            QDebug(&cut.emplace_back()) << control << "needs" << needed << "in" << room;
    }
    return cut;
}
