#include "DbTool.h"

#include "Backup.h"
#include "DatabaseCheck.h"
#include "DemoDatabase.h"
#include "ImportCommand.h"
#include "QueryCommand.h"

#include <QString>
#include <exception>

namespace kb::tools {

const char* usage() {
    return "Использование:\n"
           "  kultbuh-db create FILE   новая пустая база данных\n"
           "  kultbuh-db demo FILE     новая база данных с примером отдела культуры\n"
           "  kultbuh-db check FILE    проверка целостности файла и схемы таблиц\n"
           "  kultbuh-db backup FILE [DEST]\n"
           "                           резервная копия, в том числе во время работы программы; без DEST -\n"
           "                           backup/BAZA-ГГГГ-ММ-ДД-ЧЧММСС.mdb в папке FILE; существующий файл не "
           "заменяется\n"
           "  kultbuh-db restore BACKUP FILE\n"
           "                           замена FILE проверенной копией BACKUP, когда FILE никем не открыт;\n"
           "                           прежний файл остаётся как FILE.before-restore\n"
           "  kultbuh-db query FILE [--param NAME=KIND:VALUE]... [--] LINE...\n"
           "                           выполнение запроса; каждая строка LINE - одна строка текста запроса;\n"
           "                           KIND: datetime (YYYY-MM-DD HH:MM:SS), text, int, float\n"
           "  kultbuh-db import OLD NEW перенос базы данных старой программы (Jet 4.0, BAZA.mdb) в новый файл\n"
           "Коды завершения: 0 - успешно, 1 - ошибка базы данных или проверки, 2 - неверная командная строка.\n";
}

namespace {

void requireArgumentCount(const QStringList& args, int count) {
    if (args.size() != count)
        throw UsageError(
            QStringLiteral("Команда %1 ожидает ровно один аргумент: имя файла").arg(args.at(0)).toStdString());
}

int dispatch(const QStringList& args, std::ostream& out, std::ostream& err) {
    if (args.isEmpty())
        throw UsageError("Не указана команда");
    const QString& command = args.at(0);
    if (command == QLatin1String("create")) {
        requireArgumentCount(args, 2);
        createEmptyDatabase(args.at(1));
        return kExitOk;
    }
    if (command == QLatin1String("demo")) {
        requireArgumentCount(args, 2);
        createDemoDatabase(args.at(1));
        return kExitOk;
    }
    if (command == QLatin1String("check")) {
        requireArgumentCount(args, 2);
        const QStringList problems = checkDatabase(args.at(1));
        if (problems.isEmpty()) {
            out << "OK\n";
            return kExitOk;
        }
        for (const QString& problem : problems)
            err << problem.toStdString() << '\n';
        return kExitFailure;
    }
    if (command == QLatin1String("backup")) {
        if (args.size() != 2 && args.size() != 3)
            throw UsageError("Команда backup ожидает имя файла и, может быть, имя копии");
        out << backupDatabase(args.at(1), args.value(2)).toStdString() << '\n';
        return kExitOk;
    }
    if (command == QLatin1String("restore")) {
        if (args.size() != 3)
            throw UsageError("Команда restore ожидает имя резервной копии и имя файла базы данных");
        restoreDatabase(args.at(1), args.at(2));
        return kExitOk;
    }
    if (command == QLatin1String("query"))
        return runQueryCommand(args.mid(1), out);
    if (command == QLatin1String("import"))
        return runImportCommand(args.mid(1), out);
    throw UsageError(QStringLiteral("Неизвестная команда: %1").arg(command).toStdString());
}

} // namespace

int run(const QStringList& args, std::ostream& out, std::ostream& err) {
    try {
        const int code = dispatch(args, out, err);
        out.flush();
        return code;
    } catch (const UsageError& e) {
        err << e.what() << '\n' << usage();
        return kExitUsage;
    } catch (const std::exception& e) {
        out.flush();
        err << e.what() << '\n';
        return kExitFailure;
    }
}

} // namespace kb::tools
