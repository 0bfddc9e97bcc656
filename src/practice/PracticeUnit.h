#pragma once

#include "emulator/UnitEmulator.h"

#include <memory>

class QAudioSink;
class SidetoneStream;

// The software unit for practice without the hardware: it takes the program's commands as the real
// unit does and plays its sidetone on the computer's default audio output.
class PracticeUnit : public UnitEmulator {
public:
    explicit PracticeUnit(Clock& clock);
    ~PracticeUnit() override;

    int Write(Handle handle, const std::uint8_t* data, std::size_t length) override;
    // False when there is no audio output: the unit then works in silence.
    bool HasSound() const { return stream_ != nullptr; }

private:
    std::unique_ptr<SidetoneStream> stream_;
    std::unique_ptr<QAudioSink> sink_;
};
