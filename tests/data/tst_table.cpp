// The table object: snapshot, states, navigation, posting and deleting on a real file; its snapshot of IDs.
#include "Connection.h"
#include "DateTimeText.h"
#include "KeySnapshot.h"
#include "PageCache.h"
#include "Schema.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"
#include "ValueText.h"

#include <QRegularExpression>
#include <map>
#include <random>

using namespace Qt::StringLiterals;
using kb::dataset::KeySnapshot;
using kb::dataset::PageCache;
using kb::dataset::Table;
using kb::sql::Value;
using namespace kbtest;
using State = kb::dataset::Table::State;
using Ids = std::vector<qint64>;

namespace {

QString shown(const Value& v) {
    return v.isNull() ? u"_"_s : kb::text::display(v);
}

// Positions 1 Бух, 2 Дир, 3 Кас, then `more` named by their IDs (4 П4, ...), and an open table object over them on a
// connection of its own; the database's other connection plays another user.
struct Positions {
    TempDatabase db;
    kb::sql::Connection mine{db.path(), kb::sql::Connection::Mode::OpenExisting, 50};
    Table t{mine, kb::dataset::schema::table(u"Dolznost"_s)};
    QStringList told; // what a bound widget is told

    explicit Positions(int more = 0, Engine engine = Engine::File) : db(engine) {
        db.exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?1) INSERT INTO Dolznost "
                "(Nazvanie) SELECT CASE WHEN i < 4 THEN substr('БухДирКас', 3*i - 2, 3) ELSE 'П' || i END FROM n"_s,
                {Value(3 + more)});
        t.setObjectName(u"ADOTableDolznost"_s);
        t.open();
        // >row current row, +row inserted, -row removed, ~row changed, f1 the name's pending value, R data reset, A1 A0
        // opened and closed, B E I X the state: browse, edit, insert, inactive.
        const auto tell = [this](const char* what) {
            return [this, what](int n) { told << what + QString::number(n); };
        };
        QObject::connect(&t, &Table::currentRowChanged, tell(">"));
        QObject::connect(&t, &Table::rowInserted, tell("+"));
        QObject::connect(&t, &Table::rowRemoved, tell("-"));
        QObject::connect(&t, &Table::rowChanged, tell("~"));
        QObject::connect(&t, &Table::fieldChanged, tell("f"));
        QObject::connect(&t, &Table::activeChanged, tell("A"));
        QObject::connect(&t, &Table::dataReset, [this] { told << u"R"_s; });
        QObject::connect(&t, &Table::stateChanged, [this](State s) { told << state(s); });
    }
    static QString state(State s) { return QString(u"XBEI"_s[int(s)]); }
    // The state, the rows as ID and name (the current one starred) between bof and eof; the file's rows; what was told.
    QString outcome() {
        QStringList rows;
        for (int r = 0; t.isActive() && r < t.recordCount(); ++r)
            rows << (r == t.currentRow() ? u"*"_s : QString()) + shown(t.value(r, 0)) + shown(t.value(r, 1));
        if (t.isActive() && t.bof())
            rows.prepend(u"bof"_s);
        if (t.isActive() && t.eof())
            rows.append(u"eof"_s);
        const Value file =
            db.scalar(db.connection().isServer() ? u"SELECT string_agg(ID || Nazvanie, ' ' ORDER BY ID) FROM Dolznost"_s
                                                 : u"SELECT group_concat(ID || Nazvanie, ' ') FROM Dolznost"_s);
        return QStringList{state(t.state()) + u": "_s + rows.join(u' '), file.text(), told.join(u' ')}.join(u" / "_s);
    }
    // The current row, the count, and the rows asked for as number=ID and name.
    QString rowsAt(const QString& asked) const {
        QStringList rows{u">%1 %2:"_s.arg(t.currentRow()).arg(t.recordCount())};
        for (const QString& r : asked.split(u' '))
            rows << r + u'=' + shown(t.value(r.toInt(), 0)) + shown(t.value(r.toInt(), 1));
        return rows.join(u' ');
    }
    // Runs a script (see script_data()): the messages of operations marked '!', and any that went against its mark.
    QString perform(const QString& script) {
        QStringList failures;
        for (const QString& op : script.split(u"; "_s)) {
            const bool mustFail = op.startsWith(u'!');
            const QString message = errorMessage([&] { run(mustFail ? op.mid(1) : op); });
            if (message.isNull() == mustFail)
                failures << op + QLatin1String(mustFail ? ": no error" : ": ") + message;
            else if (mustFail)
                failures << message;
        }
        return failures.join(u'|');
    }
    void run(const QString& op) {
        const QString verb = op.section(u' ', 0, 0);
        const QString arg = op.section(u' ', 1);
        static const std::map<QString, void (Table::*)()> actions{
            {"first", &Table::first}, {"prior", &Table::prior},   {"next", &Table::next},
            {"last", &Table::last},   {"edit", &Table::edit},     {"insert", &Table::insert},
            {"post", &Table::post},   {"cancel", &Table::cancel}, {"remove", &Table::remove},
            {"close", &Table::close}, {"open", &Table::open},     {"refresh", &Table::refresh}};
        if (actions.contains(verb))
            (t.*actions.at(verb))();
        else if (verb == u"move"_s)
            t.moveTo(arg.toInt());
        else if (verb == u"set"_s)
            t.fieldByName(u"Nazvanie"_s).setText(arg);
        else if (verb == u"sql"_s)
            db.connection().execute(arg);
        else if (verb == u"refuse"_s || verb == u"admit"_s)
            kb::sql::Connection(serverName(u"postgres"_s), kb::sql::Connection::Mode::CreateNew)
                .execute(u"ALTER DATABASE %1 ALLOW_CONNECTIONS %2"_s
                             .arg(db.path().section(u"dbname="_s, 1).section(u' ', 0, 0))
                             .arg(verb == u"admit"_s));
        else if (verb == u"read"_s)
            t.value(arg.toInt(), 1);
        else if (verb == u"count"_s)
            t.recordCount();
        else
            t.currentRow(); // row
    }
};

