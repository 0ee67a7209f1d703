#pragma once

#include <QObject>
#include <memory>

namespace kb {
class Connection;
class Table;
class Query;
class DataSource;
} // namespace kb

// The data module: owns the connection, one table object per table with its
// data source, and the two free queries with theirs. Created, configured and
// opened in this order: ADOConnection, ADOTableSotr, DataSourceSotr,
// ADOTableDolznost, DataSourceDolznost, ADOTableStavka, DataSourceStavka,
// DataSourcePremia, ADOTablePremia, ADOQuery, DataSource, ADOTableOtrChas,
// DataSourceOtrChas, ADOQuery1, DataSource1. Loading fails with the database
// layer's error when the file or a table cannot be opened.
class TDataM : public QObject {
    Q_OBJECT
public:
    // The database file, relative to the working directory.
    static constexpr const char* kDatabaseFile = "BAZA.mdb";

    explicit TDataM(QObject* parent = nullptr, const QString& fileName = QString::fromLatin1(kDatabaseFile));
    ~TDataM() override;

    std::unique_ptr<kb::Connection> ADOConnection;
    kb::Table* ADOTableSotr = nullptr;
    kb::DataSource* DataSourceSotr = nullptr;
    kb::Table* ADOTableDolznost = nullptr;
    kb::DataSource* DataSourceDolznost = nullptr;
    kb::Table* ADOTableStavka = nullptr;
    kb::DataSource* DataSourceStavka = nullptr;
    kb::DataSource* DataSourcePremia = nullptr;
    kb::Table* ADOTablePremia = nullptr;
    kb::Query* ADOQuery = nullptr;
    kb::DataSource* DataSource = nullptr;
    kb::Table* ADOTableOtrChas = nullptr;
    kb::DataSource* DataSourceOtrChas = nullptr;
    kb::Query* ADOQuery1 = nullptr;
    kb::DataSource* DataSource1 = nullptr;
};

// The one instance while the program runs (set by its constructor, cleared by its destructor).
extern TDataM* DataM;
