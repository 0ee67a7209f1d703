#include "DatabaseName.h"

namespace kb::sql {

namespace {

bool isKeywordCharacter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

} // namespace

bool isServerName(const QString& name) {
    if (name.startsWith(QLatin1String("postgresql://")) || name.startsWith(QLatin1String("postgres://")))
        return true;
    qsizetype i = 0;
    while (i < name.size() && name.at(i).isSpace())
        ++i;
    const qsizetype keyword = i;
    while (i < name.size() && isKeywordCharacter(name.at(i)))
        ++i;
    if (i == keyword)
        return false;
    while (i < name.size() && name.at(i).isSpace())
        ++i;
    return i < name.size() && name.at(i) == u'=';
}

} // namespace kb::sql
