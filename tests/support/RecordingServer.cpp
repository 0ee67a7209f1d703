#include "RecordingServer.h"

#include "Dispatch.h"

namespace kbtest {

namespace {

using namespace kb::automation;

class RecordedObject : public Dispatch {
public:
    RecordedObject(std::shared_ptr<RecordingServer::Journal> journal, QString name)
        : journal_(std::move(journal)), name_(std::move(name)) {
        ++journal_->live;
    }
    ~RecordedObject() override { --journal_->live; }

    AutoValue invoke(const QString& member, CallKind kind, std::span<const AutoValue> args) override {
        static const char* const kinds[] = {"read", "method", "indexed", "write"};
        static const QStringList objectMembers{"Workbooks", "Add",         "Range",     "Selection", "Borders",
                                               "Columns",   "ActiveSheet", "PageSetup", "Worksheets"};
        QStringList shown;
        for (const AutoValue& arg : args)
            shown << arg.describe();
        journal_->log << QStringLiteral("%1.%2 %3(%4)").arg(name_, member, kinds[int(kind)], shown.join(u", "));
        if (member == journal_->refused)
            throw AutomationError(QStringLiteral("Сервер отказал: %1").arg(member));
        if (objectMembers.contains(member) && kind != CallKind::Write)
            return ObjectRef(std::make_shared<RecordedObject>(journal_, member.toLower()));
        return {};
    }

private:
    std::shared_ptr<RecordingServer::Journal> journal_;
    QString name_;
};

} // namespace

void RecordingServer::registerIn(ClassRegistry& registry) const {
    registry.registerClass(QStringLiteral("Excel.Application"), [journal = journal_] {
        journal->log << QStringLiteral("create Excel.Application");
        return ObjectRef(std::make_shared<RecordedObject>(journal, QStringLiteral("excel")));
    });
}

} // namespace kbtest
