// A PDF of each test with the real program: reports over pseudo-terminals become PDF files
// beside the workbooks, for the channels that ask for them, and a restart makes no PDF twice.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace kelvor::test {
namespace {

QByteArray settingsFor(const QString& device0, const QString& device1) {
    return QString("[KelvorReaderCH0]\nEnabled=1\nCommPort=1\n[KelvorReaderCH1]\nEnabled=1\n"
                   "CommPort=2\n[KelvorReaderPorts]\nCom1=%1\nCom2=%2\n[KelvorReaderPdf]\n"
                   "Channel1=1\n")
        .arg(device0, device1)
        .toUtf8();
}

// The channel's workbook file (its descriptions are the defaults), without ".xlsx"; empty
// while there is none.
QString workbookOf(const QString& workbooks, int channelNumber) {
    for (const QString& file : workbookFiles(workbooks)) {
        if (file.startsWith(QString("Com Channel %1 ").arg(channelNumber))) {
            return QFileInfo(file).completeBaseName();
        }
    }
    return {};
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000)) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

class PdfOfEachTestProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) is not installed";
        }
    }

    // A PDF that the independent reader opens, with at least a page and some text on it.
    static void expectPdf(const QString& path) {
        const ToolRun info = run("pdfinfo", {path});
        EXPECT_EQ(info.exitCode, 0) << path.toStdString();
        EXPECT_TRUE(info.output.contains(QRegularExpression("Pages:\\s+[1-9]")))
            << info.output.toStdString();
        const ToolRun text = run("pdftotext", {path, "-"});
        EXPECT_EQ(text.exitCode, 0) << path.toStdString();
        EXPECT_FALSE(text.output.trimmed().isEmpty()) << path.toStdString();
    }
};

TEST_F(PdfOfEachTestProcess, TheChannelThatAsksGetsItsTestsSheetsAsPdfsAndNoOther) {
    ReaderInFolder reader;
    Simulator channel1({}, {sample("rate-shipper-lbf-in-50.txt")});
    Simulator channel2({}, {sample("load-stack-creep-lbf-in.txt")});
    reader.writeSettings(settingsFor(channel1.device(), channel2.device()));
    reader.start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return reader.holdsOpen(channel1.device()) && reader.holdsOpen(channel2.device()); },
        10000));
    channel1.play();
    channel2.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return channel1.finished() && channel2.finished(); }, 60000));
    const QString workbooks = reader.workbookFolder();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !workbookOf(workbooks, 1).isEmpty() && !workbookOf(workbooks, 2).isEmpty(); },
        15000));
    const QString pdfs = workbooks + "/PDF/" + workbookOf(workbooks, 1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return QFile::exists(pdfs + "/Data 1.pdf") && QFile::exists(pdfs + "/Data 1 Plot.pdf");
        },
        15000))
        << reader.logText().toStdString();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return reader.logText().count(": PDF written, ") == 2; }, 15000));
    reader.stopWith(SIGTERM);

    // Renamed into place: no temporary file is left beside them.
    EXPECT_EQ(filesIn(pdfs), (QStringList{"Data 1 Plot.pdf", "Data 1.pdf"}));
    expectPdf(pdfs + "/Data 1.pdf");
    expectPdf(pdfs + "/Data 1 Plot.pdf");
    EXPECT_EQ(QDir(workbooks + "/PDF").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{workbookOf(workbooks, 1)});
    // The settings written at exit keep the choice.
    EXPECT_TRUE(reader.settingsText().contains("[KelvorReaderPdf]\nChannel1=1\n"))
        << reader.settingsText().toStdString();
}

TEST_F(PdfOfEachTestProcess, ARestartMakesNoPdfAgainButARecoveredReportGetsItsOwn) {
    ReaderInFolder first;
    {
        Simulator tester({}, {sample("rate-shipper-lbf-in-50.txt")});
        first.writeSettings(settingsFor(tester.device(), "/dev/null-none"));
        first.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.holdsOpen(tester.device()); }, 10000));
        tester.play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return tester.finished(); }, 30000));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return first.logText().count(": PDF written, ") == 2; }, 20000))
            << first.logText().toStdString();
        first.stopWith(SIGTERM);
    }
    const QString workbooks = first.workbookFolder();
    const QString book = workbookOf(workbooks, 1);
    ASSERT_FALSE(book.isEmpty());
    ASSERT_TRUE(QDir(workbooks + "/PDF").removeRecursively());
    // A report kept in the archive that no export took (the reader ended first).
    {
        QFile kept(workbooks + "/Received/Channel 1/2099-01-01 00-00-00.txt");
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write(readFile(sample("rate-paper-core-n-mm-150.txt")));
    }

    ReaderInFolder second(first.folder());
    second.writeSettings(settingsFor("/dev/null-none", "/dev/null-none"));
    second.start();
    const QString pdfs = workbooks + "/PDF/" + book;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return QFile::exists(pdfs + "/Data 2.pdf") && QFile::exists(pdfs + "/Data 2 Plot.pdf");
        },
        20000))
        << second.logText().toStdString();
    // The log goes on from the first run's two.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return second.logText().count(": PDF written, ") == 4; }, 15000));
    second.stopWith(SIGTERM);
    // The reopened batch's first test was played again without a PDF; one queued for it would
    // have been written before the recovered report's.
    EXPECT_EQ(filesIn(pdfs), (QStringList{"Data 2 Plot.pdf", "Data 2.pdf"}));
    EXPECT_TRUE(second.logText().contains("batch reopened, " + book + ", 1 report"))
        << second.logText().toStdString();
}

} // namespace
} // namespace kelvor::test
