// A batch reopened after a restart is its journaled reports played again from the archive:
// the workbook that comes out must be the one its file holds.
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "XlsxPackage.h"

#include "batches/BatchReopening.h"
#include "batches/JournalingExport.h"
#include "export/ChannelWorkbooks.h"
#include "export/ReportExportStep.h"
#include "export/SummarizeChannel.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "host/xlsx/ZipArchive.h"
#include "util/PathText.h"

#include <gtest/gtest.h>

#include <map>

namespace kelvor::test {
namespace {

std::string sample(const std::string& name) {
    return fileBytes(std::filesystem::path(KELVOR_SOURCE_DIR) / "samples" / name);
}

// One run of the program: its application, export and journal over the workbook folder.
struct ReaderRun {
    explicit ReaderRun(const std::filesystem::path& folder)
        : factory(folder), journal(batchJournalPath(folder), WallClock::now, {}) {
        channels[0].Description = "Press A";
        channels[1].Description = "Press B";
        journal.load({});
    }

    void exportArchived(int channel, const std::filesystem::path& file,
                        const std::string& cutShortBy = {}) {
        std::string text = fileBytes(file);
        journaling.exportReport(channel, text, ReportOrigin{utf8Of(file), cutShortBy},
                                channels[channel].WorkbookIndex);
    }

    void summarizeNow(int channel) {
        const ExportingChannel naming(ctx, channel);
        std::string nothing;
        SummarizeChannel(ctx, channel, nothing, channels[channel].WorkbookIndex);
        journal.summarized(channel, workbookNameAt(ctx, channels[channel].WorkbookIndex),
                           channels[channel].Description, traceOffset);
    }

    ReopenedBatches reopen(bool adopt) {
        const ReopenWiring wiring{
            .exports = ctx,
            .channels = channels,
            .journal = journal,
            .holdWrites = [this] { factory.holdWrites(); },
            .adoptHeldWrites = adopt ? std::function<void()>([this] { factory.adoptHeldWrites(); })
                                     : std::function<void()>(),
            .log = nullptr};
        return reopenBatches(wiring);
    }

    BuiltinApplication& app() { return *factory.created().back(); }

    BuiltinApplicationFactory factory;
    ScriptedPrompts prompts;
    ChannelTable channels;
    float traceOffset = 0.5F;
    ExportContext ctx{factory, prompts, channels, traceOffset};
    ReportExportStep step{ctx};
    BatchJournal journal;
    JournalingExport journaling{step, journal, channels, traceOffset,
                                [this](std::int32_t at) { return workbookNameAt(ctx, at); }};
};

class ReplayTest : public ::testing::Test {
protected:
    std::filesystem::path archive(int channel, const std::string& name, const std::string& text) {
        const auto folder = books / "Received" / ("Channel " + std::to_string(channel + 1));
        std::filesystem::create_directories(folder);
        writeBytes(folder / name, text);
        return folder / name;
    }

    std::map<std::string, std::string> workbookFiles() {
        std::map<std::string, std::string> out;
        for (const auto& name : fileNamesIn(books)) {
            if (name.ends_with(".xlsx")) {
                out[name] = fileBytes(books / pathFromUtf8(name));
            }
        }
        return out;
    }

    static std::string summaryCell(BuiltinApplication& app, std::int32_t book, int row,
                                   int column) {
        const auto sheets = app.Workbooks()->Item(book)->Sheets();
        for (int i = 1; i <= sheets->Count(); ++i) {
            if (sheets->Item(i)->Name() == "Summary") {
                const auto value = sheets->Item(i)->Cells(row, column)->Value();
                if (const auto* number = std::get_if<double>(&value)) {
                    return std::to_string(*number);
                }
                if (const auto* text = std::get_if<std::string>(&value)) {
                    return *text;
                }
                return "<other>";
            }
        }
        return "<no summary>";
    }

    static std::vector<std::string> sheetNames(BuiltinApplication& app, std::int32_t book) {
        std::vector<std::string> names;
        const auto sheets = app.Workbooks()->Item(book)->Sheets();
        for (int i = 1; i <= sheets->Count(); ++i) {
            names.push_back(sheets->Item(i)->Name());
        }
        return names;
    }

    // A run that ends with one open batch of two reports on channel 1.
    void twoReportsInOneBatch() {
        ReaderRun first(books);
        first.exportArchived(
            0, archive(0, "2026-12-07 10-00-00.txt", sample("rate-shipper-lbf-in-50.txt")));
        first.exportArchived(
            0, archive(0, "2026-12-07 10-00-01.txt", sample("rate-shipper-lbf-in-50.txt")));
    }

