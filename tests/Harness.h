#pragma once

#include "FakeShell.h"
#include "FileHelpers.h"
#include "ScriptedPrompts.h"
#include "app/ProgCon.h"
#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"
#include "platform/RichText.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/SettingBox.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <memory>

// The real main window against the unit emulator, a test clock and scripted prompts, in an
// application folder of its own.
struct Harness {
    TestClock clock;
    UnitEmulator unit{clock};
    ScriptedPrompts prompts;
    FakeShell shell;
    QTemporaryDir folder;
    std::unique_ptr<ProgCon> window;

    ProgCon& Start() {
        window = std::make_unique<ProgCon>(PlatformServices{unit, clock, prompts, folder.path(), shell});
        window->StartUp();
        return *window;
    }
    // Starts with a state file that names the profile file given, which holds `profile` unless it is empty.
    ProgCon& StartWith(const QByteArray& fileName, const QByteArray& profile) {
        Write("Operator.INI", "[Operator]\r\nINIFile=" + fileName + "\r\n");
        if (!profile.isEmpty()) Write(QString::fromUtf8(fileName), profile);
        return Start();
    }
    // A control of the window or of one of its dialogs, by the name the program gives it or, without a
    // name, by its type.
    template <typename Control = QWidget> Control* Find(const QString& name = QString()) const {
        Control* found = window->findChild<Control*>(name);
        if (!found)
            qFatal("no %s \"%s\" in the window", Control::staticMetaObject.className(), qPrintable(name));
        return found;
    }
    // Shows the window as a start does and waits until it is the active window.
    bool ShowActive() const {
        window->ShowAsStored();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }
    void Trigger(const QString& action) const { Find<QAction>(action)->trigger(); }
    SettingsPanel* Panel() const { return Find<SettingsPanel>(); }
    QTextEdit* Keyboard() const { return Find<QTextEdit>("txtKeyboard"); }
    // The windows' texts as the program counts them, a line break as CR LF.
    QString KeyboardText() const { return RichText::TextOf(Keyboard()); }
    QString SentText() const { return RichText::TextOf(Find<QTextEdit>("txtSent")); }

    QString Path(const QString& name) const { return folder.filePath(name); }
    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QString& name, const QByteArray& bytes) const { Put(Path(name), bytes); }
    // Any use of a closed or unknown handle fails the test that caused it.
    ~Harness() {
        window.reset();
        if (!unit.misuse().empty())
            QTest::qFail(("unit misuse: " + unit.misuse().front()).c_str(), __FILE__, __LINE__);
    }
};

// The code bytes of the "C" commands written so far.
inline std::vector<std::uint8_t> Codes(const UnitEmulator& unit) {
    std::vector<std::uint8_t> codes;
    for (const KeyerReport& report : unit.reportsOf('C'))
        codes.push_back(report.bytes[2]);
    return codes;
}

inline QColor Background(QWidget* widget) {
    return widget->palette().color(QPalette::Base);
}

inline void ClickUp(UpDown* control) {
    QTest::mouseClick(control->upButton(), Qt::LeftButton);
}

// Turns the mouse wheel over a control by notches, up positive, with the keys held.
inline void Wheel(QWidget* control, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF centre = QRectF(control->rect()).center();
    QWheelEvent wheel(centre, control->mapToGlobal(centre), QPoint(),
                      QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(control, &wheel);
}

// What the unit decoded: speed, weight, tone, volume, letter space, word space and keyer features.
inline QString Decoded(const UnitEmulator& unit) {
    const DecodedSettings& s = unit.settings();
    return QString::asprintf("%d %d %d %d %g %g %d", s.speedWpm, s.weightPercent, s.toneHz, s.volume,
                             s.letterSpace, s.wordSpace, int(s.keyerFeatures));
}
