#include "ImportCommand.h"

#include "DbTool.h"
#include "JetFile.h"
#include "OldDatabaseImport.h"

namespace kb::tools {

int runImportCommand(const QString& oldFile, const QString& newFile, std::ostream& out) {
    const jet::JetFile old(oldFile);
    importOldDatabase(old, newFile, out);
    return kExitOk;
}

} // namespace kb::tools
