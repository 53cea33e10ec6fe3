// Ports of the Windows reader under Wine that are not there, or go away and come back.
#include "ComLine.h"
#include "ProcessHarness.h"
#include "Samples.h"
#include "WindowsReader.h"
#include "WineHelper.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

namespace kelvor::test {
namespace {

class WindowsPortFaults : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString why = wineSkipReason(); !why.isEmpty()) {
            GTEST_SKIP() << why.toStdString();
        }
        QFile::remove(comLink(9)); // the port that is not there
    }
    void TearDown() override { QFile::remove(comLink(9)); }

    static std::string logOf(const WindowsReader& reader) { return reader.logText().toStdString(); }
};

const char* const MissingPortMessage = "Message \"KelvorReader2\": Communication Error: 8002 / "
                                       "Invalid Port Number (COM9: ";

// Nobody answers the box: the channel that opened records, and the missing one is taken by
// itself once its adapter is there.
TEST_F(WindowsPortFaults, APortThatIsNotThereHoldsUpNoOtherChannelAndIsTakenWhenItAppears) {
    ComLine lineA(comLink(5));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}, {1, "Press B", 9}}));
    reader.start();
    ASSERT_TRUE(reader.waitForLog(MissingPortMessage)) << logOf(reader);
    const QString log = reader.logText();
    const QString failed = "Channel 2 (Press B): opening port 9 failed: Communication Error: "
                           "8002 / Invalid Port Number (COM9: ";
    EXPECT_TRUE(log.contains(failed)) << log.toStdString();
    EXPECT_LT(log.indexOf("Channel 1 (Press A): port 5 opened"), log.indexOf(failed));

    const QByteArray report = sampleReport("rate-shipper-lbf-in-50.txt");
    lineA.send(report);
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): report exported to")) << logOf(reader);
    ComLine lineB(comLink(9)); // the adapter plugged in; the box still waits
    ASSERT_TRUE(reader.waitForLog("Channel 2 (Press B): line back, port 9 opened again", 1, 15000))
        << logOf(reader);
    lineB.send(report);
    ASSERT_TRUE(reader.waitForLog("Channel 2 (Press B): report exported to")) << logOf(reader);
    EXPECT_EQ(reader.logText().count(MissingPortMessage), 1);
}

TEST_F(WindowsPortFaults, RetryOnceThePortIsThereOpensItAndBothChannelsReceive) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || WineHelper::program().isEmpty()) {
        GTEST_SKIP() << "answering the box needs an X display and kelvor-wine-helper.exe";
    }
    ComLine lineA(comLink(5));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}, {1, "Press B", 9}}));
    reader.start("windows");
    ASSERT_TRUE(reader.waitForLog(MissingPortMessage)) << logOf(reader);
    ComLine lineB(comLink(9)); // the adapter plugged in while the box is up
    WineHelper user;
    // The log tells of the box just before it is shown.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return user.ask("enter KelvorReader2") == "pressed"; }, 20000));
    ASSERT_TRUE(reader.waitForLog("Answer: Retry")) << logOf(reader);
    ASSERT_TRUE(reader.waitForLog("Channel 2 (Press B): line back, port 9 opened"))
        << logOf(reader);

    const QByteArray report = sampleReport("rate-shipper-lbf-in-50.txt");
    lineA.send(report);
    lineB.send(report);
    ASSERT_TRUE(reader.waitForLog("report exported to", 2)) << logOf(reader);
    EXPECT_TRUE(archivedReports(reader.workbookFolder(), 1).value(0).second == report);
    EXPECT_TRUE(archivedReports(reader.workbookFolder(), 2).value(0).second == report);
}

TEST_F(WindowsPortFaults, TheCloseMessageWhileTheBoxWaitsEndsTheReaderCleanly) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "the close message needs a window: no X display";
    }
    ComLine lineA(comLink(5));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}, {1, "Press B", 9}}));
    reader.start("windows");
    ASSERT_TRUE(reader.waitForLog(MissingPortMessage)) << logOf(reader);
    reader.closeWindows();
    ASSERT_TRUE(reader.waitForExit()) << logOf(reader);
    EXPECT_EQ(reader.exitCode(), 0);
    EXPECT_TRUE(reader.logText().trimmed().endsWith("Reader ended")) << logOf(reader);
    EXPECT_TRUE(reader.settingsText().contains("[KelvorReaderCH5]"));
}

TEST_F(WindowsPortFaults, ALinePulledWhileIdleComesBackAndCarriesTheNextReport) {
    auto line = std::make_unique<ComLine>(comLink(5));
    WindowsReader reader;
    reader.writeSettings(settingsFor({{0, "Press A", 5}}));
    reader.start();
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): port 5 opened")) << logOf(reader);
    const QByteArray first = sampleReport("rate-shipper-lbf-in-50.txt");
    line->send(first);
    ASSERT_TRUE(reader.waitForLog("report exported to")) << logOf(reader);

    line->pull();
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): line lost (")) << logOf(reader);
    // Plugged in again under the same name, a new device behind it; the reader tries every
    // three seconds.
    line = std::make_unique<ComLine>(comLink(5));
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): line back, port 5 opened again", 1, 15000))
        << logOf(reader);
    const QByteArray second = sampleReport("rate-paper-core-n-mm-150.txt");
    line->send(second);
    ASSERT_TRUE(reader.waitForLog("Channel 1 (Press A): report exported to Press A ", 2))
        << logOf(reader);
    EXPECT_TRUE(reader.logText().contains(", sheet Data 2"));

    // Nothing was cut short: the line went while it was quiet.
    const auto archived = archivedReports(reader.workbookFolder(), 1);
    ASSERT_EQ(archived.size(), 2);
    EXPECT_TRUE(archived[0].second == first);
    EXPECT_TRUE(archived[1].second == second);
    EXPECT_FALSE(archived[0].first.contains("cut short"));
}

} // namespace
} // namespace kelvor::test
