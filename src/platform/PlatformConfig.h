#pragma once

#include <array>
#include <map>
#include <string>

namespace kelvor {

// Settings the platform needs beyond the program's own keys, from optional sections of the
// settings file:
//   [KelvorReaderPorts]      Com1 ... Com16 = the device behind that port number; the setup
//                            dialog writes it (writePortDevices)
//   [KelvorReaderWorkbooks]  Folder = where the built-in spreadsheet keeps its workbook files;
//                            only ever read
//   [KelvorReaderPdf]        Channel1 ... Channel6 = 1 to save a PDF of each test of that
//                            channel (anything else: not); written when the user switches it
//                            (writePdfOfEachTest)
//   [KelvorReaderSpreadsheet] Application = Excel or Built-in: which spreadsheet application
//                            the reports go to (Windows only); only ever read
inline constexpr int PdfChannelCount = 6;

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
    // Indexed by channel, counted from 0 (the key counts from 1).
    std::array<bool, PdfChannelCount> pdfOfEachTest{};

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

// Writes the one key of [KelvorReaderPdf] for the channel (counted from 0), every other byte of
// the file kept. False when the file refused it or there is no such channel.
bool writePdfOfEachTest(int channel, bool on, const std::string& iniPath);

// The system's usual device for a port number counted from 1 ("" below 1). One definition
// per operating system.
std::string defaultDeviceForPort(int port);

} // namespace kelvor
