#pragma once

#include <QPixmap>
#include <QString>

// The program's title, which captions the message boxes that name no other, and its version, which
// the build takes from the project.
inline QString ApplicationTitle() {
    return QStringLiteral("Tandrel");
}
inline QString ApplicationVersion() {
    return QStringLiteral(TANDREL_VERSION);
}

// The program's icon, drawn from the same picture the desktop shows, at the given size in pixels.
QPixmap ApplicationIcon(int pixels);
