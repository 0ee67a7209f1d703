#pragma once

#include "ClassRegistry.h"
#include "Dispatch.h"

#include <QStringList>
#include <memory>

namespace kbtest {

// A stand-in "Excel.Application" that takes any member and logs "create Excel.Application", then each call as
// <object>.<Member> <read|method|indexed|write>(<typed arguments>), e.g. excel.Range write(Text "A2", Int32 1).
// Objects are named after the member that gave them (excel for the application); the members the export reads give
// objects, the rest nothing.
class RecordingServer {
public:
    void registerIn(kb::automation::ClassRegistry& registry) const {
        registry.registerClass(QStringLiteral("Excel.Application"), [journal = journal_] {
            journal->log << QStringLiteral("create Excel.Application");
            return kb::automation::ObjectRef(std::make_shared<Object>(journal, QStringLiteral("excel")));
        });
    }
    const QStringList& log() const { return journal_->log; }
    int liveObjects() const { return journal_->live; }
    // From now on a call of this member fails with an automation error.
    void refuse(const QString& member) { journal_->refused = member; }

private:
    struct Journal {
        QStringList log;
        int live = 0;
        QString refused;
    };
    class Object : public kb::automation::Dispatch {
    public:
        Object(std::shared_ptr<Journal> journal, QString name) : journal_(std::move(journal)), name_(std::move(name)) {
            ++journal_->live;
        }
        ~Object() override { --journal_->live; }

        kb::automation::AutoValue invoke(const QString& member, kb::automation::CallKind kind,
                                         std::span<const kb::automation::AutoValue> args) override {
            static const char* const kinds[] = {"read", "method", "indexed", "write"};
            static const QStringList objectMembers{"Workbooks", "Add",         "Range",     "Selection", "Borders",
                                                   "Columns",   "ActiveSheet", "PageSetup", "Worksheets"};
            QStringList shown;
            for (const kb::automation::AutoValue& arg : args)
                shown << arg.describe();
            journal_->log << QStringLiteral("%1.%2 %3(%4)").arg(name_, member, kinds[int(kind)], shown.join(u", "));
            if (member == journal_->refused)
                throw kb::automation::AutomationError(QStringLiteral("Сервер отказал: %1").arg(member));
            if (objectMembers.contains(member) && kind != kb::automation::CallKind::Write)
                return kb::automation::ObjectRef(std::make_shared<Object>(journal_, member.toLower()));
            return {};
        }

    private:
        std::shared_ptr<Journal> journal_;
        QString name_;
    };

    std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
};

} // namespace kbtest
