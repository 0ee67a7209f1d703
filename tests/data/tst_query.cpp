// The free query: its lines, parameters, opening, result and cursor.
#include "DateTimeText.h"
#include "DbError.h"
#include "Query.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using kb::DbError;
using kb::FieldType;
using kb::Query;
using kb::Value;
using kbtest::TempDatabase;

namespace {

void setText(Query& q, const QStringList& lines) {
    q.sql().clear();
    for (const QString& line : lines)
        q.sql().add(line);
}

QStringList parameterNames(Query& q) {
    QStringList names;
    for (int i = 0; i < q.parameters().count(); ++i)
        names.append(q.parameters().at(i).name());
    return names;
}

// Three positions, rowid order: Бухгалтер, Директор, Кассир.
void addPositions(TempDatabase& db) {
    db.addDolznost(QStringLiteral("Бухгалтер"));
    db.addDolznost(QStringLiteral("Директор"));
    db.addDolznost(QStringLiteral("Кассир"));
}

} // namespace

class TestQuery : public QObject {
    Q_OBJECT
private slots:
    void linesAreJoinedWithLineFeeds();
    void parametersFollowTheText_data();
    void parametersFollowTheText();
    void changingTheTextDropsParameterValues();
    void changingTheTextClosesTheQuery();
    void missingParameter();
    void closedQueryRefuses_data();
    void closedQueryRefuses();
    void result();
    void fieldNamesAsTheEngineGivesThem();
    void emptyResult();
    void bindings_data();
    void bindings();
    void badDateParameter();
    void failedOpenLeavesQueryClosed();
    void statementWithoutResultIsNotRun();
    void doubleQuotedUnknownNameIsAnError();
    void signalsForAGrid();
    void cursor_data();
    void cursor();
    void moveToOutsideTheResult();
};

void TestQuery::linesAreJoinedWithLineFeeds() {
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT Nazvanie"));
    q.sql().add(QStringLiteral("FROM Dolznost"));
    QCOMPARE(q.sql().count(), 2);
    QCOMPARE(q.sql().text(), QStringLiteral("SELECT Nazvanie\nFROM Dolznost"));
    q.sql().clear();
    QCOMPARE(q.sql().count(), 0);
    QCOMPARE(q.sql().text(), QString());
}

void TestQuery::parametersFollowTheText_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("none") << QStringList{"SELECT 1"} << QStringList{};
    QTest::newRow("four dates over lines")
        << QStringList{"SELECT * FROM Premia WHERE Month(Data)=Month(:D1)", "AND Year(Data)=Year(:D2)",
                       "AND Month(Data)=Month(:D3) AND Year(Data)=Year(:D4)"}
        << QStringList{"D1", "D2", "D3", "D4"};
    QTest::newRow("inside a string literal is no parameter")
        << QStringList{"SELECT ':D1', FIO FROM Sotr WHERE FIO LIKE :P1"} << QStringList{"P1"};
    QTest::newRow("repeated once") << QStringList{"SELECT :P1, :P1, :p1"} << QStringList{"P1"};
    QTest::newRow("in a comment is no parameter") << QStringList{"SELECT :A -- :B", "+ 1"} << QStringList{"A"};
}

void TestQuery::parametersFollowTheText() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, names);
    TempDatabase db;
    Query q(db.connection());
    setText(q, lines);
    QCOMPARE(parameterNames(q), names);
}

void TestQuery::changingTheTextDropsParameterValues() {
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT :P1"));
    kb::Parameter& p = q.parameters().paramByName(QStringLiteral("p1"));
    p.setDataType(FieldType::DateTime);
    p.setValue(Value(kb::datetime::make(2013, 4, 1)));
    q.sql().add(QStringLiteral("+ 0"));
    QCOMPARE(q.parameters().count(), 1);
    QCOMPARE(q.parameters().at(0).dataType(), FieldType::Unknown);
    QVERIFY(q.parameters().at(0).value().isNull());
}

void TestQuery::changingTheTextClosesTheQuery() {
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT 1"));
    q.open();
    QSignalSpy active(&q, &Query::activeChanged);
    q.sql().add(QStringLiteral("+ 1"));
    QVERIFY(!q.isActive());
    QCOMPARE(active.count(), 1);
    q.open();
    QCOMPARE(q.value(0, 0), Value(2));
}

