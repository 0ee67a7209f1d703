#pragma once

#include "ServerLogin.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace kb::launcher {

// What the launcher asks the user; the desktop shows real dialogs, the tests
// script the answers.
class LauncherQuestions {
public:
    enum class Start { OldDatabase, EmptyDatabase, Server, Cancel };
    virtual ~LauncherQuestions() = default;
    // The data folder has no BAZA.mdb: bring the old program's one over,
    // start with an empty database, or work on the department's database on
    // a server.
    virtual Start howToStart(const QString& dataFolder) = 0;
    // The old program's BAZA.mdb, or nothing when the user cancels.
    virtual std::optional<QString> oldDatabase() = 0;
    // The server, database, user and password, or nothing when the user cancels.
    virtual std::optional<ServerLogin> serverLogin() = 0;
    virtual void report(const QString& text) = 0;
};

// What the launcher runs.
class LauncherActions {
public:
    virtual ~LauncherActions() = default;
    // kultbuh-db with these arguments; throws with its message when it fails.
    virtual void runDbTool(const QStringList& arguments) = 0;
    // Starts kultbuh in the folder and does not wait for it; throws when it
    // cannot be started.
    virtual void startProgram(const QString& folder) = 0;
};

// The user's data folder: ~/kultbuh.
QString dataFolder(const QString& home);

// Makes the data folder. When the program works on a server (the chosen
// database, see chosenDatabase, is a server connection), starts it there and
// does nothing else: the server's data is the administrator's to back up.
// Otherwise, when the folder has no BAZA.mdb, asks once how to make one (an
// existing database is never touched); the answer "server" keeps the password
// when asked to (see rememberPassword), writes the connection to the settings
// file and starts the program. With a database file, takes a backup when the
// newest is older than a day, keeps the last kBackupsKept, starts the program
// there; a failed backup is reported and the program starts all the same.
// Returns the launcher's exit code: 0, also when the user cancels; errors throw.
int launch(const QString& folder, LauncherQuestions& questions, LauncherActions& actions, const QDateTime& now);

} // namespace kb::launcher
