#include "DatabaseName.h"

#include <QRegularExpression>
#include <QSet>
#include <libpq-fe.h>

namespace kb::sql {

bool isServerName(const QString& name) {
    const QString s = name.trimmed();
    if (s.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive))
        return true;
    // A key=value string starts with one of libpq's keywords (any of them: one
    // that began with "password=" and were taken for a file would show the
    // password in the message of a missing file) and an '='; a file name such
    // as "a=b.mdb" has no keyword before its '='.
    static const QSet<QString> keywords = [] {
        QSet<QString> known;
        PQconninfoOption* options = PQconndefaults();
        for (PQconninfoOption* o = options; o && o->keyword; ++o)
            known.insert(QString::fromLatin1(o->keyword));
        PQconninfoFree(options);
        return known;
    }();
    static const QRegularExpression keyword(QStringLiteral("^(\\w+)\\s*="));
    const QRegularExpressionMatch found = keyword.match(s);
    return found.hasMatch() && keywords.contains(found.captured(1));
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
