#include "Backups.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace kb::launcher {

namespace {

struct Backup {
    QDateTime taken;
    QString path;
};

// Oldest first; those dated after now (beyond the slack) apart, in future.
std::vector<Backup> backups(const QString& dataFolder, const QDateTime& now, QStringList* future = nullptr) {
    static const QRegularExpression name(QStringLiteral("^BAZA-(\\d{4}-\\d{2}-\\d{2}-\\d{6})\\.mdb$"));
    const QDir folder(QDir(dataFolder).filePath(QStringLiteral("backup")));
    std::vector<Backup> found;
    for (const QString& file : folder.entryList({QStringLiteral("BAZA-*.mdb")}, QDir::Files)) {
        const QRegularExpressionMatch match = name.match(file);
        if (!match.hasMatch())
            continue;
        const QDateTime taken = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd-HHmmss"));
        if (!taken.isValid())
            continue;
        if (taken > now.addSecs(kClockSlackSeconds)) {
            if (future)
                *future << file;
            continue;
        }
        found.push_back({taken, folder.filePath(file)});
    }
    std::sort(found.begin(), found.end(), [](const Backup& a, const Backup& b) { return a.taken < b.taken; });
    return found;
}

} // namespace

BackupSurvey surveyBackups(const QString& dataFolder, const QDateTime& now) {
    BackupSurvey survey;
    const std::vector<Backup> all = backups(dataFolder, now, &survey.future);
    survey.due = all.empty() || all.back().taken.addDays(1) < now;
    return survey;
}

void pruneBackups(const QString& dataFolder, int keep, const QDateTime& now) {
    const std::vector<Backup> all = backups(dataFolder, now);
    for (size_t i = 0; i + size_t(keep) < all.size(); ++i) {
        if (!QFile::remove(all[i].path))
            throw std::runtime_error(
                QStringLiteral("Не удалось удалить старую резервную копию %1").arg(all[i].path).toStdString());
    }
}

} // namespace kb::launcher
