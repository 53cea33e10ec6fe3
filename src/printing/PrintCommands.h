#pragma once

#include "printing/PrintScope.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QPrinter;
class QWidget;

namespace kelvor {

class WorkbookWindow;

// The dialogs the commands ask through; tests answer them without modal dialogs.
struct PrintDialogs {
    // Which sheets: nothing when the user cancels.
    std::function<std::optional<PrintScope>(QWidget* parent, const QString& command)> askScope;
    // The printer and its settings (QPrintDialog); false when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> askPrinter;
    // A file to save to, starting from `suggested`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested,
                          const QString& filter)>
        askSavePath;
    // Tells the user that something failed.
    std::function<void(QWidget* parent, const QString& message)> tell;
};

// The system's own dialogs.
PrintDialogs systemPrintDialogs();

// "Print…" (Ctrl+P), "Save as PDF…" and "Save Sheet as CSV…" on a workbook window, in a
// "Print" button's menu beside its sheet tabs. Owned by the window.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    PrintCommands(WorkbookWindow& window, PrintDialogs dialogs);

    QAction* printAction() const { return print_; }
    QAction* pdfAction() const { return pdf_; }
    QAction* csvAction() const { return csv_; }

    void print();
    void saveAsPdf();
    void saveSheetAsCsv();

private:
    std::optional<std::vector<std::uint32_t>> askSheets(const QString& command);
    // The workbook file's folder and name with the shown sheet's name and `extension`.
    QString suggestedPath(const QString& extension) const;
    void updateActions();

    WorkbookWindow& window_;
    PrintDialogs dialogs_;
    QAction* print_;
    QAction* pdf_;
    QAction* csv_;
};

} // namespace kelvor
