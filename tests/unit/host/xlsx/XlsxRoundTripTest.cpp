// Reads written workbooks back with programs of other makers: openpyxl and LibreOffice. Each
// test skips itself when its program is not installed.
#include "XlsxPackage.h"

#include "host/model/Workbook.h"
#include "host/xlsx/WorksheetXml.h"
#include "host/xlsx/XlsxWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kelvor {
namespace {

// 2024-01-01 03:04:05 as a spreadsheet date.
constexpr double kDateTime = 45292.0 + (3 * 3600 + 4 * 60 + 5) / 86400.0;

struct Run {
    bool started = false;
    int exitCode = -1;
    std::string output;
    std::string errors;
};

Run run(const QString& program, const QStringList& arguments, int timeoutMs = 120000) {
    QProcess process;
    process.start(program, arguments);
    Run result;
    result.started = process.waitForStarted();
    if (result.started && process.waitForFinished(timeoutMs)) {
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    } else {
        process.kill();
        process.waitForFinished();
    }
    result.output = process.readAllStandardOutput().toStdString();
    result.errors = process.readAllStandardError().toStdString();
    return result;
}

// A python that can import openpyxl; Debian's own comes first, since a python of a version
// manager on PATH may lack Debian's modules.
QString pythonWithOpenpyxl() {
    for (const QString& candidate :
         {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        if (run(candidate, {"-c", "import openpyxl"}, 60000).exitCode == 0) {
            return candidate;
        }
    }
    return {};
}

// A data sheet the way the export leaves one, a chart sheet and a hidden formula sheet.
void fillWorkbook(Workbook& book) {
    auto& data = book.addWorksheet("Data 1");
    Style threeDecimals;
    threeDecimals.numberFormat = "0.000";
    Style dateTime;
    dateTime.numberFormat = "m/d/yy h:mm:ss";
    Style header;
    header.horizontal = HorizontalAlignment::Right;
    header.wrapText = true;
    Style bold;
    bold.font.bold = true;
    auto& styles = book.styles();

    data.setValue(1, 1, std::string("CONSTANT RATE TEST DATA"));
    data.setStyle(1, 1, styles.intern(bold));
    data.setValue(3, 1, std::string("Force units in lbf"));
    data.setValue(5, 1, std::string("Max Force"));
    data.setValue(5, 2, 123.456);
    data.setStyle(5, 2, styles.intern(threeDecimals));
    data.setValue(15, 1, std::string("DEFLECTION\n(in)"));
    data.setValue(15, 2, std::string("FORCE\n(lbf)"));
    data.setStyle(15, 1, styles.intern(header));
    data.setStyle(15, 2, styles.intern(header));
    data.setValue(16, 1, 0.001);
    data.setValue(16, 2, 12.5);
    data.setValue(16, 3, kDateTime);
    data.setStyle(16, 3, styles.intern(dateTime));
    data.setFormula(16, 4, "=RC[-3]*2", FormulaNotation::R1C1, 0.002);
    data.setValue(17, 1, 0.1 + 0.2);
    data.setValue(17, 2, true);
    data.setValue(20, 1, std::string("Quote \"x\", comma & <tag>"));
    data.setValue(21, 1, std::string("  padded  "));
    data.setValue(22, 1,
                  std::string("Temp \xC2\xBA"
                              "C\x07"));
    data.setValue(23, 1, std::string("_x0041_ literal"));
    data.setColumnWidth(1, 12.5, true);
    data.setColumnWidth(2, 20.0);
    PageSetup page;
    page.leftMargin = 54.0;
    page.rightMargin = 54.0;
    page.topMargin = 72;
    page.bottomMargin = 72;
    page.centerHeader = "File: &F  Sheet:&A";
    page.centerFooter = "Page &P of &N";
    page.printTitleRows = "$15:$15";
    data.setPageSetup(page);

    auto& plot = book.addChartSheet("Data 1 Plot");
    plot.editChart([](Chart& chart) {
        chart.hasTitle = true;
        chart.title.text = "CONSTANT RATE TEST DATA: FORCE vs DEFORMATION";
        chart.series.push_back({"Data 1",
                                "='Data 1'!$A$16:$A$17",
                                "='Data 1'!$B$16:$B$17",
                                {0.001, 0.3},
                                {12.5, 1.0},
                                1,
                                Border{5, 2, 1}});
        chart.textBoxes.push_back(TextBox{475, 250, 112.93, 154.45, "Channel\nline 3"});
    });

    auto& offsets = book.addWorksheet("Summary XOffset");
    offsets.setFormula(16, 2, "='Data 1'!RC1 +  .5", FormulaNotation::R1C1, 0.501);
    offsets.setHidden(true);
    book.setActiveSheet(0);
}

constexpr const char* kDumpScript = R"(
import datetime, json, sys, openpyxl
def dump(path, data_only):
    book = openpyxl.load_workbook(path, data_only=data_only)
    sheets = {}
    for ws in book.worksheets:
        cells = {}
        for row in ws.iter_rows():
            for c in row:
                if c.value is None:
                    continue
                value = c.value
                if isinstance(value, datetime.datetime):
                    value = value.isoformat()
                cells[c.coordinate] = {"value": value, "format": c.number_format,
                    "align": c.alignment.horizontal, "wrap": bool(c.alignment.wrap_text),
                    "bold": bool(c.font.b)}
        widths = {k: d.width for k, d in ws.column_dimensions.items() if d.customWidth}
        m = ws.page_margins
        sheets[ws.title] = {"state": ws.sheet_state, "cells": cells, "widths": widths,
            "margins": [m.left, m.right, m.top, m.bottom],
            "header": ws.oddHeader.center.text, "footer": ws.oddFooter.center.text,
            "titles": ws.print_title_rows}
    return {"names": book.sheetnames, "sheets": sheets,
            "states": [book[n].sheet_state for n in book.sheetnames]}
print(json.dumps({"formulas": dump(sys.argv[1], False), "values": dump(sys.argv[1], True)}))
)";

TEST(XlsxRoundTripTest, OpenpyxlReadsBackWhatWasWritten) {
    const QString python = pythonWithOpenpyxl();
    if (python.isEmpty()) {
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    }
    test::TempDir dir;
    const auto file = dir.path() / "Book1.xlsx";
    Workbook book;
    fillWorkbook(book);
    XlsxWriter().write(book, file);

    const auto result = run(python, {"-c", kDumpScript, QString::fromStdString(file.string())});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const auto root = QJsonDocument::fromJson(QByteArray::fromStdString(result.output)).object();
    const auto formulas = root["formulas"].toObject();
    const auto values = root["values"].toObject();

    EXPECT_EQ(formulas["names"].toArray(),
              (QJsonArray{"Data 1", "Data 1 Plot", "Summary XOffset"}));
    EXPECT_EQ(formulas["states"].toArray(), (QJsonArray{"visible", "visible", "hidden"}));

    const auto data = formulas["sheets"]["Data 1"].toObject();
    const auto cells = data["cells"].toObject();
    const auto cell = [&](const char* name) { return cells[name].toObject(); };
    EXPECT_EQ(cell("A1")["value"].toString(), "CONSTANT RATE TEST DATA");
    EXPECT_TRUE(cell("A1")["bold"].toBool());
    EXPECT_EQ(cell("B5")["value"].toDouble(), 123.456);
    EXPECT_EQ(cell("B5")["format"].toString(), "0.000");
    EXPECT_EQ(cell("A15")["value"].toString(), "DEFLECTION\n(in)");
    EXPECT_EQ(cell("A15")["align"].toString(), "right");
    EXPECT_TRUE(cell("A15")["wrap"].toBool());
    EXPECT_EQ(cell("A16")["value"].toDouble(), 0.001);
    EXPECT_EQ(cell("C16")["value"].toString(), "2024-01-01T03:04:05");
    EXPECT_EQ(cell("C16")["format"].toString(), "m/d/yy h:mm:ss");
    EXPECT_EQ(cell("D16")["value"].toString(), "=A16*2");
    EXPECT_EQ(cell("A17")["value"].toDouble(), 0.1 + 0.2); // not 0.3: every bit kept
    EXPECT_EQ(cell("B17")["value"].toBool(), true);
    EXPECT_EQ(cell("A20")["value"].toString(), "Quote \"x\", comma & <tag>");
    EXPECT_EQ(cell("A21")["value"].toString(), "  padded  ");
    EXPECT_EQ(cell("A22")["value"].toString(), QString::fromUtf8("Temp \xC2\xBA"
                                                                 "C"));
    EXPECT_EQ(data["widths"].toObject()["A"].toDouble(), packageColumnWidth(12.5));
    EXPECT_EQ(data["widths"].toObject()["B"].toDouble(), packageColumnWidth(20.0));
    EXPECT_EQ(data["margins"].toArray(), (QJsonArray{0.75, 0.75, 1.0, 1.0}));
    EXPECT_EQ(data["header"].toString(), "File: &F  Sheet:&A");
    EXPECT_EQ(data["footer"].toString(), "Page &P of &N");
    EXPECT_EQ(data["titles"].toString(), "$15:$15");

    const auto cached = values["sheets"]["Data 1"]["cells"]["D16"]["value"].toDouble();
    EXPECT_EQ(cached, 0.002);
    const auto offsets = formulas["sheets"]["Summary XOffset"]["cells"]["B16"].toObject();
    EXPECT_EQ(offsets["value"].toString(), "='Data 1'!$A16 +  .5");
    EXPECT_EQ(values["sheets"]["Summary XOffset"]["cells"]["B16"]["value"].toDouble(), 0.501);
}

TEST(XlsxRoundTripTest, LibreOfficeConvertsTheWorkbook) {
    const QString office = QStandardPaths::findExecutable("soffice").isEmpty()
                               ? QStandardPaths::findExecutable("libreoffice")
                               : QStandardPaths::findExecutable("soffice");
    if (office.isEmpty()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    test::TempDir dir;
    const auto file = dir.path() / "Book1.xlsx";
    Workbook book;
    fillWorkbook(book);
    XlsxWriter().write(book, file);

    // A profile of its own, so that a running LibreOffice or a parallel test does not interfere.
    const auto profile = QString::fromStdString((dir.path() / "profile").string());
    const auto result =
        run(office,
            {"-env:UserInstallation=" + QUrl::fromLocalFile(profile).toString(QUrl::FullyEncoded),
             "--headless", "--convert-to",
             // comma, double quote, UTF-8, from line 1
             "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir",
             QString::fromStdString(dir.path().string()), QString::fromStdString(file.string())},
            240000);
    ASSERT_EQ(result.exitCode, 0) << result.output << result.errors;
    std::ifstream csvFile(dir.path() / "Book1.csv");
    ASSERT_TRUE(csvFile) << result.output << result.errors;
    std::stringstream csv;
    csv << csvFile.rdbuf();
    const auto text = csv.str();
    // Texts are quoted, numbers and dates appear as formatted.
    for (const std::string line :
         {"\"CONSTANT RATE TEST DATA\",,,", "\"Max Force\",123.456,,",
          "\"DEFLECTION\n(in)\",\"FORCE\n(lbf)\",,", "0.001,12.5,1/1/24 3:04:05,0.002",
          "0.3,TRUE,,", "\"Quote \"\"x\"\", comma & <tag>\",,,", "\"  padded  \",,,",
          "\"Temp \xC2\xBA"
          "C\",,,",
          "\"_x0041_ literal\",,,"}) {
        EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << "\nin:\n" << text;
    }
}

} // namespace
} // namespace kelvor
