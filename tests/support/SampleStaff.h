#pragma once

namespace kbtest {

class TempDatabase;

// Fills a database with the staff the grid and main window tests work on: 1 "Иванов Иван Иванович", "Бухгалтер", born
// 17.05.1970, with address, telephone, passport and INN; salary 10000; April 2013: bonus 25 % on the 10th, 10 days on
// the 30th; May 2013: bonus 50 % and 20 days on the 1st; 2 "Петрова Анна Сергеевна", "Директор"; salary 12345; April
// 2013: bonus 10 % and 3 days on the 1st; 3 "Сидоров Без Должности", without position or any other row.
void addSampleStaff(TempDatabase& db);

} // namespace kbtest
