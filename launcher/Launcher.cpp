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

// Makes BAZA.mdb, or names the server's database in the settings, the way the user chooses; false when the user
// cancels.
bool makeDatabase(const QString& database, const QString& folder, LauncherQuestions& questions,
                  LauncherActions& actions) {
    switch (questions.howToStart(folder)) {
    case LauncherQuestions::Start::Server: {
        const std::optional<ServerLogin> login = questions.serverLogin();
        if (!login)
            return false;
        if (login->remember)
            rememberPassword(passwordFilePath(), *login);
        dataset::saveDatabaseSetting(connectionName(*login));
        return true;
    }
    case LauncherQuestions::Start::OldDatabase: {
        const std::optional<QString> old = questions.oldDatabase();
        if (!old)
            return false;
        actions.runDbTool({QStringLiteral("import"), *old, database});
        return true;
    }
    case LauncherQuestions::Start::EmptyDatabase:
        actions.runDbTool({QStringLiteral("create"), database});
        return true;
    case LauncherQuestions::Start::Cancel:
        break;
    }
    return false;
}

} // namespace

QString dataFolder(const QString& home) {
    return QDir(home).filePath(QStringLiteral("kultbuh"));
}

int launch(const QString& folder, LauncherQuestions& questions, LauncherActions& actions, const QDateTime& now) {
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("Не удалось создать папку %1").arg(folder).toStdString());
    const auto onServer = [] { return sql::isServerName(dataset::chosenDatabase()); };
    const QString database = QDir(folder).filePath(QStringLiteral("BAZA.mdb"));
    if (!onServer() && !QFileInfo::exists(database) && !makeDatabase(database, folder, questions, actions))
        return 0;
    if (onServer()) {
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
