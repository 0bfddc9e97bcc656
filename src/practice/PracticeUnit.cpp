#include "practice/PracticeUnit.h"

#include "emulator/Sidetone.h"

#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMutex>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Short enough that a character sounds as it is sent, long enough to ride out a busy window. Every
// character sounds this long after it arrives.
constexpr qint64 BufferMicroseconds = 100'000;

} // namespace

// The sidetone as an endless stream for the audio output to pull from: silence fills the time between
// characters. The audio output may read from a thread of its own, so the sidetone is locked.
class SidetoneStream : public QIODevice {
public:
    explicit SidetoneStream(int sampleRate) : sampleRate_(sampleRate), sidetone_(sampleRate) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    // The command starts sounding the given time after the samples fetched so far.
    void Hear(const KeyerCommand& command, const DecodedSettings& settings, double delayMilliseconds) {
        QMutexLocker lock(&mutex_);
        sidetone_.Hear(command, settings, delayMilliseconds);
    }
    // How much sound the output has fetched since it started.
    qint64 FetchedMicroseconds() {
        QMutexLocker lock(&mutex_);
        return fetchedSamples_ * 1'000'000 / sampleRate_;
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        std::vector<std::int16_t> samples(static_cast<std::size_t>(maxSize) / sizeof(std::int16_t));
        {
            QMutexLocker lock(&mutex_);
            sidetone_.Render(samples);
            fetchedSamples_ += static_cast<qint64>(samples.size());
        }
        const std::size_t bytes = samples.size() * sizeof(std::int16_t);
        std::memcpy(data, samples.data(), bytes);
        return static_cast<qint64>(bytes);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const int sampleRate_;
    QMutex mutex_;
    Sidetone sidetone_;
    qint64 fetchedSamples_ = 0;
};

PracticeUnit::PracticeUnit(Clock& clock) : UnitEmulator(clock) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(device.preferredFormat().sampleRate());
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) return;

    stream_ = std::make_unique<SidetoneStream>(format.sampleRate());
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setBufferSize(format.bytesForDuration(BufferMicroseconds));
    sink_->start(stream_.get());
    if (sink_->error() != QAudio::NoError) {
        sink_.reset();
        stream_.reset();
    }
}

PracticeUnit::~PracticeUnit() = default;

int PracticeUnit::Write(Handle handle, const std::uint8_t* data, std::size_t length) {
    const int written = UnitEmulator::Write(handle, data, length);
    KeyerCommand command;
    if (stream_ && written > 0 && length > command.size()) {
        std::copy_n(data + 1, command.size(), command.begin());
        // Each command sounds one buffer's time after the output's playing position, wherever the
        // output's fetching stands; an output that fell behind delays it by no more than that.
        const qint64 fetchedAhead = stream_->FetchedMicroseconds() - sink_->processedUSecs();
        const qint64 delay = std::clamp<qint64>(BufferMicroseconds - fetchedAhead, 0, BufferMicroseconds);
        stream_->Hear(command, settings(), static_cast<double>(delay) / 1000);
    }
    return written;
}
