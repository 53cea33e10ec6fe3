#include "printing/SheetPrinting.h"

#include "printing/CellPainter.h"
#include "printing/ChartPage.h"
#include "printing/PageFrame.h"
#include "printing/SheetPages.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kelvor {

namespace {

const Sheet* sheetById(const Workbook& book, std::uint32_t id) {
    for (std::size_t i = 0; i < book.sheetCount(); ++i) {
        if (book.sheet(i).id() == id) {
            return &book.sheet(i);
        }
    }
    return nullptr;
}

// One painter over the whole job; each page begins in the orientation its sheet prints in.
class PageRun {
public:
    explicit PageRun(QPagedPaintDevice& device) : device_(device) {
        // The page's own corner is the origin: margins are the sheets' own.
        if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
            printer->setFullPage(true);
        } else {
            device.setPageMargins(QMarginsF(), QPageLayout::Point);
        }
    }

    // The page, in points, with the painter set to draw in points on it.
    QRectF begin(QPageLayout::Orientation orientation) {
        device_.setPageOrientation(orientation);
        if (!painter_.isActive()) {
            if (!painter_.begin(&device_)) {
                return {};
            }
        } else {
            device_.newPage();
        }
        const QPageLayout layout = device_.pageLayout();
        const QRectF paint = layout.paintRect(QPageLayout::Point);
        painter_.resetTransform();
        painter_.setClipping(false);
        const double scale = device_.logicalDpiX() / 72.0;
        painter_.scale(scale, device_.logicalDpiY() / 72.0);
        painter_.translate(-paint.topLeft());
        return layout.fullRect(QPageLayout::Point);
    }

    QPainter& painter() { return painter_; }

private:
    QPagedPaintDevice& device_;
    QPainter painter_;
};

void printWorksheet(PageRun& run, const Worksheet& sheet, const Styles& styles, PageFacts facts) {
    const CellPainter cells(sheet, styles);
    const PageSetup& setup = sheet.pageSetup();
    const auto titles = titleRowSpan(setup.printTitleRows);
    std::vector<PageCells> pages;
    QRectF page;
    bool first = true;
    std::size_t index = 0;
    do {
        page = run.begin(QPageLayout::Portrait);
        if (page.isEmpty()) {
            return;
        }
        // Paginated on the first page, whose size the device has now settled.
        if (first) {
            const double roomWidth = page.width() - setup.leftMargin - setup.rightMargin;
            const double roomHeight = page.height() - setup.topMargin - setup.bottomMargin;
            pages = paginate(cells.rowHeights(), cells.columnWidths(), titles,
                             roomHeight * PixelsPerPoint, roomWidth * PixelsPerPoint);
            facts.pages = std::max<int>(1, static_cast<int>(pages.size()));
            first = false;
        }
        facts.page = static_cast<int>(index) + 1;
        QPainter& painter = run.painter();
        paintPageFrame(painter, setup, page, facts);
        if (index < pages.size()) {
            const PageCells& cellsOfPage = pages[index];
            painter.save();
            painter.translate(page.left() + setup.leftMargin, page.top() + setup.topMargin);
            painter.scale(1 / PixelsPerPoint, 1 / PixelsPerPoint);
            double y = 0;
            if (titles && cellsOfPage.firstRow > titles->last) {
                y = cells.paint(painter, {0, 0}, titles->first,
                                std::min(titles->last, cells.lastRow()), cellsOfPage.firstColumn,
                                cellsOfPage.lastColumn);
            }
            cells.paint(painter, {0, y}, cellsOfPage.firstRow, cellsOfPage.lastRow,
                        cellsOfPage.firstColumn, cellsOfPage.lastColumn);
            painter.restore();
        }
        ++index;
    } while (index < pages.size());
}

void printChartSheet(PageRun& run, const ChartSheet& sheet, PageFacts facts) {
    const QRectF page = run.begin(QPageLayout::Landscape);
    if (page.isEmpty()) {
        return;
    }
    const PageSetup& setup = sheet.pageSetup();
    QPainter& painter = run.painter();
    paintPageFrame(painter, setup, page, facts);
    const QRectF room =
        page.adjusted(setup.leftMargin, setup.topMargin, -setup.rightMargin, -setup.bottomMargin);
    if (room.isValid()) {
        paintChart(painter, sheet.chart(), room);
    }
}

} // namespace

void printSheets(const BookView& book, const std::vector<std::uint32_t>& sheetIds,
                 QPagedPaintDevice& device) {
    const Workbook& model = book.workbook();
    PageRun run(device);
    for (const std::uint32_t id : sheetIds) {
        const Sheet* sheet = sheetById(model, id);
        if (sheet == nullptr) {
            continue;
        }
        PageFacts facts{QString::fromStdWString(book.filePath().filename().wstring()),
                        QString::fromStdString(sheet->name())};
        if (const auto* worksheet = asWorksheet(*sheet)) {
            printWorksheet(run, *worksheet, model.styles(), facts);
        } else if (const auto* chartSheet = asChartSheet(*sheet)) {
            printChartSheet(run, *chartSheet, facts);
        }
    }
}

} // namespace kelvor