void TestQuery::missingParameter() {
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT :D1"));
    QVERIFY(q.parameters().findParam(QStringLiteral("P1")) == nullptr);
    QCOMPARE(kbtest::errorMessage([&] { q.parameters().paramByName(QStringLiteral("P1")); }),
             QStringLiteral("Параметр 'P1' не найден"));
}

void TestQuery::closedQueryRefuses_data() {
    QTest::addColumn<int>("operation");
    const char* names[] = {"record count", "field count", "field name", "value", "field value", "current value",
                           "first",        "next",        "last",       "prior", "move"};
    for (int i = 0; i < int(std::size(names)); ++i)
        QTest::newRow(names[i]) << i;
}

void TestQuery::closedQueryRefuses() {
    QFETCH(int, operation);
    TempDatabase db;
    Query q(db.connection());
    q.setObjectName(QStringLiteral("ADOQuery"));
    q.sql().add(QStringLiteral("SELECT 1"));
    q.open();
    q.close();
    const std::function<void()> operations[] = {
        [&] { q.recordCount(); }, [&] { q.fieldCount(); },    [&] { q.fieldName(0); }, [&] { q.value(0, 0); },
        [&] { q.fieldValue(0); }, [&] { q.currentValue(0); }, [&] { q.first(); },      [&] { q.next(); },
        [&] { q.last(); },        [&] { q.prior(); },         [&] { q.moveTo(0); },
    };
    QCOMPARE(kbtest::errorMessage(operations[operation]),
             QStringLiteral("Набор данных ADOQuery закрыт: операция невозможна"));
    QVERIFY(q.isEmpty());
    QCOMPARE(q.currentRow(), -1);
}

void TestQuery::result() {
    TempDatabase db;
    const qint64 id =
        db.addSotr(QStringLiteral("Иванов Иван Иванович"), Value(3), Value(kb::datetime::make(1985, 5, 12)));
    db.addStavka(id, 15000.5);
    db.addSotr(QStringLiteral("Петров Пётр Петрович"));
    Query q(db.connection());
    setText(q, {"SELECT Sotr.ID, Sotr.FIO, Sotr.DataR, Stavka.Sum, Sotr.IDDolznost", "FROM Sotr LEFT JOIN Stavka",
                "ON Stavka.IDSotr = Sotr.ID ORDER BY Sotr.ID"});
    q.setActive(true);
    QVERIFY(q.isActive());
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.fieldCount(), 5);
    QCOMPARE(q.currentRow(), 0);
    QCOMPARE(q.fieldValue(0), Value(id));
    QCOMPARE(q.fieldValue(1), Value(QStringLiteral("Иванов Иван Иванович")));
    QCOMPARE(q.fieldValue(2), Value(kb::datetime::make(1985, 5, 12)));
    QCOMPARE(q.fieldValue(3), Value(15000.5));
    QCOMPARE(q.fieldValue(4), Value(3));
    q.next();
    QCOMPARE(q.fieldValue(1), Value(QStringLiteral("Петров Пётр Петрович")));
    QVERIFY(q.fieldValue(2).isNull());
    QVERIFY(q.fieldValue(3).isNull());
    QVERIFY_THROWS_EXCEPTION(DbError, q.fieldValue(5));
    QVERIFY_THROWS_EXCEPTION(DbError, q.value(2, 0));
    q.setActive(false);
    QVERIFY(!q.isActive());
}

void TestQuery::fieldNamesAsTheEngineGivesThem() {
    TempDatabase db;
    Query q(db.connection());
    setText(q, {"SELECT Sotr.FIO, Dolznost.Nazvanie, count(*), Stavka.Sum*2", "FROM Sotr, Dolznost, Stavka"});
    q.open();
    QCOMPARE(q.fieldName(0), QStringLiteral("FIO"));
    QCOMPARE(q.fieldName(1), QStringLiteral("Nazvanie"));
    QCOMPARE(q.fieldName(2), QStringLiteral("count(*)"));
    QCOMPARE(q.fieldName(3), QStringLiteral("Stavka.Sum*2"));
    QVERIFY_THROWS_EXCEPTION(DbError, q.fieldName(4));
}

