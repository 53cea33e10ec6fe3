// The simulator on Windows: report files go out byte for byte, a COM port (or a file) is the
// line, and asking for a pseudo-terminal says what to do instead.
#include "FdLine.h"
#include "ReportPlayer.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvor {
namespace {

const std::string Sample = std::string(KELVOR_SOURCE_DIR) + "/samples/rate-shipper-lbf-in-50.txt";

TEST(WindowsSimulatorTest, ReportFilesAreReadWithTheirLineEnds) {
    const auto file = loadReportFile(Sample);
    EXPECT_EQ(file.bytes, test::fileBytes(Sample));
    EXPECT_NE(file.bytes.find("\r\n"), std::string::npos);
    EXPECT_THROW(loadReportFile(Sample + ".missing"), std::runtime_error);
}

TEST(WindowsSimulatorTest, ADevicePathThatIsAFileIsWrittenAsItIs) {
    const test::TempDir dir;
    // A plain name: the simulator's arguments come in the system's narrow code page.
    const auto path = std::filesystem::temp_directory_path() / "kelvor-sim-line.txt";
    {
        FdLine line = FdLine::openDevice(path.string());
        EXPECT_EQ(line.path(), path.string());
        EXPECT_EQ(line.writeSome("ONE\r\nTWO\r\n"), 10u);
        EXPECT_TRUE(line.waitWritable(std::chrono::milliseconds(0)));
        EXPECT_EQ(line.unreadBytes(), 0u);
    }
    EXPECT_EQ(test::fileBytes(path), "ONE\r\nTWO\r\n");
    std::filesystem::remove(path);
}

TEST(WindowsSimulatorTest, PseudoTerminalsAreRefusedWithAHint) {
    try {
        FdLine::openPty();
        ADD_FAILURE() << "a pseudo-terminal on Windows";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("--device COM"), std::string::npos);
    }
}

} // namespace
} // namespace kelvor
