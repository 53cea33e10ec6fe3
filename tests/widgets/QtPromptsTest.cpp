// The desktop's message boxes: messages never hold up the caller; ending closes them all.
#include "platform/widgets/QtPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <vector>

namespace kelvor {
namespace {

TEST(QtPromptsTest, MessagesDoNotWaitAndTheSameOneIsNotStacked) {
    QtPrompts prompts;
    EXPECT_EQ(prompts.show("Error # 1004\rPaste failed", "Error", PromptIcon::Critical,
                           PromptButtons::Ok),
              PromptResult::Ok);
    prompts.show("Error # 1004\rPaste failed", "Error", PromptIcon::Critical, PromptButtons::Ok);
    prompts.show("Another message", "KelvorReader2", PromptIcon::Exclamation, PromptButtons::Ok);
    const auto boxes = prompts.openBoxes();
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_EQ(boxes[0]->text(), "Error # 1004\nPaste failed");
    EXPECT_EQ(boxes[0]->windowModality(), Qt::NonModal);

    boxes[0]->button(QMessageBox::Ok)->click(); // answered: gone, and may come again
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(prompts.openBoxes().size(), 1U);
    prompts.show("Error # 1004\rPaste failed", "Error", PromptIcon::Critical, PromptButtons::Ok);
    EXPECT_EQ(prompts.openBoxes().size(), 2U);
}

TEST(QtPromptsTest, EndingClosesOpenBoxesAndCancelsAWaitingQuestion) {
    QtPrompts prompts;
    prompts.show("left open", "Error", PromptIcon::Critical, PromptButtons::Ok);
    // The program is told to end while the question waits for its answer.
    QTimer::singleShot(0, [&] { prompts.endSession(); });
    EXPECT_EQ(prompts.show("Communication Error: 8010\rnot available", "KelvorReader2",
                           PromptIcon::Critical, PromptButtons::RetryCancel),
              PromptResult::Cancel);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(prompts.openBoxes().empty());
    // From now on nothing is shown and nothing waits.
    EXPECT_EQ(prompts.show("late", "Error", PromptIcon::Critical, PromptButtons::RetryCancel),
              PromptResult::Cancel);
    EXPECT_TRUE(prompts.openBoxes().empty());
}

TEST(QtPromptsTest, AskedQuestionWaitsForNobodyAndAnswersThroughItsCallback) {
    QtPrompts prompts;
    std::vector<PromptResult> answers;
    const auto record = [&](PromptResult answer) { answers.push_back(answer); };
    prompts.ask("Communication Error: 8002\rInvalid Port Number", "KelvorReader2",
                PromptIcon::Critical, record);
    prompts.ask("Communication Error: 8005\rPort already open", "KelvorReader2",
                PromptIcon::Critical, record);
    const auto boxes = prompts.openBoxes();
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_EQ(boxes[0]->windowModality(), Qt::NonModal);
    EXPECT_TRUE(answers.empty());

    boxes[1]->button(QMessageBox::Retry)->click();
    boxes[0]->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(answers, (std::vector<PromptResult>{PromptResult::Retry, PromptResult::Cancel}));

    // Ending closes a waiting question without an answer: nobody gave one.
    prompts.ask("Communication Error: 8010\rnot available", "KelvorReader2", PromptIcon::Critical,
                record);
    prompts.endSession();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(prompts.openBoxes().empty());
    EXPECT_EQ(answers.size(), 2U);
    prompts.ask("late", "KelvorReader2", PromptIcon::Critical, record);
    EXPECT_TRUE(prompts.openBoxes().empty());
}

} // namespace
} // namespace kelvor
