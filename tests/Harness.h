#pragma once

#include "FakeShell.h"
#include "ScriptedPrompts.h"
#include "app/ProgCon.h"
#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
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

    ProgCon& Create() {
        window = std::make_unique<ProgCon>(PlatformServices{unit, clock, prompts, folder.path(), shell});
        return *window;
    }
    ProgCon& Start() {
        Create().StartUp();
        return *window;
    }
    QString Path(const QString& name) const { return folder.filePath(name); }
    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Any use of a closed or unknown handle fails the test that caused it.
    ~Harness() {
        window.reset();
        if (!unit.misuse().empty())
            QTest::qFail(("unit misuse: " + unit.misuse().front()).c_str(), __FILE__, __LINE__);
    }
};

// The three settings blocks most recently written, as hexadecimal text "53 00 EE ..." each.
inline QStringList LastSettingsBlocks(const UnitEmulator& unit) {
    const auto blocks = unit.reportsOf('S');
    QStringList texts;
    for (auto it = blocks.end() - std::min<std::ptrdiff_t>(3, blocks.size()); it != blocks.end(); ++it) {
        QByteArray bytes(reinterpret_cast<const char*>(it->bytes.data()) + 1, 8);
        texts << QString::fromLatin1(bytes.toHex(' ').toUpper());
    }
    return texts;
}

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
