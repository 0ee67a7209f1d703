#pragma once

#include "ClassRegistry.h"

#include <QStringList>
#include <memory>

namespace kbtest {

// A stand-in "Excel.Application" that takes any member and logs "create Excel.Application", then each call as
// <object>.<Member> <read|method|indexed|write>(<typed arguments>), e.g. excel.Range write(Text "A2", Int32 1).
// Objects are named after the member that gave them (excel for the application); the members the export reads give
// objects, the rest nothing.
class RecordingServer {
public:
    void registerIn(kb::automation::ClassRegistry& registry) const;
    const QStringList& log() const { return journal_->log; }
    int liveObjects() const { return journal_->live; }
    // From now on a call of this member fails with an automation error.
    void refuse(const QString& member) { journal_->refused = member; }

    struct Journal {
        QStringList log;
        int live = 0;
        QString refused;
    };

private:
    std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
};

} // namespace kbtest
