#pragma once

#include <map>
#include <string>

namespace kelvor {

// Settings the platform needs beyond the program's own keys, from two optional sections of
// the settings file that the program reads but never writes:
//   [KelvorReaderPorts]      Com1 ... Com16 = the device behind that port number
//   [KelvorReaderWorkbooks]  Folder = where the built-in spreadsheet keeps its workbook files
struct PlatformConfig {
    std::map<int, std::string> portDevices;
    std::string workbookFolder;

    // The device named in the file for the port, else the system's usual one; "" below 1.
    std::string deviceForPort(int port) const;
};

inline constexpr int ConfigurablePortCount = 16;

PlatformConfig readPlatformConfig(const std::string& iniPath);

// The system's usual device for a port number counted from 1 ("" below 1). One definition
// per operating system.
std::string defaultDeviceForPort(int port);

} // namespace kelvor
