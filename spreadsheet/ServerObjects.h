#pragma once

#include "CellRef.h"
#include "Dispatch.h"
#include "Sheet.h"
#include "SpreadsheetServer.h"

#include <memory>
#include <span>
#include <vector>

namespace kb::spreadsheet {

// What the application object and the objects it hands out share.
struct ServerState {
    DesktopSeams seams;
    std::vector<std::shared_ptr<Sheet>> workbooks; // the last added is the active one
    bool visible = false;
    bool displayAlerts = true;
    bool quit = false;

    // Throws AutomationError while there is no workbook.
    const std::shared_ptr<Sheet>& active() const;
    // Writes each workbook to a new file and opens it; what fails is told, not thrown, and leaves no file.
    void handOffWorkbooks() noexcept;
};

// How a member is called: read with no arguments (as a method too), indexed
// read with n index arguments, or write with n index arguments and the value.
enum class Access { Get, IndexedGet, Put };

// Member names are looked up without regard to letter case.
bool isMember(const QString& member, const char* name);
// Throws AutomationError when the call does not match the access.
void require(const QString& member, automation::CallKind kind, std::span<const automation::AutoValue> args,
             Access access, size_t indexCount = 0);

// Arguments converted as the server takes them; AutomationError on a type mismatch.
QString textArg(const QString& member, const automation::AutoValue& value);
int intArg(const QString& member, const automation::AutoValue& value);
double numberArg(const QString& member, const automation::AutoValue& value);
bool boolArg(const QString& member, const automation::AutoValue& value);

automation::ObjectRef makeWorkbooks(std::shared_ptr<ServerState> state);
automation::ObjectRef makeRange(std::shared_ptr<Sheet> sheet, Block block);
automation::ObjectRef makeColumn(std::shared_ptr<Sheet> sheet, int column);
automation::ObjectRef makeWorksheet(std::shared_ptr<Sheet> sheet);
automation::ObjectRef makeWorksheets(std::shared_ptr<ServerState> state, std::shared_ptr<Sheet> sheet);

} // namespace kb::spreadsheet
