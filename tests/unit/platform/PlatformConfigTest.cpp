#include "platform/PlatformConfig.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>

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

TEST_F(PlatformConfigTest, PdfOfEachTestIsOnOnlyForTheValueOne) {
    EXPECT_EQ(readPlatformConfig(path).pdfOfEachTest, (std::array<bool, PdfChannelCount>{}));
    setContent("[KelvorReaderPdf]\nChannel1=1\nchannel2 = \"1\"\nChannel3=yes\nChannel4=2\n"
               "Channel5=1.0\nChannel6=\nChannel0=1\nChannel7=1\n");
    EXPECT_EQ(readPlatformConfig(path).pdfOfEachTest,
              (std::array<bool, PdfChannelCount>{true, true, false, false, false, false}));
}

TEST_F(PlatformConfigTest, SwitchingPdfOfEachTestChangesItsKeyAndNothingElse) {
    const std::string before = "; lab PC 3\r\n[KelvorReader]\r\nTop=120\r\n[KelvorReaderPorts]\r\n"
                               "Com1=/dev/ttyUSB0\r\n[KelvorReaderPdf]\r\nChannel2=1\r\n"
                               "[KelvorReaderCH0]\r\nEnabled=1\r\n";
    setContent(before);
    ASSERT_TRUE(writePdfOfEachTest(0, true, path));
    ASSERT_TRUE(writePdfOfEachTest(1, false, path));
    const auto text = [&] {
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    };
    EXPECT_EQ(text(), "; lab PC 3\r\n[KelvorReader]\r\nTop=120\r\n[KelvorReaderPorts]\r\n"
                      "Com1=/dev/ttyUSB0\r\n[KelvorReaderPdf]\r\nChannel2=0\r\nChannel1=1\r\n"
                      "[KelvorReaderCH0]\r\nEnabled=1\r\n");
    const PlatformConfig config = readPlatformConfig(path);
    EXPECT_TRUE(config.pdfOfEachTest[0]);
    EXPECT_FALSE(config.pdfOfEachTest[1]);
    EXPECT_EQ(config.deviceForPort(1), "/dev/ttyUSB0");
    EXPECT_FALSE(writePdfOfEachTest(6, true, path)); // there is no seventh channel
    EXPECT_FALSE(writePdfOfEachTest(-1, true, path));
    EXPECT_EQ(text().find("Channel7"), std::string::npos);
    EXPECT_EQ(text().find("Channel0"), std::string::npos);
}

TEST_F(PlatformConfigTest, SwitchingPdfOfEachTestInAFreshFileMakesOnlyItsSection) {
    ASSERT_TRUE(writePdfOfEachTest(5, true, path));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "[KelvorReaderPdf]\nChannel6=1\n");
}

} // namespace
} // namespace kelvor
