#pragma once

#include <QString>

namespace kb::dataset {

// Which database the program opens, and how its name is shown.

// The user's settings file: $XDG_CONFIG_HOME/kultbuh/kultbuh.conf, with
// ~/.config in place of an unset XDG_CONFIG_HOME.
QString settingsFilePath();

// The first of: the environment variable KULTBUH_DATABASE when it is not
// empty; the key database of the group [Database] in the settings file when
// it is not empty; BAZA.mdb. A file path is taken relative to the working
// folder; a server connection is taken as it stands.
QString chosenDatabase();

// Writes name as [Database] database= in the settings file, making its
// folder; throws std::runtime_error when the file cannot be written.
void saveDatabaseSetting(const QString& name);

// The name as the user may see it: a file as its absolute path, a server
// connection without any password it carries.
QString shownDatabaseName(const QString& name);

} // namespace kb::dataset
