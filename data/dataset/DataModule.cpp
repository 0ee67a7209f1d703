#include "DataModule.h"

#include "Connection.h"
#include "DataSource.h"
#include "Dialect.h"
#include "Query.h"
#include "Schema.h"
#include "Table.h"

#include <QFileInfo>

TDataM* DataM = nullptr;

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
        ADOConnection = std::make_unique<kb::Connection>(fileName);
        kb::Connection& c = *ADOConnection;
        // A damaged page would otherwise show only when its rows are read, perhaps while saving. The check reads
        // the whole file (some 5 ms a megabyte): a file far larger than a department's would delay the start
        // visibly, and there a damaged page is reported when it is read.
        constexpr qint64 kCheckedAtOpeningBytes = qint64(16) << 20;
        if (QFileInfo(c.fileName()).size() <= kCheckedAtOpeningBytes)
            c.checkIntegrity(true);
        kb::dialect::install(c);
        kb::schema::requireKeys(c); // records are found by ID: it must be each table's key
        auto openTable = [&](const char* name, const char* table) {
            auto* t = named<kb::Table>(name, c, kb::schema::table(QString::fromLatin1(table)), this);
            t->open();
            return t;
        };
        ADOTableSotr = openTable("ADOTableSotr", "Sotr");
        DataSourceSotr = named<kb::DataSource>("DataSourceSotr", ADOTableSotr, this);
        ADOTableDolznost = openTable("ADOTableDolznost", "Dolznost");
        DataSourceDolznost = named<kb::DataSource>("DataSourceDolznost", ADOTableDolznost, this);
        ADOTableStavka = openTable("ADOTableStavka", "Stavka");
        DataSourceStavka = named<kb::DataSource>("DataSourceStavka", ADOTableStavka, this);
        // This data source comes before its table; it is linked once the table exists.
        DataSourcePremia = named<kb::DataSource>("DataSourcePremia", nullptr, this);
        ADOTablePremia = named<kb::Table>("ADOTablePremia", c, kb::schema::table(QStringLiteral("Premia")), this);
        DataSourcePremia->setDataSet(ADOTablePremia);
        ADOTablePremia->open();
        ADOQuery = named<kb::Query>("ADOQuery", c, this);
        DataSource = named<kb::DataSource>("DataSource", ADOQuery, this);
        ADOTableOtrChas = openTable("ADOTableOtrChas", "OtrChas");
        DataSourceOtrChas = named<kb::DataSource>("DataSourceOtrChas", ADOTableOtrChas, this);
        ADOQuery1 = named<kb::Query>("ADOQuery1", c, this);
        DataSource1 = named<kb::DataSource>("DataSource1", ADOQuery1, this);
    } catch (...) {
        // The destructor does not run for a constructor that throws: the
        // objects that use the connection go first, then the connection.
        const QObjectList objects = children();
        qDeleteAll(objects);
        ADOConnection.reset();
        throw;
    }
    DataM = this;
}

TDataM::~TDataM() {
    if (DataM == this)
        DataM = nullptr;
    const QObjectList objects = children();
    qDeleteAll(objects);
    ADOConnection.reset();
}
