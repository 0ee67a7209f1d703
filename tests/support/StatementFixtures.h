#pragma once

#include "GridRequest.h"
#include "TestSupport.h"

Q_DECLARE_METATYPE(kb::reports::GridRequest)

namespace kbtest {

// A database with the schema that does not wait for the disk at each commit: the tests that fill it row by row run many
// times faster, and the file is thrown away.
struct StatementDb : TempDatabase {
    StatementDb() { exec(QStringLiteral("PRAGMA synchronous = OFF")); }
};

} // namespace kbtest
