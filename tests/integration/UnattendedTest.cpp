// The real program left alone under faults: lines pulled and plugged in again, boxes nobody
// answers, signals while boxes are open, kills at any moment.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <random>

namespace kelvor::test {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Points `link` at `target`, replacing what it pointed at in one step, as a device node
// that comes back under the same name would.
void pointLink(const QString& link, const QString& target) {
    const QString fresh = link + ".new";
    QFile::remove(fresh);
    ASSERT_TRUE(QFile::link(target, fresh));
    ASSERT_EQ(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(link).constData()),
              0);
}

QByteArray channelSettings(const QStringList& devices) {
    QString text;
    for (int n = 0; n < devices.size(); ++n) {
        text += QString("[KelvorReaderCH%1]\nEnabled=1\nCommPort=%2\n").arg(n).arg(n + 1);
    }
    text += "[KelvorReaderPorts]\n";
    for (int n = 0; n < devices.size(); ++n) {
        text += QString("Com%1=%2\n").arg(n + 1).arg(devices[n]);
    }
    return text.toUtf8();
}

// A constant-rate report whose column-header line is missing: its export shows an error box.
QString brokenReport(const QString& folder) {
    QByteArray text = readFile(sample("rate-shipper-lbf-in-50.txt"));
    text.replace("DEFLECTION,FORCE", "DEFLECTIN,FORCE");
    const QString path = folder + "/broken.txt";
    writeFile(path, text);
    return path;
}

QJsonObject sheetNamed(const QJsonObject& workbook, const QString& name) {
    for (const QJsonValue& sheet : workbook["sheets"].toArray()) {
        if (sheet["name"].toString() == name) {
            return sheet.toObject();
        }
    }
    return {};
}

class Unattended : public ::testing::Test {
protected:
    void SetUp() override {
        if (!workbookReaderAvailable()) {
            GTEST_SKIP() << "python3-openpyxl is not installed";
        }
    }

    static void waitForLog(ReaderInFolder& reader, const QString& text, int ms = 20000) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.logText().contains(text); }, ms))
            << "not in the log: " << text.toStdString() << "\n"
            << reader.logText().toStdString();
    }
};

TEST_F(Unattended, PulledLineIsKeptClosedAndComesBackWithoutBusyWaiting) {
    ReaderInFolder reader;
    const QString line = reader.folder() + "/line0";
    auto first = std::make_unique<Simulator>(QStringList{"--rate", "400"},
                                             QStringList{sample("rate-paper-core-n-mm-150.txt")});
    pointLink(line, first->device());
    reader.writeSettings(channelSettings({line}));
    reader.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(first->device()); }, 10000));
    first->play();

    // Pulled a second into the report.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto files = archivedReports(reader.workbookFolder(), 1);
            return !files.isEmpty() && files.last().second.size() > 200;
        },
        10000));
    first->kill();
    waitForLog(reader, "line lost");
    // The loss is logged before the report so far is closed and renamed in the archive.
    waitForLog(reader, "bytes, cut short");
    const auto files = archivedReports(reader.workbookFolder(), 1);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].first.endsWith(" (cut short).txt")) << files[0].first.toStdString();
    EXPECT_TRUE(readFile(sample("rate-paper-core-n-mm-150.txt")).startsWith(files[0].second));
    waitForLog(reader, ", sheet Data 1"); // what arrived, still exported
    // From here on the reader only waits for its line.
    const double cpuAtLoss = reader.cpuSeconds();
    QElapsedTimer waited;
    waited.start();

    // The adapter is plugged in again: the same path, a new device behind it.
    Simulator second({}, {sample("rate-shipper-lbf-in-50.txt")});
    pointLink(line, second.device());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(second.device()); }, 15000));
    const double idleSeconds = static_cast<double>(waited.elapsed()) / 1000.0;
    EXPECT_GT(idleSeconds, 2.0); // the reader waits a few seconds between tries
    const double idleCpu = reader.cpuSeconds() - cpuAtLoss;
    EXPECT_LT(idleCpu, 0.1) << "over " << idleSeconds << " s";
    std::printf("processor time while the line was gone: %.2f s in %.1f s\n", idleCpu, idleSeconds);
    EXPECT_TRUE(reader.logText().contains("line back"));

    second.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.finished(); }, 30000));
    waitForLog(reader, ", sheet Data 2");
    reader.stopWith(SIGTERM);
    EXPECT_EQ(archivedReports(reader.workbookFolder(), 1).size(), 2);

    // The sheet of the report the pull cut short says so on paper, and so does the summary.
    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 1);
    const QJsonObject book = inspectWorkbook(reader.workbookFolder() + "/" + books[0]);
    EXPECT_EQ(sheetNamed(book, "Data 1")["left_footer"].toString(), "Cut short: the line was lost");
    EXPECT_TRUE(sheetNamed(book, "Data 2")["left_footer"].isNull());
    QStringList notes;
    for (const QJsonValue& cell : sheetNamed(book, "Summary")["cells"].toObject()) {
        if (cell.toString().startsWith("Data ")) {
            notes << cell.toString();
        }
    }
    EXPECT_TRUE(
        notes.filter(QRegularExpression("^Data 1 .*was cut short: the line was lost")).size() == 1)
        << notes.join("\n").toStdString();
}

