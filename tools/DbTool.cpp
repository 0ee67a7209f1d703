#include "DbTool.h"

#include "Backup.h"
#include "DatabaseCheck.h"
#include "DemoDatabase.h"
#include "ImportCommand.h"
#include "QueryCommand.h"

#include <QCommandLineParser>
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
           "                           замена FILE (того файла, на который он ссылается) проверенной копией\n"
           "                           BACKUP, когда FILE никем не открыт; прежний файл с журналами остаётся\n"
           "                           как FILE.before-restore\n"
           "  kultbuh-db query FILE [--param NAME=KIND:VALUE]... [--] LINE...\n"
           "                           выполнение запроса; каждая строка LINE - одна строка текста запроса;\n"
           "                           KIND: datetime (YYYY-MM-DD HH:MM:SS), text, int, float\n"
           "  kultbuh-db import OLD NEW перенос базы данных старой программы (Jet 4.0, BAZA.mdb) в новый файл\n"
           "Вместо FILE командам create, demo, check и query можно указать базу данных на сервере PostgreSQL:\n"
           "postgresql://СЕРВЕР/БАЗА или строку подключения libpq (service=kultbuh, host=… dbname=…); пароль\n"
           "берётся из ~/.pgpass, файла служб или PGPASSWORD.\n"
           "Ключи каждой команды: --help (-h) - эта справка, --version (-v) - версия; -- перед именами,\n"
           "которые начинаются с \"-\".\n"
           "Коды завершения: 0 - успешно, 1 - ошибка базы данных или проверки, 2 - неверная командная строка.\n";
}

namespace {

// A command: its name and how many names it takes after the options.
struct Command {
    const char* name;
    int least, most; // most -1: any number
};

constexpr Command kCommands[] = {{"create", 1, 1},  {"demo", 1, 1},   {"check", 1, 1}, {"backup", 1, 2},
                                 {"restore", 2, 2}, {"query", 2, -1}, {"import", 2, 2}};

// What a command line asks besides a command's work.
enum class Asked { Work, Help, Version };

// Parses the options of a command (or of the tool, command null): --help, --version, --param for query, and "--"
// before names that start with a dash. Any other option is refused, never taken as a file name.
Asked parse(QCommandLineParser& parser, const Command* command, const QStringList& args) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    const bool query = command && QLatin1String(command->name) == QLatin1String("query");
    if (query)
        parser.addOption(QCommandLineOption(QStringLiteral("param"), {}, QStringLiteral("NAME=KIND:VALUE")));
    if (!parser.parse(QStringList{QStringLiteral("kultbuh-db")} + args)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().first();
            throw UsageError(
                QStringLiteral("Неизвестный ключ: %1%2").arg(name.size() > 1 ? "--" : "-", name).toStdString());
        }
        throw UsageError(query ? "После --param нужно NAME=KIND:VALUE" : parser.errorText().toStdString());
    }
    if (parser.isSet(help))
        return Asked::Help;
    if (parser.isSet(version))
        return Asked::Version;
    if (!command)
        return Asked::Work;
    const qsizetype n = parser.positionalArguments().size();
    if (n < command->least || (command->most >= 0 && n > command->most)) {
        if (query)
            throw UsageError(n == 0 ? "Не указан файл базы данных" : "Не указан текст запроса");
        throw UsageError(QStringLiteral("Команда %1 ожидает %2")
                             .arg(QLatin1String(command->name),
                                  command->least == 2 ? QStringLiteral("два аргумента: имена двух файлов")
                                  : command->most == 2 ? QStringLiteral("имя файла и, может быть, имя копии")
                                                       : QStringLiteral("ровно один аргумент: имя файла"))
                             .toStdString());
    }
    return Asked::Work;
}

int work(const QString& command, const QStringList& names, const QStringList& params, std::ostream& out,
         std::ostream& err) {
    if (command == QLatin1String("create"))
        createEmptyDatabase(names.at(0));
    else if (command == QLatin1String("demo"))
        createDemoDatabase(names.at(0));
    else if (command == QLatin1String("check")) {
        const QStringList problems = checkDatabase(names.at(0));
        if (problems.isEmpty()) {
            out << "OK\n";
            return kExitOk;
        }
        for (const QString& problem : problems)
            err << problem.toStdString() << '\n';
        return kExitFailure;
    } else if (command == QLatin1String("backup"))
        out << backupDatabase(names.at(0), names.value(1)).toStdString() << '\n';
    else if (command == QLatin1String("restore"))
        out << restoreDatabase(names.at(0), names.at(1)).toStdString() << '\n';
    else if (command == QLatin1String("query"))
        return runQueryCommand(names.at(0), params, names.mid(1), out);
    else
        return runImportCommand(names.at(0), names.at(1), out);
    return kExitOk;
}

int dispatch(const QStringList& args, std::ostream& out, std::ostream& err) {
    const Command* command = nullptr;
    for (const Command& c : kCommands) {
        if (!args.isEmpty() && args.at(0) == QLatin1String(c.name))
            command = &c;
    }
    if (!command && !args.value(0).startsWith(u'-'))
        throw UsageError(args.isEmpty() ? std::string("Не указана команда")
                                        : QStringLiteral("Неизвестная команда: %1").arg(args.at(0)).toStdString());
    QCommandLineParser parser;
    switch (parse(parser, command, command ? args.mid(1) : args)) {
    case Asked::Help:
        out << usage();
        return kExitOk;
    case Asked::Version:
        out << "kultbuh-db " KULTBUH_VERSION "\n";
        return kExitOk;
    case Asked::Work:
        break;
    }
    if (!command)
        throw UsageError("Не указана команда");
    const QString name = QLatin1String(command->name);
    return work(name, parser.positionalArguments(),
                name == QLatin1String("query") ? parser.values(QStringLiteral("param")) : QStringList(), out, err);
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
