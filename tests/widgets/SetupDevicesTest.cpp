// The devices behind the port numbers, as the setup dialog shows and chooses them.
#include "DialogFixture.h"
#include "dialogs/DeviceDialog.h"
#include "platform/IniFile.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace kelvor {
namespace {

const std::string AdapterA = "/dev/serial/by-id/usb-Maker_A_0012-if00-port0";
const std::string AdapterB = "/dev/serial/by-id/usb-Maker_B_0077-if00-port0";

class SetupDevicesTest : public DialogFixture {
protected:
    QTemporaryDir dir;
    const std::string settings = "[KelvorReaderCH0]\nCommPort=3\n"
                                 "[KelvorReaderPorts]\nCom2=/dev/ttyUSB7\nCom3=" +
                                 AdapterA + "\n";

    void SetUp() override {
        DialogFixture::SetUp();
        state.IniPath = dir.filePath("KelvrReader.ini").toStdString();
        QFile file(QString::fromStdString(state.IniPath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(settings.data(), static_cast<qint64>(settings.size()));
        file.close();
        state.Platform = readPlatformConfig(state.IniPath);
        state.ChannelInfo[0].CommPort = 3;
        presentDevices = {{AdapterA, AdapterA + " (ttyUSB1)"},
                          {AdapterB, AdapterB + " (ttyUSB0)"},
                          {"/dev/ttyUSB0", "/dev/ttyUSB0"},
                          {"/dev/ttyUSB1", "/dev/ttyUSB1"}};
    }
    std::string fileText() const {
        QFile file(QString::fromStdString(state.IniPath));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    }
    static std::string entryTip(QComboBox& combo, int row) {
        return combo.itemData(row, Qt::ToolTipRole).toString().toStdString();
    }
    DeviceDialog& openDevices(FrmSetup& setup) {
        setup.DevicesButton().click();
        EXPECT_NE(setup.deviceDialog(), nullptr);
        return *setup.deviceDialog();
    }
};

TEST_F(SetupDevicesTest, EntriesNameTheirDevicesAndTheClosedListStillReadsCom) {
    FrmSetup& setup = openSetup();
    QComboBox& ports = setup.Combo1(0);
    EXPECT_EQ(ports.currentText(), "Com 3");
    EXPECT_EQ(ports.itemText(2), "Com 3");
    EXPECT_EQ(entryTip(ports, 2), "Com 3: " + AdapterA);
    EXPECT_EQ(entryTip(ports, 1), "Com 2: /dev/ttyUSB7");
    EXPECT_EQ(entryTip(ports, 15), "Com 16: /dev/ttyS15"); // the system's usual device
    EXPECT_EQ(ports.toolTip().toStdString(), "Com 3: " + AdapterA);
    ports.setCurrentIndex(1);
    EXPECT_EQ(ports.toolTip().toStdString(), "Com 2: /dev/ttyUSB7");

    ports.showPopup();
    auto* delegate = qobject_cast<PortEntryDelegate*>(ports.view()->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->entryText(ports.model()->index(2, 0)),
              QString::fromStdString("Com 3   " + AdapterA));
    EXPECT_GT(ports.view()->minimumWidth(),
              ports.fontMetrics().horizontalAdvance(QString::fromStdString(AdapterA)));
    ports.hidePopup();
}

TEST_F(SetupDevicesTest, DevicesDialogListsThePresentDevicesAndShowsTheCurrentOnes) {
    FrmSetup& setup = openSetup();
    DeviceDialog& devices = openDevices(setup);
    QComboBox& third = devices.device(3);
    ASSERT_EQ(third.count(), 4);
    EXPECT_EQ(third.itemText(0), QString::fromStdString(AdapterA + " (ttyUSB1)"));
    EXPECT_EQ(third.currentIndex(), 0);
    EXPECT_EQ(devices.device(2).currentText(), "/dev/ttyUSB7"); // not present, still shown
    EXPECT_EQ(devices.device(5).currentText(), "/dev/ttyS4");
    EXPECT_EQ(devices.devices().at(3), AdapterA); // the name, not its label
    devices.cancelButton().click();
    settle();
    EXPECT_EQ(setup.deviceDialog(), nullptr);
}

TEST_F(SetupDevicesTest, OkWritesTheChosenDevicesAndUsualOnesLeaveNoKey) {
    FrmSetup& setup = openSetup();
    DeviceDialog& devices = openDevices(setup);
    devices.device(3).setCurrentIndex(1);              // adapter B now
    devices.device(2).setEditText("/dev/ttyS1");       // back to the usual device
    devices.device(9).setEditText("  /dev/ttyACM3  "); // typed
    devices.okButton().click();
    // The entries show the choice at once; nothing is stored before "Ok".
    EXPECT_EQ(entryTip(setup.Combo1(4), 2), "Com 3: " + AdapterB);
    EXPECT_EQ(setup.Combo1(0).toolTip().toStdString(), "Com 3: " + AdapterB);
    EXPECT_EQ(fileText(), settings);
    EXPECT_EQ(state.Platform.deviceForPort(3), AdapterA);

    setup.Command1Click(0);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(state.Platform.deviceForPort(3), AdapterB);
    EXPECT_EQ(state.Platform.deviceForPort(2), "/dev/ttyS1");
    EXPECT_EQ(state.Platform.deviceForPort(9), "/dev/ttyACM3");
    const PlatformConfig reread = readPlatformConfig(state.IniPath);
    EXPECT_EQ(reread.portDevices, (std::map<int, std::string>{{3, AdapterB}, {9, "/dev/ttyACM3"}}));
    EXPECT_NE(fileText().find("[KelvorReaderCH0]\nCommPort=3\n"), std::string::npos);
}

TEST_F(SetupDevicesTest, CancelOrTheCloseBoxStoresNoDevice) {
    for (const bool closeBox : {false, true}) {
        FrmSetup& setup = openSetup();
        DeviceDialog& devices = openDevices(setup);
        devices.device(3).setCurrentIndex(1);
        devices.okButton().click();
        if (closeBox) {
            setup.close();
        } else {
            setup.Command1Click(1);
        }
        settle();
        EXPECT_EQ(fileText(), settings);
        EXPECT_EQ(state.Platform.deviceForPort(3), AdapterA);
        // The next opening starts from what is stored.
        EXPECT_EQ(entryTip(openSetup().Combo1(0), 2), "Com 3: " + AdapterA);
        dialogs->setup()->Command1Click(1);
        settle();
    }
}

TEST_F(SetupDevicesTest, OkWithoutAChangeLeavesTheFileAlone) {
    QFile::remove(QString::fromStdString(state.IniPath));
    FrmSetup& setup = openSetup();
    openDevices(setup).okButton().click();
    setup.Command1Click(0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(state.IniPath)));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SetupDevicesTest, DevicesButtonSitsBelowCancelBesideSummarizeNowOverlappingNothing) {
    FrmSetup& setup = openSetup();
    const QPushButton& button = setup.DevicesButton();
    const double k = pixelsPerTwip(setup);
    EXPECT_NEAR(button.x(), 5940 * k, 1);
    EXPECT_NEAR(button.y(), 2820 * k, 1);
    EXPECT_TRUE(setup.rect().contains(button.geometry()));
    EXPECT_LT(button.fontMetrics().horizontalAdvance(button.text()), button.width());
    for (const QWidget* other : setup.findChildren<QWidget*>()) {
        if (other != &button && other->parentWidget() == &setup && other->isVisible()) {
            EXPECT_FALSE(button.geometry().intersects(other->geometry()))
                << other->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace kelvor
