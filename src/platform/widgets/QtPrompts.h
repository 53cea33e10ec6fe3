#pragma once

#include "platform/Prompts.h"

#include <QPointer>

#include <vector>

class QMessageBox;

namespace kelvor {

// Message boxes and the system beep of the desktop. A message with only an OK button is
// shown without waiting for it: the caller goes on at once, so an unanswered box never holds
// up the work behind it (the reader runs for hours with nobody at the screen). The same
// message already on the screen is not shown twice. A question asked through show() waits;
// one asked through ask() does not: its answer comes through the callback.
class QtPrompts final : public Prompts {
public:
    QtPrompts() = default;
    ~QtPrompts() override;
    QtPrompts(const QtPrompts&) = delete;
    QtPrompts& operator=(const QtPrompts&) = delete;

    PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                      PromptButtons buttons) override;
    void ask(const std::string& text, const std::string& title, PromptIcon icon,
             std::function<void(PromptResult)> answered) override;
    void beep() override;
    void endSession() override;

    // The boxes on the screen now.
    std::vector<QMessageBox*> openBoxes();

private:
    QMessageBox* makeBox(const std::string& text, const std::string& title, PromptIcon icon);

    std::vector<QPointer<QMessageBox>> boxes_; // each deletes itself when closed
    bool ended_ = false;
};

} // namespace kelvor
