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

QString withoutPassword(const QString& name) {
    // A URI carries a password after the user name or as a parameter; a key=value string as a value that is a
    // word or a quoted text with backslash escapes.
    static const QRegularExpression passwords[] = {
        QRegularExpression(QStringLiteral("(://[^:/@?]*):[^@/?]*@")),
        QRegularExpression(QStringLiteral("([?&])password=[^&]*(&|$)")),
        QRegularExpression(QStringLiteral("(^|\\s)password\\s*=\\s*('([^'\\\\]|\\\\.)*'?|\\S*)\\s*"))};
    const QString replacements[] = {QStringLiteral("\\1@"), QStringLiteral("\\1"), QStringLiteral("\\1")};
    QString shown = name;
    for (int i = 0; i < 3; ++i)
        shown.replace(passwords[i], replacements[i]);
    return shown.trimmed();
}

} // namespace kb::sql
