#pragma once

// The table a server database keeps its schema's version in, and the version
// this program works with. A file database has no such table: its schema is
// read from the file itself.
namespace kb::sql {

inline constexpr const char* kSchemaVersionTable = "kb_schema_version";
inline constexpr int kSchemaVersion = 1;

} // namespace kb::sql
