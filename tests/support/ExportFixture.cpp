#include "ExportFixture.h"

#include "GridQueryRun.h"
#include "SampleStaff.h"

namespace kbtest {

ExportFixture::ExportFixture() {
    addSampleStaff(db);
    db.addSotr(QStringLiteral("Кузнецов Пётр"), kb::sql::Value(qint64(1)));
    grid.setDataSource(&source);
}

void ExportFixture::show(const kb::reports::GridRequest& request) {
    kb::reports::runGridQuery(request, query, grid, [] {});
}

} // namespace kbtest
