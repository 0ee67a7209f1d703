// The free query: its lines, parameters, opening, result and cursor.
#include "DateTimeText.h"
#include "Query.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;
using kb::dataset::Query;
using kb::sql::FieldType;
using kb::sql::Value;
using namespace kbtest;

namespace {

// Three positions, ID order: Бухгалтер, Директор, Кассир; a query over them with the text given, line by line.
struct Positions {
    TempDatabase db;
    Query q{db.connection()};
    explicit Positions(const QString& text = u"SELECT Nazvanie FROM Dolznost"_s, Engine engine = Engine::File)
        : db(engine) {
        for (const char* name : {"Бухгалтер", "Директор", "Кассир"})
            db.addDolznost(QString::fromUtf8(name));
        q.setObjectName(u"ADOQuery"_s);
        for (const QString& line : text.split(u'\n'))
            q.sql().add(line);
    }
};

} // namespace

class TestQuery : public QObject {
    Q_OBJECT
private slots:
    // The parameters named in the text, each once, in order; none in a literal or a comment.
    void parametersFollowTheText_data() {
        columns<QString, QString>("text", "names");
        row("four dates over lines",
            "SELECT * FROM Premia WHERE Month(Data)=Month(:D1)\nAND Year(Data)=Year(:D2)\n"
            "AND Month(Data)=Month(:D3) AND Year(Data)=Year(:D4)",
            "D1 D2 D3 D4");
        row("inside a string literal is no parameter", "SELECT ':D1', FIO FROM Sotr WHERE FIO LIKE :P1", "P1");
        row("repeated once", "SELECT :P1, :P1, :p1", "P1");
        row("in a comment is no parameter, to the line's end", "SELECT :A -- :B\n+ :C", "A C");
    }
    void parametersFollowTheText() {
        const auto [text, names] = fetch<QString, QString>("text", "names");
        Positions p(text);
        QStringList found;
        for (int i = 0; i < p.q.parameters().count(); ++i)
            found << p.q.parameters().at(i).name();
        QCOMPARE(found.join(u' '), names);
        QCOMPARE(errorMessage([&] { p.q.parameters().paramByName(u"P2"_s); }), u"Параметр 'P2' не найден"_s);
    }

    // Opening: the value bound to :P1 of the given type, or the failure, which leaves the query closed, tells a grid
    // nothing and changes nothing.
    void open_data() {
        columns<Engine, QString, FieldType, Value, QString>("engine", "sql", "type", "value", "result");
        const QString april = u"Text '2013-04-01 00:00:00'"_s;
        const auto bound = [](const char* name, FieldType type, const Value& value, const QString& result) {
            bothRow(name, u"SELECT :P1"_s, type, value, result);
        };
        bound("date-time value", FieldType::DateTime, Value(kb::sql::datetime::make(2013, 4, 1)), april);
        bound("day number of the month picker", FieldType::DateTime, Value(41365.75), "Text '2013-04-01 18:00:00'");
        bound("date as typed", FieldType::DateTime, Value(u"01.04.2013"_s), april);
        bound("text", FieldType::Text, Value(u"%Иван%"_s), "Text '%Иван%'");
        bound("no value", FieldType::DateTime, Value(), "NULL");
        bound("no date", FieldType::DateTime, Value(u"вчера"_s), "Значение параметра 'P1' не является датой: вчера");
        const auto failure = [](const char* name, const char* sql, const char* message) {
            fileRow(name, QString::fromUtf8(sql), FieldType::Unknown, Value(), QString::fromUtf8(message));
        };
        failure("error while fetching", "SELECT abs(ID - 9223372036854775807 - 3) FROM Dolznost", "integer overflow");
        // SQLite would otherwise read "Nazvanie2" as a text literal and show it in every row.
        failure("double-quoted unknown name", "SELECT \"Nazvanie2\" FROM Dolznost", "no such column: Nazvanie2");
        bothRow("statement without result", u"DELETE FROM Dolznost"_s, FieldType::Unknown, Value(),
                u"Запрос не возвращает набора данных: открыть можно только запрос SELECT"_s);
    }
    void open() {
        const auto [engine, sql, type, value, result] =
            fetch<Engine, QString, FieldType, Value, QString>("engine", "sql", "type", "value", "result");
        Positions p(sql, engine);
        if (kb::dataset::Parameter* param = p.q.parameters().findParam(u"P1"_s)) {
            param->setDataType(type);
            if (!value.isNull())
                param->setValue(value);
        }
        QSignalSpy reset(&p.q, &Query::dataReset);
        const QString error = errorMessage([&] { p.q.open(); });
        QCOMPARE(error.isNull() ? describe(p.q.fieldValue(0)) : error, result);
        QCOMPARE(p.q.isActive(), error.isNull());
        QCOMPARE(reset.count(), error.isNull() ? 1 : 0);
        QCOMPARE(p.db.count(u"Dolznost"_s), 3);
    }

    // What a grid is told (opening or closing twice tells nothing more); the current row's values and column names.
    // Changing the text closes the query and clears its parameters' types and values; closed, it gives nothing.
    void cursor_data() {
        columns<Engine>("engine");
        for (Engine e : kEngines)
            newEngineRow(e, "positions");
    }
    void cursor() {
        Positions p(u"SELECT ID, Nazvanie, ID*2 FROM Dolznost WHERE ID > :P1"_s, std::get<0>(fetch<Engine>("engine")));
        kb::dataset::Parameter& param = p.q.parameters().paramByName(u"p1"_s);
        param.setDataType(FieldType::Integer);
        param.setValue(Value(0));
        QSignalSpy active(&p.q, &Query::activeChanged);
        QSignalSpy current(&p.q, &Query::currentRowChanged);
        QList<int> countsSeenOnReset;
        connect(&p.q, &Query::dataReset, this, [&] { countsSeenOnReset << (p.q.isActive() ? p.q.recordCount() : -1); });
        p.q.setActive(true);
        p.q.open();
        p.q.next();
        QCOMPARE(p.q.fieldName(0) + p.q.fieldName(1) + p.q.fieldName(2), u"IDNazvanieID*2"_s);
        QCOMPARE(p.q.fieldValue(1), Value(u"Директор"_s));
        QCOMPARE(p.q.fieldValue(2), Value(4));
        QCOMPARE(errorMessage([&] { p.q.fieldValue(3); }), u"Поля с номером 3 нет: в запросе 3 полей"_s);
        p.q.sql().add(u"+ 0"_s);
        p.q.setActive(false);
        QCOMPARE(p.q.parameters().at(0).dataType(), FieldType::Unknown);
        QVERIFY(p.q.parameters().at(0).value().isNull());
        QCOMPARE(countsSeenOnReset, QList<int>({3, -1}));
        QCOMPARE(active, (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(current, (QList<QVariantList>{{0}, {1}, {-1}}));
        QCOMPARE(errorMessage([&] { p.q.fieldValue(0); }), u"Набор данных ADOQuery закрыт: операция невозможна"_s);
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
