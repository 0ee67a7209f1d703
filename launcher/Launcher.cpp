#include "Launcher.h"

#include "Backups.h"
#include "DatabaseChoice.h"
#include "DatabaseName.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>

namespace kb::launcher {

namespace {

// What the first day's question made.
enum class Made { Nothing, File, ServerSetting };

// Makes BAZA.mdb, or names the server's database in the settings, the way the user chooses.
Made makeDatabase(const QString& database, const QString& folder, LauncherQuestions& questions,
                  LauncherActions& actions) {
    switch (questions.howToStart(folder)) {
    case LauncherQuestions::Start::OldDatabase: {
        const std::optional<QString> old = questions.oldDatabase();
        if (!old)
            return Made::Nothing;
        actions.runDbTool({QStringLiteral("import"), *old, database});
        return Made::File;
    }
    case LauncherQuestions::Start::EmptyDatabase:
        actions.runDbTool({QStringLiteral("create"), database});
        return Made::File;
    case LauncherQuestions::Start::Server: {
        const std::optional<ServerLogin> login = questions.serverLogin();
        if (!login)
            return Made::Nothing;
        if (login->remember)
            rememberPassword(passwordFilePath(), *login);
        dataset::saveDatabaseSetting(connectionName(*login));
        return Made::ServerSetting;
    }
    case LauncherQuestions::Start::Cancel:
        break;
    }
    return Made::Nothing;
}

} // namespace

QString dataFolder(const QString& home) {
    return QDir(home).filePath(QStringLiteral("kultbuh"));
}

int launch(const QString& folder, LauncherQuestions& questions, LauncherActions& actions, const QDateTime& now) {
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("Не удалось создать папку %1").arg(folder).toStdString());
    const QString database = QDir(folder).filePath(QStringLiteral("BAZA.mdb"));
    // On a server there is neither a file to make nor one to back up: the server's data is backed up there.
    bool onServer = sql::isServerName(dataset::chosenDatabase());
    if (!onServer && !QFileInfo::exists(database)) {
        const Made made = makeDatabase(database, folder, questions, actions);
        if (made == Made::Nothing)
            return 0;
        onServer = made == Made::ServerSetting;
    }
    if (onServer) {
        actions.startProgram(folder);
        return 0;
    }
    try {
        const BackupSurvey survey = surveyBackups(folder, now);
        if (!survey.future.isEmpty()) {
            const QString warning =
                QStringLiteral("В папке резервных копий есть копии, датированные позже, чем сейчас (часы компьютера "
                               "ошибались или имя дано вручную): %1. Они не считаются свежими и не удаляются.")
                    .arg(survey.future.join(QStringLiteral(", ")));
            std::fputs((warning + u'\n').toLocal8Bit().constData(), stderr);
            questions.report(warning);
        }
        if (survey.due)
            actions.runDbTool({QStringLiteral("backup"), database});
        pruneBackups(folder, kBackupsKept, now);
    } catch (const std::exception& error) {
        questions.report(QStringLiteral("Резервная копия базы данных не сделана:\n") + QString::fromUtf8(error.what()));
    }
    actions.startProgram(folder);
    return 0;
}

} // namespace kb::launcher
