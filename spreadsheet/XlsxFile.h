#pragma once

#include <QString>

namespace kb::spreadsheet {

class Sheet;

// Writes the sheet as an .xlsx workbook of one worksheet, "Лист1": values by
// type (text always as text, never as a formula; numbers as numbers;
// date-times as dates shown dd.mm.yyyy, with hh:mm:ss when not midnight),
// borders, alignment, column widths, the selection and the orientation.
// Replaces the file; throws std::runtime_error when it cannot be written.
void writeXlsx(const Sheet& sheet, const QString& path);

} // namespace kb::spreadsheet
