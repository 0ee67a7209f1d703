#include "SqliteConnection.h"

#include "ColumnTypes.h"
#include "DbError.h"
#include "EngineMessage.h"
#include "FileUseLocks.h"
#include "JetSignature.h"
#include "SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <sqlite3.h>
#include <utility>

namespace kb::sql {

namespace {

QString shownPath(const QString& fileName) {
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

QByteArray nativePath(const QString& fileName) {
    return QFile::encodeName(QFileInfo(fileName).absoluteFilePath());
}

// Prepares the first statement of text; stmt is null when the text holds only blanks and comments.
int prepareOne(sqlite3* db, const char* text, int length, sqlite3_stmt** stmt, const char** tail) {
    *stmt = nullptr;
    return sqlite3_prepare_v2(db, text, length, stmt, tail);
}

// The journals SQLite keeps beside a database file.
const char* const kJournalSuffixes[] = {"-journal", "-wal", "-shm"};

} // namespace

void SqliteConnection::checkExisting(const QFileInfo& info, Connection::Mode mode) const {
    const QString shown = shownPath(fileName_);
    if (!info.exists())
        throw DbError(QStringLiteral("Файл базы данных не найден: %1").arg(shown), SQLITE_CANTOPEN);
    if (info.isDir())
        throw DbError(QStringLiteral("Вместо файла базы данных найдена папка: %1").arg(shown), SQLITE_CANTOPEN);
    // Reading a channel would wait for a writer for ever; a socket or a device is no database either.
    if (!info.isFile())
        throw DbError(QStringLiteral("Вместо файла базы данных найден не обычный файл (канал, сокет или "
                                     "устройство): %1")
                          .arg(shown),
                      SQLITE_CANTOPEN);
    if (!info.isReadable())
        throw DbError(QStringLiteral("Нет доступа к файлу базы данных %1: чтение запрещено").arg(shown), SQLITE_PERM);
    const bool writing = mode == Connection::Mode::OpenExisting;
    if (writing && !info.isWritable())
        throw DbError(QStringLiteral("Нет доступа к файлу базы данных %1: запись запрещена").arg(shown),
                      SQLITE_READONLY);
    // SQLite would take an empty file for an empty database and start writing into it.
    if (info.size() == 0)
        throw DbError(QStringLiteral("Файл %1 не является базой данных: он пуст").arg(shown), SQLITE_NOTADB);
    // A file of the old program is only ever read by the import, never opened here.
    if (jetFormat(info.filePath()))
        throw DbError(jetFileRefusal(shown), SQLITE_NOTADB);
    // SQLite writes its journal beside the file: without it no change could be saved.
    if (writing && !QFileInfo(info.absolutePath()).isWritable())
        throw DbError(QStringLiteral("Нет доступа к папке базы данных %1: запись в папку запрещена, изменения "
                                     "не могут быть сохранены")
                          .arg(shown),
                      SQLITE_READONLY);
    // SQLite reports a journal it cannot use as a bare "disk I/O error".
    const QString real = info.canonicalFilePath();
    for (const char* suffix : kJournalSuffixes) {
        const QFileInfo journal(real + QLatin1String(suffix));
        if (journal.isSymLink() || (journal.exists() && !journal.isFile()))
            throw DbError(QStringLiteral("Журнал %1 базы данных %2 - не обычный файл, а %3: уберите его и повторите")
                              .arg(QDir::toNativeSeparators(journal.filePath()), shown,
                                   journal.isSymLink() ? QStringLiteral("ссылка") : QStringLiteral("папка")),
                          SQLITE_CANTOPEN);
    }
}

SqliteConnection::SqliteConnection(const QString& fileName, Connection::Mode mode, int busyTimeoutMs)
    : fileName_(QFileInfo(fileName).absoluteFilePath()) {
    const QString shown = shownPath(fileName_);
    const QFileInfo info(fileName);
    if (mode != Connection::Mode::CreateNew) {
        checkExisting(info, mode);
        use_ = SharedFileUse::acquire(fileName_);
        openFile(busyTimeoutMs, mode);
    } else {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists() || info.isSymLink())
                throw DbError(QStringLiteral("Файл %1 уже существует: новая база данных не создана").arg(shown),
                              SQLITE_CANTOPEN);
            throw DbError(QStringLiteral("Не удаётся создать файл базы данных %1: %2").arg(shown, file.errorString()),
                          SQLITE_CANTOPEN);
        }
        file.close();
        try {
            use_ = SharedFileUse::acquire(fileName_);
            openFile(busyTimeoutMs, mode);
        } catch (...) {
            use_.reset();
            QFile::remove(fileName); // leave nothing half-made behind
            throw;
        }
    }
}

