#include "TestFiles.h"

#include "batches/ArchiveFiles.h"
#include "batches/BatchJournal.h"
#include "util/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvor::test {
namespace {

using Kind = JournalRecord::Kind;
using namespace std::chrono_literals;

WallClock::time_point at(int seconds) {
    return WallClock::time_point(std::chrono::seconds(1'796'000'000 + seconds));
}

JournalRecord reportRecord(int channel, const std::string& workbook, const std::string& archive) {
    JournalRecord r;
    r.kind = Kind::Report;
    r.channel = channel;
    r.workbook = workbook;
    r.archiveFile = archive;
    r.pasted = true;
    r.description = "Press\tA\\1";
    r.cutShortBy = "the line was lost";
    r.traceOffset = 0.1F;
    return r;
}

TEST(JournalRecord, EveryKindComesBackFromItsLine) {
    std::vector<JournalRecord> records;
    JournalRecord open;
    open.kind = Kind::Open;
    open.channel = 2;
    open.workbook = "Prüfstand Ω 2026-12-07 14-03";
    open.description = "line\nbreak\r";
    records.push_back(open);
    records.push_back(reportRecord(5, "", "Received/Channel 6/2026-12-07 14-03-05 (2).txt"));
    JournalRecord summarize;
    summarize.kind = Kind::Summarize;
    summarize.channel = 1;
    summarize.workbook = "B";
    summarize.traceOffset = 1.0F / 3.0F;
    records.push_back(summarize);
    JournalRecord close;
    close.kind = Kind::Close;
    close.channel = 0;
    close.workbook = "B";
    records.push_back(close);
    JournalRecord known;
    known.kind = Kind::Known;
    known.archiveFile = "Received/Channel 1/x.txt";
    records.push_back(known);
    JournalRecord told;
    told.kind = Kind::Told;
    told.damaged = 3;
    records.push_back(told);
    for (auto& record : records) {
        record.when = at(7);
        const std::string line = journalLine(record);
        ASSERT_EQ(line.back(), '\n');
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
        const auto back = parseJournalLine(std::string_view(line).substr(0, line.size() - 1));
        ASSERT_TRUE(back) << line;
        EXPECT_EQ(back->kind, record.kind);
        EXPECT_EQ(back->when, record.when);
        EXPECT_EQ(back->channel,
                  record.kind == Kind::Known || record.kind == Kind::Told ? -1 : record.channel);
        EXPECT_EQ(back->workbook, record.workbook);
        EXPECT_EQ(back->archiveFile, record.archiveFile);
        EXPECT_EQ(back->pasted, record.pasted);
        EXPECT_EQ(back->cutShortBy, record.cutShortBy);
        EXPECT_EQ(back->description, record.description);
        EXPECT_EQ(back->traceOffset, record.traceOffset); // exactly
        EXPECT_EQ(back->damaged, record.damaged);
    }
}

TEST(JournalRecord, AnyChangedByteOrUnknownKindIsDamage) {
    auto record = reportRecord(0, "B", "a.txt");
    record.when = at(0);
    std::string line = journalLine(record);
    line.pop_back();
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::string changed = line;
        changed[i] = static_cast<char>(changed[i] ^ 0x04);
        EXPECT_FALSE(parseJournalLine(changed)) << i;
    }
    EXPECT_FALSE(parseJournalLine(line.substr(0, line.size() - 3)));
    // A kind of a later version, with a right checksum.
    const std::string rest = "batchlist\t2026-12-07T14:03:05Z\t1";
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(crc32Of(rest)));
    EXPECT_FALSE(parseJournalLine(std::string(crc) + "\t" + rest));
    EXPECT_EQ(crc32Of("123456789"), 0xCBF43926U);
}

TEST(JournalRecord, UtcTimesComeBack) {
    EXPECT_EQ(utcTimeText(WallClock::time_point{}), "1970-01-01T00:00:00Z");
    const auto when = at(12345);
    EXPECT_EQ(parseUtcTime(utcTimeText(when)), when);
    EXPECT_EQ(utcTimeText(*parseUtcTime("2028-02-29T23:59:58Z")), "2028-02-29T23:59:58Z");
    EXPECT_FALSE(parseUtcTime("2028-02-29 23:59:58Z"));
}

class BatchJournalTest : public ::testing::Test {
protected:
    BatchJournal journal() {
        return BatchJournal(
            file, [this] { return at(++tick); },
            [this](const std::string& text) { told.push_back(text); });
    }

