#pragma once

#include "TestSupport.h"

namespace kbtest {

// The staff the grid and main window tests work on: 1 "Иванов Иван Иванович", "Бухгалтер", born 17.05.1970, with
// address, telephone, passport and INN; salary 10000; April 2013: bonus 25 % on the 10th, 10 days on the 30th; May
// 2013: bonus 50 % and 20 days on the 1st; 2 "Петрова Анна Сергеевна", "Директор"; salary 12345; April 2013: bonus
// 10 % and 3 days on the 1st; 3 "Сидоров Без Должности", without position or any other row.
inline void addSampleStaff(TempDatabase& db) {
    const qint64 ivanov = db.addSotr(QStringLiteral("Иванов Иван Иванович"),
                                     db.addDolznost(QStringLiteral("Бухгалтер")), at(1970, 5, 17));
    db.exec(QStringLiteral("UPDATE Sotr SET Adres = 'ул. Ленина, 1', Telefon = '22-33-44', Passport = '4501 123456', "
                           "INN = '770101010101' WHERE ID = ?1"),
            {ivanov});
    const qint64 petrova =
        db.addSotr(QStringLiteral("Петрова Анна Сергеевна"), db.addDolznost(QStringLiteral("Директор")));
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
