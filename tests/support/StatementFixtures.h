#pragma once

#include "GridRequest.h"
#include "TestSupport.h"

Q_DECLARE_METATYPE(kb::reports::GridRequest)

namespace kbtest {

// A temporary database with the schema that does not wait for the disk at each commit: the tests that fill it row by
// row run many times faster, and the file is thrown away.
class StatementDb : public TempDatabase {
public:
    StatementDb();
};

} // namespace kbtest
