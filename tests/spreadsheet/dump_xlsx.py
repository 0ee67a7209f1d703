"""Prints what an .xlsx workbook holds, read back with openpyxl, one line per fact: the orientation, the column widths,
then every cell with a value or a border: <cell> <type> <value> <number format> <left and bottom border> <alignment>"""
import re
import sys

import openpyxl
import openpyxl.reader.excel
from openpyxl.cell.text import Text
from openpyxl.xml.constants import SHEET_MAIN_NS
from openpyxl.xml.functions import iterparse


def read_string_table(xml_source):
    """Texts as a spreadsheet program reads them, "_xHHHH_" the character of that code (openpyxl 3.0 does not)."""
    return [re.sub("_x([0-9A-Fa-f]{4})_", lambda code: chr(int(code.group(1), 16)), Text.from_tree(node).content)
            for _, node in iterparse(xml_source) if node.tag == "{%s}si" % SHEET_MAIN_NS]


openpyxl.reader.excel.read_string_table = read_string_table
sheet = openpyxl.load_workbook(sys.argv[1]).active
print("sheet", sheet.title, sheet.page_setup.orientation or "default")
for letter, dim in sorted((letter, dim) for letter, dim in sheet.column_dimensions.items() if dim.width):
    print("width", letter, dim.min, dim.max, dim.width)
for cell in (cell for row in sheet.iter_rows() for cell in row if cell.value is not None or cell.border.left.style):
    value = cell.value.isoformat(" ") if hasattr(cell.value, "isoformat") else cell.value
    print(cell.coordinate, cell.data_type, repr(value), cell.number_format, cell.border.left.style,
          cell.border.bottom.style, cell.alignment.horizontal)
