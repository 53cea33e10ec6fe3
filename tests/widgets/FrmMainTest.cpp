// The main window on the offscreen platform, with fake serial ports.
#include "shell/FrmMain.h"
#include "FakeExport.h"
#include "FakeSerialPort.h"
#include "ScriptedPrompts.h"
#include "shell/Main.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace kelvor {
namespace {

class FrmMainTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompts prompts;
    FakeExport exporter;
    std::vector<FakeSerialPort*> ports; // owned by the window
    int setupShown = 0;
    int released = 0;
    std::unique_ptr<FrmMain> window;

    void SetUp() override { Main(state); }

    void writeSettings(const QByteArray& text) {
        QFile file(dir.filePath("KelvrReader.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString settingsText() {
        QFile file(dir.filePath("KelvrReader.ini"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }

    void load() {
        FrmMain::Services services{
            .prompts = prompts,
            .exporter = exporter,
            .makePort =
                [this](std::function<std::string(int)>) {
                    auto port = std::make_unique<FakeSerialPort>();
                    ports.push_back(port.get());
                    return port;
                },
            .releaseExcel = [this] { ++released; },
        };
        window = std::make_unique<FrmMain>(state, services);
        window->setSetupOpener([this] { ++setupShown; });
        window->load(dir.path());
        window->show();
    }
    QColor background(int channel) {
        return window->commStatus(channel).palette().color(QPalette::Window);
    }
    double pixelsPerTwip() const { return window->screen()->logicalDotsPerInch() / 1440.0; }
};

TEST_F(FrmMainTest, NarrowToolWindowShowsSixLightsAndTheSetupButton) {
    load();
    EXPECT_EQ(window->windowTitle(), "Kelvor Reader");
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // not resizable
    const double k = pixelsPerTwip();
    // The stored size is the outer one, frame included.
    EXPECT_NEAR(window->frameGeometry().width(), 920 * k, 1);
    EXPECT_NEAR(window->frameGeometry().height(), 3200 * k, 1);
    const QRect client = window->rect();
    for (int n = 0; n < 6; ++n) {
        const QLabel& light = window->commStatus(n);
        EXPECT_EQ(light.toolTip(), "TEST");
        EXPECT_EQ(light.text(), "");
        EXPECT_NEAR(light.y(), (720 + 300 * n) * k, 1);
        EXPECT_NEAR(light.width(), 795 * k, 1);
        EXPECT_TRUE(client.contains(light.geometry())) << n;
    }
    auto* more = window->findChild<QPushButton*>("Command1_1");
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->text(), ">>");
    EXPECT_TRUE(client.contains(more->geometry()));
}

TEST_F(FrmMainTest, FirstStartUsesDefaultPositionAndArmsOnlyCommStart) {
    load();
    EXPECT_TRUE(QFile::exists(dir.filePath("KelvrReader.ini")));
    EXPECT_EQ(state.IniPath, dir.filePath("KelvrReader.ini").toStdString());
    EXPECT_EQ(window->pos(), QPoint(qRound(2880 * pixelsPerTwip()), 0));
    EXPECT_TRUE(window->CommStart().isEnabled());
    EXPECT_FALSE(window->CommPoll().isEnabled());
    EXPECT_FALSE(window->StatusUpdate().isEnabled());
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 0.5F);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FrmMainTest, LightsFollowTheChannelStatus) {
    writeSettings("[KelvorReaderCH0]\nEnabled=1\nDescription=Press A\n"
                  "[KelvorReaderCH1]\nEnabled=1\nCommPort=2\n");
    load();
    window->capture().CommStartTick();
    window->capture().StatusUpdateTick();
    EXPECT_EQ(background(0), QColor(255, 255, 0));
    EXPECT_EQ(window->commStatus(0).toolTip(), "Press A\nCom 1: /dev/ttyS0");
    EXPECT_EQ(background(2), window->palette().color(QPalette::Button));

    ports[0]->queueInput("CONSTANT RATE");
    window->capture().CommPollTick();
    window->capture().StatusUpdateTick();
    EXPECT_EQ(background(0), QColor(0, 255, 0));
    EXPECT_EQ(window->commStatus(0).text(), "13");

    for (int tick = 0; tick < 11; ++tick) {
        window->capture().CommPollTick();
    }
    window->capture().StatusUpdateTick();
    EXPECT_EQ(background(0), QColor(255, 0, 0));
    EXPECT_EQ(window->commStatus(0).text(), "To Excel");
}

TEST_F(FrmMainTest, SetupButtonClosesThePortsAndKeepsPolling) {
    writeSettings("[KelvorReaderCH0]\nEnabled=1\n");
    load();
    window->capture().CommStartTick();
    ASSERT_TRUE(ports[0]->portOpen());
    // The dialog was just left with Ok, which armed CommStart; ">>" comes within the second.
    window->CommStart().setEnabled(true);
    window->Command1Click(1);
    EXPECT_FALSE(window->CommStart().isEnabled()); // no ports opening under the new dialog
    EXPECT_FALSE(ports[0]->portOpen());
    EXPECT_EQ(state.ChannelInfo[0].Status, StatusOff);
    EXPECT_TRUE(window->CommPoll().isEnabled());
    EXPECT_EQ(setupShown, 1);
    window->capture().StatusUpdateTick();
    EXPECT_EQ(background(0), window->palette().color(QPalette::Button));
}

TEST_F(FrmMainTest, ClosingWritesSettingsOnceAndReleasesTheSpreadsheet) {
    writeSettings("[KelvorReaderCH3]\nEnabled=1\nCommPort=7\n");
    load();
    window->capture().CommStartTick();
    window->move(qRound(600 * pixelsPerTwip()), qRound(1200 * pixelsPerTwip()));
    int unloads = 0;
    QObject::connect(window.get(), &FrmMain::unloaded, [&] {
        ++unloads;
        EXPECT_TRUE(prompts.ended); // nothing at the end waits for a click
    });
    // A report under way when the window closes is finished and exported, not dropped.
    ports[3]->queueInput("CONSTANT RATE TEST DATA\r\n");
    window->capture().CommPollTick();
    window->close();
    window->close();
    EXPECT_EQ(unloads, 1);
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].report, "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(released, 1);
    EXPECT_FALSE(ports[3]->portOpen());
    const QString text = settingsText();
    EXPECT_TRUE(text.contains("Top=1200")) << text.toStdString();
    EXPECT_TRUE(text.contains("Left=600"));
    EXPECT_TRUE(text.contains("CommPort=7"));
    EXPECT_FALSE(window->CommPoll().isEnabled());
}

TEST_F(FrmMainTest, AStoredPlaceOffTheScreenOpensOnItAndThePlaceSurvivesARoundTrip) {
    // What a start under a window manager wrote when it had put the title bar above the
    // screen: the window must not keep reopening out of reach.
    writeSettings("[KelvorReader]\nTop=-300\nLeft=-15\n");
    load();
    const QRect area = window->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y();
    EXPECT_EQ(window->frameGeometry().topLeft(), area.topLeft());

    // Moved by the user, closed, opened again: it stands where it was left, twice over.
    const QPoint left(qRound(3000 * pixelsPerTwip()), qRound(1500 * pixelsPerTwip()));
    window->move(left);
    window->close();
    for (int start = 0; start < 2; ++start) {
        ports.clear();
        load();
        EXPECT_EQ(window->frameGeometry().topLeft(), left) << start;
        window->close();
    }
    EXPECT_TRUE(settingsText().contains("Top=1500"));
    EXPECT_TRUE(settingsText().contains("Left=3000"));
}

TEST(FrmMainSize, TheFrameIsPartOfTheStoredSize) {
    // 920 x 3200 twips are 61 x 213 pixels at 96 dots an inch, frame included.
    EXPECT_EQ(FrmMain::clientSizeFor(96, QSize(0, 0)), QSize(61, 213));
    EXPECT_EQ(FrmMain::clientSizeFor(96, QSize(2, 21)), QSize(59, 192)); // openbox's frame
    // A frame too large to leave room for the controls does not cut them off.
    EXPECT_EQ(FrmMain::clientSizeFor(96, QSize(20, 60)), QSize(56, 192));
}

} // namespace
} // namespace kelvor
