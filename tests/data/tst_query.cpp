// The free query: its lines, parameters, opening, result and cursor.
#include "DateTimeText.h"
#include "DbError.h"
#include "Query.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using kb::FieldType;
using kb::Query;
using kb::Value;
using kbtest::columns;
using kbtest::fetch;
using kbtest::row;
using kbtest::TempDatabase;

namespace {

void setText(Query& q, const QString& text) {
    q.sql().clear();
    for (const QString& line : text.split(QLatin1Char('\n')))
        q.sql().add(line);
}

// Three positions, rowid order: Бухгалтер, Директор, Кассир.
struct Positions {
    TempDatabase db;
    Query q{db.connection()};
    explicit Positions(const QString& sql = QStringLiteral("SELECT Nazvanie FROM Dolznost")) {
        for (const char* name : {"Бухгалтер", "Директор", "Кассир"})
            db.addDolznost(QString::fromUtf8(name));
        q.setObjectName(QStringLiteral("ADOQuery"));
        setText(q, sql);
    }
};

} // namespace

class TestQuery : public QObject {
    Q_OBJECT
private slots:
    void parametersFollowTheText_data() {
        columns<QString, QStringList>("text", "names");
        row("none", "SELECT 1", QStringList());
        row("four dates over lines",
            "SELECT * FROM Premia WHERE Month(Data)=Month(:D1)\nAND Year(Data)=Year(:D2)\n"
            "AND Month(Data)=Month(:D3) AND Year(Data)=Year(:D4)",
            QStringList{"D1", "D2", "D3", "D4"});
        row("inside a string literal is no parameter", "SELECT ':D1', FIO FROM Sotr WHERE FIO LIKE :P1",
            QStringList{"P1"});
        row("repeated once", "SELECT :P1, :P1, :p1", QStringList{"P1"});
        row("in a comment is no parameter", "SELECT :A -- :B\n+ 1", QStringList{"A"});
    }
    void parametersFollowTheText() {
        const auto [text, names] = fetch<QString, QStringList>("text", "names");
        Positions p(text);
        QCOMPARE(p.q.sql().count(), int(text.count(QLatin1Char('\n')) + 1));
        QCOMPARE(p.q.sql().text(), text); // the lines joined with line feeds
        QStringList found;
        for (int i = 0; i < p.q.parameters().count(); ++i)
            found << p.q.parameters().at(i).name();
        QCOMPARE(found, names);
        QVERIFY(p.q.parameters().findParam(QStringLiteral("P2")) == nullptr);
        QCOMPARE(kbtest::errorMessage([&] { p.q.parameters().paramByName(QStringLiteral("P2")); }),
                 QStringLiteral("Параметр 'P2' не найден"));
    }

    // Changing the text closes the query and leaves its parameters without type or value.
    void changingTheText() {
        Positions p(QStringLiteral("SELECT :P1"));
        kb::Parameter& param = p.q.parameters().paramByName(QStringLiteral("p1"));
        param.setDataType(FieldType::DateTime);
        param.setValue(Value(kb::datetime::make(2013, 4, 1)));
        p.q.open();
        QSignalSpy active(&p.q, &Query::activeChanged);
        p.q.sql().add(QStringLiteral("+ 0"));
        QVERIFY(!p.q.isActive());
        QCOMPARE(active.count(), 1);
        QCOMPARE(p.q.parameters().at(0).dataType(), FieldType::Unknown);
        QVERIFY(p.q.parameters().at(0).value().isNull());
        p.q.sql().clear();
        QCOMPARE(p.q.sql().text(), QString());
    }

    void closedQueryRefuses() {
        Positions p;
        p.q.open();
        p.q.close();
        const std::function<void()> operations[] = {
            [&] { p.q.recordCount(); }, [&] { p.q.fieldCount(); },  [&] { p.q.fieldName(0); },
            [&] { p.q.value(0, 0); },   [&] { p.q.fieldValue(0); }, [&] { p.q.currentValue(0); },
            [&] { p.q.first(); },       [&] { p.q.next(); },        [&] { p.q.last(); },
            [&] { p.q.prior(); },       [&] { p.q.moveTo(0); }};
        for (const auto& operation : operations)
            QCOMPARE(kbtest::errorMessage(operation),
                     QStringLiteral("Набор данных ADOQuery закрыт: операция невозможна"));
        QVERIFY(p.q.isEmpty());
        QCOMPARE(p.q.currentRow(), -1);
    }

