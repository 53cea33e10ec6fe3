#pragma once

#include "platform/NumberedSerialPort.h"

#include <string>

namespace kelvor {

// A numbered serial port over a POSIX terminal device, polled like the Win32 port: each call
// of inBufferCount() takes what the driver holds. Readers keep out of each other's way with
// an advisory lock on the device (flock), which the system drops when the process ends,
// however it ends; no lock files and no exclusive-use flag are left behind for a next run.
class PosixSerialPort final : public NumberedSerialPort {
public:
    explicit PosixSerialPort(DeviceForPort deviceForPort);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void setPortOpen(bool open) override;
    bool portOpen() const override;
    int inBufferCount() override;
    std::string input() override;

private:
    void open();
    void close();
    // Moves what the driver holds into pending_; notes in gone_ that the device went away.
    void takeWaiting();

    int fd_ = -1;
    std::string device_;
    std::string pending_;
    std::string gone_; // why the device is gone, once what came before it has been read
};

} // namespace kelvor
