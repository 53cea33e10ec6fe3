// What only Windows does to files: UTF-16 names on disk, and a file another program holds open
// (as a spreadsheet program holds the workbook it shows) cannot be replaced.
#include "ChartExportFixture.h"
#include "LocalMoment.h"
#include "TestFiles.h"

#include "export/ChannelWorkbooks.h"
#include "export/ErrorMessage.h"
#include "export/ReportExportStep.h"
#include "platform/DurableFile.h"
#include "platform/PlatformConfig.h"
#include "util/NumberText.h"
#include "util/PathText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>

namespace kelvor::test {
namespace {

namespace fs = std::filesystem;

// "Пресс Ω", a channel description in two non-Latin scripts.
const std::string Press = "\xD0\x9F\xD1\x80\xD0\xB5\xD1\x81\xD1\x81 \xCE\xA9";

// The names the folder holds as the system lists them, in UTF-16.
std::vector<std::wstring> wideNamesIn(const fs::path& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Opens the file the way a spreadsheet program does: reading, others may read and write, but
// nobody may delete or rename it while it is open.
class HeldOpen {
public:
    explicit HeldOpen(const fs::path& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { release(); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool open() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (open()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

TEST(WindowsFilesTest, PathsFromUtf8AreUtf16NamesOnDisk) {
    const test::TempDir dir;
    // The test folder itself lies below "Prüfstand Ω".
    EXPECT_NE(dir.path().wstring().find(L"Pr\u00FCfstand \u03A9"), std::wstring::npos);
    const auto target = dir.path() / pathFromUtf8(Press + ".xlsx");
    ReplacingFile file(target);
    file.write("first line\r\nsecond line\n");
    file.commit();
    EXPECT_EQ(wideNamesIn(dir.path()), std::vector<std::wstring>{L"\u041F\u0440\u0435\u0441\u0441 "
                                                                 L"\u03A9.xlsx"});
    EXPECT_EQ(utf8Of(target.filename()), Press + ".xlsx");
    // Bytes as written: no line end is translated on the way.
    EXPECT_EQ(test::fileBytes(target), "first line\r\nsecond line\n");
}

TEST(WindowsFilesTest, AFileHeldOpenIsNotReplacedAndKeepsItsBytes) {
    const test::TempDir dir;
    const auto target = dir.path() / pathFromUtf8(Press + ".xlsx");
    ReplacingFile first(target);
    first.write("the earlier workbook");
    first.commit();
    {
        HeldOpen spreadsheet(target);
        ASSERT_TRUE(spreadsheet.open());
        ReplacingFile second(target);
        second.write("the new workbook");
        try {
            second.commit();
            ADD_FAILURE() << "replaced a file held open";
        } catch (const FileError& error) {
            EXPECT_EQ(error.reason(), FileHeldOpenReason);
            EXPECT_EQ(std::string(error.what()), utf8Of(target) + ": " + FileHeldOpenReason);
        }
    }
    EXPECT_EQ(test::fileBytes(target), "the earlier workbook");
    EXPECT_EQ(test::fileNamesIn(dir.path()), std::vector<std::string>{Press + ".xlsx"});
    // Once the other program let go, the file is replaced.
    ReplacingFile third(target);
    third.write("the new workbook");
    third.commit();
    EXPECT_EQ(test::fileBytes(target), "the new workbook");
}

TEST(WindowsFilesTest, AReadOnlyFileIsToldAsSuchAndNotAsHeldOpen) {
    const test::TempDir dir;
    const auto target = dir.path() / pathFromUtf8(Press + ".xlsx");
    test::writeBytes(target, "the earlier workbook");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    ReplacingFile file(target);
    file.write("the new workbook");
    try {
        file.commit();
        ADD_FAILURE() << "replaced a read-only file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), "the file is read-only");
    }
    EXPECT_EQ(test::fileBytes(target), "the earlier workbook");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFilesTest, LeftoversWithNonLatinNamesAreRemoved) {
    const test::TempDir dir;
    const std::string leftover = "." + Press + ".xlsx.999999999.kelvor-tmp";
    test::writeBytes(dir.path() / pathFromUtf8(leftover), "cut off");
    ReplacingFile running(dir.path() / pathFromUtf8(Press + " 2.xlsx"));
    running.write("in progress");
    removeLeftoverTemporaryFiles(dir.path());
    EXPECT_EQ(test::fileNamesIn(dir.path()),
              std::vector<std::string>{utf8Of(running.temporaryPath().filename())});
    running.commit();
    EXPECT_EQ(test::fileNamesIn(dir.path()), std::vector<std::string>{Press + " 2.xlsx"});
}

TEST(WindowsPortsTest, PortNumbersNameComPorts) {
    EXPECT_EQ(defaultDeviceForPort(1), "COM1");
    EXPECT_EQ(defaultDeviceForPort(12), "COM12");
    EXPECT_EQ(defaultDeviceForPort(0), "");
}

// 7 December 2026, 14:03 local time.
WallClock::time_point batchStart() {
    return localMoment(2026, 12, 7, 14, 3);
}

class WindowsWorkbookTest : public ExportFixture {
protected:
    WindowsWorkbookTest() {
        channels[0].Description = Press;
        ctx.clock = [] { return batchStart(); };
    }

    void exportReport() {
        std::string text = rateReport("120.25 lbf", "0.15 in");
        ReportExportStep(ctx).exportReport(0, text, "", channels[0].WorkbookIndex);
        ASSERT_TRUE(text.empty());
    }

    std::size_t sheetCount() {
        return builtin().workbookModel(channels[0].WorkbookIndex).sheetCount();
    }
};

TEST_F(WindowsWorkbookTest, AWorkbookHeldOpenStaysInMemoryAndIsWrittenOnceReleased) {
    exportReport();
    const auto file = builtin().workbookFile(channels[0].WorkbookIndex);
    EXPECT_EQ(wideNamesIn(dir.path() / "Workbooks"),
              std::vector<std::wstring>{L"\u041F\u0440\u0435\u0441\u0441 \u03A9 2026-12-07 "
                                        L"14-03.xlsx"});
    const std::string written = test::fileBytes(file);
    ASSERT_FALSE(written.empty());
    const std::size_t sheetsAfterFirst = sheetCount();

    HeldOpen spreadsheet(file);
    ASSERT_TRUE(spreadsheet.open());
    exportReport(); // the second report goes into the workbook; its file cannot be written
    EXPECT_GT(sheetCount(), sheetsAfterFirst);
    EXPECT_EQ(test::fileBytes(file), written);

    // Closing the batch now fails in words, and the workbook stays with everything in it.
    try {
        CloseChannelWorkbook(ctx, channels, 0);
        ADD_FAILURE() << "closed a workbook whose file could not be written";
    } catch (const xl::HostError& error) {
        prompts.shown.clear();
        showErrorMessage(prompts, error);
        ASSERT_EQ(prompts.shown.size(), 1u);
        const std::string& message = prompts.shown.front().text;
        EXPECT_EQ(message.rfind("Error # ", 0), 0u) << message;
        EXPECT_NE(message.find(utf8Of(file)), std::string::npos) << message;
        EXPECT_NE(message.find("open in another program"), std::string::npos) << message;
    }
    EXPECT_EQ(channels[0].WorkbookIndex, 1);
    EXPECT_EQ(test::fileBytes(file), written);
    EXPECT_EQ(test::fileNamesIn(dir.path() / "Workbooks"),
              std::vector<std::string>{Press + " 2026-12-07 14-03.xlsx"});

    // The spreadsheet program closes the file: the next write holds both reports.
    spreadsheet.release();
    ASSERT_TRUE(CloseChannelWorkbook(ctx, channels, 0));
    EXPECT_NE(test::fileBytes(file), written);
    EXPECT_GT(test::fileBytes(file).size(), written.size());
}

TEST(WindowsNumbersTest, ExponentsBeyondThirtyTwoBitsStayInRange) {
    // long is 32 bits here: exponents and digit counts must not overflow it.
    EXPECT_EQ(leadingNumber("1e99999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("-1e99999999999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("1e-99999999999"), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber("0." + std::string(5000, '0') + "1e4999"), 0.01);
    static_assert(sizeof(long) == 4, "this check is meant for Windows' 32-bit long");
}

} // namespace
} // namespace kelvor::test
