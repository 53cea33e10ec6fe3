#include "shell/FrmMain.h"

#include "Version.h"
#include "platform/PlatformConfig.h"
#include "platform/SystemSerialPort.h"
#include "platform/widgets/AppIcon.h"
#include "platform/widgets/Twips.h"
#include "platform/widgets/TwipsLayout.h"
#include "platform/widgets/WindowPlace.h"
#include "shell/Main.h"
#include "shell/Settings.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace kelvor {
namespace {

constexpr double WindowWidthTwips = 920;
constexpr double WindowHeightTwips = 3200;
// The lowest control (">>") ends here; the window never gets shorter than this.
constexpr double ControlsBottomTwips = 2580 + 255 + 45;
constexpr double ControlsRightTwips = 795 + 45;
// Keeps a wild stored position from overflowing pixel arithmetic.
constexpr double PositionLimitTwips = 1.0e7;

QColor colourFromStored(std::uint32_t stored, const QPalette& palette) {
    if ((stored & 0x80000000U) != 0) {
        return palette.color(QPalette::Button); // the system's button-face colour
    }
    return QColor(static_cast<int>(stored & 0xFFU), static_cast<int>((stored >> 8) & 0xFFU),
                  static_cast<int>((stored >> 16) & 0xFFU));
}

} // namespace

FrmMain::FrmMain(AppState& state, Services services)
    : state_(state), services_(std::move(services)),
      statusUpdate_(1,
                    [this] {
                        if (capture_)
                            capture_->StatusUpdateTick();
                    }),
      commPoll_(100,
                [this] {
                    if (capture_)
                        capture_->CommPollTick();
                }),
      commStart_(1000, [this] {
          if (capture_)
              capture_->CommStartTick();
      }) {
    setWindowTitle("Kelvor Reader");
    setWindowIcon(appIcon());
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
}

FrmMain::~FrmMain() = default;

double FrmMain::dpi() const {
    return screenDpi(*this);
}

void FrmMain::buildControls() {
    auto* image = new QLabel(this);
    image->setPixmap(appIconPixmap(twipsToPixels(480, dpi())));
    placeTwips(*image, 180, 0, 480, 480);

    auto* label = new QLabel("Status:", this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(*label, 60, 480, 615, 195);

    QFont lightFont("Arial");
    lightFont.setPointSizeF(8.25);
    for (int n = 0; n < ChannelCount; ++n) {
        auto* light = new QLabel(this);
        light->setObjectName(QString("CommStatus%1").arg(n));
        light->setAlignment(Qt::AlignCenter);
        light->setFrameStyle(QFrame::Box | QFrame::Plain);
        light->setFont(lightFont);
        light->setAutoFillBackground(true);
        light->setToolTip("TEST");
        placeTwips(*light, 0, 720 + 300 * n, 795, 255);
        commStatus_[n] = light;
    }

    command1_[1] = new QPushButton(">>", this);
    command1_[1]->setObjectName("Command1_1");
    placeTwips(*command1_[1], 0, 2580, 795, 255);
    // "Close" sits outside the visible width, as it always has; the close box does the same.
    command1_[0] = new QPushButton("Close", this);
    command1_[0]->setObjectName("Command1_0");
    placeTwips(*command1_[0], 6660, 1740, 1275, 375);
    for (int index = 0; index < 2; ++index) {
        connect(command1_[index], &QPushButton::clicked, this,
                [this, index] { Command1Click(index); });
    }
}

void FrmMain::load(const QString& programFolder) {
    state_.IniPath = iniPathIn(programFolder);

    SettingsValues values{.Top = 0.0F,
                          .Left = 0.0F,
                          .SummaryTraceOffset = state_.SummaryTraceOffset,
                          .channels = state_.ChannelInfo};
    LoadSaveSettings(SettingsRead, state_.IniPath, values, services_.prompts);
    state_.SummaryTraceOffset = values.SummaryTraceOffset;
    const double d = dpi();
    const double top = std::clamp<double>(values.Top, -PositionLimitTwips, PositionLimitTwips);
    const double left = std::clamp<double>(values.Left, -PositionLimitTwips, PositionLimitTwips);
    // The stored place is the frame's top-left corner; one off every screen (another screen
    // setup, or a title bar the window manager once put above the screen) opens on the
    // primary screen instead of out of reach.
    const QSize outer(twipsToPixels(WindowWidthTwips, d), twipsToPixels(WindowHeightTwips, d));
    move(placeOnScreen(*this, QPoint(twipsToPixels(left, d), twipsToPixels(top, d)), outer));

    state_.Platform = readPlatformConfig(state_.IniPath);
    // Looked up at every opening, so a device chosen in the setup applies when the ports
    // reopen after it.
    auto deviceForPort = [this](int port) { return state_.Platform.deviceForPort(port); };
    std::array<SerialPort*, ChannelCount> ports{};
    for (int n = 0; n < ChannelCount; ++n) {
        ports_[n] = services_.makePort ? services_.makePort(deviceForPort)
                                       : makeSystemSerialPort(deviceForPort);
        ports[n] = ports_[n].get();
    }
    capture_ = std::make_unique<SerialCapture>(SerialCapture::Wiring{
        .channels = state_.ChannelInfo,
        .ports = ports,
        .commStart = commStart_,
        .commPoll = commPoll_,
        .statusUpdate = statusUpdate_,
        .lights = *this,
        .prompts = services_.prompts,
        .exporter = services_.exporter,
        .showSetup = [this] { showSetup(); },
        .archive = services_.archive,
        .log = services_.log,
        .deviceForPort = deviceForPort,
    });

    commStart_.setEnabled(true);
    applySize();
}

QSize FrmMain::clientSizeFor(double dpi, QSize frame) {
    const int width = std::max(twipsToPixels(WindowWidthTwips, dpi) - frame.width(),
                               twipsToPixels(ControlsRightTwips, dpi));
    const int height = std::max(twipsToPixels(WindowHeightTwips, dpi) - frame.height(),
                                twipsToPixels(ControlsBottomTwips, dpi));
    return {width, height};
}

// The stored size is the outer size; the client area is what is left inside the frame.
void FrmMain::applySize() {
    sizedForFrame_ = frameGeometry().size() - geometry().size();
    setFixedSize(clientSizeFor(dpi(), sizedForFrame_));
}

void FrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applySize();
}

