#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

namespace kb::dataset {
class Query;
} // namespace kb::dataset
namespace kb::ui {
struct SaveDialogSettings;
}

namespace kb::reports {

// Where the pay slip runs: the main window that owns the save dialog, its
// settings, and the caption of the plain message box (the program's title).
struct PaySlipWindow {
    QWidget* owner;
    const ui::SaveDialogSettings& saveDialog;
    QString messageCaption;
};

// The pay slip of one employee for the picker's month, on the second query:
//  1. ask for the name (Cancel gives the empty text);
//  2. check that an employee of exactly that name exists (letter case aside);
//     3. if not, say so and end;
//  4. run the month's salary statement (D1..D4 bound to the picker's value);
//  5. take the first row of that name; without one, say that there is nothing
//     for the month and end;
//  6. form the figures and the file's bytes, failing before the save dialog
//     when a figure or a character of the name cannot be written;
//  7. ask where to save (Cancel ends silently), write the file, replacing any
//     earlier one at once, and open it in the text editor.
// The query stays open on the last statement run. Nothing is caught: an error
// of the database or of the file goes to the caller, and no editor starts.
void runPaySlip(dataset::Query& query, const QDateTime& pickerValue, const PaySlipWindow& window);

} // namespace kb::reports
