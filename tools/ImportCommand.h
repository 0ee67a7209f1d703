#pragma once

#include <QString>
#include <ostream>

namespace kb::tools {

// "kultbuh-db import OLD NEW": reads the old program's Jet 4.0 file OLD
// (never writing to it) and makes NEW from it; see importOldDatabase().
int runImportCommand(const QString& oldFile, const QString& newFile, std::ostream& out);

} // namespace kb::tools
