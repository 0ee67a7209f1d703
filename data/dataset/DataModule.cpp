#include "DataModule.h"

#include "Connection.h"
#include "DataSource.h"
#include "Dialect.h"
#include "Query.h"
#include "Schema.h"
#include "Table.h"

#include <QFileInfo>

namespace kb::dataset {

namespace {

template <typename T, typename... Args> T* named(const char* name, Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace

TDataM::TDataM(QObject* parent, const QString& fileName) : QObject(parent) {
    setObjectName(QStringLiteral("DataM"));
    try {
        connection = std::make_unique<sql::Connection>(fileName);
        sql::Connection& c = *connection;
        // A damaged page would otherwise show only when its rows are read, perhaps while saving. The check reads
        // the whole file (some 5 ms a megabyte): a file far larger than a department's would delay the start
        // visibly, and there a damaged page is reported when it is read.
        constexpr qint64 kCheckedAtOpeningBytes = qint64(16) << 20;
        if (c.isServer() || QFileInfo(c.fileName()).size() <= kCheckedAtOpeningBytes)
            c.checkIntegrity(true);
        dialect::install(c);
        schema::requireKeys(c); // records are found by ID: it must be each table's key
        schema::addMissingIndexes(c);
        auto openTable = [&](const char* name, const char* table) {
            auto* t = named<Table>(name, c, schema::table(QString::fromLatin1(table)), this);
            t->open();
            return t;
        };
        staffTable = openTable("ADOTableSotr", "Sotr");
        staffSource = named<DataSource>("DataSourceSotr", staffTable, this);
        positionTable = openTable("ADOTableDolznost", "Dolznost");
        positionSource = named<DataSource>("DataSourceDolznost", positionTable, this);
        salaryRateTable = openTable("ADOTableStavka", "Stavka");
        salaryRateSource = named<DataSource>("DataSourceStavka", salaryRateTable, this);
        // This data source comes before its table; it is linked once the table exists.
        bonusSource = named<DataSource>("DataSourcePremia", nullptr, this);
        bonusTable = named<Table>("ADOTablePremia", c, schema::table(QStringLiteral("Premia")), this);
        bonusSource->setDataSet(bonusTable);
        bonusTable->open();
        sharedQuery = named<Query>("ADOQuery", c, this);
        sharedSource = named<DataSource>("DataSource", sharedQuery, this);
        daysWorkedTable = openTable("ADOTableOtrChas", "OtrChas");
        daysWorkedSource = named<DataSource>("DataSourceOtrChas", daysWorkedTable, this);
        slipQuery = named<Query>("ADOQuery1", c, this);
    } catch (...) {
        // The destructor does not run for a constructor that throws: the
        // objects that use the connection go first, then the connection.
        const QObjectList objects = children();
        qDeleteAll(objects);
        connection.reset();
        throw;
    }
}

TDataM::~TDataM() {
    const QObjectList objects = children();
    qDeleteAll(objects);
    connection.reset();
}

} // namespace kb::dataset
