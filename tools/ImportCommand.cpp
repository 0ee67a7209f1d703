#include "ImportCommand.h"

#include "DbTool.h"
#include "JetFile.h"
#include "OldDatabaseImport.h"

namespace kb::tools {

int runImportCommand(const QString& oldFile, const QString& target, std::ostream& out) {
    const jet::JetFile old(oldFile);
    importOldDatabase(old, target, out);
    return kExitOk;
}

} // namespace kb::tools
