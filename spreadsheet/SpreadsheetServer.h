#pragma once

#include "ClassRegistry.h"
#include "DesktopSeams.h"

#include <memory>

namespace kb::spreadsheet {

// Our spreadsheet server: a new application object with no workbook, hidden.
// Its members are those the export calls ("Workbooks", "Add", "Visible",
// "Range", "Select", "Selection", "Borders", "LineStyle", "Weight",
// "HorizontalAlignment", "Columns", "ColumnWidth", "ActiveSheet", "PageSetup",
// "Orientation", "Worksheets", "PrintOut", "DisplayAlerts", "Quit"); any other
// name fails as unknown. Workbooks live in memory; when the application
// object is released while visible and not quit, each is written as a new
// .xlsx file in the desktop's workbook folder and opened.
automation::ObjectRef createApplication(std::shared_ptr<DesktopSeams> desktop);

// Registers the server as "Excel.Application", handing to the desktop given.
void registerSpreadsheetServer(automation::ClassRegistry& registry, std::shared_ptr<DesktopSeams> desktop);

} // namespace kb::spreadsheet
