#pragma once

#include "platform/Prompts.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kelvor {

// Stands in for the message boxes: records every message, answers from a script (Ok once the
// script runs out) and counts beeps. `whileOpen` runs inside show(), before it answers,
// standing in for what the box's message loop lets through (timer ticks, for instance).
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        std::string text;
        std::string title;
        PromptIcon icon;
        PromptButtons buttons;
        PromptOwner owner = {}; // the window it belongs to; none: the main window
    };

    PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                      PromptButtons buttons) override;
    PromptResult showFor(PromptOwner owner, const std::string& text, const std::string& title,
                         PromptIcon icon, PromptButtons buttons) override;
    // Recorded like a Retry/Cancel message; the answer waits for answerQuestion().
    QuestionId ask(const std::string& text, const std::string& title, PromptIcon icon,
                   std::function<void(PromptResult)> answered) override;
    void withdraw(QuestionId question) override;
    void beep() override { ++beeps; }
    void endSession() override { ended = true; }

    // The answers to the next messages, in order.
    void script(std::initializer_list<PromptResult> answers);
    // How many recorded messages have exactly this text.
    std::size_t count(const std::string& text) const;
    // Answers the oldest question still waiting; false when none waits.
    bool answerQuestion(PromptResult answer);
    std::size_t waitingQuestions() const { return questions_.size(); }

    std::vector<Shown> shown;
    std::deque<PromptResult> answers;
    int beeps = 0;
    bool ended = false;
    std::function<void(const Shown&)> whileOpen;
    std::vector<QuestionId> withdrawn;

private:
    struct Question {
        QuestionId id;
        std::function<void(PromptResult)> answered;
    };
    std::deque<Question> questions_;
    QuestionId lastQuestion_ = 0;
};

} // namespace kelvor
