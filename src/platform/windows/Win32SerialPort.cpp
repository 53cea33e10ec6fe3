#include "platform/windows/Win32SerialPort.h"

#include "platform/LineSettings.h"
#include "util/PathText.h"

#include <windows.h>

#include <climits>
#include <utility>

namespace kelvor {
namespace {

// What the driver may hold between two poll ticks; far more than 9600 baud brings in the
// longest export.
constexpr DWORD ReceiveBufferBytes = 65536;
constexpr DWORD ReadChunkBytes = 16384;

// The system's own wording of an error, in the user's language, without the line break.
std::string systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr,
                                             0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), size,
                            nullptr, nullptr);
    }
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "system error " + std::to_string(error) : text;
}

// COM10 and above open only by their device name; the same name serves COM1 to COM9.
std::string devicePath(const std::string& device) {
    const bool bareComName = device.size() > 3 && _strnicmp(device.c_str(), "COM", 3) == 0;
    return bareComName ? "\\\\.\\" + device : device;
}

BYTE parityOf(char letter) {
    switch (letter) {
    case 'E':
        return EVENPARITY;
    case 'O':
        return ODDPARITY;
    case 'M':
        return MARKPARITY;
    case 'S':
        return SPACEPARITY;
    default:
        return NOPARITY;
    }
}

BYTE stopBitsOf(double stopBits) {
    return stopBits == 2 ? TWOSTOPBITS : stopBits == 1.5 ? ONE5STOPBITS : ONESTOPBIT;
}

// The line as the control sets it: settings text and handshaking (0 none, 1 XON/XOFF,
// 2 RTS/CTS, 3 both); reads return at once with whatever has arrived.
bool setUpLine(HANDLE port, const LineSettings& line, int handshaking) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) {
        return false;
    }
    const bool hardware = handshaking == 2 || handshaking == 3;
    const bool software = handshaking == 1 || handshaking == 3;
    dcb.BaudRate = static_cast<DWORD>(line.baudRate);
    dcb.ByteSize = static_cast<BYTE>(line.dataBits);
    dcb.Parity = parityOf(line.parity);
    dcb.StopBits = stopBitsOf(line.stopBits);
    dcb.fBinary = TRUE;
    dcb.fParity = line.parity != 'N';
    dcb.fOutxCtsFlow = hardware;
    dcb.fRtsControl = hardware ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = software;
    dcb.fInX = software;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    SetupComm(port, ReceiveBufferBytes, 4096); // a hint; a driver may keep its own size
    return SetCommState(port, &dcb) && SetCommTimeouts(port, &timeouts);
}

} // namespace

Win32SerialPort::Win32SerialPort(DeviceForPort deviceForPort)
    : NumberedSerialPort(std::move(deviceForPort)) {}

Win32SerialPort::~Win32SerialPort() {
    close();
}

void Win32SerialPort::open() {
    if (handle_ != nullptr) {
        return; // opening a port that is open already changes nothing
    }
    const std::string device = this->device();
    const HANDLE port =
        CreateFileW(pathFromUtf8(devicePath(device)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const std::string why = " (" + device + ": " + systemMessage(error) + ")";
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_INVALID_NAME || error == ERROR_BAD_PATHNAME) {
            throw CommError(ErrInvalidPortNumber, "Invalid Port Number" + why);
        }
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
            throw CommError(ErrPortAlreadyOpen, "Port already open" + why);
        }
        throw CommError(ErrPortNotAvailable, "The port is not available" + why);
    }
    if (GetFileType(port) != FILE_TYPE_CHAR || !setUpLine(port, lineSettings(), handshaking())) {
        const DWORD error = GetLastError();
        CloseHandle(port);
        throw CommError(ErrPortNotAvailable, "The port is not available (" + device +
                                                 " is not a serial port: " + systemMessage(error) +
                                                 ")");
    }
    handle_ = port;
    device_ = device;
    pending_.clear();
}

void Win32SerialPort::close() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
    pending_.clear();
}

void Win32SerialPort::setPortOpen(bool open) {
    if (open) {
        this->open();
    } else {
        close();
    }
}

bool Win32SerialPort::portOpen() const {
    return handle_ != nullptr;
}

void Win32SerialPort::failIfClosed() const {
    if (handle_ == nullptr) {
        throw CommError(ErrPortNotOpen, "Port is not open");
    }
}

// The device went away (an adapter pulled out, a driver gone): the handle is let go, and
// the port reads closed until it is opened again.
void Win32SerialPort::lose(unsigned long error) {
    const std::string why = "The device was removed (" + device_ + ": " +
                            systemMessage(static_cast<DWORD>(error)) + ")";
    close();
    throw CommError(ErrPortNotAvailable, why);
}

void Win32SerialPort::takeWaiting() {
    failIfClosed();
    const HANDLE port = static_cast<HANDLE>(handle_);
    DWORD lineErrors = 0;
    COMSTAT status{};
    if (!ClearCommError(port, &lineErrors, &status)) {
        lose(GetLastError());
    }
    // A read returns at once with what is there, so it is made even when the driver counts
    // nothing: it is how a device that vanished shows itself on every system.
    DWORD want = status.cbInQue;
    do {
        std::string chunk(want > 0 ? std::min(want, ReadChunkBytes) : 1, '\0');
        DWORD got = 0;
        if (!ReadFile(port, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
            lose(GetLastError());
        }
        pending_.append(chunk.data(), got);
        if (got == 0) {
            break;
        }
        want = want > got ? want - got : 0;
    } while (want > 0);
}

int Win32SerialPort::inBufferCount() {
    takeWaiting();
    return pending_.size() > INT_MAX ? INT_MAX : static_cast<int>(pending_.size());
}

std::string Win32SerialPort::input() {
    takeWaiting();
    return std::exchange(pending_, {});
}

} // namespace kelvor
