#include "RowInserts.h"

#include "SqlName.h"

#include <QStringList>

namespace kb::tools {

namespace {

// Inserts into table the fields given, each bound by a "?", and gives back the new row's ID.
sql::Statement prepared(sql::Connection& connection, const char* table, std::initializer_list<const char*> fields) {
    QStringList names, marks;
    for (const char* field : fields) {
        names << sql::quoteName(QString::fromLatin1(field));
        marks << QStringLiteral("?");
    }
    return connection.prepareNative(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING \"ID\"")
                                        .arg(sql::quoteName(QString::fromLatin1(table)),
                                             names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
}

} // namespace

RowInserts::RowInserts(sql::Connection& connection)
    : dolznost_(prepared(connection, "Dolznost", {"Nazvanie"})),
      sotr_(prepared(connection, "Sotr", {"FIO", "DataR", "IDDolznost", "Adres", "Telefon", "Passport", "INN"})),
      stavka_(prepared(connection, "Stavka", {"IDSotr", "Sum"})),
      premia_(prepared(connection, "Premia", {"IDSotr", "Data", "Premia"})),
      otrChas_(prepared(connection, "OtrChas", {"IDSotr", "Count", "Data"})) {}

qint64 RowInserts::dolznost(const sql::Value& nazvanie) {
    return run(dolznost_, {nazvanie});
}

qint64 RowInserts::sotr(const sql::Value& fio, const sql::Value& dataR, const sql::Value& idDolznost,
                        const sql::Value& adres, const sql::Value& telefon, const sql::Value& passport,
                        const sql::Value& inn) {
    return run(sotr_, {fio, dataR, idDolznost, adres, telefon, passport, inn});
}

void RowInserts::stavka(qint64 idSotr, const sql::Value& sum) {
    run(stavka_, {sql::Value(idSotr), sum});
}

void RowInserts::premia(qint64 idSotr, const sql::Value& data, const sql::Value& premia) {
    run(premia_, {sql::Value(idSotr), data, premia});
}

void RowInserts::otrChas(qint64 idSotr, const sql::Value& count, const sql::Value& data) {
    run(otrChas_, {sql::Value(idSotr), count, data});
}

qint64 RowInserts::run(sql::Statement& insert, std::initializer_list<sql::Value> values) {
    int index = 1;
    for (const sql::Value& value : values)
        insert.bind(index++, value);
    // The new row's ID comes back from the INSERT itself, on either engine.
    const qint64 id = insert.step() ? insert.column(0).toInt() : 0;
    insert.reset();
    return id;
}

} // namespace kb::tools
