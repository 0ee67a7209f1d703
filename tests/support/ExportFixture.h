#pragma once

#include "DataSource.h"
#include "GridQueryRun.h"
#include "Query.h"
#include "ResultGrid.h"
#include "SampleStaff.h"
#include "StatementFixtures.h"

namespace kbtest {

// A database, the shared query and the result grid bound to it, as the main window has them. The database holds the
// sample staff (SampleStaff.h) and "Кузнецов Пётр", a "Бухгалтер" without other details: the employee list has three
// records.
struct ExportFixture {
    ExportFixture() {
        addSampleStaff(db);
        db.addSotr(QStringLiteral("Кузнецов Пётр"), qint64(1));
        grid.setDataSource(&source);
    }
    // Fills the grid as a handler of the main window does.
    void show(const kb::reports::GridRequest& request) {
        kb::reports::runGridQuery(request, query, grid, [] {});
    }

    StatementDb db;
    kb::dataset::Query query{db.connection()};
    kb::dataset::DataSource source{&query};
    kb::databound::ResultGrid grid;
};

} // namespace kbtest
