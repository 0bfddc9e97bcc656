#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <cstddef>
#include <cstdint>

// The log of the link to the unit: every device found, opened and closed, every report written and
// read, every failure with the HID library's reason, and the link's choices. Off unless
// QT_LOGGING_RULES="tandrel.link.debug=true" or --debug-link turns it on; while it is off a log call
// costs one check and formats nothing.
Q_DECLARE_LOGGING_CATEGORY(linkLog)

// Turns the log on when asked and, once it is on by either means, starts each message with the time
// of day to the millisecond.
void SetUpLinkLog(bool turnOn);

// Bytes as the log shows them: two lower-case hex digits each, separated by blanks.
QByteArray HexBytes(const std::uint8_t* data, std::size_t count);
