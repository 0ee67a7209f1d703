#include "RecordingServer.h"

#include "Dispatch.h"

namespace kbtest {

using kb::automation::AutoValue;
using kb::automation::CallKind;

namespace {

const QStringList kObjectMembers{"Workbooks", "Add",         "Range",     "Selection", "Borders",
                                 "Columns",   "ActiveSheet", "PageSetup", "Worksheets"};

class RecordedObject : public kb::automation::Dispatch {
public:
    RecordedObject(std::shared_ptr<RecordingServer::Journal> journal, QString name)
        : journal_(std::move(journal)), name_(std::move(name)) {
        ++journal_->live;
    }
    ~RecordedObject() override { --journal_->live; }
    RecordedObject(const RecordedObject&) = delete;
    RecordedObject& operator=(const RecordedObject&) = delete;

    AutoValue invoke(const QString& member, CallKind kind, std::span<const AutoValue> args) override {
        static const char* const kinds[] = {"read", "method", "indexed", "write"};
        QStringList shown;
        for (const AutoValue& arg : args)
            shown << arg.describe();
        journal_->log << QStringLiteral("%1.%2 %3(%4)")
                             .arg(name_, member, QLatin1String(kinds[int(kind)]), shown.join(QStringLiteral(", ")));
        if (member == journal_->refused)
            throw kb::automation::AutomationError(QStringLiteral("Сервер отказал: %1").arg(member));
        if (kObjectMembers.contains(member) && kind != CallKind::Write)
            return kb::automation::ObjectRef(std::make_shared<RecordedObject>(journal_, member.toLower()));
        return {};
    }

private:
    std::shared_ptr<RecordingServer::Journal> journal_;
    QString name_;
};

} // namespace

void RecordingServer::registerIn(kb::automation::ClassRegistry& registry) const {
    registry.registerClass(QStringLiteral("Excel.Application"), [journal = journal_] {
        journal->log << QStringLiteral("create Excel.Application");
        return kb::automation::ObjectRef(std::make_shared<RecordedObject>(journal, QStringLiteral("excel")));
    });
}

} // namespace kbtest
