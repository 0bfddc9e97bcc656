#include "Harness.h"
#include "TextFits.h"
#include "app/WindowLayout.h"
#include "keyboard/WorkedCall.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

#include <QAccessible>
#include <QStyleFactory>

using Action = ResizeOutcome::Action;

namespace {

// Shown, enabled controls whose text does not stand out from what it is drawn on (a box or button
// paints its own background, anything else is drawn on the nearest control that fills one), and
// controls the operator works that have no name for a screen reader to speak.
QStringList UnreadableOrUnnamed() {
    QStringList found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!control->isVisible()) continue;
            const QString name = control->objectName() + u'/' + control->metaObject()->className();
            const bool box = qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractScrollArea*>(control);
            const bool button = qobject_cast<QPushButton*>(control) || qobject_cast<QToolButton*>(control);
            QWidget* under = control;
            while (!box && !button && !under->isWindow() && !under->autoFillBackground())
                under = under->parentWidget();
            const auto [text, background] = box      ? std::pair{QPalette::Text, QPalette::Base}
                                            : button ? std::pair{QPalette::ButtonText, QPalette::Button}
                                                     : std::pair{QPalette::WindowText, QPalette::Window};
            if (control->isEnabled() &&
                ContrastRatio(control->palette().color(text), under->palette().color(background)) < 4.5)
                found << name + " is hard to read";
            const bool worked = control->focusPolicy() != Qt::NoFocus || button;
            if (worked && QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
                found << name + " has no name";
        }
    }
    return found;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void tooSmallIsLeftAndBelowTheMinimumSnapsBack() {
        struct Row {
            double width, height;
            bool minimised;
            Action action;
            QSizeF snapTo;
        };
        for (const Row& row : {Row{100, 100, false, Action::LeaveAlone, {0, 0}}, // a first run's geometry
                               Row{499, 9000, false, Action::LeaveAlone, {0, 0}},
                               Row{9000, 9000, true, Action::LeaveAlone, {0, 0}},
                               Row{8000, 6000, false, Action::SnapTo, {8000, 6675}}, // height first,
                               Row{8000, 6675, false, Action::SnapTo, {8145, 6675}}, // then the width
                               Row{8145, 6675, false, Action::Place, {0, 0}}}) {
            const ResizeOutcome outcome = ResizeRule(row.width, row.height, row.minimised);
            QCOMPARE(outcome.action, row.action);
            QCOMPARE(QSizeF(outcome.width, outcome.height), row.snapTo);
        }
    }

    // The frame goes where it was stored, moved just onto the available area; the client area sits
    // inside it by the margins the window manager reports (none before it has framed the window).
    void theFrameIsPlacedOnTheScreen() {
        const QRect screen(0, 0, 1280, 1024);
        const QMargins ob(1, 20, 1, 5); // openbox's
        const QSize size(500, 400);
        QCOMPARE(PlaceFrame({7, 7}, size, ob, screen), (FramePlace{{7, 7}, {8, 27}})); // a first start
        QCOMPARE(PlaceFrame({-50, -13}, size, ob, screen), (FramePlace{{0, 0}, {1, 20}}));
        QCOMPARE(PlaceFrame({7, 7}, size, ob, {0, 30, 1280, 994}), (FramePlace{{7, 30}, {8, 50}}));
        QCOMPARE(PlaceFrame({1000, 900}, size, ob, screen), (FramePlace{{778, 599}, {779, 619}}));
        QCOMPARE(PlaceFrame({300, 300}, {1400, 1100}, ob, screen), (FramePlace{{0, 0}, {1, 20}}));
    }

    void controlsFollowTheWindowsGrowth() {
        struct Row {
            double dw, dh;
            const char* name;
            QRectF place;
        };
        for (const Row& row :
             {Row{0, 0, "cmdMessages11", {5535, 450, 445, 350}},        // pitch 495
              Row{1200, 0, "cmdMessages1", {685, 450, 545, 350}},       // pitch 595
              Row{0, 300, "txtSent", {60, 1320, 6045, 1805}},           // 2/3 of the height
              Row{900, 300, "txtKeyboard", {60, 3440, 8820, 1435}},     // 1/3
              Row{0, 2.5, "txtSent", {60, 1320, 6045, 1605 + 4 / 3.0}}, // a half goes to even
              Row{900, 900, "panel", {7020, 0, 1920, 3510}},            // at the right edge
              Row{900, 900, "scrSpeed", {7620, 352.5, 255, 375}},
              Row{0, 900, "scrWordSpace", {6750, 1200 + 900 / 2.9, 255, 375}},
              Row{900, 100, "txtRLPaddles", {7080, 4720, 1760, 315}}, // fifths
              Row{900, 100, "cmdEnd", {2540, 5440, 1615, 495}},       // ninths
              Row{1000, 300, "LineAR", {6300, 3230, 210, 0}}}) {
            const auto places =
                ResizeRule(MinimumOuterWidth + row.dw, MinimumOuterHeight + row.dh, false).places;
            const Placement p = *std::find_if(places.begin(), places.end(),
                                              [&](const Placement& place) { return place.name == row.name; });
            // Positions are kept in single precision.
            const QRectF& e = row.place;
            QCOMPARE(QRectF(p.left, p.top, p.width, p.height),
                     QRectF(float(e.x()), float(e.y()), float(e.width()), float(e.height())));
        }
    }

    // Under a light and a dark desktop palette, every text of the window and its dialogs stands out
    // from what it is drawn on, and every control the operator works has a name.
    void textsFitAndReadColoursStayFlatAndTheWindowFollowsItsSize() {
        const QPalette desktop = QApplication::palette();
        for (const auto& [style, palette] :
             {std::pair{"Fusion", desktop}, std::pair{"Windows", QPalette(QColor(53, 53, 53))}}) {
            QApplication::setStyle(QStyleFactory::create(QString::fromLatin1(style)));
            QApplication::setPalette(palette);
            Harness h;
            ProgCon& w = h.Start();
            w.show();
            w.resize(1, 1);
            QCoreApplication::processEvents();
            auto* transmit = h.Find<WrappingButton>("cmdTx");
            QCOMPARE(h.Find("cmdEnd")->grab().toImage().pixelColor(3, 3), QColor(255, 0, 0));
            QCOMPARE(transmit->grab().toImage().pixelColor(3, 3), QColor(192, 255, 192));
            transmit->click();
            // The widest captions: paused, and every paddle feature off.
            h.Trigger("mnuEditKeyer");
            auto* features = h.Find<KeyerFeaturesDialog>();
            features->SetFeatures({false, false, false, false});
            features->OKButton->click();
            QCOMPARE(CutTexts(&w), QStringList());
            QCOMPARE(transmit->Caption(), QStringLiteral("Paused\nClick to Transmit"));

            h.Trigger("mnuEditKeyer");
            h.Find<QPushButton>("cmdCaptureCall")->click();
            for (QDialog* dialog : std::initializer_list<QDialog*>{features, h.Find<WorkedCallDialog>()}) {
                QCOMPARE(CutTexts(dialog), QStringList());
                // Placed before the desktop draws its frame, so off by at most the frame's width.
                QVERIFY((dialog->frameGeometry().center() - w.frameGeometry().center()).manhattanLength() <=
                        4);
            }
            QCOMPARE(UnreadableOrUnnamed(), QStringList());
            w.resize(1200, 900);
            QCoreApplication::processEvents();
            const double dh =
                std::nearbyint(PixelsToTwips(w.centralWidget()->height()) + 810 - MinimumOuterHeight);
            QCOMPARE(h.Find("txtSent")->height(), TwipsToPixels(1605 + 2 * dh / 3));
            QCOMPARE(h.Keyboard()->height(), TwipsToPixels(1335 + dh / 3));
            QCOMPARE(h.Panel()->x(), TwipsToPixels(6120 + 1200 * 15 + 120 - MinimumOuterWidth));
            w.close();
        }
        QApplication::setPalette(desktop);
    }

    void speedStepsFromTheKeyboard() {
        struct Row {
            QList<Qt::Key> keys;
            int speed;
        };
        for (const Row& row :
             {Row{{Qt::Key_PageUp}, 26}, Row{{Qt::Key_PageDown}, 24}, Row{{Qt::Key_Tab, Qt::Key_Up}, 26}}) {
            Harness h;
            ProgCon& w = h.Start();
            QVERIFY(h.ShowActive());
            QTextEdit* keyboard = h.Keyboard();
            h.unit.ClearReports();
            for (Qt::Key key : row.keys)
                QTest::keyClick(QApplication::focusWidget(), key);
            // Once to the unit, and the focus back in the Keyboard window, where nothing was typed.
            QCOMPARE(h.unit.settings().speedWpm, row.speed);
            QCOMPARE(h.unit.reportsOf('S').size(), std::size_t(3));
            QVERIFY(keyboard->hasFocus() && keyboard->toPlainText().isEmpty());
            w.close();
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "test_app_layout.moc"
