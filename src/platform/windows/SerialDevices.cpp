#include "platform/SerialDevices.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <climits>

namespace kelvor {
namespace {

// The number of a "COMn" name, so that COM2 comes before COM10; others go last.
int comNumber(const std::string& name) {
    int number = INT_MAX;
    if (name.size() > 3 && (name.compare(0, 3, "COM") == 0)) {
        std::from_chars(name.data() + 3, name.data() + name.size(), number);
    }
    return number;
}

} // namespace

// Replaces posix/SerialDevices.cpp in a Windows build. The system lists its serial ports in
// HARDWARE\DEVICEMAP\SERIALCOMM: each value is a port's COM name, its value name the driver's
// device behind it. COM names stay with their adapter already: Windows remembers them per
// adapter.
std::vector<SerialDevice> presentSerialDevices() {
    std::vector<SerialDevice> devices;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return devices;
    }
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        DWORD valueNameSize = sizeof valueName;
        BYTE data[256];
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        const LONG result =
            RegEnumValueA(key, index, valueName, &valueNameSize, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        data[dataSize] = 0;
        // The stored text may or may not carry its terminating zero.
        const std::string port(reinterpret_cast<const char*>(data));
        if (!port.empty()) {
            devices.push_back({port, port + " (" + std::string(valueName, valueNameSize) + ")"});
        }
    }
    RegCloseKey(key);
    std::ranges::sort(devices, {}, [](const SerialDevice& d) { return comNumber(d.name); });
    return devices;
}

} // namespace kelvor
