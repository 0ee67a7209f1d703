#pragma once

#include <QString>
#include <ostream>

namespace kb::tools {

// "kultbuh-db import OLD NEW": reads the old program's Jet 4.0 file OLD
// (never writing to it) into NEW, a new file or a server's empty database;
// see importOldDatabase().
int runImportCommand(const QString& oldFile, const QString& target, std::ostream& out);

} // namespace kb::tools
