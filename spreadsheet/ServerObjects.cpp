#include "ServerObjects.h"

#include "SheetPrinter.h"
#include "XlsxFile.h"

#include <QFile>
#include <QPrinter>
#include <cmath>

namespace kb::spreadsheet {

using automation::AutomationError;
using automation::AutoValue;
using automation::CallKind;
using automation::Dispatch;
using automation::ObjectRef;
using Args = std::span<const AutoValue>;

const std::shared_ptr<Sheet>& ServerState::active() const {
    if (workbooks.empty())
        throw AutomationError(QStringLiteral("Нет открытой книги"));
    return workbooks.back();
}

void ServerState::handOffWorkbooks() noexcept {
    for (const auto& sheet : workbooks) {
        try {
            const QString path = reserveWorkbookFile(seams.folder);
            try {
                writeXlsx(*sheet, path);
            } catch (...) {
                // A workbook that could not be written whole is not left behind, nor is its reserved name.
                QFile::remove(path);
                throw;
            }
            if (!seams.openWorkbook(path))
                seams.tell(QStringLiteral("Книга записана в файл \"%1\", но открыть её нечем: "
                                          "программа для электронных таблиц не найдена.")
                               .arg(path));
        } catch (const std::exception& e) {
            seams.tell(QString::fromUtf8(e.what()));
        }
    }
}

bool isMember(const QString& member, const char* name) {
    return member.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

void require(const QString& member, CallKind kind, Args args, Access access, size_t indexCount) {
    bool fits = false;
    switch (access) {
    case Access::Get:
        fits = (kind == CallKind::Read || kind == CallKind::Method) && args.empty();
        break;
    case Access::IndexedGet:
        fits = kind == CallKind::IndexedRead && args.size() == indexCount;
        break;
    case Access::Put:
        fits = kind == CallKind::Write && args.size() == indexCount + 1;
        break;
    }
    if (!fits)
        automation::throwBadCall(member);
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

namespace {

class Workbooks : public Dispatch {
public:
    explicit Workbooks(std::shared_ptr<ServerState> state) : state_(std::move(state)) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (!isMember(member, "Add"))
            automation::throwUnknownName(member);
        require(member, kind, args, Access::Get);
        state_->workbooks.push_back(std::make_shared<Sheet>());
        return {};
    }

private:
    std::shared_ptr<ServerState> state_;
};

class Borders : public Dispatch {
public:
    Borders(std::shared_ptr<Sheet> sheet, Block block) : sheet_(std::move(sheet)), block_(block) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (isMember(member, "LineStyle")) {
            require(member, kind, args, Access::Put);
            sheet_->setLineStyle(block_, intArg(member, args[0]));
        } else if (isMember(member, "Weight")) {
            require(member, kind, args, Access::Put);
            sheet_->setLineWeight(block_, intArg(member, args[0]));
        } else {
            automation::throwUnknownName(member);
        }
        return {};
    }

private:
    std::shared_ptr<Sheet> sheet_;
    Block block_;
};

class Range : public Dispatch {
public:
    Range(std::shared_ptr<Sheet> sheet, Block block) : sheet_(std::move(sheet)), block_(block) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (isMember(member, "Select")) {
            require(member, kind, args, Access::Get);
            sheet_->select(block_);
        } else if (isMember(member, "Borders")) {
            require(member, kind, args, Access::Get);
            return ObjectRef(std::make_shared<Borders>(sheet_, block_));
        } else if (isMember(member, "HorizontalAlignment")) {
            require(member, kind, args, Access::Put);
            sheet_->setAlignment(block_, intArg(member, args[0]));
        } else {
            automation::throwUnknownName(member);
        }
        return {};
    }

private:
    std::shared_ptr<Sheet> sheet_;
    Block block_;
};

class Column : public Dispatch {
public:
    Column(std::shared_ptr<Sheet> sheet, int column) : sheet_(std::move(sheet)), column_(column) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (!isMember(member, "ColumnWidth"))
            automation::throwUnknownName(member);
        require(member, kind, args, Access::Put);
        sheet_->setColumnWidth(column_, numberArg(member, args[0]));
        return {};
    }

private:
    std::shared_ptr<Sheet> sheet_;
    int column_;
};

class PageSetup : public Dispatch {
public:
    explicit PageSetup(std::shared_ptr<Sheet> sheet) : sheet_(std::move(sheet)) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (!isMember(member, "Orientation"))
            automation::throwUnknownName(member);
        require(member, kind, args, Access::Put);
        sheet_->setOrientation(intArg(member, args[0]));
        return {};
    }

private:
    std::shared_ptr<Sheet> sheet_;
};

class Worksheet : public Dispatch {
public:
    explicit Worksheet(std::shared_ptr<Sheet> sheet) : sheet_(std::move(sheet)) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (!isMember(member, "PageSetup"))
            automation::throwUnknownName(member);
        require(member, kind, args, Access::Get);
        return ObjectRef(std::make_shared<PageSetup>(sheet_));
    }

private:
    std::shared_ptr<Sheet> sheet_;
};

// The worksheets of the active workbook: its one sheet.
class Worksheets : public Dispatch {
public:
    Worksheets(std::shared_ptr<ServerState> state, std::shared_ptr<Sheet> sheet)
        : state_(std::move(state)), sheet_(std::move(sheet)) {}
    AutoValue invoke(const QString& member, CallKind kind, Args args) override {
        if (!isMember(member, "PrintOut"))
            automation::throwUnknownName(member);
        require(member, kind, args, Access::Get);
        const std::unique_ptr<QPrinter> printer = state_->seams.defaultPrinter();
        if (!printer)
            throw AutomationError(QStringLiteral("Принтер по умолчанию не настроен: напечатать книгу нельзя"));
        printSheet(*sheet_, *printer);
        return {};
    }

private:
    std::shared_ptr<ServerState> state_;
    std::shared_ptr<Sheet> sheet_;
};

} // namespace

ObjectRef makeWorkbooks(std::shared_ptr<ServerState> state) {
    return std::make_shared<Workbooks>(std::move(state));
}

ObjectRef makeRange(std::shared_ptr<Sheet> sheet, Block block) {
    return std::make_shared<Range>(std::move(sheet), block);
}

ObjectRef makeColumn(std::shared_ptr<Sheet> sheet, int column) {
    return std::make_shared<Column>(std::move(sheet), column);
}

ObjectRef makeWorksheet(std::shared_ptr<Sheet> sheet) {
    return std::make_shared<Worksheet>(std::move(sheet));
}

ObjectRef makeWorksheets(std::shared_ptr<ServerState> state, std::shared_ptr<Sheet> sheet) {
    return std::make_shared<Worksheets>(std::move(state), std::move(sheet));
}

} // namespace kb::spreadsheet
