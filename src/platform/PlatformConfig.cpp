#include "platform/PlatformConfig.h"

#include "platform/IniFile.h"
#include "util/AnsiText.h"

#include <QDir>
#include <QFileInfo>

namespace kelvor {

std::string PlatformConfig::deviceForPort(int port) const {
    if (const auto found = portDevices.find(port); found != portDevices.end()) {
        return found->second;
    }
    return defaultDeviceForPort(port);
}

namespace {

std::string pdfKey(int channel) {
    return "Channel" + std::to_string(channel + 1);
}

} // namespace

PlatformConfig readPlatformConfig(const std::string& iniPath) {
    PlatformConfig config;
    // An empty value counts as not set: it names no device and no folder.
    const auto valueOf = [&](const char* section, const std::string& key) {
        return utf8FromUtf8OrWindows1252(findProfileString(section, key, iniPath).value_or(""));
    };
    for (int port = 1; port <= ConfigurablePortCount; ++port) {
        if (auto device = valueOf("KelvorReaderPorts", "Com" + std::to_string(port));
            !device.empty()) {
            config.portDevices.emplace(port, std::move(device));
        }
    }
    for (int channel = 0; channel < PdfChannelCount; ++channel) {
        config.pdfOfEachTest[static_cast<std::size_t>(channel)] =
            valueOf("KelvorReaderPdf", pdfKey(channel)) == "1";
    }
    // A relative folder is taken from the settings file's folder, not from wherever the
    // program happens to be started.
    const QDir settingsFolder = QFileInfo(QString::fromStdString(iniPath)).absoluteDir();
    const std::string folder = valueOf("KelvorReaderWorkbooks", "Folder");
    const QString chosen =
        folder.empty() ? QStringLiteral("Workbooks") : QString::fromStdString(folder);
    // In the system's own spelling: on Windows the log and the boxes then name files with
    // backslashes throughout, not half and half.
    config.workbookFolder =
        QDir::toNativeSeparators(QDir::cleanPath(settingsFolder.absoluteFilePath(chosen)))
            .toStdString();
    config.spreadsheetValue = valueOf("KelvorReaderSpreadsheet", "Application");
    config.spreadsheet = parseSpreadsheetChoice(config.spreadsheetValue);
    return config;
}

SpreadsheetChoice parseSpreadsheetChoice(const std::string& value) {
    const QString v = QString::fromStdString(value).trimmed();
    if (v.compare(QLatin1String("Excel"), Qt::CaseInsensitive) == 0) {
        return SpreadsheetChoice::Excel;
    }
    if (v.compare(QLatin1String("Built-in"), Qt::CaseInsensitive) == 0) {
        return SpreadsheetChoice::Builtin;
    }
    return SpreadsheetChoice::Automatic;
}

std::map<int, std::string> chosenPortDevices(const std::map<int, std::string>& devices) {
    std::map<int, std::string> chosen;
    for (const auto& [port, device] : devices) {
        if (port >= 1 && port <= ConfigurablePortCount && !device.empty() &&
            device != defaultDeviceForPort(port)) {
            chosen.emplace(port, device);
        }
    }
    return chosen;
}

bool writePortDevices(const std::map<int, std::string>& devices, const std::string& iniPath) {
    const auto chosen = chosenPortDevices(devices);
    bool allWritten = true;
    for (int port = 1; port <= ConfigurablePortCount; ++port) {
        const std::string key = "Com" + std::to_string(port);
        const auto found = chosen.find(port);
        allWritten = (found == chosen.end()
                          ? deleteProfileString("KelvorReaderPorts", key, iniPath)
                          : writeProfileString("KelvorReaderPorts", key, found->second, iniPath)) &&
                     allWritten;
    }
    return allWritten;
}

bool writePdfOfEachTest(int channel, bool on, const std::string& iniPath) {
    if (channel < 0 || channel >= PdfChannelCount) {
        return false;
    }
    return writeProfileString("KelvorReaderPdf", pdfKey(channel), on ? "1" : "0", iniPath);
}

} // namespace kelvor
