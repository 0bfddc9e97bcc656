#include "profile/NumberEntry.h"

#include "profile/SettingBox.h"
#include "profile/UpDown.h"

#include <QScopedValueRollback>
#include <cstdlib>
#include <utility>

NumberEntry::NumberEntry(UpDown* upDown, SettingBox* settingBox, Texts texts, QObject* parent)
    : QObject(parent), control(upDown), box(settingBox), texts_(std::move(texts)) {
    connect(control, &UpDown::valueChanged, this, [this] {
        Show();
        emit changed();
        if (!applying_) emit done();
    });
    connect(box, &SettingBox::entered, this, [this] {
        Apply();
        emit done();
    });
    connect(box, &SettingBox::left, this, &NumberEntry::Apply);
    connect(box, &SettingBox::escaped, this, [this] {
        Show();
        emit done();
    });
    connect(box, &SettingBox::wheeled, this, [this](int steps) {
        for (int i = 0; i < std::abs(steps); ++i)
            steps > 0 ? this->control->StepUp() : this->control->StepDown();
    });
    Show();
}

void NumberEntry::Show() {
    box->setText(texts_.display(control->value()));
}

// What was typed goes to the control, held within its range; the display then shows what the control
// holds. A text that is no number, or the value the control has already, changes nothing.
void NumberEntry::Apply() {
    if (!box->isModified()) return;
    if (const std::optional<int> value = texts_.typed(box->text())) {
        const QScopedValueRollback applying(applying_, true);
        control->setValue(*value);
    }
    Show();
}
