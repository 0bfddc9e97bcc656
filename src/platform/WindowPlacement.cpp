#include "platform/WindowPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace {

int KeepInside(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

const char* const KeeperName = "titleBarKeeper";
constexpr int SettlingMilliseconds = 500;

// Watches a top-level window's moves and shows, and its native window's exposure, which is when a
// window manager has framed it.
class TitleBarKeeper : public QObject {
public:
    explicit TitleBarKeeper(QWidget* window) : QObject(window), window_(window) {
        setObjectName(KeeperName);
        window->installEventFilter(this);
    }

    void PlaceFrameAt(QPoint frame) {
        wanted_ = frame;
        settling_ = false;
        WatchNativeWindow();
        Place();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            WatchNativeWindow();
            Place();
            break;
        case QEvent::Move:
        case QEvent::Expose:
        case QEvent::WindowActivate:
            Place();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void WatchNativeWindow() {
        if (QWindow* native = window_->windowHandle()) native->installEventFilter(this);
    }

    // The margins the window manager reports; none before it has framed the window, or without one.
    QMargins FrameMargins() const {
        return window_->windowHandle() ? window_->windowHandle()->frameMargins() : QMargins();
    }

    // Once the window has its title bar, the window manager's reports of the place it gave the window
    // first may still come for a moment: the frame's place is asked for again until then.
    void SettleOnceFramed(const QMargins& margins) {
        if (margins.top() <= 0 || settling_) return;
        settling_ = true;
        QTimer::singleShot(SettlingMilliseconds, this, [this] { wanted_.reset(); });
    }

    void Place() {
        const QScreen* screen = window_->screen();
        if (!screen || (window_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) return;
        const QMargins margins = FrameMargins();
        const QRect available = screen->availableGeometry();
        const QPoint at = window_->geometry().topLeft();
        QPoint client = at;
        if (wanted_) {
            client = PlaceFrame(*wanted_, window_->size(), margins, available).client;
            SettleOnceFramed(margins);
        } else if (window_->isVisible()) {
            const QPoint frame = client - QPoint(margins.left(), margins.top());
            client +=
                QPoint(std::max(0, available.left() - frame.x()), std::max(0, available.top() - frame.y()));
        }
        // By the client area: a move by the frame would take Qt's notion of the frame, which lags.
        if (client != at) window_->setGeometry(QRect(client, window_->size()));
    }

    QWidget* window_;
    std::optional<QPoint> wanted_;
    bool settling_ = false;
};

} // namespace

FramePlace PlaceFrame(QPoint storedFrame, QSize clientSize, QMargins frameMargins, QRect available) {
    const QSize frameSize = clientSize.grownBy(frameMargins);
    const QPoint frame(KeepInside(storedFrame.x(), frameSize.width(), available.left(), available.width()),
                       KeepInside(storedFrame.y(), frameSize.height(), available.top(), available.height()));
    return {frame, frame + QPoint(frameMargins.left(), frameMargins.top())};
}

void KeepTitleBarOnScreen(QWidget* window) {
    new TitleBarKeeper(window);
}

void PlaceFrameAt(QWidget* window, QPoint storedFrame) {
    if (auto* keeper = window->findChild<QObject*>(KeeperName, Qt::FindDirectChildrenOnly))
        static_cast<TitleBarKeeper*>(keeper)->PlaceFrameAt(storedFrame);
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
