#include "SampleStaff.h"

#include "TestSupport.h"

namespace kbtest {

void addSampleStaff(TempDatabase& db) {
    using kb::sql::Value;
    const qint64 clerk = db.addDolznost(QStringLiteral("Бухгалтер"));
    const qint64 head = db.addDolznost(QStringLiteral("Директор"));
    const qint64 ivanov = db.addSotr(QStringLiteral("Иванов Иван Иванович"), Value(clerk), Value(at(1970, 5, 17)));
    db.exec(QStringLiteral("UPDATE Sotr SET Adres = 'ул. Ленина, 1', Telefon = '22-33-44', Passport = '4501 123456', "
                           "INN = '770101010101' WHERE ID = ?1"),
            {Value(ivanov)});
    const qint64 petrova = db.addSotr(QStringLiteral("Петрова Анна Сергеевна"), Value(head));
    db.addSotr(QStringLiteral("Сидоров Без Должности"));
    db.addStavka(ivanov, 10000);
    db.addPremia(ivanov, at(2013, 4, 10), QStringLiteral("25"));
    db.addOtrChas(ivanov, 10, at(2013, 4, 30));
    db.addStavka(petrova, 12345);
    db.addPremia(petrova, at(2013, 4, 1), QStringLiteral("10"));
    db.addOtrChas(petrova, 3, at(2013, 4, 1));
    db.addPremia(ivanov, at(2013, 5, 1), QStringLiteral("50"));
    db.addOtrChas(ivanov, 20, at(2013, 5, 1));
}

} // namespace kbtest
