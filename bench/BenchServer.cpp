#include "BenchServer.h"

#include "Connection.h"
#include "DatabaseCopy.h"
#include "DemoDatabase.h"
#include "ServerSchema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <libpq-fe.h>
#include <memory>
#include <stdexcept>

namespace kb::bench {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

// libpq's key=value quoting: in single quotes, with ' and \ escaped.
QString quotedValue(const char* value) {
    QString v = QString::fromUtf8(value);
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

// The same server connection with another database named.
QString withDatabase(const QString& server, const QString& database) {
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(server.toUtf8().constData(), &error), &PQconninfoFree);
    if (!options) {
        const QString why = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("нет памяти");
        PQfreemem(error);
        fail(QStringLiteral("Не удалось разобрать подключение к серверу: %1").arg(why));
    }
    QStringList parts;
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
        if (qstrcmp(o->keyword, "dbname") != 0 && o->val && *o->val)
            parts << QString::fromLatin1(o->keyword) + QLatin1Char('=') + quotedValue(o->val);
    }
    parts << QStringLiteral("dbname=") + quotedValue(database.toUtf8().constData());
    return parts.join(QLatin1Char(' '));
}

// A connection for creating, renaming and finding databases, which the data
// layer's connection (to a database of the program) does not do.
class Maintenance {
public:
    explicit Maintenance(const QString& server) : conn_(PQconnectdb(server.toUtf8().constData()), &PQfinish) {
        if (PQstatus(conn_.get()) != CONNECTION_OK)
            fail(QStringLiteral("Нет подключения к серверу: %1").arg(message()));
    }

    void execute(const QString& sql) {
        const Result r(PQexec(conn_.get(), sql.toUtf8().constData()), &PQclear);
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            fail(QStringLiteral("%1: %2").arg(sql, message()));
    }

    bool exists(const QString& database) {
        const QByteArray name = database.toUtf8();
        const char* values[] = {name.constData()};
        const Result r(PQexecParams(conn_.get(), "SELECT 1 FROM pg_database WHERE datname = $1", 1, nullptr, values,
                                    nullptr, nullptr, 0),
                       &PQclear);
        if (PQresultStatus(r.get()) != PGRES_TUPLES_OK)
            fail(message());
        return PQntuples(r.get()) > 0;
    }

private:
    using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;
    QString message() const { return QString::fromUtf8(PQerrorMessage(conn_.get())).trimmed(); }

    std::unique_ptr<PGconn, decltype(&PQfinish)> conn_;
};

QString scriptPath() {
    return QStringLiteral(KULTBUH_SOURCE_DIR "/tests/support/pg-server.sh");
}

} // namespace

TemporaryServer::TemporaryServer(const QString& stateFolder) : stateFolder_(stateFolder) {
    QDir().mkpath(stateFolder_);
    run("start");
    QFile note(QDir(stateFolder_).filePath(QStringLiteral("pg-server.dir")));
    if (!note.open(QIODevice::ReadOnly)) {
        run("stop");
        fail(QStringLiteral("Сервер запущен, но не записал, где он: %1").arg(note.fileName()));
    }
    connection_ =
        QStringLiteral("host=%1 user=postgres dbname=postgres").arg(QString::fromUtf8(note.readAll().trimmed()));
}

TemporaryServer::~TemporaryServer() {
    try {
        run("stop");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void TemporaryServer::run(const char* action) const {
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(QStringLiteral("sh"), {scriptPath(), QString::fromLatin1(action), stateFolder_});
    if (!script.waitForFinished(120000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        fail(QStringLiteral("%1 %2 %3: не удалось").arg(scriptPath(), QString::fromLatin1(action), stateFolder_));
}

QString serverBenchDatabase(const QString& server, const QString& file) {
    const QString name = QStringLiteral("kb_%1_s%2")
                             .arg(QFileInfo(file).completeBaseName().replace(QLatin1Char('-'), QLatin1Char('_')))
                             .arg(sql::kSchemaVersion);
    const QString partial = name + QStringLiteral("_partial");
    Maintenance maintenance(server);
    if (maintenance.exists(name))
        return withDatabase(server, name);
    std::fprintf(stderr, "copying %s to the server's database %s\n", file.toUtf8().constData(),
                 name.toUtf8().constData());
    QElapsedTimer filling;
    filling.start();
    maintenance.execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(partial));
    maintenance.execute(QStringLiteral("CREATE DATABASE %1").arg(partial));
    const QString target = withDatabase(server, partial);
    tools::createEmptyDatabase(target);
    {
        sql::Connection source(file, sql::Connection::Mode::ReadOnly);
        sql::Connection copy(target);
        dataset::copyDatabase(source, copy);
        // The planner's statistics: without them it guesses the rows a month matches.
        copy.execute(QStringLiteral("ANALYZE"));
    }
    maintenance.execute(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(partial, name));
    std::fprintf(stderr, "copied and analysed in %.1f s\n", double(filling.elapsed()) / 1000);
    return withDatabase(server, name);
}

} // namespace kb::bench
