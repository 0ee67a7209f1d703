#include "CopyCommand.h"

#include "Connection.h"
#include "DatabaseCheck.h"
#include "DatabaseCopy.h"
#include "DatabaseName.h"
#include "DbError.h"
#include "DbTool.h"
#include "DemoDatabase.h"
#include "OrganisationDetails.h"
#include "Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <memory>
#include <vector>

namespace kb::tools {

namespace {

// The source opened for reading; a file must also pass the check, so that a
// damaged one is never copied as if it were sound.
std::unique_ptr<sql::Connection> openSource(const QString& from) {
    auto source = std::make_unique<sql::Connection>(from, sql::Connection::Mode::ReadOnly);
    if (!sql::isServerName(from)) {
        const QStringList problems = checkDatabase(from);
        if (!problems.isEmpty())
            throw sql::DbError(QStringLiteral("База данных %1 не годится для копирования: %2")
                                   .arg(QDir::toNativeSeparators(from), problems.join(QStringLiteral("; "))));
    }
    return source;
}

// The organisation's details go with the five tables when the source has them, read back and compared as the rows
// are; they replace any the target has.
void copyDetails(const sql::Connection& source, sql::Connection& target, std::vector<dataset::CopiedTable>& copied) {
    if (!documents::hasDetailsTable(source))
        return;
    const documents::OrganisationDetails details = documents::loadDetails(source);
    if (details == documents::OrganisationDetails{}) { // no row, or one left empty: nothing to carry
        copied.push_back({QString::fromLatin1(documents::kDetailsTable), 0});
        return;
    }
    documents::writeDetails(target, details);
    if (documents::loadDetails(target) != details)
        throw sql::DbError(QStringLiteral("Копия базы данных %1 не совпадает с ней: реквизиты организации в таблице "
                                          "%2 различаются; ничего не записано")
                               .arg(source.displayName(), QLatin1String(documents::kDetailsTable)));
    copied.push_back({QString::fromLatin1(documents::kDetailsTable), 1});
}

// Whether a server's database has no tables at all, as `createdb` leaves it.
bool withoutTables(const QString& server) {
    try {
        const sql::Connection probe(server, sql::Connection::Mode::CreateNew);
        return true;
    } catch (const sql::DbError&) {
        return false; // tables there, or no connection: opening it as it is says which
    }
}

std::vector<dataset::CopiedTable> copy(const QString& from, const QString& to) {
    const std::unique_ptr<sql::Connection> source = openSource(from);
    const sql::ReadSnapshot snapshot(*source);
    std::vector<dataset::CopiedTable> copied;
    const auto fill = [&](sql::Connection& target) {
        copied = dataset::copyRows(*source, target);
        copyDetails(*source, target, copied);
    };
    if (sql::isServerName(to) && !withoutTables(to)) {
        sql::Connection target(to);
        dataset::writeIntoEmpty(target, fill);
    } else
        createDatabase(to, fill);
    return copied;
}

} // namespace

int runCopyCommand(const QString& from, const QString& to, std::ostream& out) {
    for (const dataset::CopiedTable& table : copy(from, to))
        out << QStringLiteral("%1: скопировано строк: %2").arg(table.name).arg(table.rows).toStdString() << '\n';
    return kExitOk;
}

int runServerBackup(const QString& server, const QString& file, std::ostream& out) {
    copy(server, file);
    out << QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()).toStdString() << '\n';
    return kExitOk;
}

} // namespace kb::tools
