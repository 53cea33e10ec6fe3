#include "FdLine.h"

#include <windows.h>

#include <io.h>

#include <algorithm>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <utility>

// Replaces FdLinePosix.cpp in a Windows build: a COM port (or a file) by its path, no
// pseudo-terminals. The descriptor is the C runtime's, over the port's handle.
namespace kelvor {

namespace {

[[noreturn]] void throwLastError(const std::string& what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

std::wstring wide(const std::string& utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
    return out;
}

// 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control; a write takes what fits
// within a few milliseconds and returns, as a non-blocking write would.
void setUpPort(HANDLE port, const std::string& what) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) {
        throwLastError(what);
    }
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = 20;
    if (!SetCommState(port, &dcb) || !SetCommTimeouts(port, &timeouts)) {
        throwLastError(what);
    }
}

} // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::_close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) {
        ::_close(fd_);
    }
}

FdLine::FdLine(UniqueFd out, UniqueFd keepAlive, std::string path)
    : out_(std::move(out)), keepAlive_(std::move(keepAlive)), path_(std::move(path)) {}

FdLine FdLine::openPty(const std::function<bool(const std::string&)>&) {
    throw std::runtime_error("there are no pseudo-terminals on Windows: play onto a serial port "
                             "with --device COM3 (a null-modem pair links it to the reader)");
}

FdLine FdLine::openPty() {
    return openPty({});
}

FdLine FdLine::openDevice(const std::string& path) {
    // COM10 and above open only by their device name; it serves COM1 to COM9 as well.
    const bool comPort = path.size() > 3 && _strnicmp(path.c_str(), "COM", 3) == 0;
    const std::wstring name = wide(comPort ? "\\\\.\\" + path : path);
    // Read-write even though only writes are made: Wine refuses the line settings of a port
    // opened for writing alone.
    const HANDLE handle =
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    comPort ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throwLastError("cannot open " + path);
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_RDWR);
    if (fd < 0) {
        CloseHandle(handle);
        throw std::runtime_error("cannot open " + path);
    }
    UniqueFd line(fd);
    if (GetFileType(handle) == FILE_TYPE_CHAR) {
        setUpPort(handle, "cannot set up " + path);
    }
    return FdLine(std::move(line), UniqueFd(), path);
}

std::size_t FdLine::writeSome(std::string_view bytes) {
    if (bytes.empty()) {
        return 0;
    }
    DWORD written = 0;
    const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 20));
    if (!WriteFile(handleOf(out_.get()), bytes.data(), size, &written, nullptr)) {
        throwLastError("cannot write to " + path_);
    }
    return written;
}

bool FdLine::waitWritable(std::chrono::milliseconds) {
    return true; // a write itself waits its few milliseconds for room
}

std::size_t FdLine::unreadBytes() const {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handleOf(out_.get()), &errors, &status)) {
        return 0; // not a port: nothing waits
    }
    return status.cbOutQue;
}

} // namespace kelvor
