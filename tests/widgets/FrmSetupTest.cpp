// The setup dialog on the offscreen platform.
#include "DialogFixture.h"
#include "export/HostError.h"
#include "platform/widgets/QtPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace kelvor {
namespace {

using FrmSetupTest = DialogFixture;

const std::string SamePorts = "Enabled communications channels cannot use the same ports.";

TEST_F(FrmSetupTest, FixedDialogWithTheControlsWhereTheLayoutPutsThem) {
    FrmSetup& setup = openSetup();
    const double k = pixelsPerTwip(setup);
    EXPECT_EQ(setup.windowTitle(), "Kelvor Serial Net Setup");
    EXPECT_EQ(setup.minimumSize(), setup.maximumSize());
    EXPECT_NEAR(setup.width(), 7320 * k, 1);
    EXPECT_NEAR(setup.height(), 3225 * k, 1);
    EXPECT_FALSE(setup.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(setup.isModal());
    EXPECT_EQ(setup.parentWidget(), &owner);

    EXPECT_NEAR(setup.TextDesc(5).y(), (360 + 360 * 5) * k, 1);
    EXPECT_NEAR(setup.Combo1(2).x(), 3600 * k, 1);
    EXPECT_NEAR(setup.Check1(4).y(), (420 + 360 * 4) * k, 1);
    EXPECT_NEAR(setup.Command1(3).x(), 2820 * k, 1);
    EXPECT_EQ(setup.Combo1(0).count(), 16);
    EXPECT_EQ(setup.Combo1(0).itemText(15), "Com 16");
    EXPECT_EQ(setup.Command1(0).text(), "Ok");
    EXPECT_EQ(setup.Command1(3).text(), "Summarize Now");
    EXPECT_EQ(setup.Command1(1).font().family(), "Arial");
    EXPECT_EQ(setup.TraceOffset().font().family(), "Arial");
    // Every caption fits its control and every control lies inside the window.
    for (const QWidget* w : setup.findChildren<QWidget*>()) {
        EXPECT_TRUE(setup.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    for (const QLabel* label : setup.findChildren<QLabel*>()) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
    }
    for (int i = 0; i < 4; ++i) {
        const QPushButton& b = setup.Command1(i);
        EXPECT_LT(b.fontMetrics().horizontalAdvance(b.text()), b.width());
    }
}

TEST_F(FrmSetupTest, ShowsTheStoredValuesAndTakesPortsOutsideTheListAsPortOne) {
    state.ChannelInfo[0].Enabled = 1;
    state.ChannelInfo[1].Enabled = -1;
    state.ChannelInfo[2].CommPort = 0;
    state.ChannelInfo[3].CommPort = 17;
    state.ChannelInfo[4].CommPort = 16;
    state.ChannelInfo[4].Description = "Press B";
    FrmSetup& setup = openSetup();
    EXPECT_TRUE(setup.Check1(0).isChecked());
    EXPECT_TRUE(setup.Check1(1).isChecked());
    EXPECT_FALSE(setup.Check1(2).isChecked());
    EXPECT_EQ(setup.Combo1(2).currentText(), "Com 1");
    EXPECT_EQ(setup.Combo1(3).currentText(), "Com 1");
    EXPECT_EQ(setup.Combo1(4).currentText(), "Com 16");
    EXPECT_EQ(setup.TextDesc(4).text(), "Press B");
    EXPECT_EQ(setup.TraceOffset().text(), "0.5");

    setup.Command1Click(0);
    EXPECT_EQ(state.ChannelInfo[2].CommPort, 1);
    EXPECT_EQ(state.ChannelInfo[3].CommPort, 1);
    EXPECT_EQ(state.ChannelInfo[1].Enabled, 1);
}

TEST_F(FrmSetupTest, TickedChannelsOnOnePortAreRefusedUntilOneMoves) {
    FrmSetup& setup = openSetup();
    setup.Check1(0).setChecked(true);
    setup.Check1(5).setChecked(true);
    setup.Combo1(5).setCurrentIndex(0);
    setup.TextDesc(0).setText("Left press");
    setup.Command1Click(0);
    ASSERT_EQ(prompts.shown.size(), 1U);
    // The channels as typed in the dialog, numbered as the operator counts them.
    EXPECT_EQ(prompts.shown[0].text, SamePorts + "\rChannel 1 (Left press) and Channel 6 (Com "
                                                 "Channel 6) are both set to Com 1.");
    // In front of the dialog, which it is about, not behind it.
    EXPECT_EQ(prompts.shown[0].owner, QtPrompts::ownerOf(setup));
    EXPECT_EQ(prompts.shown[0].title, "KelvorReader2");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Information);
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(dialogs->setup(), &setup);
    EXPECT_EQ(state.ChannelInfo[0].Enabled, 0);
    EXPECT_EQ(state.ChannelInfo[0].Description, "Com Channel 1");
    EXPECT_EQ(commStart.enableRequests, 0);

    setup.Combo1(5).setCurrentIndex(8);
    setup.Command1Click(0);
    EXPECT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(dialogs->setup(), nullptr);
    EXPECT_EQ(state.ChannelInfo[0].Enabled, 1);
    EXPECT_EQ(state.ChannelInfo[0].Description, "Left press");
    EXPECT_EQ(state.ChannelInfo[5].Enabled, 1);
    EXPECT_EQ(state.ChannelInfo[5].CommPort, 9);
    EXPECT_TRUE(commStart.isEnabled());
}

TEST_F(FrmSetupTest, UntickedChannelsMayShareAPort) {
    FrmSetup& setup = openSetup();
    setup.Combo1(1).setCurrentIndex(2);
    setup.Combo1(4).setCurrentIndex(2);
    setup.Check1(2).setChecked(true); // ticked, on the port the two unticked ones share
    setup.Command1Click(0);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(state.ChannelInfo[1].CommPort, 3);
    EXPECT_EQ(state.ChannelInfo[4].CommPort, 3);
}

TEST_F(FrmSetupTest, TraceOffsetIsTheLeadingNumberOfTheText) {
    openSetup().TraceOffset().setText(" 0.75 mm");
    dialogs->setup()->Command1Click(0);
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 0.75F);
    settle();
    openSetup().TraceOffset().setText("abc");
    dialogs->setup()->Command1Click(0);
    EXPECT_EQ(state.SummaryTraceOffset, 0.0F);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FrmSetupTest, CommaLocaleOffsetSurvivesOkUntouched) {
    locale = QLocale(QLocale::German, QLocale::Germany);
    makeDialogs();
    state.SummaryTraceOffset = 0.25F;
    FrmSetup& setup = openSetup();
    EXPECT_EQ(setup.TraceOffset().text(), "0,25");
    setup.Command1Click(0);
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 0.25F);
}

