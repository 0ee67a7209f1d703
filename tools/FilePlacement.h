#pragma once

#include <QString>

// Putting a file that was made under another name into place, so that a run
// killed half-way never leaves a half-made file under the final name.
namespace kb::tools {

// A name in the folder of finalPath that nothing else uses, hidden, ending in
// ".part" (never the name of a database or of a backup).
QString temporaryBeside(const QString& finalPath);

// Gives the complete file at temporary the name finalPath, which must not
// exist (not even as a dangling link), and makes the change durable. Throws
// DbError naming finalPath otherwise; temporary is then left to the caller.
void placeNew(const QString& temporary, const QString& finalPath);

// Syncs the folder of path, so that a rename in it survives a power cut.
void syncFolder(const QString& path);

// The reason for errno, in Russian where the tool's users meet it.
QString reason(int error);

} // namespace kb::tools
