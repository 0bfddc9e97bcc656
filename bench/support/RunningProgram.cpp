#include "RunningProgram.h"

#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

double MillisecondsBetween(SteadyClock::time_point from, SteadyClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

int RecordingPort::Write(Handle handle, const std::uint8_t* data, std::size_t length) {
    if (length > 2 && data[1] == 'C') Record({SteadyClock::now(), data[2]});
    return unit_.Write(handle, data, length);
}

std::vector<CharacterCommand> RecordingPort::Commands() const {
    const std::scoped_lock lock(mutex_);
    return commands_;
}

std::size_t RecordingPort::Count() const {
    const std::scoped_lock lock(mutex_);
    return commands_.size();
}

void RecordingPort::Clear() {
    const std::scoped_lock lock(mutex_);
    commands_.clear();
}

bool RecordingPort::RunUntil(std::size_t count, std::chrono::milliseconds timeout) {
    QEventLoop events;
    {
        const std::scoped_lock lock(mutex_);
        if (commands_.size() >= count) return true;
        waiting_ = &events;
        awaited_ = count;
    }
    QTimer::singleShot(timeout, &events, &QEventLoop::quit);
    events.exec();
    const std::scoped_lock lock(mutex_);
    waiting_ = nullptr;
    return commands_.size() >= count;
}

void RecordingPort::Record(const CharacterCommand& command) {
    const std::scoped_lock lock(mutex_);
    commands_.push_back(command);
    if (waiting_ && commands_.size() >= awaited_)
        QMetaObject::invokeMethod(waiting_, &QEventLoop::quit, Qt::QueuedConnection);
}

void RunEventsFor(std::chrono::milliseconds duration) {
    QEventLoop events;
    QTimer::singleShot(duration, Qt::PreciseTimer, &events, &QEventLoop::quit);
    events.exec();
}

RunningProgram::RunningProgram() {
    window.StartUp();
    window.show();
}

QTextEdit* RunningProgram::Keyboard() const {
    return window.findChild<QTextEdit*>(QStringLiteral("txtKeyboard"));
}

QTextEdit* RunningProgram::Sent() const {
    return window.findChild<QTextEdit*>(QStringLiteral("txtSent"));
}

void RunningProgram::Click(const char* button) const {
    window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}