    TempDir dir;
    std::filesystem::path file = batchJournalPath(dir.path());
    int tick = 0;
    std::vector<std::string> told;
};

TEST_F(BatchJournalTest, FirstStartMakesTheJournalNamingTheArchiveAsItIs) {
    auto first = journal();
    const auto& reading = first.load({"Received/Channel 1/a.txt", "Received/Channel 2/b.txt"});
    EXPECT_FALSE(reading.existed);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(first.book().names("Received/Channel 2/b.txt"));
    EXPECT_FALSE(first.book().names("Received/Channel 2/c.txt"));

    auto second = journal();
    const auto& again = second.load({"Received/Channel 2/c.txt"}); // not the first start
    EXPECT_TRUE(again.existed);
    EXPECT_EQ(again.records.size(), 2U);
    EXPECT_TRUE(second.book().names("Received/Channel 1/a.txt"));
    EXPECT_FALSE(second.book().names("Received/Channel 2/c.txt"));
    EXPECT_TRUE(told.empty());
}

TEST_F(BatchJournalTest, ReportsOpenTheirBatchOnceAndCloseEndsIt) {
    {
        auto j = journal();
        j.load({});
        const auto archive = utf8Of(dir.path() / "Received" / "Channel 1" / "r1.txt");
        j.reported(0, "Book A", archive, true, "", "Press A", 0.5F);
        j.reported(0, "Book A", utf8Of(dir.path() / "Received" / "Channel 1" / "r2.txt"), false, "",
                   "Press A", 0.5F);
        j.summarized(0, "Book A", "Press A", 0.25F);
        j.reported(1, "Book B", "", true, "", "Press B", 0.5F);
        j.reported(2, "", utf8Of(dir.path() / "Received" / "Channel 3" / "r3.txt"), false, "", "",
                   0.5F);
        j.closed(1, "Book B");
    }
    auto j = journal();
    const auto& reading = j.load({});
    EXPECT_EQ(reading.damaged, 0U);
    // open, report, report, summarize, open, report, report, close
    ASSERT_EQ(reading.records.size(), 8U);
    EXPECT_EQ(reading.records[0].kind, Kind::Open);
    EXPECT_EQ(reading.records[1].archiveFile, "Received/Channel 1/r1.txt");
    EXPECT_EQ(j.archivePath(reading.records[1].archiveFile),
              dir.path() / "Received/Channel 1/r1.txt");
    EXPECT_TRUE(j.book().names("Received/Channel 3/r3.txt"));

    const auto open = j.book().openBatches();
    ASSERT_EQ(open.size(), 1U);
    EXPECT_EQ(open[0]->workbook, "Book A");
    EXPECT_EQ(open[0]->channel, 0);
    EXPECT_EQ(open[0]->reports, 2U);
    EXPECT_EQ(open[0]->entries.size(), 3U); // two reports and the summary
    EXPECT_EQ(open[0]->firstReport, reading.records[1].when);
    EXPECT_EQ(open[0]->lastReport, reading.records[2].when);

    const auto second = j.book().batchesOf(1);
    ASSERT_EQ(second.size(), 1U);
    EXPECT_EQ(second[0]->state, BatchInfo::State::Closed);
    EXPECT_EQ(second[0]->reports, 1U);
    EXPECT_TRUE(j.book().batchesOf(2).empty()); // its report reached no workbook
}

TEST_F(BatchJournalTest, ANewWorkbookOfTheChannelEndsItsEarlierBatch) {
    auto j = journal();
    j.load({});
    j.reported(0, "Book A", "", true, "", "", 0.5F);
    j.reported(0, "Book C", "", true, "", "", 0.5F);
    const auto batches = j.book().batchesOf(0);
    ASSERT_EQ(batches.size(), 2U);
    EXPECT_EQ(batches[0]->state, BatchInfo::State::Superseded);
    EXPECT_EQ(batches[1]->state, BatchInfo::State::Open);
}

TEST_F(BatchJournalTest, DamagedLinesAreSkippedCountedAndToldOnlyOnce) {
    {
        auto j = journal();
        j.load({});
        j.reported(0, "Book A", "", true, "", "", 0.5F);
        j.reported(0, "Book A", "", true, "", "", 0.5F);
        j.reported(0, "Book A", "", true, "", "", 0.5F);
    }
    std::string bytes = fileBytes(file);
    const auto second = bytes.find('\n') + 5;
    bytes[second] = static_cast<char>(bytes[second] ^ 1); // the first report's line
    bytes += "garbage that is no record\n";
    writeBytes(file, bytes);

    auto j = journal();
    const auto& reading = j.load({});
    EXPECT_EQ(reading.damaged, 2U);
    EXPECT_EQ(reading.damagedTold, 0U);
    ASSERT_EQ(reading.records.size(), 3U);
    EXPECT_EQ(j.book().openBatches().at(0)->reports, 2U);
    j.damageTold();

    auto later = journal();
    EXPECT_EQ(later.load({}).damaged, 2U);
    EXPECT_EQ(later.reading().damagedTold, 2U);
}

TEST_F(BatchJournalTest, ALineCutOffByAKillIsSkippedAndTheNextRecordIsWhole) {
    {
        auto j = journal();
        j.load({});
        j.reported(0, "Book A", "", true, "", "", 0.5F);
    }
    std::string whole = fileBytes(file);
    {
        auto j = journal();
        j.load({});
        j.reported(0, "Book A", "", true, "", "", 0.5F);
    }
    // The second report's line as a kill left it: without its end.
    std::string bytes = fileBytes(file);
    bytes.resize(bytes.size() - 7);
    writeBytes(file, bytes);

    auto j = journal();
    const auto& reading = j.load({});
    EXPECT_TRUE(reading.tornEnd);
    EXPECT_EQ(reading.damaged, 0U);
    EXPECT_EQ(reading.records.size(), 2U); // open and the first report
    EXPECT_EQ(fileBytes(file), whole);     // the cut-off line is gone
    j.closed(0, "Book A");

    auto after = journal();
    const auto& read = after.load({});
    EXPECT_FALSE(read.tornEnd);
    EXPECT_EQ(read.damaged, 0U);
    ASSERT_EQ(read.records.size(), 3U);
    EXPECT_EQ(read.records[2].kind, Kind::Close);
}

TEST_F(BatchJournalTest, AJournalThatCannotBeWrittenIsToldOnceAndTheReaderGoesOn) {
    auto j = journal();
    j.load({});
    std::filesystem::remove(file);
    std::filesystem::create_directories(file); // a folder where the file should be
    j.reported(0, "Book A", "", true, "", "", 0.5F);
    j.reported(0, "Book A", "", true, "", "", 0.5F);
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told[0].find("Batches.journal could not be written"), std::string::npos) << told[0];
    // The running program still knows.
    EXPECT_EQ(j.book().openBatches().at(0)->reports, 2U);
}