TEST_F(Unattended, ReportsWhileAnErrorBoxStaysOpenBecomeSheetsOfTheirOwn) {
    ReaderInFolder reader;
    const QString valid = sample("rate-shipper-lbf-in-50.txt");
    Simulator tester({"--rate", "0", "--pause", "1.6"},
                     {brokenReport(reader.folder()), valid, valid, valid, valid});
    reader.writeSettings(channelSettings({tester.device()}));
    reader.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(tester.device()); }, 10000));
    tester.play();
    waitForLog(reader, "Message \"Error\"");
    ASSERT_TRUE(QTest::qWaitFor([&] { return tester.finished(); }, 30000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return reader.logText().count("report exported to") == 5; }, 10000));
    EXPECT_FALSE(reader.logText().contains("Answer:")); // nobody answered the box
    reader.stopWith(SIGTERM);

    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 1);
    const QJsonObject book = inspectWorkbook(reader.workbookFolder() + "/" + books[0]);
    EXPECT_EQ(dataSheets(book), (QStringList{"Data 1", "Data 2", "Data 3", "Data 4", "Data 5"}));
    EXPECT_EQ(archivedReports(reader.workbookFolder(), 1).size(), 5);
}

TEST_F(Unattended, MalformedReportThenThreeValidOnesGiveThreeSheetsAndTheirSummary) {
    ReaderInFolder reader;
    QByteArray text = readFile(sample("rate-shipper-lbf-in-50.txt"));
    text.replace("Force units in lbf\r\nDeflection units in in\r\n", "");
    const QString malformed = reader.folder() + "/no-units.txt";
    writeFile(malformed, text);
    // The valid ones in one pair of units, so that the summary counts all three.
    QStringList valid;
    for (const char* file :
         {"rate-paper-core-n-mm-150.txt", "rate-bottle-topload-kgf-mm-300.txt"}) {
        QByteArray report = readFile(sample(file));
        report.replace("Force units in N\r\n", "Force units in lbf\r\n");
        report.replace("Force units in kgf\r\n", "Force units in lbf\r\n");
        report.replace("Deflection units in mm\r\n", "Deflection units in in\r\n");
        valid.push_back(reader.folder() + "/lbf-in-" + file);
        writeFile(valid.back(), report);
    }
    Simulator tester({"--rate", "0", "--pause", "1.6"},
                     {malformed, sample("rate-shipper-lbf-in-50.txt"), valid[0], valid[1]});
    reader.writeSettings(channelSettings({tester.device()}));
    reader.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(tester.device()); }, 10000));
    tester.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tester.finished(); }, 30000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return reader.logText().count("report exported to") == 4; }, 10000));
    reader.stopWith(SIGTERM);

    const QString log = reader.logText();
    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 1);
    const QJsonObject book = inspectWorkbook(reader.workbookFolder() + "/" + books[0]);
    EXPECT_EQ(dataSheets(book).size(), 4);
    QJsonObject summary;
    for (const QJsonValue& sheet : book["sheets"].toArray()) {
        if (sheet["name"].toString() == "Summary") {
            summary = sheet.toObject();
        }
    }
    ASSERT_FALSE(summary.isEmpty()) << log.toStdString();
    EXPECT_EQ(summary["cells"].toObject()["B3"].toDouble(), 3.0); // number of tests
    // Only the malformed report itself was told; no later summary failed over it.
    EXPECT_EQ(log.count("Message \"Error\""), 1) << log.toStdString();
}

