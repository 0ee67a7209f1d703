#pragma once

#include <QDateTime>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kb::sql {
class Connection;
}

namespace kb::documents {

// The "Документы" menu at the right end of the menu bar:
//
//   object name        member            what it does
//   Documents1         menu              "Документы"
//   StatementDoc1      statementAction   the month's statement in the print preview
//   PaySlipsDoc1       paySlipsAction    every pay slip of the month in the print preview
//   PayrollChart1      chartAction       the year's payroll chart in the print preview
//   OrgDetails1        detailsAction     the organisation's details form
//
// The month is the main window's month picker's, read when an item is chosen;
// the documents run their own statement on the connection and change nothing
// of the window.
struct DocumentsMenu {
    QMenu* menu;
    QAction* statementAction;
    QAction* paySlipsAction;
    QAction* chartAction;
    QAction* detailsAction;
};

DocumentsMenu addDocumentsMenu(QMenuBar& bar, QWidget* window, std::function<sql::Connection&()> connection,
                               std::function<QDateTime()> pickerValue);

} // namespace kb::documents
