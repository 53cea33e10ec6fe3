#pragma once

#include "platform/Prompts.h"

class QWidget;

namespace kelvor {

// Message boxes and the system beep of the desktop.
class QtPrompts final : public Prompts {
public:
    PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                      PromptButtons buttons) override;
    void beep() override;
};

} // namespace kelvor