QString vanished(const char* consequence, int id = 2) {
    return u"Запись с ID = %1 не найдена в таблице 'Dolznost': возможно, её удалил другой пользователь; "
           "%2. Обновите данные таблицы"_s.arg(id)
               .arg(QString::fromUtf8(consequence));
}
QString times(int n, const QString& message) {
    return QStringList(n, message).join(u'|');
}
// A script on the three positions, and what it leaves (see outcome()).
void play(const char* name, const QString& script, const char* outcome, const QString& errors = {}) {
    row(name, 0, script, QString(), QString::fromUtf8(outcome), errors);
}
// A script on 1050 positions, and the rows asked for (see rowsAt()).
void paged(const char* name, const QString& script, const char* rows, const char* outcome, const QString& errors = {}) {
    row(name, 1047, script, QString::fromLatin1(rows), QString::fromUtf8(outcome), errors);
}

} // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    // A script of operations on the opened positions, separated by "; ": the table's own (first, move N, edit, ...);
    // set NAME gives the name a value; row, count and read N only ask; sql STATEMENT is another user's. An operation
    // marked '!' must fail; its message (%1 the file's path) joins the others with '|'.
    void script_data() {
        columns<int, QString, QString, QString, QString>("more", "script", "rows", "outcome", "errors");
        const QString forbid =
            u"sql CREATE TRIGGER No BEFORE %1 ON Dolznost BEGIN SELECT RAISE(ABORT, 'Нельзя');END; "_s;
        const QString update = forbid.arg(u"UPDATE"_s), insert = forbid.arg(u"INSERT"_s);
        const QString busy = u"База данных %1 занята другим пользователем или программой: изменения не "
                             "записаны (database is locked)"_s;
        play("past the end", "move 2; next; next", "B: 1Бух 2Дир *3Кас eof / 1Бух 2Дир 3Кас / >2 >2");
        play("moving in an empty table", "sql DELETE FROM Dolznost; next; prior; first; last", "B: bof eof /  / ");
        play("post without changes writes nothing", update + "edit; set Бух; post",
             "B: bof *1Бух 2Дир 3Кас / 1Бух 2Дир 3Кас / E B");
        play("an empty table starts a row", "sql DELETE FROM Dolznost; edit; set Нов; post",
             "B: *4Нов / 4Нов / +0 >0 I f1 B ~0");
        play("insert shows the new ID", "next; insert; set Мет; post",
             "B: 1Бух *4Мет 2Дир 3Кас / 1Бух 2Дир 3Кас 4Мет / >1 +1 >1 I f1 B ~1");
        play("remove while inserting cancels", "insert; remove",
             "B: bof *1Бух 2Дир 3Кас / 1Бух 2Дир 3Кас / +0 >0 I -0 >0 B");
        // Leaving an edited row posts it, whichever way.
        play("leaving posts",
             "edit; set А; next; edit; set Б; prior; edit; set В; last; edit; set Г; first; edit; set Д; move 1; edit; "
             "set Е; refresh; edit; set Ж; insert",
             "I: 1Д *__ 2Ж 3Г / 1Д 2Ж 3Г / E f1 B ~0 >1 E f1 B ~1 >0 E f1 B ~0 >2 E f1 B ~2 >0 E f1 B ~0 >1 E f1 B ~1 "
             "R >1 E f1 B ~1 +1 >1 I");
        // A failed post keeps the edit, and so does leaving the row; it may be posted later.
        play("failed post", update + "next; edit; set Жд; !post; !next; sql DROP TRIGGER No; post",
             "B: 1Бух *2Жд 3Кас / 1Бух 2Жд 3Кас / >1 E f1 B ~1", "Нельзя|Нельзя");
        play("failed post of a new row", insert + "next; insert; set Жд; !post; !next",
             "I: 1Бух *_Жд 2Дир 3Кас / 1Бух 2Дир 3Кас / >1 +1 >1 I f1", "Нельзя|Нельзя");
        play("another user writing", "edit; set Ст; sql BEGIN IMMEDIATE; !post; !remove; sql COMMIT; post",
             "B: bof *1Ст 2Дир 3Кас / 1Ст 2Дир 3Кас / E f1 B ~0", times(2, busy));
        play("remove the edited row", "edit; set Не; remove", "B: *2Дир 3Кас / 2Дир 3Кас / E f1 -0 >0 B");
        play("remove from the last row to none", "last; remove; remove; remove; !remove",
             "B: bof eof /  / >2 -2 >1 -1 >0 -0 >-1", u"Таблица 'Dolznost' пуста: удалять нечего"_s);
        // Another user's changes.
        play("row deleted before a post", "next; edit; set Поз; sql DELETE FROM Dolznost WHERE ID = 2; !post",
             "E: 1Бух *2Поз 3Кас / 1Бух 3Кас / >1 E f1", vanished("изменения не сохранены"));
        play("row deleted before a remove", "next; sql DELETE FROM Dolznost WHERE ID = 2; !remove",
             "B: 1Бух *2Дир 3Кас / 1Бух 3Кас / >1", vanished("удалить её нельзя"));
        // The field changed by another user after edit: the post fails and keeps the typed value; cancel shows theirs.
        const QString changed =
            u"next; edit; set Моё; sql UPDATE Dolznost SET Nazvanie = 'Чужое' WHERE ID = 2; !post; "_s;
        const QString conflict =
            u"Запись с ID = 2 в таблице 'Dolznost' изменил другой пользователь, пока она редактировалась "
            "(поле 'Nazvanie'): изменения не сохранены. Отмените правку, чтобы увидеть новые значения"_s;
        play("row changed before a post", changed + "!next", "E: 1Бух *2Моё 3Кас / 1Бух 2Чужое 3Кас / >1 E f1",
             times(2, conflict));
        play("cancel after a conflict", changed + "cancel", "B: 1Бух *2Чужое 3Кас / 1Бух 2Чужое 3Кас / >1 E f1 B ~1",
             conflict);
        play("refresh keeps the current row",
             "last; sql DELETE FROM Dolznost WHERE ID = 1; sql UPDATE Dolznost SET Nazvanie = 'Ст' WHERE ID = 3; "
             "sql INSERT INTO Dolznost (Nazvanie) VALUES ('Нов'); refresh",
             "B: 2Дир *3Ст 4Нов / 2Дир 3Ст 4Нов / >2 R >1");
        play("refresh after the current row vanished", "last; sql DELETE FROM Dolznost WHERE ID = 3; refresh",
             "B: 1Бух *2Дир eof / 1Бух 2Дир / >2 R >1");
        play("first read while another user locks",
             "sql BEGIN EXCLUSIVE; !count; !row; !next; !edit; sql INSERT INTO Dolznost (Nazvanie) VALUES ('Мет'); "
             "sql COMMIT; row",
             "B: bof *1Бух 2Дир 3Кас 4Мет / 1Бух 2Дир 3Кас 4Мет / ",
             times(4, u"Таблицу 'Dolznost' прочитать не удалось: база данных %1 занята другим "
                      "пользователем или программой (database is locked). Повторите действие позже"_s));
        // Closing drops the pending edit. Opened again, a follower is told the first row: the rows are read at once.
        play("close, and open when followed",
             "insert; set Брошен; close; sql INSERT INTO Dolznost (Nazvanie) VALUES "
             "('Мет'); open; sql DELETE FROM Dolznost WHERE ID = 1",
             "B: bof *1Бух 2Дир 3Кас 4Мет / 2Дир 3Кас 4Мет / +0 >0 I f1 R >-1 A0 X R >0 A1 B");
        play("a closed table refuses", "close; !edit; !insert; !post; !refresh; !next; !count",
             "X:  / 1Бух 2Дир 3Кас / R A0 X", times(6, u"Набор данных ADOTableDolznost закрыт: операция невозможна"_s));
        // Five pages and more: moving, inserting, removing across a page's end; another user's changes, shown when
        // their page is read. With gaps in the IDs, they are read from the nearer end; a row gone before its ID was
        // read is skipped, the count kept.
        static_assert(Table::kPageRows == 200, "the rows below are written for pages of 200 rows");
        const QString others =
            u"count; sql UPDATE Dolznost SET Nazvanie = 'Ст' WHERE ID IN (1, 301); sql "
            "DELETE FROM Dolznost WHERE ID = 302; sql INSERT INTO Dolznost (Nazvanie) VALUES ('Нов')"_s;
        const QString gap = u"sql DELETE FROM Dolznost WHERE ID = 500; "_s;
        paged("moving across a page's end", "move 199; next; last; prior", "199 200 1049",
              ">1048 1050: 199=200П200 200=201П201 1049=1050П1050");
        paged("inserting at a page's start", "read 400; move 200; insert; set Нов; post", "199 200 201 401 1050",
              ">200 1051: 199=200П200 200=1051Нов 201=201П201 401=401П401 1050=1050П1050");
        paged("removing at a page's end", "read 400; move 199; remove", "198 199 200 400 1048",
              ">199 1049: 198=199П199 199=201П201 200=202П202 400=402П402 1048=1050П1050");
        paged("another user's changes in a page not read yet", others + "; move 301; !remove", "0 300 301",
              ">301 1050: 0=1Бух 300=301Ст 301=302_", vanished("удалить её нельзя", 302));
        paged("gaps: the last row first", gap + "last; prior", "1048 0 498 499",
              ">1047 1049: 1048=1050П1050 0=1Бух 498=499П499 499=501П501");
        paged("gaps: a row deleted before its ID was read",
              gap + "count; sql DELETE FROM Dolznost WHERE ID = 1040; last", "1037 1038 1047 1048",
              ">1048 1049: 1037=1039П1039 1038=1041П1041 1047=1050П1050 1048=__");
        paged("gaps: refresh finds the current row",
              gap + "move 1040; sql DELETE FROM Dolznost WHERE ID = 600; refresh", "1039 1000 1047",
              ">1039 1048: 1039=1042П1042 1000=1003П1003 1047=1050П1050");
    }
    void script() {
        const auto [more, script, rows, outcome, errors] =
            fetch<int, QString, QString, QString, QString>("more", "script", "rows", "outcome", "errors");
        Positions p(more);
        const QString failures = p.perform(script);
        QCOMPARE(rows.isEmpty() ? p.outcome() : p.rowsAt(rows), outcome);
        QCOMPARE(failures, QString(errors).replace(u"%1"_s, p.db.path()));
    }

    // Each value is held in its field's type, whatever the file's column holds (a whole number for a float, a date as
    // text): in the snapshot, and after a post of another field, which writes it back unchanged.
    void valuesInTheFieldsType() {
        TempDatabase db(TempDatabase::Content::Empty);
        db.connection().execute(
            u"CREATE TABLE Stavka (ID INTEGER PRIMARY KEY, IDSotr, Sum); INSERT INTO Stavka (IDSotr, Sum) "
            "VALUES (1, 1200); CREATE TABLE Premia (ID INTEGER PRIMARY KEY, IDSotr, Data TEXT, Premia); "
            "INSERT INTO Premia (IDSotr, Data) VALUES (1, '2013-04-01')"_s);
        db.connection().reloadColumnTypes();
        for (const auto& [table, expected] : {std::pair(u"Stavka"_s, Value(1200.0)),
                                              std::pair(u"Premia"_s, Value(kb::sql::datetime::make(2013, 4, 1)))}) {
            Table t(db.connection(), kb::dataset::schema::table(table));
            t.open();
            QCOMPARE(t.value(0, 2), expected);
            t.edit();
            t.field(1).setValue(Value(2));
            t.post();
            QCOMPARE(db.scalar(u"SELECT IDSotr FROM "_s + table), Value(2));
            QCOMPARE(t.value(0, 2), expected);
        }
    }

    // Two users, each on a connection of their own, edit one row at once: changes to different fields are both kept;
    // the second change of a field the first user saved meanwhile is refused, naming the field, and not written.
    void twoUsersEditOneRow_data() {
        columns<Engine, QString, QString, QString>("engine", "field", "stored", "error");
        for (Engine e : kEngines) {
            newEngineRow(e, "different fields") << u"Sum"_s << u"7 1500"_s << QString();
            newEngineRow(e, "same field") << u"IDSotr"_s << u"7 1200"_s << u"(поле 'IDSotr')"_s;
        }
    }
    void twoUsersEditOneRow() {
        const auto [engine, field, stored, error] =
            fetch<Engine, QString, QString, QString>("engine", "field", "stored", "error");
        TempDatabase db(engine);
        db.addStavka(1, 1200.0);
        kb::sql::Connection other(db.path());
        const auto& stavka = kb::dataset::schema::table(u"Stavka"_s);
        Table first(db.connection(), stavka), second(other, stavka);
        for (Table* t : {&first, &second})
            t->open(), t->edit();
        first.fieldByName(u"IDSotr"_s).setValue(Value(7));
        second.fieldByName(field).setValue(field == u"Sum"_s ? Value(1500.0) : Value(8));
        first.post();
        const QString message = errorMessage([&] { second.post(); });
        QVERIFY2(error.isNull() ? message.isNull() : message.contains(error), qPrintable(message));
        QCOMPARE(db.scalar(u"SELECT IDSotr || ' ' || CAST(Sum AS INTEGER) FROM Stavka"_s), Value(stored));
    }

    // What only a server does. Its connection lost between two actions (lose: another session ends the table's): the
    // first action fails saying so and keeps the edit; the next one connects anew and posts it, or says that it cannot
    // while the database lets nobody in (refuse, admit). Lost during the commit (a deferred trigger ends the session):
    // whether the edit was written is unknown, and the message says so. A row another user keeps locked past the wait:
    // the post and the remove fail as a busy database, nothing written, the edit kept. A script as in script_data();
    // the errors as a pattern.
    void onServer_data() {
        columns<QString, QString, QString>("script", "outcome", "errors");
        const QString lose = u"sql SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                             "current_database() AND pid <> pg_backend_pid(); "_s;
        const QString lost = u"Связь с сервером баз данных прервана \\(сервер [^,]+, база \\w+\\): [^|]*следующее "
                             "действие подключится к серверу заново"_s;
        row("edit posted by the next action", "next; edit; set Моё; " + lose + "!post; post",
            u"B: 1Бух *2Моё 3Кас / 1Бух 2Моё 3Кас / >1 E f1 B ~1"_s, lost);
        row("read by the next action", lose + "!refresh; refresh", u"B: bof *1Бух 2Дир 3Кас / 1Бух 2Дир 3Кас / R >0"_s,
            "Таблицу 'Dolznost' прочитать не удалось: " + lost);
        row("no connection anew while refused", "edit; set Моё; " + lose + "refuse; !post; !post; admit; post",
            u"B: bof *1Моё 2Дир 3Кас / 1Моё 2Дир 3Кас / E f1 B ~0"_s,
            lost + u"\\|Связь [^|]*, и подключиться к нему заново не удалось: [^|]*"_s);
        row("connection lost while committing",
            "next; edit; set Моё; sql CREATE FUNCTION die() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN PERFORM "
            "pg_terminate_backend(pg_backend_pid());RETURN NULL;END$$; sql CREATE CONSTRAINT TRIGGER die AFTER UPDATE "
            "ON \"Dolznost\" DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION die(); !post; sql DROP "
            "TRIGGER die ON \"Dolznost\"; post",
            u"B: 1Бух *2Моё 3Кас / 1Бух 2Моё 3Кас / >1 E f1 B ~1"_s,
            u"Связь с сервером баз данных прервана во время записи изменений \\(сервер [^,]+, база \\w+\\): "
            "[^|]*Записаны ли они, неизвестно[^|]*"_s);
        row("a row locked by another user",
            "next; edit; set Моё; sql BEGIN; sql SELECT * FROM \"Dolznost\" WHERE \"ID\" = 2 FOR UPDATE; !post; "
            "!remove; "
            "sql COMMIT; post",
            u"B: 1Бух *2Моё 3Кас / 1Бух 2Моё 3Кас / >1 E f1 B ~1"_s,
            QStringList(2, u"База данных сервер [^,]+, база \\w+ занята другим пользователем или программой: "
                           "изменения не записаны \\(canceling statement due to lock timeout\\)"_s)
                .join(u"\\|"_s));
    }
    void onServer() {
        const auto [script, outcome, errors] = fetch<QString, QString, QString>("script", "outcome", "errors");
        Positions p(0, Engine::Server);
        const QString failures = p.perform(script);
        QCOMPARE(p.outcome(), outcome);
        QVERIFY2(QRegularExpression(u"\\A"_s + errors + u"\\z"_s).match(failures).hasMatch(), qPrintable(failures));
    }

    // A damaged page of a table (in a file too large to be checked at opening) is reported, with the file, when read.
    void damagedPageIsNamedWhenRead() {
        TempDatabase db;
        db.exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                "INSERT INTO Dolznost (Nazvanie) SELECT hex(randomblob(100)) FROM n"_s);
        db.closeConnection();
        QByteArray bytes = fileBytes(db.path());
        QVERIFY(writeFile(db.path(), bytes.replace(bytes.size() / 2, 4096, QByteArray(4096, 'x'))));
        kb::sql::Connection c(db.path());
        Table t(c, kb::dataset::schema::table(u"Dolznost"_s));
        t.open();
        QCOMPARE(errorMessage([&] { t.moveTo(t.recordCount() - 1); }),
                 u"Таблицу 'Dolznost' прочитать не удалось: файл базы данных %1 повреждён (database "
                 "disk image is malformed)"_s.arg(db.path()));
    }

    // The snapshot of IDs against a plain list, through random inserts and removals, IDs read in one run or by gaps.
    void editsMatchPlainList() {
        for (const bool gaps : {false, true}) {
            KeySnapshot s = KeySnapshot::counted(8, 5, gaps ? 40 : 12);
            Ids expected = gaps ? Ids{5, 7, 9, 11, 30, 31, 35, 40} : Ids{5, 6, 7, 8, 9, 10, 11, 12};
            if (gaps) {
                s.fillFront(0, {5, 7, 9}, false);
                s.fillBack(3, {40, 35, 31, 30, 11}, false);
            }
            std::mt19937 random(7);
            for (qint64 next = 100; next < 160; ++next) {
                if (expected.empty() || random() % 3 != 0) {
                    const int at = int(random() % (expected.size() + 1));
                    s.insert(at, next);
                    expected.insert(expected.begin() + at, next);
                } else {
                    const int at = int(random() % expected.size());
                    s.erase(at);
                    expected.erase(expected.begin() + at);
                }
                Ids ids;
                for (int p = 0; p < s.size(); ++p)
                    ids.push_back(s.firstGapIn(p, p + 1) ? 0 : s.at(p));
                QCOMPARE(ids, expected);
                QCOMPARE(s.find(expected.front()).position, std::optional(0));
            }
        }
    }
    // The kept pages against a plain list through random inserts, stores and removals: whatever the cache still
    // holds is the list's row at that position, and a row just inserted or stored is always held (showing a row
    // just posted never reads the file).
    void pagesMatchPlainList() {
        PageCache cache;
        std::vector<qint64> rows(1000);
        for (int p = 0; p < 1000; ++p)
            rows[size_t(p)] = p;
        for (int first : {0, 200, 600}) {
            PageCache::Page page{first, {}};
            for (int p = first; p < first + 200; ++p)
                page.rows.push_back({Value(qint64(p))});
            cache.keep(std::move(page));
        }
        std::mt19937 random(11);
        for (qint64 next = 5000; next < 5300; ++next) {
            const int at = int(random() % (rows.size() + 1)), op = int(random() % 3);
            if (op == 0 || at == int(rows.size())) {
                rows.insert(rows.begin() + at, next), cache.insert(at, {Value(next)});
            } else if (op == 1) {
                rows[size_t(at)] = next, cache.store(at, {Value(next)});
            } else {
                rows.erase(rows.begin() + at), cache.remove(at);
                continue;
            }
            QVERIFY(cache.find(at) && cache.find(at)->at(0).toInt() == next);
            for (int p = 0; p < int(rows.size()); ++p)
                if (const PageCache::Row* kept = cache.find(p))
                    QCOMPARE(kept->at(0).toInt(), rows[size_t(p)]);
        }
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
