#include "XlsxPackage.h"

#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

// Runs `call` and returns the number of the HostError it throws (0 when none), keeping
// the description for checks.
template <class F> int errorOf(F call, std::string* description = nullptr) {
    try {
        call();
    } catch (const xl::HostError& e) {
        EXPECT_EQ(e.source(), "KelvorReader2 Spreadsheet");
        if (description != nullptr) {
            *description = e.description();
        }
        return e.number();
    }
    return 0;
}

std::vector<std::string> sheetNames(xl::Application& app) {
    std::vector<std::string> names;
    const auto sheets = app.Sheets();
    for (int i = 1; i <= sheets->Count(); ++i) {
        names.push_back(sheets->Item(i)->Name());
    }
    return names;
}

class BuiltinApplicationSheetsTest : public testing::Test {
protected:
    test::TempDir dir;
    BuiltinApplication app{dir.path() / "Workbooks", {}, BuiltinOptions{.defaultSheetCount = 3}};
};

TEST_F(BuiltinApplicationSheetsTest, AddedWorkbookIsAppendedActivatedAndCounted) {
    auto books = app.Workbooks();
    EXPECT_EQ(books->Count(), 0);
    EXPECT_EQ(errorOf([&] { app.ActiveWorkbook(); }), 91);
    books->Add();
    books->Add();
    EXPECT_EQ(books->Count(), 2);
    EXPECT_EQ(app.ActiveWorkbook()->Name(), "Book2");
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Sheet1", "Sheet2", "Sheet3"}));
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet1");

    books->Item(1)->Activate();
    EXPECT_EQ(app.ActiveWorkbook()->Name(), "Book1");
    app.ActiveSheet()->setName("First");
    EXPECT_EQ(app.Sheets()->Item(1)->Name(), "First");
    EXPECT_EQ(app.Worksheets()->Item(1)->Name(), "First");
    EXPECT_EQ(books->Item(2)->Sheets()->Item(1)->Name(), "Sheet1");

    EXPECT_EQ(errorOf([&] { books->Item(0); }), 9);
    EXPECT_EQ(errorOf([&] { books->Item(3); }), 9);
    EXPECT_EQ(errorOf([&] { app.Sheets()->Item(4); }), 9);
}

TEST(BuiltinApplicationSheetsTestDefaults, NewWorkbookHoldsOneSheetByDefault) {
    test::TempDir dir;
    BuiltinApplication app(dir.path());
    app.Workbooks()->Add();
    EXPECT_EQ(sheetNames(app), std::vector<std::string>{"Sheet1"});
    // Deleting the only sheet is refused.
    std::string description;
    EXPECT_EQ(errorOf([&] { app.Sheets()->Item(1)->Delete(); }, &description), 1004);
    EXPECT_EQ(app.Sheets()->Count(), 1);
}

TEST_F(BuiltinApplicationSheetsTest, SheetsCountsChartSheetsWorksheetsDoNot) {
    app.Workbooks()->Add();
    app.workbookModel(1).addChartSheet("Chart1", 1);
    EXPECT_EQ(app.Sheets()->Count(), 4);
    EXPECT_EQ(app.Worksheets()->Count(), 3);
    EXPECT_EQ(app.Sheets()->Item(2)->Name(), "Chart1");
    EXPECT_EQ(app.Sheets()->Item(2)->Type(), xl::xlChart);
    EXPECT_EQ(app.Worksheets()->Item(2)->Name(), "Sheet2");
    EXPECT_EQ(app.Worksheets()->Item(2)->Type(), xl::xlWorksheet);

    // Worksheet members on a chart sheet are not supported; page setup and naming are.
    const auto chart = app.Sheets()->Item(2);
    EXPECT_EQ(errorOf([&] { chart->Range("A1"); }), 438);
    EXPECT_EQ(errorOf([&] { chart->Cells(1, 1); }), 438);
    EXPECT_EQ(errorOf([&] { chart->Paste(); }), 438);
    chart->PageSetup()->setRightFooter("File: &F  Sheet:&A");
    EXPECT_EQ(app.workbookModel(1).sheet(1).name(), "Chart1");
    EXPECT_EQ(asChartSheet(app.workbookModel(1).sheet(1))->pageSetup().rightFooter,
              "File: &F  Sheet:&A");
    chart->Activate();
    EXPECT_EQ(errorOf([&] { app.Selection()->AsRange(); }), 438);
    EXPECT_EQ(errorOf([&] { app.ActiveCell(); }), 91);
}

