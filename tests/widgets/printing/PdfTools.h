#pragma once

// Reads written PDFs back with poppler's tools, readers independent of the writer.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace kelvor::test {

inline bool hasTool(const QString& name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

// The tool's standard output; empty when it fails.
inline QString runTool(const QString& name, const QStringList& arguments) {
    QProcess process;
    process.start(name, arguments);
    if (!process.waitForFinished(120'000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The text of each page, laid out as printed.
inline QStringList pdfPages(const std::filesystem::path& pdf) {
    QStringList pages = runTool("pdftotext", {"-layout", pathText(pdf), "-"}).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

// "Page size:" and "Pages:" of every page, as pdfinfo tells them.
inline QString pdfInfo(const std::filesystem::path& pdf, int firstPage = 0, int lastPage = 0) {
    QStringList arguments;
    if (firstPage > 0) {
        arguments << "-f" << QString::number(firstPage) << "-l" << QString::number(lastPage);
    }
    return runTool("pdfinfo", arguments << pathText(pdf));
}

#define KELVOR_NEED_TOOL(name)                                                                     \
    if (!::kelvor::test::hasTool(name)) {                                                          \
        GTEST_SKIP() << name << " is not installed";                                               \
    }

} // namespace kelvor::test
