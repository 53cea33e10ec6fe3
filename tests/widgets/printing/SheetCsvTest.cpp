// A sheet saved as CSV reads back, with Python's csv module, as the cells the window shows.
#include "printing/SheetCsv.h"
#include "PdfTools.h"
#include "WorkbookWindowFixture.h"
#include "util/CsvText.h"
#include "workbookview/SheetGrid.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include <filesystem>
#include <fstream>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

// The records Python's csv module reads from the file, as it would read a spreadsheet's export.
QJsonArray pythonRecords(const fs::path& csv) {
    const QString script = "import csv, json, sys\n"
                           "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                           "    json.dump(list(csv.reader(f, strict=True)), sys.stdout)\n";
    const QString out = test::runTool("python3", {"-c", script, test::pathText(csv)});
    return QJsonDocument::fromJson(out.toUtf8()).array();
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CsvTextTest, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csvRecord({"plain", "", "1.5"}), "plain,,1.5\r\n");
    EXPECT_EQ(csvRecord({"a,b", "say \"hi\"", "two\nlines", "cr\r"}),
              "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\"\r\n");
    EXPECT_EQ(csvField(" blanks stay "), " blanks stay ");
}

using SheetCsvTest = WorkbookWindowTest;

TEST_F(SheetCsvTest, ADataSheetReadsBackAsTheGridDisplaysIt) {
    KELVOR_NEED_TOOL("python3");
    exportTo(1, "load-stack-creep-lbf-in.txt");
    const BookView book = app().openBook(channels[1].WorkbookIndex);
    const Workbook& model = book.workbook();
    const auto& sheet = *asWorksheet(model.sheet(*model.indexOf("Data 1")));
    const fs::path csv = fs::path(dir.filePath("data.csv").toStdString());
    ASSERT_EQ(saveSheetCsv(sheet, model.styles(), csv), "");
    const std::string bytes = bytesOf(csv);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    const QJsonArray records = pythonRecords(csv);
    const auto used = sheet.usedRange();
    ASSERT_TRUE(used.has_value());
    ASSERT_EQ(records.size(), static_cast<qsizetype>(used->lastRow));
    const SheetGrid grid(sheet, model.styles());
    int dates = 0;
    for (int row = 1; row <= static_cast<int>(used->lastRow); ++row) {
        const QJsonArray fields = records[row - 1].toArray();
        ASSERT_EQ(fields.size(), static_cast<qsizetype>(used->lastColumn)) << "row " << row;
        for (int column = 1; column <= static_cast<int>(used->lastColumn); ++column) {
            ASSERT_EQ(fields[column - 1].toString(), grid.displayed(row, column))
                << "row " << row << " column " << column;
        }
        dates += fields[0].toString().contains('/') ? 1 : 0;
    }
    EXPECT_GT(dates, 200); // dates and times as their format shows them, not serial numbers
    // The two-line headers stay whole: quoted, their line break inside.
    EXPECT_NE(bytes.find("\"DEFLECTION\n(in)\""), std::string::npos);
}

TEST_F(SheetCsvTest, TextsThatNeedQuotingAndWideCharactersReadBackWhole) {
    KELVOR_NEED_TOOL("python3");
    Workbook model;
    Worksheet& sheet = model.addWorksheet("Notes");
    sheet.setValue(1, 1, std::string("Box, \"double\" wall"));
    sheet.setValue(1, 3, std::string("\xC2\xBA F\r\nnext"));
    sheet.setValue(2, 2, 1234.5);
    const fs::path csv = fs::path(dir.filePath("notes.csv").toStdString());
    ASSERT_EQ(saveSheetCsv(sheet, model.styles(), csv), "");
    const QJsonArray records = pythonRecords(csv);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].toArray(), QJsonArray({"Box, \"double\" wall", "", "\u00BA F\r\nnext"}));
    EXPECT_EQ(records[1].toArray(), QJsonArray({"", "1234.5", ""}));
}

TEST_F(SheetCsvTest, AFileThatCannotBeWrittenIsReported) {
    Workbook model;
    Worksheet& sheet = model.addWorksheet("Notes");
    sheet.setValue(1, 1, 1.0);
    const fs::path csv = fs::path(dir.filePath("missing").toStdString()) / "notes.csv";
    EXPECT_NE(saveSheetCsv(sheet, model.styles(), csv), "");
    EXPECT_FALSE(fs::exists(csv));
}

} // namespace
} // namespace kelvor