TEST_F(BuiltinApplicationSheetsTest,
       DeletingTheActiveSheetActivatesTheNextVisibleOneElseTheOneBefore) {
    app.Workbooks()->Add();
    const auto sheets = app.Sheets();
    sheets->Add(sheets->Item(3)); // Sheet4 at the end
    sheets->Item(3)->setVisible(xl::xlSheetHidden);
    // Sheet1 Sheet2 [Sheet3 hidden] Sheet4
    sheets->Item(2)->Activate();
    sheets->Item(2)->Delete();
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet4"); // the hidden one is passed over
    sheets->Item(3)->Delete();                      // Sheet4, the last one
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet1"); // nearest visible to its left
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Sheet1", "Sheet3"}));

    // The hidden sheet can be activated and deleted; the last visible sheet cannot go.
    sheets->Item(2)->Activate();
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet3");
    sheets->Item(2)->Delete();
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet1");
    EXPECT_EQ(errorOf([&] { sheets->Item(1)->Delete(); }), 1004);
    EXPECT_EQ(errorOf([&] { sheets->Item(1)->setVisible(xl::xlSheetHidden); }), 1004);
}

TEST_F(BuiltinApplicationSheetsTest, DeletingAnInactiveSheetKeepsTheActiveOne) {
    app.Workbooks()->Add();
    app.Sheets()->Item(3)->Activate();
    app.setDisplayAlerts(true); // the built-in application never asks either way
    app.Sheets()->Item(1)->Delete();
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet3");
}

TEST_F(BuiltinApplicationSheetsTest, SummaryRemovalWalkLeavesNoSummarySheet) {
    // The walk the export runs: from the last sheet to the first, activate each and delete
    // the sheet at that position while the active sheet bears one of the three names.
    const auto walk = [&] {
        const auto sheets = app.Sheets();
        for (auto p = sheets->Count(); p >= 1; --p) {
            sheets->Item(p)->Activate();
            for (const char* name : {"Summary", "Summary Plot", "Summary XOffset"}) {
                if (app.ActiveSheet()->Name() == name) {
                    sheets->Item(p)->Delete();
                }
            }
        }
    };
    app.Workbooks()->Add();
    auto& model = app.workbookModel(1);
    model.renameSheet(0, "Data 1");
    model.addChartSheet("Data 1 Plot", 1);
    model.renameSheet(2, "Data 2");
    model.renameSheet(3, "Summary");
    model.addChartSheet("Summary Plot");
    model.addWorksheet("Summary XOffset");
    model.sheet(5).setHidden(true);
    walk();
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Data 1", "Data 1 Plot", "Data 2"}));

    app.Workbooks()->Add();
    app.workbookModel(2).renameSheet(1, "summary"); // differs in case only: stays
    walk();
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Sheet1", "summary", "Sheet3"}));
}

TEST_F(BuiltinApplicationSheetsTest, AddedSheetGoesBehindItsAnchorWithAFreshNameAndBecomesActive) {
    app.Workbooks()->Add();
    const auto sheets = app.Sheets();
    sheets->Item(1)->setName("Data 1");
    const auto added = sheets->Add(sheets->Item(1));
    EXPECT_EQ(added->Name(), "Sheet4");
    EXPECT_EQ(app.ActiveSheet()->Name(), "Sheet4");
    EXPECT_EQ(sheetNames(app), (std::vector<std::string>{"Data 1", "Sheet4", "Sheet2", "Sheet3"}));
    app.Sheets()->Item(4)->setName("Sheet5"); // the next number is taken: it is passed over
    EXPECT_EQ(sheets->Add(sheets->Item(4))->Name(), "Sheet6");
    // An anchor from another workbook is refused.
    app.Workbooks()->Add();
    EXPECT_EQ(errorOf([&] { app.Sheets()->Add(sheets->Item(1)); }), 1004);
}

