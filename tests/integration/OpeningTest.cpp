// The real program opening its lines with nobody at the screen: a device missing at the
// start, a device that appears later, a line left behind by a reader killed outright.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace kelvor::test {
namespace {

// Channel n on port n + 1, the device of each port as given.
QByteArray channelSettings(const QStringList& devices) {
    QString text;
    for (int n = 0; n < devices.size(); ++n) {
        text += QString("[KelvorReaderCH%1]\nEnabled=1\nCommPort=%2\nDescription=Press %3\n")
                    .arg(n)
                    .arg(n + 1)
                    .arg(QChar('A' + n));
    }
    text += "[KelvorReaderPorts]\n";
    for (int n = 0; n < devices.size(); ++n) {
        text += QString("Com%1=%2\n").arg(n + 1).arg(devices[n]);
    }
    return text.toUtf8();
}

class Opening : public ::testing::Test {
protected:
    static void waitForLog(ReaderInFolder& reader, const QString& text, int ms = 30000) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return reader.logText().contains(text); }, ms))
            << "not in the log: " << text.toStdString() << "\n"
            << reader.logText().toStdString();
    }
};

// A name that stays with the adapter, as /dev/serial/by-id gives: a link to the line.
TEST_F(Opening, PortNumberOpensTheLineThroughTheLinkItsDeviceNames) {
    ReaderInFolder reader;
    Simulator line({}, {sample("rate-shipper-lbf-in-50.txt")});
    ASSERT_TRUE(QDir(reader.folder()).mkpath("by-id"));
    const QString link = reader.folder() + "/by-id/usb-Maker_X_0042-if00-port0";
    ASSERT_TRUE(QFile::link(line.device(), link));
    reader.writeSettings("[KelvorReaderCH0]\nEnabled=1\nCommPort=3\nDescription=Press A\n"
                         "[KelvorReaderPorts]\nCom3=" +
                         link.toUtf8() + "\n");
    reader.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(line.device()); }, 10000))
        << reader.logText().toStdString();
    line.play();
    waitForLog(reader, "Channel 1 (Press A): report exported to");
    EXPECT_EQ(archivedReports(reader.workbookFolder(), 1).size(), 1);
    EXPECT_FALSE(reader.logText().contains("Communication Error"));
    reader.stopWith(SIGTERM);
}

TEST_F(Opening, MissingDeviceHoldsUpNoOtherChannelAndIsTakenWhenItAppears) {
    ReaderInFolder reader;
    Simulator present({}, {sample("rate-shipper-lbf-in-50.txt")});
    const QString missing = reader.folder() + "/line1";
    reader.writeSettings(channelSettings({present.device(), missing}));
    reader.start();

    // Nobody answers the box: the present line is read and its report exported meanwhile.
    waitForLog(reader, "Channel 2 (Press B): opening port 2 failed: Communication Error: 8002");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(present.device()); }, 10000));
    present.play();
    waitForLog(reader, "Channel 1 (Press A): report exported to");
    EXPECT_EQ(archivedReports(reader.workbookFolder(), 1).size(), 1);
    const QString log = reader.logText();
    EXPECT_TRUE(log.contains("Message \"KelvorReader2\": Communication Error: 8002 / Invalid Port "
                             "Number (" +
                             missing +
                             ": No such file or directory) / Channel 2 (Press B), port 2"))
        << log.toStdString();
    EXPECT_FALSE(log.contains("Answer:"));

    // The adapter is plugged in: the channel opens by itself.
    Simulator late({}, {sample("rate-paper-core-n-mm-150.txt")});
    ASSERT_TRUE(QFile::link(late.device(), missing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.holdsOpen(late.device()); }, 15000));
    waitForLog(reader, "Channel 2 (Press B): line back");
    // The box that told of the missing device goes with the trouble: nobody's late Cancel
    // can stop a channel that records again.
    waitForLog(reader, "Question withdrawn");
    late.play();
    waitForLog(reader, "Channel 2 (Press B): report exported to");
    EXPECT_EQ(archivedReports(reader.workbookFolder(), 2).size(), 1);
    EXPECT_EQ(reader.logText().count("Message \"KelvorReader2\": Communication Error"), 1);
    reader.stopWith(SIGTERM);
}

// A reader killed outright leaves no lock file and no exclusive-use flag on a line whose far
// end stays open: the next reader opens it at once. The flag is looked at directly, since it
// keeps out only readers without root's rights.
TEST_F(Opening, LineOfAKilledReaderOpensForTheNext) {
    Simulator tester({}, {sample("rate-shipper-lbf-in-50.txt")});
    ReaderInFolder first;
    first.writeSettings(channelSettings({tester.device()}));
    first.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.holdsOpen(tester.device()); }, 10000));
    first.killHard();

    const int fd =
        ::open(QFile::encodeName(tester.device()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int exclusive = -1;
    ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    ::close(fd);
    EXPECT_EQ(exclusive, 0) << "the killed reader left the line in exclusive use";

    ReaderInFolder second(first.folder());
    second.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.holdsOpen(tester.device()); }, 10000))
        << second.logText().toStdString();
    tester.play();
    waitForLog(second, "Channel 1 (Press A): report exported to");
    EXPECT_FALSE(second.logText().contains("Communication Error"));
    second.stopWith(SIGTERM);
}

} // namespace
} // namespace kelvor::test