void TestQuery::emptyResult() {
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT FIO FROM Sotr"));
    q.open();
    QCOMPARE(q.recordCount(), 0);
    QVERIFY(q.isEmpty());
    QVERIFY(q.bof());
    QVERIFY(q.eof());
    QCOMPARE(q.currentRow(), -1);
    QVERIFY(q.fieldValue(0).isNull());
    QCOMPARE(q.fieldName(0), QStringLiteral("FIO"));
}

void TestQuery::bindings_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<Value>("value");
    QTest::addColumn<bool>("setValue");
    QTest::addColumn<Value>("bound");
    const Value april(QStringLiteral("2013-04-01 00:00:00"));
    QTest::newRow("date-time value") << FieldType::DateTime << Value(kb::datetime::make(2013, 4, 1)) << true << april;
    QTest::newRow("local date-time keeps its clock")
        << FieldType::DateTime << Value(QDateTime(QDate(2013, 4, 1), QTime(0, 0), Qt::LocalTime)) << true << april;
    QTest::newRow("day number of the month picker") << FieldType::DateTime << Value(41365.0) << true << april;
    QTest::newRow("day number with time of day")
        << FieldType::DateTime << Value(41365.75) << true << Value(QStringLiteral("2013-04-01 18:00:00"));
    QTest::newRow("date as text") << FieldType::DateTime << Value(QStringLiteral("01.04.2013")) << true << april;
    QTest::newRow("text") << FieldType::Text << Value(QStringLiteral("%Иван%")) << true
                          << Value(QStringLiteral("%Иван%"));
    QTest::newRow("text without a type") << FieldType::Unknown << Value(QStringLiteral("П")) << true
                                         << Value(QStringLiteral("П"));
    QTest::newRow("no value binds null") << FieldType::DateTime << Value() << false << Value();
    QTest::newRow("integer") << FieldType::Integer << Value(12) << true << Value(12);
}

void TestQuery::bindings() {
    QFETCH(FieldType, type);
    QFETCH(Value, value);
    QFETCH(bool, setValue);
    QFETCH(Value, bound);
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT :P1"));
    kb::Parameter& p = q.parameters().paramByName(QStringLiteral("P1"));
    p.setDataType(type);
    if (setValue)
        p.setValue(value);
    q.open();
    QCOMPARE(q.fieldValue(0), bound);
}

void TestQuery::badDateParameter() {
    TempDatabase db;
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT :D1"));
    kb::Parameter& p = q.parameters().paramByName(QStringLiteral("D1"));
    p.setDataType(FieldType::DateTime);
    p.setValue(Value(QStringLiteral("вчера")));
    const QString message = kbtest::errorMessage([&] { q.open(); });
    QVERIFY2(message.contains(QStringLiteral("D1")) && message.contains(QStringLiteral("вчера")), qPrintable(message));
    QVERIFY(!q.isActive());
}

void TestQuery::failedOpenLeavesQueryClosed() {
    TempDatabase db;
    addPositions(db);
    Query q(db.connection());
    QSignalSpy reset(&q, &Query::dataReset);
    QSignalSpy active(&q, &Query::activeChanged);
    q.sql().add(QStringLiteral("SELECT Nazvanie FROM Dolznostt"));
    QCOMPARE(kbtest::errorMessage([&] { q.open(); }), QStringLiteral("no such table: Dolznostt"));
    QVERIFY(!q.isActive());
    QCOMPARE(reset.count(), 0);
    QCOMPARE(active.count(), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, q.recordCount());

    // An error while fetching rows fails the same way.
    setText(q, {"SELECT abs(ID - 9223372036854775807 - 3) FROM Dolznost"});
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    QVERIFY(!q.isActive());

    setText(q, {"SELECT Nazvanie FROM Dolznost"});
    q.open();
    QCOMPARE(q.recordCount(), 3);
    QCOMPARE(active.count(), 1);
}

void TestQuery::doubleQuotedUnknownNameIsAnError() {
    // SQLite would otherwise read "Nazvanie2" as a text literal and show it in every row.
    TempDatabase db;
    addPositions(db);
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT \"Nazvanie2\" FROM Dolznost"));
    QCOMPARE(kbtest::errorMessage([&] { q.open(); }), QStringLiteral("no such column: Nazvanie2"));
    QVERIFY(!q.isActive());
}

