// The real program and the tester simulator over pseudo-terminals: reports travel from the
// serial lines into the channels' workbook files.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTest>

#include <csignal>
#include <map>

namespace kelvor::test {
namespace {

QByteArray settingsFor(const QString& device0, const QString& device1) {
    return QString("[KelvorReaderCH0]\nEnabled=1\nCommPort=1\n[KelvorReaderCH1]\nEnabled=1\n"
                   "CommPort=2\n[KelvorReaderPorts]\nCom1=%1\nCom2=%2\n")
        .arg(device0, device1)
        .toUtf8();
}

std::map<QString, QByteArray> filesIn(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList({"*.xlsx"}, QDir::Files)) {
        QFile file(folder + "/" + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[name] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
    return files;
}

QJsonObject sheetNamed(const QJsonObject& workbook, const QString& name) {
    for (const QJsonValue& sheet : workbook["sheets"].toArray()) {
        if (sheet["name"].toString() == name) {
            return sheet.toObject();
        }
    }
    return {};
}

QJsonValue cell(const QJsonObject& sheet, const char* address) {
    return sheet.value("cells").toObject().value(address);
}

class EndToEndExport : public ::testing::Test {
protected:
    void SetUp() override {
        if (!workbookReaderAvailable()) {
            GTEST_SKIP() << "python3-openpyxl is not installed";
        }
    }

    // Plays both simulators once the reader holds their lines open, and waits until they
    // are done and the lines have been quiet long enough for every export.
    static void playThrough(ReaderInFolder& reader, Simulator& a, Simulator& b) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return reader.holdsOpen(a.device()) && reader.holdsOpen(b.device()); }, 10000));
        a.play();
        b.play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return a.finished() && b.finished(); }, 90000));
    }
};

TEST_F(EndToEndExport, ReportsLandOnDataSheetsOfOneWorkbookPerChannel) {
    ReaderInFolder reader;
    const QString noise = reader.folder() + "/noise.txt";
    {
        QFile file(noise);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("SELF TEST OK\r\n12,34\r\n\x01\x02\xff garbage\r\n");
    }
    Simulator channel0({"--pause", "2"}, {sample("rate-shipper-lbf-in-50.txt"),
                                          sample("rate-paper-core-n-mm-150.txt"), noise});
    Simulator channel1({}, {sample("load-stack-creep-lbf-in.txt")});
    reader.writeSettings(settingsFor(channel0.device(), channel1.device()));
    reader.start();
    const QString workbooks = reader.folder() + "/Workbooks";
    playThrough(reader, channel0, channel1);
    // Each export writes its workbook file at once, before the program ends.
    ASSERT_TRUE(QTest::qWaitFor([&] { return filesIn(workbooks).size() == 2; }, 10000));
    reader.stopWith(SIGTERM);

    QJsonObject rate;
    QJsonObject load;
    for (const auto& [name, hash] : filesIn(workbooks)) {
        const QJsonObject book = inspectWorkbook(workbooks + "/" + name);
        const QString title = cell(sheetNamed(book, "Data 1"), "A1").toString();
        (title == "CONSTANT RATE TEST DATA" ? rate : load) = book;
    }
    ASSERT_FALSE(rate.isEmpty());
    ASSERT_FALSE(load.isEmpty());
    EXPECT_EQ(cell(sheetNamed(load, "Data 1"), "A1").toString(), "CONSTANT LOAD TEST DATA");

    const QStringList names = sheetNames(rate);
    ASSERT_TRUE(names.contains("Data 2")) << names.join(", ").toStdString();
    EXPECT_LT(names.indexOf("Data 1"), names.indexOf("Data 2"));
    EXPECT_FALSE(names.contains("Data 3")); // the noise made no sheet

    const QJsonObject first = sheetNamed(rate, "Data 1");
    EXPECT_TRUE(cell(first, "A15").toString().startsWith("DEFLECTION"));
    EXPECT_TRUE(cell(first, "A16").isDouble()); // split into numbers
    EXPECT_TRUE(cell(first, "B16").isDouble());
    const QJsonArray margins = first["margins"].toArray();
    EXPECT_DOUBLE_EQ(margins[0].toDouble(), 0.75); // 54 points
    EXPECT_DOUBLE_EQ(margins[1].toDouble(), 0.75);
    EXPECT_DOUBLE_EQ(margins[2].toDouble(), 1.0); // 72 points
    EXPECT_DOUBLE_EQ(margins[3].toDouble(), 1.0);
    EXPECT_EQ(first["header"].toString(), "File: &F  Sheet:&A");
    EXPECT_EQ(first["footer"].toString(), "Page &P of &N");
    EXPECT_EQ(cell(sheetNamed(rate, "Data 2"), "A3").toString().left(15), "Force units in ");
}

// Batches survive restarts: the second run goes on in the workbooks the first one left open
// (their next data sheets, the same files), and makes no new ones.
TEST_F(EndToEndExport, ASecondRunGoesOnInTheWorkbooksTheFirstRunLeftOpen) {
    ReaderInFolder first;
    const QString workbooks = first.folder() + "/Workbooks";
    {
        Simulator a({}, {sample("rate-shipper-lbf-in-50.txt")});
        Simulator b({}, {sample("load-bottle-creep-no-humidity-kgf-mm.txt")});
        first.writeSettings(settingsFor(a.device(), b.device()));
        first.start();
        playThrough(first, a, b);
        ASSERT_TRUE(QTest::qWaitFor([&] { return filesIn(workbooks).size() == 2; }, 10000));
        first.stopWith(SIGTERM);
    }
    const std::map<QString, QByteArray> before = filesIn(workbooks);

    ReaderInFolder second(first.folder());
    Simulator a({}, {sample("rate-paper-core-n-mm-150.txt")});
    Simulator b({}, {sample("load-tube-creep-no-force-n-mm.txt")});
    second.writeSettings(settingsFor(a.device(), b.device()));
    second.start();
    playThrough(second, a, b);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return second.logText().count("report exported to") == 4; }, 10000));
    second.stopWith(SIGTERM);

    const std::map<QString, QByteArray> after = filesIn(workbooks);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, hash] : before) {
        ASSERT_TRUE(after.count(name)) << name.toStdString();
        EXPECT_NE(after.at(name), hash) << name.toStdString() << " did not go on";
        const QJsonObject book = inspectWorkbook(workbooks + "/" + name);
        EXPECT_FALSE(sheetNamed(book, "Data 2").isEmpty()) << name.toStdString();
    }
}

} // namespace
} // namespace kelvor::test
