#pragma once

#include <map>
#include <string>

namespace kelvor {

// Settings the platform needs beyond the program's own keys, from two optional sections of
// the settings file:
//   [KelvorReaderPorts]      Com1 ... Com16 = the device behind that port number; the setup
//                            dialog writes it (writePortDevices)
//   [KelvorReaderWorkbooks]  Folder = where the built-in spreadsheet keeps its workbook files;
//                            only ever read
//   [KelvorReaderSpreadsheet] Application = Excel or Built-in: which spreadsheet application
//                            the reports go to (Windows only); only ever read
enum class SpreadsheetChoice {
    Automatic, // the desktop's application when the system has one, else the built-in one
    Excel,
    Builtin,
};

struct PlatformConfig {
    std::map<int, std::string> portDevices;
    std::string workbookFolder;
    SpreadsheetChoice spreadsheet = SpreadsheetChoice::Automatic;
    std::string spreadsheetValue; // as written, for the log when it names neither

    // The device named in the file for the port, else the system's usual one; "" below 1.
    std::string deviceForPort(int port) const;
};

inline constexpr int ConfigurablePortCount = 16;

PlatformConfig readPlatformConfig(const std::string& iniPath);

// "Excel" and "Built-in" in any case, blanks around them ignored; anything else: Automatic.
SpreadsheetChoice parseSpreadsheetChoice(const std::string& value);

// The devices chosen for the port numbers, without those that name the system's usual device
// anyway (a blank name counts as none).
std::map<int, std::string> chosenPortDevices(const std::map<int, std::string>& devices);

// Writes [KelvorReaderPorts]: a key for each port with a device of its own, none for a port on
// its usual device. False when the file refused a change.
bool writePortDevices(const std::map<int, std::string>& devices, const std::string& iniPath);

// The system's usual device for a port number counted from 1 ("" below 1). One definition
// per operating system.
std::string defaultDeviceForPort(int port);

} // namespace kelvor
