// Batches across runs, with the real program: a restart goes on in the workbook it left, and a
// damaged journal loses nothing.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTest>

#include <csignal>

namespace kelvor::test {
namespace {

QByteArray oneChannel(const QString& device) {
    return QString("[KelvorReaderCH0]\nEnabled=1\nCommPort=1\n[KelvorReaderPorts]\nCom1=%1\n")
        .arg(device)
        .toUtf8();
}

double testsCounted(const QJsonObject& workbook) {
    for (const QJsonValue& sheet : workbook["sheets"].toArray()) {
        if (sheet["name"].toString() == "Summary") {
            return sheet["cells"].toObject()["B3"].toDouble();
        }
    }
    return -1;
}

class Batches : public ::testing::Test {
protected:
    void SetUp() override {
        if (!workbookReaderAvailable()) {
            GTEST_SKIP() << "python3-openpyxl is not installed";
        }
    }

    // Plays the files to the reader's channel 1 and waits until the log has `exports` exports.
    static void playAndWait(ReaderInFolder& reader, const QStringList& files, int exports) {
        Simulator tester({"--rate", "0", "--pause", "1.6"}, files);
        reader.writeSettings(oneChannel(tester.device()));
        reader.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(tester.device()); }, 10000));
        tester.play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return tester.finished(); }, 30000));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return reader.logText().count("report exported to") == exports; }, 15000))
            << reader.logText().toStdString();
    }
};

TEST_F(Batches, ARestartGoesOnInTheSameWorkbookAndItsSummaryCountsTheWholeBatch) {
    ReaderInFolder first;
    playAndWait(first, {sample("rate-shipper-lbf-in-50.txt"), sample("rate-shipper-lbf-in-50.txt")},
                2);
    first.stopWith(SIGTERM);
    const QStringList before = workbookFiles(first.workbookFolder());
    ASSERT_EQ(before.size(), 1);

    ReaderInFolder second(first.folder());
    playAndWait(second, {sample("rate-shipper-lbf-in-50.txt")}, 3);
    second.stopWith(SIGTERM);
    const QString log = second.logText();
    EXPECT_TRUE(
        log.contains("batch reopened, " + QFileInfo(before[0]).completeBaseName() + ", 2 reports"))
        << log.toStdString();
    EXPECT_TRUE(log.contains("report exported to " + QFileInfo(before[0]).completeBaseName() +
                             ", sheet Data 3"))
        << log.toStdString();
    EXPECT_EQ(workbookFiles(second.workbookFolder()), before);
    const QJsonObject book = inspectWorkbook(second.workbookFolder() + "/" + before[0]);
    EXPECT_EQ(dataSheets(book), (QStringList{"Data 1", "Data 2", "Data 3"}));
    EXPECT_EQ(testsCounted(book), 3.0);
    EXPECT_FALSE(log.contains("Message")) << log.toStdString(); // nothing told again
}

TEST_F(Batches, ADamagedJournalRecordIsToldAndLosesNothing) {
    ReaderInFolder first;
    playAndWait(first, {sample("rate-shipper-lbf-in-50.txt"), sample("rate-shipper-lbf-in-50.txt")},
                2);
    first.stopWith(SIGTERM);

    // The second report's record gets a changed byte.
    const QString journal = first.workbookFolder() + "/Received/Batches.journal";
    QFile file(journal);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    int reports = 0;
    for (QByteArray& line : lines) {
        if (line.contains("\treport\t") && ++reports == 2) {
            line[12] = static_cast<char>(line[12] ^ 1);
        }
    }
    ASSERT_EQ(reports, 2);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join('\n'));
    file.close();

    ReaderInFolder second(first.folder());
    second.writeSettings(oneChannel("/dev/null-none"));
    second.start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return second.logText().contains("reader ended was added to its workbook"); }, 15000))
        << second.logText().toStdString();
    second.stopWith(SIGTERM);
    const QString log = second.logText();
    EXPECT_TRUE(log.contains("had 1 damaged record; it was skipped")) << log.toStdString();
    EXPECT_TRUE(log.contains("Message \"KelvorReader2\": The batch journal")) << log.toStdString();
    EXPECT_TRUE(log.contains("Message \"KelvorReader2\": 1 report received before the reader "
                             "ended was added to its workbook"))
        << log.toStdString();
    const QStringList books = workbookFiles(second.workbookFolder());
    ASSERT_EQ(books.size(), 1);
    const QJsonObject book = inspectWorkbook(second.workbookFolder() + "/" + books[0]);
    EXPECT_EQ(dataSheets(book).size(), 2);
    EXPECT_EQ(testsCounted(book), 2.0);

    // Told once: the next start says nothing of it.
    ReaderInFolder third(first.folder());
    third.writeSettings(oneChannel("/dev/null-none"));
    third.start();
    QTest::qWait(1500);
    third.stopWith(SIGTERM);
    EXPECT_EQ(third.logText().count("Message \"KelvorReader2\": The batch journal"), 1);
    EXPECT_EQ(workbookFiles(third.workbookFolder()), books);
}

} // namespace
} // namespace kelvor::test
