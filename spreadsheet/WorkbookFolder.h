#pragma once

#include <QString>
#include <chrono>

namespace kb::spreadsheet {

// How long the program's own workbooks stay in the export folder: the user
// saves a workbook elsewhere to keep it, and the employee list in it holds
// passport and taxpayer numbers.
inline constexpr std::chrono::days kWorkbookRetention{7};

// The folder exported workbooks go to, one only the user may enter:
// "kultbuh" in $XDG_RUNTIME_DIR when that is a folder of the user's, else
// "kultbuh/export" in the user's cache folder ($XDG_CACHE_HOME, ~/.cache).
QString exportFolderPath();

// Creates the folder (its missing parents as usual) with mode 0700, or
// closes one of the user's that others may enter. Throws std::runtime_error
// when it is not a folder (a file, a link) or belongs to another user.
void makePrivateFolder(const QString& path);

// Removes the program's own workbooks ("Книга<n>.xlsx") last changed longer
// ago than the age; any other file stays. What cannot be removed stays too.
void removeOldWorkbooks(const QString& folder, std::chrono::seconds age);

// Reserves a new file "Книга<n>.xlsx" in the folder, n = 1, 2, ..., by
// creating it empty with mode 0600, exclusively (an existing name, a link
// among them, is never opened); returns its path.
QString reserveWorkbookFile(const QString& folder);

} // namespace kb::spreadsheet
