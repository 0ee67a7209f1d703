#pragma once

#include <QString>

class QPrinter;

namespace kb::spreadsheet {

class Sheet;

// Paints the sheet's used block on the printer, in the sheet's orientation:
// row after row with the first row repeated at the top of every page, the
// columns in their widths (scaled down together when they are wider than the
// page), the cells' borders and alignment. Throws std::runtime_error when the
// sheet is empty or the printer cannot start.
void printSheet(const Sheet& sheet, QPrinter& printer);

// The text a cell shows: numbers in the Russian form, dates dd.MM.yyyy (with
// hh:mm:ss when not midnight).
QString shownText(const Sheet& sheet, int row, int column);

} // namespace kb::spreadsheet
