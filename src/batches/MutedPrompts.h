#pragma once

#include "platform/Prompts.h"

#include <cstddef>

namespace kelvor {

// Prompts for an export played again from the journal: its messages were told when it first
// ran, so nothing is shown and nothing beeps; they are only counted. A question is cancelled.
class MutedPrompts final : public Prompts {
public:
    PromptResult show(const std::string&, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        ++messages_;
        return buttons == PromptButtons::RetryCancel ? PromptResult::Cancel : PromptResult::Ok;
    }
    QuestionId ask(const std::string&, const std::string&, PromptIcon,
                   std::function<void(PromptResult)>) override {
        ++messages_;
        return 0;
    }
    void beep() override { ++beeps_; }

    std::size_t messages() const { return messages_; }
    std::size_t beeps() const { return beeps_; }

private:
    std::size_t messages_ = 0;
    std::size_t beeps_ = 0;
};

} // namespace kelvor
