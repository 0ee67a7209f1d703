#include "SpreadsheetServer.h"

#include "ErrorReporting.h"
#include "ModalDialogs.h"
#include "ServerObjects.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kb::spreadsheet {

using automation::AutomationError;
using automation::AutoValue;
using automation::CallKind;
using automation::ObjectRef;

namespace {

// One value written to more cells than this is refused rather than filling the memory.
constexpr qint64 kMaxCellsWritten = 1 << 20;

// The application object. Released while visible and not quit, it hands its
// workbooks to the user as files, as a spreadsheet program left open would
// keep them.
class Application : public automation::Dispatch {
public:
    explicit Application(DesktopSeams seams) : state_(std::make_shared<ServerState>()) {
        state_->seams = std::move(seams);
    }
    ~Application() override {
        if (state_->visible && !state_->quit)
            state_->handOffWorkbooks();
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AutoValue invoke(const QString& member, CallKind kind, std::span<const AutoValue> args) override {
        if (isMember(member, "Range"))
            return range(member, kind, args);
        if (isMember(member, "Workbooks")) {
            require(member, kind, args, Access::Get);
            return makeWorkbooks(state_);
        }
        if (isMember(member, "Visible"))
            return flag(member, kind, args, state_->visible);
        if (isMember(member, "DisplayAlerts"))
            return flag(member, kind, args, state_->displayAlerts);
        if (isMember(member, "Selection")) {
            require(member, kind, args, Access::Get);
            return makeRange(state_->active(), state_->active()->selection());
        }
        if (isMember(member, "Columns")) {
            require(member, kind, args, Access::IndexedGet, 1);
            const int column = intArg(member, args[0]);
            if (column < 1 || column > kMaxColumns)
                throw AutomationError(QStringLiteral("Нет столбца с номером %1").arg(column));
            return makeColumn(state_->active(), column - 1);
        }
        if (isMember(member, "ActiveSheet")) {
            require(member, kind, args, Access::Get);
            return makeWorksheet(state_->active());
        }
        if (isMember(member, "Worksheets")) {
            require(member, kind, args, Access::Get);
            return makeWorksheets(state_, state_->active());
        }
        if (isMember(member, "Quit")) {
            require(member, kind, args, Access::Get);
            quit();
            return {};
        }
        automation::throwUnknownName(member);
    }

private:
    AutoValue range(const QString& member, CallKind kind, std::span<const AutoValue> args) {
        if (kind == CallKind::IndexedRead) {
            require(member, kind, args, Access::IndexedGet, 1);
            return makeRange(state_->active(), parseBlock(textArg(member, args[0])));
        }
        require(member, kind, args, Access::Put, 1);
        const Block block = parseBlock(textArg(member, args[0]));
        const AutoValue& value = args[1];
        if (value.type() == AutoValue::Type::Object || value.type() == AutoValue::Type::Empty)
            throw AutomationError(QStringLiteral("Несоответствие типа: ячейка не принимает %1").arg(value.describe()));
        if (qint64(block.last.row - block.first.row + 1) * (block.last.column - block.first.column + 1) >
            kMaxCellsWritten)
            throw AutomationError(QStringLiteral("Блок \"%1\" слишком велик для записи").arg(args[0].text()));
        Sheet& sheet = *state_->active();
        for (int r = block.first.row; r <= block.last.row; ++r)
            for (int c = block.first.column; c <= block.last.column; ++c)
                sheet.setValue({r, c}, value);
        return {};
    }

    static AutoValue flag(const QString& member, CallKind kind, std::span<const AutoValue> args, bool& value) {
        if (kind == CallKind::Write) {
            require(member, kind, args, Access::Put);
            value = boolArg(member, args[0]);
            return {};
        }
        require(member, kind, args, Access::Get);
        return value;
    }

    // Quitting asks about unsaved workbooks unless alerts are off; the
    // answer taken for the user is to keep them, handed over as files.
    void quit() {
        if (state_->displayAlerts)
            state_->handOffWorkbooks();
        state_->workbooks.clear();
        state_->quit = true;
    }

    std::shared_ptr<ServerState> state_;
};

} // namespace

DesktopSeams desktopSeams() {
    DesktopSeams seams;
    seams.defaultPrinter = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    };
    seams.openWorkbook = [](const QString& path) {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        return !opener.isEmpty() && QProcess::startDetached(opener, {path});
    };
    seams.tell = [](const QString& message) { ui::dialogs().messageBox(ui::errorCaption(), message); };
    seams.folder = QDir::tempPath();
    return seams;
}

ObjectRef createApplication(DesktopSeams seams) {
    return std::make_shared<Application>(std::move(seams));
}

void registerSpreadsheetServer(automation::ClassRegistry& registry, DesktopSeams seams) {
    registry.registerClass(QStringLiteral("Excel.Application"), [seams] { return createApplication(seams); });
}

} // namespace kb::spreadsheet
