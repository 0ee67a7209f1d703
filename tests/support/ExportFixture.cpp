#include "ExportFixture.h"

#include "GridQueryRun.h"
#include "SampleStaff.h"

namespace kbtest {

ExportFixture::ExportFixture() {
    addSampleStaff(db);
    db.addSotr(QStringLiteral("Кузнецов Пётр"), kb::Value(qint64(1)));
    grid.setDataSource(&source);
}

void ExportFixture::show(const kb::reports::GridRequest& request) {
    kb::reports::runGridQuery(request, query, grid, [] {});
}

void ExportFixture::addPaidStaff(int count) {
    for (int i = 0; i < count; ++i) {
        const qint64 id = db.addSotr(QStringLiteral("Сотрудник %1").arg(i, 2, 10, QLatin1Char('0')));
        db.addStavka(id, 1000 + i);
        db.addPremia(id, at(2013, 4, 1), QStringLiteral("10"));
        db.addOtrChas(id, 20, at(2013, 4, 30));
    }
}

} // namespace kbtest
