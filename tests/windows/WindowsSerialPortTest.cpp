// The Win32 serial port's answers when a port cannot be used: the numbers and descriptions the
// "Communication Error: " box shows. Reading a live line is tested against the real reader on
// COM ports linked to pseudo-terminals (tests/wine).
#include "TestFiles.h"

#include "platform/windows/Win32SerialPort.h"
#include "util/PathText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvor::test {
namespace {

namespace fs = std::filesystem;

int openFailure(Win32SerialPort& port, std::string& description) {
    try {
        port.setPortOpen(true);
    } catch (const CommError& error) {
        description = error.description();
        return error.number();
    }
    return 0;
}

TEST(WindowsSerialPort, AMissingPortIsAnInvalidPortNumberNamingTheDevice) {
    Win32SerialPort port([](int n) { return "COM" + std::to_string(n); });
    port.setCommPort(87);
    std::string description;
    EXPECT_EQ(openFailure(port, description), 8002);
    EXPECT_EQ(description.rfind("Invalid Port Number (COM87: ", 0), 0U) << description;
    EXPECT_FALSE(port.portOpen());

    Win32SerialPort unnamed([](int) { return std::string(); });
    EXPECT_EQ(openFailure(unnamed, description), 8002);
    EXPECT_EQ(description, "Invalid Port Number");
}

TEST(WindowsSerialPort, AFileThatIsNoSerialPortIsRefusedAndLetGo) {
    const TempDir folder;
    const fs::path file = folder.path() / "not-a-port.txt";
    writeBytes(file, "text");
    Win32SerialPort port([&file](int) { return utf8Of(file); });
    std::string description;
    EXPECT_EQ(openFailure(port, description), 8010);
    EXPECT_NE(description.find("is not a serial port"), std::string::npos) << description;
    EXPECT_FALSE(port.portOpen());
    // The handle was closed: the file can go.
    EXPECT_TRUE(fs::remove(file));
}

TEST(WindowsSerialPort, RefusesBadPropertiesAndReadsOfAClosedPort) {
    Win32SerialPort port([](int n) { return "COM" + std::to_string(n); });
    EXPECT_THROW(port.setCommPort(0), CommError);
    EXPECT_THROW(port.setHandshaking(4), CommError);
    EXPECT_THROW(port.setSettings("9600,X,8,1"), CommError);
    try {
        port.inBufferCount();
        ADD_FAILURE() << "a closed port was read";
    } catch (const CommError& error) {
        EXPECT_EQ(error.number(), 8012);
    }
    EXPECT_THROW(port.input(), CommError);
}

} // namespace
} // namespace kelvor::test
