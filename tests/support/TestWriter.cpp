// kb-test-writer, a second program on a test's database (a file, or a database on the test server). "post FILE COUNT
// TAG BUSY_MS [PAUSE_MS]" appends COUNT positions named TAG-1, TAG-2, ... through a table object, as the record editors
// do, each waiting BUSY_MS for another user's lock, PAUSE_MS between them (letting readers in); it writes "ok ID" after
// each post, "busy MESSAGE" after one that met another user's lock. "hold FILE" takes the file's exclusive lock, writes
// "held" and keeps it until standard input ends. Every line reaches the pipe before the next step: a kill loses no
// acknowledged post.
#include "Connection.h"
#include "DbError.h"
#include "Schema.h"
#include "Table.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

namespace {

void say(const QString& line) {
    if (std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout) < 0 || std::fflush(stdout) != 0)
        std::_Exit(3);
}

int post(const QString& file, int count, const QString& tag, int busyMs, int pauseMs) {
    kb::sql::Connection connection(file); // opened with the usual wait, so that only the posts meet the short one
    connection.execute(connection.isServer() ? QStringLiteral("SET lock_timeout = %1").arg(busyMs)
                                             : QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMs));
    kb::dataset::Table table(connection, kb::dataset::schema::table(QStringLiteral("Dolznost")));
    table.open();
    for (int i = 1; i <= count; ++i) {
        try {
            table.append();
            table.fieldByName(QStringLiteral("Nazvanie")).setText(QStringLiteral("%1-%2").arg(tag).arg(i));
            table.post();
            say(QStringLiteral("ok %1").arg(table.value(table.currentRow(), 0).toInt()));
        } catch (const kb::sql::DbError& e) {
            if (!e.isBusy())
                throw;
            table.cancel();
            say(QStringLiteral("busy ") + QString::fromUtf8(e.what()));
        }
        QThread::msleep(pauseMs);
    }
    return 0;
}

int hold(const QString& file) {
    kb::sql::Connection connection(file);
    connection.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    say(QStringLiteral("held"));
    while (std::getchar() != EOF) {
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if ((args.size() == 5 || args.size() == 6) && args[0] == QLatin1String("post"))
            return post(args[1], args[2].toInt(), args[3], args[4].toInt(), args.value(5).toInt());
        if (args.size() == 2 && args[0] == QLatin1String("hold"))
            return hold(args[1]);
        return 2; // a wrong call
    } catch (const std::exception& e) {
        say(QStringLiteral("error ") + QString::fromUtf8(e.what()));
        return 1;
    }
}
