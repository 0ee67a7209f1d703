#pragma once

#include <QString>
#include <ostream>

namespace kb::tools {

// "kultbuh-db copy FROM TO": copies the five tables of the database FROM (a
// file, which must pass `check`, or a server's database) into TO: a new file,
// made as `create` makes one (it must not exist, and a failed copy leaves
// none), or a server's database holding the schema and no rows, or one
// without any tables, given the schema as `create` gives it in the copy's
// own transaction. Every ID and
// value is kept, and the copy is read back and compared with FROM before it
// is kept. The organisation's details (their table) go with them when FROM
// has them. Writes the rows copied per table to out. Throws DbError.
int runCopyCommand(const QString& from, const QString& to, std::ostream& out);

// "kultbuh-db backup SERVER FILE": the server's database, one state of it,
// copied into the new file FILE as copy does. Writes FILE's path to out.
int runServerBackup(const QString& server, const QString& file, std::ostream& out);

} // namespace kb::tools
