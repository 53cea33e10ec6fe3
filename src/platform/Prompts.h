#pragma once

#include "platform/PromptOwner.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kelvor {

enum class PromptIcon { None, Critical, Information, Exclamation };
enum class PromptButtons { Ok, RetryCancel };
enum class PromptResult { Ok, Retry, Cancel };
// Names a question asked through ask(); 0 names none.
using QuestionId = std::uint64_t;

// Every message the program shows goes through here: message boxes in the program,
// a scripted fake in the tests. Texts may hold carriage returns as line breaks.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                              PromptButtons buttons) = 0;
    // A message that belongs to a window other than the main window (a dialog, a workbook
    // window): its box stands in front of that window.
    virtual PromptResult showFor(PromptOwner owner, const std::string& text,
                                 const std::string& title, PromptIcon icon, PromptButtons buttons) {
        (void)owner;
        return show(text, title, icon, buttons);
    }
    // A Retry/Cancel question that holds nothing up: the box stays on the screen and
    // `answered` runs when somebody answers it, which may be never. By default it is shown as
    // a message and never answered.
    virtual QuestionId ask(const std::string& text, const std::string& title, PromptIcon icon,
                           std::function<void(PromptResult)> answered) {
        (void)answered;
        show(text, title, icon, PromptButtons::Ok);
        return 0;
    }
    // The question is no longer true (what it asks about has mended itself): its box goes away
    // and its answer never comes. An answered or unknown question is passed by.
    virtual void withdraw(QuestionId question) { (void)question; }
    virtual void beep() = 0;
    // The program is ending: open boxes close, and from now on nothing waits for an answer
    // (a message is still recorded where messages are recorded; questions are cancelled).
    virtual void endSession() {}
};

} // namespace kelvor
