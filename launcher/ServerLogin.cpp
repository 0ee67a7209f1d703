#include "ServerLogin.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <stdexcept>

namespace kb::launcher {

namespace {

// A value of a key=value string: quoted when it is empty or holds a blank, a quote or a backslash.
QString quotedValue(const QString& value) {
    static const QRegularExpression plain(QStringLiteral("^[^\\s'\\\\]+$"));
    if (plain.match(value).hasMatch())
        return value;
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

QString escapedField(QString field) {
    return field.replace(u'\\', QStringLiteral("\\\\")).replace(u':', QStringLiteral("\\:"));
}

// The host and the port of login.host ("name" or "name:port").
std::pair<QString, QString> hostAndPort(const QString& host) {
    static const QRegularExpression withPort(QStringLiteral("^(.*):(\\d+)$"));
    const QRegularExpressionMatch match = withPort.match(host.trimmed());
    if (match.hasMatch())
        return {match.captured(1), match.captured(2)};
    return {host.trimmed(), QString()};
}

// The first four fields of a password file's line, still escaped, with their separators.
QString linePrefix(const QString& line) {
    int fields = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == u'\\')
            ++i;
        else if (line.at(i) == u':' && ++fields == 4)
            return line.left(i + 1);
    }
    return QString();
}

} // namespace

QString connectionName(const ServerLogin& login) {
    const auto [host, port] = hostAndPort(login.host);
    QStringList parts;
    const std::pair<const char*, QString> fields[] = {
        {"host", host}, {"port", port}, {"dbname", login.database.trimmed()}, {"user", login.user.trimmed()}};
    for (const auto& [key, value] : fields) {
        if (!value.isEmpty())
            parts << QString::fromLatin1(key) + u'=' + quotedValue(value);
    }
    return parts.join(u' ');
}

QString passwordFilePath() {
    const QString fromEnvironment = qEnvironmentVariable("PGPASSFILE");
    return fromEnvironment.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : fromEnvironment;
}

QString passwordLine(const ServerLogin& login) {
    const auto [host, port] = hostAndPort(login.host);
    const QStringList fields{host.isEmpty() ? QStringLiteral("localhost") : host,
                             port.isEmpty() ? QStringLiteral("*") : port, login.database.trimmed(),
                             login.user.trimmed(), login.password};
    QStringList escaped;
    for (const QString& field : fields)
        escaped << (field == QLatin1String("*") ? field : escapedField(field));
    return escaped.join(u':');
}

void rememberPassword(const QString& passwordFile, const ServerLogin& login) {
    const auto failed = [&](const QString& why) {
        return std::runtime_error(
            QStringLiteral("Пароль не сохранён в файле %1: %2").arg(passwordFile, why).toStdString());
    };
    QStringList lines;
    QFile existing(passwordFile);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw failed(existing.errorString());
        lines = QString::fromUtf8(existing.readAll()).split(u'\n');
        if (lines.last().isEmpty())
            lines.removeLast();
    }
    const QString line = passwordLine(login);
    const QString prefix = linePrefix(line);
    const auto same =
        std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return linePrefix(l) == prefix; });
    if (same != lines.end())
        *same = line;
    else
        lines << line;
    QSaveFile file(passwordFile);
    // The new file is closed to others before the password is written into it.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
        file.write((lines.join(u'\n') + u'\n').toUtf8()) < 0 || !file.commit())
        throw failed(file.errorString());
}

} // namespace kb::launcher