void TestQuery::statementWithoutResultIsNotRun() {
    TempDatabase db;
    addPositions(db);
    Query q(db.connection());
    q.sql().add(QStringLiteral("DELETE FROM Dolznost"));
    const QString message = kbtest::errorMessage([&] { q.open(); });
    QVERIFY2(message.contains(QStringLiteral("не возвращает набора данных")), qPrintable(message));
    QVERIFY(!q.isActive());
    QCOMPARE(db.count(QStringLiteral("Dolznost")), 3);
}

void TestQuery::signalsForAGrid() {
    TempDatabase db;
    addPositions(db);
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT Nazvanie FROM Dolznost"));
    QSignalSpy reset(&q, &Query::dataReset);
    QSignalSpy active(&q, &Query::activeChanged);
    QSignalSpy row(&q, &Query::currentRowChanged);
    int countSeenOnReset = -2;
    connect(&q, &Query::dataReset, this, [&] { countSeenOnReset = q.isActive() ? q.recordCount() : -1; });
    q.open();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(countSeenOnReset, 3);
    QCOMPARE(active.count(), 1);
    QCOMPARE(active.at(0).at(0).toBool(), true);
    QCOMPARE(row.count(), 1);
    QCOMPARE(row.at(0).at(0).toInt(), 0);
    q.open(); // already open: nothing happens
    QCOMPARE(reset.count(), 1);
    q.close();
    QCOMPARE(reset.count(), 2);
    QCOMPARE(countSeenOnReset, -1);
    QCOMPARE(active.count(), 2);
    QCOMPARE(active.at(1).at(0).toBool(), false);
    QCOMPARE(row.last().at(0).toInt(), -1);
    q.close();
    QCOMPARE(active.count(), 2);
}

// Moves on three rows: f first, l last, n next, p prior, 0-2 move to that row.
void TestQuery::cursor_data() {
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("bof");
    QTest::addColumn<bool>("eof");
    QTest::newRow("opened") << "" << 0 << true << false;
    QTest::newRow("next") << "n" << 1 << false << false;
    QTest::newRow("next to the last row") << "nn" << 2 << false << false;
    QTest::newRow("next past the last row sets eof") << "nnn" << 2 << false << true;
    QTest::newRow("next at eof stays") << "nnnn" << 2 << false << true;
    QTest::newRow("last") << "l" << 2 << false << true;
    QTest::newRow("prior after last") << "lp" << 1 << false << false;
    QTest::newRow("prior on the first row sets bof") << "np p" << 0 << true << false;
    QTest::newRow("prior at bof stays") << "pp" << 0 << true << false;
    QTest::newRow("first after last") << "lf" << 0 << true << false;
    QTest::newRow("move clears flags") << "l1" << 1 << false << false;
    QTest::newRow("move to the first row clears bof") << "0" << 0 << false << false;
    QTest::newRow("prior after a move to row 0") << "0p" << 0 << true << false;
}

void TestQuery::cursor() {
    QFETCH(QString, moves);
    QFETCH(int, row);
    QFETCH(bool, bof);
    QFETCH(bool, eof);
    TempDatabase db;
    addPositions(db);
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT Nazvanie FROM Dolznost"));
    q.open();
    for (QChar m : moves) {
        switch (m.toLatin1()) {
        case 'f':
            q.first();
            break;
        case 'l':
            q.last();
            break;
        case 'n':
            q.next();
            break;
        case 'p':
            q.prior();
            break;
        case ' ':
            break;
        default:
            q.moveTo(m.digitValue());
        }
    }
    QCOMPARE(q.currentRow(), row);
    QCOMPARE(q.bof(), bof);
    QCOMPARE(q.eof(), eof);
    QCOMPARE(q.currentValue(0), q.value(row, 0));
}

void TestQuery::moveToOutsideTheResult() {
    TempDatabase db;
    addPositions(db);
    Query q(db.connection());
    q.sql().add(QStringLiteral("SELECT Nazvanie FROM Dolznost"));
    q.open();
    q.next();
    QVERIFY_THROWS_EXCEPTION(DbError, q.moveTo(3));
    QVERIFY_THROWS_EXCEPTION(DbError, q.moveTo(-1));
    QCOMPARE(q.currentRow(), 1);
}

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
