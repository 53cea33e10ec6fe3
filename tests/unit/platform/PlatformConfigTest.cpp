#include "platform/PlatformConfig.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kelvor {
namespace {

class PlatformConfigTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string path = dir.filePath("KelvrReader.ini").toStdString();

    void setContent(const std::string& bytes) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
};

TEST_F(PlatformConfigTest, WithoutTheSectionsTheSystemDefaultsApply) {
    const PlatformConfig config = readPlatformConfig(path);
    EXPECT_TRUE(config.portDevices.empty());
    EXPECT_EQ(config.deviceForPort(1), "/dev/ttyS0");
    EXPECT_EQ(config.deviceForPort(6), "/dev/ttyS5");
    EXPECT_EQ(config.deviceForPort(0), "");
    EXPECT_EQ(config.deviceForPort(-3), "");
    EXPECT_EQ(config.workbookFolder, dir.filePath("Workbooks").toStdString());
}

TEST_F(PlatformConfigTest, SpreadsheetApplicationIsReadAndUnknownValuesLeaveTheChoiceOpen) {
    EXPECT_EQ(readPlatformConfig(path).spreadsheet, SpreadsheetChoice::Automatic);
    setContent("[KelvorReaderSpreadsheet]\nApplication = built-in \n");
    EXPECT_EQ(readPlatformConfig(path).spreadsheet, SpreadsheetChoice::Builtin);
    setContent("[kelvorreaderspreadsheet]\napplication=Excel\n");
    EXPECT_EQ(readPlatformConfig(path).spreadsheet, SpreadsheetChoice::Excel);
    setContent("[KelvorReaderSpreadsheet]\nApplication=Calc\n");
    const PlatformConfig unknown = readPlatformConfig(path);
    EXPECT_EQ(unknown.spreadsheet, SpreadsheetChoice::Automatic);
    EXPECT_EQ(unknown.spreadsheetValue, "Calc"); // for the log to say why
    EXPECT_EQ(parseSpreadsheetChoice("Builtin"), SpreadsheetChoice::Automatic);
}

TEST_F(PlatformConfigTest, ReadsPortDevicesAndFolderUncut) {
    const std::string longDevice = "/dev/serial/by-id/" + std::string(150, 'x');
    setContent("[kelvorreaderports]\ncom1 = /dev/ttyUSB0\nCom3=\"/dev/my port\"\nCom4=\n"
               "Com16=" +
               longDevice +
               "\nCom17=/dev/ignored\nCom0=/dev/ignored\n"
               "[KelvorReaderWorkbooks]\nFolder=/srv/lab/books/\n");
    const PlatformConfig config = readPlatformConfig(path);
    EXPECT_EQ(config.deviceForPort(1), "/dev/ttyUSB0");
    EXPECT_EQ(config.deviceForPort(2), "/dev/ttyS1");
    EXPECT_EQ(config.deviceForPort(3), "/dev/my port");
    EXPECT_EQ(config.deviceForPort(4), "/dev/ttyS3"); // empty means not set
    EXPECT_EQ(config.deviceForPort(16), longDevice);
    EXPECT_EQ(config.deviceForPort(17), "/dev/ttyS16");
    EXPECT_EQ(config.portDevices.size(), 3U);
    EXPECT_EQ(config.workbookFolder, "/srv/lab/books");
}

TEST_F(PlatformConfigTest, RelativeFolderIsBesideTheSettingsFile) {
    setContent("[KelvorReaderWorkbooks]\nFolder=data/../books\n");
    EXPECT_EQ(readPlatformConfig(path).workbookFolder, dir.filePath("books").toStdString());
}

TEST_F(PlatformConfigTest, WrittenPortDevicesReadBackAndUsualDevicesLeaveNoKey) {
    setContent("[KelvorReaderCH0]\nCommPort=3\n[KelvorReaderPorts]\nCom1=/dev/ttyUSB7\n"
               "Com2=/dev/ttyUSB8\n[KelvorReaderWorkbooks]\nFolder=/srv/books\n");
    const std::string byId = "/dev/serial/by-id/usb-Maker_X_0042-if00-port0";
    ASSERT_TRUE(writePortDevices(
        {{1, "/dev/ttyS0"}, {2, ""}, {3, byId}, {16, "/dev/ttyACM0"}, {17, "/dev/beyond"}}, path));
    const PlatformConfig config = readPlatformConfig(path);
    EXPECT_EQ(config.portDevices, (std::map<int, std::string>{{3, byId}, {16, "/dev/ttyACM0"}}));
    EXPECT_EQ(config.deviceForPort(1), "/dev/ttyS0");
    EXPECT_EQ(config.workbookFolder, "/srv/books");
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    EXPECT_EQ(text.find("Com1="), std::string::npos) << text;
    EXPECT_EQ(text.find("Com2="), std::string::npos) << text;
    EXPECT_EQ(text.find("Com17"), std::string::npos) << text;
    EXPECT_NE(text.find("[KelvorReaderCH0]\nCommPort=3\n"), std::string::npos) << text;
}

} // namespace
} // namespace kelvor