TEST_F(BuiltinApplicationSheetsTest, TakenOrInvalidNamesFailWith1004) {
    app.Workbooks()->Add();
    const auto sheets = app.Sheets();
    sheets->Item(1)->setName("Data 1");
    std::string description;
    EXPECT_EQ(errorOf([&] { sheets->Item(2)->setName("DATA 1"); }, &description), 1004);
    EXPECT_EQ(description, "That name is already taken. Try a different one.");
    EXPECT_EQ(sheets->Item(2)->Name(), "Sheet2");
    for (const std::string& bad :
         std::vector<std::string>{"", "a/b", "[x]", "'quoted'", std::string(32, 'x'), "History"}) {
        EXPECT_EQ(errorOf([&] { sheets->Item(2)->setName(bad); }), 1004) << bad;
    }
    sheets->Item(1)->setName("DATA 1"); // its own name in other letters is fine
    EXPECT_EQ(sheets->Item(1)->Name(), "DATA 1");
}

TEST_F(BuiltinApplicationSheetsTest, HandlesToDeletedSheetsFailInsteadOfDangling) {
    app.Workbooks()->Add();
    const auto sheet = app.Sheets()->Item(2);
    const auto cell = sheet->Range("A1");
    sheet->Delete();
    EXPECT_NE(errorOf([&] { sheet->Name(); }), 0);
    EXPECT_NE(errorOf([&] { cell->setValue(1.0); }), 0);
    EXPECT_EQ(app.Sheets()->Count(), 2);
}

TEST_F(BuiltinApplicationSheetsTest, SelectionAndActiveCellFollowSelectAndActivate) {
    app.Workbooks()->Add();
    const auto sheet = app.ActiveSheet();
    EXPECT_EQ(app.ActiveCell()->Text(), "");
    sheet->Range("B8,D8")->Select();
    sheet->Range("D8")->Activate();
    app.ActiveCell()->setValue(std::string("active"));
    EXPECT_EQ(std::get<std::string>(sheet->Range("D8")->Value()), "active");
    app.Selection()->AsRange()->setNumberFormat("0.000");
    sheet->Range("B8")->setValue(2.0);
    EXPECT_EQ(sheet->Range("B8")->Text(), "2.000");
    // Only the active sheet's ranges can be selected.
    EXPECT_EQ(errorOf([&] { app.Sheets()->Item(2)->Range("A1")->Select(); }), 1004);
    // Each sheet keeps its own selection; a new one starts at A1.
    const auto added = app.Sheets()->Add(app.Sheets()->Item(3));
    app.ActiveCell()->setValue(1.0);
    EXPECT_EQ(std::get<double>(added->Range("A1")->Value()), 1.0);
}

TEST_F(BuiltinApplicationSheetsTest, BadAddressesAndPositionsFailWith1004) {
    app.Workbooks()->Add();
    const auto sheet = app.ActiveSheet();
    for (const char* address : {"B115.5", "A0", "A1048577", "XFE1", "", "A1:", "1A", "A 1"}) {
        EXPECT_EQ(errorOf([&] { sheet->Range(address); }), 1004) << address;
    }
    EXPECT_EQ(errorOf([&] { sheet->Cells(0, 1); }), 1004);
    EXPECT_EQ(errorOf([&] { sheet->Cells(1048577, 1); }), 1004);
    EXPECT_EQ(errorOf([&] { sheet->Cells(1, 16385); }), 1004);
    sheet->Cells(1048576, 16384)->setValue(1.0);
    sheet->Range("$XFD$1")->setValue(2.0);
    EXPECT_EQ(sheet->Range("A16", "B115")->Text(), "");
}

TEST_F(BuiltinApplicationSheetsTest, HandlesOutlivingTheApplicationFail) {
    auto owned = std::make_unique<BuiltinApplication>(dir.path() / "Workbooks");
    const auto books = owned->Workbooks();
    books->Add();
    const auto sheet = owned->ActiveSheet();
    owned.reset();
    EXPECT_EQ(errorOf([&] { books->Count(); }), -2147023174);
    EXPECT_EQ(errorOf([&] { sheet->Range("A1"); }), -2147023174);
}

TEST_F(BuiltinApplicationSheetsTest, ClosedApplicationFailsLikeAVanishedServer) {
    BuiltinApplicationFactory factory(dir.path() / "Workbooks");
    const auto first = factory.create();
    const auto book = first->Workbooks()->Add();
    factory.created().front()->close();
    std::string description;
    EXPECT_EQ(errorOf([&] { first->setVisible(true); }, &description), -2147023174);
    EXPECT_EQ(description, "The RPC server is unavailable.");
    EXPECT_EQ(errorOf([&] { book->Sheets(); }), -2147023174);
    const auto second = factory.create();
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Workbooks()->Count(), 0);
}

} // namespace
} // namespace kelvor