    TempDir dir;
    std::filesystem::path books = dir.path() / "Workbooks";
};

TEST_F(ReplayTest, AReplayedWorkbookWrittenEqualsItsFileInEveryPartButItsTime) {
    std::string broken = sample("rate-shipper-lbf-in-50.txt");
    broken.replace(broken.find("DEFLECTION,FORCE"), 16, "DEFLECTIN,FORCE");
    {
        ReaderRun first(books);
        first.exportArchived(
            0, archive(0, "2026-12-07 10-00-00.txt", sample("rate-shipper-lbf-in-50.txt")));
        first.exportArchived(
            1, archive(1, "2026-12-07 10-00-01.txt", sample("rate-paper-core-n-mm-150.txt")));
        first.exportArchived(
            0, archive(0, "2026-12-07 10-00-02.txt", sample("load-stack-creep-lbf-in.txt")));
        first.exportArchived(0, archive(0, "2026-12-07 10-00-03.txt", broken));
        // The settings changed meanwhile: the replay takes them as they were.
        first.channels[0].Description = "Press A, new head";
        first.traceOffset = 1.25F;
        first.exportArchived(0,
                             archive(0, "2026-12-07 10-00-04 (cut short).txt",
                                     sample("rate-doublewall-box-lbf-in-1000.txt")),
                             "the line was lost");
        first.traceOffset = 0.75F;
        first.summarizeNow(0);
        first.exportArchived(0, archive(0, "2026-12-07 10-00-05.txt", "no report at all\r\n"));
        first.exportArchived(
            1, archive(1, "2026-12-07 10-00-06.txt", sample("rate-paper-core-n-mm-150.txt")));
        EXPECT_GE(first.prompts.shown.size(), 1U); // the broken report was told
    }
    const auto originals = workbookFiles();
    ASSERT_EQ(originals.size(), 2U);
    const auto aside = dir.path() / "originals";
    std::filesystem::create_directories(aside);
    for (const auto& [name, bytes] : originals) {
        std::filesystem::rename(books / pathFromUtf8(name), aside / pathFromUtf8(name));
    }

    ReaderRun second(books);
    second.traceOffset = 2.0F; // today's settings
    second.channels[0].Description = "Something else";
    const ReopenedBatches reopened = second.reopen(false);
    EXPECT_EQ(reopened.batches, 2U);
    EXPECT_EQ(reopened.reports, 7U);
    EXPECT_TRUE(reopened.missing.empty());
    EXPECT_TRUE(second.prompts.shown.empty()); // nothing told again
    EXPECT_EQ(second.prompts.beeps, 0);
    EXPECT_EQ(second.channels[0].WorkbookIndex, 1);
    EXPECT_EQ(second.channels[1].WorkbookIndex, 2);
    EXPECT_TRUE(workbookFiles().empty()); // nothing written while held
    EXPECT_EQ(second.traceOffset, 2.0F);
    EXPECT_EQ(second.channels[0].Description, "Something else");

    // Written now, to the same files.
    second.app().holdWrites(false);
    second.app().setScreenUpdating(true);
    const auto replayed = workbookFiles();
    ASSERT_EQ(replayed.size(), 2U);
    for (const auto& [name, bytes] : originals) {
        ASSERT_TRUE(replayed.contains(name)) << name;
        const auto before = readPackage(aside / pathFromUtf8(name));
        const auto after = readPackage(books / pathFromUtf8(name));
        ASSERT_FALSE(before.empty());
        std::vector<std::string> partsBefore;
        std::vector<std::string> partsAfter;
        for (const auto& [part, entry] : before) {
            partsBefore.push_back(part);
        }
        for (const auto& [part, entry] : after) {
            partsAfter.push_back(part);
        }
        EXPECT_EQ(partsBefore, partsAfter) << name;
        for (const auto& [part, entry] : before) {
            if (part == "docProps/core.xml" || !after.contains(part)) {
                continue;
            }
            EXPECT_TRUE(entry.content == after.at(part).content) << name << ": " << part;
        }
    }
}

TEST_F(ReplayTest, AReopenedBatchIsNotWrittenUntilItsNextReportWhichFollowsOnTheSameFile) {
    twoReportsInOneBatch();
    const auto before = workbookFiles();
    ASSERT_EQ(before.size(), 1U);
    {
        ReaderRun second(books);
        second.reopen(true);
        second.ctx.ExcelApp.reset(); // the program ends
    }
    EXPECT_EQ(workbookFiles(), before); // not written again: it held the same

    ReaderRun third(books);
    third.reopen(true);
    third.exportArchived(
        0, archive(0, "2026-12-07 11-00-00.txt", sample("rate-shipper-lbf-in-50.txt")));
    const auto after = workbookFiles();
    ASSERT_EQ(after.size(), 1U);
    EXPECT_EQ(after.begin()->first, before.begin()->first);
    EXPECT_NE(after.begin()->second, before.begin()->second);
    const auto names = sheetNames(third.app(), 1);
    EXPECT_NE(std::find(names.begin(), names.end(), "Data 3"), names.end());
    EXPECT_EQ(summaryCell(third.app(), 1, 3, 2), std::to_string(3.0)); // number of tests
}

// A workbook grows in place; a reader killed while it grew leaves the file with a torn end.
TEST_F(ReplayTest, AReopenedBatchWhoseFileWasTornIsWrittenWholeAtOnceUnderTheSameName) {
    twoReportsInOneBatch();
    const auto before = workbookFiles();
    ASSERT_EQ(before.size(), 1U);
    const auto path = books / pathFromUtf8(before.begin()->first);
    writeBytes(path, before.begin()->second + std::string(3000, 'x'));

    ReaderRun second(books);
    second.reopen(true);
    const auto after = workbookFiles();
    ASSERT_EQ(after.size(), 1U);
    EXPECT_EQ(after.begin()->first, before.begin()->first);
    EXPECT_TRUE(zipFileEndsWhole(path));
    auto written = readPackage(path);
    writeBytes(dir.path() / "earlier.xlsx", before.begin()->second);
    auto earlier = readPackage(dir.path() / "earlier.xlsx");
    written.erase("docProps/core.xml");
    earlier.erase("docProps/core.xml");
    ASSERT_EQ(written.size(), earlier.size());
    for (const auto& [name, entry] : earlier) {
        EXPECT_EQ(written[name].content, entry.content) << name;
    }
}

// The desktop's spreadsheet application keeps its workbooks itself: nothing is played into it
// again, but a report no workbook holds still goes into one.
TEST_F(ReplayTest, AnApplicationKeepingItsOwnWorkbooksGetsNoBatchAgainButTheRecoveredReports) {
    twoReportsInOneBatch();
    archive(0, "2026-12-07 10-00-02.txt", sample("load-stack-creep-lbf-in.txt"));
    ReaderRun second(books);
    std::vector<std::string> told;
    BatchStart start{.reopen = {.exports = second.ctx,
                                .channels = second.channels,
                                .journal = second.journal,
                                .holdWrites = {},
                                .adoptHeldWrites = {},
                                .log = nullptr},
                     .journal = second.journal,
                     .journaling = second.journaling,
                     .workbookFolder = books,
                     .tell = [&](const std::string& text) { told.push_back(text); },
                     .reopenOpenBatches = false};
    startBatches(start);
    ASSERT_EQ(second.app().Workbooks()->Count(), 1);
    const auto names = sheetNames(second.app(), 1);
    EXPECT_NE(std::find(names.begin(), names.end(), "Data 1"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Data 2"), names.end());
    EXPECT_EQ(told, (std::vector<std::string>{
                        "1 report received before the reader ended was added to its workbook."}));
}

TEST_F(ReplayTest, AClosedBatchStaysClosedAndTheNextReportStartsANewWorkbook) {
    {
        ReaderRun first(books);
        first.exportArchived(
            0, archive(0, "2026-12-07 10-00-00.txt", sample("rate-shipper-lbf-in-50.txt")));
        const std::string name = workbookNameAt(first.ctx, first.channels[0].WorkbookIndex);
        ASSERT_TRUE(CloseChannelWorkbook(first.ctx, first.channels, 0));
        first.journal.closed(0, name);
    }
    ReaderRun second(books);
    EXPECT_EQ(second.reopen(true).batches, 0U);
    EXPECT_EQ(second.channels[0].WorkbookIndex, 0);
    second.exportArchived(
        0, archive(0, "2026-12-07 11-00-00.txt", sample("rate-shipper-lbf-in-50.txt")));
    EXPECT_EQ(workbookFiles().size(), 2U);
}

TEST_F(ReplayTest, AMissingArchiveFileIsLeftOutAndSaidSo) {
    std::filesystem::path gone;
    {
        ReaderRun first(books);
        gone = archive(0, "2026-12-07 10-00-00.txt", sample("rate-shipper-lbf-in-50.txt"));
        first.exportArchived(0, gone);
        first.exportArchived(
            0, archive(0, "2026-12-07 10-00-01.txt", sample("rate-shipper-lbf-in-50.txt")));
    }
    std::filesystem::remove(gone);
    ReaderRun second(books);
    const auto reopened = second.reopen(true);
    EXPECT_EQ(reopened.batches, 1U);
    EXPECT_EQ(reopened.reports, 1U);
    ASSERT_EQ(reopened.missing.size(), 1U);
    EXPECT_EQ(reopened.missing[0], utf8Of(gone));
    EXPECT_NE(missingNotice(reopened.missing).find(utf8Of(gone)), std::string::npos);
}

} // namespace
} // namespace kelvor::test
