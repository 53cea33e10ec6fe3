// An application that cannot keep summary sheets aside (as an automation back end) answers
// FollowSummary with nothing: the summary sheets are deleted and rebuilt at every report, and
// the workbook is the very one the following built-in application writes.
#include "ChartExportFixture.h"
#include "ForwardingApplication.h"
#include "XlsxPackage.h"

#include "export/ReportExportStep.h"
#include "export/SummaryFollow.h"
#include "host/app/automation/BuiltinApplicationFactory.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

class PlainWorkbook : public xl::Workbook {
public:
    explicit PlainWorkbook(xl::WorkbookPtr inner) : inner_(std::move(inner)) {}

    void Activate() override { inner_->Activate(); }
    std::string Name() override { return inner_->Name(); }
    std::shared_ptr<xl::Sheets> Sheets() override { return inner_->Sheets(); }
    std::shared_ptr<xl::Sheets> Worksheets() override { return inner_->Worksheets(); }
    std::shared_ptr<xl::Charts> Charts() override { return inner_->Charts(); }
    void setFileName(const std::string& name) override { inner_->setFileName(name); }
    void Close() override { inner_->Close(); }

private:
    xl::WorkbookPtr inner_;
};

class PlainWorkbooks : public xl::Workbooks {
public:
    explicit PlainWorkbooks(std::shared_ptr<xl::Workbooks> inner) : inner_(std::move(inner)) {}

    std::int32_t Count() override { return inner_->Count(); }
    xl::WorkbookPtr Item(std::int32_t index) override {
        return std::make_shared<PlainWorkbook>(inner_->Item(index));
    }
    xl::WorkbookPtr Add() override { return std::make_shared<PlainWorkbook>(inner_->Add()); }

private:
    std::shared_ptr<xl::Workbooks> inner_;
};

// The built-in application with every workbook it hands out lacking FollowSummary.
class PlainApplication : public ForwardingApplication {
public:
    using ForwardingApplication::ForwardingApplication;

    std::shared_ptr<xl::Workbooks> Workbooks() override {
        return std::make_shared<PlainWorkbooks>(inner().Workbooks());
    }
    xl::WorkbookPtr ActiveWorkbook() override {
        return std::make_shared<PlainWorkbook>(inner().ActiveWorkbook());
    }
};

class PlainFactory : public xl::ApplicationFactory {
public:
    explicit PlainFactory(const std::filesystem::path& folder) : builtin(folder) {}

    std::shared_ptr<xl::Application> create() override {
        return std::make_shared<PlainApplication>(builtin.create());
    }

    BuiltinApplicationFactory builtin;
};

template <class Factory> struct Reader {
    explicit Reader(const std::filesystem::path& folder) : factory(folder) {}

    void exportReport(std::string text) {
        ReportExportStep step(ctx);
        step.exportReport(1, text, "", index);
    }

    Factory factory;
    ScriptedPrompts prompts;
    ChannelTable channels;
    float traceOffset = 0.5F;
    ExportContext ctx{factory, prompts, channels, traceOffset};
    std::int32_t index = 0;
};

std::filesystem::path fileOf(BuiltinApplicationFactory& factory, std::int32_t index) {
    return factory.created().at(0)->workbookFile(index);
}

TEST(SummaryWithoutFollowTest, RebuildsEveryTimeAndWritesTheFollowedWorkbook) {
    TempDir dir;
    Reader<BuiltinApplicationFactory> following(dir.path() / "following");
    Reader<PlainFactory> plain(dir.path() / "plain");
    const std::vector<std::string> reports = {rateReport("310.5", "0.21"),
                                              rateReport("322.5", "0.24"),
                                              sampleReport("load-stack-creep-lbf-in.txt"),
                                              "no test at all\r\n", rateReport("298.5", "0.19")};
    for (const std::string& report : reports) {
        following.exportReport(report);
        plain.exportReport(report);
        ASSERT_TRUE(plain.ctx.application().ActiveWorkbook()->FollowSummary() == nullptr);
        const auto followed = readPackage(fileOf(following.factory, following.index));
        const auto rebuilt = readPackage(fileOf(plain.factory.builtin, plain.index));
        ASSERT_FALSE(followed.empty());
        ASSERT_EQ(followed.size(), rebuilt.size());
        for (const auto& [name, entry] : followed) {
            if (name != "docProps/core.xml") { // the time each application started
                ASSERT_TRUE(rebuilt.contains(name)) << name;
                EXPECT_EQ(entry.content, rebuilt.at(name).content) << name;
            }
        }
    }
    EXPECT_TRUE(plain.prompts.shown.empty());
    EXPECT_TRUE(following.prompts.shown.empty());
}

} // namespace
} // namespace kelvor::test
