/* The C peer of the export benchmark: writes, whole, the workbook our reader holds after
 * <tests> constant-rate reports of 1,000 points (data sheets, chart sheets, Summary table,
 * Summary Plot overlaying every test through the hidden offset sheet) with libxlsxwriter, as
 * a lab engineer would script it after every report.
 *
 *   peer_export <tests> <rounds> <output.xlsx>
 *
 * Prints: peer_ms=<median of the rounds> peer_mib=<peak resident memory> */
#include <xlsxwriter.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>

enum { Points = 1000, FirstDataRow = 15 /* zero-based: row 16 */, MaxSeries = 255 };

static const double TraceOffset = 0.5;

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static double deflection(int i) { return 0.001 * i; }
static double force(int i) { return 1000.0 * sin(deflection(i) * 3.0); }

static void writeDataSheet(lxw_workbook *book, int test, lxw_format *bold) {
    char name[32], title[64], range[128], xrange[128];
    snprintf(name, sizeof name, "Data %d", test);
    lxw_worksheet *sheet = workbook_add_worksheet(book, name);
    worksheet_write_string(sheet, 0, 0, "CONSTANT RATE TEST DATA", NULL);
    worksheet_write_string(sheet, 1, 0, "BENCH UNIT", NULL);
    worksheet_write_string(sheet, 2, 0, "Force units in lbf", NULL);
    worksheet_write_string(sheet, 3, 0, "Deflection units in in", NULL);
    worksheet_write_string(sheet, 4, 0, "Sample ID", NULL);
    snprintf(title, sizeof title, " B-%d", test);
    worksheet_write_string(sheet, 4, 1, title, NULL);
    worksheet_write_string(sheet, 5, 0, "Operator", NULL);
    worksheet_write_string(sheet, 5, 1, " QA", NULL);
    worksheet_write_string(sheet, 6, 0, "Speed", NULL);
    worksheet_write_string(sheet, 6, 1, " 0.5 in/min", NULL);
    worksheet_write_string(sheet, 7, 0, "----", NULL);
    worksheet_write_string(sheet, 8, 0, "Preload", NULL);
    worksheet_write_number(sheet, 8, 1, 10, NULL);
    worksheet_write_string(sheet, 9, 0, "Limit", NULL);
    worksheet_write_number(sheet, 9, 1, 2000, NULL);
    worksheet_write_string(sheet, 10, 0, "Peak Force", NULL);
    worksheet_write_number(sheet, 10, 1, 900 + test % 200, NULL);
    worksheet_write_string(sheet, 11, 0, "Deformation at Peak", NULL);
    worksheet_write_number(sheet, 11, 1, 0.4, NULL);
    worksheet_write_string(sheet, 12, 0, "1000 POINTS", NULL);
    worksheet_write_string(sheet, 13, 0, "DEFLECTION (in)", bold);
    worksheet_write_string(sheet, 13, 1, "FORCE (lbf)", bold);
    for (int i = 1; i <= Points; ++i) {
        worksheet_write_number(sheet, (lxw_row_t)(FirstDataRow + i - 1), 0, deflection(i), NULL);
        worksheet_write_number(sheet, (lxw_row_t)(FirstDataRow + i - 1), 1, force(i), NULL);
    }
    worksheet_set_header(sheet, "&CFile: &F  Sheet:&A");
    worksheet_set_footer(sheet, "&CPage &P of &N");
    worksheet_set_margins(sheet, 0.75, 0.75, 1.0, 1.0);
    worksheet_repeat_rows(sheet, 13, 13);

    lxw_chart *chart = workbook_add_chart(book, LXW_CHART_SCATTER_STRAIGHT);
    snprintf(xrange, sizeof xrange, "='%s'!$A$%d:$A$%d", name, FirstDataRow + 1,
             FirstDataRow + Points);
    snprintf(range, sizeof range, "='%s'!$B$%d:$B$%d", name, FirstDataRow + 1,
             FirstDataRow + Points);
    lxw_chart_series *series = chart_add_series(chart, xrange, range);
    lxw_chart_line line = {.color = LXW_COLOR_BLACK, .width = 0.75};
    chart_series_set_line(series, &line);
    chart_title_set_name(chart, "CONSTANT RATE TEST DATA: FORCE vs DEFORMATION");
    chart_axis_set_name(chart->x_axis, "Deformation (in)");
    chart_axis_set_name(chart->y_axis, "Force (lbf)");
    chart_axis_major_gridlines_set_visible(chart->x_axis, LXW_TRUE);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    char plotName[40];
    snprintf(plotName, sizeof plotName, "%s Plot", name);
    lxw_chartsheet *plot = workbook_add_chartsheet(book, plotName);
    chartsheet_set_chart(plot, chart);
    chartsheet_set_footer(plot, "&RKelvorReader2");
}

