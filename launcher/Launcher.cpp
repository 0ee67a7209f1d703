#include "Launcher.h"

#include "Backups.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

namespace kb::launcher {

namespace {

// Makes BAZA.mdb the way the user chooses; false when the user cancels.
bool makeDatabase(const QString& database, const QString& folder, LauncherQuestions& questions,
                  LauncherActions& actions) {
    switch (questions.howToStart(folder)) {
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
    const QString database = QDir(folder).filePath(QStringLiteral("BAZA.mdb"));
    if (!QFileInfo::exists(database) && !makeDatabase(database, folder, questions, actions))
        return 0;
    try {
        if (backupDue(folder, now))
            actions.runDbTool({QStringLiteral("backup"), database});
        pruneBackups(folder, kBackupsKept);
    } catch (const std::exception& error) {
        questions.report(QStringLiteral("Резервная копия базы данных не сделана:\n") + QString::fromUtf8(error.what()));
    }
    actions.startProgram(folder);
    return 0;
}

} // namespace kb::launcher
