#pragma once

#include "ClassRegistry.h"

#include <QStringList>
#include <memory>

namespace kbtest {

// A stand-in automation server registered as "Excel.Application" that takes
// any member and writes every call to its log, one line per call:
//   <object>.<Member> <read|method|indexed|write>(<arguments with their types>)
// e.g. excel.Range write(Text "A2", Int32 1). Objects are named after the
// member that gave them (excel for the application, range, selection,
// borders, ...); Workbooks, Add, Range (indexed), Selection, Borders,
// Columns, ActiveSheet, PageSetup and Worksheets give objects, the rest
// nothing. Creating the application logs "create Excel.Application".
class RecordingServer {
public:
    RecordingServer();

    void registerIn(kb::automation::ClassRegistry& registry) const;
    const QStringList& log() const;
    // Objects of this server alive now.
    int liveObjects() const;
    // From now on a call of this member fails with an automation error.
    void refuse(const QString& member);

    struct Journal;

private:
    std::shared_ptr<Journal> journal_;
};

} // namespace kbtest
