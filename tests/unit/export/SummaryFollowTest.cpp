// A summary that follows the workbook must be the very summary a rebuild makes: two channel
// workbooks are fed the same reports, one following its summary, the other made anew after
// every report, and their written packages are compared part by part after every export.
#include "ChartExportFixture.h"

#include "export/DataSheet.h"
#include "export/ReportExportStep.h"
#include "export/SummaryPlot.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

struct Reader {
    explicit Reader(const std::filesystem::path& folder) : factory(folder) {}

    void exportReport(std::string text) {
        ReportExportStep step(ctx);
        step.exportReport(1, text, "", index);
    }
    BuiltinApplication& builtin() { return *dynamic_cast<BuiltinApplication*>(ctx.ExcelApp.get()); }
    Workbook& book() { return builtin().workbookModel(index); }
    // The formula text of the first offset cell: a followed summary keeps the very cell, a
    // rebuild writes another. Empty while the workbook has no summary.
    FormulaText firstOffset() {
        if (!ctx.ExcelApp) {
            return {};
        }
        const auto at = book().indexOf(SummaryXOffsetSheetName);
        const Cell* cell = at ? asWorksheet(book().sheet(*at))->cell(16, 1) : nullptr;
        return cell != nullptr ? cell->formula : FormulaText{};
    }

    BuiltinApplicationFactory factory;
    ScriptedPrompts prompts;
    ChannelTable channels;
    float traceOffset = 0.5F;
    ExportContext ctx{factory, prompts, channels, traceOffset};
    std::int32_t index = 0;
};

class SummaryFollowTest : public ::testing::Test {
protected:
    // Returns whether the following reader kept its summary and added to it.
    bool exportBoth(const std::string& text) {
        if (const FormulaText now = following.firstOffset(); !now.empty()) {
            lastOffset_ = now; // held, so no other text can take its place in memory
        }
        following.exportReport(text);
        rebuilding.ctx.Summaries.clear(); // nothing to follow: made anew
        rebuilding.exportReport(text);
        comparePackages();
        return !lastOffset_.empty() && following.firstOffset().sharedWith(lastOffset_);
    }

    template <class Change> void changeBoth(Change change) {
        change(following);
        change(rebuilding);
    }

    void comparePackages() {
        const auto followed = test::readPackage(following.builtin().workbookFile(following.index));
        const auto rebuilt = test::readPackage(rebuilding.builtin().workbookFile(rebuilding.index));
        ASSERT_FALSE(followed.empty());
        std::vector<std::string> names;
        std::vector<std::string> rebuiltNames;
        for (const auto& [name, entry] : followed) {
            names.push_back(name);
        }
        for (const auto& [name, entry] : rebuilt) {
            rebuiltNames.push_back(name);
        }
        ASSERT_EQ(names, rebuiltNames);
        for (const auto& [name, entry] : followed) {
            if (name == "docProps/core.xml") {
                continue; // the time each application started
            }
            EXPECT_EQ(entry.content, rebuilt.at(name).content) << name;
        }
        EXPECT_EQ(following.prompts.shown.size(), rebuilding.prompts.shown.size());
    }

    std::string rate(int t, const std::string& forceUnit = "lbf") {
        const auto y = [&](int step) { return std::to_string(10 * step * t + t % 7); };
        return rateReport(
            std::to_string(300 + 37 * (t % 11)) + ".5", "0." + std::to_string(20 + t % 13),
            {"0.05," + y(1), "0.10," + y(2), "0.15," + y(3), "0.20," + y(2)}, {}, forceUnit);
    }

    test::TempDir dir;
    Reader following{dir.path() / "following"};
    Reader rebuilding{dir.path() / "rebuilding"};

private:
    FormulaText lastOffset_;
};

TEST_F(SummaryFollowTest, NewTestsAreAddedAndTheFileIsTheRebuildsAfterEveryExport) {
    EXPECT_FALSE(exportBoth(rate(1)));
    for (int t = 2; t <= 6; ++t) {
        EXPECT_TRUE(exportBoth(rate(t))) << t;
    }
    // A constant-load test and a report that is no test put back the summary they took away,
    // and the next constant-rate test follows it.
    EXPECT_TRUE(exportBoth(sampleReport("load-stack-creep-lbf-in.txt")));
    EXPECT_TRUE(exportBoth("no test at all\r\n"));
    EXPECT_TRUE(exportBoth(rate(7)));
    EXPECT_TRUE(exportBoth(rate(8)));
    EXPECT_TRUE(following.prompts.shown.empty());
    EXPECT_EQ(following.book().sheetCount(), 21U);
}

