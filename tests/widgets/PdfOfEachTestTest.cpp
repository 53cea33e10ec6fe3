// A PDF of each test: the sheets an export made, written from the event loop after it.
#include "shell/PdfOfEachTest.h"
#include "TestFiles.h"
#include "WorkbookWindowFixture.h"
#include "export/ReportExportStep.h"
#include "platform/PlatformConfig.h"
#include "shell/PdfAfterExport.h"
#include "shell/PdfQueue.h"
#include "shell/WorkbookWindows.h"
#include "util/EventLog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {
namespace {

namespace fs = std::filesystem;
using test::fileBytes;
using test::fileNamesIn;
using test::writeBytes;

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

class PdfOfEachTestTest : public WorkbookWindowTest {
protected:
    fs::path workbooks() const { return dir.filePath("Workbooks").toStdString(); }
    fs::path pdfFolder(int channel) {
        return workbooks() / "PDF" / app().workbookFile(channels[channel].WorkbookIndex).stem();
    }

    ExportOutcome send(int channel, const std::string& file) {
        std::string text = file.ends_with(".txt") ? sample(file) : file;
        return exporter.exportReport(channel, text, "", channels[channel].WorkbookIndex);
    }

    // Turns of the event loop until the queue is empty; never waits for time to pass.
    void drain() {
        for (int turn = 0; turn < 100 && queue.pending() != 0; ++turn) {
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(queue.pending(), 0U);
    }

    std::string logText() const { return fileBytes(log.file()); }

    EventLog log{fs::path(dir.filePath("KelvorReader.log").toStdString())};
    bool ours = true;
    std::array<bool, ChannelCount> on{};
    PdfQueue queue{{.prompts = prompts, .log = &log, .folderIsOurs = [this] { return ours; }}};
    ReportExportStep step{ctx};
    PdfAfterExport exporter{{.inner = step,
                             .queue = queue,
                             .exports = ctx,
                             .channels = channels,
                             .enabled = [this](int channel) { return on.at(channel); },
                             .workbookFolder = workbooks()}};
};

TEST_F(PdfOfEachTestTest, EachTestsSheetsBecomePdfsAfterItsExportReturns) {
    on[0] = true;
    ASSERT_TRUE(send(0, "rate-shipper-lbf-in-50.txt").pasted);
    // Nothing is drawn inside the export: capture goes on at once.
    EXPECT_EQ(queue.pending(), 2U);
    EXPECT_FALSE(fs::exists(workbooks() / "PDF"));
    drain();
    EXPECT_EQ(fileNamesIn(pdfFolder(0)),
              (std::vector<std::string>{"Data 1 Plot.pdf", "Data 1.pdf"}));
    EXPECT_TRUE(fileBytes(pdfFolder(0) / "Data 1.pdf").starts_with("%PDF-"));

    // The next tests add theirs; the summary plot, the batch's, gets none.
    ASSERT_TRUE(send(0, "rate-doublewall-box-lbf-in-1000.txt").pasted);
    ASSERT_TRUE(send(0, "load-stack-creep-lbf-in.txt").pasted);
    drain();
    EXPECT_EQ(fileNamesIn(pdfFolder(0)),
              (std::vector<std::string>{"Data 1 Plot.pdf", "Data 1.pdf", "Data 2 Plot.pdf",
                                        "Data 2.pdf", "Data 3 Plot.pdf", "Data 3.pdf"}));
    EXPECT_EQ(countOf(logText(), "PDF written"), 6U);
    EXPECT_TRUE(prompts.shown.empty());

    // Noise makes no data sheet and no PDF; a channel without the choice makes none.
    EXPECT_FALSE(send(0, "SELF TEST OK\r\n").pasted);
    ASSERT_TRUE(send(1, "rate-paper-core-n-mm-150.txt").pasted);
    EXPECT_EQ(queue.pending(), 0U);
    EXPECT_FALSE(fs::exists(pdfFolder(1)));
}

TEST_F(PdfOfEachTestTest, NoPdfIsDrawnWhileAnExportWaitsOnABox) {
    on[0] = true;
    ASSERT_TRUE(send(0, "rate-shipper-lbf-in-50.txt").pasted);
    ASSERT_EQ(queue.pending(), 2U);
    // The next report's sheet has no column headings: its export shows a box, whose message
    // loop lets the timers through.
    std::string broken = sample("rate-paper-core-n-mm-150.txt");
    broken.replace(broken.find("DEFLECTION,FORCE"), 16, "DEFLECTIN");
    std::vector<std::size_t> pendingInBox;
    prompts.whileOpen = [&](const ScriptedPrompts::Shown&) {
        for (int turn = 0; turn < 10; ++turn) {
            QCoreApplication::processEvents();
        }
        pendingInBox.push_back(queue.pending());
    };
    send(0, broken);
    prompts.whileOpen = {};
    ASSERT_FALSE(pendingInBox.empty());
    EXPECT_EQ(pendingInBox.front(), 2U);
    EXPECT_FALSE(fs::exists(workbooks() / "PDF"));
    drain(); // once the export is over, they are written
    EXPECT_TRUE(fs::exists(pdfFolder(0) / "Data 1 Plot.pdf"));
}

TEST_F(PdfOfEachTestTest, APdfFolderThatCannotBeMadeIsToldOncePerTroubleAndCaptureGoesOn) {
    on[0] = true;
    // A file where the folder should be stops every user, root included.
    fs::create_directories(workbooks());
    writeBytes(workbooks() / "PDF", "in the way");
    ASSERT_TRUE(send(0, "rate-shipper-lbf-in-50.txt").pasted);
    drain();
    ASSERT_TRUE(send(0, "rate-paper-core-n-mm-150.txt").pasted);
    drain();
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_NE(prompts.shown[0].text.find("could not be written"), std::string::npos);
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(countOf(logText(), "PDF not written"), 4U);

    // Mended: the next test's PDFs are written; trouble after that is news again.
    fs::remove(workbooks() / "PDF");
    ASSERT_TRUE(send(0, "rate-bottle-topload-kgf-mm-300.txt").pasted);
    drain();
    EXPECT_EQ(fileNamesIn(pdfFolder(0)),
              (std::vector<std::string>{"Data 3 Plot.pdf", "Data 3.pdf"}));
    fs::remove_all(workbooks() / "PDF");
    writeBytes(workbooks() / "PDF", "in the way again");
    ASSERT_TRUE(send(0, "rate-shipper-lbf-in-50.txt").pasted);
    drain();
    EXPECT_EQ(prompts.shown.size(), 2U);
    EXPECT_EQ(countOf(logText(), "PDF not written"), 6U);
}

TEST_F(PdfOfEachTestTest, AReadOnlyPdfFolderIsToldOnceAndLeavesNoTemporaryFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not stop root";
    }
    on[0] = true;
    ASSERT_TRUE(send(0, "rate-shipper-lbf-in-50.txt").pasted);
    drain();
    const fs::path folder = pdfFolder(0);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_TRUE(send(0, "rate-paper-core-n-mm-150.txt").pasted);
    ASSERT_TRUE(send(0, "rate-bottle-topload-kgf-mm-300.txt").pasted);
    drain();
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(countOf(logText(), "PDF not written"), 4U);
    EXPECT_EQ(fileNamesIn(folder), (std::vector<std::string>{"Data 1 Plot.pdf", "Data 1.pdf"}));
}

TEST_F(PdfOfEachTestTest, NothingIsWrittenWhileTheWorkbookFolderIsNotTheReaders) {
    on[0] = true;
    ours = false;
    ASSERT_TRUE(send(0, "rate-shipper-lbf-in-50.txt").pasted);
    drain();
    EXPECT_FALSE(fs::exists(workbooks() / "PDF"));
    EXPECT_TRUE(prompts.shown.empty()); // the folder's own check tells
    EXPECT_EQ(countOf(logText(), "is not the one the reader wrote to before"), 2U);
}

TEST_F(PdfOfEachTestTest, TheLightsMenuSwitchesItAndWritesOnlyItsKey) {
    const fs::path ini = dir.filePath("KelvrReader.ini").toStdString();
    writeBytes(ini, "[KelvorReader]\nTop=15\n[KelvorReaderPdf]\nChannel2=1\n");
    PlatformConfig platform = readPlatformConfig(ini.string());
    const std::string iniPath = ini.string();
    PdfOfEachTest setting(platform, iniPath, prompts);
    WorkbookWindows windows({.lights = lights,
                             .exports = ctx,
                             .channels = channels,
                             .prompts = prompts,
                             .savesPdf = [&](int n) { return setting.on(n); },
                             .setSavesPdf = [&](int n, bool set) { setting.set(n, set); }});
    const auto pdfAction = [&](QMenu& menu) -> QAction* {
        for (QAction* action : menu.actions()) {
            if (action->text() == "Save a PDF of Each Test") {
                return action;
            }
        }
        return nullptr;
    };
    auto second = windows.contextMenu(1);
    ASSERT_NE(pdfAction(*second), nullptr);
    EXPECT_TRUE(pdfAction(*second)->isChecked());
    auto first = windows.contextMenu(0);
    QAction* action = pdfAction(*first);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isCheckable());
    EXPECT_FALSE(action->isChecked());
    EXPECT_TRUE(action->isEnabled()); // no workbook yet: the choice is for the next tests

    action->trigger();
    EXPECT_TRUE(setting.on(0));
    EXPECT_TRUE(pdfAction(*windows.contextMenu(0))->isChecked());
    EXPECT_EQ(fileBytes(ini),
              "[KelvorReader]\nTop=15\n[KelvorReaderPdf]\nChannel2=1\nChannel1=1\n");
    pdfAction(*windows.contextMenu(1))->trigger();
    EXPECT_FALSE(setting.on(1));
    EXPECT_EQ(fileBytes(ini),
              "[KelvorReader]\nTop=15\n[KelvorReaderPdf]\nChannel2=0\nChannel1=1\n");
    EXPECT_TRUE(prompts.shown.empty());

    // A settings file that cannot be changed is told; the choice holds for this run.
    writeBytes(dir.filePath("in the way").toStdString(), "a file");
    const std::string blocked = dir.filePath("in the way/KelvrReader.ini").toStdString();
    PdfOfEachTest stuck(platform, blocked, prompts);
    stuck.set(2, true);
    EXPECT_TRUE(stuck.on(2));
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_NE(prompts.shown[0].text.find(blocked), std::string::npos);
}

} // namespace
} // namespace kelvor
