#include "DatabaseName.h"

#include <QRegularExpression>

namespace kb::sql {

bool isServerName(const QString& name) {
    const QString s = name.trimmed();
    if (s.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive))
        return true;
    // A key=value string starts with one of libpq's keywords and an '='; a file
    // name such as "a=b.mdb" has no keyword before its '='.
    static const QRegularExpression keyword(QStringLiteral(
        "^(host|hostaddr|port|dbname|user|service|sslmode|connect_timeout|application_name|options|passfile|"
        "target_session_attrs)\\s*="));
    return keyword.match(s).hasMatch();
}

} // namespace kb::sql
