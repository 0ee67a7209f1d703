"""Prints what an .xlsx workbook holds, read back with openpyxl, one line per
fact, for the spreadsheet tests to compare: the orientation, the column
widths, then every cell that has a value or a border:
    <cell> <type> <value> <number format> <border of the left edge> <alignment>
"""
import sys

import openpyxl

sheet = openpyxl.load_workbook(sys.argv[1]).active
print("sheet", sheet.title, sheet.page_setup.orientation or "default")
for letter, dim in sorted(sheet.column_dimensions.items()):
    if dim.width:
        print("width", letter, dim.min, dim.max, dim.width)
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is None and cell.border.left.style is None:
            continue
        value = cell.value.isoformat(" ") if hasattr(cell.value, "isoformat") else cell.value
        print(cell.coordinate, cell.data_type, repr(value), cell.number_format, cell.border.left.style,
              cell.border.bottom.style, cell.alignment.horizontal)
