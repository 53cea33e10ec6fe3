#pragma once

#include "platform/NumberedSerialPort.h"

#include <string>

namespace kelvor {

// A numbered COM port over Win32, polled: each call of inBufferCount() asks the driver how
// many bytes wait (ClearCommError) and takes them (ReadFile with immediate timeouts). Qt
// Serial Port's event waits never complete under Wine; plain reads work there and on Windows.
// Opened read-write: Wine refuses the line settings on a handle opened for writing only.
class Win32SerialPort final : public NumberedSerialPort {
public:
    explicit Win32SerialPort(DeviceForPort deviceForPort);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    void setPortOpen(bool open) override;
    bool portOpen() const override;
    int inBufferCount() override;
    std::string input() override;

private:
    void open();
    void close();
    void failIfClosed() const;
    // Moves what the driver holds into pending_; a failing call means the device went away.
    void takeWaiting();
    [[noreturn]] void lose(unsigned long error);

    void* handle_ = nullptr; // a HANDLE; nullptr while closed
    std::string device_;
    std::string pending_;
};

} // namespace kelvor
