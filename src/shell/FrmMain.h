#pragma once

#include "capture/ReportArchive.h"
#include "capture/ReportExport.h"
#include "capture/SerialCapture.h"
#include "capture/StatusLights.h"
#include "platform/Prompts.h"
#include "platform/QtTimer.h"
#include "platform/SerialPort.h"
#include "shell/AppState.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace kelvor {

// The narrow always-on-top main window: one status light per channel, ">>" for the setup
// dialog, and the three timers that drive capture and export.
class FrmMain final : public QWidget, private StatusLights {
    Q_OBJECT
public:
    // Makes the serial port of one channel; the argument maps a port number to a device.
    using PortFactory =
        std::function<std::unique_ptr<SerialPort>(std::function<std::string(int)> deviceForPort)>;

    struct Services {
        Prompts& prompts;
        ReportExport& exporter;
        PortFactory makePort;               // empty: the system's serial ports
        std::function<void()> releaseExcel; // drops the spreadsheet application at exit
        ReportArchive* archive = nullptr;   // not owned; none: reports are not archived
        EventLog* log = nullptr;            // not owned; none: nothing is logged
    };

    FrmMain(AppState& state, Services services);
    ~FrmMain() override;

    // The load handler: settings path in programFolder, settings read, ports armed.
    void load(const QString& programFolder);

    void CommOpen();
    void CommClose();
    Timer& CommStart() { return commStart_; }
    Timer& CommPoll() { return commPoll_; }
    Timer& StatusUpdate() { return statusUpdate_; }

    void Command1Click(int index);
    void setSetupOpener(std::function<void()> openSetup) { openSetup_ = std::move(openSetup); }
    void showSetup();

    QLabel& commStatus(int channel) { return *commStatus_.at(channel); }
    SerialCapture& capture() { return *capture_; }
    bool isUnloaded() const { return unloaded_; }

    // The client size that makes the window, with a frame of `frame` pixels around it (the
    // frame's extra width and height), 920 x 3200 twips from outside; never so small that the
    // lights or ">>" are cut off.
    static QSize clientSizeFor(double dpi, QSize frame);

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void paintLight(int channel, std::uint32_t colour, const std::string& caption) override;
    void setTooltip(int channel, const std::string& text) override;
    void buildControls();
    void applySize();
    double dpi() const;
    void unload();

    AppState& state_;
    Services services_;
    QtTimer statusUpdate_;
    QtTimer commPoll_;
    QtTimer commStart_;
    std::array<QLabel*, ChannelCount> commStatus_{};
    std::array<QPushButton*, 2> command1_{};
    std::array<std::unique_ptr<SerialPort>, ChannelCount> ports_;
    std::unique_ptr<SerialCapture> capture_;
    std::function<void()> openSetup_;
    bool unloaded_ = false;
    QSize sizedForFrame_{-1, -1}; // the frame the size was last worked out for
};

} // namespace kelvor
