#pragma once

#include "DataSource.h"
#include "GridRequest.h"
#include "Query.h"
#include "ResultGrid.h"
#include "StatementFixtures.h"

namespace kbtest {

// A database, the shared query and the result grid bound to it, as the main window has them. The database holds the
// sample staff (SampleStaff.h) and "Кузнецов Пётр", a "Бухгалтер" without other details: the employee list has three
// records.
struct ExportFixture {
    ExportFixture();
    // Fills the grid as a handler of the main window does.
    void show(const kb::reports::GridRequest& request);

    StatementDb db;
    kb::dataset::Query query{db.connection()};
    kb::dataset::DataSource source{&query};
    kb::databound::ResultGrid grid;
};

} // namespace kbtest
