#include "shell/LoggedPrompts.h"

#include <utility>

namespace kelvor {

PromptResult LoggedPrompts::show(const std::string& text, const std::string& title, PromptIcon icon,
                                 PromptButtons buttons) {
    return showFor(PromptOwner{}, text, title, icon, buttons);
}

PromptResult LoggedPrompts::showFor(PromptOwner owner, const std::string& text,
                                    const std::string& title, PromptIcon icon,
                                    PromptButtons buttons) {
    log_.write("Message \"" + title + "\": " + text);
    const PromptResult answer = shown_.showFor(owner, text, title, icon, buttons);
    if (buttons == PromptButtons::RetryCancel) {
        log_.write(answer == PromptResult::Retry ? "Answer: Retry" : "Answer: Cancel");
    }
    return answer;
}

QuestionId LoggedPrompts::ask(const std::string& text, const std::string& title, PromptIcon icon,
                              std::function<void(PromptResult)> answered) {
    log_.write("Message \"" + title + "\": " + text);
    return shown_.ask(
        text, title, icon, [this, answered = std::move(answered)](PromptResult answer) {
            log_.write(answer == PromptResult::Retry ? "Answer: Retry" : "Answer: Cancel");
            answered(answer);
        });
}

void LoggedPrompts::withdraw(QuestionId question) {
    if (question != 0) {
        log_.write("Question withdrawn: it no longer holds");
    }
    shown_.withdraw(question);
}

void LoggedPrompts::beep() {
    log_.write("Beep: a transmission was not a test report");
    shown_.beep();
}

} // namespace kelvor
