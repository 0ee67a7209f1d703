#include "SpreadsheetServer.h"

#include "ServerObjects.h"
#include "SheetPrinter.h"

#include <QPrinter>

namespace kb::spreadsheet {

using automation::AutomationError;
using automation::AutoValue;
using automation::ObjectRef;

namespace {

// One value written to more cells than this is refused rather than filling the memory.
constexpr qint64 kMaxCellsWritten = 1 << 20;

// The member tables of the objects the application hands out, each object
// standing for the target it was obtained with.

ObjectRef object(std::span<const Member> members, Target target) {
    return std::make_shared<ServerObject>(members, std::move(target));
}

const Member kWorkbooks[] = {
    {"Add", Access::Method, 0,
     [](const Target& t, const QString&, Args) {
         t.state->workbooks.push_back(std::make_shared<Sheet>());
         return AutoValue();
     }},
};

const Member kBorders[] = {
    {"LineStyle", Access::Write, 0,
     [](const Target& t, const QString& member, Args args) {
         t.sheet->setLineStyle(t.block, intArg(member, args[0]));
         return AutoValue();
     }},
    {"Weight", Access::Write, 0,
     [](const Target& t, const QString& member, Args args) {
         t.sheet->setLineWeight(t.block, intArg(member, args[0]));
         return AutoValue();
     }},
};

const Member kRange[] = {
    {"Select", Access::Method, 0,
     [](const Target& t, const QString&, Args) {
         t.sheet->select(t.block);
         return AutoValue();
     }},
    {"Borders", Access::Read, 0, [](const Target& t, const QString&, Args) { return AutoValue(object(kBorders, t)); }},
    {"HorizontalAlignment", Access::Write, 0,
     [](const Target& t, const QString& member, Args args) {
         t.sheet->setAlignment(t.block, intArg(member, args[0]));
         return AutoValue();
     }},
};

// A column of the sheet: its block is the whole column.
const Member kColumn[] = {
    {"ColumnWidth", Access::Write, 0,
     [](const Target& t, const QString& member, Args args) {
         t.sheet->setColumnWidth(t.block.first.column, numberArg(member, args[0]));
         return AutoValue();
     }},
};

const Member kPageSetup[] = {
    {"Orientation", Access::Write, 0,
     [](const Target& t, const QString& member, Args args) {
         t.sheet->setOrientation(intArg(member, args[0]));
         return AutoValue();
     }},
};

const Member kWorksheet[] = {
    {"PageSetup", Access::Read, 0,
     [](const Target& t, const QString&, Args) { return AutoValue(object(kPageSetup, t)); }},
};

// The worksheets of the active workbook: its one sheet.
const Member kWorksheets[] = {
    {"PrintOut", Access::Method, 0,
     [](const Target& t, const QString&, Args) {
         const std::unique_ptr<QPrinter> printer = t.state->desktop->defaultPrinter();
         if (!printer)
             throw AutomationError(QStringLiteral("Принтер по умолчанию не настроен: напечатать книгу нельзя"));
         printSheet(*t.sheet, *printer);
         return AutoValue();
     }},
};

// The application's own members; its objects are obtained on the active workbook's sheet.

Target onActive(const Target& t, Block block = {}) {
    return {t.state, t.state->active(), block};
}

AutoValue writeRange(const Target& t, const QString& member, Args args) {
    const Block block = parseBlock(textArg(member, args[0]));
    const AutoValue& value = args[1];
    if (value.type() == AutoValue::Type::Object || value.type() == AutoValue::Type::Empty)
        throw AutomationError(QStringLiteral("Несоответствие типа: ячейка не принимает %1").arg(value.describe()));
    if (qint64(block.last.row - block.first.row + 1) * (block.last.column - block.first.column + 1) > kMaxCellsWritten)
        throw AutomationError(QStringLiteral("Блок \"%1\" слишком велик для записи").arg(args[0].text()));
    Sheet& sheet = *t.state->active();
    for (int r = block.first.row; r <= block.last.row; ++r)
        for (int c = block.first.column; c <= block.last.column; ++c)
            sheet.setValue({r, c}, value);
    return {};
}

AutoValue column(const Target& t, const QString& member, Args args) {
    const int n = intArg(member, args[0]);
    if (n < 1 || n > kMaxColumns)
        throw AutomationError(QStringLiteral("Нет столбца с номером %1").arg(n));
    return object(kColumn, onActive(t, Block{{0, n - 1}, {kMaxRows - 1, n - 1}}));
}

// Quitting asks about unsaved workbooks unless alerts are off; the answer
// taken for the user is to keep them, handed over as files.
AutoValue quit(const Target& t, const QString&, Args) {
    if (t.state->displayAlerts)
        t.state->handOffWorkbooks();
    t.state->workbooks.clear();
    t.state->quit = true;
    return {};
}

template <bool ServerState::*flag> AutoValue readFlag(const Target& t, const QString&, Args) {
    return t.state.get()->*flag;
}

template <bool ServerState::*flag> AutoValue writeFlag(const Target& t, const QString& member, Args args) {
    t.state.get()->*flag = boolArg(member, args[0]);
    return {};
}

const Member kApplication[] = {
    {"Range", Access::IndexedRead, 1,
     [](const Target& t, const QString& member, Args args) {
         const Block block = parseBlock(textArg(member, args[0]));
         return AutoValue(object(kRange, onActive(t, block)));
     }},
    {"Range", Access::Write, 1, writeRange},
    {"Workbooks", Access::Read, 0,
     [](const Target& t, const QString&, Args) { return AutoValue(object(kWorkbooks, t)); }},
    {"Visible", Access::Read, 0, readFlag<&ServerState::visible>},
    {"Visible", Access::Write, 0, writeFlag<&ServerState::visible>},
    {"DisplayAlerts", Access::Read, 0, readFlag<&ServerState::displayAlerts>},
    {"DisplayAlerts", Access::Write, 0, writeFlag<&ServerState::displayAlerts>},
    {"Selection", Access::Read, 0,
     [](const Target& t, const QString&, Args) {
         return AutoValue(object(kRange, onActive(t, t.state->active()->selection())));
     }},
    {"Columns", Access::IndexedRead, 1, column},
    {"ActiveSheet", Access::Read, 0,
     [](const Target& t, const QString&, Args) { return AutoValue(object(kWorksheet, onActive(t))); }},
    {"Worksheets", Access::Read, 0,
     [](const Target& t, const QString&, Args) { return AutoValue(object(kWorksheets, onActive(t))); }},
    {"Quit", Access::Method, 0, quit},
};

// The application object. Released while visible and not quit, it hands its
// workbooks to the user as files, as a spreadsheet program left open would
// keep them.
class Application : public ServerObject {
public:
    explicit Application(std::shared_ptr<DesktopSeams> desktop)
        : ServerObject(kApplication, {std::make_shared<ServerState>(), nullptr, {}}) {
        target().state->desktop = std::move(desktop);
    }
    ~Application() override {
        if (target().state->visible && !target().state->quit)
            target().state->handOffWorkbooks();
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
};

} // namespace

ObjectRef createApplication(std::shared_ptr<DesktopSeams> desktop) {
    return std::make_shared<Application>(std::move(desktop));
}

void registerSpreadsheetServer(automation::ClassRegistry& registry, std::shared_ptr<DesktopSeams> desktop) {
    registry.registerClass(QStringLiteral("Excel.Application"), [desktop] { return createApplication(desktop); });
}

} // namespace kb::spreadsheet
