#include "StatementFixtures.h"

namespace kbtest {

StatementDb::StatementDb() {
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

} // namespace kbtest
