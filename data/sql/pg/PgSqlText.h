#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kb::sql::pg {

// A statement written for SQLite as the server reads it.
struct ServerText {
    QString sql;            // with $1, $2, ... for the parameters
    QStringList parameters; // per number from 1: ":Name", "@Name", "$Name", or empty for ?/?NNN
};

// Translates the program's statement text: every parameter (?, ?NNN, :Name,
// @Name, $Name) becomes $n with the number SQLite would give it; an unquoted
// name that names a table or a column of the schema (names: lower case ->
// the schema's spelling), and is no function's name, is quoted in the schema's
// spelling (tables: the lower-case names of the tables), as the server folds unquoted names to lower case; `x` becomes
// "x" ([x] stays: on the server it is an array's subscript). Strings, quoted names and comments stay as written. Throws
// DbError when the text is empty, holds a character 0 or more than one
// statement.
ServerText serverText(const QString& sql, const QHash<QString, QString>& names, const QSet<QString>& tables);

} // namespace kb::sql::pg
