#pragma once

#include "platform/Prompts.h"
#include "util/EventLog.h"

namespace kelvor {

// Every message shown, and every answer given, also goes into the event log.
class LoggedPrompts final : public Prompts {
public:
    LoggedPrompts(Prompts& shown, EventLog& log) : shown_(shown), log_(log) {}

    PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                      PromptButtons buttons) override;
    PromptResult showFor(PromptOwner owner, const std::string& text, const std::string& title,
                         PromptIcon icon, PromptButtons buttons) override;
    QuestionId ask(const std::string& text, const std::string& title, PromptIcon icon,
                   std::function<void(PromptResult)> answered) override;
    void withdraw(QuestionId question) override;
    void beep() override;
    void endSession() override { shown_.endSession(); }

private:
    Prompts& shown_;
    EventLog& log_;
};

} // namespace kelvor
