#include "RowInserts.h"

namespace kb::tools {

RowInserts::RowInserts(sql::Connection& connection)
    : dolznost_(connection.prepareNative(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES (?1) RETURNING ID"))),
      sotr_(
          connection.prepareNative(QStringLiteral("INSERT INTO Sotr (FIO, DataR, IDDolznost, Adres, Telefon, "
                                                  "Passport, INN) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) RETURNING ID"))),
      stavka_(connection.prepareNative(QStringLiteral("INSERT INTO Stavka (IDSotr, Sum) VALUES (?1, ?2)"))),
      premia_(
          connection.prepareNative(QStringLiteral("INSERT INTO Premia (IDSotr, Data, Premia) VALUES (?1, ?2, ?3)"))),
      otrChas_(
          connection.prepareNative(QStringLiteral("INSERT INTO OtrChas (IDSotr, Count, Data) VALUES (?1, ?2, ?3)"))) {}

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
