#pragma once

namespace kb::dataset {
class Query;
} // namespace kb::dataset
namespace kb::automation {
class ClassRegistry;
}
namespace kb::databound {
class ResultGrid;
}

namespace kb::reports {

// Copies the query's result, under the grid's column titles, into a new
// workbook of the server registered as "Excel.Application", call by call:
//  1. create the application; 2. Workbooks, Add; 3. Visible := true;
//  4. Range("A1:<last column letter><record count + 1>"), Select;
//  5-7. Selection.Borders.LineStyle := 1, Selection.Borders.Weight := 3,
//     Selection.HorizontalAlignment := 3, each from the application;
//  8. for each column: Range("<letter>1") := title, Columns(i + 1).ColumnWidth := 25;
//  9. from the first record on, Range("<letter><row>") := the typed value,
//     one call per cell, moving to the next record after each row;
// 10. with print only: ActiveSheet.PageSetup.Orientation := 2,
//     Worksheets.PrintOut, DisplayAlerts := false, Quit.
// Nothing is tested first and nothing is caught: an error ends the export
// where it stands, with every object handle released. Afterwards the query
// stands on its last record.
void exportToExcel(const automation::ClassRegistry& registry, dataset::Query& query, const databound::ResultGrid& grid,
                   bool print);

} // namespace kb::reports
