#pragma once

#include <string>

namespace kelvor {

enum class PromptIcon { None, Critical, Information, Exclamation };
enum class PromptButtons { Ok, RetryCancel };
enum class PromptResult { Ok, Retry, Cancel };

// Every message the program shows goes through here: message boxes in the program,
// a scripted fake in the tests. Texts may hold carriage returns as line breaks.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                              PromptButtons buttons) = 0;
    virtual void beep() = 0;
    // The program is ending: open boxes close, and from now on nothing waits for an answer
    // (a message is still recorded where messages are recorded; questions are cancelled).
    virtual void endSession() {}
};

} // namespace kelvor
