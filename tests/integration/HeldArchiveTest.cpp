// The real program when its workbook folder does not take what it writes for a while: a disk
// that fills during a report, and a folder swapped for an empty one at the same path (a share
// that dropped). What was received is held and written, as sent, once the folder takes it.
#include "DiskLimits.h"
#include "ProcessHarness.h"

#include "platform/FolderIdentity.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTest>

#include <csignal>
#include <fstream>

namespace kelvor::test {
namespace {

namespace fs = std::filesystem;

class HeldArchive : public ::testing::Test {
protected:
    void SetUp() override {
        if (!workbookReaderAvailable()) {
            GTEST_SKIP() << "python3-openpyxl is not installed";
        }
    }

    void startWith(Simulator& tester, const QString& workbooks) {
        reader.writeSettings(QString("[KelvorReaderCH0]\nEnabled=1\nCommPort=1\n"
                                     "[KelvorReaderPorts]\nCom1=%1\n"
                                     "[KelvorReaderWorkbooks]\nFolder=%2\n")
                                 .arg(tester.device(), workbooks)
                                 .toUtf8());
        reader.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(tester.device()); }, 10000));
    }

    void waitForLog(const QString& text, int times = 1) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.logText().count(text) >= times; }, 30000))
            << "not in the log " << times << " times: " << text.toStdString() << "\n"
            << reader.logText().toStdString();
    }

    ReaderInFolder reader;
};

TEST_F(HeldArchive, AReportTheFullDiskCutOffIsWrittenAsSentOnceThereIsRoom) {
    const QString workbooks = reader.folder() + "/disk";
    SmallDisk disk(workbooks.toStdString(), "size=1m");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    }
    const QString first = sample("rate-shipper-lbf-in-50.txt");
    const QString second = sample("rate-doublewall-box-lbf-in-1000.txt"); // 15 kB
    Simulator tester({"--step"}, {first, second});
    startWith(tester, workbooks);
    tester.play();
    waitForLog(", sheet Data 1");

    // Full, but for one page: the second report's file starts and then the disk is full.
    const fs::path filler = disk.path() / "filler";
    {
        std::ofstream out(filler, std::ios::binary);
        const std::string block(4096, 'f');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    fs::resize_file(filler, fs::file_size(filler) / 4096 * 4096 - 4096);
    tester.play();
    waitForLog("could not be kept in the archive file");
    waitForLog("bytes, not archived");
    const auto cutOff = archivedReports(workbooks, 1);
    ASSERT_EQ(cutOff.size(), 2);
    EXPECT_LT(cutOff[1].second.size(), readFile(second).size());
    EXPECT_TRUE(readFile(second).startsWith(cutOff[1].second));

    fs::remove(filler);
    waitForLog("Archive: 1 held report written");
    EXPECT_EQ(reader.logText().count("could not be kept in the archive file"), 1);
    reader.stopWith(SIGTERM);

    const auto reports = archivedReports(workbooks, 1);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[0].second, readFile(first));
    EXPECT_EQ(reports[1].first, cutOff[1].first) << "the name of its first byte";
    EXPECT_EQ(reports[1].second, readFile(second));
}

TEST_F(HeldArchive, AFolderSwappedForAnEmptyOneGetsNothingAndAllIsWrittenWhenItReturns) {
    const QString workbooks = reader.folder() + "/Workbooks";
    const QString away = reader.folder() + "/share away";
    const QString first = sample("rate-shipper-lbf-in-50.txt");
    const QString second = sample("rate-paper-core-n-mm-150.txt");
    Simulator tester({"--step"}, {first, second});
    startWith(tester, workbooks);
    EXPECT_TRUE(QFile::exists(workbooks + "/Received/" + FolderMarkerName));
    tester.play();
    waitForLog(", sheet Data 1");
    const QStringList books = QDir(workbooks).entryList({"*.xlsx"}, QDir::Files);
    ASSERT_EQ(books.size(), 1);

    // The share drops: its mount point stands empty at the same path.
    ASSERT_TRUE(QDir().rename(workbooks, away));
    ASSERT_TRUE(QDir().mkpath(workbooks));
    const QString told = "is not the one the reader wrote to before (a network share or drive "
                         "may be missing)";
    waitForLog(told);
    tester.play();
    waitForLog(", sheet Data 2");
    waitForLog("bytes, not archived");
    EXPECT_TRUE(QDir(workbooks).isEmpty()) << "something was written into the wrong folder";

    ASSERT_TRUE(QDir().rmdir(workbooks));
    ASSERT_TRUE(QDir().rename(away, workbooks));
    waitForLog("Archive: 1 held report written");
    waitForLog("is back");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return sheetNames(inspectWorkbook(workbooks + "/" + books[0])).contains("Data 2"); },
        30000))
        << "the workbook was not written when its folder returned";
    EXPECT_EQ(reader.logText().count(told), 1) << "told once";
    reader.stopWith(SIGTERM);

    const auto reports = archivedReports(workbooks, 1);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[0].second, readFile(first));
    EXPECT_EQ(reports[1].second, readFile(second));
    EXPECT_EQ(QDir(workbooks).entryList({"*.xlsx"}, QDir::Files), books);
}

} // namespace
} // namespace kelvor::test
