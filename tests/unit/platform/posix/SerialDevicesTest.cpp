#include "platform/posix/PosixSerialDevices.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

// A folder tree standing for /dev and /sys.
class SerialDevicesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    fs::path dev = fs::path(dir.path().toStdString()) / "dev";
    fs::path sys = fs::path(dir.path().toStdString()) / "sys";

    void SetUp() override {
        fs::create_directories(dev / "serial" / "by-id");
        fs::create_directories(sys / "class" / "tty");
    }
    void node(const std::string& name) { std::ofstream(dev / name).put('\0'); }
    void byId(const std::string& link, const fs::path& target) {
        fs::create_symlink(target, dev / "serial" / "by-id" / link);
    }
    // A ttyS line whose device in the system folder is `device` (under sys/devices).
    void builtInLine(const std::string& name, const std::string& device) {
        fs::create_directories(sys / "devices" / device);
        fs::create_directories(sys / "class" / "tty" / name);
        fs::create_directory_symlink(fs::path("../../../devices") / device,
                                     sys / "class" / "tty" / name / "device");
    }
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (const SerialDevice& device : serialDevicesUnder(dev, sys)) {
            found.push_back(device.name);
        }
        return found;
    }
};

TEST_F(SerialDevicesTest, StableNamesComeFirstThenAdaptersInNumberOrderThenRealLines) {
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyUSB1", "ttyACM0", "ttyS0", "ttyS1", "ttyS2",
                             "ttyUSB", "ttyUSBx", "tty", "ttyprintk", "console"}) {
        node(name);
    }
    byId("usb-Maker_B_77-if00-port0", "../../ttyUSB10");
    byId("usb-Maker_A_12-if00-port0", dev / "ttyUSB1"); // absolute links lead there too
    byId("usb-Unplugged-if00-port0", "../../ttyUSB9");  // its device went with the adapter
    builtInLine("ttyS1", "pnp0/00:01");
    builtInLine("ttyS2", "platform/serial8250"); // kept in reserve, nothing behind it
    // ttyS0 has no device at all.

    const std::string by = (dev / "serial" / "by-id").string() + "/";
    const std::string d = dev.string() + "/";
    EXPECT_EQ(names(), (std::vector<std::string>{by + "usb-Maker_A_12-if00-port0",
                                                 by + "usb-Maker_B_77-if00-port0", d + "ttyUSB1",
                                                 d + "ttyUSB2", d + "ttyUSB10", d + "ttyACM0",
                                                 d + "ttyS1"}));
    const auto devices = serialDevicesUnder(dev, sys);
    EXPECT_EQ(devices[0].label, by + "usb-Maker_A_12-if00-port0 (ttyUSB1)");
    EXPECT_EQ(devices[1].label, by + "usb-Maker_B_77-if00-port0 (ttyUSB10)");
    EXPECT_EQ(devices[2].label, d + "ttyUSB1");
}

TEST_F(SerialDevicesTest, MissingFoldersListNothing) {
    fs::remove_all(dev / "serial");
    EXPECT_TRUE(names().empty());
    EXPECT_TRUE(serialDevicesUnder(dev / "absent", sys / "absent").empty());
}

} // namespace
} // namespace kelvor
