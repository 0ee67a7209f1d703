#pragma once

#include "Connection.h"

#include <initializer_list>

namespace kb::tools {

// The INSERT statements of the five tables, prepared once for filling a new
// database with many rows. Each call binds the values in the order of the
// parameters, runs the statement and resets it for the next row.
class RowInserts {
public:
    explicit RowInserts(Connection& connection);

    // These return the new row's ID.
    qint64 dolznost(const Value& nazvanie);
    qint64 sotr(const Value& fio, const Value& dataR, const Value& idDolznost, const Value& adres, const Value& telefon,
                const Value& passport, const Value& inn);

    void stavka(qint64 idSotr, const Value& sum);
    void premia(qint64 idSotr, const Value& data, const Value& premia);
    void otrChas(qint64 idSotr, const Value& count, const Value& data);

private:
    qint64 run(Statement& insert, std::initializer_list<Value> values);

    Connection& connection_;
    Statement dolznost_;
    Statement sotr_;
    Statement stavka_;
    Statement premia_;
    Statement otrChas_;
};

} // namespace kb::tools
