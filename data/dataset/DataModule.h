#pragma once

#include <QObject>
#include <memory>

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::dataset {

class Table;
class Query;
class DataSource;

// The data module: owns the connection, one table object per table with its
// data source, and the two free queries. Loading opens the connection and then
// the objects in this order, each with its object name:
//
//   object name         member             what it is
//   ADOConnection       connection         the database connection
//   ADOTableSotr        staffTable         employees (Sotr)
//   DataSourceSotr      staffSource        the employee editor's source
//   ADOTableDolznost    positionTable      positions (Dolznost)
//   DataSourceDolznost  positionSource     the position editor's source
//   ADOTableStavka      salaryRateTable    monthly salary rates (Stavka)
//   DataSourceStavka    salaryRateSource   the salary rate editor's source
//   DataSourcePremia    bonusSource        the bonus editor's source
//   ADOTablePremia      bonusTable         monthly bonuses (Premia)
//   ADOQuery            sharedQuery        the query the result grid shows
//   DataSource          sharedSource       the result grid's source
//   ADOTableOtrChas     daysWorkedTable    days worked per month (OtrChas)
//   DataSourceOtrChas   daysWorkedSource   the worked-days editor's source
//   ADOQuery1           slipQuery          the pay slip's query, shown nowhere
//
// Loading fails with the database layer's error when the file or a table
// cannot be opened.
class TDataM : public QObject {
    Q_OBJECT
public:
    // The database file, relative to the working directory.
    static constexpr const char* kDatabaseFile = "BAZA.mdb";

    explicit TDataM(QObject* parent = nullptr, const QString& fileName = QString::fromLatin1(kDatabaseFile));
    ~TDataM() override;

    std::unique_ptr<sql::Connection> connection;
    Table* staffTable = nullptr;
    DataSource* staffSource = nullptr;
    Table* positionTable = nullptr;
    DataSource* positionSource = nullptr;
    Table* salaryRateTable = nullptr;
    DataSource* salaryRateSource = nullptr;
    DataSource* bonusSource = nullptr;
    Table* bonusTable = nullptr;
    Query* sharedQuery = nullptr;
    DataSource* sharedSource = nullptr;
    Table* daysWorkedTable = nullptr;
    DataSource* daysWorkedSource = nullptr;
    Query* slipQuery = nullptr;
};

} // namespace kb::dataset
