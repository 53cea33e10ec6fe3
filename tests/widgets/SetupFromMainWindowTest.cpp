// The setup dialog opened the ways the main window opens it, with fake serial ports.
#include "DialogFixture.h"
#include "FakeExport.h"
#include "FakeSerialPort.h"
#include "dialogs/DeviceDialog.h"
#include "platform/IniFile.h"
#include "shell/FrmMain.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

namespace kelvor {
namespace {

class SetupFromMainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompts prompts;
    FakeExport exporter;
    RecordingSummary summary;
    std::vector<FakeSerialPort*> ports;            // owned by the window
    std::function<std::string(int)> deviceForPort; // what the ports open by
    std::unique_ptr<FrmMain> window;
    std::unique_ptr<Dialogs> dialogs;

    void load(const QByteArray& settings) {
        QFile file(dir.filePath("KelvrReader.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(settings);
        file.close();
        Main(state);
        FrmMain::Services services{.prompts = prompts,
                                   .exporter = exporter,
                                   .makePort =
                                       [this](std::function<std::string(int)> devices) {
                                           deviceForPort = devices;
                                           auto port = std::make_unique<FakeSerialPort>();
                                           ports.push_back(port.get());
                                           return port;
                                       },
                                   .releaseExcel = {}};
        window = std::make_unique<FrmMain>(state, services);
        dialogs = std::make_unique<Dialogs>(
            *window, Dialogs::Services{.ChannelInfo = state.ChannelInfo,
                                       .SummaryTraceOffset = state.SummaryTraceOffset,
                                       .ReleaseText = state.ReleaseText,
                                       .CommStart = window->CommStart(),
                                       .prompts = prompts,
                                       .summary = summary,
                                       .Platform = state.Platform,
                                       .IniPath = state.IniPath,
                                       .listDevices = [] { return std::vector<SerialDevice>{}; }});
        window->setSetupOpener([this] { dialogs->showSetup(); });
        window->load(dir.path());
        window->show();
    }
    void TearDown() override {
        dialogs.reset();
        window.reset();
    }
};

TEST_F(SetupFromMainWindowTest, MoreButtonOpensOneDialogAndOkReopensThePortsOnTheNextStartTick) {
    load("[KelvorReaderCH0]\nEnabled=1\n");
    window->capture().CommStartTick();
    ASSERT_TRUE(ports[0]->portOpen());
    window->Command1Click(1);
    window->Command1Click(1);
    ASSERT_NE(dialogs->setup(), nullptr);
    EXPECT_EQ(window->findChildren<FrmSetup*>().size(), 1);
    EXPECT_FALSE(ports[0]->portOpen());
    EXPECT_FALSE(window->CommStart().isEnabled());

    dialogs->setup()->Combo1(0).setCurrentIndex(4);
    dialogs->setup()->Command1Click(0);
    EXPECT_TRUE(window->CommStart().isEnabled());
    window->capture().CommStartTick();
    EXPECT_TRUE(ports[0]->portOpen());
    EXPECT_EQ(state.ChannelInfo[0].CommPort, 5);
}

TEST_F(SetupFromMainWindowTest, ADeviceChosenInTheSetupIsOpenedAndNamedAfterOk) {
    load("[KelvorReaderCH0]\nEnabled=1\nCommPort=3\nDescription=Press A\n");
    window->capture().CommStartTick();
    EXPECT_EQ(window->commStatus(0).toolTip(), "Press A\nCom 3: /dev/ttyS2");
    window->Command1Click(1);
    FrmSetup& setup = *dialogs->setup();
    setup.DevicesButton().click();
    ASSERT_NE(setup.deviceDialog(), nullptr);
    setup.deviceDialog()->device(3).setEditText("/dev/ttyUSB4");
    setup.deviceDialog()->okButton().click();
    setup.Command1Click(0);

    window->capture().CommStartTick();
    EXPECT_TRUE(ports[0]->portOpen());
    EXPECT_EQ(deviceForPort(3), "/dev/ttyUSB4");
    EXPECT_EQ(window->commStatus(0).toolTip(), "Press A\nCom 3: /dev/ttyUSB4");
    EXPECT_EQ(readProfileString("KelvorReaderPorts", "Com3", "",
                                dir.filePath("KelvrReader.ini").toStdString()),
              "/dev/ttyUSB4");
}

TEST_F(SetupFromMainWindowTest, CancelOfACommunicationErrorOpensTheSetupDialog) {
    load("[KelvorReaderCH1]\nEnabled=1\nCommPort=9\n");
    ports[1]->failOpen(1, 8002, "Invalid Port Number");
    window->capture().CommStartTick(); // the opener is wired before the first tick
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(dialogs->setup(), nullptr); // the box waits for nobody
    ASSERT_TRUE(prompts.answerQuestion(PromptResult::Cancel));
    ASSERT_NE(dialogs->setup(), nullptr);
    EXPECT_EQ(dialogs->setup()->Combo1(1).currentText(), "Com 9");
}

TEST_F(SetupFromMainWindowTest, EndingWithTheDialogsOpenIsClean) {
    load("[KelvorReaderCH0]\nEnabled=1\n");
    window->capture().CommStartTick();
    window->Command1Click(1);
    ASSERT_NE(dialogs->setup(), nullptr);
    dialogs->showAbout();
    int unloads = 0;
    QObject::connect(window.get(), &FrmMain::unloaded, [&] { ++unloads; });
    window->close(); // as SIGTERM does
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(prompts.ended);
    EXPECT_TRUE(QFile(dir.filePath("KelvrReader.ini")).size() > 0);
}

TEST_F(SetupFromMainWindowTest, EndingWhileAPortQuestionWaitsOpensNoSetupOnALateAnswer) {
    load("[KelvorReaderCH1]\nEnabled=1\nCommPort=9\n[KelvorReaderCH2]\nEnabled=1\n");
    ports[1]->failOpen(1, 8010, "The port is not available");
    window->capture().CommStartTick();
    EXPECT_TRUE(ports[2]->portOpen()); // channels after the question are not held up
    window->close();
    EXPECT_TRUE(window->isUnloaded());
    // Closing the ports withdrew the question: no late answer can come.
    EXPECT_EQ(prompts.withdrawn.size(), 1U);
    EXPECT_FALSE(prompts.answerQuestion(PromptResult::Cancel));
    EXPECT_EQ(dialogs->setup(), nullptr);
}

} // namespace
} // namespace kelvor
