#include "ServerObjects.h"

#include "WorkbookFolder.h"
#include "XlsxFile.h"

#include <QFile>
#include <cmath>
#include <new>

namespace kb::spreadsheet {

using automation::AutomationError;
using automation::AutoValue;
using automation::CallKind;

const std::shared_ptr<Sheet>& ServerState::active() const {
    if (workbooks.empty())
        throw AutomationError(QStringLiteral("Нет открытой книги"));
    return workbooks.back();
}

void ServerState::handOffWorkbooks() noexcept {
    if (workbooks.empty())
        return;
    try {
        const QString folder = desktop->workbookFolder();
        for (const auto& sheet : workbooks) {
            try {
                const QString path = reserveWorkbookFile(folder);
                try {
                    writeXlsx(*sheet, path);
                } catch (...) {
                    // A workbook that could not be written whole is not left behind, nor is its reserved name.
                    QFile::remove(path);
                    throw;
                }
                if (!desktop->openWorkbook(path))
                    desktop->tell(QStringLiteral("Книга записана в файл \"%1\", но открыть её нечем: "
                                                 "программа для электронных таблиц не найдена.")
                                      .arg(path));
            } catch (const std::exception& e) {
                desktop->tell(QString::fromUtf8(e.what()));
            }
        }
    } catch (const std::exception& e) {
        desktop->tell(QString::fromUtf8(e.what()));
    }
}

namespace {

bool takes(const Member& row, CallKind kind, size_t argCount) {
    switch (row.access) {
    case Access::Read:
    case Access::Method:
        return (kind == CallKind::Read || kind == CallKind::Method) && argCount == 0;
    case Access::IndexedRead:
        return kind == CallKind::IndexedRead && argCount == row.indexCount;
    case Access::Write:
        return kind == CallKind::Write && argCount == row.indexCount + 1;
    }
    return false;
}

} // namespace

AutoValue ServerObject::invoke(const QString& member, CallKind kind, Args args) {
    bool known = false;
    for (const Member& row : members_) {
        if (member.compare(QLatin1String(row.name), Qt::CaseInsensitive) != 0)
            continue;
        known = true;
        if (!takes(row, kind, args.size()))
            continue;
        try {
            return row.handler(target_, member, args);
        } catch (const AutomationError&) {
            throw;
        } catch (const std::bad_alloc&) {
            throw AutomationError(QStringLiteral("Недостаточно памяти"));
        } catch (const std::exception& e) {
            throw AutomationError(QString::fromUtf8(e.what()));
        }
    }
    if (known)
        automation::throwBadCall(member);
    automation::throwUnknownName(member);
}

namespace {

[[noreturn]] void typeMismatch(const QString& member, const AutoValue& value) {
    throw AutomationError(
        QStringLiteral("Несоответствие типа: член \"%1\" не принимает %2").arg(member, value.describe()));
}

} // namespace

QString textArg(const QString& member, const AutoValue& value) {
    if (value.type() != AutoValue::Type::Text)
        typeMismatch(member, value);
    return value.text();
}

double numberArg(const QString& member, const AutoValue& value) {
    if (value.type() == AutoValue::Type::Int32)
        return value.int32();
    if (value.type() == AutoValue::Type::Double)
        return value.number();
    typeMismatch(member, value);
}

int intArg(const QString& member, const AutoValue& value) {
    const double n = numberArg(member, value);
    if (n != std::floor(n) || std::abs(n) > 2147483647.0)
        typeMismatch(member, value);
    return int(n);
}

bool boolArg(const QString& member, const AutoValue& value) {
    if (value.type() == AutoValue::Type::Bool)
        return value.boolean();
    return intArg(member, value) != 0;
}

} // namespace kb::spreadsheet
