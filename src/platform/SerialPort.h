#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kelvor {

// A failure of the serial layer, numbered like the serial control it stands in for
// (8002 invalid port number, 8005 port already open, 8010 port not available, 6 overflow).
class CommError : public std::runtime_error {
public:
    CommError(int number, const std::string& description)
        : std::runtime_error(description), number_(number), description_(description) {}
    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

// One serial line, receive only, shaped after the properties the program sets and reads.
// Setters apply on the next open. Failures throw CommError.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    virtual void setCommPort(std::int16_t port) = 0;
    virtual void setSettings(const std::string& settings) = 0; // "9600,N,8,1"
    virtual void setHandshaking(int mode) = 0;                 // 2 = RTS/CTS
    virtual void setPortOpen(bool open) = 0;
    virtual bool portOpen() const = 0;
    virtual int inBufferCount() = 0;
    // Every waiting byte, one character a byte, removed from the buffer.
    virtual std::string input() = 0;
};

} // namespace kelvor