// A window manager puts its frame around the window only after it is shown, and says how
// large the frame is later still: the size is worked out again whenever the frame changed.
bool FrmMain::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    const QEvent::Type type = event->type();
    if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowActivate) &&
        sizedForFrame_.width() >= 0 &&
        frameGeometry().size() - geometry().size() != sizedForFrame_) {
        applySize();
        // The frame just came: a window manager that put the window itself where its title
        // bar is out of reach has it moved back where it can be taken.
        const QPoint place =
            placeOnScreen(*this, frameGeometry().topLeft(), frameGeometry().size());
        if (place != frameGeometry().topLeft()) {
            move(place);
        }
    }
    return handled;
}

void FrmMain::CommOpen() {
    if (capture_) {
        capture_->CommOpen();
    }
}

void FrmMain::CommClose() {
    if (capture_) {
        capture_->CommClose();
    }
}

void FrmMain::Command1Click(int index) {
    if (index == 0) {
        close();
    } else if (index == 1) {
        // A CommStart still pending from the last time the dialog closed must not open the
        // ports under the dialog that opens now.
        commStart_.setEnabled(false);
        commPoll_.setEnabled(true);
        CommClose();
        showSetup();
    }
}

void FrmMain::showSetup() {
    if (!unloaded_ && openSetup_) {
        openSetup_();
    }
}

void FrmMain::paintLight(int channel, std::uint32_t colour, const std::string& caption) {
    QLabel& light = *commStatus_.at(channel);
    QPalette palette = light.palette();
    palette.setColor(QPalette::Window, colourFromStored(colour, QWidget::palette()));
    light.setPalette(palette);
    light.setText(QString::fromStdString(caption));
}

void FrmMain::setTooltip(int channel, const std::string& text) {
    commStatus_.at(channel)->setToolTip(QString::fromStdString(text));
}

void FrmMain::unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    // Ending must not wait for anybody: open boxes close and nothing asks from here on.
    services_.prompts.endSession();
    commStart_.setEnabled(false);
    commPoll_.setEnabled(false);
    statusUpdate_.setEnabled(false);
    CommClose();
    // Reports cut short by the closing, and those still waiting, go into their workbooks
    // before the spreadsheet application lets go of them.
    if (capture_) {
        capture_->finishHeldReports();
    }
    if (services_.releaseExcel) {
        services_.releaseExcel();
    }
    if (!state_.IniPath.empty()) {
        const double d = dpi();
        // The frame's corner, as the window stands: the point the next start restores.
        const QPoint corner = frameGeometry().topLeft();
        SettingsValues values{.Top = static_cast<float>(pixelsToTwips(corner.y(), d)),
                              .Left = static_cast<float>(pixelsToTwips(corner.x(), d)),
                              .SummaryTraceOffset = state_.SummaryTraceOffset,
                              .channels = state_.ChannelInfo};
        LoadSaveSettings(SettingsWrite, state_.IniPath, values, services_.prompts);
    }
    // Leaving the topmost band would only matter to a window that stays; this one is closing.
    emit unloaded();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

} // namespace kelvor