TEST_F(FrmSetupTest, OffsetBeyondSinglePrecisionIsRefusedWithAMessage) {
    FrmSetup& setup = openSetup();
    setup.Check1(3).setChecked(true);
    setup.TraceOffset().setText("1e400");
    setup.Command1Click(0);
    setup.TraceOffset().setText("-" + QString(60, '9'));
    setup.Command1Click(3);
    EXPECT_EQ(prompts.count("The summary trace offset is too large."), 2U);
    EXPECT_EQ(dialogs->setup(), &setup);
    EXPECT_EQ(state.ChannelInfo[3].Enabled, 0);
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 0.5F);
    EXPECT_TRUE(summary.channels.empty());
    EXPECT_EQ(commStart.enableRequests, 0);
}

TEST_F(FrmSetupTest, SummarizeNowTakesTheOffsetAndOnlyStoredEnabledChannels) {
    state.ChannelInfo[1].Enabled = 1;
    state.ChannelInfo[4].Enabled = 7;
    FrmSetup& setup = openSetup();
    setup.Check1(1).setChecked(false); // on screen only: the stored flag counts
    setup.Check1(2).setChecked(true);
    setup.TraceOffset().setText("1.5");
    setup.Command1Click(3);
    EXPECT_EQ(summary.channels, (std::vector<int>{1, 4}));
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 1.5F);
    EXPECT_EQ(dialogs->setup(), &setup);
    EXPECT_EQ(state.ChannelInfo[2].Enabled, 0);

    setup.Command1Click(1); // Cancel keeps the offset the summary took
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 1.5F);
    EXPECT_EQ(state.ChannelInfo[1].Enabled, 1);
    EXPECT_TRUE(commStart.isEnabled());
}

