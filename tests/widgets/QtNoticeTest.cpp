// Notices that do not wait for the user, on the offscreen platform.
#include "platform/widgets/QtPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

namespace kelvor {
namespace {

TEST(QtNotice, ShowsWithoutWaitingAndTheLatestNewsReplacesTheText) {
    QtPrompts prompts;
    EXPECT_EQ(prompts.openNotice(), nullptr);
    // Returning at all shows that nothing waited for a click.
    prompts.notice("Book1 could not be written.\rTried again later.", "KelvorReader2",
                   PromptIcon::Exclamation);
    QMessageBox* box = prompts.openNotice();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle(), "KelvorReader2");
    EXPECT_EQ(box->text(), "Book1 could not be written.\nTried again later.");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);

    prompts.notice("Book2 could not be written.", "KelvorReader2", PromptIcon::Exclamation);
    EXPECT_EQ(prompts.openNotice(), box); // one box, not a pile
    EXPECT_EQ(box->text(), "Book2 could not be written.");

    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return prompts.openNotice() == nullptr; }, 5000));
    prompts.notice("Again.", "KelvorReader2", PromptIcon::Information);
    ASSERT_NE(prompts.openNotice(), nullptr);
    EXPECT_EQ(prompts.openNotice()->text(), "Again.");
}

} // namespace
} // namespace kelvor