TEST(ArchiveFiles, ReportsComeInTheOrderTheyArrived) {
    TempDir dir;
    const auto folder = dir.path() / "Received" / "Channel 2";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> arrived = {"2026-12-07 09-59-59.txt",
                                              "2026-12-07 10-00-00 (cut short).txt",
                                              "2026-12-07 10-00-00.txt",
                                              "2026-12-07 10-00-00 (2).txt",
                                              "2026-12-07 10-00-00 (3) (cut short).txt",
                                              "2026-12-07 10-00-00 (10).txt",
                                              "2026-12-08 00-00-00 (cut short) (2).txt"};
    for (auto it = arrived.rbegin(); it != arrived.rend(); ++it) {
        writeBytes(folder / *it, "x");
    }
    writeBytes(folder / "notes.txt", "not a report");
    std::filesystem::create_directories(dir.path() / "Received" / "Channel 9");
    writeBytes(dir.path() / "Received" / "Channel 9" / "2026-12-07 10-00-00.txt", "x");

    const auto found = archivedReports(dir.path());
    std::vector<std::string> names;
    for (const auto& report : found) {
        EXPECT_EQ(report.channel, 1);
        EXPECT_EQ(report.recorded, "Received/Channel 2/" + utf8Of(report.path.filename()));
        names.push_back(utf8Of(report.path.filename()));
    }
    EXPECT_EQ(names, arrived);
    EXPECT_TRUE(found[1].cutShort);
    EXPECT_FALSE(found[2].cutShort);
}

} // namespace
} // namespace kelvor::test
