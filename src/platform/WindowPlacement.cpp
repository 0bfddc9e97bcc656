#include "platform/WindowPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace {

int KeepInside(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

// Watches a top-level window's moves and shows.
class TitleBarKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Show;
        if (placed && window->isVisible() &&
            !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
            if (const QScreen* screen = window->screen()) MoveInside(window, screen->availableGeometry());
        return false;
    }

private:
    static void MoveInside(QWidget* window, const QRect& available) {
        const QRect frame = window->frameGeometry();
        const QPoint inside(std::max(frame.left(), available.left()), std::max(frame.top(), available.top()));
        if (inside != frame.topLeft()) window->move(inside);
    }
};

} // namespace

void KeepTitleBarOnScreen(QWidget* window) {
    window->installEventFilter(new TitleBarKeeper(window));
}

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
