// The free query: its lines, parameters, opening, result and cursor.
#include "DateTimeText.h"
#include "Query.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using kb::FieldType;
using kb::Query;
using kb::Value;
using namespace kbtest;

namespace {

// Three positions, rowid order: Бухгалтер, Директор, Кассир; a query over them with the text given, line by line.
struct Positions {
    TempDatabase db;
    Query q{db.connection()};
    explicit Positions(const QString& text = QStringLiteral("SELECT Nazvanie FROM Dolznost")) {
        for (const char* name : {"Бухгалтер", "Директор", "Кассир"})
            db.addDolznost(QString::fromUtf8(name));
        q.setObjectName(QStringLiteral("ADOQuery"));
        for (const QString& line : text.split(QLatin1Char('\n')))
            q.sql().add(line);
    }
};

} // namespace

class TestQuery : public QObject {
    Q_OBJECT
private slots:
    void parametersFollowTheText_data() {
        columns<QString, QString>("text", "names");
        row("none", "SELECT 1", "");
        row("four dates over lines",
            "SELECT * FROM Premia WHERE Month(Data)=Month(:D1)\nAND Year(Data)=Year(:D2)\n"
            "AND Month(Data)=Month(:D3) AND Year(Data)=Year(:D4)",
            "D1 D2 D3 D4");
        row("inside a string literal is no parameter", "SELECT ':D1', FIO FROM Sotr WHERE FIO LIKE :P1", "P1");
        row("repeated once", "SELECT :P1, :P1, :p1", "P1");
        row("in a comment is no parameter", "SELECT :A -- :B\n+ 1", "A");
    }
    void parametersFollowTheText() {
        const auto [text, names] = fetch<QString, QString>("text", "names");
        Positions p(text);
        QCOMPARE(p.q.sql().count(), int(text.count(QLatin1Char('\n')) + 1));
        QCOMPARE(p.q.sql().text(), text); // the lines joined with line feeds
        QStringList found;
        for (int i = 0; i < p.q.parameters().count(); ++i)
            found << p.q.parameters().at(i).name();
        QCOMPARE(found.join(QLatin1Char(' ')), names);
        QVERIFY(p.q.parameters().findParam(QStringLiteral("P2")) == nullptr);
        QCOMPARE(errorMessage([&] { p.q.parameters().paramByName(QStringLiteral("P2")); }),
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
        QCOMPARE(active, QList<QVariantList>{{false}});
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
            QCOMPARE(errorMessage(operation), QStringLiteral("Набор данных ADOQuery закрыт: операция невозможна"));
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
        q.sql().add(QStringLiteral("SELECT Sotr.ID, Sotr.FIO, Sotr.DataR, Stavka.Sum, Sotr.IDDolznost, count(*), "
                                   "Stavka.Sum*2 FROM Sotr LEFT JOIN Stavka ON Stavka.IDSotr = Sotr.ID "
                                   "GROUP BY Sotr.ID ORDER BY Sotr.ID"));
        q.setActive(true);
        QStringList names;
        QStringList rows;
        for (int c = 0; c < q.fieldCount(); ++c)
            names << q.fieldName(c);
        for (int r = 0; r < q.recordCount(); ++r) {
            QStringList values;
            for (int c = 0; c < q.fieldCount(); ++c)
                values << describe(q.value(r, c));
            rows << values.join(QStringLiteral(", "));
        }
        QCOMPARE(names.join(QLatin1Char(' ')), QStringLiteral("ID FIO DataR Sum IDDolznost count(*) Stavka.Sum*2"));
        QCOMPARE(
            rows.join(QStringLiteral(" / ")),
            QStringLiteral("Integer 1, Text 'Иванов', DateTime 1985-05-12 00:00:00, Float 15000.5, Integer 3, "
                           "Integer 1, Float 30001 / Integer 2, Text 'Петров', NULL, NULL, NULL, Integer 1, NULL"));
        QCOMPARE(q.fieldValue(1), Value(QStringLiteral("Иванов")));
        QCOMPARE(errorMessage([&] { q.fieldValue(7); }), QStringLiteral("Поля с номером 7 нет: в запросе 7 полей"));
        QCOMPARE(errorMessage([&] { q.value(2, 0); }), QStringLiteral("Записи с номером 3 нет: в запросе 2 записей"));
        q.setActive(false);
        QVERIFY(!q.isActive());
    }

    // What opening gives: the value bound for a parameter :P1 of the type given (none left without a value), or
    // the message of a failure, after which the query stays closed, says nothing to a grid and changes nothing.
    void open_data() {
        columns<QString, FieldType, Value, QString>("sql", "type", "value", "result");
        const QString april = QStringLiteral("Text '2013-04-01 00:00:00'");
        const auto bound = [](const char* name, FieldType type, const Value& value, const QString& result) {
            row(name, QStringLiteral("SELECT :P1"), type, value, result);
        };
        bound("date-time value", FieldType::DateTime, Value(kb::datetime::make(2013, 4, 1)), april);
        bound("day number of the month picker", FieldType::DateTime, Value(41365.75), "Text '2013-04-01 18:00:00'");
        bound("date as typed", FieldType::DateTime, Value(QStringLiteral("01.04.2013")), april);
        bound("date as stored", FieldType::DateTime, Value(QStringLiteral("2013-04-01")), april);
        bound("text", FieldType::Text, Value(QStringLiteral("%Иван%")), "Text '%Иван%'");
        bound("integer", FieldType::Integer, Value(12), "Integer 12");
        bound("no value", FieldType::DateTime, Value(), "NULL");
        bound("no date", FieldType::DateTime, Value(QStringLiteral("вчера")),
              "Значение параметра 'P1' не является датой: вчера");
        const auto failure = [](const char* name, const char* sql, const char* message) {
            row(name, sql, FieldType::Unknown, Value(), message);
        };
        failure("unknown table", "SELECT Nazvanie FROM Dolznostt", "no such table: Dolznostt");
        failure("error while fetching", "SELECT abs(ID - 9223372036854775807 - 3) FROM Dolznost", "integer overflow");
        // SQLite would otherwise read "Nazvanie2" as a text literal and show it in every row.
        failure("double-quoted unknown name", "SELECT \"Nazvanie2\" FROM Dolznost", "no such column: Nazvanie2");
        failure("statement without result", "DELETE FROM Dolznost",
                "Запрос не возвращает набора данных: открыть можно только запрос SELECT");
    }
    void open() {
        const auto [sql, type, value, result] =
            fetch<QString, FieldType, Value, QString>("sql", "type", "value", "result");
        Positions p(sql);
        if (kb::Parameter* param = p.q.parameters().findParam(QStringLiteral("P1"))) {
            param->setDataType(type);
            if (!value.isNull())
                param->setValue(value);
        }
        QSignalSpy reset(&p.q, &Query::dataReset);
        const QString error = errorMessage([&] { p.q.open(); });
        QCOMPARE(error.isNull() ? describe(p.q.fieldValue(0)) : error, result);
        QCOMPARE(p.q.isActive(), error.isNull());
        QCOMPARE(reset.count(), error.isNull() ? 1 : 0);
        QCOMPARE(p.db.count(QStringLiteral("Dolznost")), 3);
    }

    void signalsForAGrid() {
        Positions p;
        QSignalSpy reset(&p.q, &Query::dataReset);
        QSignalSpy active(&p.q, &Query::activeChanged);
        QSignalSpy current(&p.q, &Query::currentRowChanged);
        QList<int> countsSeenOnReset;
        connect(&p.q, &Query::dataReset, this, [&] { countsSeenOnReset << (p.q.isActive() ? p.q.recordCount() : -1); });
        p.q.open();
        p.q.open(); // already open: nothing happens
        p.q.close();
        p.q.close(); // already closed: nothing happens
        QCOMPARE(countsSeenOnReset, QList<int>({3, -1}));
        QCOMPARE(active, (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(current, (QList<QVariantList>{{0}, {-1}}));
    }

    // Moves on three rows, or on none: f first, l last, n next, p prior, a digit moves to that row, x to one outside.
    void cursor_data() {
        columns<int, QString, int, bool, bool>("rows", "moves", "current", "bof", "eof");
        row("opened", 3, "", 0, true, false);
        row("next", 3, "n", 1, false, false);
        row("next past the last row sets eof", 3, "nnn", 2, false, true);
        row("next at eof stays", 3, "nnnn", 2, false, true);
        row("last", 3, "l", 2, false, true);
        row("prior after last", 3, "lp", 1, false, false);
        row("prior on the first row sets bof", 3, "npp", 0, true, false);
        row("prior at bof stays", 3, "pp", 0, true, false);
        row("first after last", 3, "lf", 0, true, false);
        row("move clears flags", 3, "l1", 1, false, false);
        row("move to the first row clears bof", 3, "0", 0, false, false);
        row("move outside is refused", 3, "nx", 1, false, false);
        row("empty", 0, "", -1, true, true);
        row("empty, every move", 0, "nplf", -1, true, true);
    }
    void cursor() {
        const auto [rows, moves, current, bof, eof] =
            fetch<int, QString, int, bool, bool>("rows", "moves", "current", "bof", "eof");
        Positions p(QStringLiteral("SELECT Nazvanie FROM Dolznost WHERE ID <= %1").arg(rows));
        p.q.open();
        void (kb::DataSet::*const step[])() = {&kb::DataSet::first, &kb::DataSet::last, &kb::DataSet::next,
                                               &kb::DataSet::prior};
        for (QChar m : moves) {
            if (const qsizetype i = QStringLiteral("flnp").indexOf(m); i >= 0)
                (p.q.*step[i])();
            else if (m == QLatin1Char('x'))
                QCOMPARE(errorMessage([&] { p.q.moveTo(3); }),
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