    // Typed values, nulls of an outer join, and the names the engine gives the columns.
    void result() {
        TempDatabase db;
        const qint64 id = db.addSotr(QStringLiteral("Иванов"), Value(3), Value(kb::datetime::make(1985, 5, 12)));
        db.addStavka(id, 15000.5);
        db.addSotr(QStringLiteral("Петров"));
        Query q(db.connection());
        setText(q, QStringLiteral("SELECT Sotr.ID, Sotr.FIO, Sotr.DataR, Stavka.Sum, Sotr.IDDolznost, count(*), "
                                  "Stavka.Sum*2\nFROM Sotr LEFT JOIN Stavka ON Stavka.IDSotr = Sotr.ID\n"
                                  "GROUP BY Sotr.ID ORDER BY Sotr.ID"));
        q.setActive(true);
        QCOMPARE(q.recordCount(), 2);
        const QList<Value> first = {Value(id),
                                    Value(QStringLiteral("Иванов")),
                                    Value(kb::datetime::make(1985, 5, 12)),
                                    Value(15000.5),
                                    Value(3),
                                    Value(1),
                                    Value(30001.0)};
        const QList<Value> second = {
            Value(id + 1), Value(QStringLiteral("Петров")), Value(), Value(), Value(), Value(1), Value()};
        QCOMPARE(q.fieldCount(), int(first.size()));
        for (int c = 0; c < q.fieldCount(); ++c) {
            QCOMPARE(q.fieldValue(c), first[c]);
            QCOMPARE(q.value(1, c), second[c]);
        }
        QCOMPARE(q.fieldName(1), QStringLiteral("FIO"));
        QCOMPARE(q.fieldName(5), QStringLiteral("count(*)"));
        QCOMPARE(q.fieldName(6), QStringLiteral("Stavka.Sum*2"));
        QCOMPARE(kbtest::errorMessage([&] { q.fieldValue(7); }),
                 QStringLiteral("Поля с номером 7 нет: в запросе 7 полей"));
        QCOMPARE(kbtest::errorMessage([&] { q.value(2, 0); }),
                 QStringLiteral("Записи с номером 3 нет: в запросе 2 записей"));
        q.setActive(false);
        QVERIFY(!q.isActive());
    }

    // The value bound for a parameter of the type given; a parameter left without a value binds null.
    void bindings_data() {
        columns<FieldType, Value, Value, QString>("type", "value", "bound", "error");
        const Value april(QStringLiteral("2013-04-01 00:00:00"));
        row("date-time value", FieldType::DateTime, Value(kb::datetime::make(2013, 4, 1)), april, "");
        row("day number of the month picker", FieldType::DateTime, Value(41365.75),
            Value(QStringLiteral("2013-04-01 18:00:00")), "");
        row("date as typed", FieldType::DateTime, Value(QStringLiteral("01.04.2013")), april, "");
        row("date as stored", FieldType::DateTime, Value(QStringLiteral("2013-04-01")), april, "");
        row("text", FieldType::Text, Value(QStringLiteral("%Иван%")), Value(QStringLiteral("%Иван%")), "");
        row("integer", FieldType::Integer, Value(12), Value(12), "");
        row("no value", FieldType::DateTime, Value(), Value(), "");
        row("no date", FieldType::DateTime, Value(QStringLiteral("вчера")), Value(),
            "Значение параметра 'P1' не является датой: вчера");
    }
    void bindings() {
        const auto [type, value, bound, error] =
            fetch<FieldType, Value, Value, QString>("type", "value", "bound", "error");
        Positions p(QStringLiteral("SELECT :P1"));
        kb::Parameter& param = p.q.parameters().paramByName(QStringLiteral("P1"));
        param.setDataType(type);
        if (!value.isNull())
            param.setValue(value);
        QCOMPARE(kbtest::errorMessage([&] { p.q.open(); }), error);
        QCOMPARE(p.q.isActive(), error.isEmpty());
        if (p.q.isActive())
            QCOMPARE(p.q.fieldValue(0), bound);
    }

