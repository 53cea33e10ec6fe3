#pragma once

#include "ManualTimer.h"
#include "ScriptedPrompts.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmSetup.h"
#include "shell/Main.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvor {

// Records the channels it is asked to summarize; `onChannel` may throw to stand in for a
// failing spreadsheet.
class RecordingSummary : public SummaryService {
public:
    void summarizeChannel(int channel, PromptOwner owner) override {
        channels.push_back(channel);
        owners.push_back(owner);
        if (onChannel) {
            onChannel(channel);
        }
    }
    std::vector<int> channels;
    std::vector<PromptOwner> owners;
    std::function<void(int)> onChannel;
};

// The dialogs over a stand-in main window, a hand-driven CommStart and scripted prompts.
// Channels start as a fresh settings file leaves them.
class DialogFixture : public ::testing::Test {
protected:
    QWidget owner;
    AppState state;
    ManualTimer commStart;
    ScriptedPrompts prompts;
    RecordingSummary summary;
    QLocale locale{QLocale::English, QLocale::UnitedStates};
    std::unique_ptr<Dialogs> dialogs;
    std::vector<SerialDevice> presentDevices; // what the devices dialog finds

    void SetUp() override {
        Main(state);
        for (int n = 0; n < ChannelCount; ++n) {
            state.ChannelInfo[n].Description = "Com Channel " + std::to_string(n + 1);
            state.ChannelInfo[n].CommPort = n + 1;
        }
        state.SummaryTraceOffset = 0.5F;
        makeDialogs();
    }
    void makeDialogs() {
        dialogs = std::make_unique<Dialogs>(
            owner, Dialogs::Services{.ChannelInfo = state.ChannelInfo,
                                     .SummaryTraceOffset = state.SummaryTraceOffset,
                                     .ReleaseText = state.ReleaseText,
                                     .CommStart = commStart,
                                     .prompts = prompts,
                                     .summary = summary,
                                     .Platform = state.Platform,
                                     .IniPath = state.IniPath,
                                     .locale = locale,
                                     .listDevices = [this] { return presentDevices; }});
    }
    FrmSetup& openSetup() { return dialogs->showSetup(); }
    // Lets windows that unloaded themselves go.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static double pixelsPerTwip(const QWidget& w) {
        return w.screen()->logicalDotsPerInch() / 1440.0;
    }
};

} // namespace kelvor
