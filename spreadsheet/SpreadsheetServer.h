#pragma once

#include "ClassRegistry.h"

#include <QString>
#include <functional>
#include <memory>

class QPrinter;

namespace kb::spreadsheet {

// What the server hands to the desktop, replaceable so that tests start no
// program and need no printer.
struct DesktopSeams {
    // The default printer, nullptr when none is configured.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;
    // Opens a written workbook in the desktop's spreadsheet program, detached;
    // false when nothing can open it.
    std::function<bool(const QString& path)> openWorkbook;
    // Tells the user something the server cannot report as an error.
    std::function<void(const QString& message)> tell;
    // Where workbooks are written.
    QString folder;
};

// The system's printer (CUPS), xdg-open, the program's message box and the
// user's temporary folder.
DesktopSeams desktopSeams();

// Our spreadsheet server: a new application object with no workbook, hidden.
// Its members are those the export calls ("Workbooks", "Add", "Visible",
// "Range", "Select", "Selection", "Borders", "LineStyle", "Weight",
// "HorizontalAlignment", "Columns", "ColumnWidth", "ActiveSheet", "PageSetup",
// "Orientation", "Worksheets", "PrintOut", "DisplayAlerts", "Quit"); any other
// name fails as unknown. Workbooks live in memory; when the application
// object is released while visible and not quit, each is written as a new
// .xlsx file in the folder and opened.
automation::ObjectRef createApplication(DesktopSeams seams);

// Registers the server as "Excel.Application".
void registerSpreadsheetServer(automation::ClassRegistry& registry, DesktopSeams seams = desktopSeams());

} // namespace kb::spreadsheet
