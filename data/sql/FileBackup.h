#pragma once

namespace kb::sql {

class Connection;

// Copies every page of a database file into another, newly made one in one
// step, so that the copy is of one state of the source; a step that meets a
// writer's lock is tried again for the busy timeout. Both connections must be
// to files. Throws DbError (busy, or the engine's reason).
void copyDatabaseFile(const Connection& source, Connection& copy);

} // namespace kb::sql
