#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

namespace kb::tools {

// Whether the command makes a printed document (and so needs the graphical toolkit).
bool isDocumentCommand(const QString& command);

// statement DATABASE YYYY-MM OUT.pdf, payslips DATABASE YYYY-MM OUT.pdf and
// payroll-chart DATABASE YYYY OUT.pdf|OUT.png: the documents of the program's
// "Документы" menu, made by the same code, from the file opened read-only. OUT
// must not exist: the document is written beside it and given its name only
// when complete. Prints the file's name. Throws UsageError or the error met.
int runDocumentCommand(const QString& command, const QStringList& names, std::ostream& out);

} // namespace kb::tools