TEST_F(Unattended, SigtermWhileAnErrorBoxIsOpenEndsCleanlyWithEverythingWritten) {
    ReaderInFolder reader;
    Simulator tester({"--rate", "0"}, {brokenReport(reader.folder())});
    // The second tester is still sending when the signal comes.
    Simulator slow({"--rate", "300"}, {sample("rate-doublewall-box-lbf-in-1000.txt")});
    reader.writeSettings(channelSettings({tester.device(), slow.device()}));
    reader.start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return reader.holdsOpen(tester.device()) && reader.holdsOpen(slow.device()); },
        10000));
    tester.play();
    slow.play();
    waitForLog(reader, "Message \"Error\"");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !archivedReports(reader.workbookFolder(), 2).isEmpty(); }, 10000));

    reader.stopWith(SIGTERM);
    EXPECT_TRUE(reader.settingsText().contains("[KelvorReaderCH5]"));
    const QString log = reader.logText();
    EXPECT_TRUE(log.contains("Reader ended")) << log.toStdString();
    // The report cut short by the ending is archived and went into its own workbook.
    const auto cut = archivedReports(reader.workbookFolder(), 2);
    ASSERT_EQ(cut.size(), 1);
    EXPECT_TRUE(cut[0].first.endsWith(" (cut short).txt"));
    EXPECT_TRUE(log.contains("Channel 2 (Com Channel 2): report"));
    const QStringList books = workbookFiles(reader.workbookFolder());
    ASSERT_EQ(books.size(), 2);
    for (const QString& name : books) {
        const QJsonObject book = inspectWorkbook(reader.workbookFolder() + "/" + name);
        EXPECT_EQ(dataSheets(book).size(), 1) << name.toStdString();
    }
}

TEST_F(Unattended, KilledAtRandomMomentsLosesNoReportAndLeavesEveryWorkbookReadable) {
    const QByteArray first = readFile(sample("rate-doublewall-box-lbf-in-1000.txt"));
    const QByteArray second = readFile(sample("load-stack-creep-lbf-in.txt"));
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> killAfterMs(900, 4200);
    QTemporaryDir dir;
    int exported = 0;
    for (int round = 0; round < 20; ++round) {
        ReaderInFolder reader(dir.path());
        Simulator tester(
            {"--rate", "0", "--pause", "1.5"},
            {sample("rate-doublewall-box-lbf-in-1000.txt"), sample("load-stack-creep-lbf-in.txt")});
        reader.writeSettings(channelSettings({tester.device()}));
        reader.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(tester.device()); }, 10000));
        tester.play();
        QTest::qWait(killAfterMs(random)); // the moment of the kill is what is under test
        reader.killHard();
        // One log for all rounds.
        exported = static_cast<int>(reader.logText().count("report exported to"));
        for (const QString& name : workbookFiles(reader.workbookFolder())) {
            QJsonObject book = inspectWorkbook(reader.workbookFolder() + "/" + name);
            EXPECT_FALSE(book.isEmpty()) << "round " << round << ": " << name.toStdString();
        }
    }
    // Every archived report is one of those sent, whole or (when the kill came while it
    // arrived) a beginning of it; none is missing that was exported.
    const auto archived = archivedReports(dir.path() + "/Workbooks", 1);
    int whole = 0;
    for (const auto& [name, bytes] : archived) {
        EXPECT_TRUE(first.startsWith(bytes) || second.startsWith(bytes)) << name.toStdString();
        whole += bytes == first || bytes == second ? 1 : 0;
    }
    EXPECT_GE(whole, exported);
    EXPECT_GT(exported, 0);
    // A later start removes what killed writes left behind.
    ReaderInFolder last(dir.path());
    last.writeSettings(channelSettings({}));
    last.start();
    last.stopWith(SIGTERM);
    EXPECT_TRUE(QDir(dir.path() + "/Workbooks")
                    .entryList({"*kelvor-tmp*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());

    // Batches across the kills: every archived report was handed to the export exactly once
    // (the journal names each once), and the workbooks hold one data sheet per report pasted.
    QFile journal(dir.path() + "/Workbooks/Received/Batches.journal");
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    QMap<QString, int> named;
    int pasted = 0;
    for (const QByteArray& line : journal.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() >= 7 && fields[1] == "report") {
            ++named[QString::fromUtf8(fields[5])];
            pasted += fields[6] == "1" ? 1 : 0;
        }
    }
    for (const auto& [name, bytes] : archived) {
        const QString recorded = "Received/Channel 1/" + QFileInfo(name).fileName();
        EXPECT_EQ(named.value(recorded), 1) << recorded.toStdString();
    }
    EXPECT_EQ(named.size(), archived.size());
    int sheets = 0;
    for (const QString& name : workbookFiles(dir.path() + "/Workbooks")) {
        const QJsonObject book = inspectWorkbook(dir.path() + "/Workbooks/" + name);
        EXPECT_FALSE(book.isEmpty()) << name.toStdString();
        sheets += static_cast<int>(dataSheets(book).size());
    }
    EXPECT_EQ(sheets, pasted);
    EXPECT_GE(sheets, whole);
    EXPECT_EQ(workbookFiles(dir.path() + "/Workbooks").size(), 1); // one batch throughout
}

} // namespace
} // namespace kelvor::test
