#include "DocumentCommands.h"

#include "Connection.h"
#include "DbError.h"
#include "DbTool.h"
#include "Dialect.h"
#include "DocumentOutput.h"
#include "FilePlacement.h"
#include "PaySlipsDocument.h"
#include "PayrollChart.h"
#include "StatementDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <memory>
#include <unistd.h>

namespace kb::tools {

namespace {

const QString kStatement = QStringLiteral("statement");
const QString kPaySlips = QStringLiteral("payslips");
const QString kChart = QStringLiteral("payroll-chart");

// "2013-04" as the month picker would hold it: the first day at noon.
QDateTime parseMonth(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(text);
    const QDate date = match.hasMatch() ? QDate(match.captured(1).toInt(), match.captured(2).toInt(), 1) : QDate();
    if (!date.isValid())
        throw UsageError(
            QStringLiteral("Месяц \"%1\" ожидается в виде ГГГГ-ММ, например 2013-04").arg(text).toStdString());
    return QDateTime(date, QTime(12, 0), Qt::UTC);
}

int parseYear(const QString& text) {
    bool ok = false;
    const int year = text.toInt(&ok);
    if (!ok || text.size() != 4 || year < 1)
        throw UsageError(QStringLiteral("Год \"%1\" ожидается в виде ГГГГ, например 2013").arg(text).toStdString());
    return year;
}

// Writes into a new hidden file beside target, then gives it target's name; never replaces a file.
template <typename Write> void writeNew(const QString& target, Write write) {
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink())
        throw sql::DbError(QStringLiteral("Файл %1 уже существует; он не будет перезаписан")
                               .arg(QDir::toNativeSeparators(info.absoluteFilePath())));
    const QString temporary = temporaryBeside(target);
    QFile file(temporary);
    const auto removeTemporary = [&] { QFile::remove(temporary); };
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw sql::DbError(QStringLiteral("Не удаётся создать файл рядом с %1: %2").arg(target, file.errorString()));
    try {
        write(file);
        if (!file.flush() || ::fsync(file.handle()) != 0)
            throw sql::DbError(QStringLiteral("Не удаётся записать %1: %2").arg(target, reason(errno)));
        file.close();
        placeNew(temporary, target);
    } catch (...) {
        file.close();
        removeTemporary();
        throw;
    }
}

} // namespace

bool isDocumentCommand(const QString& command) {
    return command == kStatement || command == kPaySlips || command == kChart;
}

int runDocumentCommand(const QString& command, const QStringList& names, std::ostream& out) {
    const QString& target = names.at(2);
    const bool png = command == kChart && target.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    if (!png && !target.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        throw UsageError(command == kChart ? "Имя выходного файла должно оканчиваться на .pdf или .png"
                                           : "Имя выходного файла должно оканчиваться на .pdf");
    // Both checked before the database is opened, so a wrong line costs nothing.
    const QDateTime month = command == kChart ? QDateTime() : parseMonth(names.at(1));
    const int year = command == kChart ? parseYear(names.at(1)) : 0;

    sql::Connection connection(names.at(0), sql::Connection::Mode::ReadOnly);
    dialect::install(connection);
    std::unique_ptr<documents::Document> document;
    if (command == kStatement)
        document =
            std::make_unique<documents::StatementDocument>(documents::StatementDocument::load(connection, month));
    else if (command == kPaySlips)
        document = std::make_unique<documents::PaySlipsDocument>(documents::PaySlipsDocument::load(connection, month));
    else
        document = std::make_unique<documents::PayrollChart>(documents::PayrollChart::load(connection, year));

    writeNew(target, [&](QFile& file) {
        if (!png) {
            documents::writePdf(*document, file);
        } else if (!static_cast<const documents::PayrollChart&>(*document).image(QSize(1400, 800)).save(&file, "PNG")) {
            throw sql::DbError(QStringLiteral("Не удаётся записать рисунок в %1").arg(target));
        }
    });
    out << QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()).toStdString() << '\n';
    return kExitOk;
}

} // namespace kb::tools
