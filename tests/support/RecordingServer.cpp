#include "RecordingServer.h"

#include "Dispatch.h"

#include <QSet>

namespace kbtest {

using kb::automation::AutoValue;
using kb::automation::CallKind;

struct RecordingServer::Journal {
    QStringList log;
    int live = 0;
    QString refused;
};

namespace {

const QSet<QString> kObjectMembers{"Workbooks", "Add",         "Range",     "Selection", "Borders",
                                   "Columns",   "ActiveSheet", "PageSetup", "Worksheets"};

QString kindName(CallKind kind) {
    switch (kind) {
    case CallKind::Read:
        return QStringLiteral("read");
    case CallKind::Method:
        return QStringLiteral("method");
    case CallKind::IndexedRead:
        return QStringLiteral("indexed");
    case CallKind::Write:
        return QStringLiteral("write");
    }
    return {};
}

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
        QStringList shown;
        for (const AutoValue& arg : args)
            shown << arg.describe();
        journal_->log
            << QStringLiteral("%1.%2 %3(%4)").arg(name_, member, kindName(kind), shown.join(QStringLiteral(", ")));
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

RecordingServer::RecordingServer() : journal_(std::make_shared<Journal>()) {}

void RecordingServer::registerIn(kb::automation::ClassRegistry& registry) const {
    registry.registerClass(QStringLiteral("Excel.Application"), [journal = journal_] {
        journal->log << QStringLiteral("create Excel.Application");
        return kb::automation::ObjectRef(std::make_shared<RecordedObject>(journal, QStringLiteral("excel")));
    });
}

const QStringList& RecordingServer::log() const {
    return journal_->log;
}

int RecordingServer::liveObjects() const {
    return journal_->live;
}

void RecordingServer::refuse(const QString& member) {
    journal_->refused = member;
}

} // namespace kbtest
