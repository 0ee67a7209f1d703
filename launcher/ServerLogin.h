#pragma once

#include <QString>

namespace kb::launcher {

// What the user gives to work on the department's database on a server.
struct ServerLogin {
    QString host;     // a host name or address, with ":port" when not the usual one; empty: this computer
    QString database; // the database's name on the server
    QString user;
    QString password;      // never kept in the settings
    bool remember = false; // keep the password in the user's password file
};

// The server connection as a libpq key=value string, without the password:
// host, port, dbname and user, each one that is given.
QString connectionName(const ServerLogin& login);

// The user's password file as libpq reads it: PGPASSFILE, else ~/.pgpass.
QString passwordFilePath();

// One line of a password file, host:port:database:user:password, with ':'
// and '\' escaped; an empty host is "localhost", an empty port "*".
QString passwordLine(const ServerLogin& login);

// Puts login's line in the password file: replaces the line of the same
// host, port, database and user, or adds it; keeps every other line; the file
// is left readable by its owner only (libpq ignores it otherwise). Throws
// std::runtime_error when it cannot be written.
void rememberPassword(const QString& passwordFile, const ServerLogin& login);

} // namespace kb::launcher