static void writeSummary(lxw_workbook *book, int tests, lxw_format *bold, lxw_format *three) {
    lxw_worksheet *summary = workbook_add_worksheet(book, "Summary");
    lxw_chart *chart = workbook_add_chart(book, LXW_CHART_SCATTER_STRAIGHT);
    lxw_chartsheet *plot = workbook_add_chartsheet(book, "Summary Plot");
    lxw_worksheet *offsets = workbook_add_worksheet(book, "Summary XOffset");

    worksheet_write_string(summary, 0, 0, "Kelvor CONSTANT RATE TEST DATA SUMMARY", NULL);
    worksheet_write_string(summary, 2, 0, "Number of Tests:", NULL);
    worksheet_write_string(summary, 3, 1, "lbf", bold);
    worksheet_write_string(summary, 3, 3, "in", bold);
    const char *labels[] = {"Maximum Force:", "Minimum Force:", "Average Force:",
                            "Standard Deviation:"};
    const char *deformationLabels[] = {"Deformation:", "Deformation:", "Average Deformation:",
                                       "Standard Deviation:"};
    double n = 0, sumF = 0, sumF2 = 0, sumD = 0, sumD2 = 0, maxF = 0, minF = 0, maxD = 0,
           minD = 0;
    for (int t = 1; t <= tests; ++t) {
        const double f = 900 + t % 200, d = 0.4;
        char name[32];
        snprintf(name, sizeof name, "Data %d", t);
        worksheet_write_string(summary, (lxw_row_t)(9 + t), 0, name, NULL);
        worksheet_write_number(summary, (lxw_row_t)(9 + t), 1, f, NULL);
        worksheet_write_number(summary, (lxw_row_t)(9 + t), 3, d, NULL);
        if (n == 0 || f > maxF) {
            maxF = f;
            maxD = d;
        }
        if (n == 0 || f < minF) {
            minF = f;
            minD = d;
        }
        n += 1;
        sumF += f;
        sumF2 += f * f;
        sumD += d;
        sumD2 += d * d;
    }
    for (int r = 0; r < 4; ++r) {
        worksheet_write_string(summary, (lxw_row_t)(4 + r), 0, labels[r], NULL);
        worksheet_write_string(summary, (lxw_row_t)(4 + r), 2, deformationLabels[r], NULL);
    }
    worksheet_write_number(summary, 2, 1, n, NULL);
    worksheet_write_number(summary, 4, 1, maxF, NULL);
    worksheet_write_number(summary, 5, 1, minF, NULL);
    worksheet_write_number(summary, 6, 1, sumF / n, NULL);
    worksheet_write_number(summary, 7, 1, sqrt(fabs(n * sumF2 - sumF * sumF) / (n * n)), three);
    worksheet_write_number(summary, 4, 3, maxD, NULL);
    worksheet_write_number(summary, 5, 3, minD, NULL);
    worksheet_write_number(summary, 6, 3, sumD / n, NULL);
    worksheet_write_number(summary, 7, 3, sqrt(fabs(n * sumD2 - sumD * sumD) / (n * n)), three);

    chart_title_set_name(chart, "SUMMARY PLOT: FORCE vs DEFORMATION");
    chart_axis_set_name(chart->x_axis, "Deformation (in)");
    chart_axis_set_name(chart->y_axis, "Force (lbf)");
    chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    for (int t = 1; t <= tests; ++t) {
        char column[4] = {0}, formula[96], xrange[96], yrange[96], name[32];
        int c = t, len = 0;
        char reversed[4];
        for (; c > 0; c = (c - 1) / 26) {
            reversed[len++] = (char)('A' + (c - 1) % 26);
        }
        for (int i = 0; i < len; ++i) {
            column[i] = reversed[len - 1 - i];
        }
        snprintf(name, sizeof name, "Data %d", t);
        const double shift = (t - 1) * TraceOffset;
        for (int i = 1; i <= Points; ++i) {
            const int row = FirstDataRow + i;
            snprintf(formula, sizeof formula, "='%s'!A%d+%g", name, row, shift);
            worksheet_write_formula_num(offsets, (lxw_row_t)(row - 1), (lxw_col_t)(t - 1), formula,
                                        NULL, deflection(i) + shift);
        }
        if (t > MaxSeries) {
            continue;
        }
        snprintf(xrange, sizeof xrange, "='Summary XOffset'!$%s$%d:$%s$%d", column,
                 FirstDataRow + 1, column, FirstDataRow + Points);
        snprintf(yrange, sizeof yrange, "='%s'!$B$%d:$B$%d", name, FirstDataRow + 1,
                 FirstDataRow + Points);
        lxw_chart_series *series = chart_add_series(chart, xrange, yrange);
        chart_series_set_name(series, name);
    }
    chartsheet_set_chart(plot, chart);
    worksheet_hide(offsets);
}

static double writeWorkbook(int tests, const char *path) {
    const double start = nowMs();
    lxw_workbook *book = workbook_new(path);
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *three = workbook_add_format(book);
    format_set_num_format(three, "0.000");
    for (int t = 1; t <= tests; ++t) {
        writeDataSheet(book, t, bold);
    }
    writeSummary(book, tests, bold, three);
    if (workbook_close(book) != LXW_NO_ERROR) {
        fprintf(stderr, "peer_export: the workbook could not be written\n");
        exit(1);
    }
    return nowMs() - start;
}

static int byValue(const void *a, const void *b) {
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

int main(int argc, char **argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: peer_export <tests> <rounds> <output.xlsx>\n");
        return 2;
    }
    const int tests = atoi(argv[1]), rounds = atoi(argv[2]);
    if (tests < 1 || rounds < 1 || rounds > 99) {
        fprintf(stderr, "peer_export: tests and rounds must be positive\n");
        return 2;
    }
    double times[99];
    for (int r = 0; r < rounds; ++r) {
        times[r] = writeWorkbook(tests, argv[3]);
    }
    qsort(times, (size_t)rounds, sizeof times[0], byValue);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    printf("peer_ms=%.0f peer_mib=%.0f\n", times[rounds / 2], (double)usage.ru_maxrss / 1024.0);
    remove(argv[3]);
    return 0;
}
