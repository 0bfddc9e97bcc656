#pragma once

#include "platform/WrappingButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOption>

// Every visible caption, title box and button text under root that is wider than its control, or
// a control that sticks out of its parent: empty when nothing is cut. Any window or dialog test can call it.
inline QStringList CutTexts(QWidget* root) {
    QStringList cut;
    auto check = [&cut](QWidget* control, const QString& text, int needed, int room) {
        if (needed > room || !control->parentWidget()->rect().contains(control->geometry()))
            cut << QStringLiteral("%1 \"%2\" needs %3 of %4").arg(control->objectName(), text).arg(needed).arg(room);
    };
    for (QWidget* control : root->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(root)) continue;
        const QFontMetrics metrics = control->fontMetrics();
        QStyle* style = control->style();
        if (auto* label = qobject_cast<QLabel*>(control)) {
            check(label, label->text(), metrics.horizontalAdvance(label->text()), label->contentsRect().width());
        } else if (auto* box = qobject_cast<QLineEdit*>(control); box && !box->text().isEmpty()) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth = box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
            // The box keeps two pixels either side of its text.
            const int room = style->subElementRect(QStyle::SE_LineEditContents, &option, box)
                                 .marginsRemoved(box->textMargins()).width() - 4;
            check(box, box->text(), metrics.horizontalAdvance(box->text()), room);
        } else if (auto* wrapping = qobject_cast<WrappingButton*>(control)) {
            const QRect area = wrapping->CaptionArea();
            const QRect needed = metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, wrapping->Caption());
            check(wrapping, wrapping->Caption(), needed.height(), area.height());
            for (const QString& word : wrapping->Caption().split(QRegularExpression(QStringLiteral("\\s"))))
                check(wrapping, word, metrics.horizontalAdvance(word), area.width());
        } else if (auto* button = qobject_cast<QAbstractButton*>(control); button && !button->text().isEmpty()) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const auto part = qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                              : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                    : QStyle::SE_PushButtonContents;
            check(button, button->text(), metrics.horizontalAdvance(button->text()),
                  style->subElementRect(part, &option, button).width());
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            check(frame, frame->title(), metrics.horizontalAdvance(frame->title()), frame->contentsRect().width());
        }
    }
    return cut;
}
