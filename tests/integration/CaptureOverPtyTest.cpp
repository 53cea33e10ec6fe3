// Reports played by the tester simulator over real pseudo-terminals into the main window,
// with its real timers and serial ports.
#include "ProcessHarness.h"
#include "ScriptedPrompts.h"
#include "shell/AppState.h"
#include "shell/FrmMain.h"
#include "shell/Main.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace kelvor {
namespace {

using test::Simulator;

class RecordingExport final : public ReportExport {
public:
    std::vector<std::pair<int, std::string>> reports;
    std::vector<qint64> quietMsBeforeExport;
    QElapsedTimer sinceLastInput;

    using ReportExport::exportReport;
    ExportOutcome exportReport(int channel, std::string& reportText, const ReportOrigin&,
                               std::int32_t&) override {
        reports.emplace_back(channel, reportText);
        quietMsBeforeExport.push_back(sinceLastInput.elapsed());
        reportText.clear();
        return {.pasted = true, .workbook = "Book1", .sheet = "Data 1"};
    }
};

std::string sampleReport() {
    std::string text = "CONSTANT RATE TEST DATA\r\nRun 7\r\nForce units in lbf\r\n"
                       "Deflection units in in\r\n";
    for (int i = 0; i < 12; ++i) {
        text += "0." + std::to_string(100 + i) + "," + std::to_string(20 * i) + ".5\r\n";
    }
    return text;
}

class CaptureOverPty : public ::testing::Test {
protected:
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompts prompts;
    RecordingExport exporter;
    std::unique_ptr<FrmMain> window;

    QString writeReport(const std::string& text) {
        const QString path = dir.filePath("report.txt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

    // Channel 0 enabled on the first device, channel 1 disabled on the second.
    void startReader(const QString& device0, const QString& device1) {
        QFile ini(dir.filePath("KelvrReader.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QString("[KelvorReaderCH0]\nEnabled=1\nCommPort=1\n[KelvorReaderCH1]\n"
                          "Enabled=0\nCommPort=2\n[KelvorReaderPorts]\nCom1=%1\nCom2=%2\n")
                      .arg(device0, device1)
                      .toUtf8());
        ini.close();
        Main(state);
        window = std::make_unique<FrmMain>(state, FrmMain::Services{prompts, exporter, {}, {}});
        window->load(dir.path());
        window->show();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return state.ChannelInfo[0].Status == StatusReady; }, 10000));
        ASSERT_TRUE(prompts.shown.empty()) << prompts.shown.front().text;
    }

    // Plays, then waits for the simulator to finish and the line to go quiet long enough.
    void playAndWait(Simulator& sim, std::size_t expectedReports) {
        sim.play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return sim.finished(); }, 30000));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                // The simulator closing its line afterwards may turn the channel off.
                const std::int32_t status = state.ChannelInfo[0].Status;
                return exporter.reports.size() >= expectedReports &&
                       (status == StatusReady || status == StatusOff);
            },
            10000));
    }
};

TEST_F(CaptureOverPty, ReportBecomesOneExportAfterTheLineFallsQuiet) {
    const std::string report = sampleReport();
    Simulator sim({}, {writeReport(report)});
    Simulator unused({}, {writeReport(report)});
    startReader(sim.device(), unused.device());
    // Watches when text last arrived, to see how long the line was quiet before the export.
    std::size_t seen = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        // The text grows while the report arrives and is handed on when it is complete.
        const std::size_t size = state.ChannelInfo[0].ReceivedText.size();
        if (size > seen) {
            exporter.sinceLastInput.start();
        }
        seen = size;
    });
    watch.start(5);
    unused.play(); // channel 1 is disabled: whatever it sends is never read
    playAndWait(sim, 1);
    ASSERT_EQ(exporter.quietMsBeforeExport.size(), 1U);
    EXPECT_GE(exporter.quietMsBeforeExport[0], 1000); // more than ten quiet 100 ms polls
    ASSERT_EQ(exporter.reports.size(), 1U);
    EXPECT_EQ(exporter.reports[0].first, 0);
    EXPECT_EQ(exporter.reports[0].second, report);
    EXPECT_EQ(state.ChannelInfo[1].Status, StatusOff);
    EXPECT_TRUE(state.ChannelInfo[1].ReceivedText.empty());
    EXPECT_EQ(window->commStatus(1).text(), "");
}

TEST_F(CaptureOverPty, TwoBurstsHalfASecondApartMakeOneReport) {
    const std::string report = sampleReport();
    Simulator sim({"--bursts", "2", "--burst-pause", "0.5"}, {writeReport(report)});
    Simulator other({}, {writeReport(report)});
    startReader(sim.device(), other.device());
    playAndWait(sim, 1);
    ASSERT_EQ(exporter.reports.size(), 1U);
    EXPECT_EQ(exporter.reports[0].second, report);
}

TEST_F(CaptureOverPty, TwoBurstsOneAndAHalfSecondsApartMakeTwoReports) {
    const std::string report = sampleReport();
    Simulator sim({"--bursts", "2", "--burst-pause", "1.5"}, {writeReport(report)});
    Simulator other({}, {writeReport(report)});
    startReader(sim.device(), other.device());
    playAndWait(sim, 2);
    ASSERT_EQ(exporter.reports.size(), 2U);
    EXPECT_EQ(exporter.reports[0].second + exporter.reports[1].second, report);
    EXPECT_FALSE(exporter.reports[0].second.empty());
    EXPECT_FALSE(exporter.reports[1].second.empty());
}

TEST_F(CaptureOverPty, LineThatVanishesMidReportStillExportsWhatArrived) {
    std::string report = sampleReport();
    for (int i = 0; i < 200; ++i) {
        report += "1.000,99.9\r\n";
    }
    Simulator sim({}, {writeReport(report)});
    Simulator other({}, {writeReport(report)});
    startReader(sim.device(), other.device());
    sim.play();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return state.ChannelInfo[0].ReceivedText.size() > 200; }, 10000));
    sim.kill(); // the far end of the line is gone, like an adapter pulled out
    ASSERT_TRUE(QTest::qWaitFor([&] { return !exporter.reports.empty(); }, 10000));
    ASSERT_EQ(exporter.reports.size(), 1U);
    EXPECT_GT(exporter.reports[0].second.size(), 200U);
    EXPECT_EQ(report.rfind(exporter.reports[0].second, 0), 0U); // a true prefix of the report
    ASSERT_TRUE(QTest::qWaitFor([&] { return state.ChannelInfo[0].Status == StatusOff; }, 5000));
}

} // namespace
} // namespace kelvor
