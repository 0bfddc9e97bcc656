#include "platform/DialogPlacement.h"

#include <QDialog>
#include <QScreen>
#include <algorithm>

namespace {

int KeepInside(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

} // namespace

void ShowCentredOn(QDialog* dialog, const QWidget* owner) {
    dialog->setFixedSize(dialog->sizeHint());
    QRect place(QPoint(), dialog->frameGeometry().size());
    place.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        place.moveTo(KeepInside(place.left(), place.width(), available.left(), available.width()),
                     KeepInside(place.top(), place.height(), available.top(), available.height()));
    }
    dialog->move(place.topLeft());
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
