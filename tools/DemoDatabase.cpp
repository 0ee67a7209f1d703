#include "DemoDatabase.h"

#include "Connection.h"
#include "DatabaseCheck.h"
#include "DatabaseName.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "Dialect.h"
#include "FilePlacement.h"
#include "OrganisationDetails.h"
#include "RowInserts.h"
#include "Schema.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <optional>
#include <stdexcept>

namespace kb::tools {

namespace {

// A database just made passes the check and the caller's verify before anyone may take it for done.
void checkNewDatabase(const QString& name, const QString& shown,
                      const std::function<void(const sql::Connection&)>& verify) {
    const QStringList problems = checkDatabase(name);
    if (!problems.isEmpty())
        throw sql::DbError(QStringLiteral("Новая база данных %1 не прошла проверку: %2")
                               .arg(shown, problems.join(QStringLiteral("; "))));
    if (verify) {
        const sql::Connection connection(name, sql::Connection::Mode::ReadOnly);
        verify(connection);
    }
}

// Into an existing empty database on a server, in one transaction: a failure leaves it empty.
void createServerDatabase(const QString& name, const std::function<void(sql::Connection&)>& fill,
                          const std::function<void(const sql::Connection&)>& verify) {
    QString shown;
    {
        sql::Connection connection(name, sql::Connection::Mode::CreateNew);
        shown = connection.displayName();
        sql::Transaction transaction(connection);
        dataset::schema::createSchema(connection);
        // Made with the database, by its owner: an accountant's role then needs rights on the details' row only.
        documents::createDetailsTable(connection);
        connection.reloadColumnTypes();
        if (fill)
            fill(connection);
        transaction.commit();
    }
    checkNewDatabase(name, QLatin1Char('(') + shown + QLatin1Char(')'), verify);
}

} // namespace

void createDatabase(const QString& fileName, const std::function<void(sql::Connection&)>& fill,
                    const std::function<void(const sql::Connection&)>& verify) {
    if (sql::isServerName(fileName))
        return createServerDatabase(fileName, fill, verify);
    const QFileInfo info(fileName);
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (info.exists() || info.isSymLink())
        throw sql::DbError(QStringLiteral("Файл %1 уже существует; он не будет перезаписан").arg(shown));
    // Built under a name of its own and given the final name only when complete and checked: a run killed
    // half-way leaves no file that looks like a database.
    const QString part = temporaryBeside(fileName);
    try {
        {
            sql::Connection connection(part, sql::Connection::Mode::CreateNew);
            dialect::install(connection); // the text columns declare its collation
            sql::Transaction transaction(connection);
            dataset::schema::createSchema(connection);
            if (fill)
                fill(connection);
            transaction.commit();
        }
        checkNewDatabase(part, shown, verify);
        placeNew(part, fileName);
    } catch (const sql::DbError& e) {
        QFile::remove(part);
        if (e.isDiskFull())
            throw sql::DbError(QStringLiteral("Новая база данных %1 не создана: на диске не хватает места").arg(shown));
        throw;
    } catch (...) {
        QFile::remove(part);
        throw;
    }
}

void createEmptyDatabase(const QString& fileName) {
    createDatabase(fileName);
}

namespace {

struct DemoEmployee {
    const char* fio;
    int position; // index into kPositions
    int birthYear, birthMonth, birthDay;
    const char* address;
    const char* telefon; // as the telephone mask stores it
    const char* passport;
    const char* inn;
    std::array<double, 2> rates; // a second rate of 0 means none
};

constexpr std::array<const char*, 9> kPositions = {
    "Директор",         "Бухгалтер",     "Библиотекарь", "Методист", "Хормейстер", "Художественный руководитель",
    "Культорганизатор", "Звукорежиссёр", "Хореограф",
};

// Telephones as the telephone mask stores them; a number without an area code
// keeps the unfilled optional digits as blanks.
constexpr std::array<DemoEmployee, 12> kEmployees = {{
    {"Иванов Иван Иванович",
     0,
     1961,
     3,
     14,
     "г. Москва, ул. Ленина, д. 5, кв. 12",
     "(495)123-4567",
     "4506 318245",
     "771234567890",
     {28500, 0}},
    {"Петрова Мария Сергеевна",
     1,
     1972,
     11,
     2,
     "г. Москва, ул. Гагарина, д. 17, кв. 4",
     "(495)234-5678",
     "4502 774120",
     "772345678901",
     {21000, 0}},
    {"Сидорова Анна Павловна",
     2,
     1980,
     6,
     25,
     "г. Москва, Садовая ул., д. 3, кв. 61",
     "(499)345-6789",
     "4510 123456",
     "773456789012",
     {12345, 0}},
    {"Ёлкина Ольга Николаевна",
     2,
     1987,
     1,
     9,
     "г. Москва, ул. Мира, д. 40, кв. 8",
     "(   )456-7890",
     "4508 902311",
     "774567890123",
     {11800, 0}},
    {"Егоров Павел Андреевич",
     3,
     1975,
     9,
     30,
     "г. Москва, Лесная ул., д. 11, кв. 27",
     "(495)567-8901",
     "4501 665432",
     "775678901234",
     {15200, 0}},
    {"Жуков Сергей Викторович",
     4,
     1968,
     4,
     18,
     "г. Москва, ул. Пушкина, д. 2, кв. 15",
     "(499)678-9012",
     "4503 210987",
     "776789012345",
     {17600, 0}},
    {"Кузнецова Елена Викторовна",
     5,
     1970,
     12,
     5,
     "г. Москва, Школьная ул., д. 8, кв. 3",
     "(495)789-0123",
     "4505 456789",
     "777890123456",
     {24300, 0}},
    {"Смирнов Алексей Дмитриевич",
     6,
     1990,
     7,
     21,
     "г. Москва, ул. Чехова, д. 21, кв. 90",
     "(495)890-1234",
     "4511 345678",
     "778901234567",
     {13900, 0}},
    {"Морозова Татьяна Игоревна",
     6,
     1985,
     2,
     28,
     "г. Москва, Полевая ул., д. 6, кв. 44",
     "(499)901-2345",
     "4509 567890",
     "779012345678",
     {13900, 0}},
    {"Васильев Николай Петрович",
     7,
     1979,
     10,
     11,
     "г. Москва, ул. Строителей, д. 14, кв. 7",
     "(495)012-3456",
     "4504 678901",
     "770123456789",
     {16100, 0}},
    {"Новикова Ирина Александровна",
     8,
     1983,
     5,
     16,
     "г. Москва, Речная ул., д. 9, кв. 52",
     "(499)135-7924",
     "4507 789012",
     "771357924680",
     {15800, 0}},
    // Works one and a half rates: a full rate and a half one, two rows.
    {"Фёдоров Дмитрий Олегович",
     3,
     1977,
     8,
     3,
     "г. Москва, ул. Кирова, д. 33, кв. 19",
     "(495)246-8135",
     "4512 890123",
     "772468013579",
     {15200, 7600}},
}};

// Bonus percentages as the accountant types them, a decimal comma included.
constexpr std::array<const char*, 8> kBonuses = {"10", "15", "20", "12,5", "25", "7,5", "30", "17,5"};

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

void fillDemo(sql::Connection& connection) {
    RowInserts insert(connection);

    std::array<qint64, kPositions.size()> positionIds{};
    for (size_t i = 0; i < kPositions.size(); ++i)
        positionIds[i] = insert.dolznost(sql::Value(utf8(kPositions[i])));

    for (size_t e = 0; e < kEmployees.size(); ++e) {
        const DemoEmployee& d = kEmployees[e];
        const qint64 id =
            insert.sotr(sql::Value(utf8(d.fio)), sql::Value(sql::datetime::make(d.birthYear, d.birthMonth, d.birthDay)),
                        sql::Value(positionIds[size_t(d.position)]), sql::Value(utf8(d.address)),
                        sql::Value(utf8(d.telefon)), sql::Value(utf8(d.passport)), sql::Value(utf8(d.inn)));
        for (double sum : d.rates)
            if (sum > 0)
                insert.stavka(id, sql::Value(sum));
        const int n = int(e);
        for (int year = 2013; year <= 2014; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const int step = (year - 2013) * 12 + month;
                const char* percent = kBonuses[size_t(n * 3 + step * 5) % kBonuses.size()];
                const int bonusDay = 1 + (n * 2 + step) % 28;
                insert.premia(id, sql::Value(sql::datetime::make(year, month, bonusDay)), sql::Value(utf8(percent)));
                const int worked = 15 + (n * 5 + step * 3) % 9; // 15..23
                const int daysDay = 1 + (n + step * 3) % 28;
                insert.otrChas(id, sql::Value(worked), sql::Value(sql::datetime::make(year, month, daysDay)));
            }
        }
    }
}

} // namespace

void createDemoDatabase(const QString& fileName) {
    createDatabase(fileName, fillDemo);
}

} // namespace kb::tools
