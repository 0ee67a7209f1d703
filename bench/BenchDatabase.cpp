#include "BenchDatabase.h"

#include "Connection.h"
#include "DateTimeText.h"
#include "DemoDatabase.h"
#include "Dialect.h"
#include "RowInserts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <stdexcept>
#include <vector>

namespace kb::bench {

namespace {

// Bump when the generated content changes, so that cached files are remade.
constexpr int kGeneratorVersion = 2;

constexpr std::array<const char*, 24> kSurnames = {"Иванов",   "Смирнов",  "Кузнецов", "Попов",   "Васильев", "Петров",
                                                   "Соколов",  "Михайлов", "Новиков",  "Фёдоров", "Морозов",  "Волков",
                                                   "Алексеев", "Лебедев",  "Семёнов",  "Егоров",  "Павлов",   "Козлов",
                                                   "Степанов", "Николаев", "Орлов",    "Андреев", "Макаров",  "Ёлкин"};
constexpr std::array<const char*, 12> kFirstNames = {"Александр", "Дмитрий", "Максим", "Сергей", "Андрей", "Алексей",
                                                     "Артём",     "Илья",    "Кирилл", "Михаил", "Никита", "Иван"};
constexpr std::array<const char*, 8> kPatronymics = {"Александрович", "Дмитриевич", "Сергеевич", "Андреевич",
                                                     "Алексеевич",    "Иванович",   "Петрович",  "Олегович"};
constexpr std::array<const char*, 6> kPositions = {"Директор", "Бухгалтер",  "Библиотекарь",
                                                   "Методист", "Хормейстер", "Культорганизатор"};
constexpr std::array<const char*, 6> kBonuses = {"10", "15", "12,5", "20", "7,5", "25"};

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

void fill(sql::Connection& connection, int employees) {
    tools::RowInserts insert(connection);

    std::vector<qint64> positionIds;
    for (const char* name : kPositions)
        positionIds.push_back(insert.dolznost(sql::Value(utf8(name))));

    // Stored date texts of every month, made once: the rows only pick them.
    std::vector<sql::Value> monthDates;
    for (int year = kFirstYear; year <= kLastYear; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day : {3, 17})
                monthDates.emplace_back(sql::datetime::toIso(sql::datetime::make(year, month, day)));
    std::vector<sql::Value> bonusTexts;
    for (const char* text : kBonuses)
        bonusTexts.emplace_back(utf8(text));
    const sql::Value address(QStringLiteral("г. Москва, ул. Ленина, д. 1"));

    for (int e = 0; e < employees; ++e) {
        const QString fio = utf8(kSurnames[size_t(e) % kSurnames.size()]) + QLatin1Char(' ') +
                            utf8(kFirstNames[size_t(e / 24) % kFirstNames.size()]) + QLatin1Char(' ') +
                            utf8(kPatronymics[size_t(e / 288) % kPatronymics.size()]);
        const qint64 id = insert.sotr(
            sql::Value(fio), sql::Value(sql::datetime::make(1950 + e % 50, 1 + e % 12, 1 + e % 28)),
            sql::Value(positionIds[size_t(e) % positionIds.size()]), address,
            sql::Value(QStringLiteral("(495)%1-%2").arg(100 + e % 900).arg(e % 10000, 4, 10, QLatin1Char('0'))),
            sql::Value(QStringLiteral("45%1 %2").arg(e % 100, 2, 10, QLatin1Char('0')).arg(e, 6, 10, QLatin1Char('0'))),
            sql::Value(QStringLiteral("77%1").arg(e, 10, 10, QLatin1Char('0'))));
        insert.stavka(id, sql::Value(10000.0 + (e % 40) * 250.5));
        const int months = int(monthDates.size() / 2);
        for (int m = 0; m < months; ++m) {
            insert.premia(id, monthDates[size_t(2 * m)], bonusTexts[size_t(e + m) % bonusTexts.size()]);
            insert.otrChas(id, sql::Value(15 + (e + 3 * m) % 9), monthDates[size_t(2 * m + 1)]);
        }
    }
}

} // namespace

QString benchDatabase(const QString& folder, int employees) {
    QDir().mkpath(folder);
    const QString file =
        QDir(folder).filePath(QStringLiteral("bench-v%1-%2.mdb").arg(kGeneratorVersion).arg(employees));
    if (QFileInfo::exists(file))
        return file;
    // Made under another name and renamed when complete, so that an
    // interrupted run never leaves a half-filled file to be reused.
    const QString partial = file + QStringLiteral(".partial");
    QFile::remove(partial);
    tools::createDatabase(partial, [employees](sql::Connection& connection) { fill(connection, employees); });
    if (!QFile::rename(partial, file))
        throw std::runtime_error(QStringLiteral("Не удалось переименовать %1").arg(partial).toStdString());
    return file;
}

std::unique_ptr<sql::Connection> openBenchDatabase(const QString& name) {
    auto connection = std::make_unique<sql::Connection>(name);
    dialect::install(*connection);
    return connection;
}

} // namespace kb::bench