TEST_F(FrmSetupTest, SummarizeNowWithNoChannelEnabledAsksForNoSummary) {
    openSetup().Command1Click(3);
    EXPECT_TRUE(summary.channels.empty());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FrmSetupTest, SummaryErrorIsShownAndTheDialogStaysUsable) {
    state.ChannelInfo[0].Enabled = 1;
    state.ChannelInfo[2].Enabled = 1;
    FrmSetup& setup = openSetup();
    summary.onChannel = [](int) {
        throw xl::HostError(1004, "KelvorReader2 Spreadsheet", "Unable to start the application");
    };
    setup.Command1Click(3);
    EXPECT_EQ(summary.channels, std::vector<int>{0}); // the run stops at the failure
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].title, "Error");
    EXPECT_EQ(prompts.shown[0].text, "Error #  1004 was generated by KelvorReader2 "
                                     "Spreadsheet\rUnable to start the application\r"
                                     "Channel 1 (Com Channel 1)");
    // The summary's messages and its failure stand in front of the dialog that asked.
    EXPECT_EQ(prompts.shown[0].owner, QtPrompts::ownerOf(setup));
    EXPECT_EQ(summary.owners.at(0), QtPrompts::ownerOf(setup));

    summary.onChannel = [](int) { throw std::runtime_error("out of memory"); };
    setup.Command1Click(3);
    EXPECT_EQ(prompts.shown.back().text, "out of memory\rChannel 1 (Com Channel 1)");
    EXPECT_EQ(dialogs->setup(), &setup);

    setup.TextDesc(1).setText("Still works");
    setup.Command1Click(0);
    EXPECT_EQ(state.ChannelInfo[1].Description, "Still works");
}

TEST_F(FrmSetupTest, CloseBoxStoresNothingAndLeavesThePortsClosed) {
    FrmSetup& setup = openSetup();
    setup.Check1(0).setChecked(true);
    setup.TraceOffset().setText("2");
    setup.close();
    EXPECT_EQ(dialogs->setup(), nullptr);
    EXPECT_EQ(state.ChannelInfo[0].Enabled, 0);
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 0.5F);
    EXPECT_EQ(commStart.enableRequests, 0);

    QTest::keyClick(&openSetup(), Qt::Key_Escape); // Esc answers as Cancel
    EXPECT_EQ(dialogs->setup(), nullptr);
    EXPECT_EQ(commStart.enableRequests, 1);
}

TEST_F(FrmSetupTest, OpenDialogIsBroughtToTheFrontAndEachOpeningLoadsAfresh) {
    QPointer<FrmSetup> first = &openSetup();
    first->TextDesc(0).setText("typed, not stored");
    EXPECT_EQ(&openSetup(), first.data());
    first->Command1Click(1);
    settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(openSetup().TextDesc(0).text(), "Com Channel 1");
}

TEST_F(FrmSetupTest, TabWalksRowByRowThenButtonsThenSummaryControls) {
    FrmSetup& setup = openSetup();
    std::vector<QWidget*> expected;
    for (int n = 0; n < ChannelCount; ++n) {
        expected.insert(expected.end(), {&setup.TextDesc(n), &setup.Combo1(n), &setup.Check1(n)});
    }
    expected.insert(expected.end(), {&setup.Command1(0), &setup.Command1(1), &setup.Command1(2),
                                     &setup.TraceOffset(), &setup.Command1(3),
                                     &setup.DevicesButton(), &setup.TextDesc(0)});
    ASSERT_EQ(setup.focusWidget(), expected[0]);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(setup.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(setup.focusWidget(), expected[i]) << i;
    }
}

TEST_F(FrmSetupTest, AboutOpensOneBoxThatOutlivesTheSetupDialog) {
    FrmSetup& setup = openSetup();
    setup.Command1Click(2);
    FrmAbout* about = dialogs->about();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->parentWidget(), &owner);
    setup.Command1Click(2);
    EXPECT_EQ(dialogs->about(), about);
    EXPECT_EQ(owner.findChildren<FrmAbout*>().size(), 1);
    setup.Command1Click(0);
    settle();
    EXPECT_EQ(dialogs->about(), about);
}

} // namespace
} // namespace kelvor