void SqliteConnection::openFile(int busyTimeoutMs, Connection::Mode mode) {
    // Read-write without CREATE: a file that vanished since the check is not made anew.
    // The program uses a connection from one thread only, so SQLite's own locking is not needed.
    const bool readOnly = mode == Connection::Mode::ReadOnly || mode == Connection::Mode::Snapshot;
    QByteArray name = nativePath(fileName_);
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (mode == Connection::Mode::Snapshot) { // immutable: no locks taken, no journal read or applied
        name = "file:" + name.toPercentEncoding("/") + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    const int rc = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = engineMessage(db_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        failOpening(QString(), rc, message);
    }
    try {
        sqlite3_busy_timeout(db_, busyTimeoutMs);
        // A double-quoted name that is no column must be an error, never a
        // text literal: a renamed column would otherwise show its own name
        // in every row.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        configure(mode);
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteConnection::~SqliteConnection() {
    // close_v2 waits for statements still alive instead of failing.
    if (db_)
        sqlite3_close_v2(db_);
}

void SqliteConnection::failOpening(const QString& action, int rc, const QString& engineMessage) const {
    const QString shown = shownPath(fileName_);
    const int primary = rc & 0xff;
    QString message;
    switch (primary) {
    case SQLITE_NOTADB:
        message = QStringLiteral("Файл %1 не является базой данных").arg(shown);
        break;
    case SQLITE_CORRUPT:
        message = QStringLiteral("Файл базы данных %1 повреждён").arg(shown);
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        message = QStringLiteral("База данных %1 заблокирована другой программой или пользователем").arg(shown);
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
        message = QStringLiteral("Не удаётся открыть файл базы данных %1").arg(shown);
        break;
    default:
        message = QStringLiteral("Не удаётся открыть базу данных %1").arg(shown);
        break;
    }
    if (!action.isEmpty())
        message += QStringLiteral(" (%1)").arg(action);
    if (!engineMessage.isEmpty())
        message += QStringLiteral(": ") + engineMessage;
    throw DbError(message, primary);
}

// Settings of every connection, then the schema: reading it is what makes
// SQLite look at the file, so a file that is no database fails here.
void SqliteConnection::configure(Connection::Mode mode) {
    struct Step {
        const char* action;
        const char* sql;
    };
    static const Step steps[] = {
        {"чтение схемы", "SELECT count(*) FROM sqlite_master"},
        {"режим журнала", "PRAGMA journal_mode=DELETE"},
        {"режим записи", "PRAGMA synchronous=FULL"},
        {"внешние ключи", "PRAGMA foreign_keys=OFF"},
    };
    // A read-only connection only reads the schema: the settings are the writer's.
    const size_t count =
        mode == Connection::Mode::ReadOnly || mode == Connection::Mode::Snapshot ? 1 : std::size(steps);
    for (size_t i = 0; i < count; ++i) {
        const Step& s = steps[i];
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db_, s.sql, -1, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        const QString message = rc == SQLITE_OK ? QString() : engineMessage(db_);
        sqlite3_finalize(stmt);
        // Reading only, SQLite cannot undo the half-done write a journal beside the file holds.
        if (count == 1 && (rc & 0xff) == SQLITE_READONLY)
            throw DbError(QStringLiteral("Рядом с файлом базы данных %1 лежит журнал незавершённой записи, а файл "
                                         "открыт только для чтения: запись будет отменена, когда файл откроет "
                                         "программа")
                              .arg(shownPath(fileName_)),
                          SQLITE_READONLY);
        if (rc != SQLITE_OK)
            failOpening(QString::fromUtf8(s.action), rc, message);
    }
    try {
        opened_ = readColumnTypes();
    } catch (const DbError& e) {
        failOpening(QStringLiteral("чтение схемы"), e.sqliteCode(), QString::fromUtf8(e.what()));
    }
}

std::unique_ptr<ColumnTypes> SqliteConnection::readColumnTypes() const {
    if (opened_) // read once while opening, where a failure names the file
        return std::move(opened_);
    auto types = std::make_unique<ColumnTypes>();
    QStringList tableNames;
    {
        Statement st(prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                            "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY rowid")),
                     QString());
        while (st.step())
            tableNames.append(st.column(0).text());
    }
    Statement columns(prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)")), QString());
    for (const QString& table : tableNames) {
        columns.reset();
        columns.bind(1, Value(table));
        while (columns.step())
            types->add(table, columns.column(0).text(), columns.column(1).text());
    }
    return types;
}

std::unique_ptr<StatementEngine> SqliteConnection::prepare(const QString& sql) const {
    const QByteArray utf8 = sql.toUtf8();
    const char* end = utf8.constData() + utf8.size();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = prepareOne(db_, utf8.constData(), int(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        throw DbError(engineMessage(db_), rc & 0xff);
    if (!stmt)
        throw DbError(QStringLiteral("Текст запроса пуст"));
    auto statement = std::make_unique<SqliteStatement>(db_, stmt);
    // What follows the first statement may only be blanks, comments and semicolons.
    while (tail && tail < end) {
        // SQLite reads no further than a character 0: what follows would be
        // dropped unread, and preparing from it again would never advance.
        if (*tail == '\0')
            throw DbError(QStringLiteral("Текст запроса содержит символ с кодом 0"));
        sqlite3_stmt* extra = nullptr;
        rc = prepareOne(db_, tail, int(end - tail), &extra, &tail);
        const bool another = extra != nullptr;
        sqlite3_finalize(extra);
        if (rc != SQLITE_OK)
            throw DbError(engineMessage(db_), rc & 0xff);
        if (another)
            throw DbError(QStringLiteral("Текст запроса содержит больше одной инструкции SQL"));
    }
    return statement;
}

void SqliteConnection::execute(const QString& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : engineMessage(db_);
        sqlite3_free(error);
        throw DbError(message, rc & 0xff);
    }
}

void SqliteConnection::checkIntegrity(bool quick) const {
    QStringList faults;
    int code = SQLITE_CORRUPT;
    try {
        Statement check(
            prepare(quick ? QStringLiteral("PRAGMA quick_check") : QStringLiteral("PRAGMA integrity_check")),
            QString());
        while (check.step()) {
            const QString line = check.column(0).text();
            if (line != QLatin1String("ok"))
                faults << line.simplified(); // one line of the message each
        }
    } catch (const DbError& e) { // a check that cannot even read the file says why
        faults << QString::fromUtf8(e.what());
        code = e.sqliteCode();
    }
    if (faults.isEmpty())
        return;
    if ((code & 0xff) == SQLITE_BUSY)
        failOpening(QStringLiteral("проверка целостности"), code, faults.join(QStringLiteral("; ")));
    throw DbError(QStringLiteral("Файл базы данных %1 повреждён: %2")
                      .arg(shownPath(fileName_), faults.join(QStringLiteral("; "))),
                  SQLITE_CORRUPT);
}

int SqliteConnection::changes() const {
    return sqlite3_changes(db_);
}

void SqliteConnection::begin() {
    // IMMEDIATE takes the write lock now, so a conflict shows before anything is written.
    execute(QStringLiteral("BEGIN IMMEDIATE"));
}

// A deferred transaction takes the file's shared lock at its first read and holds it to the end, so every read
// in it sees one state of the file.
void SqliteConnection::beginReadSnapshot() {
    execute(QStringLiteral("BEGIN"));
}

void SqliteConnection::commit() {
    execute(QStringLiteral("COMMIT"));
}

void SqliteConnection::rollback() noexcept {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

QString SqliteConnection::displayName() const {
    return shownPath(fileName_);
}

} // namespace kb::sql
