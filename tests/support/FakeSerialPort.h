#pragma once

#include "platform/SerialPort.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// A scripted serial line. Setters and open/close are written to `log` in call order;
// reads are counted. Input is whatever the test queued.
class FakeSerialPort : public SerialPort {
public:
    // The next `times` opens throw CommError(number, description).
    void failOpen(int times, int number, const std::string& description);
    void queueInput(const std::string& bytes) { buffer_ += bytes; }
    // The device is gone: the port reads as closed, but (as with a real port whose adapter
    // was pulled) stays held until it is closed; it cannot be opened again until it returns.
    void vanish();
    void reappear() { vanished_ = false; }
    // Whether the port is held open, whatever its line.
    bool held() const { return open_; }
    // The port still reads as open but every read of it fails.
    void breakReads(int number, const std::string& description);

    void setCommPort(std::int16_t port) override;
    void setSettings(const std::string& settings) override;
    void setHandshaking(int mode) override;
    void setPortOpen(bool open) override;
    bool portOpen() const override { return open_ && !vanished_; }
    int inBufferCount() override;
    std::string input() override;

    std::vector<std::string> log;
    int countReads = 0;
    int inputReads = 0;

private:
    bool open_ = false;
    bool vanished_ = false;
    std::string buffer_;
    int openFailures_ = 0;
    std::optional<CommError> openError_;
    std::optional<CommError> readError_;
};

} // namespace kelvor
