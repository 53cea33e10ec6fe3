#pragma once

#include "platform/Prompts.h"

#include <QPointer>

#include <map>
#include <vector>

class QMessageBox;
class QWidget;

namespace kelvor {

// Message boxes and the system beep of the desktop. A message with only an OK button is
// shown without waiting for it: the caller goes on at once, so an unanswered box never holds
// up the work behind it (the reader runs for hours with nobody at the screen). The same
// message already on the screen is not shown twice. A question asked through show() waits;
// one asked through ask() does not: its answer comes through the callback. Every box belongs
// to a window, the main window unless the message names another, and stands in front of it;
// a box that opens while others are open is set off from the last of them, so none hides
// another exactly.
class QtPrompts final : public Prompts {
public:
    QtPrompts() = default;
    ~QtPrompts() override;
    QtPrompts(const QtPrompts&) = delete;
    QtPrompts& operator=(const QtPrompts&) = delete;

    PromptResult show(const std::string& text, const std::string& title, PromptIcon icon,
                      PromptButtons buttons) override;
    PromptResult showFor(PromptOwner owner, const std::string& text, const std::string& title,
                         PromptIcon icon, PromptButtons buttons) override;
    QuestionId ask(const std::string& text, const std::string& title, PromptIcon icon,
                   std::function<void(PromptResult)> answered) override;
    void withdraw(QuestionId question) override;
    void beep() override;
    void endSession() override;

    // The window boxes belong to when a message names none.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // How a window of the desktop is named to the core.
    static PromptOwner ownerOf(const QWidget& window) { return PromptOwner(&window); }

    // The boxes on the screen now.
    std::vector<QMessageBox*> openBoxes();

private:
    QMessageBox* makeBox(PromptOwner owner, const std::string& text, const std::string& title,
                         PromptIcon icon);
    void setOffFromOthers(QMessageBox& box);

    std::vector<QPointer<QMessageBox>> boxes_; // each deletes itself when closed
    QPointer<QWidget> mainWindow_;
    std::map<QuestionId, QPointer<QMessageBox>> questions_;
    QuestionId lastQuestion_ = 0;
    bool ended_ = false;
};

} // namespace kelvor
