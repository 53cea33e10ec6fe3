#!/usr/bin/python3
"""Prints what a workbook file holds, as JSON, read back with openpyxl (an independent reader).

Usage: dump_xlsx.py FILE [MAX_ROWS]
"""
import json
import sys

import openpyxl


def cell_value(value):
    if value is None or isinstance(value, (int, float, str, bool)):
        return value
    return str(value)


def describe_sheet(sheet, max_rows):
    info = {"name": sheet.title, "state": sheet.sheet_state, "kind": type(sheet).__name__}
    if info["kind"] != "Worksheet":
        return info
    info["max_row"] = sheet.max_row
    info["max_column"] = sheet.max_column
    cells = {}
    formats = {}
    for row in sheet.iter_rows(min_row=1, max_row=min(sheet.max_row, max_rows)):
        for cell in row:
            if cell.value is not None:
                cells[cell.coordinate] = cell_value(cell.value)
                formats[cell.coordinate] = cell.number_format
                if cell.alignment is not None and cell.alignment.horizontal:
                    formats[cell.coordinate + ".align"] = cell.alignment.horizontal
    info["cells"] = cells
    info["formats"] = formats
    info["widths"] = {k: v.width for k, v in sheet.column_dimensions.items() if v.width}
    m = sheet.page_margins
    info["margins"] = [m.left, m.right, m.top, m.bottom]
    info["header"] = sheet.oddHeader.center.text
    info["footer"] = sheet.oddFooter.center.text
    info["left_footer"] = sheet.oddFooter.left.text
    info["print_title_rows"] = sheet.print_title_rows
    return info


def main():
    path = sys.argv[1]
    max_rows = int(sys.argv[2]) if len(sys.argv) > 2 else 40
    book = openpyxl.load_workbook(path)
    print(json.dumps({"sheets": [describe_sheet(s, max_rows) for s in book._sheets]}))


if __name__ == "__main__":
    main()
