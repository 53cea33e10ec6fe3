#pragma once

#include "platform/Prompts.h"

#include <memory>

class QMessageBox;

namespace kelvor {

// Message boxes and the system beep of the desktop.
class QtPrompts final : public Prompts {
public:
    QtPrompts();
    ~QtPrompts() override;
    QtPrompts(const QtPrompts&) = delete;
    QtPrompts& operator=(const QtPrompts&) = delete;

    PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                      PromptButtons buttons) override;
    void beep() override;

    // A message with an OK button that does not wait for it: the program goes on while the
    // box is open. A newer notice replaces the text of one still open, so a reader left alone
    // shows one box with the latest news rather than a pile of them.
    void notice(const std::string& text, const std::string& title, PromptIcon icon);
    // The open notice's box; none when it was never shown or has been closed.
    QMessageBox* openNotice() const;

private:
    std::unique_ptr<QMessageBox> notice_;
};

} // namespace kelvor
