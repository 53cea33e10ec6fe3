#include "ScriptedPrompts.h"

#include <algorithm>
#include <utility>

namespace kelvor {

PromptResult ScriptedPrompts::show(const std::string& text, const std::string& title,
                                   PromptIcon icon, PromptButtons buttons) {
    return showFor(PromptOwner{}, text, title, icon, buttons);
}

PromptResult ScriptedPrompts::showFor(PromptOwner owner, const std::string& text,
                                      const std::string& title, PromptIcon icon,
                                      PromptButtons buttons) {
    // Take the answer first, so a message shown from inside whileOpen gets the next one.
    PromptResult answer = PromptResult::Ok;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    shown.push_back({text, title, icon, buttons, owner});
    if (whileOpen) {
        const Shown current = shown.back();
        whileOpen(current);
    }
    return answer;
}

QuestionId ScriptedPrompts::ask(const std::string& text, const std::string& title, PromptIcon icon,
                                std::function<void(PromptResult)> answered) {
    shown.push_back({text, title, icon, PromptButtons::RetryCancel});
    questions_.push_back({++lastQuestion_, std::move(answered)});
    return lastQuestion_;
}

void ScriptedPrompts::withdraw(QuestionId question) {
    const auto waiting =
        std::ranges::find_if(questions_, [&](const Question& q) { return q.id == question; });
    if (waiting != questions_.end()) {
        questions_.erase(waiting);
        withdrawn.push_back(question);
    }
}

bool ScriptedPrompts::answerQuestion(PromptResult answer) {
    if (questions_.empty()) {
        return false;
    }
    // Taken off first: the answer may ask again.
    auto answered = std::move(questions_.front().answered);
    questions_.pop_front();
    answered(answer);
    return true;
}

void ScriptedPrompts::script(std::initializer_list<PromptResult> list) {
    answers.insert(answers.end(), list.begin(), list.end());
}

std::size_t ScriptedPrompts::count(const std::string& text) const {
    return static_cast<std::size_t>(
        std::ranges::count_if(shown, [&](const Shown& s) { return s.text == text; }));
}

} // namespace kelvor
