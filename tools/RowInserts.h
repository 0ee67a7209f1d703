#pragma once

#include "Connection.h"

#include <initializer_list>

namespace kb::tools {

// The INSERT statements of the five tables, prepared once for filling a new
// database with many rows. Each call binds the values in the order of the
// parameters, runs the statement and resets it for the next row.
class RowInserts {
public:
    explicit RowInserts(sql::Connection& connection);

    // These return the new row's ID.
    qint64 dolznost(const sql::Value& nazvanie);
    qint64 sotr(const sql::Value& fio, const sql::Value& dataR, const sql::Value& idDolznost, const sql::Value& adres,
                const sql::Value& telefon, const sql::Value& passport, const sql::Value& inn);

    void stavka(qint64 idSotr, const sql::Value& sum);
    void premia(qint64 idSotr, const sql::Value& data, const sql::Value& premia);
    void otrChas(qint64 idSotr, const sql::Value& count, const sql::Value& data);

private:
    qint64 run(sql::Statement& insert, std::initializer_list<sql::Value> values);

    sql::Statement dolznost_;
    sql::Statement sotr_;
    sql::Statement stavka_;
    sql::Statement premia_;
    sql::Statement otrChas_;
};

} // namespace kb::tools
