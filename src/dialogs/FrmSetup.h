#pragma once

#include "capture/ChannelInfo.h"
#include "dialogs/SummaryService.h"
#include "platform/Prompts.h"
#include "platform/Timer.h"

#include <QDialog>
#include <QLocale>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kelvor {

// "Kelvor Serial Net Setup": enable, describe and give a port to each channel, set the summary
// trace offset, rebuild all summaries now, open the About box. It edits the values in memory
// only; "Ok" and "Cancel" re-arm CommStart so the ports reopen a second after it closes.
// Every opening is a new dialog, loaded from the stored values.
class FrmSetup final : public QDialog {
    Q_OBJECT
public:
    struct Services {
        ChannelTable& ChannelInfo;
        float& SummaryTraceOffset;
        Timer& CommStart;
        Prompts& prompts;
        SummaryService& summary;
        std::function<void()> showAbout;
        QLocale locale = QLocale::system();
    };

    FrmSetup(QWidget& owner, Services services);

    // Button indexes: 0 "Ok", 1 "Cancel", 2 "About", 3 "Summarize Now".
    void Command1Click(int index);

    QLineEdit& TextDesc(int n) { return *textDesc_.at(n); }
    QComboBox& Combo1(int n) { return *combo1_.at(n); }
    QCheckBox& Check1(int n) { return *check1_.at(n); }
    QLineEdit& TraceOffset() { return *traceOffset_; }
    QPushButton& Command1(int index) { return *command1_.at(index); }
    // Left through "Ok", "Cancel" or the close box; the window goes away with the next
    // turn of the event loop.
    bool isUnloaded() const { return unloaded_; }

protected:
    void reject() override; // the Esc key answers as "Cancel"
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void load();
    void okClick();
    void cancelClick();
    void summarizeNow();
    std::string sharedPort();
    std::optional<float> typedTraceOffset();
    void unloadForm();

    Services services_;
    std::array<QLineEdit*, ChannelCount> textDesc_{};
    std::array<QComboBox*, ChannelCount> combo1_{};
    std::array<QCheckBox*, ChannelCount> check1_{};
    QLineEdit* traceOffset_ = nullptr;
    std::array<QPushButton*, 4> command1_{};
    bool unloaded_ = false;
    bool centred_ = false;
};

} // namespace kelvor
