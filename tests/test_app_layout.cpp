#include "Harness.h"
#include "TextFits.h"
#include "app/WindowLayout.h"
#include "keyboard/WorkedCall.h"
#include "platform/Twips.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"

#include <QApplication>
#include <QTextEdit>
#include <QStyleFactory>

using Action = ResizeOutcome::Action;
Q_DECLARE_METATYPE(Action)

namespace {

Placement PlaceOf(const ResizeOutcome& outcome, const QString& name) {
    for (const Placement& place : outcome.places)
        if (QString::fromStdString(place.name) == name) return place;
    return {};
}

QColor FaceOf(QWidget* button) {
    return button->grab().toImage().pixelColor(3, 3);
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void tooSmallIsLeftAndBelowTheMinimumSnapsBack_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("minimised");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QSizeF>("snapTo");
        QTest::newRow("first run's 100 x 100") << 100.0 << 100.0 << false << Action::LeaveAlone << QSizeF();
        QTest::newRow("narrower than 500") << 499.0 << 9000.0 << false << Action::LeaveAlone << QSizeF();
        QTest::newRow("minimised") << 9000.0 << 9000.0 << true << Action::LeaveAlone << QSizeF();
        QTest::newRow("both short: height first") << 8000.0 << 6000.0 << false << Action::SnapTo << QSizeF(8000, 6675);
        QTest::newRow("then the width") << 8000.0 << 6675.0 << false << Action::SnapTo << QSizeF(8145, 6675);
        QTest::newRow("at the minimum") << 8145.0 << 6675.0 << false << Action::Place << QSizeF();
    }
    void tooSmallIsLeftAndBelowTheMinimumSnapsBack() {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, minimised);
        QFETCH(Action, action);
        QFETCH(QSizeF, snapTo);
        const ResizeOutcome outcome = ResizeRule(width, height, minimised);
        QCOMPARE(outcome.action, action);
        if (action == Action::SnapTo) QCOMPARE(QSizeF(outcome.width, outcome.height), snapTo);
        QCOMPARE(outcome.places.empty(), action != Action::Place);
    }

    void controlsFollowTheWindowsGrowth_data() {
        QTest::addColumn<double>("dw");
        QTest::addColumn<double>("dh");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("place");
        QTest::newRow("pitch 495, button 445") << 0.0 << 0.0 << "cmdMessages11" << QRectF(5535, 450, 445, 350);
        QTest::newRow("pitch 595, button 545") << 1200.0 << 0.0 << "cmdMessages1" << QRectF(685, 450, 545, 350);
        QTest::newRow("title box on the pitch") << 1200.0 << 0.0 << "txtMsgTitle1" << QRectF(723, 270, 475, 195);
        QTest::newRow("Sent takes 2/3") << 0.0 << 300.0 << "txtSent" << QRectF(60, 1320, 6045, 1805);
        QTest::newRow("Keyboard 1/3") << 900.0 << 300.0 << "txtKeyboard" << QRectF(60, 3440, 8820, 1435);
        QTest::newRow("a half dh goes to even") << 0.0 << 2.5 << "txtSent" << QRectF(60, 1320, 6045, 1605 + 4 / 3.0);
        QTest::newRow("panel at the right") << 900.0 << 900.0 << "panel" << QRectF(7020, 0, 1920, 3510);
        QTest::newRow("speed row 1/8") << 900.0 << 900.0 << "scrSpeed" << QRectF(7620, 352.5, 255, 375);
        QTest::newRow("spacing row dh/2.9") << 0.0 << 900.0 << "scrWordSpace" << QRectF(6750, 1200 + 900 / 2.9, 255, 375);
        QTest::newRow("sidetone row 5/9") << 0.0 << 900.0 << "lblVolume" << QRectF(6210, 3080, 0, 0);
        QTest::newRow("option row in fifths") << 900.0 << 100.0 << "txtRLPaddles" << QRectF(7080, 4720, 1760, 315);
        QTest::newRow("buttons in ninths") << 900.0 << 100.0 << "cmdEnd" << QRectF(2540, 5440, 1615, 495);
        QTest::newRow("hint row") << 1000.0 << 300.0 << "LineAR" << QRectF(6300, 3230, 210, 0);
    }
    void controlsFollowTheWindowsGrowth() {
        QFETCH(double, dw);
        QFETCH(double, dh);
        QFETCH(QString, name);
        QFETCH(QRectF, place);
        const Placement p = PlaceOf(ResizeRule(MinimumOuterWidth + dw, MinimumOuterHeight + dh, false), name);
        // Positions are kept in single precision.
        QCOMPARE(QRectF(p.left, p.top, p.width, p.height),
                 QRectF(float(place.x()), float(place.y()), float(place.width()), float(place.height())));
    }

    void theWindowAppliesTheRule() {
        Harness h;
        ProgCon& w = h.Start();
        w.show();
        w.resize(1200, 900);
        QCoreApplication::processEvents();
        const double dh = std::nearbyint(PixelsToTwips(w.centralWidget()->height()) + 810 - MinimumOuterHeight);
        QCOMPARE(w.txtSent->height(), TwipsToPixels(1605 + 2 * dh / 3));
        QCOMPARE(w.txtKeyboard->height(), TwipsToPixels(1335 + dh / 3));
        QCOMPARE(w.panel->x(), TwipsToPixels(6120 + 1200 * 15 + 120 - MinimumOuterWidth));
        w.close();
    }

    void everyTextFitsAtTheMinimumAndColoursStayFlat_data() {
        QTest::addColumn<QString>("style");
        QTest::newRow("Fusion") << "Fusion";
        QTest::newRow("Windows") << "Windows";
    }
    void everyTextFitsAtTheMinimumAndColoursStayFlat() {
        QFETCH(QString, style);
        QApplication::setStyle(QStyleFactory::create(style));
        Harness h;
        ProgCon& w = h.Start();
        w.show();
        w.resize(1, 1);
        QCoreApplication::processEvents();
        QCOMPARE(FaceOf(w.cmdEnd), QColor(255, 0, 0));
        QCOMPARE(FaceOf(w.cmdTx), QColor(192, 255, 192));
        w.cmdTx->click();
        w.dlgEditKeyer()->SetFeatures({false, false, false, false});
        w.SendKeyerSettings();
        QCOMPARE(CutTexts(&w), QStringList());
        QCOMPARE(static_cast<WrappingButton*>(w.cmdTx)->Caption(), QStringLiteral("Paused\nClick to Transmit"));

        w.mnuEditKeyer->trigger();
        w.cmdCaptureCall->click();
        for (QDialog* dialog : {static_cast<QDialog*>(w.dlgEditKeyer()), static_cast<QDialog*>(w.workedCallEntry->dlgWrkCall())}) {
            QCOMPARE(CutTexts(dialog), QStringList());
            // Placed before the desktop draws its frame, so off by at most the frame's width.
            QVERIFY((dialog->frameGeometry().center() - w.frameGeometry().center()).manhattanLength() <= 4);
        }
        w.close();
    }

    void speedStepsFromTheKeyboard_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("speed");
        QTest::newRow("Page Up") << QList<int>{Qt::Key_PageUp} << 26;
        QTest::newRow("Page Down") << QList<int>{Qt::Key_PageDown} << 24;
        QTest::newRow("Tab to the speed, Up") << QList<int>{Qt::Key_Tab, Qt::Key_Up} << 26;
        QTest::newRow("Tab twice: weight") << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down} << 25;
    }
    void speedStepsFromTheKeyboard() {
        QFETCH(QList<int>, keys);
        QFETCH(int, speed);
        Harness h;
        ProgCon& w = h.Start();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.txtKeyboard->setFocus();
        h.unit.ClearReports();
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
        QCOMPARE(h.unit.settings().speedWpm, speed);
        QCOMPARE(h.unit.reportsOf('S').size(), std::size_t(3));
        QVERIFY(w.txtKeyboard->hasFocus());
        QVERIFY(w.txtKeyboard->toPlainText().isEmpty());
        w.close();
    }
};

QTEST_MAIN(LayoutTest)
#include "test_app_layout.moc"
