// The desktop's message boxes: messages never hold up the caller; ending closes them all.
#include "platform/widgets/QtPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <memory>
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

// A question that mended itself (the port it asks about opened) goes without an answer.
TEST(QtPromptsTest, AWithdrawnQuestionClosesAndNeverAnswers) {
    QtPrompts prompts;
    std::vector<PromptResult> answers;
    const auto record = [&](PromptResult answer) { answers.push_back(answer); };
    const QuestionId first = prompts.ask("Communication Error: 8002\rInvalid Port Number",
                                         "KelvorReader2", PromptIcon::Critical, record);
    const QuestionId second = prompts.ask("Communication Error: 8005\rPort already open",
                                          "KelvorReader2", PromptIcon::Critical, record);
    ASSERT_NE(first, second);
    ASSERT_NE(first, 0U);

    prompts.withdraw(first);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto open = prompts.openBoxes();
    ASSERT_EQ(open.size(), 1U);
    EXPECT_TRUE(open[0]->text().startsWith("Communication Error: 8005"));
    prompts.withdraw(first); // twice, or unknown: passed by
    prompts.withdraw(12345);
    EXPECT_TRUE(answers.empty());

    open[0]->button(QMessageBox::Retry)->click();
    EXPECT_EQ(answers, std::vector<PromptResult>{PromptResult::Retry});
    prompts.withdraw(second); // already answered
    EXPECT_EQ(answers.size(), 1U);
}

TEST(QtPromptsTest, ABoxStandsInFrontOfTheWindowItBelongsTo) {
    QWidget mainWindow;
    mainWindow.show();
    auto dialog = std::make_unique<QWidget>();
    dialog->show();
    QtPrompts prompts;
    prompts.setMainWindow(&mainWindow);

    prompts.show("Communication Error: 8002", "KelvorReader2", PromptIcon::Critical,
                 PromptButtons::Ok);
    prompts.showFor(QtPrompts::ownerOf(*dialog),
                    "Enabled communications channels cannot use "
                    "the same ports.",
                    "KelvorReader2", PromptIcon::Information, PromptButtons::Ok);
    auto boxes = prompts.openBoxes();
    ASSERT_EQ(boxes.size(), 2U);
    // The window manager keeps a box over the window it is transient for, and raises both.
    EXPECT_EQ(boxes[0]->parentWidget(), &mainWindow);
    EXPECT_EQ(boxes[0]->windowHandle()->transientParent(), mainWindow.windowHandle());
    EXPECT_EQ(boxes[1]->parentWidget(), dialog.get());
    EXPECT_EQ(boxes[1]->windowHandle()->transientParent(), dialog->windowHandle());

    // A window gone by the time its message comes leaves the box to the main window.
    const PromptOwner gone = QtPrompts::ownerOf(*dialog);
    dialog.reset();
    EXPECT_EQ(prompts.openBoxes().size(), 1U); // its box went with it
    prompts.showFor(gone, "late", "Error", PromptIcon::None, PromptButtons::Ok);
    boxes = prompts.openBoxes();
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_EQ(boxes[1]->parentWidget(), &mainWindow);
}

TEST(QtPromptsTest, OpenBoxesAreNeverDrawnExactlyOnTopOfEachOther) {
    QWidget mainWindow;
    mainWindow.setGeometry(200, 100, 61, 213);
    mainWindow.show();
    QtPrompts prompts;
    prompts.setMainWindow(&mainWindow);
    // Same size, same owner: each would open centred on the same window.
    for (const char* text : {"Error # 1", "Error # 2", "Error # 3"}) {
        prompts.show(text, "Error", PromptIcon::None, PromptButtons::Ok);
    }
    prompts.ask("Communication Error: 8005", "KelvorReader2", PromptIcon::Critical,
                [](PromptResult) {});
    const auto boxes = prompts.openBoxes();
    ASSERT_EQ(boxes.size(), 4U);
    const QRect area = mainWindow.screen()->availableGeometry();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_TRUE(area.intersects(boxes[i]->frameGeometry())) << i;
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_NE(boxes[i]->frameGeometry().topLeft(), boxes[j]->frameGeometry().topLeft())
                << i << " and " << j;
        }
    }
    // Each next one lies down and to the right of the one before, by a title bar or so.
    const QPoint step = boxes[1]->pos() - boxes[0]->pos();
    EXPECT_GE(step.x(), 16);
    EXPECT_EQ(step.x(), step.y());
}

} // namespace
} // namespace kelvor