TEST_F(SummaryFollowTest, AnythingButNewTestsRebuilds) {
    for (int t = 1; t <= 3; ++t) {
        exportBoth(rate(t));
    }
    // Other units: left out with a note, followed while the summary's units stay ahead;
    // hidden, they are no longer noted, the summary is made again and then followed.
    EXPECT_TRUE(exportBoth(rate(5, "N")));
    EXPECT_TRUE(exportBoth(rate(6, "N")));
    changeBoth([](Reader& r) {
        r.ctx.application().Sheets()->Item(7)->setVisible(xl::xlSheetHidden);
        r.ctx.application().Sheets()->Item(9)->setVisible(xl::xlSheetHidden);
    });
    EXPECT_FALSE(exportBoth(rate(16)));
    EXPECT_TRUE(exportBoth(rate(17)));

    // A sheet renamed, edited, hidden or removed; the trace offset changed.
    changeBoth([](Reader& r) { r.ctx.application().Sheets()->Item(1)->setName("First"); });
    EXPECT_FALSE(exportBoth(rate(7)));
    changeBoth(
        [](Reader& r) { r.ctx.application().Sheets()->Item(3)->Range("B17")->setValue(1.5); });
    EXPECT_FALSE(exportBoth(rate(8)));
    EXPECT_TRUE(exportBoth(rate(9)));
    changeBoth(
        [](Reader& r) { r.ctx.application().Sheets()->Item(5)->setVisible(xl::xlSheetHidden); });
    EXPECT_FALSE(exportBoth(rate(10)));
    changeBoth([](Reader& r) {
        auto& app = r.ctx.application();
        app.setDisplayAlerts(false);
        app.Sheets()->Item(4)->Delete();
        app.setDisplayAlerts(true);
    });
    EXPECT_FALSE(exportBoth(rate(11)));
    changeBoth([](Reader& r) {
        auto& app = r.ctx.application();
        app.setDisplayAlerts(false);
        app.Sheets()->Item(app.Sheets()->Count() - 1)->Delete(); // the summary plot
        app.setDisplayAlerts(true);
    });
    EXPECT_FALSE(exportBoth(rate(20)));
    EXPECT_EQ(following.book().sheetCount(), rebuilding.book().sheetCount());
    changeBoth([](Reader& r) { r.traceOffset = 0.25F; });
    EXPECT_FALSE(exportBoth(rate(12)));
    EXPECT_TRUE(exportBoth(rate(13)));

    // A test left out with a note; the note stands below the table and moves down with every
    // new row of a followed summary.
    EXPECT_TRUE(exportBoth(rateReport("380", "0.22", {"0.05,40.5", "0.10,88.0"}, "2.5 POINTS")));
    EXPECT_TRUE(exportBoth(rate(14)));
    EXPECT_TRUE(exportBoth(rate(15)));
}

// Each kind of note is the rebuild's, and the tests behind it are too: a batch with a note is
// followed as one without, or every later export of it would make its summary anew.
TEST_F(SummaryFollowTest, NotesAreTheRebuilds) {
    for (int t = 1; t <= 3; ++t) {
        exportBoth(rate(t));
    }
    EXPECT_TRUE(exportBoth(rateReport("ERR", "0.22")));
    EXPECT_TRUE(exportBoth(rate(4)));
    EXPECT_TRUE(exportBoth(rateReport("380", "0.22", {"0.05,40.5", "0.10,88.0"}, "52 POINTS")));
    EXPECT_TRUE(exportBoth(rate(5, "kN")));
    // Three notes now, moved down a row by each new test.
    for (int t = 6; t <= 11; ++t) {
        EXPECT_TRUE(exportBoth(rate(t))) << t;
    }
    EXPECT_TRUE(exportBoth(rate(12, "kN")));
    EXPECT_TRUE(exportBoth(rate(13)));
    // No new test: the notes stay where they are.
    EXPECT_TRUE(exportBoth(sampleReport("load-stack-creep-lbf-in.txt")));
    EXPECT_TRUE(exportBoth(rate(14)));
    EXPECT_TRUE(following.prompts.shown.empty());
}

// Tests in other units are noted while the summary's units stay ahead; once another pair could
// be chosen the summary is made again, and a tie goes to the pair met first.
TEST_F(SummaryFollowTest, UnitsThatCouldBeChosenInsteadMakeTheSummaryAgain) {
    exportBoth(rate(1));
    exportBoth(rate(2));
    EXPECT_TRUE(exportBoth(rate(3, "N")));  // lbf 2, N 1
    EXPECT_FALSE(exportBoth(rate(4, "N"))); // 2 to 2: lbf, met first
    EXPECT_FALSE(exportBoth(rate(5, "N"))); // N chosen
    EXPECT_FALSE(exportBoth(rate(6)));      // 3 to 3: lbf again
    EXPECT_FALSE(exportBoth(rate(7, "N"))); // N
    EXPECT_TRUE(exportBoth(rate(8, "N")));  // N 5, lbf 3
    EXPECT_TRUE(following.prompts.shown.empty());
}

TEST_F(SummaryFollowTest, SummarizeNowRebuildsAndIsFollowedAfterwards) {
    exportBoth(rate(1));
    exportBoth(rate(2));
    changeBoth([](Reader& r) {
        auto& app = r.ctx.application();
        app.setScreenUpdating(false);
        BuildSummary(r.ctx);
        app.setScreenUpdating(true);
    });
    EXPECT_TRUE(exportBoth(rate(3)));
}

} // namespace
} // namespace kelvor::test
