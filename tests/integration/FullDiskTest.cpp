// The real program with its workbook folder on a disk that fills up: the earlier workbook file
// survives whole, and once there is room again the next report's export writes everything.
#include "DiskLimits.h"
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTest>

#include <csignal>
#include <fstream>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>

namespace kelvor::test {
namespace {

namespace fs = std::filesystem;

QByteArray hashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

fs::path onlyWorkbook(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".xlsx") {
            return entry.path();
        }
    }
    ADD_FAILURE() << "no workbook in " << folder;
    return folder / "missing.xlsx";
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!workbookReaderAvailable()) {
            GTEST_SKIP() << "python3-openpyxl is not installed";
        }
    }

    // Three reports into one channel's workbook: the first is written, the second meets a
    // disk squeezed by `squeeze`, the third comes after `release`.
    void runThrough(const QString& workbooks, const std::function<void()>& squeeze,
                    const std::function<void()>& release) {
        // What a killed run left: removed at start; a file of somebody else's: kept.
        const QString leftover = workbooks + "/.Book1.xlsx.999999999.kelvor-tmp";
        const QString foreign = workbooks + "/Book1.xlsx.k3Jq9Z";
        for (const QString& path : {leftover, foreign}) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("cut off");
        }

        Simulator tester({"--step"}, {sample("rate-shipper-lbf-in-50.txt"),
                                      sample("rate-paper-core-n-mm-150.txt"),
                                      sample("rate-bottle-topload-kgf-mm-300.txt")});
        reader.writeSettings(QString("[KelvorReaderCH0]\nEnabled=1\nCommPort=1\n"
                                     "[KelvorReaderPorts]\nCom1=%1\n"
                                     "[KelvorReaderWorkbooks]\nFolder=%2\n")
                                 .arg(tester.device(), workbooks)
                                 .toUtf8());
        reader.start();
        EXPECT_FALSE(QFile::exists(leftover));
        EXPECT_TRUE(QFile::exists(foreign));
        QFile::remove(foreign);
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(tester.device()); }, 10000));

        tester.play();
        // The channel's workbook, named after the channel and the time it was started.
        const auto workbookFiles = [&] {
            return QDir(workbooks).entryList({"*.xlsx"}, QDir::Files);
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return !workbookFiles().isEmpty(); }, 30000));
        const QStringList written = workbookFiles();
        ASSERT_EQ(written.size(), 1);
        EXPECT_TRUE(written[0].startsWith("Com Channel 1 "));
        const QString book = workbooks + "/" + written[0];
        const QByteArray earlier = hashOf(book);

        squeeze();
        tester.play();
        // The workbook grows in place; the failed growth is cut back and told.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return reader.logText().contains("could not be written"); }, 30000))
            << "no failed write of the second report";
        EXPECT_TRUE(reader.running());
        EXPECT_EQ(hashOf(book), earlier) << "the earlier workbook was changed";
        QStringList names = QDir(workbooks).entryList(QDir::Files | QDir::Hidden);
        names.removeAll("filler");
        EXPECT_EQ(names, written);

        release();
        tester.play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return hashOf(book) != earlier; }, 30000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return tester.finished(); }, 30000));
        reader.stopWith(SIGTERM);

        const QStringList sheets = sheetNames(inspectWorkbook(book));
        for (const char* name : {"Data 1", "Data 2", "Data 3"}) {
            EXPECT_TRUE(sheets.contains(name))
                << name << " missing from " << sheets.join(", ").toStdString();
        }
        names = QDir(workbooks).entryList(QDir::Files | QDir::Hidden);
        names.removeAll("filler");
        EXPECT_EQ(names, written);
    }

    ReaderInFolder reader;
};

TEST_F(FullDisk, TheEarlierWorkbookSurvivesAFullTmpfsAndTheNextExportWritesEverything) {
    const QString workbooks = reader.folder() + "/disk";
    SmallDisk disk(workbooks.toStdString(), "size=1m");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    }
    const fs::path filler = disk.path() / "filler";
    runThrough(
        workbooks,
        [&] {
            // Fill the disk, then give back less room than the workbook needs: the write
            // starts, falls short and fails.
            {
                std::ofstream out(filler, std::ios::binary);
                const std::string block(4096, 'f');
                while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
                }
            }
            const auto room = std::max<std::uintmax_t>(
                4096, fs::file_size(onlyWorkbook(disk.path())) / 2 / 4096 * 4096);
            fs::resize_file(filler, fs::file_size(filler) - room);
        },
        [&] { fs::remove(filler); });
}

TEST_F(FullDisk, AFileSizeLimitOnTheReaderFailsTheWriteWithoutEndingIt) {
    const QString workbooks = reader.folder() + "/Workbooks";
    ASSERT_TRUE(QDir().mkpath(workbooks));
    rlimit before{};
    runThrough(
        workbooks,
        [&] {
            // No file may grow past the size of the workbook written so far.
            const auto size = fs::file_size(onlyWorkbook(workbooks.toStdString()));
            rlimit limit{};
            ASSERT_EQ(
                prlimit(static_cast<pid_t>(reader.processId()), RLIMIT_FSIZE, nullptr, &before), 0);
            limit = before;
            limit.rlim_cur = static_cast<rlim_t>(size);
            ASSERT_EQ(
                prlimit(static_cast<pid_t>(reader.processId()), RLIMIT_FSIZE, &limit, nullptr), 0);
        },
        [&] {
            ASSERT_EQ(
                prlimit(static_cast<pid_t>(reader.processId()), RLIMIT_FSIZE, &before, nullptr), 0);
        });
}

} // namespace
} // namespace kelvor::test
