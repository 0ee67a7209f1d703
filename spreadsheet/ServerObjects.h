#pragma once

#include "CellRef.h"
#include "DesktopSeams.h"
#include "Dispatch.h"
#include "Sheet.h"

#include <memory>
#include <span>
#include <vector>

namespace kb::spreadsheet {

// What the application object and the objects it hands out share.
struct ServerState {
    std::shared_ptr<DesktopSeams> desktop;
    std::vector<std::shared_ptr<Sheet>> workbooks; // the last added is the active one
    bool visible = false;
    bool displayAlerts = true;
    bool quit = false;

    // Throws AutomationError while there is no workbook.
    const std::shared_ptr<Sheet>& active() const;
    // Writes each workbook to a new file and opens it; what fails is told, not thrown, and leaves no file.
    void handOffWorkbooks() noexcept;
};

// What one server object stands for: the server, and the sheet and block of
// cells (a range, a column) it was obtained for.
struct Target {
    std::shared_ptr<ServerState> state;
    std::shared_ptr<Sheet> sheet;
    Block block;
};

using Args = std::span<const automation::AutoValue>;

// How a member is called. As with any automation server, a read and a method
// take no arguments and each may be called as the other; an indexed read
// takes its index arguments, a write its index arguments and then the value.
enum class Access { Read, Method, IndexedRead, Write };

// One row of a server object's member table: the name (matched in any letter
// case), the access, the number of index arguments and what it does. A
// member read and written has a row for each.
struct Member {
    const char* name;
    Access access;
    size_t indexCount;
    automation::AutoValue (*handler)(const Target& target, const QString& member, Args args);
};

// A server object: its member table and what it stands for. Every call is
// dispatched here: an unknown name and a call the member does not take are
// refused, and whatever the sheet, the references or the file writer throw
// reaches the caller as an AutomationError with the same message.
class ServerObject : public automation::Dispatch {
public:
    ServerObject(std::span<const Member> members, Target target) : members_(members), target_(std::move(target)) {}
    automation::AutoValue invoke(const QString& member, automation::CallKind kind, Args args) override;

protected:
    const Target& target() const { return target_; }

private:
    std::span<const Member> members_;
    Target target_;
};

// Arguments converted as the server takes them; AutomationError on a type mismatch.
QString textArg(const QString& member, const automation::AutoValue& value);
int intArg(const QString& member, const automation::AutoValue& value);
double numberArg(const QString& member, const automation::AutoValue& value);
bool boolArg(const QString& member, const automation::AutoValue& value);

} // namespace kb::spreadsheet