    // A query that fails to open stays closed, says nothing to a grid and changes nothing.
    void openFailures_data() {
        columns<QString, QString>("sql", "message");
        row("unknown table", "SELECT Nazvanie FROM Dolznostt", "no such table: Dolznostt");
        row("error while fetching", "SELECT abs(ID - 9223372036854775807 - 3) FROM Dolznost", "integer overflow");
        // SQLite would otherwise read "Nazvanie2" as a text literal and show it in every row.
        row("double-quoted unknown name", "SELECT \"Nazvanie2\" FROM Dolznost", "no such column: Nazvanie2");
        row("statement without result", "DELETE FROM Dolznost",
            "Запрос не возвращает набора данных: открыть можно только запрос SELECT");
    }
    void openFailures() {
        const auto [sql, message] = fetch<QString, QString>("sql", "message");
        Positions p(sql);
        QSignalSpy reset(&p.q, &Query::dataReset);
        QSignalSpy active(&p.q, &Query::activeChanged);
        QCOMPARE(kbtest::errorMessage([&] { p.q.open(); }), message);
        QVERIFY(!p.q.isActive());
        QCOMPARE(reset.count() + active.count(), 0);
        QCOMPARE(p.db.count(QStringLiteral("Dolznost")), 3);
    }

    void signalsForAGrid() {
        Positions p;
        QSignalSpy reset(&p.q, &Query::dataReset);
        QSignalSpy active(&p.q, &Query::activeChanged);
        QSignalSpy current(&p.q, &Query::currentRowChanged);
        int countSeenOnReset = -2;
        connect(&p.q, &Query::dataReset, this, [&] { countSeenOnReset = p.q.isActive() ? p.q.recordCount() : -1; });
        p.q.open();
        p.q.open(); // already open: nothing happens
        QCOMPARE(countSeenOnReset, 3);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(active, QList<QVariantList>{{true}});
        QCOMPARE(current, QList<QVariantList>{{0}});
        p.q.close();
        p.q.close(); // already closed: nothing happens
        QCOMPARE(countSeenOnReset, -1);
        QCOMPARE(reset.count(), 2);
        QCOMPARE(active, (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(current, (QList<QVariantList>{{0}, {-1}}));
    }

    // Moves on three rows, or on none: f first, l last, n next, p prior, a digit moves to that row, x to one outside.
    void cursor_data() {
        columns<int, QString, int, bool, bool>("rows", "moves", "current", "bof", "eof");
        row("opened", 3, "", 0, true, false);
        row("next", 3, "n", 1, false, false);
        row("next to the last row", 3, "nn", 2, false, false);
        row("next past the last row sets eof", 3, "nnn", 2, false, true);
        row("next at eof stays", 3, "nnnn", 2, false, true);
        row("last", 3, "l", 2, false, true);
        row("prior after last", 3, "lp", 1, false, false);
        row("prior on the first row sets bof", 3, "npp", 0, true, false);
        row("prior at bof stays", 3, "pp", 0, true, false);
        row("first after last", 3, "lf", 0, true, false);
        row("move clears flags", 3, "l1", 1, false, false);
        row("move to the first row clears bof", 3, "0", 0, false, false);
        row("prior after a move to row 0", 3, "0p", 0, true, false);
        row("move outside is refused", 3, "nx", 1, false, false);
        row("empty", 0, "", -1, true, true);
        row("empty, every move", 0, "nplf", -1, true, true);
    }
    void cursor() {
        const auto [rows, moves, current, bof, eof] =
            fetch<int, QString, int, bool, bool>("rows", "moves", "current", "bof", "eof");
        Positions p(QStringLiteral("SELECT Nazvanie FROM Dolznost WHERE ID <= %1").arg(rows));
        p.q.open();
        for (QChar m : moves) {
            if (m == QLatin1Char('f'))
                p.q.first();
            else if (m == QLatin1Char('l'))
                p.q.last();
            else if (m == QLatin1Char('n'))
                p.q.next();
            else if (m == QLatin1Char('p'))
                p.q.prior();
            else if (m == QLatin1Char('x'))
                QCOMPARE(kbtest::errorMessage([&] { p.q.moveTo(3); }),
                         QStringLiteral("Записи с номером 4 нет: в наборе данных 3 записей"));
            else
                p.q.moveTo(m.digitValue());
        }
        QCOMPARE(p.q.currentRow(), current);
        QCOMPARE(p.q.bof(), bof);
        QCOMPARE(p.q.eof(), eof);
        QCOMPARE(p.q.isEmpty(), rows == 0);
        QCOMPARE(p.q.currentValue(0), current < 0 ? Value() : p.q.value(current, 0));
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
