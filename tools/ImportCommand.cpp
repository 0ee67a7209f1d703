#include "ImportCommand.h"

#include "DbTool.h"
#include "JetFile.h"
#include "OldDatabaseImport.h"

namespace kb::tools {

int runImportCommand(const QStringList& args, std::ostream& out) {
    if (args.size() != 2)
        throw UsageError("Команда import ожидает два аргумента: файл старой программы и имя нового файла");
    const jet::JetFile old(args.at(0));
    importOldDatabase(old, args.at(1), out);
    return kExitOk;
}

} // namespace kb::tools
