#pragma once

#include <QStringList>
#include <ostream>

namespace kb::tools {

// "kultbuh-db import OLD NEW": args are OLD and NEW. Reads the old program's
// Jet 4.0 file OLD (never writing to it) and makes NEW from it; see
// importOldDatabase(). Throws UsageError for a wrong command line.
int runImportCommand(const QStringList& args, std::ostream& out);

} // namespace kb::tools
